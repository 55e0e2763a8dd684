#include "platform/UFitText.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>
#include <QStyleOptionFrame>
#include <QToolButton>
#include <QVariant>

#include <algorithm>
#include <climits>

namespace {

const char* const DesignProperty = "fitDesign";
const char* const TextsProperty = "fitTexts";

// Neighbours never need to keep more than this apart.
constexpr int MinGap = 6;

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

// The style option a widget paints itself with (its initStyleOption is
// protected).
template <typename Widget, typename Option>
struct TStyleOption : Widget {
    static Option of(const Widget* widget)
    {
        Option option;
        (widget->*(&TStyleOption::initStyleOption))(&option);
        return option;
    }
};

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
    // What the label keeps around its text, as its size hint shows it.
    const QFontMetrics fm = label->fontMetrics();
    const int around = label->sizeHint().width() - textWidth(fm, label->text());
    int width = label->sizeHint().width();
    for (const QString& text : fitTexts(label))
        width = std::max(width, around + textWidth(fm, text));
    return width;
}

// The room a line edit keeps beside the text it shows unscrolled: its
// frame, its text margins, two pixels at either side and the cursor.
int lineEditAround(const QLineEdit* edit)
{
    QStyleOptionFrame option = TStyleOption<QLineEdit, QStyleOptionFrame>::of(edit);
    const QRect contents = edit->style()->subElementRect(QStyle::SE_LineEditContents, &option, edit);
    const QMargins margins = edit->textMargins();
    return option.rect.width() - contents.width() + margins.left() + margins.right() + 2 * 2 + 1;
}

int lineEditWidth(const QLineEdit* edit)
{
    const QStringList texts = fitTexts(edit);
    if (texts.isEmpty())
        return 0;
    int width = 0;
    for (const QString& text : texts)
        width = std::max(width, edit->fontMetrics().horizontalAdvance(text));
    return width + lineEditAround(edit);
}

int pushButtonWidth(const QPushButton* button)
{
    QStyleOptionButton option = TStyleOption<QPushButton, QStyleOptionButton>::of(button);
    const QFontMetrics fm = button->fontMetrics();
    const QSize text(textWidth(fm, button->text()), fm.height());
    // Without the text in the option the style leaves out the least width
    // it gives every button with a caption.
    option.text.clear();
    return button->style()->sizeFromContents(QStyle::CT_PushButton, &option, text, button).width();
}

int toolButtonWidth(const QToolButton* button)
{
    // A tool button shows its caption inside its frame.
    const QStyleOptionToolButton option = TStyleOption<QToolButton, QStyleOptionToolButton>::of(button);
    const int frame = button->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, button);
    return textWidth(button->fontMetrics(), button->text()) + 2 * frame;
}

int comboBoxWidth(const QComboBox* combo)
{
    const QFontMetrics fm = combo->fontMetrics();
    // The text shows in the field's line edit, or it is drawn into the edit
    // field a pixel in from its left and cut off at its right.
    const QLineEdit* edit = combo->lineEdit();
    int widest = 0;
    for (int i = 0; i < combo->count(); ++i) {
        const QString text = combo->itemText(i);
        const QRect ink = fm.boundingRect(text);
        widest = std::max(widest, edit ? fm.horizontalAdvance(text) + lineEditAround(edit) : 1 + ink.left() + ink.width());
    }
    const QStyleOptionComboBox option = TStyleOption<QComboBox, QStyleOptionComboBox>::of(combo);
    const QRect field = combo->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, combo);
    return widest + option.rect.width() - field.width();
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
    if (auto* button = qobject_cast<const QAbstractButton*>(control))
        return button->sizeHint().width();
    if (auto* combo = qobject_cast<const QComboBox*>(control))
        return comboBoxWidth(combo);
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
        int left = designedLeft;
        if (first)
            left = std::max(left, standing);
        else
            left = std::max(left, right + std::clamp(designedLeft - designedRight, 0, MinGap));
        int columnRight = INT_MIN;
        for (QWidget* control : column) {
            const QRect d = design(control);
            const int width = std::max(d.width(), CaptionWidth(control));
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

void FitRowFromRight(std::initializer_list<QWidget*> rightToLeft, int dx)
{
    bool first = true;
    int left = 0;           // where the button before begins now
    int designedLeft = 0;   // and where it began as designed
    for (QWidget* control : rightToLeft) {
        const QRect d = design(control);
        const int designedEnd = d.left() + d.width();
        int end = designedEnd + dx;
        if (!first)
            end = std::min(end, left - std::clamp(designedLeft - designedEnd, 0, MinGap));
        const int width = std::max(d.width(), CaptionWidth(control));
        control->setGeometry(end - width, control->y(), width, control->height());
        left = end - width;
        designedLeft = d.left();
        first = false;
    }
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
