#pragma once
// The view-update hub: whoever changes data calls it afterwards, and it
// brings the status bar, the overview grids, the open editors and the
// enabled state of the commands up to date. It also closes editors by kind.

#include "data/UData.h"

#include <QIcon>

class TMainForm;

class TMainFormHandler {
public:
    explicit TMainFormHandler(TMainForm* TheMain);

    void UpdateStatusBar();
    void UpdateProStat();
    void UpdateSchStat();
    void UpdateProEditors();
    void UpdateSchEditors();
    // The number of open read-only pupil views.
    int GetViewSchEditors() const;
    // Each closes the matching editors from the last to the first, letting
    // pending events run before and after, so closed editors are gone on
    // return. An editor whose close query refuses stays open.
    void UpdateCloseViewSchEditors();
    void UpdateCloseMainSchEditor();
    void UpdateCloseProEditor();
    void UpdateAll();
    // Enables the editor-bound commands for the kind of the active editor
    // (dtUnknown: none is active).
    void NotifyActiveType(TDataType Child, bool Editable);
    void UpdateClearEint();
    void UpdateEintChanged();
    void getIcon(int nr, QIcon& VarIcon) const;

    // Column widths of the overview grids for a grid of the given width.
    static int proNameColWidth(int gridWidth, int lineWidth);
    static int schClassColWidth(int gridWidth, int lineWidth);
    // Sets the overview grids' column widths for their present width.
    void SizeOverviewColumns();

private:
    void InitProGrid();
    void InitSchGrid();
    template <typename Match>
    void CloseEditors(Match match);

    TMainForm* TheMain;
};

// The one hub, created by the main window.
extern TMainFormHandler* MainFormHandler;
