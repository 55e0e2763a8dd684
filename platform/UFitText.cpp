#include "platform/UFitText.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionFrame>
#include <QToolButton>
#include <QVariant>

#include <algorithm>
#include <climits>

namespace {

const char* const DesignProperty = "fitDesign";
const char* const TextsProperty = "fitTexts";

// The geometry the control had when it was first fitted; for a window its
// size.
QRect design(QWidget* control)
{
    const QVariant kept = control->property(DesignProperty);
    if (kept.isValid())
        return kept.toRect();
    const QRect r = control->isWindow() ? QRect(QPoint(0, 0), control->size()) : control->geometry();
    control->setProperty(DesignProperty, r);
    return r;
}

int keptGap(int designedGap)
{
    return std::clamp(designedGap, 0, FitGap);
}

QStringList fitTexts(const QWidget* control)
{
    return control->property(TextsProperty).toStringList();
}

int textWidth(const QFontMetrics& fm, const QString& text)
{
    return fm.size(Qt::TextShowMnemonic, text).width();
}

int labelWidth(const QLabel* label)
{
    // What the label keeps around its text, as its size hint shows it,
    // around the widest text it shows.
    const QFontMetrics fm = label->fontMetrics();
    const int shown = textWidth(fm, label->text());
    int widest = shown;
    for (const QString& text : fitTexts(label))
        widest = std::max(widest, textWidth(fm, text));
    return label->sizeHint().width() - shown + widest;
}

int lineEditWidth(const QLineEdit* edit)
{
    const QStringList texts = fitTexts(edit);
    if (texts.isEmpty())
        return 0;
    int widest = 0;
    for (const QString& text : texts)
        widest = std::max(widest, edit->fontMetrics().horizontalAdvance(text));
    // Beside the text it shows unscrolled: its frame, its text margins, two
    // pixels at either side and the cursor.
    QStyleOptionFrame option;
    option.initFrom(edit);
    option.lineWidth = edit->hasFrame() ? edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, edit) : 0;
    const QRect contents = edit->style()->subElementRect(QStyle::SE_LineEditContents, &option, edit);
    const QMargins margins = edit->textMargins();
    return widest + option.rect.width() - contents.width() + margins.left() + margins.right() + 2 * 2 + 1;
}

int pushButtonWidth(const QPushButton* button)
{
    // The caption and the bevel around it. Without the text in the option
    // the style leaves out the least width it gives every button with a
    // caption.
    QStyleOptionButton option;
    option.initFrom(button);
    if (button->autoDefault())
        option.features |= QStyleOptionButton::AutoDefaultButton;
    const QFontMetrics fm = button->fontMetrics();
    const QSize text(textWidth(fm, button->text()), fm.height());
    return button->style()->sizeFromContents(QStyle::CT_PushButton, &option, text, button).width();
}

int toolButtonWidth(const QToolButton* button)
{
    // A tool button shows its caption inside its frame.
    const int frame = button->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, button);
    return textWidth(button->fontMetrics(), button->text()) + 2 * frame;
}

} // namespace

int CaptionWidth(const QWidget* control)
{
    if (auto* label = qobject_cast<const QLabel*>(control))
        return labelWidth(label);
    if (auto* edit = qobject_cast<const QLineEdit*>(control))
        return lineEditWidth(edit);
    if (auto* button = qobject_cast<const QPushButton*>(control))
        return pushButtonWidth(button);
    if (auto* button = qobject_cast<const QToolButton*>(control))
        return toolButtonWidth(button);
    // Qt keeps a combo box's size hint from the first time it is asked
    // (making a box without a size editable asks): fit the box once it has
    // its designed geometry and its items.
    if (auto* combo = qobject_cast<const QComboBox*>(control))
        return combo->sizeHint().width();
    return 0;
}

void SetFitTexts(QWidget* control, const QStringList& texts)
{
    control->setProperty(TextsProperty, texts);
}

int FitRow(std::initializer_list<TFitColumn> row)
{
    bool first = true;
    int right = 0;           // where the column before ends now
    int designedRight = 0;   // and where it ended as designed
    int reach = INT_MIN;
    int designedReach = INT_MIN;
    for (const TFitColumn& column : row) {
        int designedLeft = INT_MAX;
        int columnDesignedRight = INT_MIN;
        int standing = INT_MIN;
        for (QWidget* control : column) {
            const QRect d = design(control);
            designedLeft = std::min(designedLeft, d.left());
            columnDesignedRight = std::max(columnDesignedRight, d.left() + d.width());
            standing = std::max(standing, control->x());
        }
        const int left = first ? std::max(designedLeft, standing)
                               : std::max(designedLeft, right + keptGap(designedLeft - designedRight));
        int columnRight = INT_MIN;
        for (QWidget* control : column) {
            const int width = std::max(design(control).width(), CaptionWidth(control));
            control->setGeometry(left, control->y(), width, control->height());
            columnRight = std::max(columnRight, left + width);
        }
        right = columnRight;
        designedRight = columnDesignedRight;
        reach = std::max(reach, columnRight);
        designedReach = std::max(designedReach, columnDesignedRight);
        first = false;
    }
    return std::max(0, reach - designedReach);
}

int FitRowFromRight(std::initializer_list<QWidget*> rightToLeft, int dx)
{
    bool first = true;
    int left = 0;           // where the button before begins now
    int designedLeft = 0;   // and where it began as designed
    for (QWidget* control : rightToLeft) {
        const QRect d = design(control);
        const int designedEnd = d.left() + d.width();
        int end = designedEnd + dx;
        if (!first)
            end = std::min(end, left - keptGap(designedLeft - designedEnd));
        const int width = std::max(d.width(), CaptionWidth(control));
        control->setGeometry(end - width, control->y(), width, control->height());
        left = end - width;
        designedLeft = d.left();
        first = false;
    }
    return left;
}

void GrowRight(int dx, std::initializer_list<QWidget*> controls)
{
    for (QWidget* control : controls) {
        const QRect d = design(control);
        if (!control->isWindow()) {
            control->setGeometry(control->x(), control->y(), d.left() + d.width() + dx - control->x(),
                                 control->height());
        } else if (control->minimumSize() == control->maximumSize()) {
            control->setFixedSize(d.width() + dx, d.height());
        } else {
            control->resize(d.width() + dx, control->height());
        }
    }
}
