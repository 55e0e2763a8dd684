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

TMainFormHandler* MainFormHandler = nullptr;

namespace {

// Lets every pending event run, the posted release of closed windows too.
void processPending()
{
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
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

int TMainFormHandler::proNameColWidth(int gridWidth, int lineWidth)
{
    return gridWidth - 90 - 5 * lineWidth - 22;
}

int TMainFormHandler::schClassColWidth(int gridWidth, int lineWidth)
{
    return gridWidth - 120 - 5 * lineWidth - 22;
}

void TMainFormHandler::SizeOverviewColumns()
{
    TGridWidget* pro = TheMain->ProjekteGrid;
    pro->setColWidth(0, 30);
    pro->setColWidth(1, proNameColWidth(pro->width(), pro->gridLineWidth()));
    pro->setColWidth(2, 30);
    pro->setColWidth(3, 30);

    TGridWidget* sch = TheMain->SchuelerGrid;
    sch->setColWidth(0, schClassColWidth(sch->width(), sch->gridLineWidth()));
    for (int c = 1; c <= 3; ++c)
        sch->setColWidth(c, 40);
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
    TheMain->setPanelText(2, QString::number(SchuelerData->getEintAnz()) + QStringLiteral(" eingeteilt"));
    UpdateEintChanged();
}

void TMainFormHandler::UpdateProStat()
{
    CountEint(*SchuelerData, *ProjektData);
    InitProGrid();
    if (ProjektData->Anz() > 0)
        ProjektData->toOverview(*TheMain->ProjekteGrid);
    TheMain->ProStatAct->setEnabled(ProjektData->Anz() > 0);
}

void TMainFormHandler::UpdateSchStat()
{
    InitSchGrid();
    if (SchuelerData->Anz() > 0)
        SchuelerData->toOverview(*TheMain->SchuelerGrid);
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
