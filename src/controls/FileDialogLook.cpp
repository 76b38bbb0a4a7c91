#include "controls/FileDialogLook.h"

#include <QFileDialog>
#include <QHeaderView>
#include <QTreeView>
#include <algorithm>

namespace keyloom::controls {

void prepareFileDialog(QFileDialog& dialog) {
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    // Room for the name, size, type and date columns side by side.
    dialog.resize(dialog.sizeHint().expandedTo(QSize(760, 460)));
    // The detail list sizes its columns from sample texts without the cell
    // margins, which cuts sizes and dates ("95....KiB"): once a folder is
    // read, the columns after the name take their contents' width.
    QTreeView* details = dialog.findChild<QTreeView*>(QStringLiteral("treeView"));
    if (!details)
        return;
    QObject::connect(details->model(), &QAbstractItemModel::rowsInserted, details, [details] {
        int others = 0;
        for (int column = 1; column < details->header()->count(); ++column) {
            details->resizeColumnToContents(column);
            others += details->columnWidth(column);
        }
        // The name column gives way so that the others stay in view, down to
        // half the list for names that would not fit.
        const int room = details->viewport()->width();
        details->resizeColumnToContents(0);
        const int names = std::min(details->columnWidth(0), room / 2);
        details->setColumnWidth(0, std::max(names, room - others));
    });
}

}  // namespace keyloom::controls
