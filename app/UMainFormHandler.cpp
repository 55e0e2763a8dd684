#include "app/UMainFormHandler.h"

#include "app/UEditor.h"
#include "app/main.h"
#include "data/UEinteilungBasics.h"
#include "data/UProjektData.h"
#include "data/USchuelerData.h"
#include "platform/UGridWidget.h"

#include <QAction>
#include <QCoreApplication>
#include <QEvent>
#include <QMenu>
#include <QPointer>
#include <QTabWidget>
#include <QToolBar>

#include <algorithm>

TMainFormHandler* MainFormHandler = nullptr;

namespace {

// Lets every pending event run, the posted release of closed windows too.
void processPending()
{
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// Rebuilds an overview grid. The selected row stays on its entry, known by
// the text in column keyCol (a project's name, a class text; in any case):
// on the same row while that row still holds it, else on the first row that
// does; an entry that is gone leaves it on the same row as far as the grid
// reaches. The rows in view stay where they were, so a press that gave the
// grid the focus lands on the row under the pointer; an entry that moved is
// scrolled into sight.
template <typename Fill>
void rebuildKeepingRow(TGridWidget& grid, int keyCol, Fill fill)
{
    const int row = grid.row();
    const QString key = grid.cell(keyCol, row);
    const int top = grid.topRow();
    fill();
    auto holdsKey = [&](int r) {
        return !key.isEmpty() && QString::compare(grid.cell(keyCol, r), key, Qt::CaseInsensitive) == 0;
    };
    int keep = std::min(row, grid.rowCount() - 1);
    if (!holdsKey(keep))
        for (int r = grid.fixedRows(); r < grid.rowCount(); ++r)
            if (holdsKey(r)) {
                keep = r;
                break;
            }
    grid.setRow(keep);
    grid.setTopRow(top);
    if (keep != row)
        grid.scrollTo(grid.currentIndex());
}

}   // namespace

TMainFormHandler::TMainFormHandler(TMainForm* ATheMain)
    : TheMain(ATheMain)
{
    InitProGrid();
    InitSchGrid();
    NotifyActiveType(dtUnknown, false);
    UpdateAll();
}

int TMainFormHandler::proNameColWidth(int gridWidth, int lineWidth, int others)
{
    return gridWidth - others - 5 * lineWidth - 22;
}

int TMainFormHandler::schClassColWidth(int gridWidth, int lineWidth, int others)
{
    return gridWidth - others - 5 * lineWidth - 22;
}

void TMainFormHandler::SizeOverviewColumns()
{
    TGridWidget* pro = TheMain->ProjekteGrid;
    TGridWidget* sch = TheMain->SchuelerGrid;
    auto fit = [](TGridWidget* grid, int col, int least) { return std::max(least, grid->fitWidth(col)); };

    int proOthers = 0;
    for (int c : {0, 2, 3}) {
        const int w = fit(pro, c, ProColWidth);
        pro->setColWidth(c, w);
        proOthers += w;
    }
    int schOthers = 0;
    for (int c = 1; c <= 3; ++c) {
        const int w = fit(sch, c, SchColWidth);
        sch->setColWidth(c, w);
        schOthers += w;
    }

    // The name and class columns take the rest, at least what they take in
    // a grid of the standard width beside columns of the standard widths,
    // and the class column its widest text. The name column fits the widest
    // name as far as the panel stays within a third of the main window; a
    // name cut there shows whole in its tool tip.
    const int line = pro->gridLineWidth();
    const int standardGrid = OverviewWidth - 8;
    QTabWidget* panel = TheMain->Uebersicht;
    // The panel's frame around its pages, as far as it is laid out yet.
    const QWidget* page = panel->currentWidget();
    const int frame = page && page->isVisible() ? std::max(0, panel->width() - page->width()) : OverviewWidth - standardGrid;
    const int around = 5 * line + 22 + frame;
    const int nameRoom = TheMain->width() / 3 - around - proOthers;
    const int leastName = std::max(proNameColWidth(standardGrid, line), std::min(pro->fitWidth(1), nameRoom));
    const int leastClass = std::max(schClassColWidth(standardGrid, line), sch->fitWidth(0));
    int needed = std::max({OverviewWidth, proOthers + leastName + around, schOthers + leastClass + around});
    // The buttons below the grids show whole.
    for (const QToolBar* bar : panel->findChildren<QToolBar*>())
        needed = std::max(needed, bar->sizeHint().width() + frame);
    if (panel->minimumWidth() != needed)
        panel->setFixedWidth(needed);
    // The hidden page keeps its old width until it is shown; both grids are
    // as wide as the panel's pages.
    const int gridWidth = panel->width() - frame;
    pro->setColWidth(1, std::max(leastName, proNameColWidth(gridWidth, line, proOthers)));
    sch->setColWidth(0, std::max(leastClass, schClassColWidth(gridWidth, line, schOthers)));
}

void TMainFormHandler::InitProGrid()
{
    TGridWidget* grid = TheMain->ProjekteGrid;
    grid->setColCount(4);
    grid->setRowCount(1);
    grid->setRowTexts(0, {QStringLiteral("Nr"), QStringLiteral("Name"), QStringLiteral("Anz"), QStringLiteral("+/-")});
    SizeOverviewColumns();
}

void TMainFormHandler::InitSchGrid()
{
    TGridWidget* grid = TheMain->SchuelerGrid;
    grid->setColCount(4);
    grid->setRowCount(1);
    grid->setRowTexts(0, {QStringLiteral("Klasse"), QStringLiteral("Schüler"), QStringLiteral("Einget."),
                          QStringLiteral("Erstw.")});
    SizeOverviewColumns();
}

void TMainFormHandler::UpdateStatusBar()
{
    const QString mark = QStringLiteral(" (*)");
    TheMain->setPanelText(0, QString::number(ProjektData->Anz()) + QStringLiteral(" Projekte")
                                 + (ProjektData->getModified() ? mark : QString()));
    TheMain->setPanelText(1, QString::number(SchuelerData->Anz()) + QStringLiteral(" Schüler")
                                 + (SchuelerData->getModified() ? mark : QString()));
    TheMain->setPanelText(2, QString::number(SchuelerData->getEintAnz(*ProjektData)) + QStringLiteral(" eingeteilt"));
    UpdateEintChanged();
}

void TMainFormHandler::UpdateProStat()
{
    CountEint(*SchuelerData, *ProjektData);
    rebuildKeepingRow(*TheMain->ProjekteGrid, 1, [this] {
        InitProGrid();
        if (ProjektData->Anz() > 0)
            ProjektData->toOverview(*TheMain->ProjekteGrid);
        SizeOverviewColumns();
    });
    TheMain->ProStatAct->setEnabled(ProjektData->Anz() > 0);
}

void TMainFormHandler::UpdateSchStat()
{
    rebuildKeepingRow(*TheMain->SchuelerGrid, 0, [this] {
        InitSchGrid();
        if (SchuelerData->Anz() > 0)
            SchuelerData->toOverview(*TheMain->SchuelerGrid, *ProjektData);
        SizeOverviewColumns();
    });
    TheMain->SchStatAct->setEnabled(SchuelerData->Anz() > 0);
}

void TMainFormHandler::UpdateProEditors()
{
    for (TEditor* e : TheMain->editors())
        if (e->getDataType() == dtPro)
            e->UpdateData();
}

void TMainFormHandler::UpdateSchEditors()
{
    for (TEditor* e : TheMain->editors())
        if (e->getDataType() == dtSch)
            e->UpdateData();
}

void TMainFormHandler::UpdateCounts()
{
    UpdateStatusBar();
    UpdateSchStat();
    UpdateProStat();
}

void TMainFormHandler::UpdateRowStored(const TEditor& From)
{
    UpdateCounts();
    for (TEditor* e : TheMain->editors())
        if (e != &From && e->getDataType() == From.getDataType())
            e->UpdateData();
}

void TMainFormHandler::UpdateMoveProjektRefs(int pos, int delta)
{
    for (TEditor* e : TheMain->editors())
        e->MoveProjektRefs(pos, delta);
}

int TMainFormHandler::GetViewSchEditors() const
{
    int n = 0;
    for (TEditor* e : TheMain->editors())
        if (e->getDataType() == dtSch && !e->Editable())
            ++n;
    return n;
}

template <typename Match>
void TMainFormHandler::CloseEditors(Match match)
{
    processPending();
    const QList<TEditor*> list = TheMain->editors();
    QList<QPointer<TEditor>> guarded(list.begin(), list.end());
    for (auto i = guarded.size(); i-- > 0;) {
        TEditor* e = guarded[i];
        // Closing one editor may already have closed others.
        if (e && !e->isClosed() && match(e))
            e->close();
    }
    processPending();
}

void TMainFormHandler::UpdateCloseViewSchEditors()
{
    CloseEditors([](TEditor* e) { return e->getDataType() == dtSch && !e->Editable(); });
}

void TMainFormHandler::UpdateCloseMainSchEditor()
{
    CloseEditors([](TEditor* e) { return e->getDataType() == dtSch && e->Editable(); });
}

void TMainFormHandler::UpdateCloseProEditor()
{
    CloseEditors([](TEditor* e) { return e->getDataType() == dtPro; });
}

void TMainFormHandler::UpdateAll()
{
    UpdateStatusBar();
    UpdateSchStat();
    UpdateSchEditors();
    UpdateProStat();
    UpdateProEditors();
    UpdateEintChanged();
}

void TMainFormHandler::NotifyActiveType(TDataType Child, bool Editable)
{
    const bool pupils = Child == dtSch;
    const bool any = Child != dtUnknown;
    const bool editable = any && Editable;
    for (QAction* a : {TheMain->BewegModeAct, TheMain->AuszugAct, TheMain->mmBSort->menuAction(), TheMain->HandEintAct})
        a->setEnabled(pupils);
    for (QAction* a : {TheMain->ExportAct, TheMain->SaveAsAct, TheMain->SaveAct, TheMain->PrintAct})
        a->setEnabled(any);
    for (QAction* a : {TheMain->mmBInsert->menuAction(), TheMain->InsertHereAct, TheMain->InsertEndAct,
                       TheMain->DeleteAct, TheMain->SearchAct})
        a->setEnabled(editable);
}

void TMainFormHandler::UpdateClearEint()
{
    ClearEint(*SchuelerData, *ProjektData);
    UpdateEintChanged();
}

void TMainFormHandler::UpdateClearData(TData& Data)
{
    const bool pupils = Data.getDataType() == dtSch;
    if (pupils)
        UpdateCloseViewSchEditors();
    UpdateClearEint();
    Data.ClearData();
    UpdateStatusBar();
    // Without the assignments both overviews count anew.
    UpdateSchStat();
    UpdateProStat();
}

void TMainFormHandler::UpdateEintChanged()
{
    const bool both = ProjektData->Anz() > 0 && SchuelerData->Anz() > 0;
    for (QAction* a : {TheMain->AutoEinteilAct, TheMain->DelEintAct, TheMain->DelHandEintAct})
        a->setEnabled(both);
}

void TMainFormHandler::getIcon(int nr, QIcon& VarIcon) const
{
    VarIcon = TheMain->getImageList().value(nr);
}
