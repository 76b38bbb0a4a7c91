#pragma once
// OPEN and KILL requests from later starts, handed to the main window on the
// window thread as its OPEN and KILL messages.

#include <QSocketNotifier>
#include <memory>

#include "platform/instance/InstanceServer.h"

namespace keyloom::shell {

class CKeyloomDlg;

// Watches `server` for waiting requests while the returned notifier lives.
// Both `server` and `dialog` must outlive the notifier.
std::unique_ptr<QSocketNotifier> listenForInstanceRequests(instance::InstanceServer& server,
                                                           CKeyloomDlg& dialog);

}  // namespace keyloom::shell
