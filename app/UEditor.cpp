#include "app/UEditor.h"

#include "app/UIncSearch.h"
#include "app/UMainFormHandler.h"
#include "app/main.h"
#include "data/UBasics.h"
#include "data/UProjekt.h"
#include "data/UProjektData.h"
#include "data/USchPro.h"
#include "data/USchueler.h"
#include "data/USchuelerData.h"
#include "platform/UGridWidget.h"
#include "platform/UHelpContext.h"
#include "platform/UUi.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QMdiArea>

#include <algorithm>

namespace {

// Pupil editor columns.
constexpr int ColName = 0;
constexpr int ColFest = 4;
constexpr int ColWahl1 = 5;
constexpr int FixedInBewegMode = 4;

}   // namespace

TEditor::TEditor(TMainForm* AOwner, TMainFormHandler* AHandler, TData* AData, bool AEditing, const QString& Cap)
    : TEditor(AOwner, AHandler, AData, AEditing, Cap, nullptr)
{
}

TEditor::TEditor(TMainForm* AOwner, TMainFormHandler* AHandler, std::unique_ptr<TSchuelerData> View, const QString& Cap)
    : TEditor(AOwner, AHandler, View.get(), false, Cap, std::move(View))
{
}

TEditor::TEditor(TMainForm* AOwner, TMainFormHandler* AHandler, TData* AData, bool AEditing, const QString& Cap,
                 std::unique_ptr<TSchuelerData>&& View)
    : QMdiSubWindow(nullptr)
    , FViewList(std::move(View))
{
    setObjectName(QStringLiteral("Editor"));
    setWindowTitle(QStringLiteral("Editor"));
    SetHelpContext(this, 110);
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
    DataType = AData->getDataType();

    if (!Editing)
        Grid->setEditingAllowed(false);
    // The columns first, so that the one fill of SetData writes every field.
    Grid->setColCount(AData->getRecCount());
    Grid->setRowTexts(0, AData->getRecCaptions());
    const QStringList samples = AData->getRecCaptionWidthExample();
    for (int k = 0; k < Grid->colCount(); ++k)
        Grid->setColWidth(k, Grid->textWidth(samples.value(k)) + 10);
    SetData(AData);
    SetFNCaption(Cap);

    Grid->setFixedCols(DataType == dtPro ? 1 : 0);
    // "Projekt" is never entered: it shows with "Wahl5".
    if (DataType == dtSch)
        Grid->setTrailingCols(1);

    MyHandler->getIcon(DataType == dtSch ? 3 : 4, MyIcon);
    setWindowIcon(MyIcon);

    Grid->onGetEditText = [this](int c, int r, QString& value) { GridGetEditText(c, r, value); };
    Grid->onSetEditText = [this](int c, int r, const QString&) { GridSetEditText(c, r); };
    Grid->onSelectCell = [this](int c, int r, bool& canSelect) { GridSelectCell(c, r, canSelect); };
    Grid->onCurrentChanged = [this](int, int r) { GridCurrentChanged(r); };
    Grid->onKeyDown = [this](int& key, Qt::KeyboardModifiers shift) { GridKeyDown(key, shift); };
    Grid->onExit = [this] { GridExit(); };
    Grid->setEditorReservedKeys(MyOwner->cellEditorReservedKeys());

    placeInClientArea();
}

TEditor::~TEditor()
{
    // Nothing is stored while the window goes.
    Grid->onGetEditText = nullptr;
    Grid->onSetEditText = nullptr;
    Grid->onSelectCell = nullptr;
    Grid->onCurrentChanged = nullptr;
    Grid->onKeyDown = nullptr;
    Grid->onExit = nullptr;
    Grid->setRowCount(0);
    releaseView();
}

void TEditor::releaseView()
{
    if (!FViewList)
        return;
    Grid->onGetEditText = nullptr;
    Grid->onSetEditText = nullptr;
    Grid->onSelectCell = nullptr;
    Grid->onCurrentChanged = nullptr;
    Grid->onKeyDown = nullptr;
    Grid->onExit = nullptr;
    resetBackup();
    // The other pupils belong to SchuelerData; only the view's own empty
    // pupil goes with the list.
    if (FPhantom) {
        for (int i = 1; i <= FViewList->Anz(); ++i)
            if (FViewList->getNr(i) == FPhantom) {
                FViewList->DeleteEntry(i);
                break;
            }
        FPhantom = nullptr;
    }
    FViewList.reset();
    Data = nullptr;
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
    const QSize free = area->contentsRect().size();
    fitClientArea(free, free);
    area->setActiveSubWindow(this);
}

void TEditor::fitClientArea(const QSize& oldArea, const QSize& area)
{
    if (isMinimized() || isMaximized() || area.isEmpty())
        return;
    // Within the four pixels the placement leaves, an edge counts as
    // reaching the area's edge.
    constexpr int Slack = 4;
    QRect r = geometry();
    if (oldArea.isValid() && r.right() + 1 >= oldArea.width() - Slack)
        r.setRight(r.right() + area.width() - oldArea.width());
    if (oldArea.isValid() && r.bottom() + 1 >= oldArea.height() - Slack)
        r.setBottom(r.bottom() + area.height() - oldArea.height());
    const QSize least = minimumSize();
    r.setSize(QSize(std::clamp(r.width(), std::min(least.width(), area.width()), area.width()),
                    std::clamp(r.height(), std::min(least.height(), area.height()), area.height())));
    r.moveLeft(std::clamp(r.left(), 0, area.width() - r.width()));
    r.moveTop(std::clamp(r.top(), 0, area.height() - r.height()));
    if (r != geometry())
        setGeometry(r);
}

void TEditor::SetData(TData* AData)
{
    Data = AData;
    UpdateData();
}

void TEditor::SetFNCaption(const QString& cap)
{
    QString caption = DataType == dtSch ? QStringLiteral("Schüler-Editor") : QStringLiteral("Projekt-Editor");
    if (!cap.isEmpty())
        caption += QStringLiteral(" [") + cap + QLatin1Char(']');
    setWindowTitle(caption);
}

TDataType TEditor::getDataType() const
{
    return DataType;
}

bool TEditor::Editable() const
{
    return Grid->editingAllowed();
}

TSchPro* TEditor::getCurrentItem() const
{
    if (!Data)
        return nullptr;
    return Data->getNr(Grid->row());
}

void TEditor::UpdateData()
{
    if (!Data)
        return;
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
        // A view's list is its own: the empty pupil is the view's too. The
        // program's list holds one record more: the counts show it.
        if (FViewList)
            FPhantom = Data->getNr(1);
        else
            MyHandler->UpdateCounts();
    }
    // The views hear of all rows at once.
    Grid->beginUpdate();
    for (int i = 1; i <= Data->Anz(); ++i)
        ShowRow(i);
    Grid->endUpdate();
}

void TEditor::ShowRow(int i)
{
    Grid->setRowTexts(i, Data->getNr(i)->ToZeile());
}

void TEditor::FormActivate()
{
    MyHandler->NotifyActiveType(getDataType(), Editable());
    showRowPanel(Grid->row());
    MyOwner->setPanelText(4, QString());
    MyHandler->UpdateStatusBar();
    UpdateData();
}

bool TEditor::FormCloseQuery()
{
    return !Editable() || MyOwner->SaveUnsavedBeforeClear(getDataType());
}

void TEditor::commitEdit()
{
    if (!Grid->isEditing())
        return;
    Grid->endEdit();
    GridExit();
}

void TEditor::closeEvent(QCloseEvent* event)
{
    if (FClosed) {
        event->accept();
        return;
    }
    // Closing is a command: a cell being typed in is stored first, so that
    // the unsaved-data question knows of it.
    bool canClose = false;
    MyOwner->runCommand([&] { canClose = FormCloseQuery(); });
    if (!canClose) {
        event->ignore();
        return;
    }
    FormClose();
    FClosed = true;
    MyOwner->UpdateArrangeAct();
    if (IncSearch)
        IncSearch->GridClosed(Grid);
    // The list goes now, not with the window's later release: the pupils it
    // refers to may be freed right after this close.
    releaseView();
    QMdiSubWindow::closeEvent(event);
}

void TEditor::FormClose()
{
    if (Editable()) {
        MyHandler->UpdateClearData(*Data);
        // The rows are gone: the grid losing the focus stores nothing.
        resetBackup();
    } else {
        UpdateOverview();
    }
    // The commands follow the editor that stays active; when this one was
    // active, the next one's activation tells the hub.
    TEditor* active = MyOwner->activeEditor();
    if (active && active != this)
        MyHandler->NotifyActiveType(active->getDataType(), active->Editable());
    else
        MyHandler->NotifyActiveType(dtUnknown, false);
    QCoreApplication::processEvents();
}

// ---------------------------------------------------------------- editing

void TEditor::GridGetEditText(int ACol, int ARow, QString& Value)
{
    BackupStr = Value;
    BackupX = ACol;
    BackupY = ARow;
    // The cell editor starts from the record's stored value.
    if (ARow >= 1 && ARow <= Data->Anz())
        Value = Data->getNr(ARow)->ToZeile().value(ACol);
}

void TEditor::GridSetEditText(int ACol, int ARow)
{
    // The cell editor of a refused row stays open: what is typed into it
    // then is an edit again, stored as any.
    if (BackupX < 0) {
        BackupX = ACol;
        BackupY = ARow;
    }
}

bool TEditor::StoreRow(int row)
{
    if (row < 1 || row > Data->Anz())
        return false;
    const TStrings line = Grid->rowTexts(row);
    TSchPro* record = Data->getNr(row);
    const QStringList before = record->ToZeile();
    bool stored = true;
    try {
        if (record->isSchueler())
            static_cast<TSchueler*>(record)->FromEditedZeile(line);
        else
            record->FromZeile(line);
        Data->setModified();
        // The overviews and the other windows follow a record that changed;
        // storing the same row again changes nothing.
        if (QStringList(record->ToZeile()) != before)
            MyHandler->UpdateRowStored(*this);
        else
            MyHandler->UpdateStatusBar();
    } catch (const ESchFromZeile&) {
        stored = false;
    } catch (const EProFromZeile&) {
        stored = false;
    }
    if (!stored) {
        Ui().beep();
        // The row shows the record again: moving on has nothing to store.
        resetBackup();
    }
    ShowRow(row);
    return stored;
}

void TEditor::GridSelectCell(int ACol, int ARow, bool& CanSelect)
{
    bool stored = true;
    if (BackupY > -1 && BackupY <= Data->Anz())
        stored = StoreRow(BackupY);
    if (!stored)
        CanSelect = false;

    if (getDataType() == dtSch && ACol == Grid->colCount() - 1) {
        // "Projekt" is never selected. A key that led here moves on, and
        // that move sets the status panels for the cell it reaches.
        CanSelect = false;
        if (stored && moveOffProjekt(ACol, ARow))
            return;
    }

    showRowPanel(ARow);
    showChoicePanel(ACol, ARow);
}

void TEditor::GridCurrentChanged(int ARow)
{
    // The panel is the active editor's: an editor reloaded behind it keeps
    // its row to itself.
    if (MyOwner->activeEditor() == this)
        showRowPanel(ARow);
}

void TEditor::showRowPanel(int ARow)
{
    MyOwner->setPanelText(3, QString::asprintf("Zeile %4d", ARow));
}

bool TEditor::moveOffProjekt(int ACol, int ARow)
{
    switch (MoveRequest) {
    case mrTab:
        // On to the next row; from the last row to row 1.
        Grid->setCurrentCell(BewegMode ? ColFest : ColName, ARow >= Grid->rowCount() - 1 ? 1 : ARow + 1);
        return true;
    case mrShiftTab:
    case mrEnde:
    case mrStrEnde:
        Grid->setCurrentCell(ACol - 1, ARow);
        return true;
    default:
        return false;
    }
}

void TEditor::showChoicePanel(int ACol, int ARow)
{
    if (getDataType() != dtSch || ACol < ColWahl1) {
        MyOwner->setPanelText(4, QString());
        return;
    }
    int n = 0;
    if (StrToIntRange(Grid->cell(ACol, ARow), n, 1, ProjektData->Anz()))
        MyOwner->setPanelText(4, QStringLiteral(" (%1=%2)").arg(n).arg(ProjektData->getNr(n)->getName()));
}

void TEditor::GridKeyDown(int Key, Qt::KeyboardModifiers Shift)
{
    MoveRequest = mrNone;
    // Without a backup the cell editor holds what the record holds: a
    // refused row is not tried again.
    if (Grid->isEditing() && BackupX > -1) {
        if (Key == Qt::Key_Escape) {
            Grid->setCell(Grid->col(), Grid->row(), BackupStr);
            StoreRow(Grid->row());
            return;
        }
        if (Key == Qt::Key_Return || Key == Qt::Key_Enter) {
            StoreRow(Grid->row());
            return;
        }
    }
    const Qt::KeyboardModifiers mods = Shift & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    switch (Key) {
    case Qt::Key_Tab:
        if (mods == Qt::NoModifier)
            MoveRequest = mrTab;
        else if (mods == Qt::ShiftModifier)
            MoveRequest = mrShiftTab;
        break;
    case Qt::Key_Left: MoveRequest = mrLeft; break;
    case Qt::Key_Right: MoveRequest = mrRight; break;
    case Qt::Key_End:
        if (mods == Qt::NoModifier)
            MoveRequest = mrEnde;
        else if (mods == Qt::ControlModifier)
            MoveRequest = mrStrEnde;
        break;
    case Qt::Key_Home:
        if (mods == Qt::NoModifier)
            MoveRequest = mrPos1;
        else if (mods == Qt::ControlModifier)
            MoveRequest = mrStrPos1;
        break;
    default:
        break;
    }
}

void TEditor::GridExit()
{
    // The list may have changed under the editor: only a row that still
    // exists is stored. A failed store cannot keep the focus.
    if (BackupX > -1 && BackupY >= 1 && BackupY <= Data->Anz())
        StoreRow(BackupY);
}

void TEditor::ChangeBewegMode()
{
    if (getDataType() != dtSch)
        return;
    BewegMode = !BewegMode;
    if (BewegMode) {
        if (Grid->col() < ColFest)
            Grid->setCol(ColFest);
        Grid->setFixedCols(FixedInBewegMode);
    } else {
        Grid->setFixedCols(0);
    }
}

void TEditor::Sort(TSortCritType SortBy)
{
    if (getDataType() == dtSch)
        static_cast<TSchuelerData*>(Data)->Sort(SortBy);
}

void TEditor::setCurrentHand(int i)
{
    if (getDataType() != dtSch || i < 0 || i > 5)
        return;
    const int row = Grid->row();
    if (row < 1 || row > Data->Anz())
        return;
    static_cast<TSchueler*>(Data->getNr(row))->setHand(i);
    ShowRow(row);
}

void TEditor::setProjektView(int nr)
{
    FProjektNr = nr;
    SetFNCaption(QStringLiteral("Projekt ") + QString::number(nr));
}

void TEditor::MoveProjektRefs(int pos, int delta)
{
    if (FProjektNr >= 0)
        setProjektView(TSchueler::MovedNr(FProjektNr, pos, delta));
}

void TEditor::InsertAtCurrentPos()
{
    if (RoomForInsert() && PrepareInsDel(+1))
        InsertAtPos(Grid->row());
}

void TEditor::InsertAtEnd()
{
    // The new record may lie below the visible rows: the cursor goes to it.
    if (RoomForInsert() && InsertAtPos(Data->Anz() + 1))
        Grid->setRow(Data->Anz());
}

bool TEditor::RoomForInsert()
{
    if (getDataType() != dtPro || Data->Anz() < TProjektData::MaxAnz)
        return true;
    ShowMessage(TProjektData::MaxAnzText());
    return false;
}

bool TEditor::InsertAtPos(int pos)
{
    if (pos < 1 || pos > Data->Anz() + 1)
        return false;
    Data->InsertEmpty(pos, *Grid);
    UpdateData();
    Data->setModified();
    UpdateOverview();
    resetBackup();
    return true;
}

bool TEditor::PrepareInsDel(int delta)
{
    if (getDataType() == dtSch)
        return true;
    const TModalResult answer =
        MessageDlg(QStringLiteral("Das Einfügen/Löschen eines Projekts an dieser Stelle ändert\r"
                                  " die Nummern der darauffolgenden Projekte. Fortfahren?"),
                   TMsgType::mtInformation, mbYes | mbNo);
    if (answer != TModalResult::mrYes)
        return false;
    const int pos = Grid->row();
    for (int p = pos; p <= Data->Anz(); ++p)
        static_cast<TProjekt*>(Data->getNr(p))->setNr(p + delta);
    // The pupils' numbers follow their projects, and so do the views'.
    if (SchuelerData->MoveProjektRefs(pos, delta))
        SchuelerData->setModified();
    MyHandler->UpdateMoveProjektRefs(pos, delta);
    return true;
}

void TEditor::DeleteCurrentPOS()
{
    if (!PrepareInsDel(-1))
        return;
    const bool pupils = getDataType() == dtSch;
    if (pupils) {
        if (MyHandler->GetViewSchEditors() != 0
            && MessageDlg(QStringLiteral("Das Löschen eines Eintrages schließt alle offenen Schülerauszugs-Editoren."),
                          TMsgType::mtInformation, mbOK | mbCancel)
                   != TModalResult::mrOk)
            return;
        MyHandler->UpdateCloseViewSchEditors();
    }
    Data->DeleteEntry(Grid->row());
    // The rows below moved up: the backup names another record now.
    resetBackup();
    if (Grid->row() == Grid->rowCount() - 1 && Grid->row() > 1)
        Grid->setRow(Grid->row() - 1);
    UpdateData();
    Data->setModified();
    UpdateOverview();
}

void TEditor::UpdateOverview()
{
    MyHandler->UpdateCounts();
    // The pupils' windows show the projects as the list now numbers them.
    if (getDataType() == dtPro)
        MyHandler->UpdateSchEditors();
}
