#pragma once
// The macro tab's action list: a table model over the selected macro's rows
// in the macro editor (no widget per row, so 4000 events scroll freely), and
// the in-place editors of its three columns (key drop-down, state drop-down,
// numeric delay). Edits go straight to the editor, which applies its rules.

#include <QAbstractTableModel>
#include <QStyledItemDelegate>
#include <functional>

#include "editors/EditorPrompts.h"
#include "editors/MacroEditor.h"

namespace keyloom::editors::qt {

class KeyDialogActionModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { KeyColumn = 0, StateColumn = 1, DelayColumn = 2, ColumnCount = 3 };

    KeyDialogActionModel(MacroEditor& editor, EditorPrompts& prompts, QObject* parent = nullptr);

    // The editor's rows changed as a whole (another macro, a move, recording).
    void reload();

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // Key column: a list position; state column: 0 or 1; delay column: text.
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

    static QString stateText(std::uint16_t state);

signals:
    // A cell edit changed the macro.
    void edited();

private:
    MacroEditor& editor_;
    EditorPrompts& prompts_;
};

class KeyDialogActionDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    // `beforeDelayEdit` runs when a delay cell is about to be edited
    // (recording stops first).
    explicit KeyDialogActionDelegate(std::function<void()> beforeDelayEdit,
                                     QObject* parent = nullptr);

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override;

private:
    std::function<void()> beforeDelayEdit_;
};

}  // namespace keyloom::editors::qt
