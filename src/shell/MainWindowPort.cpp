#include "shell/MainWindowPort.h"

#include <memory>
#include <thread>
#include <utility>

#include "platform/window/WindowThread.h"
#include "shell/CKeyloomDlg.h"

namespace keyloom::shell {

namespace {

// Apply's own busy indicator shows after this pause, as a short Apply
// flickers less.
constexpr std::chrono::milliseconds kBusyIndicatorPause{100};

}  // namespace

MainWindowPort::MainWindowPort() : windowThread_(std::this_thread::get_id()) {
    window::markWindowThread();
}

void MainWindowPort::attach(CKeyloomDlg& dialog) {
    window::expectWindowThread("MainWindowPort::attach");
    std::lock_guard lock(attachMutex_);
    dialog_ = &dialog;
    for (std::function<void()>& job : early_)
        QMetaObject::invokeMethod(dialog_, std::move(job), Qt::QueuedConnection);
    early_.clear();
}

void MainWindowPort::queueToWindow(std::function<void()> job) {
    std::lock_guard lock(attachMutex_);
    if (dialog_)
        QMetaObject::invokeMethod(dialog_, std::move(job), Qt::QueuedConnection);
    else
        early_.push_back(std::move(job));
}

bool MainWindowPort::isWindowThread() const {
    return std::this_thread::get_id() == windowThread_;
}

void MainWindowPort::setLightingView(window::LightingView* view) {
    window::expectWindowThread("MainWindowPort::setLightingView");
    lighting_ = view;
}

void MainWindowPort::runOnWindowThread(std::function<void()> work) {
    if (isWindowThread() && dialog_) {
        work();
        told();
        return;
    }
    queueToWindow([this, work = std::move(work)] {
        window::expectWindowThread("work queued to the main window");
        if (!stopped_) {
            work();
            told();
        }
    });
}

bool MainWindowPort::blockingCall(std::function<void()> work) {
    if (isWindowThread()) {
        // Before the window exists there is nothing to run it on, and the
        // window thread cannot wait for itself.
        if (!dialog_)
            return false;
        work();
        told();
        return true;
    }
    // Not Qt::BlockingQueuedConnection: a sender must also be released when
    // the window stops handling messages (shutdown joins the sending thread).
    auto done = std::make_shared<bool>(false);
    queueToWindow([this, work = std::move(work), done] {
        window::expectWindowThread("a call waiting for the main window");
        if (!stopped_) {
            work();
            told();
        }
        std::lock_guard lock(callMutex_);
        *done = true;
        callDone_.notify_all();
    });
    std::unique_lock lock(callMutex_);
    callDone_.wait(lock, [&] { return *done || stopped_.load(); });
    return *done;
}

// --- WindowDispatch ------------------------------------------------------------

void MainWindowPort::sendMessage(const window::WindowMessage& msg) {
    if (stopped_)
        return;
    blockingCall([this, msg] { dialog_->handleMessage(msg); });
}

void MainWindowPort::postMessage(const window::WindowMessage& msg) {
    if (stopped_)
        return;
    queueToWindow([this, msg] {
        if (!stopped_) {
            dialog_->handleMessage(msg);
            told();
        }
    });
}

void MainWindowPort::startTimer(int id, std::chrono::milliseconds delay) {
    if (stopped_)
        return;
    runOnWindowThread([this, id, delay] { dialog_->startWindowTimer(id, delay); });
}

void MainWindowPort::killTimer(int id) {
    runOnWindowThread([this, id] { dialog_->stopWindowTimer(id); });
}

void MainWindowPort::showTrayIcon(int iconId) {
    runOnWindowThread([this, iconId] { dialog_->showTrayPicture(iconId); });
}

void MainWindowPort::hideWindow() {
    runOnWindowThread([this] { dialog_->hide(); });
}

void MainWindowPort::stopMessages() {
    {
        std::lock_guard lock(callMutex_);
        stopped_ = true;
    }
    callDone_.notify_all();
}

// --- Prompter ----------------------------------------------------------------------

window::MessageAnswer MainWindowPort::showMessage(const window::MessageRequest& request) {
    {
        std::lock_guard lock(filterMutex_);
        if (promptFilter_)
            if (const auto answer = promptFilter_(request))
                return *answer;
    }
    // Unanswered (messages stopped): the answer that changes nothing.
    window::MessageAnswer answer = window::MessageAnswer::Ok;
    if (request.buttons == window::MessageButtons::YesNo)
        answer = window::MessageAnswer::No;
    else if (request.buttons == window::MessageButtons::YesNoCancel)
        answer = window::MessageAnswer::Cancel;
    blockingCall([this, &request, &answer] { answer = dialog_->showMessageBox(request); });
    return answer;
}

// --- MainView ------------------------------------------------------------------------

void MainWindowPort::modifiedChanged(bool modified) {
    runOnWindowThread([this, modified] { dialog_->showModified(modified); });
}

void MainWindowPort::redrawKeyView() {
    runOnWindowThread([this] { dialog_->redrawKeyView(); });
}

void MainWindowPort::setProfileButtons(int activeProfile) {
    if (activeProfile < 0 || activeProfile > 2)
        return;
    runOnWindowThread([this, activeProfile] { dialog_->showProfileButtons(activeProfile); });
}

void MainWindowPort::setReportRateButtons(int step) {
    runOnWindowThread([this, step] { dialog_->showReportRateButtons(step); });
}

void MainWindowPort::keyToggleModeOff() {
    runOnWindowThread([this] { dialog_->showKeyToggleModeOff(); });
}

void MainWindowPort::profileMenuChanged() {
    runOnWindowThread([this] { dialog_->refreshProfileLabel(); });
}

void MainWindowPort::busyIndicatorOn() {
    if (!isWindowThread())
        std::this_thread::sleep_for(kBusyIndicatorPause);
    runOnWindowThread([this] {
        if (dialog_->busy_)
            dialog_->busy_->want();
    });
}

void MainWindowPort::busyIndicatorOff() {
    runOnWindowThread([this] {
        if (dialog_->busy_)
            dialog_->busy_->releaseSoon();
    });
}

// --- EditorWindows -----------------------------------------------------------------------

void MainWindowPort::profileManagerSelectRow(int profile) {
    // The profile switch runs as a keyboard job: the manager's widgets are
    // changed on the window thread.
    runOnWindowThread([this, profile] { dialog_->dialogs_->selectProfileManagerRow(profile); });
}

// --- LightingView --------------------------------------------------------------------------

void MainWindowPort::onLightingView(std::function<void(window::LightingView&)> work) {
    // The core calls these from the keyboard work's thread too; the panel's
    // widgets are touched on the window thread only.
    runOnWindowThread([this, work = std::move(work)] {
        if (lighting_)
            work(*lighting_);
    });
}

void MainWindowPort::lightingChanged() {
    onLightingView([](window::LightingView& v) { v.lightingChanged(); });
}

}  // namespace keyloom::shell
