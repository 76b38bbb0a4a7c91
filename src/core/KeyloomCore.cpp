#include "core/KeyloomCore.h"

#include <utility>

#include "storage/ProfileSlotFile.h"

namespace keyloom {

namespace {

hid::HidPlatform& platformOf(const CoreSetup& setup) {
    return setup.platform ? *setup.platform : hid::HidPlatform::system();
}

ReportTrace& traceOf(const CoreSetup& setup) {
    return setup.trace ? *setup.trace : ReportTrace::instance();
}

}  // namespace

KeyloomCore::KeyloomCore(window::CoreWindow window, AppPaths paths, CoreSetup setup)
    : window_(window),
      modified_(window.view),
      paths_(std::move(paths)),
      link_(platformOf(setup), traceOf(setup)),
      areas_(link_, state_.connection),
      tray_(window.dispatch),
      listener_(platformOf(setup), window.dispatch, tray_, setup.notificationTiming),
      listenForNotifications_(setup.listenForNotifications),
      switcher_(
          window, areas_, working_, modified_,
          [this](WorkingStore::Access& working) { return reloadSlotFile(working); },
          [this] { apply(); }),
      discovery_(link_, *this, state_.startup, setup.timing) {
    state_.startup.startHidden = setup.startHidden;
}

KeyloomCore::~KeyloomCore() {
    stop();
}

void KeyloomCore::start() {
    if (listenForNotifications_)
        listener_.start();
    discovery_.start();
}

void KeyloomCore::stop() {
    // A discovery thread waiting in a send to the window would never return
    // once the window thread stops pumping; release it before joining.
    window_.dispatch.stopMessages();
    listener_.stop();
    discovery_.stop();
}

void KeyloomCore::handleWindowMessage(const window::WindowMessage& msg) {
    if (msg.message == window::message::kReadProfile && msg.word == window::word::kProfile)
        fullRead();
}

void KeyloomCore::handleTimer(int id) {
    if (id == window::timer::kLightingRefresh) {
        window_.dispatch.killTimer(id);
        lightingRefresh();
    } else if (id == window::timer::kProfileRefresh) {
        window_.dispatch.killTimer(id);
        profileRefreshFromKeyboard();
    }
}

std::string KeyloomCore::slotFile() const {
    return slotFilePath(paths_.dataFolder);
}

KeyMatrix KeyloomCore::defaultMatrix() const {
    std::lock_guard lock(dataMutex_);
    return defaultMatrix_;
}

ParameterBlock KeyloomCore::parameterBlock() const {
    std::lock_guard lock(dataMutex_);
    return parameters_;
}

bool KeyloomCore::supportsPerKeyColours() const {
    std::lock_guard lock(dataMutex_);
    return parameters_.supportsPerKeyColours();
}

ProfileRecords KeyloomCore::profileRecords() const {
    std::lock_guard lock(dataMutex_);
    return records_;
}

LightingState KeyloomCore::lightingState() const {
    std::lock_guard lock(dataMutex_);
    return lighting_;
}

int KeyloomCore::lightingProfile() const {
    std::lock_guard lock(dataMutex_);
    return lightingProfile_;
}

void KeyloomCore::setLightingProfile(int profile) {
    if (profile < 0 || profile >= kProfileCount)
        return;
    std::lock_guard lock(dataMutex_);
    lightingProfile_ = profile;
}

void KeyloomCore::decodeLightingProfile() {
    std::lock_guard lock(dataMutex_);
    decodeLightingState(records_[static_cast<std::size_t>(lightingProfile_)], lighting_);
}

}  // namespace keyloom
