// The file import and its preview against the same steps done by hand
// (line by line: split, interpret); every imported pupil reads back
// unchanged from its record line.
//
// Input: the import options and elements (see UFuzzImport.h), a byte with
// the user's answer to a bad line (bit 0: "Abbrechen", else "&Ignorieren")
// and the field number of the preview, then the file's bytes.

#include "UFuzzImport.h"

#include "data/USchuelerData.h"

namespace {

struct TLine {
    qint64 number;   // physical line, from 1
    QString text;
};

// The lines that are not blank (empty, or only blanks and control
// characters), with their numbers.
QList<TLine> importLines(const QByteArray& bytes)
{
    QList<TLine> lines;
    qint64 number = 0;
    for (const QString& text : foreignLines(bytes)) {
        ++number;
        for (QChar c : text) {
            if (c != QLatin1Char(' ') && c.unicode() >= 0x20 && c.unicode() != 0x7F) {
                lines.append({number, text});
                break;
            }
        }
    }
    return lines;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static TSchuelerData* list = new TSchuelerData;

    TFuzzInput in(data, size);
    const TImportOptions o = optionsFrom(in);
    const TElements e = elementsFrom(in);
    const std::uint8_t answerByte = in.byte();
    const bool cancel = answerByte & 1;
    const int previewNr = 1 + in.byte() % 8;
    const QByteArray bytes = in.rest();
    const QString path = fuzzPath(QStringLiteral("liste.txt"));
    writeBytes(path, bytes);

    // By hand.
    const QList<TLine> lines = importLines(bytes);
    std::vector<std::unique_ptr<TSchueler>> expected;
    QStringList expectedMessages;
    bool cancelled = false;
    int bad = 0;
    int folded = 0;
    for (const TLine& line : lines) {
        try {
            bool nameFolded = false;
            expected.push_back(Interpret(SplitLine(line.text, o), e, &nameFolded));
            folded += nameFolded;
        } catch (const EImportError& err) {
            ++bad;
            // Ten questions at most; the further bad lines pass silently.
            if (o.imIgnoreErr || expectedMessages.size() >= kShownBadLines)
                continue;
            expectedMessages.append(QStringLiteral("Lesefehler in Zeile %1: ").arg(line.number) + err.message()
                                    + QStringLiteral("\r\n") + line.text);
            if (cancel) {
                cancelled = true;
                break;
            }
        }
    }

    TFuzzUi ui;
    ui.answer = cancel ? TModalResult::mrCancel : TModalResult::mrIgnore;
    list->ClearData();
    TSchueler* stale = new TSchueler;
    list->add(stale);   // the import empties the list first
    // No text file: refused before any line.
    const bool binary = foreignBinary(bytes);
    TImportCounts counts;
    int n = 0;
    try {
        n = list->ImportFromFile(path, o, e, &counts);
    } catch (const EInOutError& err) {
        FUZZ_CHECK_MSG(binary && err.message() == Ansi::notTextMessage(path), err.message());
        FUZZ_CHECK(ui.messages.isEmpty() && list->Anz() == 0);
        QStringList previewLines, values;
        bool refused = false;
        try {
            ImportPreview(path, o, previewNr, previewLines, values);
        } catch (const EInOutError&) {
            refused = true;
        }
        FUZZ_CHECK(refused);
        return 0;
    }
    FUZZ_CHECK(!binary);

    FUZZ_CHECK(n == list->Anz() && n == counts.imported);
    FUZZ_CHECK(counts.cancelled == cancelled);
    if (!cancelled)
        FUZZ_CHECK(counts.passedOver == bad);
    QStringList shown;
    for (const TMessage& m : ui.messages) {
        FUZZ_CHECK(m.type == TMsgType::mtWarning && m.buttons == (mbCancel | mbIgnore));
        shown.append(m.text);
    }
    FUZZ_CHECK_MSG(shown == expectedMessages, shown.join(QStringLiteral(" || ")) + QStringLiteral(" /// ")
                                                  + expectedMessages.join(QStringLiteral(" || ")));
    if (cancelled) {
        FUZZ_CHECK(n == 0 && counts.foldedNames.isEmpty());
    } else {
        FUZZ_CHECK(n == int(expected.size()));
        QSet<const TSchueler*> appended;
        for (int i = 1; i <= n; ++i)
            appended.insert(list->getNr(i));
        FUZZ_CHECK(counts.foldedNames.size() == folded && appended.contains(counts.foldedNames));
        for (int i = 1; i <= n; ++i) {
            FUZZ_CHECK_MSG(sameRecord(*list->getNr(i), *expected[i - 1]), describePair(*list->getNr(i), *expected[i - 1]));
            checkSchuelerRoundTrip(*list->getNr(i));
        }
    }
    list->ClearData();

    // The preview: the lines that are not blank among the first eleven
    // taken, the test before each line.
    QStringList previewLines, values;
    const int highest = ImportPreview(path, o, previewNr, previewLines, values);
    QStringList refLines, refValues;
    int refHighest = 0;
    qint64 read = 0;
    for (const TLine& line : lines) {
        if (read > 10)
            break;
        read = line.number;
        refLines.append(line.text);
        const QStringList fields = SplitLine(line.text, o);
        refHighest = qMax(refHighest, int(fields.size()));
        if (fields.size() >= previewNr)
            refValues.append(fields[previewNr - 1]);
    }
    FUZZ_CHECK(previewLines == refLines);
    FUZZ_CHECK(values == refValues);
    FUZZ_CHECK(highest == refHighest);
    return 0;
}
