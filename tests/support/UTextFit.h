#pragma once
// Checks for windows whose controls stand at pixel positions: a control
// shows its text whole at the font in use, and no two controls of one
// parent overlap. Each check answers what it found wrong, empty when all is
// well.

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QInputMethodQueryEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStringList>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>
#include <QToolButton>

namespace TextFit {

inline QString nameOf(const QWidget* w)
{
    return w->objectName().isEmpty() ? QString::fromLatin1(w->metaObject()->className()) : w->objectName();
}

// A caption as it shows: "&x" as "x", "&&" as "&".
inline QString shown(QString text)
{
    text.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    text.remove(QLatin1Char('&'));
    text.replace(QLatin1Char('\x01'), QLatin1Char('&'));
    return text;
}

// Whether the line edit shows text without scrolling: the cursor at the end
// stands as far right of the cursor at the start as the text is wide. The
// edit must be visible; its text is put back.
inline QString lineCut(QLineEdit* edit, const QString& text)
{
    const QString before = edit->text();
    auto cursorX = [edit](int position) {
        edit->setCursorPosition(position);
        edit->grab();   // the edit scrolls when it paints
        return edit->inputMethodQuery(Qt::ImCursorRectangle).toRect().x();
    };
    edit->setText(text);
    const int start = cursorX(0);
    const int end = cursorX(int(text.size()));
    const int width = edit->fontMetrics().horizontalAdvance(text);
    edit->setText(before);
    if (end - start < width - 1)
        return QStringLiteral("%1: \"%2\" needs %3, shows %4").arg(nameOf(edit), text).arg(width).arg(end - start);
    return QString();
}

// Whether the control shows its caption (a combo box: each item) whole.
inline QString captionCut(QWidget* control)
{
    const QFontMetrics fm = control->fontMetrics();
    const QString name = nameOf(control);
    auto cut = [&](const QString& text, int needs, int room) {
        return needs <= room ? QString() : QStringLiteral("%1: \"%2\" needs %3, has %4").arg(name, text).arg(needs).arg(room);
    };
    if (auto* label = qobject_cast<QLabel*>(control)) {
        const QSize hint = label->sizeHint();
        if (label->width() < hint.width() || label->height() < hint.height())
            return QStringLiteral("%1: \"%2\" needs %3x%4, has %5x%6").arg(name, label->text()).arg(hint.width())
                .arg(hint.height()).arg(label->width()).arg(label->height());
        return QString();
    }
    if (auto* button = qobject_cast<QPushButton*>(control)) {
        // The caption and the style's margin inside the bevel.
        QStyleOptionButton option;
        option.initFrom(button);
        if (button->autoDefault())
            option.features |= QStyleOptionButton::AutoDefaultButton;
        if (button->isDefault())
            option.features |= QStyleOptionButton::DefaultButton;
        const QRect contents = button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
        const int margin = button->style()->pixelMetric(QStyle::PM_ButtonMargin, &option, button);
        const QString text = shown(button->text());
        const QString across = cut(text, fm.horizontalAdvance(text) + margin, contents.width());
        return across.isEmpty() ? cut(text, fm.height(), contents.height()) : across;
    }
    if (auto* button = qobject_cast<QToolButton*>(control)) {
        // The caption inside the frame.
        const int frame = button->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, button);
        const QString text = shown(button->text());
        const QString across = cut(text, fm.horizontalAdvance(text), button->width() - 2 * frame);
        return across.isEmpty() ? cut(text, fm.height(), button->height() - 2 * frame) : across;
    }
    if (qobject_cast<QCheckBox*>(control) || qobject_cast<QRadioButton*>(control)) {
        const QSize hint = control->sizeHint();
        return cut(static_cast<QAbstractButton*>(control)->text(), hint.width(), control->width());
    }
    if (auto* combo = qobject_cast<QComboBox*>(control)) {
        if (QLineEdit* edit = combo->lineEdit()) {
            for (int i = 0; i < combo->count(); ++i)
                if (const QString c = lineCut(edit, combo->itemText(i)); !c.isEmpty())
                    return name + QStringLiteral(" / ") + c;
            return QString();
        }
        // Each item in the edit field, which it is drawn into a pixel in
        // from the left, cut off at its right.
        QStyleOptionComboBox option;
        option.initFrom(combo);
        option.editable = false;
        option.frame = combo->hasFrame();
        option.subControls = QStyle::SC_All;
        const QRect field = combo->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, combo);
        for (int i = 0; i < combo->count(); ++i) {
            const QRect ink = fm.boundingRect(combo->itemText(i));
            if (const QString c = cut(combo->itemText(i), 1 + ink.left() + ink.width(), field.width()); !c.isEmpty())
                return c;
        }
        return QString();
    }
    return QStringLiteral("%1: no caption to check").arg(name);
}

// The visible children of parent that overlap one another or reach beyond
// it. A plain frame stands behind the controls it surrounds and counts only
// for reaching beyond.
inline QStringList overlaps(const QWidget* parent)
{
    QList<const QWidget*> children;
    for (const QObject* o : parent->children())
        if (auto* w = qobject_cast<const QWidget*>(o); w && !w->isWindow() && w->isVisibleTo(parent))
            children << w;
    QStringList found;
    for (int i = 0; i < children.size(); ++i) {
        const QWidget* a = children[i];
        if (!parent->rect().contains(a->geometry()))
            found << QStringLiteral("%1 reaches beyond %2").arg(nameOf(a), nameOf(parent));
        if (QLatin1String(a->metaObject()->className()) == QLatin1String("QFrame"))
            continue;
        for (int j = i + 1; j < children.size(); ++j) {
            const QWidget* b = children[j];
            if (QLatin1String(b->metaObject()->className()) != QLatin1String("QFrame")
                && a->geometry().intersects(b->geometry()))
                found << QStringLiteral("%1 overlaps %2").arg(nameOf(a), nameOf(b));
        }
    }
    return found;
}

} // namespace TextFit
