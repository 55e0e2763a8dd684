#include "data/UData.h"

#include "data/USchuelerData.h"
#include "platform/UExceptions.h"
#include "platform/UAnsiText.h"
#include "platform/UPrinterDevice.h"
#include "print/UVirtPrinter.h"

namespace {

[[noreturn]] void badPosition(int pos)
{
    throw Exception(QStringLiteral("TData: ungueltige Listenposition: %1").arg(pos));
}

} // namespace

TData::TData()
{
    ModSaved(QString());
}

TData::~TData() = default;

TSchPro* TData::items(int pos) const
{
    if (pos < 0 || pos >= count())
        badPosition(pos);
    return FItems.at(pos);
}

int TData::add(TSchPro* record)
{
    FItems.append(record);
    return count() - 1;
}

void TData::insert(int pos, TSchPro* record)
{
    if (pos < 0 || pos > count())
        badPosition(pos);
    FItems.insert(pos, record);
}

void TData::removeAt(int pos)
{
    if (pos < 0 || pos >= count())
        badPosition(pos);
    FItems.removeAt(pos);
}

TSchPro* TData::last() const
{
    if (FItems.isEmpty())
        badPosition(0);
    return FItems.last();
}

void TData::clearList()
{
    FItems.clear();
}

void TData::ModSaved(const QString& fn)
{
    filename = fn;
    datamodified = false;
}

// Export

namespace {

const QString TextHeader = QStringLiteral("**** zuv Projekttags-Schülereinteilung ****");

const QString HtmlHeader = QStringLiteral(
    "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0 Transitional//EN\">\r\n"
    "<HTML>\r\n"
    "  <HEAD>\r\n"
    "    <META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=windows-1252\">\r\n"
    "    <TITLE>Automatische Projekttags-Sch&uuml;lereinteilung mit zuv</TITLE>\r\n"
    "  </HEAD>\r\n"
    "<BODY>\r\n"
    "<CENTER><H1>Projekttags-Sch&uuml;lereinteilung</H1></CENTER>\r\n"
    "<CENTER><H4>generiert mit <A HREF=\"https://kestrin.example.org/\">kestrin</A></H4></CENTER>\r\n"
    "<HR>");

const QString HtmlFooter = QStringLiteral("</TABLE>\r\n\r\n</BODY>\r\n</HTML>");

// The stops of the project headings, measured at the starting fonts on A4
// in the widest of the usual faces: each heading at 15 points bold whole,
// with a blank to the next. The values take stops of their own (the
// column heading line sets them).
const QString PrintHeaderPro = QStringLiteral("\x1B" "FH\x1Bzuv Projekte\x1BT0640607585\x1B");
// The class column holds a department of letters ("13BIO"), the project
// column its highest number.
const QString PrintHeaderSch = QStringLiteral("\x1B" "FH\x1Bzuv Schülereinteilung\x1BT404752586470768290\x1B");

} // namespace

void TData::SetPrintFonts(const TFontSpec* Heading, const TFontSpec* Standard, double Spacing, bool Footer)
{
    HeadingFont = Heading;
    StandardFont = Standard;
    FontSpacing = Spacing;
    FontFooter = Footer;
}

int TData::ExportData(const QString& Name, TExpFormat ext, bool voll)
{
    const auto* pupils = dynamic_cast<const TSchuelerData*>(this);
    const TSortCritType krit = pupils ? pupils->getSort() : sc_NotSorted;

    if (ext == exPrint)
        StartPrintExport();
    else
        StartFileExport(Name);
    const int n = Anz();
    try {
        if (ext == exPrint)
            ExportLine(getDataType() == dtSch ? PrintHeaderSch : PrintHeaderPro);
        else
            ExportLine(ext == exHtml ? HtmlHeader : TextHeader);

        // Every record is compared with the one that opened its category.
        const TSchPro* opener = nullptr;
        for (int i = 1; i <= n; ++i) {
            const TSchPro* record = getNr(i);
            bool opens = opener == nullptr;
            if (!opens && krit != sc_NotSorted) {
                const auto* s = dynamic_cast<const TSchueler*>(record);
                const auto* o = dynamic_cast<const TSchueler*>(opener);
                opens = s && o && s->ExportCatDiffers(krit, *o);
            }
            if (opens) {
                ExportLine(record->ExportCatHeading(krit, ext, opener == nullptr));
                opener = record;
            }
            ExportLine(record->ToExportZeil(krit, ext, voll));
        }
        if (ext == exHtml)
            ExportLine(HtmlFooter);

        if (ext == exPrint)
            EndPrintExport();
        else
            EndFileExport();
    } catch (...) {
        // Nothing partial is kept: the file stays as it was, the job is dropped.
        CancelExport();
        throw;
    }
    return n;
}

void TData::StartPrintExport()
{
    CancelExport();
    Exporting.EPrinter = std::make_unique<TVirtPrinter>(HeadingFont, StandardFont, FontSpacing, FontFooter);
    Exporting.State = toPrinter;
}

void TData::StartFileExport(const QString& Name)
{
    CancelExport();
    auto file = std::make_unique<TAnsiFileWriter>();
    QString reason;
    if (!file->open(Name, &reason))
        throw EInOutError(FileCreateError(Name, reason));
    Exporting.EFile = std::move(file);
    Exporting.State = toFile;
}

void TData::ExportLine(const QString& s)
{
    switch (Exporting.State) {
    case toFile: Exporting.EFile->writeLine(s); break;
    case toPrinter: Exporting.EPrinter->PrintLine(s); break;
    case toNIL: break;
    }
}

void TData::EndPrintExport()
{
    if (Exporting.State != toPrinter)
        return;
    Exporting.EPrinter->Finish();
    Exporting.EPrinter.reset();
    Exporting.State = toNIL;
}

void TData::EndFileExport()
{
    if (Exporting.State != toFile)
        return;
    Exporting.EFile->commit();
    Exporting.EFile.reset();
    Exporting.State = toNIL;
}

void TData::CancelExport()
{
    Exporting.EPrinter.reset();   // aborts a job not finished
    if (Exporting.EFile)
        Exporting.EFile->cancel();
    Exporting.EFile.reset();
    Exporting.State = toNIL;
}
