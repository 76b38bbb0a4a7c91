// Host time of one request/reply exchange on a hidraw node (a socketpair
// standing in for the kernel's device, a thread answering every 64-byte
// report with 64 bytes):
//   BM_BareExchange     the system calls an exchange cannot do without:
//                       write the request, poll for the reply, read it;
//   BM_HidrawExchange   the hidraw backend's write and read on an open handle;
//   BM_DeviceLinkExchange  DeviceLink::Exchange, the whole path every
//                       protocol command takes (device lock, lock shared with
//                       other processes, discard of stale replies, trace).
// The ratios of the last two to the first are what Keyloom adds.

#include <benchmark/benchmark.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "device/DeviceLink.h"
#include "hid_bench_tree.h"
#include "platform/hid/HidPlatform.h"
#include "platform/lock/CrossProcessLock.h"

namespace {

using namespace keyloom;

// Answers every report received on `device` with 64 bytes until the host end
// shuts the connection down.
class EchoDevice {
public:
    explicit EchoDevice(int device)
        : device_(device), thread_([device] {
              std::array<std::uint8_t, 64> report{};
              for (;;) {
                  ssize_t n = ::recv(device, report.data(), report.size(), 0);
                  if (n <= 0)
                      return;
                  if (::send(device, report.data(), report.size(), 0) != 64)
                      return;
              }
          }) {}
    ~EchoDevice() {
        ::shutdown(device_, SHUT_RDWR);
        thread_.join();
    }
    EchoDevice(const EchoDevice&) = delete;
    EchoDevice& operator=(const EchoDevice&) = delete;

private:
    int device_;
    std::thread thread_;
};

// The fake tree with one composite keyboard, and the path of its 64-byte
// vendor collection.
struct ExchangeFixture {
    ExchangeFixture() {
        tree.addNode(0, bench::compositeKeyboardDescriptor());
        backend = tree.backend();
        std::vector<std::string> paths;
        backend->enumerate(paths);
        if (paths.size() == 3)
            vendorPath = paths[2];
    }
    bench::HidBenchTree tree;
    std::shared_ptr<hid::HidrawBackend> backend;
    std::string vendorPath;
};

void BM_BareExchange(benchmark::State& state) {
    ExchangeFixture fixture;
    auto handle = fixture.backend->open(fixture.vendorPath, {true, true, true, false});
    const int host = fixture.tree.hostEnd(0);
    if (!handle || host < 0) {
        state.SkipWithError("vendor collection not opened");
        return;
    }
    EchoDevice echo(fixture.tree.deviceEnd(0));
    std::array<std::uint8_t, 64> request{};
    std::array<std::uint8_t, 64> reply{};
    request[0] = 4;
    for (auto _ : state) {
        pollfd wait{host, POLLIN, 0};
        if (::write(host, request.data(), request.size()) != 64 || ::poll(&wait, 1, 300) != 1 ||
            ::read(host, reply.data(), reply.size()) != 64) {
            state.SkipWithError("exchange failed");
            break;
        }
        benchmark::DoNotOptimize(reply);
    }
}
BENCHMARK(BM_BareExchange)->UseRealTime();

void BM_HidrawExchange(benchmark::State& state) {
    ExchangeFixture fixture;
    auto handle = fixture.backend->open(fixture.vendorPath, {true, true, true, false});
    if (!handle) {
        state.SkipWithError("vendor collection not opened");
        return;
    }
    EchoDevice echo(fixture.tree.deviceEnd(0));
    hid::CancelEvent cancel;
    std::array<std::uint8_t, 64> request{};
    std::array<std::uint8_t, 64> reply{};
    request[0] = 4;
    for (auto _ : state) {
        std::size_t transferred = 0;
        if (handle->write(request, transferred, 1000, cancel) != hid::TransferResult::Done ||
            handle->read(reply, transferred, 300, cancel) != hid::TransferResult::Done) {
            state.SkipWithError("exchange failed");
            break;
        }
        benchmark::DoNotOptimize(reply);
    }
}
BENCHMARK(BM_HidrawExchange)->UseRealTime();

void BM_DeviceLinkExchange(benchmark::State& state) {
    ExchangeFixture fixture;
    // The lock file shared with other processes goes into a folder of the run.
    const std::string runtime = fixture.tree.root() + "/run";
    std::filesystem::create_directories(runtime);
    std::filesystem::permissions(runtime, std::filesystem::perms::owner_all);
    ::setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    hid::HidPlatform platform;
    platform.addBackend(fixture.backend);
    ReportTrace trace;  // closed, as it is unless the user asks for one
    DeviceLink link(platform, trace);
    if (!link.openConfigurationDevice(fixture.vendorPath)) {
        state.SkipWithError("vendor collection not opened");
        return;
    }
    link.setConnected(true);
    EchoDevice echo(fixture.tree.deviceEnd(0));
    std::array<std::uint8_t, 64> request{};
    std::array<std::uint8_t, 64> reply{};
    request[0] = 4;
    for (auto _ : state) {
        std::uint32_t received = 0;
        if (link.Exchange(request, reply, received) != result::Success) {
            state.SkipWithError("exchange failed");
            break;
        }
        benchmark::DoNotOptimize(reply);
    }
    link.closeConfigurationDevice();
}
BENCHMARK(BM_DeviceLinkExchange)->UseRealTime();

// The two pieces of DeviceLink's exchange the bare loop does without, alone:
// taking and dropping the lock shared with other processes, and the read that
// finds no stale reply queued.
void BM_ProcessLockPair(benchmark::State& state) {
    ExchangeFixture fixture;
    lock::CrossProcessLock lock(fixture.tree.root() + "/bench.lock");
    if (!lock.valid()) {
        state.SkipWithError("lock file not created");
        return;
    }
    for (auto _ : state) {
        lock.lock();
        lock.unlock();
    }
}
BENCHMARK(BM_ProcessLockPair);

void BM_EmptyDiscard(benchmark::State& state) {
    ExchangeFixture fixture;
    auto handle = fixture.backend->open(fixture.vendorPath, {true, true, true, false});
    if (!handle) {
        state.SkipWithError("vendor collection not opened");
        return;
    }
    for (auto _ : state)
        handle->discardQueuedInput();
}
BENCHMARK(BM_EmptyDiscard);

}  // namespace

BENCHMARK_MAIN();
