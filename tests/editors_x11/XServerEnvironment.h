#pragma once
// A private X server for the tests of this program: Xvfb on a display of its
// own choosing, and the application on the xcb platform on it. Registered
// once, by KeyDialogX11Test.cpp; the tests skip when no server can start.

#include <gtest/gtest.h>

#include <QApplication>
#include <QProcess>
#include <QStandardPaths>
#include <memory>

namespace keyloom::testing {

// Starts Xvfb on the first free display number and the application on it.
class XServerEnvironment : public ::testing::Environment {
public:
    static inline QString skipReason;

    explicit XServerEnvironment(QString screen = QStringLiteral("1280x1024x24"))
        : screen_(std::move(screen)) {}

    void SetUp() override {
        const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
        if (xvfb.isEmpty() || QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty()) {
            skipReason = QStringLiteral("Xvfb or xdotool is not installed");
            startApplication(QStringLiteral("offscreen"));
            return;
        }
        // Xvfb picks a free display itself and tells its number on stdout, so
        // that two test programs started together never share one server.
        auto server = std::make_unique<QProcess>();
        server->setProcessChannelMode(QProcess::SeparateChannels);
        server->setReadChannel(QProcess::StandardOutput);
        server->start(xvfb, {QStringLiteral("-displayfd"), QStringLiteral("1"),
                             QStringLiteral("-screen"), QStringLiteral("0"), screen_,
                             QStringLiteral("-nolisten"), QStringLiteral("tcp")});
        QByteArray number;
        if (server->waitForStarted(3000)) {
            while (!number.contains('\n') && server->state() == QProcess::Running &&
                   server->waitForReadyRead(5000))
                number += server->readAllStandardOutput();
        }
        bool parsed = false;
        const int display = number.trimmed().toInt(&parsed);
        if (parsed && server->state() == QProcess::Running) {
            qputenv("DISPLAY", QStringLiteral(":%1").arg(display).toLocal8Bit());
            // Without a session bus, D-Bus would start one through the X
            // server by forking this threaded process (which can hang under
            // the sanitizers) and leave its daemons behind: point it nowhere.
            if (qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS"))
                qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/keyloom-tests-bus");
            server_ = std::move(server);
        }
        if (!server_) {
            skipReason = QStringLiteral("no X server could be started");
            startApplication(QStringLiteral("offscreen"));
            return;
        }
        startApplication(QStringLiteral("xcb"));
    }

    void TearDown() override {
        stopApplication();
        if (server_) {
            server_->terminate();
            server_->waitForFinished(3000);
        }
    }

protected:
    // Builds the application object on `platform`; a suite that tests the
    // program's own start-up builds it its own way.
    virtual void startApplication(const QString& platform) {
        qputenv("QT_QPA_PLATFORM", platform.toLocal8Bit());
        application_ = std::make_unique<QApplication>(argc_, argv_);
    }
    virtual void stopApplication() { application_.reset(); }

private:
    QString screen_;
    std::unique_ptr<QProcess> server_;
    int argc_ = 1;
    char name_[24] = "keyloom_tests_x11";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<QApplication> application_;
};

}  // namespace keyloom::testing
