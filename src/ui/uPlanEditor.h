// TPlanEditor: the main window's interaction with the plan. It turns mouse events on the
// paint box into model operations - drawing, selecting, moving and resizing zones,
// placing and dragging sensors - keeps the zone and sensor panels in step with the
// current zone and sensor, sets the plan scale from a zone's known length, runs the quick
// recalculation whenever sensors move, and handles the View menu.
#pragma once

#include <QObject>
#include <QPoint>
#include <QString>

class QImage;
class TfrmMain;
class TRoom;
class TSensor;

// What a left press in zone mode started; kept until the next release.
enum class TDragKind { None, Create, Move, ResizeLeft, ResizeRight, ResizeTop, ResizeBottom };

// Created by the main window, which owns it (QObject parent) and whose shell state it
// works on: FP, CurrentRoom, CurrentRoomID, CurrentSensor, SensorNumber, bmpPlan and
// bmpDrag. Every handler does nothing while no project is open, except the double click,
// which the main window turns into "Открыть". The editor writes the screen only through
// TfrmMain::Repaint (the whole plan) and TfrmMain::ShowOverlay (the whole drag picture).
//
// Guarantees beyond a literal reading of the mouse rules keep the model sound: a resize
// step that would leave a zone without width or height is refused; sensors are kept
// inside their zone when the zone shrinks (the sensor follows the wall); a zone being
// drawn or resized stays on the plan (its edges stop at the plan's last pixel row and
// column, so nothing is cut off unseen); only the left button's double click places a
// sensor; and the current zone and sensor are forgotten before anything deletes them.
class TPlanEditor : public QObject {
    Q_OBJECT
public:
    explicit TPlanEditor(TfrmMain* main);

    // --- editor state ---------------------------------------------------------------
    QPoint PressPoint;                    // last press; follows the pointer while dragging
    TDragKind DragKind = TDragKind::None; // zone mode only
    bool SensorDrag = false;              // sensor mode: from a press to the next release

    // True while "Редактировать зон" is down (otherwise sensor mode).
    bool ZoneMode() const;
    // The one-line status-bar hint of a mode: what the mouse does in it.
    static QString ModeHint(bool zoneMode);
    // Shows the hint of the current mode in the status bar (TfrmMain::ShowHint); run when
    // a mode button is clicked and when a project is created or opened.
    void ShowModeHint();

    // --- paint box events (plan pixels) ---------------------------------------------
    void pbMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint pos);
    void pbMouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, QPoint pos);
    void pbMouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint pos);
    void pbDblClick(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint pos);

    // Makes `room` the current zone as a click on it in zone mode does, without starting a
    // drag: the zone selected alone, no current sensor, the spacing mode of its result,
    // its panel shown and filled, the result panel; the plan scrolls to show the zone.
    // Nothing without a project or for a zone not of the open project.
    void SelectRoom(TRoom* room);
    // Ends any drag at once, as a release would but without acting (undo and redo use it).
    void EndDrag();
    // The name of the edit the drag since the last press has made so far, for the menu
    // (UndoText): a move or resize of zones, a sensor moved or a spacing picked, else the
    // quick recalculation a press on a zone with a result makes.
    QString DragEditName() const;

    // --- zone panel -----------------------------------------------------------------
    // Fills the panel from the current zone (metres with a scale, pixels without) and
    // disables Apply/Cancel. False without a project or a current zone.
    bool ReadCurrentRoomParams();
    // Stores the panel into the current zone: name, height, and the size through
    // SetRoomSize (which may refuse). A field whose text is still the one the panel was
    // filled with keeps the zone's exact pixel value, so Apply on an unchanged panel
    // changes nothing even where metres rounded to 0.1 cannot express the pixels.
    bool WriteCurrentRoomParams();
    void btnRpSaveClick();
    void btnRpCancelClick();
    // Deletes every selected zone and forgets the current zone and sensor.
    void btnRpDeleteClick();
    void edtRpNameChange();

    // --- sensor panel ---------------------------------------------------------------
    bool ReadCurrentSensorParams();
    bool WriteCurrentSensorParams();
    void btnSSaveClick();
    void btnSCancelClick();
    void btnSDeleteClick();
    void edtSNameChange();

    // "Задать масштаб": the scale from the current zone's known length.
    void btn5Click();

    // --- View menu ------------------------------------------------------------------
    void miShowRoomsInfoClick();
    void miShowBgImageClick();
    void miShowScaleClick();
    void miTransparentRoomsClick();
    void miToolBarProjectClick();
    void miToolBarEditClick();

    // The quick recalculation of the current zone after its sensors changed: nothing
    // unless the zone has a detection-time result; otherwise the spacing is measured (or
    // taken from the manual field), the detection time recomputed and shown in the status
    // bar, and, unless AFromField, the spacing written into the manual field.
    void RecalcVOP(bool AFromField);

    // Shows the spacing mode of `room` (with a detection-time result) in btnManualL /
    // btnAutoL and seManualL, its spacing in the field, recalculating nothing.
    void ShowSpacingMode(const TRoom* room);
    // The spacing mode of the current zone, from the pressed one of btnManualL / btnAutoL:
    // the manual field becomes editable (white) in manual mode and read-only otherwise,
    // then the zone is recalculated and the plan repainted. Nothing without a current zone.
    void btnAutoLClick();
    // Every key release in seManualL recalculates a zone with a result from the typed
    // spacing (unless the field is empty) and refreshes the result panel.
    void seManualLKeyUp();

private:
    TfrmMain* M;
    // What the drag since the last press did, to name it as an edit.
    bool FZoneChanged = false;
    bool FSensorMoved = false;
    bool FSpacingPicked = false;
    // Panel texts as last filled, to tell edited fields from untouched ones.
    QString FReadLength, FReadWidth, FReadHeight, FReadSensorHeight, FReadSensorTemperature;

    // The current sensor when it still belongs to the open project; otherwise clears it.
    TSensor* LiveCurrentSensor();
    // The current zone when it still belongs to the open project; otherwise clears it.
    TRoom* LiveCurrentRoom();
    void ZoneMove(Qt::KeyboardModifiers modifiers, QPoint pos);
    void SensorMove(Qt::KeyboardModifiers modifiers, QPoint pos);
    void DebugView(TRoom* room, TSensor* sensor);
    void SpacingPick(TRoom* room, TSensor* sensor, QPoint pos);
    void ResizeStep(QPoint pos);
    // pos held to the plan's pixels, 0 … Width - 1 and 0 … Height - 1.
    QPoint InsidePlan(QPoint pos) const;
    void UpdateCursor(QPoint pos);
    // Moves every sensor of the zone back inside its rectangle (after a zone shrank).
    void KeepSensorsInside(TRoom* room);
    void ShowCalcResult();
    void SetSensorTypeRadios(bool temperature, bool smoke);
    // seManualL editable (white) in manual mode, read-only otherwise.
    void ShowManualField(bool manual);
};
