#pragma once
// A fixture whose tests are skipped when the display server their suite
// starts (an Xvfb, a weston) could not be started: Environment tells why in
// its static skipReason.

#include <gtest/gtest.h>

namespace keyloom::testing {

template <typename Environment, typename Fixture>
class SkipWithout : public Fixture {
protected:
    // A fixture that does more after this checks IsSkipped() first.
    void SetUp() override {
        if (!Environment::skipReason.isEmpty())
            GTEST_SKIP() << Environment::skipReason.toStdString();
        Fixture::SetUp();
    }
};

}  // namespace keyloom::testing
