#pragma once
// The running Keyloom on the session bus: owns io.github.keyloom.Keyloom and
// serves /io/github/keyloom/Keyloom with the interface
// io.github.keyloom.Keyloom1 (properties, SetActiveProfile, SetEffect,
// SetBrightness, Run). What a call does is decided by cli::ServiceCalls; this
// class checks the message's types, converts them and sends the replies and
// the PropertiesChanged signals, all on the window thread. Replies wait for
// their keyboard job: the window thread never does.

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVirtualObject>
#include <QTimer>
#include <atomic>
#include <memory>
#include <string>

#include "cli/ServiceCalls.h"

namespace keyloom::shell {

class CKeyloomDlg;

class KeyloomBusService : public QDBusVirtualObject, private cli::ServiceWindow {
    Q_OBJECT

public:
    explicit KeyloomBusService(CKeyloomDlg& dialog,
                               QDBusConnection bus = QDBusConnection::sessionBus());
    ~KeyloomBusService() override;

    // Serves the object and takes the name; false, with the reason, when
    // there is no session bus or another program owns the name.
    bool start(std::string& error);

    // --- QDBusVirtualObject (window thread) ----------------------------------
    QString introspect(const QString& path) const override;
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override;

private:
    // --- cli::ServiceWindow ----------------------------------------------------
    KeyloomCore& core() override;
    void routePrompts(window::Prompter* prompts) override;
    bool ending() const override;
    bool dialogOpen() override;
    void showCoreState() override;

    void handleProperties(const QDBusMessage& message);
    void handleCall(const QDBusMessage& message);
    // Sends `reply` on the window thread, after the properties were compared.
    void replyLater(QDBusMessage reply);
    QDBusMessage errorReply(const QDBusMessage& message, const cli::CallOutcome& outcome) const;
    // Announces the properties that changed since the last look.
    void announceChanges();

    CKeyloomDlg& dialog_;
    QDBusConnection bus_;
    bool registered_ = false;
    std::atomic<window::Prompter*> prompts_{nullptr};
    cli::ServiceProperties announced_;
    QTimer poll_;
    QTimer soon_;  // the look after the window was told of a change
    std::unique_ptr<cli::ServiceCalls> calls_;
};

}  // namespace keyloom::shell
