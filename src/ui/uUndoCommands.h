// TUndoCommands: undo and redo of the user's edits in the main window. One QUndoStack per
// open project; the menu "Правка" with "Отменить" and "Повторить" (their texts name the
// command they would undo or redo) and the same two as tool buttons; the project's
// modified state following the stack's clean state.
//
// Every command is a pair of project snapshots (uProjectState.h) with the window's
// selection and panels before and after (uWindowState.h): an edit's side effects — doors
// dropped by a move, the quick recalculation after a sensor moved, a run replacing a
// zone's sensors and record — are in the snapshots whatever the edit did, so an undone
// edit gives back exactly the project as it was, identities included. The window's
// handlers mark where each edit begins and ends and name it; the change itself is found by
// comparing the project with the snapshot taken after the previous command, which costs
// little since unchanged parts are shared.
#pragma once

#include "uProjectState.h"
#include "uWindowState.h"

#include <QObject>
#include <QString>

class QUndoStack;
class TfrmMain;

// The names of the commands, as the menu shows them.
namespace UndoText {
inline const QString Undo = QStringLiteral("Отменить");
inline const QString Redo = QStringLiteral("Повторить");
inline const QString AddZone = QStringLiteral("Создание зоны");
inline const QString MoveZone = QStringLiteral("Перемещение зоны");
inline const QString MoveZones = QStringLiteral("Перемещение зон");
inline const QString ResizeZone = QStringLiteral("Изменение размеров зоны");
inline const QString DeleteZone = QStringLiteral("Удаление зоны");
inline const QString DeleteZones = QStringLiteral("Удаление зон");
inline const QString ZoneParams = QStringLiteral("Изменение параметров зоны");
inline const QString AddSensor = QStringLiteral("Добавление датчика");
inline const QString MoveSensor = QStringLiteral("Перемещение датчика");
inline const QString DeleteSensor = QStringLiteral("Удаление датчика");
inline const QString SensorParams = QStringLiteral("Изменение параметров датчика");
inline const QString PickSpacing = QStringLiteral("Выбор расчетного расстояния");
inline const QString SpacingMode = QStringLiteral("Режим расчетного расстояния");
inline const QString TypedSpacing = QStringLiteral("Ввод расчетного расстояния");
inline const QString QuickRecalc = QStringLiteral("Пересчет ВОП");
inline const QString Scale = QStringLiteral("Изменение масштаба");
inline const QString ProjectParams = QStringLiteral("Изменение параметров проекта");
inline const QString RunVOP = QStringLiteral("Расчет ВОП");
inline const QString RunOptimised = QStringLiteral("Расчет ВОП с оптимизацией");
inline const QString RunNSP = QStringLiteral("Расчет НСП");
inline const QString RunFL = QStringLiteral("Расчет ГН");
inline const QString FireLoads = QStringLiteral("Изменение списка горючих нагрузок");
inline const QString Other = QStringLiteral("Изменение проекта");
} // namespace UndoText

// Created by the main window, which owns it (QObject parent), after its other command
// units; its controls are public members of the window (miEditMenu, miUndo, miRedo,
// btnUndo, btnRedo).
//
// Edits are marked in one of two ways. A handler that makes its change at once opens an
// edit with BeginEdit and closes it with EndEdit (TUndoEdit does both); edits opened while
// another is open join it, and only the outermost closing takes the change as a command,
// under the outermost name. A press on the plan opens a drag (BeginPress … EndPress around
// the press handler, which may make changes of its own), and the release closes it with
// EndDrag, naming it after what the drag did: every step in between is one command. A drag
// left open (a release that never came) is closed by the next edit, undo, redo or save.
class TUndoCommands : public QObject {
    Q_OBJECT
public:
    explicit TUndoCommands(TfrmMain* main);
    ~TUndoCommands() override;

    QUndoStack* Stack() const { return FStack; }

    // --- the project's life ------------------------------------------------------------
    // A project was created (saved = false: it is modified until first saved) or opened
    // (saved = true): an empty stack, whose clean state is the project as it is now.
    void ProjectOpened(bool saved);
    // The project was closed: the stack is emptied.
    void ProjectClosed();
    // Called before the project is written: any change not yet a command becomes one.
    void BeforeSave();
    // Called once the project was written: the stack's clean state is now.
    void ProjectSaved();

    // --- marking edits -----------------------------------------------------------------
    void BeginEdit(const QString& name);
    void EndEdit();
    // Renames the open edit (the outermost one), for a handler that learns late what it did.
    void SetEditName(const QString& name);
    void BeginPress();
    void EndPress();
    // Closes the open drag, if any, as the command `name` (when it changed anything).
    void EndDrag(const QString& name);
    // Takes changes that are no edit of the user's (a report writing its record) into the
    // known state without a command; an open drag or edit is closed first.
    void Absorb();
    // Any change not yet a command becomes one, under UndoText::Other (a project changed
    // by something that marked no edit); an open drag is closed under its own name.
    void Flush();

    // --- the commands ------------------------------------------------------------------
    // Undo and redo as the menu items do them: an open drag is closed first.
    void Undo();
    void Redo();

    // Puts the project and the window into a command's state; for the commands only.
    void Apply(const TProjectState& project, const TWindowState& window);

private:
    TfrmMain* M;
    QUndoStack* FStack;
    TProjectState FKnown; // the project as the last command, restore or opening left it
    int FDepth = 0; // open BeginEdit calls
    QString FEditName;
    TWindowState FEditBefore;
    bool FDragOpen = false;
    bool FPressing = false;
    bool FResetting = false; // the stack is being emptied: its signals change nothing
    QString FDragName;
    bool FDragNamed = false; // FDragName set by the release (EndDrag)
    TWindowState FDragBefore;

    // Empties the stack and forgets any open edit.
    void Reset();
    // Takes the change since FKnown as the command `name` with the window before it.
    void Take(const QString& name, const TWindowState& before);
    void CloseDrag();
    // The modified flag from the clean state; miSave and the actions' texts.
    void UpdateModified();
    void UpdateActions();
};

// Marks one edit for the length of a scope (BeginEdit … EndEdit); does nothing without
// the window's undo commands.
class TUndoEdit {
public:
    TUndoEdit(TfrmMain* main, const QString& name);
    ~TUndoEdit();
    TUndoEdit(const TUndoEdit&) = delete;
    TUndoEdit& operator=(const TUndoEdit&) = delete;
    // Renames the edit (SetEditName).
    void Rename(const QString& name);

private:
    TUndoCommands* FUndo;
};
