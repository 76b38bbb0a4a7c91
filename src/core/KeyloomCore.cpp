#include "core/KeyloomCore.h"

#include <utility>

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
      queue_(setup.queueMode),
      areas_(link_, state_.connection),
      lightingTransport_(link_),
      lighting_(
          lightingTransport_, queue_,
          LightingPaths{paths_.userModeFilePrefix, paths_.userModeTemplatePrefix,
                        paths_.settingsFile},
          setup.lightingWriteFailed ? setup.lightingWriteFailed
                                    : [this](DeviceResult code) { tellWriteFailure(code); }),
      sendUserModeAtRead_(setup.sendUserModeAtRead),
      tray_(window.dispatch),
      listener_(platformOf(setup), window.dispatch, tray_, setup.notificationTiming),
      listenForNotifications_(setup.listenForNotifications),
      slot_(parts()),
      writer_(parts()),
      connection_(parts(), slot_),
      keys_(parts(), slot_, writer_),
      profiles_(parts(), slot_, connection_, keys_),
      discovery_(link_, *this, state_.startup, setup.timing),
      platform_(platformOf(setup)) {
    state_.startup.startHidden = setup.startHidden;
}

KeyloomCore::~KeyloomCore() {
    stop();
}

CoreParts KeyloomCore::parts() {
    return {window_,   paths_, state_,    link_,  areas_, working_,           device_,
            modified_, data_,  lighting_, queue_, tray_,  sendUserModeAtRead_};
}

void KeyloomCore::start() {
    if (started_.exchange(true))
        return;
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
    queue_.stop();
}

void KeyloomCore::handleWindowMessage(const window::WindowMessage&) {
    // PROF follows the full read the connection change ran itself; the core
    // has nothing to do for any message.
}

void KeyloomCore::handleTimer(int id) {
    if (id == window::timer::kLightingRefresh || id == window::timer::kProfileRefresh)
        onQueue([this, id] { timerWork(id); });
}

void KeyloomCore::timerWork(int id) {
    onQueue([this, id] {
        if (id == window::timer::kLightingRefresh) {
            window_.dispatch.killTimer(id);
            connection_.lightingRefresh();
        } else if (id == window::timer::kProfileRefresh) {
            window_.dispatch.killTimer(id);
            profiles_.profileRefreshFromKeyboard();
        }
    });
}

}  // namespace keyloom
