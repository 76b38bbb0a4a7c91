#pragma once
// The program's file dialogs: Qt's own (the desktop's would bring their own
// light colours) with columns that show their whole text.

class QFileDialog;

namespace keyloom::controls {

// Call before the dialog is shown.
void prepareFileDialog(QFileDialog& dialog);

}  // namespace keyloom::controls
