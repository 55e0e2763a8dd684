#include "import/UImport.h"

#include "data/UBasics.h"
#include "data/USchueler.h"
#include "data/USchuelerData.h"
#include "data/UZeile.h"
#include "platform/UAnsiText.h"
#include "platform/UUi.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <climits>

// ---------------------------------------------------------------------------
// Format records

QString FitShortText(const QString& text, int capacity)
{
    return Ansi::decode(Ansi::encode(text).left(capacity));
}

bool TImportOptions::operator==(const TImportOptions& o) const
{
    return imIgnoreErr == o.imIgnoreErr && imFormat == o.imFormat
        && imPositionArray == o.imPositionArray && imSepString.text() == o.imSepString.text()
        && imSepChar == o.imSepChar && imComment.text() == o.imComment.text();
}

bool TElements::operator==(const TElements& o) const
{
    return elName == o.elName && elVName == o.elVName && elNName == o.elNName
        && elBName == o.elBName && elGeschl == o.elGeschl && elKl == o.elKl
        && elJgst == o.elJgst && elAbt == o.elAbt && elGM.text() == o.elGM.text()
        && elGW.text() == o.elGW.text() && highestEl == o.highestEl;
}

namespace {

TImportOptions makeDefaultOptions()
{
    TImportOptions o;
    o.imIgnoreErr = false;
    o.imFormat = imDataBase;
    o.imPositionArray = {1, 26, 32, 0, 0, 0, 0, 0, 0, 0};
    o.imSepString = QStringLiteral(",");
    o.imSepChar = QLatin1Char(',');
    o.imComment = QStringLiteral("Geben Sie hier einen Kommentar zu Ihren Format-Einstellungen ein.");
    return o;
}

TElements makeDefaultElements()
{
    TElements e;
    e.elGM = QStringLiteral("m");
    e.elGW = QStringLiteral("w");
    return e;
}

} // namespace

const TImportOptions DefaultOptions = makeDefaultOptions();
const TElements DefaultElements = makeDefaultElements();

// ---------------------------------------------------------------------------
// Format definition files

namespace {

// Fixed offsets of the definition file.
constexpr int offIgnoreErr = 0;
constexpr int offFormat = 1;
constexpr int offPositions = 2;
constexpr int offSepString = 42;
constexpr int offSepChar = 51;
constexpr int offComment = 53;
constexpr int offElements = kOptionsBytes;   // the eight field numbers
constexpr int offGM = 341;
constexpr int offGW = 350;
constexpr int offHighestEl = 359;

// Each field ends where the next begins.
static_assert(offPositions + 4 * 10 == offSepString && offSepString + 1 + 8 == offSepChar
              && offSepChar + 2 == offComment && offComment + 1 + 255 == kOptionsBytes);
static_assert(offElements + 4 * 8 == offGM && offGM + 1 + 8 == offGW && offGW + 1 + 8 == offHighestEl
              && offHighestEl + 4 == kFormatFileBytes);

void putInt32(QByteArray& b, int at, qint32 v)
{
    const quint32 u = quint32(v);
    for (int i = 0; i < 4; ++i)
        b[at + i] = char((u >> (8 * i)) & 0xFF);
}

qint32 getInt32(const QByteArray& b, int at)
{
    quint32 u = 0;
    for (int i = 0; i < 4; ++i)
        u |= quint32(quint8(b[at + i])) << (8 * i);
    return qint32(u);
}

// A length byte, then N bytes of text; the bytes after the text stay 0.
template <int N>
void putShort(QByteArray& b, int at, const TShortText<N>& text)
{
    const QByteArray bytes = Ansi::encode(text).left(N);
    b[at] = char(bytes.size());
    for (int i = 0; i < bytes.size(); ++i)
        b[at + 1 + i] = bytes[i];
}

// False for a length byte beyond N.
template <int N>
bool getShort(const QByteArray& b, int at, TShortText<N>& text)
{
    const int len = quint8(b[at]);
    if (len > N)
        return false;
    text = Ansi::decode(b.mid(at + 1, len));
    return true;
}

// The eight field numbers in file order.
std::array<qint32 TElements::*, 8> fieldNumbers()
{
    return {&TElements::elName, &TElements::elVName, &TElements::elNName, &TElements::elBName,
            &TElements::elGeschl, &TElements::elKl, &TElements::elJgst, &TElements::elAbt};
}

} // namespace

QByteArray FormatToBytes(const TImportOptions& Options, const TElements& Elements)
{
    QByteArray b(kFormatFileBytes, '\0');
    b[offIgnoreErr] = Options.imIgnoreErr ? 1 : 0;
    b[offFormat] = char(Options.imFormat);
    for (int i = 0; i < 10; ++i)
        putInt32(b, offPositions + 4 * i, Options.imPositionArray[i]);
    putShort(b, offSepString, Options.imSepString);
    const char16_t sep = Options.imSepChar.unicode();
    b[offSepChar] = char(sep & 0xFF);
    b[offSepChar + 1] = char(sep >> 8);
    putShort(b, offComment, Options.imComment);

    const auto numbers = fieldNumbers();
    for (int i = 0; i < 8; ++i)
        putInt32(b, offElements + 4 * i, Elements.*numbers[i]);
    putShort(b, offGM, Elements.elGM);
    putShort(b, offGW, Elements.elGW);
    putInt32(b, offHighestEl, Elements.highestEl);
    return b;
}

bool FormatFromBytes(const QByteArray& bytes, TImportOptions& Options, TElements& Elements)
{
    if (bytes.size() < kFormatFileBytes)
        return false;
    TImportOptions o;
    TElements e;

    o.imIgnoreErr = bytes[offIgnoreErr] != 0;
    const int format = quint8(bytes[offFormat]);
    if (format > imPositions)
        return false;
    o.imFormat = TImportFormat(format);
    for (int i = 0; i < 10; ++i)
        o.imPositionArray[i] = getInt32(bytes, offPositions + 4 * i);
    if (!getShort(bytes, offSepString, o.imSepString))
        return false;
    o.imSepChar = QChar(char16_t(quint8(bytes[offSepChar]) | (quint8(bytes[offSepChar + 1]) << 8)));
    if (!getShort(bytes, offComment, o.imComment))
        return false;

    e.highestEl = getInt32(bytes, offHighestEl);
    const auto numbers = fieldNumbers();
    for (int i = 0; i < 8; ++i) {
        const qint32 n = getInt32(bytes, offElements + 4 * i);
        if (n < 0 || n > e.highestEl)
            return false;
        e.*numbers[i] = n;
    }
    if (!getShort(bytes, offGM, e.elGM) || !getShort(bytes, offGW, e.elGW))
        return false;

    Options = o;
    Elements = e;
    return true;
}

bool LoadFormatFile(const QString& FName, TImportOptions& Options, TElements& Elements)
{
    if (QFileInfo(FName).isDir())
        return false;
    QFile file(FName);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = file.read(kFormatFileBytes);
    const bool readOk = file.error() == QFileDevice::NoError;
    file.close();
    if (readOk && FormatFromBytes(bytes, Options, Elements))
        return true;
    ShowMessage(QStringLiteral("Lesefehler"));
    Options = DefaultOptions;
    Elements = DefaultElements;
    return false;
}

bool SaveFormatFile(const QString& FName, const TImportOptions& Options, const TElements& Elements)
{
    if (QFileInfo(FName).isDir())
        return false;
    QSaveFile file(FName);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QByteArray bytes = FormatToBytes(Options, Elements);
    // commit() does not notice when its own flush of the buffered bytes
    // fails, and would replace the file with a short one: flush first.
    if (file.write(bytes) == bytes.size() && file.flush() && file.commit())
        return true;
    file.cancelWriting();
    ShowMessage(QStringLiteral("Schreibfehler"));
    return false;
}

QString FormatFileName(const QString& chosen)
{
    const qsizetype slash = qMax(chosen.lastIndexOf(QLatin1Char('/')), chosen.lastIndexOf(QLatin1Char('\\')));
    if (chosen.indexOf(QLatin1Char('.'), slash + 1) >= 0)
        return chosen;
    return chosen + QStringLiteral(".FMT");
}

// ---------------------------------------------------------------------------
// Line splitting

QStringList SplitLine(QStringView line, const TImportOptions& Options)
{
    switch (Options.imFormat) {
    case imDataBase: return SplitDataBase(line, Options);
    case imConventional: return SplitConventional(line, Options);
    case imPositions: return SplitPositions(line, Options);
    }
    return {};
}

QStringList SplitDataBase(QStringView line, const TImportOptions& Options)
{
    enum TState { BetweenFields, AfterOpeningQuote, InQuotedField, AfterClosingQuote, InPlainField };
    const QChar sep = Options.imSepChar;
    const QChar quote = QLatin1Char('"');

    QStringList fields;
    // The field buffer is always one run of the line: [start, pos).
    qsizetype start = 0;
    TState state = BetweenFields;
    for (qsizetype pos = 0; pos < line.size(); ++pos) {
        const QChar c = line[pos];
        switch (state) {
        case BetweenFields:
            if (c == quote) {
                state = AfterOpeningQuote;
            } else if (c == sep) {
                fields.append(QString());
            } else if (IsBlank(c)) {
                // skipped
            } else {
                start = pos;
                state = InPlainField;
            }
            break;
        case AfterOpeningQuote:
            if (c == quote) {
                fields.append(QString());
                state = AfterClosingQuote;
            } else {
                start = pos;
                state = InQuotedField;
            }
            break;
        case InQuotedField:
            if (c == quote) {
                fields.append(line.mid(start, pos - start).toString());
                state = AfterClosingQuote;
            }
            break;
        case AfterClosingQuote:
            if (c == sep)
                state = BetweenFields;
            break;
        case InPlainField:
            if (c == sep) {
                fields.append(line.mid(start, pos - start).toString());
                state = BetweenFields;
            }
            break;
        }
    }
    switch (state) {
    case InPlainField:
    case InQuotedField:
        fields.append(line.mid(start).toString());
        break;
    case AfterOpeningQuote:
        fields.append(QString());
        break;
    case BetweenFields:
    case AfterClosingQuote:
        break;
    }
    return fields;
}

QStringList SplitConventional(QStringView line, const TImportOptions& Options)
{
    const QString& sep = Options.imSepString;
    QStringList fields;
    if (sep.isEmpty())
        return fields;

    // The rest of the line is always [pos, end): stripped of blanks at both
    // ends. Stripping its end once is enough, as cutting only moves pos.
    qsizetype pos = 0;
    qsizetype end = line.size();
    while (pos < end && line[pos].unicode() == 32)
        ++pos;
    while (end > pos && line[end - 1].unicode() == 32)
        --end;
    const QStringView rest = line.left(end);

    qsizetype hit = rest.indexOf(sep, pos);
    if (hit < 0)
        return fields;
    while (hit >= 0) {
        fields.append(TrimSpaces(rest.mid(pos, hit - pos)));
        pos = hit + sep.size();
        while (pos < end && rest[pos].unicode() == 32)
            ++pos;
        hit = rest.indexOf(sep, pos);
    }
    if (pos < end)
        fields.append(rest.mid(pos).toString());
    return fields;
}

QStringList SplitPositions(QStringView line, const TImportOptions& Options)
{
    const TPositions& p = Options.imPositionArray;
    const qint64 length = line.size();
    QStringList fields;
    // Columns count from 1; 64-bit arithmetic, so no entry can overflow.
    for (int i = 0; i < 10 && p[i] > 0; ++i) {
        const qint64 start = p[i];
        const qint64 end = (i < 9 && p[i + 1] != 0) ? qint64(p[i + 1]) : length + 1;
        const qint64 last = qMin(end - 1, length);   // last column of the field
        if (start > length || last < start)
            fields.append(QString());
        else
            fields.append(TrimSpaces(line.mid(start - 1, last - start + 1)));
    }
    return fields;
}

// ---------------------------------------------------------------------------
// Interpreting lines

namespace {

// Where the integer conversion stops in text: after leading blanks, a sign
// and the digits of a hex or decimal number.
qsizetype integerEnd(const QString& text)
{
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n && text[i].unicode() == 32)
        ++i;
    if (i < n && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-')))
        ++i;
    bool hex = false;
    if (i < n && (text[i] == QLatin1Char('$') || text[i] == QLatin1Char('x') || text[i] == QLatin1Char('X'))) {
        hex = true;
        ++i;
    } else if (i + 1 < n && text[i] == QLatin1Char('0')
               && (text[i + 1] == QLatin1Char('x') || text[i + 1] == QLatin1Char('X'))) {
        hex = true;
        i += 2;
    }
    auto isDigit = [hex](QChar c) {
        const char16_t u = c.unicode();
        if (u >= '0' && u <= '9')
            return true;
        return hex && ((u >= 'a' && u <= 'f') || (u >= 'A' && u <= 'F'));
    };
    while (i < n && isDigit(text[i]))
        ++i;
    return i;
}

// g is the whole word or a beginning of it, letter case ignored (umlauts
// too). A word that fills its field may have been cut from a longer one: g
// that begins with it matches too.
template <int N>
bool matchesWord(const QString& g, const TShortText<N>& word)
{
    const QString& w = word;
    if (g.size() > w.size() && w.size() < N)
        return false;
    const qsizetype n = qMin(g.size(), w.size());
    return QStringView(g).left(n).compare(QStringView(w).left(n), Qt::CaseInsensitive) == 0;
}

// The name parts a and b with sep between them when both are there.
QString joinParts(const QString& a, const QString& sep, const QString& b)
{
    if (a.isEmpty())
        return b;
    return b.isEmpty() ? a : a + sep + b;
}

bool hasLetter(QStringView text)
{
    for (char32_t c : text.toUcs4())
        if (QChar::isLetter(c))
            return true;
    return false;
}

constexpr int kMaxGrade = 13;

[[noreturn]] void fail(const QString& message, TImportErrorCode code)
{
    throw EImportError(message, code);
}

QString inParens(const char* text, const QString& field)
{
    return QString::fromUtf8(text) + field + QLatin1Char(')');
}

} // namespace

bool ParseKlasse(const QString& text, int& grade, QString& department)
{
    const qsizetype k = integerEnd(text);
    grade = 0;
    // Stays 0 when the text before k is no integer text: no digits, or a
    // number beyond the 32-bit range.
    StrToIntRange(text.left(k), grade, INT_MIN, INT_MAX);
    department = TrimSpaces(QStringView(text).mid(k));
    return grade > 0;
}

std::unique_ptr<TSchueler> Interpret(const QStringList& Fields, const TElements& Elements, bool* nameFolded)
{
    const QString tooFew = QStringLiteral("Interpret: Zu wenige gültige Elemente");
    if (Fields.size() < Elements.highestEl)
        fail(tooFew, eNoData);
    // Field numbers beyond the line (only from a record that breaks the
    // highestEl rule) count as too few fields.
    auto field = [&](qint32 n) -> const QString& {
        if (n < 1 || n > Fields.size())
            fail(tooFew, eNoData);
        return Fields[n - 1];
    };

    QString name;
    if (Elements.elName != 0) {
        name = field(Elements.elName);
    } else if (Elements.elNName != 0 && Elements.elVName != 0) {
        name = joinParts(TrimSpaces(field(Elements.elNName)), QStringLiteral(" "), TrimSpaces(field(Elements.elVName)));
        if (Elements.elBName != 0)
            name = joinParts(name, QStringLiteral(", "), TrimSpaces(field(Elements.elBName)));
    }
    if (!hasLetter(name))
        fail(QStringLiteral("Interpret: Kein Name"), eNoName);
    const QString folded = Ansi::foldLetters(name);
    for (char32_t c : folded.toUcs4()) {
        if (c <= 0xFFFF && Ansi::isEncodable(QChar(char16_t(c))))
            continue;
        const QString code = QString::number(uint(c), 16).toUpper().rightJustified(4, QLatin1Char('0'));
        fail(inParens("Interpret: Name ungültig (", name)
                 + QStringLiteral(": Zeichen %1 (U+%2) kann nicht gespeichert werden").arg(QString::fromUcs4(&c, 1), code),
             eNoName);
    }
    // A name beginning with "/" would turn its line of a data file into a
    // comment.
    if (!TSchueler::IsValidName(folded))
        fail(inParens("Interpret: Name ungültig (", name), eNoName);
    if (nameFolded)
        *nameFolded = folded != name;

    int grade = 0;
    QString abt;
    if (Elements.elKl != 0) {
        const QString& kl = field(Elements.elKl);
        if (!ParseKlasse(kl, grade, abt) || grade > kMaxGrade || !TSchueler::IsValidAbt(abt))
            fail(inParens("Interpret: Klasse ungültig (", kl), eInvKl);
    } else if (Elements.elJgst != 0 && Elements.elAbt != 0) {
        const QString& jg = field(Elements.elJgst);
        if (!StrToIntRange(jg, grade, 1, kMaxGrade))
            fail(inParens("Interpret: Jahrgangsstufe ungültig (", jg), eInvJgst);
        // Stored as a pupil line gives it back.
        abt = LaterField(field(Elements.elAbt));
        if (!TSchueler::IsValidAbt(abt))
            fail(inParens("Interpret: Klasse ungültig (", abt), eInvKl);
    }
    if (grade == 0)
        fail(QStringLiteral("Interpret: Keine Klasse"), eNoKl);

    bool male = false;
    if (Elements.elGeschl != 0) {
        const QString& g = field(Elements.elGeschl);
        if (matchesWord(g, Elements.elGW))
            male = false;
        else if (matchesWord(g, Elements.elGM))
            male = true;
        else
            fail(inParens("Interpret: Ungültiges Geschlecht (", g), eInvGeschl);
    }

    auto pupil = std::make_unique<TSchueler>();
    pupil->name = folded;
    pupil->geschl = male;
    pupil->jgst = grade;
    pupil->abt = abt;
    return pupil;
}

// ---------------------------------------------------------------------------
// Reading files

namespace {

// The lines of a pupil-list file that are not blank (only blanks and
// control characters, such as the end-of-file byte 0x1A of older programs
// or the TABs of an empty spreadsheet row), with the number of the physical line, counted from 1. The file
// is decoded as another program may have written it; one that is no text
// file is refused.
class TImportLines {
public:
    explicit TImportLines(const QString& FName)
    {
        if (!FReader.openForeign(FName))
            throw EInOutError(QStringLiteral("Fehler beim Öffnen der Datei ") + FName);
        if (FReader.foreignBinary())
            throw EInOutError(Ansi::notTextMessage(FName));
    }

    bool next(QString& line)
    {
        while (FReader.readLine(line)) {
            ++FNumber;
            if (!IsBlankLine(line))
                return true;
        }
        return false;
    }

    // Physical lines read so far; the number of the line next() gave.
    qint64 number() const { return FNumber; }

private:
    TAnsiLineReader FReader;
    qint64 FNumber = 0;
};

} // namespace

int ImportFile(const QString& FName, TSchuelerData& List, const TImportOptions& Options,
               const TElements& Elements, TImportCounts* Counts)
{
    TImportCounts counts;
    TImportLines lines(FName);
    int asked = 0;
    QString line;
    while (lines.next(line)) {
        try {
            bool folded = false;
            std::unique_ptr<TSchueler> pupil = Interpret(SplitLine(line, Options), Elements, &folded);
            List.add(pupil.get());
            if (folded)
                counts.foldedNames.insert(pupil.get());
            pupil.release();
            ++counts.imported;
        } catch (const EImportError& e) {
            ++counts.passedOver;
            // A file of another layout would ask for every line.
            if (Options.imIgnoreErr || asked >= kShownBadLines)
                continue;
            ++asked;
            const QString text = QStringLiteral("Lesefehler in Zeile ") + QString::number(lines.number())
                + QStringLiteral(": ") + e.message() + QStringLiteral("\r\n") + line;
            if (MessageDlg(text, TMsgType::mtWarning, mbCancel | mbIgnore) == TModalResult::mrCancel) {
                List.ClearData();
                counts.imported = 0;
                counts.foldedNames.clear();
                counts.cancelled = true;
                break;
            }
        }
    }
    if (Counts)
        *Counts = counts;
    return counts.imported;
}

int ImportPreview(const QString& FName, const TImportOptions& Options, int Nr,
                  QStringList& Lines, QStringList& Values)
{
    TImportLines lines(FName);
    Values.clear();
    Lines.clear();
    int highest = 0;
    QString line;
    // The test comes before each line is taken: up to eleven lines.
    while (lines.number() <= 10 && lines.next(line)) {
        Lines.append(line);
        const QStringList fields = SplitLine(line, Options);
        highest = qMax(highest, int(fields.size()));
        if (Nr >= 1 && Nr <= fields.size())
            Values.append(fields[Nr - 1]);
    }
    return highest;
}

int TSchuelerData::ImportFromFile(const QString& FName, const TImportOptions& Options,
                                  const TElements& Elements, TImportCounts* Counts)
{
    ClearData();
    return ImportFile(FName, *this, Options, Elements, Counts);
}
