#include "shell/InstanceRequests.h"

#include "shell/CKeyloomDlg.h"

namespace keyloom::shell {

std::unique_ptr<QSocketNotifier> listenForInstanceRequests(instance::InstanceServer& server,
                                                           CKeyloomDlg& dialog) {
    auto notifier = std::make_unique<QSocketNotifier>(server.pendingFd(), QSocketNotifier::Read);
    // The handler runs long after the caller returned: it holds the objects
    // themselves, never the caller's variables.
    instance::InstanceServer* const requests = &server;
    CKeyloomDlg* const mainWindow = &dialog;
    QObject::connect(notifier.get(), &QSocketNotifier::activated, mainWindow,
                     [requests, mainWindow] {
                         requests->handlePending([mainWindow](instance::InstanceRequest request) {
                             mainWindow->handleMessage(request == instance::InstanceRequest::Kill
                                                           ? window::kKillMessage
                                                           : window::kOpenMessage);
                         });
                     });
    return notifier;
}

}  // namespace keyloom::shell
