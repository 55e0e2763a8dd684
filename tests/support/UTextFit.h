#pragma once
// Checks for windows that must show their texts whole at the font in use,
// and whose controls stand at pixel positions: a control shows its text
// whole, and no two controls of one parent overlap. Each check answers what
// it found wrong, empty when all is well.

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFont>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStringList>
#include <QStyle>
#include <QTest>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>
#include <QStyleOptionToolButton>
#include <QToolButton>

namespace TextFit {

// The application's font while it lives, for the windows made meanwhile:
// the platform's, or the same font a quarter wider, in which the texts need
// more room than designed whatever faces the machine has. Its height is the
// platform font's: the windows keep the heights of their controls.
class TAppFont {
public:
    explicit TAppFont(bool wider)
        : FOld(QApplication::font())
    {
        if (wider) {
            QFont font = FOld;
            font.setStretch(QFont::Expanded);
            QApplication::setFont(font);
        }
    }
    ~TAppFont() { QApplication::setFont(FOld); }
    TAppFont(const TAppFont&) = delete;
    TAppFont& operator=(const TAppFont&) = delete;

private:
    QFont FOld;
};

// The rows of a test run at the platform's font and at the wider one.
inline void addFontRows()
{
    QTest::addColumn<bool>("wider");
    QTest::newRow("platform font") << false;
    QTest::newRow("wider font") << true;
}

inline QString nameOf(const QWidget* w)
{
    return w->objectName().isEmpty() ? QString::fromLatin1(w->metaObject()->className()) : w->objectName();
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

// Whether the control shows its caption (a combo box: each item) whole:
// what Qt gives as the size the control needs, or, where that holds more
// than the text (a button's least width), the room the style draws the
// text into against the size of the text at the control's font.
inline QString captionCut(QWidget* control)
{
    const QFontMetrics fm = control->fontMetrics();
    const QString name = nameOf(control);
    auto cut = [&](const QString& text, QSize needs, QSize room) {
        if (needs.width() <= room.width() && needs.height() <= room.height())
            return QString();
        return QStringLiteral("%1: \"%2\" needs %3x%4, has %5x%6")
            .arg(name, text)
            .arg(needs.width())
            .arg(needs.height())
            .arg(room.width())
            .arg(room.height());
    };
    if (auto* label = qobject_cast<QLabel*>(control))
        return cut(label->text(), label->sizeHint(), label->size());
    if (qobject_cast<QCheckBox*>(control) || qobject_cast<QRadioButton*>(control))
        return cut(static_cast<QAbstractButton*>(control)->text(), control->sizeHint(), control->size());
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
        return cut(button->text(), fm.size(Qt::TextShowMnemonic, button->text()) + QSize(margin, 0), contents.size());
    }
    if (auto* button = qobject_cast<QToolButton*>(control)) {
        // The style draws the caption inside the frame of the button's
        // part, eliding what does not fit.
        QStyleOptionToolButton option;
        option.initFrom(button);
        option.subControls = QStyle::SC_ToolButton;
        option.toolButtonStyle = button->toolButtonStyle();
        option.text = button->text();
        const QRect part = button->style()->subControlRect(QStyle::CC_ToolButton, &option, QStyle::SC_ToolButton, button);
        const int frame = button->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, button);
        return cut(button->text(), fm.size(Qt::TextShowMnemonic, button->text()),
                   part.marginsRemoved(QMargins(frame, frame, frame, frame)).size());
    }
    if (auto* combo = qobject_cast<QComboBox*>(control)) {
        // Each item in the style's edit field: in its line edit, or drawn
        // into it a pixel in from the left and cut off at its right.
        QStyleOptionComboBox option;
        option.initFrom(combo);
        option.editable = combo->isEditable();
        option.frame = combo->hasFrame();
        option.subControls = QStyle::SC_All;
        const QRect field = combo->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, combo);
        if (const QString c = cut(combo->currentText(), QSize(0, fm.height()), field.size()); !c.isEmpty())
            return c;
        for (int i = 0; i < combo->count(); ++i) {
            const QString text = combo->itemText(i);
            const QRect ink = fm.boundingRect(text);
            if (QLineEdit* edit = combo->lineEdit()) {
                if (const QString c = lineCut(edit, text); !c.isEmpty())
                    return name + QStringLiteral(" / ") + c;
            } else if (const QString c = cut(text, QSize(1 + ink.left() + ink.width(), 0), field.size()); !c.isEmpty()) {
                return c;
            }
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
