#include "platform/window/QueuedWindow.h"

#include <algorithm>
#include <utility>

namespace keyloom::window {

namespace {

constexpr std::chrono::milliseconds kRecheckInterval{2};

}  // namespace

QueuedWindow::QueuedWindow() : windowThread_(std::this_thread::get_id()) {}

QueuedWindow::~QueuedWindow() {
    stopMessages();
}

void QueuedWindow::setMessageHandler(MessageHandler handler) {
    std::lock_guard lock(mutex_);
    messageHandler_ = std::move(handler);
}

void QueuedWindow::setTimerHandler(TimerHandler handler) {
    std::lock_guard lock(mutex_);
    timerHandler_ = std::move(handler);
}

void QueuedWindow::setApplyHandler(CommandHandler handler) {
    std::lock_guard lock(mutex_);
    applyHandler_ = std::move(handler);
}

void QueuedWindow::adoptCurrentThread() {
    std::lock_guard lock(mutex_);
    windowThread_ = std::this_thread::get_id();
}

bool QueuedWindow::onWindowThread() const {
    std::lock_guard lock(mutex_);
    return windowThread_ == std::this_thread::get_id();
}

bool QueuedWindow::pumpUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
    const Clock::time_point deadline = Clock::now() + timeout;
    for (;;) {
        if (done())
            return true;
        std::unique_lock lock(mutex_);
        if (runOne(lock))
            continue;
        if (stopped_ || Clock::now() >= deadline)
            break;
        // `done` may depend on other threads, which do not wake this one:
        // look again after a short while even when nothing arrives.
        Clock::time_point until = std::min(deadline, Clock::now() + kRecheckInterval);
        for (const auto& [id, due] : timers_)
            until = std::min(until, due);
        wake_.wait_until(lock, until);
    }
    return done();
}

std::size_t QueuedWindow::pumpPending() {
    std::size_t ran = 0;
    std::unique_lock lock(mutex_);
    // Only what is queued or due now: work queued by the handlers themselves
    // runs too, timers started with a delay do not.
    while (runOne(lock))
        ++ran;
    return ran;
}

bool QueuedWindow::runOne(std::unique_lock<std::mutex>& lock) {
    if (stopped_)
        return false;
    if (!queue_.empty()) {
        Queued item = std::move(queue_.front());
        queue_.pop_front();
        lock.unlock();
        deliver(item.message);
        lock.lock();
        if (item.wait) {
            item.wait->finished = true;
            wake_.notify_all();
        }
        return true;
    }
    const Clock::time_point now = Clock::now();
    for (auto it = timers_.begin(); it != timers_.end(); ++it) {
        if (it->second > now)
            continue;
        const int id = it->first;
        timers_.erase(it);
        fired_.push_back(id);
        TimerHandler handler = timerHandler_;
        lock.unlock();
        if (handler)
            handler(id);
        lock.lock();
        return true;
    }
    return false;
}

void QueuedWindow::deliver(const WindowMessage& msg) {
    MessageHandler handler;
    {
        std::lock_guard lock(mutex_);
        handled_.push_back(msg);
        handler = messageHandler_;
    }
    if (handler)
        handler(msg);
}

void QueuedWindow::sendMessage(const WindowMessage& msg) {
    std::unique_lock lock(mutex_);
    if (stopped_)
        return;
    if (windowThread_ == std::this_thread::get_id()) {
        lock.unlock();
        deliver(msg);
        return;
    }
    auto wait = std::make_shared<SendWait>();
    queue_.push_back({msg, wait});
    wake_.notify_all();
    wake_.wait(lock, [&] { return wait->finished || stopped_; });
}

void QueuedWindow::postMessage(const WindowMessage& msg) {
    std::lock_guard lock(mutex_);
    if (stopped_)
        return;
    queue_.push_back({msg, nullptr});
    wake_.notify_all();
}

void QueuedWindow::startTimer(int id, std::chrono::milliseconds delay) {
    std::lock_guard lock(mutex_);
    if (stopped_)
        return;
    timers_[id] = Clock::now() + delay;
    wake_.notify_all();
}

void QueuedWindow::killTimer(int id) {
    std::lock_guard lock(mutex_);
    timers_.erase(id);
}

MessageAnswer QueuedWindow::showMessage(const MessageRequest& request) {
    std::lock_guard lock(mutex_);
    messages_.push_back(request);
    if (const auto it = answers_.find(request.key); it != answers_.end())
        return it->second;
    return request.buttons == MessageButtons::Ok ? MessageAnswer::Ok : defaultYesNo_;
}

void QueuedWindow::showTrayIcon(int iconId) {
    std::lock_guard lock(mutex_);
    trayIcons_.push_back(iconId);
}

void QueuedWindow::hideWindow() {
    std::lock_guard lock(mutex_);
    hidden_ = true;
    calls_.push_back("hideWindow");
}

void QueuedWindow::stopMessages() {
    std::lock_guard lock(mutex_);
    stopped_ = true;
    queue_.clear();  // waiting senders see stopped_ and return
    timers_.clear();
    wake_.notify_all();
}

bool QueuedWindow::isKeyAssignmentDialogOpen() {
    std::lock_guard lock(mutex_);
    return keyDialogOpen_;
}

bool QueuedWindow::isProfileManagerOpen() {
    std::lock_guard lock(mutex_);
    return profileManagerOpen_;
}

bool QueuedWindow::profileManagerHasUnappliedChanges() {
    std::lock_guard lock(mutex_);
    return profileManagerModified_;
}

void QueuedWindow::profileManagerSelectRow(int profile) {
    std::lock_guard lock(mutex_);
    profileManagerModified_ = false;
    calls_.push_back("profileManagerSelectRow " + std::to_string(profile));
}

bool QueuedWindow::isModified() const {
    std::lock_guard lock(mutex_);
    return modified_;
}

void QueuedWindow::setModified(bool modified) {
    std::lock_guard lock(mutex_);
    modified_ = modified;
    calls_.push_back(modified ? "setModified 1" : "setModified 0");
}

void QueuedWindow::redrawKeyView() {
    record("redrawKeyView");
}

void QueuedWindow::setProfileButtons(int activeProfile) {
    std::lock_guard lock(mutex_);
    if (activeProfile >= 0 && activeProfile <= 2)
        selectedProfileButton_ = activeProfile;
    calls_.push_back("setProfileButtons " + std::to_string(activeProfile));
}

void QueuedWindow::keyToggleModeOff() {
    record("keyToggleModeOff");
}

void QueuedWindow::profileMenuChanged() {
    record("profileMenuChanged");
}

void QueuedWindow::runApply() {
    CommandHandler handler;
    {
        std::lock_guard lock(mutex_);
        calls_.push_back("runApply");
        handler = applyHandler_;
    }
    if (handler)
        handler();
}

void QueuedWindow::busyIndicatorOn() {
    record("busyIndicatorOn");
}

void QueuedWindow::busyIndicatorOff() {
    record("busyIndicatorOff");
}

void QueuedWindow::reloadLightingViewSwitch() {
    record("reloadLightingViewSwitch");
}

void QueuedWindow::rebuildLightingPanel() {
    record("rebuildLightingPanel");
}

void QueuedWindow::lightingViewOff() {
    record("lightingViewOff");
}

void QueuedWindow::resetLightingIfViewOn() {
    record("resetLightingIfViewOn");
}

void QueuedWindow::loadUserModes(int profile, bool send) {
    record("loadUserModes " + std::to_string(profile) + (send ? " send" : ""));
}

void QueuedWindow::reseedUserModes() {
    record("reseedUserModes");
}

void QueuedWindow::markKeyColourMarks() {
    record("markKeyColourMarks");
}

void QueuedWindow::answer(const std::string& key, MessageAnswer answer) {
    std::lock_guard lock(mutex_);
    answers_[key] = answer;
}

void QueuedWindow::setDefaultYesNoAnswer(MessageAnswer answer) {
    std::lock_guard lock(mutex_);
    defaultYesNo_ = answer;
}

void QueuedWindow::setKeyAssignmentDialogOpen(bool open) {
    std::lock_guard lock(mutex_);
    keyDialogOpen_ = open;
}

void QueuedWindow::setProfileManagerOpen(bool open) {
    std::lock_guard lock(mutex_);
    profileManagerOpen_ = open;
}

void QueuedWindow::setProfileManagerModified(bool modified) {
    std::lock_guard lock(mutex_);
    profileManagerModified_ = modified;
}

std::vector<MessageRequest> QueuedWindow::messagesShown() const {
    std::lock_guard lock(mutex_);
    return messages_;
}

std::vector<std::string> QueuedWindow::messageKeysShown() const {
    std::lock_guard lock(mutex_);
    std::vector<std::string> keys;
    for (const MessageRequest& request : messages_)
        keys.push_back(request.key);
    return keys;
}

std::vector<int> QueuedWindow::trayIcons() const {
    std::lock_guard lock(mutex_);
    return trayIcons_;
}

std::vector<WindowMessage> QueuedWindow::handledMessages() const {
    std::lock_guard lock(mutex_);
    return handled_;
}

std::vector<int> QueuedWindow::firedTimers() const {
    std::lock_guard lock(mutex_);
    return fired_;
}

std::vector<std::string> QueuedWindow::calls() const {
    std::lock_guard lock(mutex_);
    return calls_;
}

int QueuedWindow::selectedProfileButton() const {
    std::lock_guard lock(mutex_);
    return selectedProfileButton_;
}

bool QueuedWindow::hidden() const {
    std::lock_guard lock(mutex_);
    return hidden_;
}

bool QueuedWindow::timerPending(int id) const {
    std::lock_guard lock(mutex_);
    return timers_.count(id) != 0;
}

void QueuedWindow::clearRecords() {
    std::lock_guard lock(mutex_);
    messages_.clear();
    trayIcons_.clear();
    handled_.clear();
    fired_.clear();
    calls_.clear();
}

void QueuedWindow::record(std::string call) {
    std::lock_guard lock(mutex_);
    calls_.push_back(std::move(call));
}

}  // namespace keyloom::window
