// One QApplication for the whole suite, on the offscreen platform so that the
// tests run the same with or without a display, and the window-thread check
// on, so that window code reached from another thread fails the suite.
// Linked into every suite of window code.

#include <gtest/gtest.h>

#include <QApplication>
#include <memory>

#include "platform/window/WindowThread.h"

namespace {

class QtEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        application_ = std::make_unique<QApplication>(argc_, argv_);
        keyloom::window::markWindowThread();
        keyloom::window::enableWindowThreadCheck();
    }
    void TearDown() override { application_.reset(); }

private:
    int argc_ = 1;
    char name_[16] = "keyloom_tests";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<QApplication> application_;
};

// GoogleTest owns registered environments.
[[maybe_unused]] const ::testing::Environment* const kQtEnvironment =
    ::testing::AddGlobalTestEnvironment(std::make_unique<QtEnvironment>().release());

}  // namespace
