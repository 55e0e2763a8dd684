#include "platform/UQtUi.h"

#include "platform/UHelpContext.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontDialog>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QHeaderView>
#include <QPushButton>
#include <QScreen>
#include <QTextLayout>
#include <QTreeView>
#include <QUrl>

#include <algorithm>
#include <cstdlib>

std::function<bool()> TQtUi::printerSetupHook;

namespace {

struct TButtonInfo {
    TMsgButton button;
    const char* text;
    QMessageBox::ButtonRole role;
    TModalResult result;
};

// In the order the buttons are added; the first one present is the default.
const TButtonInfo kButtons[] = {
    {mbYes, "&Ja", QMessageBox::YesRole, TModalResult::mrYes},
    {mbNo, "&Nein", QMessageBox::NoRole, TModalResult::mrNo},
    {mbOK, "OK", QMessageBox::AcceptRole, TModalResult::mrOk},
    {mbCancel, "Abbrechen", QMessageBox::RejectRole, TModalResult::mrCancel},
    {mbIgnore, "&Ignorieren", QMessageBox::AcceptRole, TModalResult::mrIgnore},
    {mbHelp, "&Hilfe", QMessageBox::HelpRole, TModalResult::mrNone},
};

QMessageBox::Icon iconFor(TMsgType type)
{
    switch (type) {
    case TMsgType::mtInformation: return QMessageBox::Information;
    case TMsgType::mtConfirmation: return QMessageBox::Question;
    case TMsgType::mtWarning: return QMessageBox::Warning;
    case TMsgType::mtPlain: break;
    }
    return QMessageBox::NoIcon;
}

// True when no run of the line between two places where it may wrap is
// wider than room.
bool wrapsWithin(const QString& line, const QFont& font, int room)
{
    QTextLayout layout(line, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WordWrap);
    layout.setTextOption(option);
    bool fits = true;
    layout.beginLayout();
    for (QTextLine row = layout.createLine(); row.isValid() && fits; row = layout.createLine()) {
        row.setLineWidth(room);
        fits = row.naturalTextWidth() <= room;
    }
    layout.endLayout();
    return fits;
}

// A button's letter typed without Alt clicks it at once: Qt's box would
// press it and click 100 ms later, after a key typed straight after it.
// A line too long for the box ends with "…" instead of being cut at its
// edge.
class TZuvMessageBox : public QMessageBox {
public:
    using QMessageBox::QMessageBox;

protected:
    void showEvent(QShowEvent* event) override
    {
        QMessageBox::showEvent(event);   // gives the text its width
        elideLongLines();
    }

    void keyPressEvent(QKeyEvent* event) override
    {
        if (!(event->modifiers() & (Qt::AltModifier | Qt::ControlModifier | Qt::MetaModifier))) {
            for (QAbstractButton* button : buttons()) {
                const QKeySequence accelerator = button->shortcut();
                if (!accelerator.isEmpty() && accelerator[0].key() == event->key()) {
                    button->click();
                    return;
                }
            }
        }
        QMessageBox::keyPressEvent(event);
    }

private:
    // A line the text cannot wrap within its width, cut after the last
    // whole character that leaves room for the "…".
    void elideLongLines()
    {
        auto* label = findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
        const QString shown = text();
        if (!label || textFormat() == Qt::RichText || (textFormat() == Qt::AutoText && Qt::mightBeRichText(shown)))
            return;
        const int room = label->contentsRect().width();
        const QFontMetrics metrics = label->fontMetrics();
        QString fitted;
        bool elided = false;
        qsizetype start = 0;
        for (qsizetype i = 0; i <= shown.size(); ++i) {
            if (i < shown.size() && shown[i] != QLatin1Char('\r') && shown[i] != QLatin1Char('\n'))
                continue;
            const QString line = shown.mid(start, i - start);
            if (wrapsWithin(line, label->font(), room)) {
                fitted += line;
            } else {
                fitted += metrics.elidedText(line, Qt::ElideRight, room);
                elided = true;
            }
            if (i < shown.size())
                fitted += shown[i];
            start = i + 1;
        }
        if (elided)
            setText(fitted);
    }
};

// Open dialogs accept names of files that do not exist (the caller reports
// them), also when several files may be chosen.
class TZuvFileDialog : public QFileDialog {
public:
    using QFileDialog::QFileDialog;

    void accept() override
    {
        const QStringList files = selectedFiles();
        if (fileMode() == QFileDialog::ExistingFiles && !files.isEmpty()
            && std::none_of(files.begin(), files.end(), [](const QString& f) { return QFileInfo(f).isDir(); })) {
            QDialog::accept();
            return;
        }
        QFileDialog::accept();
    }

    // Qt disables the open button while a typed name names no file when
    // several may be chosen; with a name typed it stays enabled here.
    void keepOpenButtonEnabled()
    {
        auto* box = findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"));
        FNameEdit = findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        FOpenButton = box ? box->button(QDialogButtonBox::Open) : nullptr;
        if (!FNameEdit || !FOpenButton)
            return;
        // After the dialog's own handling of the same changes.
        connect(FNameEdit, &QLineEdit::textChanged, this, [this] { enableOpenButton(); });
        FOpenButton->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == FOpenButton && event->type() == QEvent::EnabledChange)
            enableOpenButton();
        return QFileDialog::eventFilter(watched, event);
    }

private:
    void enableOpenButton()
    {
        if (!FOpenButton->isEnabled() && fileMode() == QFileDialog::ExistingFiles
            && !FNameEdit->text().trimmed().isEmpty())
            FOpenButton->setEnabled(true);
    }

    QLineEdit* FNameEdit = nullptr;
    QPushButton* FOpenButton = nullptr;
};

void germanButtons(QDialogButtonBox* box)
{
    if (!box)
        return;
    if (QPushButton* ok = box->button(QDialogButtonBox::Ok))
        ok->setText(QStringLiteral("OK"));
    if (QPushButton* cancel = box->button(QDialogButtonBox::Cancel))
        cancel->setText(QStringLiteral("Abbrechen"));
}

// Qt's own size and column widths leave the type and date columns cut
// off: a larger dialog whose name column takes the room the others leave.
void roomyFileDialog(QFileDialog& dialog)
{
    QSize size = dialog.sizeHint().expandedTo(QSize(780, 480));
    if (const QScreen* screen = dialog.screen())
        size = size.boundedTo(screen->availableSize() * 9 / 10);
    dialog.resize(size);
    if (auto* details = dialog.findChild<QTreeView*>(QStringLiteral("treeView"))) {
        QHeaderView* header = details->header();
        header->setStretchLastSection(false);
        header->setSectionResizeMode(QHeaderView::ResizeToContents);
        header->setSectionResizeMode(0, QHeaderView::Stretch);
    }
}

// Italic or oblique.
bool slanted(const QString& family, const QString& style)
{
    return QFontDatabase::font(family, style, 10).italic();
}

} // namespace

QWidget* TQtUi::dialogParent()
{
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    return QApplication::activeWindow();
}

TModalResult TQtUi::messageBox(const TMessage& message)
{
    TZuvMessageBox box(iconFor(message.type), message.caption(), message.text, QMessageBox::NoButton,
                       dialogParent());
    // F1 does what the help button does.
    SetHelpContext(&box, message.helpContext);
    const TMsgButtons wanted = message.buttons ? message.buttons : TMsgButtons(mbOK);

    QList<QPair<QAbstractButton*, TModalResult>> results;
    QPushButton* defaultButton = nullptr;
    QPushButton* cancel = nullptr;
    QPushButton* no = nullptr;
    for (const TButtonInfo& b : kButtons) {
        if (!(wanted & b.button))
            continue;
        QPushButton* button = box.addButton(QString::fromUtf8(b.text), b.role);
        if (b.button == mbHelp) {
            // Help keeps the box open: the button does not end the box.
            QObject::disconnect(button, &QAbstractButton::clicked, button->parent(), nullptr);
            const int context = message.helpContext;
            QObject::connect(button, &QAbstractButton::clicked, &box, [this, context] { showHelp(context); });
            continue;
        }
        results.append({button, b.result});
        if (!defaultButton)
            defaultButton = button;
        if (b.button == mbCancel)
            cancel = button;
        if (b.button == mbNo)
            no = button;
    }
    if (defaultButton)
        box.setDefaultButton(defaultButton);
    if (cancel)
        box.setEscapeButton(cancel);
    else if (no)
        box.setEscapeButton(no);
    else if (results.size() == 1)
        box.setEscapeButton(results.first().first);

    box.exec();
    const QAbstractButton* clicked = box.clickedButton();
    for (const auto& r : results)
        if (r.first == clicked)
            return r.second;
    return TModalResult::mrCancel;
}

QStringList TQtUi::nameFilters(const QString& filter)
{
    QStringList result;
    const QStringList parts = filter.split(QLatin1Char('|'));
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns;
        for (const QString& p : parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            const QString pattern = p.trimmed();
            if (pattern.isEmpty())
                continue;
            patterns.append(pattern == QLatin1String("*.*") ? QStringLiteral("*") : pattern);
        }
        if (patterns.isEmpty())
            patterns.append(QStringLiteral("*"));
        result.append(parts[i].trimmed() + QStringLiteral(" (") + patterns.join(QLatin1Char(' '))
                      + QLatin1Char(')'));
    }
    return result;
}

TFileDialogResult TQtUi::fileDialog(const TFileDialogSpec& request)
{
    TZuvFileDialog dialog(dialogParent(), request.title,
                          request.initialDir.isEmpty() ? lastFolder : request.initialDir);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    // F1 in the dialog shows its help: it is Qt's own, not the platform's.
    SetHelpContext(&dialog, request.helpContext);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    // Patterns match without regard to letter case.
    dialog.setFilter(dialog.filter() & ~QDir::CaseSensitive);
    dialog.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(!request.save && request.multiSelect ? QFileDialog::ExistingFiles : QFileDialog::AnyFile);
    dialog.keepOpenButtonEnabled();
    dialog.setLabelText(QFileDialog::Accept, request.save ? QStringLiteral("&Speichern") : QStringLiteral("Ö&ffnen"));
    dialog.setLabelText(QFileDialog::Reject, QStringLiteral("Abbrechen"));
    dialog.setLabelText(QFileDialog::FileName, QStringLiteral("Datei&name:"));

    const QStringList filters = nameFilters(request.filter);
    if (!filters.isEmpty()) {
        dialog.setNameFilters(filters);
        dialog.selectNameFilter(filters.at(std::clamp(request.filterIndex, 1, int(filters.size())) - 1));
    }
    if (!request.fileName.isEmpty())
        dialog.selectFile(request.fileName);
    roomyFileDialog(dialog);

    TFileDialogResult result;
    result.filterIndex = request.filterIndex;
    if (dialog.exec() != QDialog::Accepted)
        return result;
    result.accepted = true;
    result.files = dialog.selectedFiles();
    if (!result.files.isEmpty())
        lastFolder = QFileInfo(result.files.first()).absolutePath();
    // Without details Qt names the chosen filter by its name part alone.
    const QString chosen = dialog.selectedNameFilter();
    for (int i = 0; i < filters.size(); ++i) {
        if (filters[i] == chosen || filters[i].startsWith(chosen + QStringLiteral(" ("))) {
            result.filterIndex = i + 1;
            break;
        }
    }
    return result;
}

bool TQtUi::inputQuery(const QString& caption, const QString& prompt, QString& value)
{
    QInputDialog dialog(dialogParent());
    dialog.setWindowTitle(caption);
    dialog.setLabelText(prompt);
    dialog.setInputMode(QInputDialog::TextInput);
    dialog.setTextValue(value);
    dialog.setOkButtonText(QStringLiteral("OK"));
    dialog.setCancelButtonText(QStringLiteral("Abbrechen"));
    if (dialog.exec() != QDialog::Accepted)
        return false;
    value = dialog.textValue();
    return true;
}

QFont TQtUi::toQFont(const TFontSpec& font)
{
    QFont f(font.name);
    if (font.size > 0)
        f.setPointSize(font.size);
    f.setBold(font.bold);
    f.setItalic(font.italic);
    f.setUnderline(font.underline);
    f.setStrikeOut(font.strikeOut);
    // Name the face's own style (its regular one may be called "Book"), or
    // the font dialog preselects whatever style it lists first.
    const QString family = QFontInfo(f).family();
    QString best;
    int bestDistance = 0;
    const int wanted = font.bold ? QFont::Bold : QFont::Normal;
    for (const QString& style : QFontDatabase::styles(family)) {
        if (QFontDatabase::bold(family, style) != font.bold || slanted(family, style) != font.italic)
            continue;
        const int distance = std::abs(QFontDatabase::weight(family, style) - wanted) * 100
            + int(style.contains(QLatin1String("Condensed"))) * 50 + int(style.size());
        if (best.isEmpty() || distance < bestDistance) {
            best = style;
            bestDistance = distance;
        }
    }
    if (!best.isEmpty()) {
        f.setFamily(family);
        f.setStyleName(best);
    }
    return f;
}

TFontSpec TQtUi::fromQFont(const QFont& f, const TFontSpec& base)
{
    TFontSpec result = base;
    result.name = f.family();
    if (f.pointSize() > 0)
        result.size = f.pointSize();
    const QString style = f.styleName();
    result.bold = style.isEmpty() ? f.bold() : QFontDatabase::bold(f.family(), style);
    result.italic = style.isEmpty() ? f.italic() : slanted(f.family(), style);
    result.underline = f.underline();
    result.strikeOut = f.strikeOut();
    return result;
}

bool TQtUi::fontDialog(TFontSpec& font)
{
    QFontDialog dialog(toQFont(font), dialogParent());
    dialog.setOption(QFontDialog::DontUseNativeDialog);
    germanButtons(dialog.findChild<QDialogButtonBox*>());
    if (dialog.exec() != QDialog::Accepted)
        return false;
    font = fromQFont(dialog.selectedFont(), font);   // the colour stays: Qt's dialog has none
    return true;
}

bool TQtUi::printerSetup()
{
    return printerSetupHook ? printerSetupHook() : false;
}

void TQtUi::beep()
{
    QApplication::beep();
}

QString TQtUi::helpFile() const
{
    const QDir dir(helpDir.isEmpty() ? QCoreApplication::applicationDirPath() : helpDir);
    for (const char* name : {"zuvhelp.chm", "zuvhelp.html", "zuvhelp.pdf"}) {
        const QFileInfo info(dir.filePath(QString::fromLatin1(name)));
        if (info.isFile())
            return info.absoluteFilePath();
    }
    return QString();
}

void TQtUi::showHelp(int)
{
    // The help files we may find carry no context numbers a viewer could
    // jump to: the file opens at its start.
    const QString file = helpFile();
    if (file.isEmpty()) {
        messageBox(TMessage{TMsgType::mtPlain, QStringLiteral("Es ist keine Hilfedatei installiert."), mbOK, 0});
        return;
    }
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(file)))
        messageBox(TMessage{TMsgType::mtPlain,
                            QStringLiteral("Die Hilfedatei %1 lässt sich nicht öffnen.").arg(QDir::toNativeSeparators(file)),
                            mbOK, 0});
}
