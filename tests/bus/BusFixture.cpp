#include "bus/BusFixture.h"

#include "cli/BusNames.h"

namespace keyloom::testing {

void BusFixture::SetUp() {
    ShellFixture::SetUp();
    ASSERT_TRUE(client.isConnected()) << "the suite runs under dbus-run-session";
    client.connect(cli::bus::kServiceName, cli::bus::kObjectPath, "org.freedesktop.DBus.Properties",
                   "PropertiesChanged", &log, SLOT(changed(QString, QVariantMap, QStringList)));
}

void BusFixture::TearDown() {
    // The window's keyboard work ends before the service goes.
    if (dialog)
        dialog->shutdown();
    service.reset();
    ShellFixture::TearDown();
}

void BusFixture::serve() {
    service = std::make_unique<shell::KeyloomBusService>(*dialog);
    std::string error;
    ASSERT_TRUE(service->start(error)) << error;
}

QDBusMessage BusFixture::call(const QString& method, const QList<QVariant>& args) {
    QDBusMessage message = QDBusMessage::createMethodCall(
        cli::bus::kServiceName, cli::bus::kObjectPath, cli::bus::kInterface, method);
    message.setArguments(args);
    QDBusPendingCall pending = client.asyncCall(message, 60000);
    EXPECT_TRUE(pumpUntil([&] { return pending.isFinished(); }, std::chrono::seconds(60)));
    return pending.reply();
}

QVariant BusFixture::property(const QString& name) {
    QDBusMessage message = QDBusMessage::createMethodCall(
        cli::bus::kServiceName, cli::bus::kObjectPath, "org.freedesktop.DBus.Properties", "Get");
    message << QString(cli::bus::kInterface) << name;
    QDBusPendingReply<QDBusVariant> pending = client.asyncCall(message);
    EXPECT_TRUE(pumpUntil([&] { return pending.isFinished(); }));
    return pending.value().variant();
}

CliRun BusFixture::keyloomctl(const std::vector<std::string>& args) {
    auto run = std::async(std::launch::async,
                          [args, work = dir.path()] { return runKeyloomctl(args, work); });
    EXPECT_TRUE(pumpUntil(
        [&] { return run.wait_for(std::chrono::seconds(0)) == std::future_status::ready; },
        std::chrono::seconds(60)));
    return run.get();
}

QVariant BusFixture::announced(const QString& name) const {
    for (auto it = log.changes.rbegin(); it != log.changes.rend(); ++it)
        if (it->contains(name))
            return it->value(name);
    return {};
}

}  // namespace keyloom::testing
