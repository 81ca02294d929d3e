// The plan editor: mouse handling on the plan, the zone and sensor panels, the scale from
// a zone and the View menu.
#include "uPlanEditor.h"

#include "FloatSpinEdit.h"
#include "btnScaleSetup.h"
#include "uFireClasses.h"
#include "uGeometry.h"
#include "uMain.h"
#include "uNumberText.h"
#include "uPaintBox.h"
#include "uPlanCanvas.h"
#include "uPrompts.h"
#include "uRoomSpacing.h"
#include "uUndoCommands.h"
#include "uZoom.h"

#include <QAction>
#include <QCursor>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QStatusBar>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QToolBar>
#include <QToolButton>

#include <algorithm>

namespace {

const QColor clOlive(128, 128, 0);
const QColor clAqua(0, 255, 255);
const QColor clLime(0, 255, 0);
const QColor clFuchsia(255, 0, 255);
const QColor clYellow(255, 255, 0);

// The main window's result panel belongs to the calculation runs; the editor asks for it
// whenever the current zone changes. Until the window provides ShowCalcResult, a press
// outside every zone still hides the panel.
template <class TWindow>
void ShowWindowCalcResult(TWindow* m)
{
    if constexpr (requires { m->ShowCalcResult(); })
        m->ShowCalcResult();
    else if (!m->CurrentRoom)
        m->pnlCalcResult->setVisible(false);
}

} // namespace

TPlanEditor::TPlanEditor(TfrmMain* main) : QObject(main), M(main)
{
    connect(M->pb, &TPaintBox::MouseDown, this, &TPlanEditor::pbMouseDown);
    connect(M->pb, &TPaintBox::MouseMove, this, &TPlanEditor::pbMouseMove);
    connect(M->pb, &TPaintBox::MouseUp, this, &TPlanEditor::pbMouseUp);
    connect(M->pb, &TPaintBox::DblClick, this, &TPlanEditor::pbDblClick);

    connect(M->btnRpSave, &QPushButton::clicked, this, &TPlanEditor::btnRpSaveClick);
    connect(M->btnRpCancel, &QPushButton::clicked, this, &TPlanEditor::btnRpCancelClick);
    connect(M->btnRpDelete, &QPushButton::clicked, this, &TPlanEditor::btnRpDeleteClick);
    connect(M->btn5, &QPushButton::clicked, this, &TPlanEditor::btn5Click);
    connect(M->edtRpName, &QLineEdit::textChanged, this, &TPlanEditor::edtRpNameChange);
    for (TFloatSpinEdit* spin : {M->seRpLength, M->seRpWidth, M->seRpHeight})
        connect(spin, &QLineEdit::textChanged, this, &TPlanEditor::edtRpNameChange);

    // Choosing a mode says in the status bar what the mouse does in it.
    connect(M->btnZoneEdit, &QToolButton::clicked, this, &TPlanEditor::ShowModeHint);
    connect(M->btnSensorsEdit, &QToolButton::clicked, this, &TPlanEditor::ShowModeHint);

    connect(M->btnManualL, &QToolButton::clicked, this, &TPlanEditor::btnAutoLClick);
    connect(M->btnAutoL, &QToolButton::clicked, this, &TPlanEditor::btnAutoLClick);
    connect(M->seManualL, &TFloatSpinEdit::KeyUp, this, &TPlanEditor::seManualLKeyUp);

    connect(M->btnSSave, &QPushButton::clicked, this, &TPlanEditor::btnSSaveClick);
    connect(M->btnSCancel, &QPushButton::clicked, this, &TPlanEditor::btnSCancelClick);
    connect(M->btnSDelete, &QPushButton::clicked, this, &TPlanEditor::btnSDeleteClick);
    connect(M->edtSName, &QLineEdit::textChanged, this, &TPlanEditor::edtSNameChange);
    for (TFloatSpinEdit* spin : {M->seSHeight, M->seSWorkTemperature})
        connect(spin, &QLineEdit::textChanged, this, &TPlanEditor::edtSNameChange);
    for (QRadioButton* rb : {M->rbSTypeTemperature, M->rbSTypeSmoke})
        connect(rb, &QRadioButton::toggled, this, &TPlanEditor::edtSNameChange);

    // "Прозрачные помещения" gets a check mark of its own, so that the entry really
    // switches the hatched transparent zones on and off.
    M->miTransparentRooms->setCheckable(true);
    connect(M->miShowRoomsInfo, &QAction::triggered, this, &TPlanEditor::miShowRoomsInfoClick);
    connect(M->miShowBgImage, &QAction::triggered, this, &TPlanEditor::miShowBgImageClick);
    connect(M->miShowScale, &QAction::triggered, this, &TPlanEditor::miShowScaleClick);
    connect(M->miTransparentRooms, &QAction::triggered, this, &TPlanEditor::miTransparentRoomsClick);
    connect(M->miToolBarProject, &QAction::triggered, this, &TPlanEditor::miToolBarProjectClick);
    connect(M->miToolBarEdit, &QAction::triggered, this, &TPlanEditor::miToolBarEditClick);

    M->btnRpSave->setEnabled(false);
    M->btnRpCancel->setEnabled(false);
    M->btnSSave->setEnabled(false);
    M->btnSCancel->setEnabled(false);
}

bool TPlanEditor::ZoneMode() const
{
    return M->btnZoneEdit->isChecked();
}

QString TPlanEditor::ModeHint(bool zoneMode)
{
    return zoneMode ? QStringLiteral("Зоны: протяните мышью по пустому месту, чтобы нарисовать зону; перетащите зону, "
                                     "чтобы сдвинуть, а её край — чтобы изменить размер")
                    : QStringLiteral("Датчики: двойной щелчок внутри зоны добавляет датчик; перетащите датчик, чтобы "
                                     "переместить, щелчок по нему открывает его параметры");
}

void TPlanEditor::ShowModeHint()
{
    M->ShowHint(ModeHint(ZoneMode()));
}

QPoint TPlanEditor::InsidePlan(QPoint pos) const
{
    // The plan's pixels run from 0 to Width - 1 and Height - 1; a zone drawn there is
    // seen whole, its right and bottom edge lines included.
    const TFireProject* fp = M->FP.get();
    const int right = fp ? std::max(fp->Width - 1, 0) : 0;
    const int bottom = fp ? std::max(fp->Height - 1, 0) : 0;
    return QPoint(std::clamp(pos.x(), 0, right), std::clamp(pos.y(), 0, bottom));
}

TSensor* TPlanEditor::LiveCurrentSensor()
{
    TSensor* s = M->CurrentSensor;
    if (!s)
        return nullptr;
    // The calculations replace a zone's sensors; a sensor they destroyed must not be
    // touched through the pointer the editor kept.
    if (M->FP)
        for (const auto& room : M->FP->Rooms)
            for (const auto& sp : room->Sensors)
                if (sp.get() == s)
                    return s;
    M->CurrentSensor = nullptr;
    return nullptr;
}

TRoom* TPlanEditor::LiveCurrentRoom()
{
    TRoom* r = M->CurrentRoom;
    if (!r)
        return nullptr;
    if (M->FP)
        for (const auto& room : M->FP->Rooms)
            if (room.get() == r)
                return r;
    M->CurrentRoom = nullptr;
    return nullptr;
}

void TPlanEditor::ShowCalcResult()
{
    ShowWindowCalcResult(M);
}

// --- mouse press -------------------------------------------------------------------

void TPlanEditor::pbMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint pos)
{
    TFireProject* fp = M->FP.get();
    if (!fp)
        return;
    // Whatever the press and the drag after it change, up to the release, is one edit.
    struct TPress {
        TUndoCommands* undo;
        explicit TPress(TUndoCommands* u)
            : undo(u)
        {
            if (undo)
                undo->BeginPress();
        }
        ~TPress()
        {
            if (undo)
                undo->EndPress();
        }
    } press(M->UndoCommands);
    FZoneChanged = false;
    FSensorMoved = false;
    FSpacingPicked = false;
    const int x = pos.x(), y = pos.y();
    PressPoint = pos;
    M->CurrentRoomID = fp->GetRoomIDByCoord(x, y);
    M->CurrentRoom = fp->GetRoom(M->CurrentRoomID);
    TRoom* room = M->CurrentRoom;
    TSensor* previous = LiveCurrentSensor();

    if (room) {
        if (room->CP.CalculatedVOP) {
            // Bring the spacing mode buttons in line with the zone and run their handler.
            QToolButton* mode = room->CP.ManualL ? M->btnManualL : M->btnAutoL;
            mode->setChecked(true);
            mode->click();
        }
        TSensor* found = room->GetSensorByCoord(x, y);
        if (!found) {
            if (previous)
                previous->SetSelected(false);
            M->CurrentSensor = nullptr;
            M->ShowPanel(nullptr);
        } else {
            if (previous && previous != found)
                previous->SetSelected(false);
            M->CurrentSensor = found;
        }
    } else {
        if (previous)
            previous->SetSelected(false);
        M->CurrentSensor = nullptr;
        M->ShowPanel(nullptr);
    }

    if (ZoneMode()) {
        if (button == Qt::LeftButton) {
            if (room) {
                if (!(modifiers & Qt::ShiftModifier))
                    fp->DeselectAllRooms();
                fp->SelectRoomByCoord(x, y);
                M->Repaint();
            } else {
                fp->DeselectAllRooms();
            }
            M->bmpDrag = M->bmpPlan.copy();
            PressPoint = pos;
            if (!room) {
                DragKind = TDragKind::Create;
            } else {
                M->ShowPanel(M->pnlRoomParams);
                ReadCurrentRoomParams();
                const int id = M->CurrentRoomID;
                // Left and right are tested first, so at a corner they win.
                if (fp->IsDotOnLeftSide(id, x, y))
                    DragKind = TDragKind::ResizeLeft;
                else if (fp->IsDotOnRightSide(id, x, y))
                    DragKind = TDragKind::ResizeRight;
                else if (fp->IsDotOnTopSide(id, x, y))
                    DragKind = TDragKind::ResizeTop;
                else if (fp->IsDotOnBottomSide(id, x, y))
                    DragKind = TDragKind::ResizeBottom;
                else
                    DragKind = TDragKind::Move;
            }
            ShowCalcResult();
        }
    } else {
        SensorDrag = true;
        if (TSensor* s = M->CurrentSensor) {
            s->SetSelected(true);
            M->ShowPanel(M->pnlSensorParams);
            ReadCurrentSensorParams();
        }
    }
}

void TPlanEditor::SelectRoom(TRoom* room)
{
    TFireProject* fp = M->FP.get();
    if (!fp || !room)
        return;
    bool member = false;
    for (const auto& r : fp->Rooms)
        member = member || r.get() == room;
    if (!member)
        return;
    // Selecting may recalculate the zone's detection time (its spacing mode).
    TUndoEdit edit(M, UndoText::QuickRecalc);
    if (TSensor* previous = LiveCurrentSensor())
        previous->SetSelected(false);
    M->CurrentSensor = nullptr;
    M->CurrentRoom = room;
    // As after the release of a click: no zone is under a pressed button.
    M->CurrentRoomID = -1;
    if (room->CP.CalculatedVOP) {
        QToolButton* mode = room->CP.ManualL ? M->btnManualL : M->btnAutoL;
        mode->setChecked(true);
        mode->click();
    }
    fp->DeselectAllRooms();
    room->Selected = true;
    const TRect r = room->Rect();
    if (M->Zoom)
        M->Zoom->EnsureVisible(QRect(QPoint(r.Left, r.Top), QPoint(r.Right, r.Bottom)));
    M->ShowPanel(M->pnlRoomParams);
    ReadCurrentRoomParams();
    M->Repaint();
    ShowCalcResult();
}

QString TPlanEditor::DragEditName() const
{
    // A zone being drawn is added only by the release; until then all a press can have
    // changed is what the quick recalculation of the zone pressed changes.
    if (DragKind == TDragKind::Move && FZoneChanged) {
        int selected = 0;
        if (const TFireProject* fp = M->FP.get())
            for (const auto& r : fp->Rooms)
                selected += r->Selected;
        return selected > 1 ? UndoText::MoveZones : UndoText::MoveZone;
    }
    if (DragKind != TDragKind::None && DragKind != TDragKind::Move && DragKind != TDragKind::Create
        && FZoneChanged)
        return UndoText::ResizeZone;
    if (SensorDrag && FSpacingPicked)
        return UndoText::PickSpacing;
    if (SensorDrag && FSensorMoved)
        return UndoText::MoveSensor;
    return UndoText::QuickRecalc;
}

void TPlanEditor::EndDrag()
{
    DragKind = TDragKind::None;
    SensorDrag = false;
}

// --- mouse move --------------------------------------------------------------------

void TPlanEditor::pbMouseMove(Qt::MouseButtons, Qt::KeyboardModifiers modifiers, QPoint pos)
{
    if (!M->FP)
        return;
    if (ZoneMode()) {
        ZoneMove(modifiers, pos);
        UpdateCursor(pos);
    } else {
        SensorMove(modifiers, pos);
    }
}

void TPlanEditor::ZoneMove(Qt::KeyboardModifiers, QPoint pos)
{
    TFireProject* fp = M->FP.get();
    switch (DragKind) {
    case TDragKind::Create: {
        M->bmpDrag = M->bmpPlan.copy();
        if (!M->bmpDrag.isNull()) { // a plan of no size has no picture to draw on
            TPlanCanvas c(M->bmpDrag, M->PlanShown);
            c.PenWidth = 1;
            c.PenStyle = TPenStyle::Solid;
            c.PenColor = Qt::black;
            // Outline only, so the zones under the band stay visible. The band stops at the
            // plan's edge, which shows the user where the zone will end.
            c.BrushStyle = TBrushStyle::Clear;
            const QPoint end = InsidePlan(pos);
            c.Rectangle(PressPoint.x(), PressPoint.y(), end.x(), end.y());
        }
        M->ShowOverlay(M->bmpDrag);
        break;
    }
    case TDragKind::Move: {
        bool movedX = false, movedY = false;
        fp->MoveSelectedRooms(pos.x() - PressPoint.x(), pos.y() - PressPoint.y(), movedX, movedY, false);
        if (fp->NeedRepaint) {
            FZoneChanged = true;
            M->Repaint();
        }
        // A blocked axis keeps its press coordinate, so its offset grows until it fits.
        if (movedX)
            PressPoint.setX(pos.x());
        if (movedY)
            PressPoint.setY(pos.y());
        break;
    }
    case TDragKind::ResizeLeft:
    case TDragKind::ResizeRight:
    case TDragKind::ResizeTop:
    case TDragKind::ResizeBottom:
        ResizeStep(pos);
        break;
    case TDragKind::None:
        break;
    }
}

void TPlanEditor::ResizeStep(QPoint pos)
{
    TFireProject* fp = M->FP.get();
    TRoom* room = fp->GetRoom(M->CurrentRoomID);
    if (!room)
        return;
    const TRect r = room->Rect();
    // The dragged edge stays on the plan: it may not go further past the plan's edge than
    // it already was. Computed in 64 bits, as the pointer may be anywhere.
    const int64_t dx = int64_t(pos.x()) - PressPoint.x(), dy = int64_t(pos.y()) - PressPoint.y();
    const int64_t maxX = std::max<int64_t>(fp->Width - 1, 0), maxY = std::max<int64_t>(fp->Height - 1, 0);
    auto keepIn = [](int64_t edge, int64_t delta, int64_t low, int64_t high) {
        const int64_t moved = std::clamp(edge + delta, std::min(low, edge), std::max(high, edge));
        return moved - edge;
    };
    int64_t dl = 0, dt = 0, dr = 0, db = 0;
    switch (DragKind) {
    case TDragKind::ResizeLeft: dl = keepIn(r.Left, dx, 0, maxX); break;
    case TDragKind::ResizeRight: dr = keepIn(r.Right, dx, 0, maxX); break;
    case TDragKind::ResizeTop: dt = keepIn(r.Top, dy, 0, maxY); break;
    case TDragKind::ResizeBottom: db = keepIn(r.Bottom, dy, 0, maxY); break;
    default: return;
    }
    if (dl == 0 && dt == 0 && dr == 0 && db == 0)
        return;
    // The model does not keep the sides in order; a zone turned inside out would break
    // every later hit and collision test, so such a step is refused here.
    if (int64_t(r.Right) + dr - (int64_t(r.Left) + dl) < 1 || int64_t(r.Bottom) + db - (int64_t(r.Top) + dt) < 1)
        return;
    // Each delta moves one edge within the plan or towards it, so it fits 32 bits.
    if (!fp->IncRoomSize(M->CurrentRoomID, int32_t(dl), int32_t(dt), int32_t(dr), int32_t(db)))
        return;
    KeepSensorsInside(room);
    FZoneChanged = true;
    M->Repaint();
    M->bmpDrag = M->bmpPlan.copy();
    if (!M->bmpDrag.isNull()) {
        TPlanCanvas c(M->bmpDrag, M->PlanShown);
        c.PenWidth = 1;
        c.PenStyle = TPenStyle::Dot;
        c.PenColor = Qt::black;
        c.BrushStyle = TBrushStyle::Clear;
        const TRect n = room->Rect();
        // The lines run across the whole plan, in plan pixels.
        const QSize plan = M->Zoom ? M->Zoom->PlanSize() : M->bmpDrag.size();
        const int w = plan.width(), h = plan.height();
        switch (DragKind) {
        case TDragKind::ResizeLeft: c.MoveTo(n.Left, 0); c.LineTo(n.Left, h); break;
        case TDragKind::ResizeRight: c.MoveTo(n.Right - 1, 0); c.LineTo(n.Right - 1, h); break;
        case TDragKind::ResizeTop: c.MoveTo(0, n.Top); c.LineTo(w, n.Top); break;
        case TDragKind::ResizeBottom: c.MoveTo(0, n.Bottom - 1); c.LineTo(w, n.Bottom - 1); break;
        default: break;
        }
        c.PenStyle = TPenStyle::Solid;
    }
    M->ShowOverlay(M->bmpDrag);
    // The press point follows the pointer, on the dragged axis by as far as the edge
    // moved: where the edge was held at the plan's edge, the pointer must come back to it
    // before the edge moves again.
    const QPoint held = PressPoint;
    PressPoint = pos;
    if (DragKind == TDragKind::ResizeLeft || DragKind == TDragKind::ResizeRight)
        PressPoint.setX(held.x() + int(dl + dr));
    else
        PressPoint.setY(held.y() + int(dt + db));
    ReadCurrentRoomParams();
}

void TPlanEditor::KeepSensorsInside(TRoom* room)
{
    for (const auto& s : room->Sensors) {
        const TPoint p = s->AbsolutePos();
        room->MoveSensor(s->GUID(), p.X, p.Y);
    }
}

void TPlanEditor::UpdateCursor(QPoint pos)
{
    TFireProject* fp = M->FP.get();
    const int id = fp->GetRoomIDByCoord(pos.x(), pos.y());
    Qt::CursorShape shape;
    if (id == -1)
        shape = Qt::CrossCursor;
    else if (fp->IsDotOnLeftSide(id, pos.x(), pos.y()) || fp->IsDotOnRightSide(id, pos.x(), pos.y()))
        shape = Qt::SizeHorCursor;
    else if (fp->IsDotOnTopSide(id, pos.x(), pos.y()) || fp->IsDotOnBottomSide(id, pos.x(), pos.y()))
        shape = Qt::SizeVerCursor;
    else
        shape = Qt::ArrowCursor;
    if (M->pb->cursor().shape() != shape)
        M->pb->setCursor(shape);
}

void TPlanEditor::SensorMove(Qt::KeyboardModifiers modifiers, QPoint pos)
{
    if (!SensorDrag)
        return;
    TSensor* sensor = LiveCurrentSensor();
    TRoom* room = LiveCurrentRoom();
    if (!sensor || !room)
        return;
    if (room->CP.DebugMode && (modifiers & Qt::ControlModifier)) {
        DebugView(room, sensor);
    } else if (room->CP.CalculatedVOP && (modifiers & Qt::ShiftModifier) && M->btnManualL->isChecked()) {
        SpacingPick(room, sensor, pos);
    } else {
        if (TRoom* drag = M->FP->GetRoom(M->CurrentRoomID)) {
            const TPoint was = sensor->Pos();
            drag->MoveSensor(sensor->GUID(), pos.x(), pos.y());
            FSensorMoved = FSensorMoved || !(sensor->Pos() == was);
        }
        RecalcVOP(false);
        M->Repaint();
    }
}

void TPlanEditor::DebugView(TRoom* room, TSensor* sensor)
{
    TFireProject* fp = M->FP.get();
    const bool distances = fp->PaintParams.PaintSensorDistances;
    fp->PaintParams.PaintSensorDistances = false;
    fp->PaintRooms(M->bmpDrag, M->PlanShown);
    fp->PaintParams.PaintSensorDistances = distances;
    if (M->bmpDrag.isNull())
        return;
    const TRect r = room->Rect();
    const TPoint me = sensor->AbsolutePos();
    {
        TPlanCanvas c(M->bmpDrag, M->PlanShown);
        // Every other sensor coloured by the triangle (towards which wall) it lies in.
        for (const auto& sp : room->Sensors) {
            if (sp.get() == sensor)
                continue;
            const TPoint p = sp->AbsolutePos();
            auto fillIf = [&](int x1, int y1, int x2, int y2, const QColor& colour) {
                if (PointInTriangle(me.X, me.Y, x1, y1, x2, y2, p.X, p.Y)) {
                    c.BrushStyle = TBrushStyle::Solid;
                    c.BrushColor = colour;
                    c.FloodFillAt(p.X, p.Y);
                }
            };
            fillIf(r.Left, r.Top, r.Right, r.Top, clYellow);
            fillIf(r.Left, r.Top, r.Left, r.Bottom, clAqua);
            fillIf(r.Left, r.Bottom, r.Right, r.Bottom, clLime);
            fillIf(r.Right, r.Top, r.Right, r.Bottom, clFuchsia);
        }
        // Lines to the recorded neighbours: a sensor, or the wall of that letter.
        auto target = [&](const QString& n, TPoint& to) {
            if (TSensor* other = room->GetSensorByGUID(n)) {
                to = other->AbsolutePos();
                return true;
            }
            if (n == QLatin1String("T"))
                to = {me.X, r.Top};
            else if (n == QLatin1String("L"))
                to = {r.Left, me.Y};
            else if (n == QLatin1String("B"))
                to = {me.X, r.Bottom};
            else if (n == QLatin1String("R"))
                to = {r.Right, me.Y};
            else
                return false;
            return true;
        };
        auto lineTo = [&](const QString& n) {
            TPoint to;
            if (target(n, to)) {
                c.MoveTo(me.X, me.Y);
                c.LineTo(to.X, to.Y);
            }
        };
        c.BrushStyle = TBrushStyle::Clear;
        c.PenStyle = TPenStyle::Dot;
        c.PenWidth = 1;
        c.PenColor = clOlive;
        lineTo(sensor->NearestSensorT);
        c.PenColor = clAqua;
        lineTo(sensor->NearestSensorL);
        c.PenColor = clLime;
        lineTo(sensor->NearestSensorB);
        c.PenColor = clFuchsia;
        lineTo(sensor->NearestSensorR);
        c.PenStyle = TPenStyle::Solid;
        c.PenWidth = 2;
        c.PenColor = Qt::black;
        lineTo(sensor->NearestSensor);
        for (const TPoint corner : {TPoint{r.Left, r.Top}, TPoint{r.Right, r.Top}, TPoint{r.Left, r.Bottom},
                                    TPoint{r.Right, r.Bottom}}) {
            c.MoveTo(me.X, me.Y);
            c.LineTo(corner.X, corner.Y);
        }
    }
    M->ShowOverlay(M->bmpDrag);
}

void TPlanEditor::SpacingPick(TRoom* room, TSensor* sensor, QPoint pos)
{
    TFireProject* fp = M->FP.get();
    const bool distances = fp->PaintParams.PaintSensorDistances;
    fp->PaintParams.PaintSensorDistances = false;
    fp->PaintRooms(M->bmpDrag, M->PlanShown);
    FSpacingPicked = true;
    if (!M->bmpDrag.isNull()) {
        const TRect r = room->Rect();
        const TPoint me = sensor->AbsolutePos();
        const int x = pos.x(), y = pos.y();
        TPlanCanvas c(M->bmpDrag, M->PlanShown);
        c.PenStyle = TPenStyle::Solid;
        c.PenWidth = 2;
        c.PenColor = Qt::black;
        c.BrushStyle = TBrushStyle::Clear;
        TSensor* other = room->GetSensorByCoord(x, y);
        if (other && other != sensor) {
            // The picked sensor lights up and becomes the critical one.
            c.BrushStyle = TBrushStyle::Solid;
            c.BrushColor = Qt::white;
            c.FloodFillAt(x, y);
            c.BrushStyle = TBrushStyle::Clear;
            room->CP.CSensor = other->GUID();
            other->NearestSensor = sensor->GUID();
            const TPoint o = other->AbsolutePos();
            room->CP.param2 = fp->ScaledValue(static_cast<long double>(RoundedDistance(me.X, me.Y, o.X, o.Y)));
        } else if (y < r.Top && x >= r.Left && x <= r.Right) {
            c.MoveTo(me.X, me.Y);
            c.LineTo(me.X, r.Top);
            sensor->NearestSensor = QStringLiteral("T");
            room->CP.param2 = fp->ScaledValue(2.0L * (me.Y - r.Top));
        } else if (x > r.Right && y >= r.Top && y <= r.Bottom) {
            c.MoveTo(me.X, me.Y);
            c.LineTo(r.Right, me.Y);
            sensor->NearestSensor = QStringLiteral("R");
            room->CP.param2 = fp->ScaledValue(2.0L * (r.Right - me.X));
        } else if (y > r.Bottom && x >= r.Left && x <= r.Right) {
            c.MoveTo(me.X, me.Y);
            c.LineTo(me.X, r.Bottom);
            sensor->NearestSensor = QStringLiteral("B");
            room->CP.param2 = fp->ScaledValue(2.0L * (r.Bottom - me.Y));
        } else if (x < r.Left && y >= r.Top && y <= r.Bottom) {
            c.MoveTo(me.X, me.Y);
            c.LineTo(r.Left, me.Y);
            sensor->NearestSensor = QStringLiteral("L");
            room->CP.param2 = fp->ScaledValue(2.0L * (me.X - r.Left));
        }
        if (x > r.Left && x < r.Right && y > r.Top && y < r.Bottom) {
            c.MoveTo(me.X, me.Y);
            c.LineTo(x, y);
        }
    }
    RecalcVOP(false);
    if (!M->bmpDrag.isNull())
        M->ShowOverlay(M->bmpDrag);
    fp->PaintParams.PaintSensorDistances = distances;
}

// --- mouse release and double click --------------------------------------------------

void TPlanEditor::pbMouseUp(Qt::MouseButton, Qt::KeyboardModifiers, QPoint pos)
{
    TFireProject* fp = M->FP.get();
    if (!fp)
        return;
    QString name = DragEditName();
    if (DragKind == TDragKind::Create) {
        // A zone drawn past the plan's edge ends at it; a refused zone leaves no trace.
        const QPoint end = InsidePlan(pos);
        fp->AddRoom(PressPoint.x(), PressPoint.y(), end.x(), end.y());
        name = UndoText::AddZone;
    }
    DragKind = TDragKind::None;
    SensorDrag = false;
    M->CurrentRoomID = -1;
    M->Repaint();
    if (M->UndoCommands)
        M->UndoCommands->EndDrag(name);
}

void TPlanEditor::pbDblClick(Qt::MouseButton button, Qt::KeyboardModifiers, QPoint)
{
    // Only the left button's double click places a sensor; the other buttons' presses
    // are plain presses.
    TFireProject* fp = M->FP.get();
    if (!fp || ZoneMode() || button != Qt::LeftButton)
        return; // without a project the main window offers "Открыть"
    TRoom* room = fp->GetRoom(fp->GetRoomIDByCoord(PressPoint.x(), PressPoint.y()));
    if (!room)
        return;
    TUndoEdit edit(M, UndoText::AddSensor);
    TSensor* s = room->AddSensor();
    s->SetAbsolutePos({PressPoint.x(), PressPoint.y()});
    ++M->SensorNumber;
    s->SetName(QString::number(M->SensorNumber));
    M->Repaint();
}

// --- zone panel ----------------------------------------------------------------------

bool TPlanEditor::ReadCurrentRoomParams()
{
    TFireProject* fp = M->FP.get();
    TRoom* room = LiveCurrentRoom();
    if (!fp || !room)
        return false;
    const TRect r = room->Rect();
    M->edtRpName->setText(room->Name());
    M->seRpHeight->SetValue(static_cast<double>(fp->ScaledValue(room->H())));
    M->seRpWidth->SetValue(static_cast<double>(fp->ScaledValue(r.Bottom - r.Top)));
    M->seRpLength->SetValue(static_cast<double>(fp->ScaledValue(r.Right - r.Left)));
    FReadHeight = M->seRpHeight->text();
    FReadWidth = M->seRpWidth->text();
    FReadLength = M->seRpLength->text();
    M->btnRpSave->setEnabled(false);
    M->btnRpCancel->setEnabled(false);
    return true;
}

bool TPlanEditor::WriteCurrentRoomParams()
{
    TFireProject* fp = M->FP.get();
    TRoom* room = LiveCurrentRoom();
    if (!fp || !room)
        return false;
    if (M->edtRpName->text() != room->Name())
        room->SetName(M->edtRpName->text());
    if (M->seRpHeight->text() != FReadHeight) {
        const int h = fp->UnscaledValue(M->seRpHeight->Value());
        if (h >= 0 && WithinPlanLimits(h))
            room->SetH(h);
    }
    const TRect r = room->Rect();
    int width = r.Right - r.Left, height = r.Bottom - r.Top;
    if (M->seRpLength->text() != FReadLength)
        width = fp->UnscaledValue(M->seRpLength->Value());
    if (M->seRpWidth->text() != FReadWidth)
        height = fp->UnscaledValue(M->seRpWidth->Value());
    bool ok = true;
    if (width != r.Right - r.Left || height != r.Bottom - r.Top) {
        // A zone needs a width and a height; the model would store anything.
        ok = width >= 1 && height >= 1 && fp->SetRoomSize(room, width, height);
        if (ok)
            KeepSensorsInside(room);
    }
    return ok;
}

void TPlanEditor::btnRpSaveClick()
{
    if (!M->FP)
        return;
    TUndoEdit edit(M, UndoText::ZoneParams);
    WriteCurrentRoomParams();
    M->btnRpSave->setEnabled(false);
    M->btnRpCancel->setEnabled(false);
    M->Repaint();
    ReadCurrentRoomParams();
}

void TPlanEditor::btnRpCancelClick()
{
    ReadCurrentRoomParams();
}

void TPlanEditor::btnRpDeleteClick()
{
    TFireProject* fp = M->FP.get();
    if (!fp)
        return;
    int selected = 0;
    for (const auto& r : fp->Rooms)
        selected += r->Selected;
    TUndoEdit edit(M, selected > 1 ? UndoText::DeleteZones : UndoText::DeleteZone);
    // The current zone and sensor are forgotten before any of them is destroyed: the
    // deletion and the repaint after it must not reach a zone that no longer exists.
    M->CurrentRoomID = -1;
    M->CurrentRoom = nullptr;
    M->CurrentSensor = nullptr;
    fp->DeleteSelectedRooms();
    M->Repaint();
    M->ShowPanel(nullptr);
}

void TPlanEditor::edtRpNameChange()
{
    M->btnRpSave->setEnabled(true);
    M->btnRpCancel->setEnabled(true);
}

// --- sensor panel --------------------------------------------------------------------

void TPlanEditor::SetSensorTypeRadios(bool temperature, bool smoke)
{
    // Both off is a legal state here (a sensor of another type), so exclusivity is lifted
    // while the buttons are set.
    M->rbSTypeTemperature->setAutoExclusive(false);
    M->rbSTypeSmoke->setAutoExclusive(false);
    M->rbSTypeTemperature->setChecked(temperature);
    M->rbSTypeSmoke->setChecked(smoke);
    M->rbSTypeTemperature->setAutoExclusive(true);
    M->rbSTypeSmoke->setAutoExclusive(true);
}

bool TPlanEditor::ReadCurrentSensorParams()
{
    TFireProject* fp = M->FP.get();
    TSensor* s = LiveCurrentSensor();
    if (!fp || !s)
        return false;
    M->edtSName->setText(s->Name());
    M->seSHeight->SetValue(static_cast<double>(fp->ScaledValue(s->Height())));
    M->seSWorkTemperature->SetValue(static_cast<double>(s->Critical1()));
    FReadSensorHeight = M->seSHeight->text();
    FReadSensorTemperature = M->seSWorkTemperature->text();
    // A sensor of another type than the two offered shows neither button, so Apply keeps
    // its type instead of taking the previous sensor's.
    SetSensorTypeRadios(s->SensorType == TSensorType::stTemperature, s->SensorType == TSensorType::stSmoke);
    M->btnSSave->setEnabled(false);
    M->btnSCancel->setEnabled(false);
    return true;
}

bool TPlanEditor::WriteCurrentSensorParams()
{
    TFireProject* fp = M->FP.get();
    TSensor* s = LiveCurrentSensor();
    if (!fp || !s)
        return false;
    s->SetName(M->edtSName->text());
    if (M->seSHeight->text() != FReadSensorHeight)
        s->SetHeight(fp->UnscaledValue(M->seSHeight->Value()));
    if (M->seSWorkTemperature->text() != FReadSensorTemperature)
        s->SetCritical1(M->seSWorkTemperature->Value());
    TSensorType type = s->SensorType;
    if (M->rbSTypeTemperature->isChecked())
        type = TSensorType::stTemperature;
    else if (M->rbSTypeSmoke->isChecked())
        type = TSensorType::stSmoke;
    // The type is a plain field of the sensor, but it is stored: a changed type is a change
    // the save question must know of.
    if (type != s->SensorType) {
        s->SensorType = type;
        fp->SetModified(true);
    }
    return true;
}

void TPlanEditor::btnSSaveClick()
{
    if (!M->FP)
        return;
    TUndoEdit edit(M, UndoText::SensorParams);
    WriteCurrentSensorParams();
    M->btnSSave->setEnabled(false);
    M->btnSCancel->setEnabled(false);
    M->Repaint();
    ReadCurrentSensorParams();
}

void TPlanEditor::btnSCancelClick()
{
    ReadCurrentSensorParams();
}

void TPlanEditor::btnSDeleteClick()
{
    if (!M->FP)
        return;
    TRoom* room = LiveCurrentRoom();
    TSensor* s = LiveCurrentSensor();
    if (!room || !s)
        return;
    TUndoEdit edit(M, UndoText::DeleteSensor);
    // Forgotten before it is destroyed; the identity is copied, as the sensor holds it.
    const QString guid = s->GUID();
    M->CurrentSensor = nullptr;
    if (room->DeleteSensor(guid)) {
        // The panel would otherwise offer to edit a sensor that no longer exists.
        M->ShowPanel(nullptr);
        RecalcVOP(false);
        M->Repaint();
    } else {
        M->CurrentSensor = s;
        Prompts().Message(M, QStringLiteral("Ошибка. Не удалось удалить датчик."), QStringLiteral("Датчик не найден"),
                          TPromptIcon::Error);
    }
}

void TPlanEditor::edtSNameChange()
{
    M->btnSSave->setEnabled(true);
    M->btnSCancel->setEnabled(true);
}

// --- scale from a zone ---------------------------------------------------------------

void TPlanEditor::btn5Click()
{
    TFireProject* fp = M->FP.get();
    TRoom* room = LiveCurrentRoom();
    if (!fp || !room)
        return;
    TUndoEdit edit(M, UndoText::Scale);
    {
        TfrmScaleSetup dlg(M);
        const QPoint cursor = QCursor::pos();
        dlg.adjustSize();
        dlg.move(cursor.x() - dlg.width() / 2, cursor.y() - dlg.height() / 2);
        const TRect r = room->Rect();
        const int w = r.Right - r.Left;
        const long double v = fp->ScaledValue(w);
        if (v > 0)
            dlg.edtLength->SetValue(static_cast<double>(RoundTo(v, 2)));
        if (dlg.exec() == QDialog::Accepted && w > 0) {
            const long double length = dlg.edtLength->Value();
            // A scale the project file could not hold again is not taken.
            if (length > 0 && PlanScaleWithinLimits(length / w))
                fp->Setpx(length / w);
        }
    }
    M->Repaint();
    ReadCurrentRoomParams();
}

// --- View menu -----------------------------------------------------------------------

void TPlanEditor::miShowRoomsInfoClick()
{
    M->Repaint();
}

void TPlanEditor::miShowBgImageClick()
{
    // The repaint takes the project's ShowBackgroundImage from the check mark.
    M->Repaint();
}

void TPlanEditor::miShowScaleClick()
{
    M->Repaint();
}

void TPlanEditor::miTransparentRoomsClick()
{
    M->Repaint();
}

void TPlanEditor::miToolBarProjectClick()
{
    M->tbProject->setVisible(true);
}

void TPlanEditor::miToolBarEditClick()
{
    M->tbEdit->setVisible(true);
}

// --- quick recalculation -------------------------------------------------------------

void TPlanEditor::RecalcVOP(bool AFromField)
{
    TFireProject* fp = M->FP.get();
    TRoom* room = LiveCurrentRoom();
    if (!fp || !room || !room->CP.CalculatedVOP)
        return;
    const QString text = ::RecalcVOP(room, M->seManualL->Value());
    if (text.isNull())
        return;
    if (!AFromField)
        M->seManualL->SetValue(static_cast<double>(room->CP.param2));
    M->sbText(text, 0);
}

// --- spacing mode ----------------------------------------------------------------------

void TPlanEditor::btnAutoLClick()
{
    TRoom* room = LiveCurrentRoom();
    if (!room)
        return;
    TUndoEdit edit(M, UndoText::SpacingMode);
    const bool manual = M->btnManualL->isChecked();
    room->CP.ManualL = manual;
    ShowManualField(manual);
    RecalcVOP(false);
    M->Repaint();
}

void TPlanEditor::ShowManualField(bool manual)
{
    M->seManualL->setReadOnly(!manual);
    QPalette palette = M->seManualL->palette();
    palette.setColor(QPalette::Base, manual ? QColor(Qt::white) : palette.color(QPalette::Button));
    M->seManualL->setPalette(palette);
}

void TPlanEditor::ShowSpacingMode(const TRoom* room)
{
    if (!room || !room->CP.CalculatedVOP)
        return;
    (room->CP.ManualL ? M->btnManualL : M->btnAutoL)->setChecked(true);
    ShowManualField(room->CP.ManualL);
    M->seManualL->SetValue(static_cast<double>(room->CP.param2));
}

void TPlanEditor::seManualLKeyUp()
{
    TRoom* room = LiveCurrentRoom();
    if (!room || !room->CP.CalculatedVOP || M->seManualL->text().isEmpty())
        return;
    TUndoEdit edit(M, UndoText::TypedSpacing);
    RecalcVOP(true);
    ShowCalcResult();
}
