// TfrmMain: the main window — the frame of the application. It owns the open project, the
// reference database connection and the plan bitmaps, keeps the shell state the other
// parts of the program share (current file, zone, sensor, sensor number), builds the
// menus, tool bars, property panel and status bar, and runs the project commands: New,
// Open, Save, Save As, Close, project parameters and Exit. Its calculation commands are
// carried out by TCalcCommands (uCalcCommands.h), its report commands by TReportCommands
// (uReportCommands.h), the results file, the verdicts and the summary of the zones by
// TResultsCommands (uResultsCommands.h), undo and redo by TUndoCommands (uUndoCommands.h),
// the zoom and panning of the plan by TPlanZoom (uZoom.h).
#pragma once

#include "uPlanCanvas.h"

#include <QImage>
#include <QMainWindow>
#include <QStringList>
#include <memory>

class QAction;
class QActionGroup;
class QDockWidget;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QRadioButton;
class QScrollArea;
class QStatusBar;
class QTableWidget;
class QToolBar;
class QToolButton;
class TCalcCommands;
class TFireProject;
class TFloatSpinEdit;
class TPaintBox;
class TPlanEditor;
class TPlanZoom;
class TReportCommands;
class TResultsCommands;
class TRoom;
class TSensor;
class TSQLiteDatabase;
class TUndoCommands;

// How the main window starts; the defaults are those of the program.
struct TMainWindowOptions {
    // The reference database file; empty: the program's default (kvr.db beside the
    // executable, or in the user's data folder when that folder cannot be written).
    QString DatabaseFileName;
    // The command-line arguments after the program name; the first, when it names an
    // existing file, is opened as a project.
    QStringList Arguments;
    // Take Arguments from QCoreApplication::arguments() instead.
    bool UseApplicationArguments = true;
};

// The project commands ask and report through the prompts service (uPrompts.h). Every
// state change of the project passes through CloseProject, so at most one project exists
// and the current zone and sensor never outlive it. Controls carry their names as Qt
// object names; the other units of the user interface reach them through the public
// members below.
class TfrmMain : public QMainWindow {
    Q_OBJECT
    friend class TPlanEditor;

public:
    explicit TfrmMain(const TMainWindowOptions& options = TMainWindowOptions(), QWidget* parent = nullptr);
    ~TfrmMain() override;

    // --- shell state ---------------------------------------------------------------
    std::unique_ptr<TFireProject> FP;       // the open project; null when none
    std::unique_ptr<TSQLiteDatabase> sldb;  // the reference database; null if it failed to open
    QString DatabaseFileName;               // the file sldb was opened on
    QString CurrentProjectFile;             // empty for a project never saved or opened
    TRoom* CurrentRoom = nullptr;           // set by the plan editor
    int CurrentRoomID = -1;                 // -1: none
    TSensor* CurrentSensor = nullptr;       // set by the plan editor
    int SensorNumber = 0;                   // new sensors are named SensorNumber + 1, ...
    QImage bmpPlan;                         // off-screen plan picture (the renderer draws here)
    TPlanView PlanShown; // what bmpPlan shows: the whole plan, or the zoomed part in view
    QImage bmpDrag;                         // the plan editor's overlay picture
    QImage bmpLogo;                         // the start logo
    TPlanEditor* PlanEditor = nullptr;      // the mouse handling of the plan (owned by this window)
    TCalcCommands* CalcCommands = nullptr;  // the calculation runs (owned by this window)
    TReportCommands* ReportCommands = nullptr; // the report commands (owned by this window)
    TResultsCommands* ResultsCommands = nullptr; // results file, verdicts, summary (owned)
    TPlanZoom* Zoom = nullptr; // zoom and panning of the plan (owned)
    TUndoCommands* UndoCommands = nullptr; // undo and redo of the edits (owned)

    // --- menus ---------------------------------------------------------------------
    QMenu* miProjectMenu;
    QAction* miNew;
    QAction* miOpen;
    QAction* miSave;
    QAction* miSaveAs;
    QAction* miClose;
    QAction* miProjectParams;
    QAction* miExit;
    QMenu* miEditMenu = nullptr; // "Правка"
    QAction* miUndo = nullptr; // "Отменить", names the command it undoes
    QAction* miRedo = nullptr; // "Повторить", names the command it redoes
    QMenu* miViewMenu;
    QAction* miZoomIn = nullptr; // "Увеличить"
    QAction* miZoomOut = nullptr; // "Уменьшить"
    QAction* miZoom100 = nullptr; // "Масштаб 1:1"
    QAction* miZoomFit = nullptr; // "По размеру окна"
    QAction* miShowRoomsInfo;
    QAction* miShowBgImage;
    QAction* miShowScale;
    QAction* miTransparentRooms;
    QAction* miShowLControl = nullptr; // "Панель расчетного расстояния": shows tbLControl
    QAction* miShowZoneVerdicts = nullptr; // "Итоги по зонам": the verdict tint of the plan
    QAction* miShowSummary = nullptr;      // "Сводка по зонам": shows dockSummary
    QMenu* miToolBars;          // hidden submenu "Панели инструментов"
    QAction* miToolBarsItem;    // its entry in the View menu
    QAction* miToolBarProject;
    QAction* miToolBarEdit;
    QMenu* miDatabaseMenu;
    QAction* miEditDatabase;
    QMenu* miHelpMenu;
    QAction* miUserGuide;       // hidden, no action
    QAction* miAbout;

    // --- tool bars -----------------------------------------------------------------
    QWidget* ControlBar;
    QToolBar* tbProject;
    QToolButton* btnNewProject;
    QToolButton* btnOpenProject;
    QToolButton* btnSaveProject;
    QToolButton* btnUndo = nullptr; // miUndo's button
    QToolButton* btnRedo = nullptr; // miRedo's button
    QToolButton* btnEditDatabase;
    QToolBar* tbEdit;
    QToolButton* btnZoneEdit;
    QToolButton* btnSensorsEdit;
    QToolButton* btnCalc;
    QMenu* pmCalc;
    QAction* N5;                  // "Расчитать ГН"
    QAction* pmiCalc;             // "Расчитать ВОП с оптимизацией", hidden
    QAction* pmiCalcSimple;       // "Расчитать ВОП"
    QAction* pmiCalcInitialStage; // "Расчитать НСП"
    QToolButton* btnReport;
    QMenu* pmReports;
    QAction* N3;                  // "Создать отчет по ВОП с оптимизацией", hidden
    QAction* pmiReportSimple;
    QAction* pmiReportNSP;
    QAction* pmiReportG;
    QAction* pmiReportSummary = nullptr; // "Сводный отчет по проекту"
    QToolBar* tbLControl;         // spacing mode, hidden
    QToolButton* btnManualL;
    QToolButton* btnAutoL;
    TFloatSpinEdit* seManualL;

    // --- plan ----------------------------------------------------------------------
    QScrollArea* ScrollBox;
    TPaintBox* pb;

    // --- property panel ------------------------------------------------------------
    QWidget* pnlProperties;
    QGroupBox* pnlRoomParams;
    QLineEdit* edtRpName;
    QPushButton* btn5;
    TFloatSpinEdit* seRpLength;
    TFloatSpinEdit* seRpWidth;
    TFloatSpinEdit* seRpHeight;
    QPushButton* btnRpSave;
    QPushButton* btnRpCancel;
    QPushButton* btnRpDelete;
    QPushButton* btnZoneCalcVOP;
    QPushButton* btnZoneCalcNSP;
    QPushButton* btnCalcFL;
    QFrame* pnlIndicatorVOP;
    QFrame* pnlIndicatorNSP;
    QFrame* pnlIndicatorFL;
    QPushButton* btnReportVOP;
    QPushButton* btnReportNSP;
    QPushButton* btnReportG;
    QFrame* pnlCalcResult;
    QLabel* lblRes1Header;
    QLabel* lblRes1;
    QLabel* lblRes2Header;
    QLabel* lblRes2;
    QLabel* lblResVerdict = nullptr; // the zone's verdict
    QLabel* lblResStale = nullptr;   // red: the zone changed after its calculation
    QGroupBox* pnlSensorParams;
    QLineEdit* edtSName;
    QRadioButton* rbSTypeTemperature;
    QRadioButton* rbSTypeSmoke;
    QLabel* lblSHeight;
    TFloatSpinEdit* seSHeight;
    QLabel* lblSWorkTemperature;
    TFloatSpinEdit* seSWorkTemperature;
    QPushButton* btnSSave;
    QPushButton* btnSCancel;
    QPushButton* btnSDelete;

    // --- summary of the zones --------------------------------------------------------
    QDockWidget* dockSummary = nullptr; // "Сводка по зонам", hidden at start
    QTableWidget* tblSummary = nullptr;

    // --- status bar ----------------------------------------------------------------
    QStatusBar* sb;
    QLabel* sbPanel0; // the results' panel, 350 pixels wide
    QLabel* sbZoom = nullptr; // the zoom, at the right

    // The product name, in captions and message titles.
    static QString ProductName();

    // --- operations ----------------------------------------------------------------
    // Closes the open project, asking first whether to save a modified one ("Yes" saves,
    // and for a project without a file asks for one; a save that does not happen keeps
    // the project open). Afterwards the window is in the no-project state. Answers false
    // only when the project stays open.
    bool CloseProject();
    // Opens a project file; an empty name asks for one. Answers false when the user
    // cancels the file dialog or the closing of the open project, true otherwise (also
    // after a reported load failure, which leaves no project open).
    bool LoadProject(const QString& AFileName);
    // Enables or disables miSave, miSaveAs, miClose and miProjectParams.
    void MenuItemsEnabling(bool AEnabled);
    // true: the paint box fills the scroll box (the logo); false: it sits at the top-left
    // corner at the size of the plan picture.
    void LogoVisible(bool AVisible);
    // Sets the text of status-bar panel APanel (only panel 0 exists); a hint shown by
    // ShowHint gives way to it.
    void sbText(const QString& AText, int APanel = 0);
    // Shows a one-line hint across the status bar until the next sbText replaces it (the
    // status tips of the tool buttons show over it while the pointer is on them).
    void ShowHint(const QString& AText);
    // The plan editor's hint for the current editing mode (ShowHint).
    void ShowModeHint();
    // Shows APanel (pnlRoomParams or pnlSensorParams) alone in the property panel;
    // nullptr hides the property panel.
    void ShowPanel(QWidget* APanel);
    // Draws the plan at once: the logo with no project, otherwise the project through its
    // renderer into bmpPlan (the whole plan at 100 %, else the part in view at the zoom,
    // PlanShown), which is then shown where it belongs.
    void Repaint();
    // Shows `overlay` (normally bmpDrag, drawn for PlanShown) on the paint box at once,
    // instead of bmpPlan.
    void ShowOverlay(const QImage& overlay);
    // Sets the caption from the open project's name, "Тесворн" with none.
    void UpdateCaption();

    // --- command handlers ------------------------------------------------------------
    void miNewClick();
    void miOpenClick();
    void miSaveClick();
    void miSaveAsClick();
    void miCloseClick();
    void miExitClick();
    void miProjectParamsClick();
    void miEditDatabaseClick(); // the database editor, also from btnEditDatabase
    void miAboutClick();

    // --- calculation commands (defined in uCalcCommands.cpp) ---------------------------
    // The four runs on the current zone: standard, with optimisation, initial stage and
    // fire load. Each answers true when the run was made (TCalcCommands).
    bool CalcVOP();
    bool Calc();
    bool CalcInitialStage();
    bool CalcFL();
    // Rewrites the result panel from the current zone (hidden when there is none).
    void ShowCalcResult();
    // The items of pmCalc, in its order.
    void N5Click();                  // "Расчитать ГН": CalcFL
    void pmiCalcClick();             // "Расчитать ВОП с оптимизацией" (hidden): Calc
    void pmiCalcSimpleClick();       // "Расчитать ВОП": CalcVOP
    void pmiCalcInitialStageClick(); // "Расчитать НСП": CalcInitialStage

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildMenus();
    void BuildToolBars();
    void BuildPropertyPanel();
    void FormCreate(const TMainWindowOptions& options);
    void pbPaint();
    void pbDblClickNoProject();
    // Runs Save As until the project is written or the user gives up; true when written.
    bool SaveAsLoop();
    bool WriteProject(const QString& fileName);
    void SizePlanBitmaps();

    QString FHint; // the hint ShowHint shows, until sbText replaces it
};
