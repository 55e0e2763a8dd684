#include "print/UPrintConfDialog.h"

#include "platform/UFitText.h"
#include "platform/UHelpContext.h"
#include "platform/UPrinterDevice.h"
#include "platform/UQtPrinter.h"
#include "platform/UUi.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>

#include <algorithm>
#include <array>
#include <climits>

TPrintConfDialog* PrintConfDialog = nullptr;

namespace {

constexpr int HelpContext = 106;

const std::array<double, 6> Spacings{0.8, 1.0, 1.2, 1.5, 1.7, 2.0};
constexpr int StandardSpacing = 3;

const QString HeadingCaption = QStringLiteral("Überschriften");
const QString StandardCaption = QStringLiteral("sonstiger Text");

// The two fonts the program starts with: 15 points bold for headings and
// 10 points for the rest, black whatever the window colours are.
TFontSpec InitialFont(int points, bool bold)
{
    TFontSpec font;
    font.name = QStringLiteral("MS Sans Serif");
    font.size = points;
    font.bold = bold;
    font.color = 0x000000;
    return font;
}

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& caption, int x, int y)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(x, y, 75, 25);
    button->setAutoDefault(false);
    return button;
}

// A caption of the given designed width; it is fitted to its text later.
QLabel* MakeLabel(QWidget* parent, const char* name, const QString& caption, int x, int y, int width = 0)
{
    auto* label = new QLabel(caption, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->move(x, y);
    label->adjustSize();
    if (width > 0)
        label->resize(width, label->height());
    return label;
}

} // namespace

TPrintConfDialog::TPrintConfDialog(QWidget* parent)
    : QDialog(parent)
    , HFont(InitialFont(15, true))
    , SFont(InitialFont(10, false))
{
    setObjectName(QStringLiteral("PrintConfDialog"));
    setWindowTitle(QStringLiteral("Drucken"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint
                   | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFixedSize(359, 266);
    SetHelpContext(this, HelpContext);

    OKButton = MakeButton(this, "OKButton", QStringLiteral("OK"), 267, 232);
    OKButton->setDefault(true);
    CancelButton = MakeButton(this, "CancelButton", QStringLiteral("Abbrechen"), 187, 232);

    Bevel1 = new QFrame(this);
    Bevel1->setObjectName(QStringLiteral("Bevel1"));
    Bevel1->setFrameShape(QFrame::Box);
    Bevel1->setFrameShadow(QFrame::Sunken);
    Bevel1->setGeometry(7, 7, 338, 210);
    Bevel1->lower();

    // The captions of the fields end a gap before them.
    Label2 = MakeLabel(this, "Label2", QStringLiteral("Drucker"), 20, 26, 39);
    PrinterName = new QLineEdit(QStringLiteral("PrinterName"), this);
    PrinterName->setObjectName(QStringLiteral("PrinterName"));
    PrinterName->setGeometry(65, 22, 176, 21);
    PrinterName->setReadOnly(true);
    Label2->setBuddy(PrinterName);
    SetupButton = MakeButton(this, "SetupButton", QStringLiteral("Einrichten ..."), 257, 20);

    GroupBox1 = new QGroupBox(QStringLiteral("Schriftarten"), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    GroupBox1->setGeometry(20, 59, 221, 78);
    HFontLabel = MakeLabel(GroupBox1, "HFontLabel", HeadingCaption, 13, 20);
    SFontLabel = MakeLabel(GroupBox1, "SFontLabel", StandardCaption, 13, 52);
    HFontChoose = MakeButton(this, "HFontChoose", QStringLiteral("Wählen ..."), 257, 78);
    SFontChoose = MakeButton(this, "SFontChoose", QStringLiteral("Wählen ..."), 257, 111);

    Label1 = MakeLabel(this, "Label1", QStringLiteral("Zeilenabstand"), 20, 160, 85);
    SpacingSelect = new QComboBox(this);
    SpacingSelect->setObjectName(QStringLiteral("SpacingSelect"));
    SpacingSelect->setGeometry(111, 156, 111, 23);
    SpacingSelect->setEditable(true);
    // A typed text stays a text: it never becomes an item of its own.
    SpacingSelect->setInsertPolicy(QComboBox::NoInsert);
    SpacingSelect->addItems({QStringLiteral("0.8"), QStringLiteral("1.0"), QStringLiteral("1.2"),
                             QStringLiteral("1.5 (Standard)"), QStringLiteral("1.7"), QStringLiteral("2.0")});
    Label1->setBuddy(SpacingSelect);

    CheckFooter = new QCheckBox(QStringLiteral("Seitenzahlen"), this);
    CheckFooter->setObjectName(QStringLiteral("CheckFooter"));
    CheckFooter->move(17, 187);
    CheckFooter->adjustSize();
    CheckFooter->setChecked(false);

    // A caption wider than designed pushes its field right. The buttons
    // beside the settings grow to the left; where they would come closer
    // to the settings than the gap, they, the frame and the window grow to
    // the right.
    FitRow({{Label2}, {PrinterName}});
    FitRow({{Label1}, {SpacingSelect}});
    int settingsRight = 0;
    for (const QWidget* w : std::initializer_list<const QWidget*>{PrinterName, GroupBox1, SpacingSelect, CheckFooter})
        settingsRight = std::max(settingsRight, w->x() + w->width());
    const std::initializer_list<QWidget*> buttons{SetupButton, HFontChoose, SFontChoose};
    int buttonsLeft = INT_MAX;
    for (QWidget* button : buttons)
        buttonsLeft = std::min(buttonsLeft, FitRowFromRight({button}));
    const int dx = std::max(0, settingsRight + FitGap - buttonsLeft);
    GrowRight(dx, {this, Bevel1});
    for (QWidget* button : buttons)
        FitRowFromRight({button}, dx);
    FitRowFromRight({OKButton, CancelButton}, dx);

    setTabOrder(OKButton, CancelButton);
    setTabOrder(CancelButton, SetupButton);
    setTabOrder(SetupButton, HFontChoose);
    setTabOrder(HFontChoose, SFontChoose);
    setTabOrder(SFontChoose, SpacingSelect);
    setTabOrder(SpacingSelect, PrinterName);
    setTabOrder(PrinterName, CheckFooter);

    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(SetupButton, &QPushButton::clicked, this, &TPrintConfDialog::SetupButtonClick);
    connect(HFontChoose, &QPushButton::clicked, this, &TPrintConfDialog::HFontChooseClick);
    connect(SFontChoose, &QPushButton::clicked, this, &TPrintConfDialog::SFontChooseClick);
}

TPrintConfDialog::~TPrintConfDialog()
{
    if (PrintConfDialog == this)
        PrintConfDialog = nullptr;
}

double TPrintConfDialog::getSpacing() const
{
    // Only the exact text of an item counts; the items are not read as numbers.
    const QString text = SpacingSelect->currentText();
    for (int i = 0; i < SpacingSelect->count(); ++i)
        if (SpacingSelect->itemText(i) == text)
            return Spacings[size_t(i)];
    return Spacings[StandardSpacing];
}

bool TPrintConfDialog::getFooter() const
{
    return CheckFooter->isChecked();
}


void TPrintConfDialog::FormShow()
{
    ShowSample(HFontLabel, HeadingCaption, HFont);
    ShowSample(SFontLabel, StandardCaption, SFont);
    ShowPrinterName();
    SpacingSelect->setCurrentIndex(StandardSpacing);
    SpacingSelect->setEditText(SpacingSelect->itemText(StandardSpacing));
}

void TPrintConfDialog::ShowPrinterName()
{
    const IPrinterDevice& printer = Printer();
    const QStringList names = printer.printers();
    const int index = printer.printerIndex();
    if (!printer.pdfFile().isEmpty())
        PrinterName->setText(printer.pdfFile());
    else if (index >= 0 && index < names.size())
        PrinterName->setText(names[index]);
    else
        PrinterName->setText(QStringLiteral("(kein Drucker)"));
}

void TPrintConfDialog::ShowSample(QLabel* label, const QString& caption, const TFontSpec& font)
{
    QPalette pal = label->palette();
    pal.setColor(QPalette::WindowText, QColor(QRgb(font.color)));
    label->setPalette(pal);
    // Within its own row of the group: a font higher than the row is scaled
    // down to it, and the caption is cut with "…" where it would leave the
    // group.
    const int rowEnd = label == HFontLabel ? SFontLabel->y() : GroupBox1->contentsRect().bottom() + 1;
    const int rowHeight = rowEnd - label->y();
    const int room = GroupBox1->contentsRect().right() + 1 - label->x();
    QFont sample = PrintedQFont(font);
    for (;;) {
        label->setFont(sample);
        label->setText(label->fontMetrics().elidedText(caption, Qt::ElideRight, room));
        label->adjustSize();
        const qreal points = sample.pointSizeF();
        if (label->height() <= rowHeight || points <= 1)
            break;
        sample.setPointSizeF(std::max(1.0, std::min(points - 0.5, points * rowHeight / label->height())));
    }
    label->resize(std::min(label->width(), room), std::min(label->height(), rowHeight));
}

bool TPrintConfDialog::ChooseFont(TFontSpec& font)
{
    // The dialog starts from the face that gets printed.
    TFontSpec chosen = PrintedFont(font);
    if (!Ui().fontDialog(chosen))
        return false;
    font = chosen;
    return true;
}

void TPrintConfDialog::SetupButtonClick()
{
    Ui().printerSetup();
    // The printer then selected, whether the setup was confirmed or not.
    ShowPrinterName();
}

void TPrintConfDialog::HFontChooseClick()
{
    ChooseFont(HFont);
    ShowSample(HFontLabel, HeadingCaption, HFont);
}

void TPrintConfDialog::SFontChooseClick()
{
    ChooseFont(SFont);
    ShowSample(SFontLabel, StandardCaption, SFont);
}

void TPrintConfDialog::showEvent(QShowEvent* event)
{
    if (!event->spontaneous())
        FormShow();
    QDialog::showEvent(event);
}
