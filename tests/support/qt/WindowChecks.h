#pragma once
// Checks that hold for every window in every language: each text shown in a
// control fits the control at the font it is drawn in, and each control a
// screen reader reaches has a name it can say.

#include <QAbstractButton>
#include <QAccessible>
#include <QComboBox>
#include <QFontMetrics>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QStringList>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QStyleOptionHeader>
#include <QWidget>
#include <functional>

#include "controls/CSkinButton.h"
#include "lighting/qt/PictureToggle.h"

namespace keyloom::testing {

inline QString describe(const QWidget& w) {
    const QVariant id = w.property("controlId");
    return QStringLiteral("%1 %2%3 at %4,%5 %6x%7")
        .arg(QString::fromLatin1(w.metaObject()->className()), w.objectName(),
             id.isValid() ? QStringLiteral(" id %1").arg(id.toInt()) : QString())
        .arg(w.x())
        .arg(w.y())
        .arg(w.width())
        .arg(w.height());
}

// Every text of a control shown in `window` that is wider than the room the
// control has for it, as "control: text (needs N, has M)".
inline QStringList textsThatDoNotFit(QWidget& window) {
    QStringList misfits;
    const auto check = [&](const QWidget& w, const QString& text, const QFont& font, int room) {
        for (const QString& line : text.split(QLatin1Char('\n'))) {
            const int needs = QFontMetrics(font).horizontalAdvance(line);
            if (needs > room)
                misfits << QStringLiteral("%1: \"%2\" (needs %3, has %4)")
                               .arg(describe(w), line)
                               .arg(needs)
                               .arg(room);
        }
    };
    for (QWidget* w : window.findChildren<QWidget*>()) {
        if (!w->isVisibleTo(&window) || w->width() <= 1)
            continue;
        if (auto* b = qobject_cast<controls::CSkinButton*>(w)) {
            if (!b->text().isEmpty())
                check(*b, b->text(), b->textFont(), b->textRect().width());
        } else if (auto* t = qobject_cast<lighting::qt::PictureToggle*>(w)) {
            if (!t->text().isEmpty())
                check(*t, t->text(), t->textFont(), t->width() - 8);
        } else if (auto* label = qobject_cast<QLabel*>(w)) {
            // A wrapped text must fit in its height instead.
            const QRect room = label->contentsRect();
            if (label->wordWrap() && !label->text().isEmpty() &&
                label->heightForWidth(room.width()) > room.height())
                misfits << QStringLiteral("%1: \"%2\" (needs %3 high, has %4)")
                               .arg(describe(*label), label->text())
                               .arg(label->heightForWidth(room.width()))
                               .arg(room.height());
            if (!label->wordWrap() && !label->text().isEmpty() &&
                label->textFormat() != Qt::RichText)
                check(*label, label->text(), label->font(),
                      label->contentsRect().width() - 2 * label->margin());
        } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
            if (!button->text().isEmpty() && button->sizeHint().width() > button->width())
                misfits << QStringLiteral("%1: \"%2\" (needs %3, has %4)")
                               .arg(describe(*button), button->text())
                               .arg(button->sizeHint().width())
                               .arg(button->width());
        } else if (auto* box = qobject_cast<QComboBox*>(w)) {
            if (!box->isEditable() && !box->currentText().isEmpty()) {
                QStyleOptionComboBox option;
                option.initFrom(box);
                const QRect field = box->style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                                 QStyle::SC_ComboBoxEditField, box);
                check(*box, box->currentText(), box->font(), field.width());
            }
        } else if (auto* header = qobject_cast<QHeaderView*>(w)) {
            for (int i = 0; i < header->count(); ++i) {
                if (header->isSectionHidden(i) || header->orientation() != Qt::Horizontal)
                    continue;
                QStyleOptionHeader option;
                option.initFrom(header);
                option.section = i;
                option.text = header->model()->headerData(i, Qt::Horizontal).toString();
                option.fontMetrics = header->fontMetrics();
                const int needs =
                    header->style()
                        ->sizeFromContents(QStyle::CT_HeaderSection, &option, QSize(), header)
                        .width();
                if (needs > header->sectionSize(i))
                    misfits << QStringLiteral("%1 column %2: \"%3\" (needs %4, has %5)")
                                   .arg(describe(*header))
                                   .arg(i)
                                   .arg(header->model()->headerData(i, Qt::Horizontal).toString())
                                   .arg(needs)
                                   .arg(header->sectionSize(i));
            }
        }
    }
    return misfits;
}

// The controls a screen reader can act on.
inline bool isControlRole(QAccessible::Role role) {
    switch (role) {
        case QAccessible::PushButton:
        case QAccessible::CheckBox:
        case QAccessible::RadioButton:
        case QAccessible::ComboBox:
        case QAccessible::EditableText:
        case QAccessible::Slider:
        case QAccessible::SpinBox:
        case QAccessible::Table:
        case QAccessible::List:
        case QAccessible::ButtonMenu:
        case QAccessible::ButtonDropDown:
        case QAccessible::PageTab:
            return true;
        default:
            return false;
    }
}

// Every control in the accessibility tree of `window` that is shown and has
// no name (or the text of a missing language key).
inline QStringList unnamedControls(QWidget& window) {
    QStringList unnamed;
    std::function<void(QAccessibleInterface*, int)> walk = [&](QAccessibleInterface* node,
                                                               int depth) {
        if (!node || !node->isValid() || depth > 30 || node->state().invisible)
            return;
        const QString name = node->text(QAccessible::Name);
        if (isControlRole(node->role()) &&
            (name.trimmed().isEmpty() || name.contains(QLatin1String("#Error")))) {
            QWidget* widget = qobject_cast<QWidget*>(node->object());
            unnamed << (widget ? describe(*widget) : QStringLiteral("role %1").arg(node->role()));
        }
        // Rows and cells of tables and lists are their own texts.
        if (node->role() == QAccessible::Table || node->role() == QAccessible::List)
            return;
        for (int i = 0; i < node->childCount(); ++i)
            walk(node->child(i), depth + 1);
    };
    walk(QAccessible::queryAccessibleInterface(&window), 0);
    return unnamed;
}

}  // namespace keyloom::testing
