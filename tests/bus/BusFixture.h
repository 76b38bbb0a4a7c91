#pragma once
// The main window on a simulated keyboard serving the private session bus
// the suite runs under (dbus-run-session), and a second connection that
// calls it as another program would. Calls are sent without blocking: the
// service answers on the test's thread, which pumps meanwhile.

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QDBusPendingReply>
#include <QObject>
#include <QVariantMap>
#include <future>
#include <memory>

#include "cli/CliRunner.h"
#include "shell/KeyloomBusService.h"
#include "shell/ShellFixture.h"

namespace keyloom::testing {

// Collects PropertiesChanged as the client connection receives it.
class ChangeLog : public QObject {
    Q_OBJECT
public:
    std::vector<QVariantMap> changes;
public slots:
    void changed(const QString&, const QVariantMap& properties, const QStringList&) {
        changes.push_back(properties);
    }
};

class BusFixture : public ShellFixture {
protected:
    void SetUp() override;
    void TearDown() override;

    // Starts the service on the window; false when it could not take the name.
    void serve();
    // Sends `method` of the Keyloom interface and waits for its answer.
    QDBusMessage call(const QString& method, const QList<QVariant>& args);
    QVariant property(const QString& name);
    // keyloomctl run as its own process, the window pumping meanwhile.
    CliRun keyloomctl(const std::vector<std::string>& args);
    // The newest announced value of `name`, if any was announced.
    QVariant announced(const QString& name) const;

    std::unique_ptr<shell::KeyloomBusService> service;
    QDBusConnection client = QDBusConnection::connectToBus(QDBusConnection::SessionBus, "client");
    ChangeLog log;
};

}  // namespace keyloom::testing
