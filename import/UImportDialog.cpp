#include "import/UImportDialog.h"

#include "app/UKlassenSelect.h"
#include "data/UBasics.h"
#include "data/UFilter.h"
#include "platform/UAnsiText.h"
#include "platform/UApplication.h"
#include "platform/UHelpContext.h"
#include "platform/UUi.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QShowEvent>
#include <QSpinBox>
#include <QTabWidget>
#include <QTextBlock>
#include <QVBoxLayout>

#include <climits>

TImportDialog* ImportDialog = nullptr;

namespace {

const int ImportHelpContext = 101;

const QString kKeine = QStringLiteral("keine");
const QString kAlleKlassen = QStringLiteral("Alle Klassen");

// A read-only text in the dialog's colour, wrapped as one paragraph.
QLabel* makeMemo(const char* name, const QStringList& lines)
{
    auto* memo = new QLabel(lines.join(QString()));
    memo->setObjectName(QString::fromLatin1(name));
    memo->setWordWrap(true);
    memo->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return memo;
}

QPlainTextEdit* makeListMemo(const char* name)
{
    auto* memo = new QPlainTextEdit;
    memo->setObjectName(QString::fromLatin1(name));
    memo->setReadOnly(true);
    memo->setLineWrapMode(QPlainTextEdit::NoWrap);
    memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    return memo;
}

QPushButton* makeButton(const char* name, const QString& text)
{
    auto* button = new QPushButton(text);
    button->setObjectName(QString::fromLatin1(name));
    // Enter in a text field must never press a button: OK replaces the
    // pupils.
    button->setAutoDefault(false);
    button->setDefault(false);
    return button;
}

// The meanings list: keys and mouse move only its cursor; the highlight
// shows the meaning the field has, and the dialog sets it.
class TMeaningList : public QListWidget {
protected:
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* event) const override
    {
        if (event)
            return QItemSelectionModel::NoUpdate;
        return QListWidget::selectionCommand(index, event);
    }
};

// The comment as the memo shows it: one line break per line.
QString commentToMemo(const QString& comment)
{
    QString text = comment;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

}   // namespace

const QStringList& TImportDialog::SepItems()
{
    static const QStringList items = {QStringLiteral("Tabstopp"), QStringLiteral("Komma"),
                                      QStringLiteral("Semikolon (;)"), QStringLiteral("senkrechter Strich (|)"),
                                      QStringLiteral("mehrere Leerzeichen")};
    return items;
}

const QStringList& TImportDialog::AssignItems()
{
    static const QStringList items = {
        QStringLiteral("(ignorieren)"), QStringLiteral("voller Name"), QStringLiteral("Vorname"),
        QStringLiteral("Nachname"), QStringLiteral("Namensbestandsteile"), QStringLiteral("Geschlecht"),
        QStringLiteral("volle Klasse"), QStringLiteral("Klasse nur Jahrgangsstufe"),
        QStringLiteral("Klasse nur Abteilung")};
    return items;
}

namespace {

// The elements behind the items 1 to 8 of the assignment list.
const std::array<qint32 TElements::*, 8>& assignedFields()
{
    static const std::array<qint32 TElements::*, 8> fields = {
        &TElements::elName, &TElements::elVName, &TElements::elNName, &TElements::elBName,
        &TElements::elGeschl, &TElements::elKl, &TElements::elJgst, &TElements::elAbt};
    return fields;
}

}   // namespace

TImportDialog::TImportDialog(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint
                          | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
    , Options(DefaultOptions)
    , Elements(DefaultElements)
{
    setObjectName(QStringLiteral("ImportDialog"));
    setWindowTitle(QStringLiteral("Schülerkartei importieren"));
    setModal(true);
    SetHelpContext(this, ImportHelpContext);

    Pages = new QTabWidget;
    Pages->setObjectName(QStringLiteral("Pages"));
    buildGeneralPage();
    buildOptionsPage();
    buildElementsPage();
    Pages->addTab(GeneralPage, QStringLiteral("Allgemein"));
    Pages->addTab(OptionsPage, QStringLiteral("Optionen"));
    Pages->addTab(ElementsPage, QStringLiteral("Elemente"));
    connect(Pages, &QTabWidget::currentChanged, this, &TImportDialog::PagesChange);

    CancelButton = makeButton("CancelButton", QStringLiteral("Abbrechen"));
    OkButton = makeButton("OkButton", QStringLiteral("OK"));
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(OkButton, &QPushButton::clicked, this, &QDialog::accept);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(CancelButton);
    buttons->addWidget(OkButton);
    auto* column = new QVBoxLayout(this);
    column->addWidget(Pages, 1);
    column->addLayout(buttons);

    ShowSettings();
    const QSize hint = sizeHint();
    setFixedSize(qMax(hint.width(), 413), qMax(hint.height(), 418));
}

TImportDialog::~TImportDialog() = default;

void TImportDialog::buildGeneralPage()
{
    GeneralPage = new QWidget;
    GeneralPage->setObjectName(QStringLiteral("GeneralPage"));
    Memo1 = makeMemo("Memo1", {QStringLiteral("Um eine Schülerkartei importieren zu können, müssen Sie festlegen, in welchem "),
                               QStringLiteral("Format sie vorliegt. Öffnen Sie dazu eine bereits existierende "),
                               QStringLiteral("Format-Definitions-Datei (*.FMT), oder erstellen Sie eine neu mit Hilfe der "),
                               QStringLiteral("Registerseiten Optionen und Elemente.")});

    FormatGroup = new QGroupBox(QStringLiteral("Formatdefinition spezifizieren"));
    FormatGroup->setObjectName(QStringLiteral("FormatGroup"));
    auto* fileLabel = new QLabel(QStringLiteral("FMT-Datei:"));
    FilenameLab = new QLabel(kKeine);
    FilenameLab->setObjectName(QStringLiteral("FilenameLab"));
    CommentBox = new QPlainTextEdit;
    CommentBox->setObjectName(QStringLiteral("CommentBox"));
    CommentBox->setTabChangesFocus(true);
    OpenFBut = makeButton("OpenFBut", QStringLiteral("Öffnen"));
    SaveFBut = makeButton("SaveFBut", QStringLiteral("Speichern"));
    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(fileLabel);
    fileRow->addWidget(FilenameLab, 1);
    auto* fileButtons = new QVBoxLayout;
    fileButtons->addWidget(OpenFBut);
    fileButtons->addWidget(SaveFBut);
    fileButtons->addStretch(1);
    auto* commentRow = new QHBoxLayout;
    commentRow->addWidget(CommentBox, 1);
    commentRow->addLayout(fileButtons);
    auto* formatColumn = new QVBoxLayout(FormatGroup);
    formatColumn->addLayout(fileRow);
    formatColumn->addLayout(commentRow, 1);

    FilterGroup = new QGroupBox(QStringLiteral("Klassen-Filter"));
    FilterGroup->setObjectName(QStringLiteral("FilterGroup"));
    auto* klLabel = new QLabel(QStringLiteral("Klassen:"));
    KlLabel = new QLabel(kAlleKlassen);
    KlLabel->setObjectName(QStringLiteral("KlLabel"));
    KlSelectBut = makeButton("KlSelectBut", QStringLiteral("Wählen ..."));
    auto* filterRow = new QHBoxLayout(FilterGroup);
    filterRow->addWidget(klLabel);
    filterRow->addWidget(KlLabel, 1);
    filterRow->addWidget(KlSelectBut);

    auto* page = new QVBoxLayout(GeneralPage);
    page->addWidget(Memo1);
    page->addWidget(FormatGroup, 1);
    page->addWidget(FilterGroup);

    connect(CommentBox, &QPlainTextEdit::textChanged, this, &TImportDialog::CommentBoxChange);
    connect(OpenFBut, &QPushButton::clicked, this, &TImportDialog::OpenFButClick);
    connect(SaveFBut, &QPushButton::clicked, this, &TImportDialog::SaveFButClick);
    connect(KlSelectBut, &QPushButton::clicked, this, &TImportDialog::KlSelectButClick);
}

void TImportDialog::buildOptionsPage()
{
    OptionsPage = new QWidget;
    OptionsPage->setObjectName(QStringLiteral("OptionsPage"));
    Memo3 = makeMemo("Memo3", {QStringLiteral("Geben Sie an, wie die einzelnen Zeilen der zu importierenden Datei in Felder "),
                               QStringLiteral("aufzuteilen sind. Ordnen Sie danach auf der Registerseite Elemente jedem dieser "),
                               QStringLiteral("Felder eine Interpretation zu.")});

    FormatBox = new QGroupBox(QStringLiteral("Format-Konvention"));
    FormatBox->setObjectName(QStringLiteral("FormatBox"));
    FormatButtons = new QButtonGroup(this);
    auto* formats = new QVBoxLayout(FormatBox);
    const QStringList formatItems = {QStringLiteral("Datenbankformat"), QStringLiteral("Tabellenformat mit Trennzeichen"),
                                     QStringLiteral("Tabellenformat mit festen Positionen")};
    for (int i = 0; i < formatItems.size(); ++i) {
        auto* radio = new QRadioButton(formatItems[i]);
        radio->setObjectName(QStringLiteral("FormatBox%1").arg(i));
        FormatButtons->addButton(radio, i);
        formats->addWidget(radio);
    }

    FeldtrennzLabel = new QLabel(QStringLiteral("Feldtrennzeichen"));
    FeldtrennzLabel->setObjectName(QStringLiteral("FeldtrennzLabel"));
    SepBox = new QComboBox;
    SepBox->setObjectName(QStringLiteral("SepBox"));
    SepBox->setEditable(true);
    SepBox->setInsertPolicy(QComboBox::NoInsert);
    SepBox->setCompleter(nullptr);   // a typed ";x" stays as typed
    SepBox->addItems(SepItems());
    FeldPosLabel = new QLabel;
    FeldPosLabel->setObjectName(QStringLiteral("FeldPosLabel"));
    UpdatePosBut = makeButton("UpdatePosBut", QStringLiteral("Ändern ..."));
    auto* sepRow = new QHBoxLayout;
    sepRow->addWidget(FeldtrennzLabel);
    sepRow->addWidget(SepBox, 1);
    sepRow->addWidget(FeldPosLabel, 1);
    sepRow->addWidget(UpdatePosBut);

    auto* wordsGroup = new QGroupBox(QStringLiteral("Abkürzungen"));
    wordsGroup->setObjectName(QStringLiteral("AbkGroup"));
    // As many characters as a definition file keeps of a word.
    EditM = new QLineEdit;
    EditM->setObjectName(QStringLiteral("EditM"));
    EditM->setMaxLength(decltype(TElements::elGM)::Capacity);
    EditW = new QLineEdit;
    EditW->setObjectName(QStringLiteral("EditW"));
    EditW->setMaxLength(decltype(TElements::elGW)::Capacity);
    auto* words = new QHBoxLayout(wordsGroup);
    words->addWidget(new QLabel(QStringLiteral("männlich")));
    words->addWidget(EditM, 1);
    words->addSpacing(12);
    words->addWidget(new QLabel(QStringLiteral("weiblich")));
    words->addWidget(EditW, 1);

    CheckIgnoreErr = new QCheckBox(QStringLiteral("fehlerhafte Zeilen ignorieren"));
    CheckIgnoreErr->setObjectName(QStringLiteral("CheckIgnoreErr"));

    auto* page = new QVBoxLayout(OptionsPage);
    page->addWidget(Memo3);
    page->addWidget(FormatBox);
    page->addLayout(sepRow);
    page->addWidget(wordsGroup);
    page->addWidget(CheckIgnoreErr);
    page->addStretch(1);

    connect(FormatButtons, &QButtonGroup::idClicked, this, &TImportDialog::FormatBoxClick);
    connect(SepBox, &QComboBox::activated, this, &TImportDialog::SepBoxChange);
    connect(SepBox->lineEdit(), &QLineEdit::editingFinished, this, [this] {
        if (SepBox->lineEdit()->isModified())
            SepBoxChange();
    });
    connect(UpdatePosBut, &QPushButton::clicked, this, &TImportDialog::UpdatePosButClick);
    connect(EditM, &QLineEdit::textEdited, this, &TImportDialog::EditMChange);
    connect(EditW, &QLineEdit::textEdited, this, &TImportDialog::EditWChange);
    connect(CheckIgnoreErr, &QCheckBox::clicked, this, &TImportDialog::CheckIgnoreErrClick);
}

void TImportDialog::buildElementsPage()
{
    ElementsPage = new QWidget;
    ElementsPage->setObjectName(QStringLiteral("ElementsPage"));
    Memo2 = makeMemo("Memo2", {QStringLiteral("Wählen Sie mit Hilfe des Feldes \"Element Nummer\" nacheinander alle Felder der "),
                               QStringLiteral("Datensätze an und ordnen Sie ihnen eine Interpretation zu. Wenn die "),
                               QStringLiteral("Segmentierung der Datenzeilen oder die Anzahl der Elemente fehlerhaft ist, "),
                               QStringLiteral("ändern Sie die Einstellungen auf der Registerseite Optionen.")});

    NrSelect = new QSpinBox;
    NrSelect->setObjectName(QStringLiteral("NrSelect"));
    NrSelect->setRange(1, 1);
    ElAnz = new QLabel(QStringLiteral("0"));
    ElAnz->setObjectName(QStringLiteral("ElAnz"));
    ElAnz->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    ElAnz->setMinimumWidth(30);
    auto* nrRow = new QHBoxLayout;
    nrRow->addWidget(new QLabel(QStringLiteral("Element Nummer:")));
    nrRow->addWidget(NrSelect);
    nrRow->addStretch(1);
    nrRow->addWidget(ElAnz);
    nrRow->addWidget(new QLabel(QStringLiteral("Elemente gefunden")));

    ExampleBox = makeListMemo("ExampleBox");
    ExampleBox->setToolTip(QStringLiteral("Zeigt für die ersten zehn Zeilen der Datei die Elemente des Feldes mit "
                                          "dem Index \"Element Nummer\" als Beispiel an."));
    AssignEdit = new QLineEdit;
    AssignEdit->setObjectName(QStringLiteral("AssignEdit"));
    AssignBox = new TMeaningList;
    AssignBox->setObjectName(QStringLiteral("AssignBox"));
    AssignBox->addItems(AssignItems());
    auto* assign = new QVBoxLayout;
    assign->setSpacing(0);
    assign->addWidget(AssignEdit);
    assign->addWidget(AssignBox, 1);
    auto* middle = new QHBoxLayout;
    middle->addWidget(ExampleBox, 1);
    middle->addLayout(assign, 1);

    LineBox = makeListMemo("LineBox");
    // Fixed columns line up in a fixed-pitch font.
    LineBox->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    LineBox->viewport()->setMouseTracking(true);
    LineBox->viewport()->installEventFilter(this);

    auto* page = new QVBoxLayout(ElementsPage);
    page->addWidget(Memo2);
    page->addLayout(nrRow);
    page->addLayout(middle, 3);
    page->addWidget(LineBox, 2);

    connect(NrSelect, &QSpinBox::valueChanged, this, &TImportDialog::NrSelectChange);
    // Moving through the list chooses nothing: a click, Space or Enter
    // chooses the meaning under the cursor.
    connect(AssignBox, &QListWidget::itemClicked, this, &TImportDialog::AssignBoxChange);
    AssignBox->installEventFilter(this);
    connect(AssignEdit, &QLineEdit::textEdited, this, [this] {
        {
            const QSignalBlocker block(AssignBox);
            AssignBox->setCurrentRow(-1);
        }
        AssignBoxChange();
    });
    connect(LineBox, &QPlainTextEdit::cursorPositionChanged, this, &TImportDialog::LineBoxMouseMove);
}

// ---------------------------------------------------------------- public

void TImportDialog::setMockFileName(const QString& FName)
{
    mockfilename = FName;
    setWindowTitle(QStringLiteral("Schülerkartei importieren aus ") + QFileInfo(FName).fileName());
}

// --------------------------------------------------------------- showing

void TImportDialog::showEvent(QShowEvent* event)
{
    if (!event->spontaneous())
        FormShow();
    QDialog::showEvent(event);
}

void TImportDialog::FormShow()
{
    {
        // The page "Elemente" is filled when the user enters it.
        const QSignalBlocker block(Pages);
        Pages->setCurrentWidget(GeneralPage);
    }
    Filter.reset();
    Options = DefaultOptions;
    Elements = DefaultElements;
    FilenameLab->setText(kKeine);
    KlLabel->setText(kAlleKlassen);
    ShowSettings();
    ClearElements();
}

void TImportDialog::ClearElements()
{
    LineBox->clear();
    ExampleBox->clear();
    ElAnz->setText(QStringLiteral("0"));
    {
        const QSignalBlocker block(NrSelect);
        NrSelect->setRange(1, 1);
        NrSelect->setValue(1);
        NrSelect->setEnabled(false);
    }
    const QSignalBlocker blockList(AssignBox);
    const QSignalBlocker blockEdit(AssignEdit);
    AssignBox->setCurrentRow(-1);
    AssignBox->clearSelection();
    AssignEdit->clear();
}

void TImportDialog::keyPressEvent(QKeyEvent* event)
{
    // Esc does nothing; the close box cancels.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TImportDialog::ShowSettings()
{
    {
        const QSignalBlocker block(CommentBox);
        FLastComment = commentToMemo(Options.imComment);
        CommentBox->setPlainText(FLastComment);
    }
    ShowFormat();
    ShowSeparator();
    FLastM = Elements.elGM;
    FLastW = Elements.elGW;
    EditM->setText(FLastM);
    EditW->setText(FLastW);
    CheckIgnoreErr->setChecked(Options.imIgnoreErr);
}

void TImportDialog::ShowFormat()
{
    const int format = int(Options.imFormat);
    if (format < imDataBase || format > imPositions)
        return;
    FormatButtons->button(format)->setChecked(true);
    const bool positions = format == imPositions;
    SepBox->setVisible(!positions);
    FeldPosLabel->setVisible(positions);
    UpdatePosBut->setVisible(positions);
    if (positions)
        FeldPosLabel->setText(PositionsToStr());
    FeldtrennzLabel->setText(positions ? QStringLiteral("Feldtrennpositionen") : QStringLiteral("Feldtrennzeichen"));
}

void TImportDialog::ShowSeparator()
{
    const QSignalBlocker block(SepBox);
    int item = -1;
    switch (Options.imSepChar.unicode()) {
    case 9: item = 0; break;
    case ',': item = 1; break;
    case ';': item = 2; break;
    case '|': item = 3; break;
    default:
        if (Options.imSepString.text() == QLatin1String("  "))
            item = 4;
        break;
    }
    SepBox->setCurrentIndex(item);
    if (item < 0)
        SepBox->setEditText(Options.imSepString);
    SepBox->lineEdit()->setModified(false);
}

// -------------------------------------------------------------- options

void TImportDialog::FormatBoxClick(int index)
{
    if (index < imDataBase || index > imPositions)
        return;
    Options.imFormat = TImportFormat(index);
    ShowFormat();
}

void TImportDialog::SepBoxChange()
{
    const QString text = SepBox->currentText();
    const int item = int(SepItems().indexOf(text));
    switch (item) {
    case 0:
        Options.imSepString = QStringLiteral("\t");
        Options.imSepChar = QChar(9);
        break;
    case 1:
    case 2:
    case 3: {
        const QChar c = QLatin1Char(",;|"[item - 1]);
        Options.imSepString = QString(c);
        Options.imSepChar = c;
        break;
    }
    case 4:
        Options.imSepString = QStringLiteral("  ");
        Options.imSepChar = QLatin1Char(' ');
        break;
    default:
        // A definition file holds the separator in 8-bit text: a character
        // without a byte would silently become "?".
        if (!Ansi::isEncodable(text)) {
            Ui().beep();
            break;
        }
        Options.imSepString = text;
        Options.imSepChar = text.isEmpty() ? QChar(0) : text.at(0);
        break;
    }
    ShowSeparator();
}

QString TImportDialog::PositionsToStr() const
{
    QStringList parts;
    for (qint32 p : Options.imPositionArray)
        parts.append(QString::number(p));
    return parts.join(QLatin1Char(','));
}

bool TImportDialog::StrToPositions(const QString& text, TPositions& positions) const
{
    TPositions result{};
    QString rest = text;
    int i = 0;
    while (!rest.isEmpty() && i < int(result.size())) {
        const qsizetype comma = rest.indexOf(QLatin1Char(','));
        const QString piece = comma >= 0 ? rest.left(comma) : rest;
        rest = comma >= 0 ? rest.mid(comma + 1) : QString();
        // A column is counted from 1; 0 ends the fields. A negative entry
        // would make the splitter's lengths meaningless.
        int value = 0;
        if (!StrToIntRange(piece, value, 0, INT_MAX))
            return false;
        result[std::size_t(i++)] = value;
    }
    positions = result;
    return true;
}

void TImportDialog::EditPositions()
{
    const QString preset = PositionsToStr();
    QString text = preset;
    if (!Ui().inputQuery(QStringLiteral("Spaltenpositionen der Felder eingeben"),
                         QStringLiteral("Positionen, gezählt ab 1, Komma-getrennt:"), text))
        text = preset;
    if (!StrToPositions(text, Options.imPositionArray))
        ShowMessage(QStringLiteral("Die Eingabe war ungültig, bitte wiederholen Sie den Vorgang.\r"
                                   "Geben Sie eine komma-getrennte Liste von positiven, aufsteigenden\r"
                                   "Ganzzahlen ein, oder Null für \"Ignorieren\"."));
    FeldPosLabel->setText(PositionsToStr());
}

void TImportDialog::UpdatePosButClick()
{
    EditPositions();
}

bool TImportDialog::acceptText(QLineEdit* edit, QString& lastGood)
{
    const QString text = edit->text();
    if (Ansi::isEncodable(text)) {
        lastGood = text;
        return true;
    }
    Ui().beep();
    const int cursor = edit->cursorPosition();
    edit->setText(lastGood);
    edit->setCursorPosition(qMax(0, cursor - int(text.size() - lastGood.size())));
    return false;
}

void TImportDialog::EditMChange()
{
    if (acceptText(EditM, FLastM))
        Elements.elGM = FLastM;
}

void TImportDialog::EditWChange()
{
    if (acceptText(EditW, FLastW))
        Elements.elGW = FLastW;
}

void TImportDialog::CommentBoxChange()
{
    const QString text = CommentBox->toPlainText();
    if (!Ansi::isEncodable(text)) {
        Ui().beep();
        const QSignalBlocker block(CommentBox);
        CommentBox->setPlainText(FLastComment);
        CommentBox->moveCursor(QTextCursor::End);
        return;
    }
    FLastComment = text;
    QString comment = text;
    comment.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    Options.imComment = comment;
}

void TImportDialog::CheckIgnoreErrClick()
{
    Options.imIgnoreErr = CheckIgnoreErr->isChecked();
}

// ------------------------------------------------------------- elements

void TImportDialog::PagesChange(int index)
{
    if (Pages->widget(index) != ElementsPage)
        return;
    {
        const QSignalBlocker block(NrSelect);
        NrSelect->setRange(1, 1);
        NrSelect->setValue(1);
        NrSelect->setEnabled(true);
    }
    ShowElement(1);
}

void TImportDialog::NrSelectChange()
{
    ShowElement(NrSelect->value());
}

void TImportDialog::ShowElement(int Nr)
{
    QStringList lines;
    QStringList values;
    int n = 0;
    try {
        n = ImportPreview(mockfilename, Options, Nr, lines, values);
    } catch (...) {
        // Shown as every other error; the page shows no lines then.
        ShowMessage(TApplication::currentExceptionMessage());
        ClearElements();
        return;
    }
    LineBox->setPlainText(lines.join(QLatin1Char('\n')));
    ExampleBox->setPlainText(values.join(QLatin1Char('\n')));
    ElAnz->setText(QString::number(n));
    {
        const QSignalBlocker block(NrSelect);
        NrSelect->setEnabled(n >= 2);
        NrSelect->setMaximum(qMax(n, 1));
    }
    ShowAssignment(Nr);
}

void TImportDialog::ShowAssignment(int Nr)
{
    int row = 0;
    const auto& fields = assignedFields();
    for (int i = 0; i < int(fields.size()); ++i)
        if (Elements.*fields[std::size_t(i)] == Nr) {
            row = i + 1;
            break;
        }
    const QSignalBlocker blockList(AssignBox);
    const QSignalBlocker blockEdit(AssignEdit);
    AssignBox->setCurrentRow(row);
    AssignEdit->setText(AssignBox->item(row)->text());
}

void TImportDialog::AssignBoxChange()
{
    const int Nr = NrSelect->value();
    const int row = AssignBox->currentRow();
    if (row >= 1 && row <= 8)
        Elements.*assignedFields()[std::size_t(row - 1)] = Nr;
    if (Elements.highestEl < Nr)
        Elements.highestEl = Nr;
    // The first meaning of the field, which may be an earlier one.
    if (row >= 0)
        ShowAssignment(Nr);
}

void TImportDialog::LineBoxMouseMove()
{
    const int column = LineBox->textCursor().positionInBlock() + 1;
    LineBox->setToolTip(QStringLiteral("Cursor steht vor Spalte ") + QString::number(column));
}

bool TImportDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == LineBox->viewport() && event->type() == QEvent::MouseMove)
        LineBoxMouseMove();
    if (watched == AssignBox && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const Qt::KeyboardModifiers mods = key->modifiers() & ~Qt::KeypadModifier;
        if (mods == Qt::NoModifier
            && (key->key() == Qt::Key_Space || key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)) {
            if (AssignBox->currentRow() >= 0)
                AssignBoxChange();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

// ---------------------------------------------------------- format files

bool TImportDialog::LoadFormat(const QString& FName)
{
    const TImportOptions oldOptions = Options;
    const TElements oldElements = Elements;
    const bool ok = LoadFormatFile(FName, Options, Elements);
    // A file that cannot be opened leaves records and controls alone.
    if (ok || Options != oldOptions || Elements != oldElements)
        ShowSettings();
    return ok;
}

bool TImportDialog::SaveFormat(const QString& FName)
{
    return SaveFormatFile(FName, Options, Elements);
}

void TImportDialog::OpenFButClick()
{
    TFileDialogSpec dialog;
    dialog.title = QStringLiteral("Formatdefinition öffnen");
    dialog.filter = QStringLiteral("zuv Formatdefinitionen|*.FMT");
    const TFileDialogResult chosen = Ui().fileDialog(dialog);
    if (!chosen.accepted || chosen.files.isEmpty())
        return;
    const QString name = chosen.files.first();
    FilenameLab->setText(LoadFormat(name) ? QFileInfo(name).fileName() : kKeine);
}

void TImportDialog::SaveFButClick()
{
    TFileDialogSpec dialog;
    dialog.save = true;
    dialog.title = QStringLiteral("Formatdefinition speichern");
    dialog.filter = QStringLiteral("zuv Formatdefinitionen (*.FMT)|*.FMT");
    const TFileDialogResult chosen = Ui().fileDialog(dialog);
    if (!chosen.accepted || chosen.files.isEmpty())
        return;
    const QString name = FormatFileName(chosen.files.first());
    FilenameLab->setText(SaveFormat(name) ? QFileInfo(name).fileName() : kKeine);
}

// ---------------------------------------------------------- class filter

void TImportDialog::KlSelectButClick()
{
    if (!KlassenSelect)
        return;
    KlassenSelect->setKlassen(nullptr);
    if (KlassenSelect->exec() != QDialog::Accepted)
        return;
    Filter.reset(KlassenSelect->getFilter());
    KlLabel->setText(KlassenSelect->getString(35));
}
