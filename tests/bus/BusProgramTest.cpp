// The programs themselves on a private session bus: keyloom takes the name
// and gives it up when it ends, a second keyloom runs on without it, and a
// keyloomctl whose Keyloom ends in the middle of its command says so
// instead of hanging or running the command a second time.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QProcess>
#include <future>

#include "cli/BusNames.h"
#include "cli/CliRunner.h"
#include "shell/ShellFixture.h"
#include "support/TempDir.h"

namespace keyloom::testing {
namespace {

class BusProgramTest : public ::testing::Test {
protected:
    // A keyloom of its own runtime folder (so instance control lets it start).
    std::unique_ptr<QProcess> start(const std::string& name, const QStringList& extra = {}) {
        const std::string runtime = dir.file(name + "-run");
        ::mkdir(runtime.c_str(), 0700);
        auto program = std::make_unique<QProcess>();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("XDG_RUNTIME_DIR", QString::fromStdString(runtime));
        env.insert("XDG_CONFIG_HOME", QString::fromStdString(dir.file(name + "-config")));
        program->setProcessEnvironment(env);
        program->setProgram(QString::fromStdString(builtFile("bin/keyloom")));
        program->setArguments(
            QStringList{"--simulate",
                        QString::fromStdString("0c45:652f:" + dir.file(name + ".state")),
                        "--data-dir", QString::fromStdString(dir.file(name))} +
            extra);
        program->start();
        EXPECT_TRUE(program->waitForStarted());
        return program;
    }
    bool nameOwned() {
        return QDBusConnection::sessionBus().interface()->isServiceRegistered(
            cli::bus::kServiceName);
    }
    bool waitFor(const std::function<bool()>& done) {
        for (int i = 0; i < 200 && !done(); ++i)
            QTest::qWait(50);
        return done();
    }

    TempDir dir;
};

TEST_F(BusProgramTest, KeyloomOwnsTheNameUntilItEndsAndASecondOneRunsWithoutIt) {
    auto first = start("first");
    ASSERT_TRUE(waitFor([&] { return nameOwned(); }));
    const uint owner =
        QDBusConnection::sessionBus().interface()->servicePid(cli::bus::kServiceName);
    EXPECT_EQ(owner, static_cast<uint>(first->processId()));

    auto second = start("second");
    QByteArray told;
    EXPECT_TRUE(waitFor([&] {
        second->waitForReadyRead(10);
        told += second->readAllStandardError();
        return told.contains("another program owns");
    })) << told.toStdString();
    EXPECT_EQ(second->state(), QProcess::Running);
    second->terminate();
    EXPECT_TRUE(second->waitForFinished(10000));

    // keyloom --kill ends the first; the name goes with it.
    QProcess kill;
    kill.setProcessEnvironment(first->processEnvironment());
    kill.start(first->program(), first->arguments() + QStringList{"--kill"});
    EXPECT_TRUE(kill.waitForFinished(20000));
    EXPECT_TRUE(first->waitForFinished(20000));
    EXPECT_FALSE(nameOwned());
}

TEST_F(BusProgramTest, AKeyloomEndingInTheMiddleOfACommandFailsItPlainly) {
    auto owner = start("owner");
    ASSERT_TRUE(waitFor([&] { return nameOwned(); }));
    const std::string work = dir.path();
    auto watch = std::async(std::launch::async, [work] {
        return runKeyloomctl({"watch", "--for", "30"}, work);
    });
    QTest::qWait(1000);
    owner->kill();
    ASSERT_EQ(watch.wait_for(std::chrono::seconds(20)), std::future_status::ready);
    const CliRun run = watch.get();
    EXPECT_EQ(run.exitCode, 1) << run.out << run.err;
    EXPECT_NE(run.err.find("did not finish"), std::string::npos) << run.err;
    owner->waitForFinished(10000);
}

}  // namespace
}  // namespace keyloom::testing
