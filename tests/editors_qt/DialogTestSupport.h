#pragma once
// The main window on the simulated keyboard with its editor dialogs: message
// boxes answered and recorded, file dialogs replaced, screenshots of a
// dialog saved under build/screenshots/.

#include <QDir>
#include <algorithm>
#include <string>

#include "shell/ShellFixture.h"

namespace keyloom::testing {

class DialogFixture : public ShellFixture {
protected:
    bool shown(const std::string& key) {
        const std::vector<std::string> keys = dialog->messageKeysShown();
        return std::find(keys.begin(), keys.end(), key) != keys.end();
    }
    std::size_t messagesShown() { return dialog->messageKeysShown().size(); }

    // Every file dialog answers `path` (empty: cancelled).
    void answerFileDialogs(const std::string& path) {
        dialog->setFileChooser([path](shell::CKeyloomDlg::FileDialogKind) { return path; });
    }

    void saveScreenshot(QWidget& window, const std::string& name) {
        ASSERT_TRUE(QDir().mkpath(QString::fromStdString(builtFile("screenshots"))));
        EXPECT_TRUE(window.grab().toImage().save(
            QString::fromStdString(builtFile("screenshots/" + name + ".png"))));
    }
};

}  // namespace keyloom::testing
