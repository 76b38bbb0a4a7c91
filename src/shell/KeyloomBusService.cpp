#include "shell/KeyloomBusService.h"

#include <QApplication>
#include <QDBusConnectionInterface>
#include <QDBusVariant>
#include <QFile>
#include <QPointer>
#include <QVariantMap>
#include <chrono>
#include <utility>

#include "cli/BusNames.h"
#include "shell/CKeyloomDlg.h"

namespace keyloom::shell {

namespace {

constexpr const char* kPropertiesInterface = "org.freedesktop.DBus.Properties";
constexpr const char* kIntrospectableInterface = "org.freedesktop.DBus.Introspectable";
// Changes the window or the keyboard make on their own are announced once the
// window has been told of them; this slow look is only a safety net, so that a
// program hidden in the tray and left alone hardly wakes.
constexpr std::chrono::milliseconds kSafetyNetInterval{10000};

QString errorName(cli::CallError error) {
    switch (error) {
        case cli::CallError::NoKeyboard:
            return QStringLiteral("io.github.keyloom.Error.NoKeyboard");
        case cli::CallError::Busy:
            return QStringLiteral("io.github.keyloom.Error.Busy");
        case cli::CallError::WriteFailed:
            return QStringLiteral("io.github.keyloom.Error.WriteFailed");
        case cli::CallError::InvalidArgument:
        case cli::CallError::None:
            break;
    }
    return QStringLiteral("io.github.keyloom.Error.InvalidArgument");
}

QVariantMap propertyMap(const cli::ServiceProperties& p) {
    return {{QStringLiteral("Connected"), p.connected},
            {QStringLiteral("Model"), QString::fromStdString(p.model)},
            {QStringLiteral("ActiveProfile"), p.activeProfile},
            {QStringLiteral("ReportRate"), p.reportRate},
            {QStringLiteral("Effect"), p.effect},
            {QStringLiteral("Brightness"), p.brightness},
            {QStringLiteral("Modified"), p.modified}};
}

// The interface part of the installed introspection file.
QString interfaceXml() {
    QFile file(QStringLiteral(":/dbus/io.github.keyloom.Keyloom1.xml"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QString xml = QString::fromUtf8(file.readAll());
    const qsizetype from = xml.indexOf(QStringLiteral("<interface"));
    const QString end = QStringLiteral("</interface>");
    const qsizetype to = xml.lastIndexOf(end);
    return from < 0 || to < from ? QString() : xml.mid(from, to + end.size() - from);
}

// The whole object: the standard interfaces and Keyloom's own.
QString introspection() {
    return QStringLiteral(
               "<!DOCTYPE node PUBLIC \"-//freedesktop//DTD D-BUS Object Introspection 1.0//EN\"\n"
               " \"http://www.freedesktop.org/standards/dbus/1.0/introspect.dtd\">\n<node>\n"
               "  <interface name=\"org.freedesktop.DBus.Introspectable\">\n"
               "    <method name=\"Introspect\"><arg name=\"xml\" type=\"s\" "
               "direction=\"out\"/></method>\n  </interface>\n"
               "  <interface name=\"org.freedesktop.DBus.Properties\">\n"
               "    <method name=\"Get\"><arg type=\"s\" direction=\"in\"/><arg type=\"s\" "
               "direction=\"in\"/><arg type=\"v\" direction=\"out\"/></method>\n"
               "    <method name=\"GetAll\"><arg type=\"s\" direction=\"in\"/><arg "
               "type=\"a{sv}\" direction=\"out\"/></method>\n"
               "    <signal name=\"PropertiesChanged\"><arg type=\"s\"/><arg type=\"a{sv}\"/>"
               "<arg type=\"as\"/></signal>\n  </interface>\n  ") +
           interfaceXml() + QStringLiteral("\n</node>\n");
}

}  // namespace

KeyloomBusService::KeyloomBusService(CKeyloomDlg& dialog, QDBusConnection bus)
    : dialog_(dialog),
      bus_(std::move(bus)),
      calls_(std::make_unique<cli::ServiceCalls>(static_cast<cli::ServiceWindow&>(*this))) {
    poll_.setInterval(kSafetyNetInterval);
    connect(&poll_, &QTimer::timeout, this, [this] { announceChanges(); });
    // Several changes told in one turn of the event loop give one look.
    soon_.setSingleShot(true);
    soon_.setInterval(0);
    connect(&soon_, &QTimer::timeout, this, [this] { announceChanges(); });
}

KeyloomBusService::~KeyloomBusService() {
    poll_.stop();
    dialog_.port().setChangeListener({});
    if (registered_) {
        bus_.unregisterObject(QString::fromLatin1(cli::bus::kObjectPath));
        bus_.unregisterService(QString::fromLatin1(cli::bus::kServiceName));
    }
    dialog_.port().setPromptFilter({});
    calls_.reset();
}

bool KeyloomBusService::start(std::string& error) {
    if (!bus_.isConnected()) {
        error = "no session bus: " + bus_.lastError().message().toStdString();
        return false;
    }
    // Registered first so that a caller woken by the name finds the object.
    if (!bus_.registerVirtualObject(QString::fromLatin1(cli::bus::kObjectPath), this)) {
        error = "cannot serve " + std::string(cli::bus::kObjectPath);
        return false;
    }
    if (!bus_.registerService(QString::fromLatin1(cli::bus::kServiceName))) {
        bus_.unregisterObject(QString::fromLatin1(cli::bus::kObjectPath));
        error =
            std::string("another program owns ") + cli::bus::kServiceName + " on the session bus";
        return false;
    }
    registered_ = true;
    MainWindowPort& port = dialog_.port();
    KeyboardQueue& queue = core().queue();
    // Only the message boxes of the call's own keyboard job go to it.
    port.setPromptFilter(
        [this,
         &queue](const window::MessageRequest& request) -> std::optional<window::MessageAnswer> {
            window::Prompter* prompts = prompts_.load();
            if (prompts == nullptr || !queue.onQueueThread())
                return std::nullopt;
            return prompts->showMessage(request);
        });
    announced_ = calls_->properties();
    port.setChangeListener([this] { soon_.start(); });
    poll_.start();
    return true;
}

QString KeyloomBusService::introspect(const QString&) const {
    return interfaceXml();
}

bool KeyloomBusService::handleMessage(const QDBusMessage& message, const QDBusConnection&) {
    if (message.type() != QDBusMessage::MethodCallMessage)
        return false;
    if (message.interface() == QLatin1String(kIntrospectableInterface))
        bus_.send(message.createReply(introspection()));
    else if (message.interface() == QLatin1String(kPropertiesInterface))
        handleProperties(message);
    else
        handleCall(message);
    return true;
}

void KeyloomBusService::handleProperties(const QDBusMessage& message) {
    const QString interface = QString::fromLatin1(cli::bus::kInterface);
    const QList<QVariant> args = message.arguments();
    const QVariantMap properties = propertyMap(calls_->properties());
    if (message.member() == QLatin1String("GetAll") && message.signature() == QLatin1String("s")) {
        bus_.send(
            message.createReply(args[0].toString() == interface ? properties : QVariantMap{}));
        return;
    }
    if (message.member() == QLatin1String("Get") && message.signature() == QLatin1String("ss")) {
        if (args[0].toString() == interface && properties.contains(args[1].toString()))
            bus_.send(message.createReply(
                QVariant::fromValue(QDBusVariant(properties[args[1].toString()]))));
        else
            bus_.send(message.createErrorReply(
                QStringLiteral("org.freedesktop.DBus.Error.UnknownProperty"),
                QStringLiteral("There is no property %1.%2.")
                    .arg(args[0].toString(), args[1].toString())));
        return;
    }
    if (message.member() == QLatin1String("Set")) {
        bus_.send(message.createErrorReply(
            QStringLiteral("org.freedesktop.DBus.Error.PropertyReadOnly"),
            QStringLiteral("Keyloom's properties are read only; use its methods to change them.")));
        return;
    }
    bus_.send(message.createErrorReply(QDBusError::UnknownMethod,
                                       QStringLiteral("No such method of the properties.")));
}

void KeyloomBusService::handleCall(const QDBusMessage& message) {
    const QString member = message.member();
    if (!message.interface().isEmpty() &&
        message.interface() != QLatin1String(cli::bus::kInterface)) {
        bus_.send(message.createErrorReply(
            QDBusError::UnknownInterface,
            QStringLiteral("No such interface: %1").arg(message.interface())));
        return;
    }
    using Setter = void (cli::ServiceCalls::*)(int, cli::ServiceCalls::Done);
    Setter setter = nullptr;
    if (member == QLatin1String("SetActiveProfile"))
        setter = &cli::ServiceCalls::setActiveProfile;
    else if (member == QLatin1String("SetEffect"))
        setter = &cli::ServiceCalls::setEffect;
    else if (member == QLatin1String("SetBrightness"))
        setter = &cli::ServiceCalls::setBrightness;
    else if (member != QLatin1String("Run")) {
        bus_.send(message.createErrorReply(
            QDBusError::UnknownMethod, QStringLiteral("Keyloom has no method %1.").arg(member)));
        return;
    }

    const QString wanted = setter != nullptr ? QStringLiteral("i") : QStringLiteral("as");
    if (message.signature() != wanted) {
        bus_.send(errorReply(message,
                             {cli::CallError::InvalidArgument,
                              QStringLiteral("%1 takes %2, not arguments of type '%3'.")
                                  .arg(member,
                                       setter != nullptr ? QStringLiteral("one integer (i)")
                                                         : QStringLiteral("a list of strings (as)"),
                                       message.signature())
                                  .toStdString()}));
        return;
    }
    if (setter != nullptr) {
        (calls_.get()->*setter)(
            message.arguments()[0].toInt(), [this, message](cli::CallOutcome outcome) {
                replyLater(outcome.error == cli::CallError::None ? message.createReply()
                                                                 : errorReply(message, outcome));
            });
        return;
    }
    std::vector<std::string> args;
    for (const QString& arg : message.arguments()[0].toStringList())
        args.push_back(arg.toStdString());
    calls_->run(std::move(args), [this, message](cli::CallOutcome outcome, cli::CommandRun run) {
        replyLater(outcome.error != cli::CallError::None
                       ? errorReply(message, outcome)
                       : message.createReply({run.exitCode, QString::fromStdString(run.out),
                                              QString::fromStdString(run.err)}));
    });
}

QDBusMessage KeyloomBusService::errorReply(const QDBusMessage& message,
                                           const cli::CallOutcome& outcome) const {
    return message.createErrorReply(errorName(outcome.error),
                                    QString::fromStdString(outcome.message));
}

void KeyloomBusService::replyLater(QDBusMessage reply) {
    // From the keyboard queue's thread; the service may be gone by the time
    // the window thread gets to it (the caller then sees the name vanish).
    QMetaObject::invokeMethod(
        qApp,
        [service = QPointer<KeyloomBusService>(this), reply = std::move(reply)] {
            if (service.isNull())
                return;
            // The properties a call changed are announced before its reply.
            service->announceChanges();
            service->bus_.send(reply);
        },
        Qt::QueuedConnection);
}

void KeyloomBusService::announceChanges() {
    const cli::ServiceProperties now = calls_->properties();
    if (now == announced_)
        return;
    const QVariantMap before = propertyMap(announced_);
    QVariantMap changed = propertyMap(now);
    for (auto it = changed.begin(); it != changed.end();)
        it = it.value() == before[it.key()] ? changed.erase(it) : std::next(it);
    announced_ = now;
    QDBusMessage signal = QDBusMessage::createSignal(QString::fromLatin1(cli::bus::kObjectPath),
                                                     QString::fromLatin1(kPropertiesInterface),
                                                     QStringLiteral("PropertiesChanged"));
    signal << QString::fromLatin1(cli::bus::kInterface) << changed << QStringList();
    bus_.send(signal);
}

// --- cli::ServiceWindow --------------------------------------------------------------

KeyloomCore& KeyloomBusService::core() {
    return dialog_.core();
}

void KeyloomBusService::routePrompts(window::Prompter* prompts) {
    prompts_.store(prompts);
}

bool KeyloomBusService::ending() const {
    return calls_ == nullptr || calls_->ending();
}

bool KeyloomBusService::dialogOpen() {
    // The window stopped (shutdown): nothing more is changed.
    bool open = true;
    dialog_.port().blockingCall([this, &open] {
        const EditorState& editors = dialog_.core().state().editors;
        open = QApplication::activeModalWidget() != nullptr ||
               QApplication::activePopupWidget() != nullptr || editors.keyAssignmentDialogOpen() ||
               editors.profileManagerOpen();
    });
    return open;
}

void KeyloomBusService::showCoreState() {
    MainWindowPort& port = dialog_.port();
    KeyloomCore& core = dialog_.core();
    port.modifiedChanged(core.modified().isModified());
    port.setProfileButtons(core.state().connection.activeProfile.load());
    port.setReportRateButtons(core.lighting().reportRate());
    port.lightingChanged();
    port.profileMenuChanged();
    port.redrawKeyView();
}

}  // namespace keyloom::shell
