#pragma once
// The main window: a multiple-document frame with tool bar, status bar,
// the overview panel on the right and the editor windows in the client
// area; the file commands and the shut-down, which offers every modified
// list for saving.

#include "data/UData.h"
#include "data/UGlobals.h"
#include "platform/UUi.h"

#include <QIcon>
#include <QKeySequence>
#include <QList>
#include <QMainWindow>
#include <QPointer>
#include <QRect>

#include <functional>

class QAbstractButton;
class QAction;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QTabWidget;
class QToolBar;
class QToolButton;
class QWidget;
class TEditor;
class TGridWidget;
class TMainFormHandler;

class TMainForm : public QMainWindow {
    Q_OBJECT

public:
    explicit TMainForm(QWidget* parent = nullptr);
    ~TMainForm() override;

    // Size rules for the editor windows.
    int getEditorWidth() const;
    int getEditorHeight() const;
    // The window's place when it is shown: 50,50 and the screen less 100.
    static QRect mainGeometry(const QSize& screen);
    const QList<QIcon>& getImageList() const { return ToolImages; }

    // Status bar panels 0 to 4.
    QString panelText(int i) const;
    void setPanelText(int i, const QString& text);

    // The editor windows in the window system's order, and the active one.
    QList<TEditor*> editors() const;
    TEditor* activeEditor() const;
    void activateEditor(TEditor* editor);
    void activateNextEditor();
    QMdiArea* clientArea() const { return ClientArea; }

    // Asked before data of the given kinds is discarded; true lets the
    // caller go on.
    bool SaveUnsaved(TDataTypeSet Data);
    // Asked before the list of a kind is emptied as closing its editable
    // editor empties it: SaveUnsaved for the kind, for the projects also
    // for an unsaved assignment result, which emptying them clears.
    bool SaveUnsavedBeforeClear(TDataType DType);
    // Brings the editable editor of a kind to the front, creating it when
    // none exists.
    void ActivateEditor(TDataType DType);
    // Saves the list of the active editor window.
    void SaveCurrent(bool newname);
    // Writes one list; true when it was written.
    bool SaveDialog(TFileType FType, TData& Database, bool newname);
    // Reads the chosen files of one kind into Database.
    void OpenDialog(TFileType FType, TData& Database);

    // Command handlers.
    void NewActExecute();
    void OpenActExecute();
    void OpenProActExecute();
    void OpenWahlActExecute();
    void OpenEintActExecute();
    void SaveActExecute();
    void SaveAsActExecute();
    void ImportActExecute();
    void QuitActExecute();
    void ActivateProActExecute();
    void ActivateSchActExecute();
    void ShowOverviewActExecute();
    void AutoEinteilActExecute();
    void DeleteEintActExecute();
    void HandEintActExecute();
    void DelHandEintActExecute();
    void ProStatActExecute();
    void ProStatButClick();
    void SchStatActExecute();
    void SchStatButClick();
    void mDMessageWinClick();
    void mDMemoryClick();
    void mDVerifyClick();
    void HelpActExecute();
    void InfoActExecute();
    void PrintActExecute();
    void ExportActExecute();
    void InsertHereActExecute();
    void InsertEndActExecute();
    void DeleteActExecute();
    void BewegModeActExecute();
    void mBSortNClick();
    void mBSortKlClick();
    void mbSortPNClick();
    void mBSortPKlClick();
    void NextWinActExecute();
    void ArrangeActExecute();
    void ProjekteGridEnter();
    void SchuelerGridEnter();
    void UebersichtChange();
    void AuszugActExecute();
    void ProShowButClick();
    void ProjekteGridDblClick();
    void SchShowButClick();
    void SchuelerGridDblClick();
    void SearchActExecute();
    // F6: the focus from the editor area to the overview and back to the
    // active editor's grid.
    void SwitchPane();

    // Every command goes through here: a cell still being edited in any
    // editor is stored first, so the command sees what was typed.
    void runCommand(const std::function<void()>& command);
    void bindCommand(QAction* action, void (TMainForm::*handler)());
    void bindCommand(QAbstractButton* button, void (TMainForm::*handler)());
    // A double click into a grid, and a grid receiving the focus.
    void bindDblClick(TGridWidget* grid, void (TMainForm::*handler)());
    void bindEnter(TGridWidget* grid, void (TMainForm::*handler)());
    void storeOpenEdits();

    // The shortcut keys that a cell editor keeps from the commands: they
    // neither edit the text nor start a command while a cell is edited.
    QList<QKeySequence> cellEditorReservedKeys() const;
    // "&Anordnen" is enabled while there is at least one editor window.
    void UpdateArrangeAct();

    // Controls, reached by the hub and the editors.
    QToolBar* ToolBar = nullptr;
    QTabWidget* Uebersicht = nullptr;
    QWidget* ProjekteTab = nullptr;
    QWidget* SchuelerTab = nullptr;
    TGridWidget* ProjekteGrid = nullptr;
    TGridWidget* SchuelerGrid = nullptr;
    QToolButton* ProStatBut = nullptr;
    QToolButton* SchStatBut = nullptr;
    QMenu* ChooseFTypePopUp = nullptr;
    QMenu* mmBInsert = nullptr;
    QMenu* mmBSort = nullptr;
    QAction* mAShowUebers = nullptr;
    QMenu* mAnsicht = nullptr;
    QMenu* mmDebug = nullptr;
    QAction* mBSortN = nullptr;
    QAction* mBSortKl = nullptr;
    QAction* mbSortPN = nullptr;
    QAction* mBSortPKl = nullptr;
    QAction* mDMessageWin = nullptr;
    QAction* mDMemory = nullptr;
    QAction* mDVerify = nullptr;
    // The export file dialog: it keeps its folder, file name and filter
    // position from one export to the next.
    TFileDialogSpec ExportFNDialog;

    // Actions.
    QAction* NewAct = nullptr;
    QAction* OpenAct = nullptr;
    QAction* OpenProAct = nullptr;
    QAction* OpenWahlAct = nullptr;
    QAction* OpenEintAct = nullptr;
    QAction* SaveAct = nullptr;
    QAction* SaveAsAct = nullptr;
    QAction* ImportAct = nullptr;
    QAction* ExportAct = nullptr;
    QAction* PrintAct = nullptr;
    QAction* QuitAct = nullptr;
    QAction* ActivateProAct = nullptr;
    QAction* ActivateSchAct = nullptr;
    QAction* InsertHereAct = nullptr;
    QAction* InsertEndAct = nullptr;
    QAction* DeleteAct = nullptr;
    QAction* SearchAct = nullptr;
    QAction* BewegModeAct = nullptr;
    QAction* AuszugAct = nullptr;
    QAction* AutoEinteilAct = nullptr;
    QAction* DelEintAct = nullptr;
    QAction* HandEintAct = nullptr;
    QAction* DelHandEintAct = nullptr;
    QAction* SchStatAct = nullptr;
    QAction* ProStatAct = nullptr;
    QAction* ShowOverviewAct = nullptr;
    QAction* ArrangeAct = nullptr;
    QAction* NextWinAct = nullptr;
    QAction* HelpAct = nullptr;
    QAction* InfoAct = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormCreate();
    void FormShow();
    void buildImages();
    void buildActions();
    void buildMenus();
    void buildToolBar();
    void buildStatusBar();
    void buildOverview();
    QWidget* buildOverviewPage(const QString& name, const QString& caption, TGridWidget*& grid,
                               const QString& barName, const QString& statName,
                               const QString& showName, int helpContext);
    void subWindowActivated(QMdiSubWindow* window);
    // The client area changed its size: every editor fits it again.
    void fitEditors(const QSize& oldSize, const QSize& size);
    // A handler run as a command (runCommand).
    std::function<void()> asCommand(void (TMainForm::*handler)());
    // The open road of a pupil file kind, with its question and refreshes.
    void openPupils(TFileType FType);
    // After "&Neu" asked the editable editor of a kind to close: a list that
    // no such editor shows is taken as that editor's closing would take it.
    // False when the editor or the question refused.
    bool clearListNoEditorShows(TDataType DType);
    // The file name of list in the caption of its kind's editable editor.
    void showFileName(TDataType kind, const TData& list);
    // The active editor, when it is not editing a cell.
    TEditor* idleActiveEditor() const;
    void sortActive(TSortCritType SortBy);
    // Sorts the active pupil list again by its own criterion, as the sort
    // menu does: assignments changed since keep no order of themselves.
    void resortActive();
    // The window menu's list of the editor windows, made when it opens.
    void fillWindowMenu();

    QMdiArea* ClientArea = nullptr;
    QList<QLabel*> FPanels;
    QList<QIcon> ToolImages;
    QList<QAction*> FWindowItems;
    QPointer<TEditor> FLastActivated;
    // Kinds whose unsaved data the user has already answered for in the
    // running command: SaveUnsaved passes them without a question.
    TDataTypeSet FAnswered;
};

// The main window, created first at start-up.
extern TMainForm* MainForm;

// Creates the program's windows in their start-up order.
void CreateForms();
// Destroys them again (the end of a test; the program leaves it to the exit).
void DestroyForms();
