#include "app/UEditor.h"

#include "app/UMainFormHandler.h"
#include "app/main.h"
#include "data/USchPro.h"
#include "platform/UGridWidget.h"
#include "platform/UUi.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QHeaderView>
#include <QMdiArea>

TEditor::TEditor(TMainForm* AOwner, TMainFormHandler* AHandler, TData* AData, bool AEditing, const QString& Cap)
    : QMdiSubWindow(nullptr)
{
    setObjectName(QStringLiteral("Editor"));
    setWindowTitle(QStringLiteral("Editor"));
    setProperty("helpContext", 110);
    setAttribute(Qt::WA_DeleteOnClose);

    Grid = new TGridWidget(this);
    Grid->setObjectName(QStringLiteral("Grid"));
    Grid->setFixedRows(1);
    Grid->setFixedCols(0);
    Grid->setRowCount(10);
    Grid->setDefaultRowHeight(24);
    Grid->setTabKeyNavigation(true);
    setWidget(Grid);
    resize(536, 363);

    MyOwner = AOwner;
    MyHandler = AHandler;
    Editing = AEditing;

    SetData(AData);
    if (!Editing)
        Grid->setEditingAllowed(false);
    SetFNCaption(Cap);

    Grid->setColCount(Data->getRecCount());
    Grid->setRowTexts(0, Data->getRecCaptions());
    const QStringList samples = Data->getRecCaptionWidthExample();
    for (int k = 0; k < Grid->colCount(); ++k)
        Grid->setColWidth(k, Grid->textWidth(samples.value(k)) + 10);
    FillGrid();

    BewegMode = false;
    Grid->setFixedCols(Data->getDataType() == dtPro ? 1 : 0);

    MyHandler->getIcon(Data->getDataType() == dtSch ? 3 : 4, MyIcon);
    setWindowIcon(MyIcon);
    resetBackup();
    MoveRequest = mrNone;

    placeInClientArea();
}

TEditor::~TEditor()
{
    Grid->setRowCount(0);
}

void TEditor::placeInClientArea()
{
    QMdiArea* area = MyOwner->clientArea();
    const int others = int(MyOwner->editors().size());
    area->addSubWindow(this);
    show();
    // Each further editor opens one caption height lower.
    const int captionHeight = height() - widget()->height() - 4;
    const int left = 0;
    const int top = captionHeight * others;
    setGeometry(left, top, MyOwner->getEditorWidth() - left, MyOwner->getEditorHeight() - top);
    area->setActiveSubWindow(this);
}

void TEditor::SetData(TData* AData)
{
    Data = AData;
    UpdateData();
}

void TEditor::SetFNCaption(const QString& cap)
{
    QString caption = Data->getDataType() == dtSch ? QStringLiteral("Schüler-Editor") : QStringLiteral("Projekt-Editor");
    if (!cap.isEmpty())
        caption += QStringLiteral(" [") + cap + QLatin1Char(']');
    setWindowTitle(caption);
}

TDataType TEditor::getDataType() const
{
    return Data->getDataType();
}

bool TEditor::Editable() const
{
    return Grid->editingAllowed();
}

TSchPro* TEditor::getCurrentItem() const
{
    return Data->getNr(Grid->row());
}

void TEditor::UpdateData()
{
    Grid->setRowCount(Data->Anz() > 0 ? Data->Anz() + 1 : 2);
    FillGrid();
    resetBackup();
}

void TEditor::resetBackup()
{
    BackupX = -1;
    BackupY = -1;
}

void TEditor::FillGrid()
{
    if (Data->Anz() == 0) {
        ShowMessage(QStringLiteral("Erzeuge leeren Eintrag."));
        Data->InsertEmpty(1, *Grid);
    }
    for (int i = 1; i <= Data->Anz(); ++i)
        ShowRow(i);
}

void TEditor::ShowRow(int i)
{
    Grid->setRowTexts(i, Data->getNr(i)->ToZeile());
}

void TEditor::FormActivate()
{
    MyHandler->NotifyActiveType(getDataType(), Editable());
    MyOwner->setPanelText(3, QString::asprintf("Zeile %4d", Grid->row()));
    MyOwner->setPanelText(4, QString());
    MyHandler->UpdateStatusBar();
    UpdateData();
}

bool TEditor::FormCloseQuery()
{
    if (!Editable())
        return true;
    return MyOwner->SaveUnsaved({getDataType()});
}

void TEditor::closeEvent(QCloseEvent* event)
{
    if (FClosed) {
        event->accept();
        return;
    }
    if (!FormCloseQuery()) {
        event->ignore();
        return;
    }
    FormClose();
    FClosed = true;
    QMdiSubWindow::closeEvent(event);
}

void TEditor::FormClose()
{
    const bool pupils = getDataType() == dtSch;
    if (pupils && Editable())
        MyHandler->UpdateCloseViewSchEditors();
    if (Editable()) {
        MyHandler->UpdateClearEint();
        Data->ClearData();
    }
    // The commands follow the editor that stays active; when this one was
    // active, the next one's activation tells the hub.
    TEditor* active = MyOwner->activeEditor();
    if (active && active != this)
        MyHandler->NotifyActiveType(active->getDataType(), active->Editable());
    else
        MyHandler->NotifyActiveType(dtUnknown, false);
    MyHandler->UpdateStatusBar();
    if (pupils)
        MyHandler->UpdateSchStat();
    else
        MyHandler->UpdateProStat();
    QCoreApplication::processEvents();
}
