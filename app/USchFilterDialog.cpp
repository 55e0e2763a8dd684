#include "app/USchFilterDialog.h"

#include "app/UEditor.h"
#include "app/UKlassenSelect.h"
#include "app/UMainFormHandler.h"
#include "app/main.h"
#include "data/UBasics.h"
#include "data/UProjektData.h"
#include "data/USchuelerData.h"
#include "platform/UHelpContext.h"
#include "platform/UStringGrid.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontMetricsF>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QTabWidget>
#include <QtMath>
#include <QVBoxLayout>

#include <algorithm>

TSchFilterDialog* SchFilterDialog = nullptr;

namespace {

const char* const NoClasses = "(keine Klassen ausgewählt)";

// The notes at the top of a page: read-only, without border, in the
// dialog's colour and font, and as large as its lines, each line whole.
class TNotesMemo : public QPlainTextEdit {
public:
    explicit TNotesMemo(QWidget* parent)
        : QPlainTextEdit(parent)
    {
        setSizePolicy(QSizePolicy::Minimum, QSizePolicy::Fixed);
    }

    QSize sizeHint() const override
    {
        const QStringList lines = toPlainText().split(QLatin1Char('\n'));
        const QFontMetrics fm = fontMetrics();
        int width = 0;
        for (const QString& line : lines)
            width = std::max(width, fm.horizontalAdvance(line));
        // The text layout keeps room for the cursor at the end of a line,
        // and its lines are as high as the font, with its leading where
        // that adds to it, rounded up.
        const QFontMetricsF line(font());
        const int lineHeight = qCeil(line.ascent() + line.descent() + std::max(0.0, line.leading()));
        return QSize(width + cursorWidth(), lineHeight * int(lines.size()));
    }

    QSize minimumSizeHint() const override { return sizeHint(); }
};

QPlainTextEdit* makeMemo(QWidget* page, const char* name, const QStringList& lines)
{
    auto* memo = new TNotesMemo(page);
    memo->setObjectName(QString::fromLatin1(name));
    memo->setReadOnly(true);
    memo->setFrameShape(QFrame::NoFrame);
    memo->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    memo->setFocusPolicy(Qt::NoFocus);
    memo->setTextInteractionFlags(Qt::NoTextInteraction);
    memo->viewport()->setBackgroundRole(QPalette::Window);
    memo->viewport()->setAutoFillBackground(false);
    memo->setBackgroundVisible(false);
    QPalette pal = memo->palette();
    pal.setColor(QPalette::Base, pal.color(QPalette::Window));
    memo->setPalette(pal);
    memo->document()->setDocumentMargin(0);
    memo->setPlainText(lines.join(QLatin1Char('\n')));
    return memo;
}

QFrame* makeBevel(QWidget* page, const char* name)
{
    auto* bevel = new QFrame(page);
    bevel->setObjectName(QString::fromLatin1(name));
    bevel->setFrameShape(QFrame::Box);
    bevel->setFrameShadow(QFrame::Sunken);
    return bevel;
}

// Page n of the dialog: its notes at the top, the first line the same on
// every page, and below them a frame around the criteria, which are laid
// out in the frame's grid.
QWidget* makePage(QTabWidget* pages, int n, const QString& title, const QStringList& lines,
                  QPlainTextEdit*& memo, QFrame*& bevel, QGridLayout*& criteria)
{
    const QByteArray num = QByteArray::number(n);
    auto* sheet = new QWidget;
    sheet->setObjectName(QStringLiteral("TabSheet") + QString::number(n));
    QStringList text{QStringLiteral("Geben Sie die Kriterien an, die erfüllt sein müssen, damit ein ")};
    text += lines;
    memo = makeMemo(sheet, ("Memo" + num).constData(), text);
    bevel = makeBevel(sheet, ("Bevel" + num).constData());
    criteria = new QGridLayout(bevel);
    criteria->setColumnStretch(1, 1);

    auto* column = new QVBoxLayout(sheet);
    column->setContentsMargins(8, 6, 8, 6);
    column->addWidget(memo);
    column->addWidget(bevel, 1);
    pages->addTab(sheet, title);
    return sheet;
}

QLabel* makeLabel(QWidget* parent, const char* name, const QString& text)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    return label;
}

QComboBox* makeCombo(QWidget* parent, const char* name, const QStringList& items)
{
    auto* combo = new QComboBox(parent);
    combo->setObjectName(QString::fromLatin1(name));
    combo->addItems(items);
    return combo;
}

QPushButton* makeButton(QWidget* parent, const char* name, const QString& text)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QString::fromLatin1(name));
    // Enter in the name field presses nothing: the dialog has no default.
    button->setAutoDefault(false);
    button->setDefault(false);
    return button;
}

} // namespace

TSchFilterDialog::TSchFilterDialog(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("SchFilterDialog"));
    setWindowTitle(QStringLiteral("Schülerdaten-Auszug definieren"));
    SetHelpContext(this, 115);
    QFont f = font();
    f.setPointSize(8);
    setFont(f);

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    // Never smaller than designed; larger where the font needs it.
    PageControl1->setMinimumSize(313, 297);

    // Page 1: name, gender and classes.
    QGridLayout* grid = nullptr;
    TabSheet1 = makePage(PageControl1, 1, QStringLiteral("Schülerdaten ..."),
                         {QStringLiteral("Datensatz angezeigt wird. Auf dieser Seite spezifizieren Sie "),
                          QStringLiteral("Name, Geschlecht und Klasse der gesuchten Schüler. "),
                          QStringLiteral("Wählen Sie (inaktiv), um ein Feld unberücksichtigt zu lassen.")},
                         Memo1, Bevel1, grid);
    Label1 = makeLabel(Bevel1, "Label1", QStringLiteral("Name"));
    ComboMatch = makeCombo(Bevel1, "ComboMatch",
                           {QStringLiteral("(inaktiv)"), QStringLiteral("ist"), QStringLiteral("enthält"),
                            QStringLiteral("beginnt mit")});
    EditName = new QLineEdit(Bevel1);
    EditName->setObjectName(QStringLiteral("EditName"));
    Label2 = makeLabel(Bevel1, "Label2", QStringLiteral("Geschlecht"));
    ComboGeschl = makeCombo(Bevel1, "ComboGeschl",
                            {QStringLiteral("(inaktiv)"), QStringLiteral("weiblich"), QStringLiteral("männlich")});
    Label3 = makeLabel(Bevel1, "Label3", QStringLiteral("Klassen"));
    SelClassButton = makeButton(Bevel1, "SelClassButton", QStringLiteral("Klassen wählen ..."));
    KlNameString = makeLabel(Bevel1, "KlNameString", QString::fromUtf8(NoClasses));
    grid->addWidget(Label1, 0, 0);
    grid->addWidget(ComboMatch, 0, 1);
    grid->addWidget(EditName, 1, 0, 1, 2);
    grid->addWidget(Label2, 2, 0);
    grid->addWidget(ComboGeschl, 2, 1);
    grid->addWidget(Label3, 3, 0);
    grid->addWidget(SelClassButton, 3, 1);
    grid->addWidget(KlNameString, 4, 0, 1, 2);
    grid->setRowStretch(5, 1);

    // Page 2: fixed state and the choice criteria.
    TabSheet2 = makePage(PageControl1, 2, QStringLiteral("Schülerwahlen ..."),
                         {QStringLiteral("Datensatz angezeigt wird. In dem mittleren Feld können Sie "),
                          QStringLiteral("eine Vielzahl von Optionen zur Wahl der Schüler angeben, "),
                          QStringLiteral("und die möglichen Werte darunter mit den Shift- und "),
                          QStringLiteral("Strg-Tasten anwählen.")},
                         Memo2, Bevel2, grid);
    Label5 = makeLabel(Bevel2, "Label5", QStringLiteral("fest?"));
    ComboFest = makeCombo(Bevel2, "ComboFest",
                          {QStringLiteral("(inaktiv)"), QStringLiteral("nicht festeingeteilt"),
                           QStringLiteral("festeingeteilt"), QStringLiteral("manuell eingeteilt")});
    MultiFuncCombo = makeCombo(Bevel2, "MultiFuncCombo",
                               {QStringLiteral("(inaktiv)"), QStringLiteral("Projekt-Nummer(n) gewählt"),
                                QStringLiteral("Projekt-Nummer(n) an 1. Priorität gewählt"),
                                QStringLiteral("Projekt-Nummer(n) an 2. Priorität gewählt"),
                                QStringLiteral("Projekt-Nummer(n) an 3. Priorität gewählt"),
                                QStringLiteral("Projekt-Nummer(n) an 4. Priorität gewählt"),
                                QStringLiteral("Projekt-Nummer(n) an 5. Priorität gewählt"),
                                QStringLiteral("eingeteilt in Projekt-Nummer(n)"),
                                QStringLiteral("eingeteilt in Priorität(en)"),
                                QStringLiteral("wie viele Prioritäten angegeben")});
    MultiFuncList = new QListWidget(Bevel2);
    MultiFuncList->setObjectName(QStringLiteral("MultiFuncList"));
    MultiFuncList->setSelectionMode(QAbstractItemView::ExtendedSelection);
    // The list takes what the page leaves, but never less than a few lines.
    MultiFuncList->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Ignored);
    MultiFuncList->setMinimumHeight(89);
    grid->addWidget(Label5, 0, 0);
    grid->addWidget(ComboFest, 0, 1);
    grid->addWidget(MultiFuncCombo, 1, 0, 1, 2);
    grid->addWidget(MultiFuncList, 2, 0, 1, 2);
    grid->setRowStretch(2, 1);
    PageControl1->setCurrentIndex(0);

    InvertCheck = new QCheckBox(QStringLiteral("Auswahl negieren"), this);
    InvertCheck->setObjectName(QStringLiteral("InvertCheck"));
    CancelButton = makeButton(this, "CancelButton", QStringLiteral("Abbrechen"));
    OKButton = makeButton(this, "OKButton", QStringLiteral("OK"));

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(CancelButton);
    buttons->addWidget(OKButton);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(3, 3, 3, 3);
    column->addWidget(PageControl1, 1);
    column->addWidget(InvertCheck);
    column->addLayout(buttons);
    // A fixed border: the dialog keeps the size its contents need, and grows
    // when a longer class text needs more.
    column->setSizeConstraint(QLayout::SetFixedSize);

    FormCreate();

    // Connected only now: filling the combos above emits their signals.
    connect(ComboMatch, &QComboBox::currentIndexChanged, this, &TSchFilterDialog::ComboMatchChange);
    connect(MultiFuncCombo, &QComboBox::currentIndexChanged, this, &TSchFilterDialog::MultiFuncComboChange);
    connect(SelClassButton, &QPushButton::clicked, this, &TSchFilterDialog::SelClassButtonClick);
    connect(OKButton, &QPushButton::clicked, this, &TSchFilterDialog::OKButtonClick);
    connect(CancelButton, &QPushButton::clicked, this, &TSchFilterDialog::CancelButtonClick);
}

TSchFilterDialog::~TSchFilterDialog() = default;

void TSchFilterDialog::FormCreate()
{
    for (QComboBox* combo : {ComboMatch, ComboGeschl, ComboFest, MultiFuncCombo})
        combo->setCurrentIndex(0);
    EditName->setEnabled(false);
    MultiFuncList->setEnabled(false);
}

void TSchFilterDialog::showEvent(QShowEvent* event)
{
    if (!event->spontaneous())
        FormShow();
    QDialog::showEvent(event);
}

void TSchFilterDialog::FormShow()
{
    // A class choice holds for one use of the dialog.
    KlassenButPressed = false;
    KlNameString->setText(QString::fromUtf8(NoClasses));
}

void TSchFilterDialog::ComboMatchChange()
{
    EditName->setEnabled(ComboMatch->currentIndex() > 0);
}

void TSchFilterDialog::MultiFuncComboChange()
{
    MultiFuncList->setEnabled(true);
    MultiFuncList->clear();
    const int index = MultiFuncCombo->currentIndex();
    QStringList lines;
    if (index >= 1 && index <= 7) {
        // Line i stands for project number i.
        lines.append(QStringLiteral("0 ") + ProjektData->getNr0()->getName());
        for (int n = 1; n <= ProjektData->Anz(); ++n)
            lines.append(QString::number(n) + QLatin1Char(' ') + ProjektData->getNr(n)->getName());
    } else if (index == 8) {
        lines.append(QStringLiteral("nicht eingeteilt/ungültig"));
        for (int k = 1; k <= 5; ++k)
            lines.append(QStringLiteral("in %1. Priorität eingeteilt").arg(k));
    } else if (index == 9) {
        for (int k = 0; k <= 5; ++k)
            lines.append(QStringLiteral("%1 Alternativen gewählt").arg(k));
    }
    MultiFuncList->addItems(lines);
    if (index <= 0)
        MultiFuncList->setEnabled(false);
}

void TSchFilterDialog::SelClassButtonClick()
{
    // The classes that exist, from an overview that is never shown.
    TMemoryGrid grid(4, 1);
    SchuelerData->toOverview(grid, *ProjektData);
    KlassenSelect->setKlassen(&grid);
    if (KlassenSelect->exec() == QDialog::Accepted) {
        KlassenButPressed = true;
        KlNameString->setText(KlassenSelect->getString(40));
    } else {
        KlassenButPressed = false;
        KlNameString->setText(QStringLiteral("(keine Klassen gewählt)"));
    }
}

void TSchFilterDialog::OKButtonClick()
{
    accept();
}

void TSchFilterDialog::CancelButtonClick()
{
    reject();
}

std::unique_ptr<TSearchFilter> TSchFilterDialog::getFilter() const
{
    std::unique_ptr<TSearchFilter> f(KlassenButPressed ? KlassenSelect->getFilter() : new TSearchFilter);
    if (ComboMatch->currentIndex() > 0 && !EditName->text().isEmpty()) {
        f->NameMatch = TStringMatch(ComboMatch->currentIndex() - 1);
        f->name = EditName->text();
    }
    f->geschl = TGeschlMatch(std::max(0, ComboGeschl->currentIndex()));
    f->fest = TFestMatch(std::max(0, ComboFest->currentIndex()));
    f->wahl.clear();
    for (int r = 1; r <= 5; ++r)
        f->wahli[r].clear();
    f->wahlanz.clear();
    f->priority.clear();
    f->zuteil.clear();
    f->Projekte = ProjektData;

    const int index = MultiFuncCombo->currentIndex();
    for (int i = 0; i < MultiFuncList->count(); ++i) {
        if (!MultiFuncList->item(i)->isSelected())
            continue;
        // A line beyond a set's range adds nothing.
        if (index == 1)
            f->wahl.include(i);
        else if (index >= 2 && index <= 6)
            f->wahli[index - 1].include(i);
        else if (index == 7)
            f->zuteil.include(i);
        else if (index == 8)
            f->priority.include(i);
        else if (index == 9)
            f->wahlanz.include(i);
    }
    if (InvertCheck->isChecked())
        f->negateMatch = true;
    return f;
}

// ------------------------------------------------------------------ views

namespace {

TEditor* openView(const TSearchFilter& filter, const QString& caption)
{
    int count = 0;
    std::unique_ptr<TSchuelerData> list = SchuelerData->select(filter, false, count);
    return new TEditor(MainForm, MainFormHandler, std::move(list), caption);
}

// Matches no pupil at all.
std::unique_ptr<TSearchFilter> nobody()
{
    auto f = std::make_unique<TSearchFilter>();
    f->negateMatch = true;
    return f;
}

} // namespace

TEditor* OpenAuszugView()
{
    if (SchFilterDialog->exec() != QDialog::Accepted)
        return nullptr;
    const std::unique_ptr<TSearchFilter> filter = SchFilterDialog->getFilter();
    return openView(*filter, QStringLiteral("Auszug"));
}

TEditor* OpenProjektView(int row)
{
    if (ProjektData->Anz() == 0 || row < 1)
        return nullptr;
    const int p = row - 1;
    // A project number the set cannot hold has no pupils to show.
    if (!TIntSet<256>::inRange(p))
        return nullptr;
    TSearchFilter filter;
    filter.zuteil.include(p);
    filter.Projekte = ProjektData;
    int count = 0;
    std::unique_ptr<TSchuelerData> list = SchuelerData->select(filter, false, count);
    if (count == 0)
        return nullptr;
    auto* view = new TEditor(MainForm, MainFormHandler, std::move(list), QString());
    view->setProjektView(p);
    return view;
}

std::unique_ptr<TSearchFilter> KlassenFilter(const QString& klasse)
{
    if (klasse.isEmpty())
        return nullptr;
    auto f = std::make_unique<TSearchFilter>();
    // A grade without a department: the class text itself names the class.
    if (IsInteger(klasse)) {
        f->kl.append(klasse);
        return f;
    }
    const QString grade = klasse.left(klasse.size() - 1);
    if (!IsInteger(grade))
        return nullptr;
    int jgst = 0;
    StrToIntRange(grade, jgst, 0, 15);
    const char16_t abt = UpperAscii(klasse.back().unicode());
    // Such a class cannot be put into the sets: it matches nobody rather
    // than leaving the criterion out.
    if (!TIntSet<16>::inRange(jgst) || !TIntSet<256>::inRange(abt))
        return nobody();
    f->jgst.include(jgst);
    f->abt.include(abt);
    return f;
}

TEditor* OpenKlassenView(const TStringGrid& overview, int row)
{
    if (SchuelerData->Anz() == 0 || row < 1 || row >= overview.rowCount())
        return nullptr;
    const QString klasse = overview.cell(0, row);
    const std::unique_ptr<TSearchFilter> filter = KlassenFilter(klasse);
    if (!filter)
        return nullptr;
    return openView(*filter, QStringLiteral("Klasse ") + klasse);
}
