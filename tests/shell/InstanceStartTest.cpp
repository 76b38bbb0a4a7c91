// A later start: its requests reach the main window through the instance
// socket, long after the code that set up the listening has returned; and
// what --help tells about it.

#include <unistd.h>

#include <cstdio>
#include <future>

#include "ShellFixture.h"
#include "platform/instance/InstanceClient.h"
#include "shell/CKeyloomApp.h"
#include "shell/InstanceRequests.h"

namespace keyloom::testing {
namespace {

class InstanceRequestsTest : public ShellFixture {};

TEST_F(InstanceRequestsTest, OpenAndKillFromALaterStartReachTheWindow) {
    openWindow();
    instance::InstanceServer server;
    const std::string socket = dir.file("instance.sock");
    ASSERT_TRUE(server.start(socket));
    const std::unique_ptr<QSocketNotifier> notifier =
        shell::listenForInstanceRequests(server, *dialog);
    bool exitRequested = false;
    QObject::connect(dialog.get(), &shell::CKeyloomDlg::exitRequested,
                     [&] { exitRequested = true; });
    const auto send = [&](instance::InstanceRequest request) {
        std::future<bool> answered = std::async(std::launch::async, [&socket, request] {
            return instance::sendToInstance(::getpid(), request, socket);
        });
        EXPECT_TRUE(pumpUntil([&] {
            return answered.wait_for(std::chrono::seconds(0)) == std::future_status::ready;
        }));
        return answered.get();
    };

    dialog->hide();
    EXPECT_TRUE(send(instance::InstanceRequest::Open));
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_TRUE(send(instance::InstanceRequest::Kill));
    EXPECT_TRUE(exitRequested);
    EXPECT_FALSE(dialog->isVisible());
    server.stop();
}

TEST(UsageTest, KillSaysWhatHappensWithoutARunningInstance) {
    char* text = nullptr;
    std::size_t size = 0;
    std::FILE* out = ::open_memstream(&text, &size);
    ASSERT_NE(out, nullptr);
    shell::CKeyloomApp::printUsage(out);
    std::fclose(out);
    const std::string usage(text, size);
    std::free(text);
    const std::size_t kill = usage.find("--kill");
    ASSERT_NE(kill, std::string::npos);
    const std::size_t next = usage.find("\n  -", kill);
    EXPECT_NE(usage.substr(kill, next - kill).find("none is running, start as usual"),
              std::string::npos)
        << usage;
}

}  // namespace
}  // namespace keyloom::testing
