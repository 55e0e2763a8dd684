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
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QTabWidget>

TSchFilterDialog* SchFilterDialog = nullptr;

namespace {

const char* const NoClasses = "(keine Klassen ausgewählt)";

QPlainTextEdit* makeMemo(QWidget* page, const char* name, const QStringList& lines, const QRect& r)
{
    auto* memo = new QPlainTextEdit(page);
    memo->setObjectName(QString::fromLatin1(name));
    memo->setReadOnly(true);
    memo->setFrameShape(QFrame::NoFrame);
    // The lines are wrapped where the font is too wide for them.
    memo->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    QFont small = memo->font();
    small.setPointSize(7);
    memo->setFont(small);
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
    memo->setGeometry(r);
    return memo;
}

QFrame* makeBevel(QWidget* page, const char* name, const QRect& r)
{
    auto* bevel = new QFrame(page);
    bevel->setObjectName(QString::fromLatin1(name));
    bevel->setFrameShape(QFrame::Box);
    bevel->setFrameShadow(QFrame::Sunken);
    bevel->setGeometry(r);
    return bevel;
}

// Page n of the dialog: its notes at the top, the first line the same on
// every page, and a frame around the criteria below them.
QWidget* makePage(QTabWidget* pages, int n, const QString& title, const QStringList& lines, int memoHeight,
                  QPlainTextEdit*& memo, QFrame*& bevel)
{
    const QByteArray num = QByteArray::number(n);
    auto* sheet = new QWidget;
    sheet->setObjectName(QStringLiteral("TabSheet") + QString::number(n));
    QStringList text{QStringLiteral("Geben Sie die Kriterien an, die erfüllt sein müssen, damit ein ")};
    text += lines;
    memo = makeMemo(sheet, ("Memo" + num).constData(), text, QRect(8, 6, 295, memoHeight));
    const int top = 6 + memoHeight + 6;
    bevel = makeBevel(sheet, ("Bevel" + num).constData(), QRect(8, top, 291, 260 - top));
    pages->addTab(sheet, title);
    return sheet;
}

QLabel* makeLabel(QWidget* page, const char* name, const QString& text, int x, int y, int w = 90)
{
    auto* label = new QLabel(text, page);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(x, y, w, 21);
    return label;
}

QComboBox* makeCombo(QWidget* page, const char* name, const QStringList& items, const QRect& r)
{
    auto* combo = new QComboBox(page);
    combo->setObjectName(QString::fromLatin1(name));
    combo->addItems(items);
    combo->setGeometry(r);
    return combo;
}

QPushButton* makeButton(QWidget* parent, const char* name, const QString& text, const QRect& r)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QString::fromLatin1(name));
    // Enter in the name field presses nothing: the dialog has no default.
    button->setAutoDefault(false);
    button->setDefault(false);
    button->setGeometry(r);
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
    setFixedSize(319, 354);

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->setGeometry(3, 3, 313, 297);

    // Page 1: name, gender and classes.
    TabSheet1 = makePage(PageControl1, 1, QStringLiteral("Schülerdaten ..."),
                         {QStringLiteral("Datensatz angezeigt wird. Auf dieser Seite spezifizieren Sie "),
                          QStringLiteral("Name, Geschlecht und Klasse der gesuchten Schüler. "),
                          QStringLiteral("Wählen Sie (inaktiv), um ein Feld unberücksichtigt zu lassen.")},
                         62, Memo1, Bevel1);
    Label1 = makeLabel(TabSheet1, "Label1", QStringLiteral("Name"), 20, 88);
    ComboMatch = makeCombo(TabSheet1, "ComboMatch",
                           {QStringLiteral("(inaktiv)"), QStringLiteral("ist"), QStringLiteral("enthält"),
                            QStringLiteral("beginnt mit")},
                           QRect(130, 86, 147, 23));
    EditName = new QLineEdit(TabSheet1);
    EditName->setObjectName(QStringLiteral("EditName"));
    EditName->setGeometry(20, 116, 257, 23);
    Label2 = makeLabel(TabSheet1, "Label2", QStringLiteral("Geschlecht"), 20, 156);
    ComboGeschl = makeCombo(TabSheet1, "ComboGeschl",
                            {QStringLiteral("(inaktiv)"), QStringLiteral("weiblich"), QStringLiteral("männlich")},
                            QRect(130, 154, 147, 23));
    Label3 = makeLabel(TabSheet1, "Label3", QStringLiteral("Klassen"), 20, 196);
    SelClassButton = makeButton(TabSheet1, "SelClassButton", QStringLiteral("Klassen wählen ..."),
                                QRect(130, 193, 147, 25));
    KlNameString = makeLabel(TabSheet1, "KlNameString", QString::fromUtf8(NoClasses), 20, 228, 270);

    // Page 2: fixed state and the choice criteria.
    TabSheet2 = makePage(PageControl1, 2, QStringLiteral("Schülerwahlen ..."),
                         {QStringLiteral("Datensatz angezeigt wird. In dem mittleren Feld können Sie "),
                          QStringLiteral("eine Vielzahl von Optionen zur Wahl der Schüler angeben, "),
                          QStringLiteral("und die möglichen Werte darunter mit den Shift- und "),
                          QStringLiteral("Strg-Tasten anwählen.")},
                         76, Memo2, Bevel2);
    Label5 = makeLabel(TabSheet2, "Label5", QStringLiteral("fest?"), 20, 100);
    ComboFest = makeCombo(TabSheet2, "ComboFest",
                          {QStringLiteral("(inaktiv)"), QStringLiteral("nicht festeingeteilt"),
                           QStringLiteral("festeingeteilt"), QStringLiteral("manuell eingeteilt")},
                          QRect(100, 98, 177, 23));
    MultiFuncCombo = makeCombo(TabSheet2, "MultiFuncCombo",
                               {QStringLiteral("(inaktiv)"), QStringLiteral("Projekt-Nummer(n) gewählt"),
                                QStringLiteral("Projekt-Nummer(n) an 1. Priorität gewählt"),
                                QStringLiteral("Projekt-Nummer(n) an 2. Priorität gewählt"),
                                QStringLiteral("Projekt-Nummer(n) an 3. Priorität gewählt"),
                                QStringLiteral("Projekt-Nummer(n) an 4. Priorität gewählt"),
                                QStringLiteral("Projekt-Nummer(n) an 5. Priorität gewählt"),
                                QStringLiteral("eingeteilt in Projekt-Nummer(n)"),
                                QStringLiteral("eingeteilt in Priorität(en)"),
                                QStringLiteral("wie viele Prioritäten angegeben")},
                               QRect(20, 130, 257, 23));
    MultiFuncList = new QListWidget(TabSheet2);
    MultiFuncList->setObjectName(QStringLiteral("MultiFuncList"));
    MultiFuncList->setSelectionMode(QAbstractItemView::ExtendedSelection);
    MultiFuncList->setGeometry(20, 162, 257, 89);
    PageControl1->setCurrentIndex(0);

    InvertCheck = new QCheckBox(QStringLiteral("Auswahl negieren"), this);
    InvertCheck->setObjectName(QStringLiteral("InvertCheck"));
    InvertCheck->setGeometry(10, 303, 200, 21);
    CancelButton = makeButton(this, "CancelButton", QStringLiteral("Abbrechen"), QRect(150, 324, 78, 25));
    OKButton = makeButton(this, "OKButton", QStringLiteral("OK"), QRect(236, 324, 78, 25));

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
    SchuelerData->toOverview(grid);
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
    int count = 0;
    std::unique_ptr<TSchuelerData> list = SchuelerData->select(filter, false, count);
    if (count == 0)
        return nullptr;
    return new TEditor(MainForm, MainFormHandler, std::move(list), QStringLiteral("Projekt ") + QString::number(p));
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
