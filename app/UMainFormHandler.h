#pragma once
// The view-update hub: whoever changes data calls it afterwards, and it
// brings the status bar, the overview grids, the open editors and the
// enabled state of the commands up to date. It also closes editors by kind.

#include "data/UData.h"

#include <QIcon>

class TEditor;
class TMainForm;

class TMainFormHandler {
public:
    explicit TMainFormHandler(TMainForm* TheMain);

    void UpdateStatusBar();
    void UpdateProStat();
    void UpdateSchStat();
    void UpdateProEditors();
    void UpdateSchEditors();
    // The status bar and both overviews, which count the records.
    void UpdateCounts();
    // A row of From was stored: the status bar, both overviews and the
    // other editors of its kind show it.
    void UpdateRowStored(const TEditor& From);
    // The projects from pos on were renumbered by delta: the project views
    // follow their project.
    void UpdateMoveProjektRefs(int pos, int delta);
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
    // Empties a list as closing its editable editor does: for pupils every
    // read-only view closes first; every assignment is removed, the list
    // emptied, and the status bar and both overviews show it.
    void UpdateClearData(TData& Data);
    void UpdateEintChanged();
    void getIcon(int nr, QIcon& VarIcon) const;

    // The width of the overview grids' name and class columns for a grid of
    // the given width, beside other columns that take `others` together.
    static int proNameColWidth(int gridWidth, int lineWidth, int others = 3 * ProColWidth);
    static int schClassColWidth(int gridWidth, int lineWidth, int others = 3 * SchColWidth);
    // Sets the overview grids' column widths for their present width: every
    // column at least its standard width, and wide enough for its caption
    // and its widest text in the font in use, the name column only as far
    // as the overview panel stays within a third of the main window. The
    // panel grows when a column needs it.
    void SizeOverviewColumns();

    static constexpr int ProColWidth = 30;   // "Nr", "Anz", "+/-"
    static constexpr int SchColWidth = 40;   // "Schüler", "Einget.", "Erstw."
    static constexpr int OverviewWidth = 200;

private:
    void InitProGrid();
    void InitSchGrid();
    template <typename Match>
    void CloseEditors(Match match);

    TMainForm* TheMain;
};

// The one hub, created by the main window.
extern TMainFormHandler* MainFormHandler;
