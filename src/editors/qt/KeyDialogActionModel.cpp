#include "editors/qt/KeyDialogActionModel.h"

#include <QComboBox>
#include <QLineEdit>
#include <QRegularExpressionValidator>

#include "controls/QtText.h"
#include "model/KeyTable.h"
#include "storage/Language.h"

namespace keyloom::editors::qt {

namespace {

constexpr std::size_t kNameBufferSize = 260;
constexpr std::uint16_t kKeyChoiceCount = 106;

}  // namespace

KeyDialogActionModel::KeyDialogActionModel(MacroEditor& editor, EditorPrompts& prompts,
                                           QObject* parent)
    : QAbstractTableModel(parent), editor_(editor), prompts_(prompts) {}

void KeyDialogActionModel::reload() {
    beginResetModel();
    endResetModel();
}

int KeyDialogActionModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(editor_.rows().size());
}

int KeyDialogActionModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QString KeyDialogActionModel::stateText(std::uint16_t state) {
    return state == MacroAction::kPressed ? QStringLiteral("\u2193") : QStringLiteral("\u2191");
}

QVariant KeyDialogActionModel::data(const QModelIndex& index, int role) const {
    const auto rows = editor_.rows();
    if (!index.isValid() || index.row() < 0 || static_cast<std::size_t>(index.row()) >= rows.size())
        return {};
    const MacroAction& action = rows[static_cast<std::size_t>(index.row())];
    if (role == Qt::DisplayRole) {
        switch (index.column()) {
            case KeyColumn:
                return qs(KeyName(action.keyCode, kNameBufferSize));
            case StateColumn:
                return stateText(action.state);
            case DelayColumn:
                return QString::number(action.delayMs);
            default:
                return {};
        }
    }
    if (role == Qt::EditRole) {
        switch (index.column()) {
            case KeyColumn:
                return static_cast<int>(ListPositionOf(action.keyCode));
            case StateColumn:
                return static_cast<int>(action.state);
            case DelayColumn:
                return QString::number(action.delayMs);
            default:
                return {};
        }
    }
    if (role == Qt::TextAlignmentRole && index.column() == StateColumn) {
        // Down and up arrows in one column, whatever the font's blanks.
        return QVariant::fromValue(Qt::Alignment(Qt::AlignCenter));
    }
    if (role == Qt::ForegroundRole && index.column() != DelayColumn) {
        // Key and state are shown in grey: the delay is what is usually edited.
        return QColor(0xa0, 0xa6, 0xae);
    }
    return {};
}

QVariant KeyDialogActionModel::headerData(int section, Qt::Orientation orientation,
                                          int role) const {
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return section + 1;
    static const char* const kHeaders[] = {"MACRO_KEYS_TISHI", "MACRO_ACTION_TISHI",
                                           "MACRO_DELAY_MS"};
    if (section < 0 || section >= ColumnCount)
        return {};
    return qs(lookupText(kHeaders[section]));
}

Qt::ItemFlags KeyDialogActionModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
}

bool KeyDialogActionModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !index.isValid() || index.row() < 0 ||
        static_cast<std::size_t>(index.row()) >= editor_.rows().size())
        return false;
    const auto row = static_cast<std::size_t>(index.row());
    bool changed = false;
    switch (index.column()) {
        case KeyColumn: {
            const int position = value.toInt();
            if (position < 0 || position >= kKeyChoiceCount)
                return false;
            changed = editor_.setRowKeyFromList(row, static_cast<std::uint16_t>(position));
            break;
        }
        case StateColumn: {
            const int state = value.toInt();
            if (state != MacroAction::kPressed && state != MacroAction::kReleased)
                return false;
            changed = editor_.setRowState(row, static_cast<std::uint16_t>(state));
            break;
        }
        case DelayColumn: {
            const std::string text = value.toString().trimmed().toStdString();
            changed = editor_.setRowDelayText(row, text, prompts_).has_value();
            break;
        }
        default:
            return false;
    }
    if (changed) {
        emit dataChanged(index, index);
        emit edited();
    }
    return changed;
}

KeyDialogActionDelegate::KeyDialogActionDelegate(std::function<void()> beforeDelayEdit,
                                                 QObject* parent)
    : QStyledItemDelegate(parent), beforeDelayEdit_(std::move(beforeDelayEdit)) {}

QWidget* KeyDialogActionDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&,
                                               const QModelIndex& index) const {
    switch (index.column()) {
        case KeyDialogActionModel::KeyColumn: {
            auto* box = new QComboBox(parent);  // owned by the view
            for (std::uint16_t position = 0; position < kKeyChoiceCount; ++position)
                box->addItem(qs(ListEntryName(position)));
            box->setMaxVisibleItems(16);
            return box;
        }
        case KeyDialogActionModel::StateColumn: {
            auto* box = new QComboBox(parent);
            box->addItem(KeyDialogActionModel::stateText(MacroAction::kPressed));
            box->addItem(KeyDialogActionModel::stateText(MacroAction::kReleased));
            return box;
        }
        case KeyDialogActionModel::DelayColumn: {
            if (beforeDelayEdit_)
                beforeDelayEdit_();
            auto* edit = new QLineEdit(parent);
            // Digits only (a sign is let through so that the editor can say
            // that a negative delay is out of range).
            edit->setValidator(new QRegularExpressionValidator(
                QRegularExpression(QStringLiteral("-?[0-9]{0,9}")), edit));
            return edit;
        }
        default:
            return nullptr;
    }
}

void KeyDialogActionDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
    const QVariant value = index.data(Qt::EditRole);
    if (auto* box = qobject_cast<QComboBox*>(editor))
        box->setCurrentIndex(value.toInt());
    else if (auto* edit = qobject_cast<QLineEdit*>(editor))
        edit->setText(value.toString());
}

void KeyDialogActionDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                                           const QModelIndex& index) const {
    if (auto* box = qobject_cast<QComboBox*>(editor)) {
        if (box->currentIndex() != index.data(Qt::EditRole).toInt())
            model->setData(index, box->currentIndex(), Qt::EditRole);
    } else if (auto* edit = qobject_cast<QLineEdit*>(editor)) {
        model->setData(index, edit->text(), Qt::EditRole);
    }
}

}  // namespace keyloom::editors::qt
