#include "platform/instance/InstanceControl.h"

#include <unistd.h>

#include <utility>

#include "platform/instance/ProcessLookup.h"

namespace keyloom::instance {

InstanceControl::InstanceControl(InstanceSettings settings) : settings_(std::move(settings)) {
    folder_ = settings_.folder.empty() ? instanceFolder() : settings_.folder;
    if (settings_.programFileName.empty())
        settings_.programFileName = currentProgramFileName();
}

InstanceControl::~InstanceControl() {
    release();
}

std::string InstanceControl::lockPath() const {
    return folder_.empty() ? std::string() : lockPathFor(folder_, settings_.mutexName);
}

std::string InstanceControl::socketPath() const {
    return folder_.empty() ? std::string() : socketPathFor(folder_, settings_.mutexName);
}

StartDecision InstanceControl::run(const StartupArguments& arguments) {
    startHidden_ = false;
    for (StartupSwitch which : arguments.switches) {
        if (which == StartupSwitch::Start) {
            startHidden_ = true;
            continue;
        }
        if (!mutex_.owned())
            takeLock();
        if (pid_t target = locateRunningInstance())
            return handOver(InstanceRequest::Kill, target);
    }

    if (!mutex_.owned())
        takeLock();
    if (mutex_.state() == NamedMutex::State::Exists) {
        if (pid_t target = locateRunningInstance())
            return handOver(InstanceRequest::Open, target);
        // Held, but by nobody we can address: run anyway, keeping the file
        // open. The socket stays the holder's.
        return StartDecision::ContinueAsPrimary;
    }
    if (mutex_.owned()) {
        auto server = std::make_unique<InstanceServer>();
        // Without the socket this instance still runs; later starts then
        // reach nobody and end, as with a window that cannot be found.
        if (server->start(socketPath()))
            server_ = std::move(server);
    }
    return StartDecision::ContinueAsPrimary;
}

void InstanceControl::takeLock() {
    const std::string path = lockPath();
    mutex_ = path.empty() ? NamedMutex() : NamedMutex::acquire(path);
}

pid_t InstanceControl::locateRunningInstance() const {
    switch (mutex_.state()) {
        case NamedMutex::State::Created:
            return 0;  // the lock is ours, so no other instance runs
        case NamedMutex::State::Exists: {
            pid_t holder = mutex_.holderPid();
            if (holder != ::getpid() && isProcessAlive(holder))
                return holder;
            break;
        }
        case NamedMutex::State::Unavailable:
            break;
    }
    return findInstanceProcess(settings_.programFileName, settings_.procRoot);
}

StartDecision InstanceControl::handOver(InstanceRequest request, pid_t target) {
    Handover sent;
    sent.request = request;
    sent.target = target;
    const std::string path = socketPath();
    sent.reached = !path.empty() && sendToInstance(target, request, path, settings_.answerTimeout);
    handover_ = sent;
    return StartDecision::Exit;
}

void InstanceControl::release() {
    if (server_)
        server_->stop();
    mutex_.release();
}

}  // namespace keyloom::instance
