#include "editors/qt/KeyDialogOsk.h"

#include <QProcess>
#include <QStandardPaths>

namespace keyloom::editors::qt {

QString findOnScreenKeyboard(const QStringList& candidates, const QStringList& searchPath) {
    for (const QString& name : candidates) {
        const QString found = QStandardPaths::findExecutable(name, searchPath);
        if (!found.isEmpty())
            return found;
    }
    return {};
}

bool startOnScreenKeyboard() {
    const QString program = findOnScreenKeyboard();
    return !program.isEmpty() && QProcess::startDetached(program, {});
}

}  // namespace keyloom::editors::qt
