#pragma once
// A main window without a picture, for keyloomctl and the tests: the calling
// thread pumps its messages and timers (QueuedWindow), message boxes are
// answered from a script (per language key, else Ok for OK boxes and the
// preselected No for Yes/No boxes), no editor is ever open, and the view and
// lighting hooks have nothing to show.

#include <map>
#include <mutex>
#include <string>

#include "core/window/CoreWindow.h"
#include "platform/window/QueuedWindow.h"

namespace keyloom::window {

class HeadlessWindow : public QueuedWindow,
                       public Prompter,
                       public MainView,
                       public EditorWindows,
                       public LightingView {
public:
    CoreWindow coreWindow() { return CoreWindow::of(*this); }

    // Every later box with this language key gets `answer`.
    void answer(const std::string& key, MessageAnswer answer);
    // Answer of Yes/No boxes without a scripted answer (initially No).
    void setDefaultYesNoAnswer(MessageAnswer answer);

    MessageAnswer showMessage(const MessageRequest& request) override;

    void modifiedChanged(bool) override {}
    void redrawKeyView() override {}
    void setProfileButtons(int) override {}
    void setReportRateButtons(int) override {}
    void keyToggleModeOff() override {}
    void profileMenuChanged() override {}
    void busyIndicatorOn() override {}
    void busyIndicatorOff() override {}

    void profileManagerSelectRow(int) override {}

    void lightingChanged() override {}

private:
    mutable std::mutex answersMutex_;
    std::map<std::string, MessageAnswer> answers_;
    MessageAnswer defaultYesNo_ = MessageAnswer::No;
};

}  // namespace keyloom::window
