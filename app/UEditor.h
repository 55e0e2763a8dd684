#pragma once
// The record editor: a child window of the main window showing one record
// container in a grid, row 0 the column captions, row i record i. Either
// the editable editor of a data kind (over ProjektData or SchuelerData) or
// a read-only view over a pupil list of its own.

#include "data/UData.h"

#include <QIcon>
#include <QMdiSubWindow>
#include <QString>

#include <memory>

class TGridWidget;
class TMainForm;
class TMainFormHandler;
class TSchPro;
class TSchuelerData;

// The kind of the last key pressed in the grid.
enum tMoveType { mrNone, mrTab, mrShiftTab, mrLeft, mrRight, mrEnde, mrPos1, mrStrEnde, mrStrPos1 };

class TEditor : public QMdiSubWindow {
    Q_OBJECT

public:
    // Opens the editor in AOwner's client area; it becomes the active child
    // window. Data is not owned.
    TEditor(TMainForm* AOwner, TMainFormHandler* AHandler, TData* Data, bool Editing, const QString& Cap);
    // A read-only view that owns View, the list object, but none of its
    // pupils. Closing the view frees the list at once, and with it only the
    // empty pupil that the view made for an empty list.
    TEditor(TMainForm* AOwner, TMainFormHandler* AHandler, std::unique_ptr<TSchuelerData> View, const QString& Cap);
    ~TEditor() override;

    void SetFNCaption(const QString& cap);
    TDataType getDataType() const;
    // Reloads every row from the container and forgets the cell backup.
    void UpdateData();
    bool Editable() const;
    TData* getData() const { return Data; }
    // The record of the grid's current row.
    TSchPro* getCurrentItem() const;
    void resetBackup();

    // Editing commands of the main window; it calls them only while no cell
    // is being edited.
    void InsertAtCurrentPos();
    void InsertAtEnd();
    void DeleteCurrentPOS();
    // Movement mode, pupil editors only: the four columns before "fest" stay
    // visible but cannot be selected.
    void ChangeBewegMode();
    bool getBewegMode() const { return BewegMode; }
    // Sorts a pupil editor's list; the caller lets the hub reload.
    void Sort(TSortCritType SortBy);
    // Manual placement i (0 to 5) of the pupil in the current row.
    void setCurrentHand(int i);
    // A view over the pupils assigned to project nr: its caption names the
    // project and follows its number when projects are inserted or deleted.
    void setProjektView(int nr);
    // The projects from pos on were renumbered by delta (+1: one was
    // inserted at pos; -1: project pos went).
    void MoveProjektRefs(int pos, int delta);

    TGridWidget* grid() const { return Grid; }
    // The close query alone, without closing: true when the editor may go.
    bool FormCloseQuery();
    // Stores a cell still being edited, as if the grid lost the focus.
    void commitEdit();
    // Runs when the editor becomes the active child window.
    void FormActivate();
    // The main window's client area changed from oldArea to area: an edge
    // of the window that reached the old area's edge follows the new one,
    // and the window never reaches past the area, so its frame shows whole.
    void fitClientArea(const QSize& oldArea, const QSize& area);
    // True once the editor's close handling ran; it is on its way out.
    bool isClosed() const { return FClosed; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    TEditor(TMainForm* AOwner, TMainFormHandler* AHandler, TData* Data, bool Editing, const QString& Cap,
            std::unique_ptr<TSchuelerData>&& View);
    void SetData(TData* AData);   // and reloads every row
    void FillGrid();
    void ShowRow(int i);
    void FormClose();
    void placeInClientArea();
    // The status bar and both overviews after a row came or went; after a
    // project insert or delete the pupils' windows too.
    void UpdateOverview();
    // Frees a view's own list (and the empty pupil it made); the editor
    // holds no data afterwards.
    void releaseView();

    // Grid events.
    void GridGetEditText(int ACol, int ARow, QString& Value);
    // Text typed into the cell editor.
    void GridSetEditText(int ACol, int ARow);
    void GridSelectCell(int ACol, int ARow, bool& CanSelect);
    // The current cell moved, by any road: the status panel follows its row.
    void GridCurrentChanged(int ARow);
    void GridKeyDown(int Key, Qt::KeyboardModifiers Shift);
    void GridExit();
    // Parses grid row `row` into its record; false when the record refused
    // it, which forgets the backup. Either way the row shows the record
    // afterwards.
    bool StoreRow(int row);
    bool InsertAtPos(int pos);
    // False, after saying so, when the project list is full.
    bool RoomForInsert();
    bool PrepareInsDel(int delta);
    // The move on from the "Projekt" column that the last key asks for;
    // false when it asks for none.
    bool moveOffProjekt(int ACol, int ARow);
    // The status panel that tells the current row.
    void showRowPanel(int ARow);
    // The status panel that names the project under a choice cell.
    void showChoicePanel(int ACol, int ARow);

    TGridWidget* Grid = nullptr;
    bool Editing = false;
    TMainFormHandler* MyHandler = nullptr;
    TMainForm* MyOwner = nullptr;
    TData* Data = nullptr;
    TDataType DataType = dtUnknown;
    std::unique_ptr<TSchuelerData> FViewList;   // a view's own list
    TSchPro* FPhantom = nullptr;                // the empty pupil a view made itself
    bool BewegMode = false;
    int FProjektNr = -1;                        // the project a view shows; -1 none
    QString BackupStr;
    int BackupX = -1;
    int BackupY = -1;
    tMoveType MoveRequest = mrNone;
    QIcon MyIcon;
    bool FClosed = false;
};
