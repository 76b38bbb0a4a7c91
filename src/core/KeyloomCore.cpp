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
      areas_(link_, state_.connection),
      tray_(window.dispatch),
      listener_(platformOf(setup), window.dispatch, tray_, setup.notificationTiming),
      listenForNotifications_(setup.listenForNotifications),
      slot_(parts()),
      writer_(parts()),
      connection_(parts(), slot_),
      keys_(parts(), slot_, writer_),
      profiles_(parts(), slot_, connection_, keys_),
      discovery_(link_, *this, state_.startup, setup.timing) {
    state_.startup.startHidden = setup.startHidden;
}

KeyloomCore::~KeyloomCore() {
    stop();
}

CoreParts KeyloomCore::parts() {
    return {window_, paths_, state_, link_, areas_, working_, device_, modified_, data_, tray_};
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

}  // namespace keyloom
