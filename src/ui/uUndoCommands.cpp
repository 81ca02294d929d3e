// Undo and redo in the main window: the stack, its menu and tool buttons, the marking of
// edits and the one kind of command, a pair of snapshots.
#include "uUndoCommands.h"

#include "uFireClasses.h"
#include "uMain.h"
#include "uZoom.h"

#if !defined(TESVORN_NO_PLAN_EDITOR)
#include "uPlanEditor.h"
#endif

#include <QAction>
#include <QIcon>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QToolBar>
#include <QToolButton>
#include <QUndoCommand>
#include <QUndoStack>

namespace {

// The project and the window before and after one edit. The first redo comes with the
// push, when the edit has been made already.
class TProjectEditCommand : public QUndoCommand {
public:
    TProjectEditCommand(TUndoCommands* owner, const QString& name, TProjectState before, TProjectState after,
        TWindowState windowBefore, TWindowState windowAfter)
        : QUndoCommand(name)
        , FOwner(owner)
        , FBefore(std::move(before))
        , FAfter(std::move(after))
        , FWindowBefore(std::move(windowBefore))
        , FWindowAfter(std::move(windowAfter))
    {
    }

    // Keys typed one after another into the spacing field of the same zone are one edit of
    // the spacing, undone as a whole, as typing is in other editors. The stack merges only
    // into the command on top and never across the saved state.
    int id() const override { return text() == UndoText::TypedSpacing ? 1 : -1; }
    bool mergeWith(const QUndoCommand* other) override
    {
        const auto* next = dynamic_cast<const TProjectEditCommand*>(other);
        if (!next || next->id() != id() || next->FWindowBefore.CurrentZone != FWindowAfter.CurrentZone)
            return false;
        FAfter = next->FAfter;
        FWindowAfter = next->FWindowAfter;
        return true;
    }

    void undo() override { FOwner->Apply(FBefore, FWindowBefore); }
    void redo() override
    {
        if (FPushed)
            FOwner->Apply(FAfter, FWindowAfter);
        FPushed = true;
    }

private:
    TUndoCommands* FOwner;
    TProjectState FBefore;
    TProjectState FAfter;
    TWindowState FWindowBefore;
    TWindowState FWindowAfter;
    bool FPushed = false;
};

// A curved arrow to the left (undo) or, mirrored, to the right (redo).
QIcon ArrowIcon(bool redo)
{
    QImage image(20, 20, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    if (redo) {
        p.translate(20, 0);
        p.scale(-1, 1);
    }
    const QColor ink(40, 90, 160);
    QPainterPath arc;
    arc.moveTo(5, 8);
    arc.cubicTo(11, 3, 18, 6, 17, 12);
    arc.cubicTo(16, 16, 12, 17, 9, 16);
    p.setPen(QPen(ink, 2.2, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(arc);
    QPainterPath head;
    head.moveTo(2, 8);
    head.lineTo(8, 3.5);
    head.lineTo(8, 12.5);
    head.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    p.drawPath(head);
    return QIcon(QPixmap::fromImage(image));
}

} // namespace

TUndoCommands::TUndoCommands(TfrmMain* main)
    : QObject(main)
    , M(main)
    , FStack(new QUndoStack(this))
{
    FStack->setObjectName(QStringLiteral("UndoStack"));

    // "Правка" between "Проект" and "Вид".
    M->miEditMenu = new QMenu(QStringLiteral("Правка"), M->menuBar());
    M->miEditMenu->setObjectName(QStringLiteral("miEditMenu"));
    M->menuBar()->insertMenu(M->miViewMenu->menuAction(), M->miEditMenu);
    M->miUndo = M->miEditMenu->addAction(ArrowIcon(false), UndoText::Undo);
    M->miUndo->setObjectName(QStringLiteral("miUndo"));
    M->miUndo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    M->miRedo = M->miEditMenu->addAction(ArrowIcon(true), UndoText::Redo);
    M->miRedo->setObjectName(QStringLiteral("miRedo"));
    M->miRedo->setShortcuts(
        { QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z) });
    connect(M->miUndo, &QAction::triggered, this, &TUndoCommands::Undo);
    connect(M->miRedo, &QAction::triggered, this, &TUndoCommands::Redo);

    // The same two on the project tool bar, after "Сохранить проект".
    auto makeButton = [this](QAction* action, const char* name) {
        auto* button = new QToolButton(M->tbProject);
        button->setObjectName(QLatin1String(name));
        button->setDefaultAction(action);
        button->setAutoRaise(true);
        return button;
    };
    M->btnUndo = makeButton(M->miUndo, "btnUndo");
    M->btnRedo = makeButton(M->miRedo, "btnRedo");
    QAction* before = nullptr;
    const QList<QAction*> tools = M->tbProject->actions();
    for (int i = 0; i + 1 < tools.size(); ++i)
        if (M->tbProject->widgetForAction(tools[i]) == M->btnSaveProject)
            before = tools[i + 1];
    M->tbProject->insertWidget(before, M->btnUndo);
    M->tbProject->insertWidget(before, M->btnRedo);

    connect(FStack, &QUndoStack::indexChanged, this, [this] {
        if (FResetting)
            return;
        UpdateModified();
        // Saving disables "Сохранить"; a change enables it, and undoing back to the saved
        // state disables it again.
        if (M->FP)
            M->miSave->setEnabled(!FStack->isClean());
    });
    connect(FStack, &QUndoStack::cleanChanged, this, [this] {
        if (!FResetting)
            UpdateModified();
    });
    for (auto signal : { &QUndoStack::canUndoChanged, &QUndoStack::canRedoChanged })
        connect(FStack, signal, this, &TUndoCommands::UpdateActions);
    for (auto signal : { &QUndoStack::undoTextChanged, &QUndoStack::redoTextChanged })
        connect(FStack, signal, this, &TUndoCommands::UpdateActions);
    UpdateActions();
}

TUndoCommands::~TUndoCommands()
{
    // The commands go before the window they would restore, and the window's actions may
    // be gone already: the stack tells nobody.
    FStack->disconnect();
    FStack->clear();
}

// --- the project's life ------------------------------------------------------------------

void TUndoCommands::Reset()
{
    FResetting = true;
    FStack->clear();
    FResetting = false;
    FDepth = 0;
    FDragOpen = false;
    FPressing = false;
}

void TUndoCommands::ProjectOpened(bool saved)
{
    Reset();
    // An empty stack keeps the clean state it had (clear() leaves an empty stack alone).
    FResetting = true;
    if (saved)
        FStack->setClean();
    else
        FStack->resetClean();
    FResetting = false;
    FKnown = M->FP ? CaptureProjectState(*M->FP) : TProjectState();
    UpdateModified();
    UpdateActions();
}

void TUndoCommands::ProjectClosed()
{
    Reset();
    FKnown = TProjectState();
    UpdateActions();
}

void TUndoCommands::BeforeSave() { Flush(); }

void TUndoCommands::ProjectSaved()
{
    FStack->setClean();
    UpdateModified();
}

// --- marking edits -------------------------------------------------------------------------

void TUndoCommands::BeginEdit(const QString& name)
{
    if (FDepth == 0) {
        if (FDragOpen && !FPressing)
            CloseDrag();
        // An edit the press handler starts (the spacing mode of the zone pressed) is part
        // of the drag.
        if (!FDragOpen) {
            FEditName = name;
            FEditBefore = CaptureWindowState(*M);
        }
    }
    ++FDepth;
}

void TUndoCommands::EndEdit()
{
    if (FDepth == 0)
        return;
    if (--FDepth == 0 && !FDragOpen)
        Take(FEditName, FEditBefore);
}

void TUndoCommands::SetEditName(const QString& name)
{
    if (FDepth > 0 && !FDragOpen)
        FEditName = name;
}

void TUndoCommands::BeginPress()
{
    if (FDragOpen)
        CloseDrag();
    FDragOpen = FDepth == 0;
    FPressing = FDragOpen;
    FDragName = UndoText::Other;
    FDragNamed = false;
}

void TUndoCommands::EndPress()
{
    if (!FPressing)
        return;
    FPressing = false;
    // The window as the press left it: the zone or sensor pressed is what the user saw
    // when the drag began, and what an undo shows again.
    FDragBefore = CaptureWindowState(*M);
}

void TUndoCommands::EndDrag(const QString& name)
{
    if (!FDragOpen)
        return;
    FDragName = name;
    FDragNamed = true;
    CloseDrag();
}

void TUndoCommands::CloseDrag()
{
#if !defined(TESVORN_NO_PLAN_EDITOR)
    // A drag closed before its release (by the next press, edit, undo or save) is named
    // after what it did so far.
    if (!FDragNamed && M->PlanEditor)
        FDragName = M->PlanEditor->DragEditName();
#endif
    if (FPressing)
        FDragBefore = CaptureWindowState(*M);
    FDragOpen = false;
    FPressing = false;
    Take(FDragName, FDragBefore);
}

void TUndoCommands::Absorb()
{
    if (FDragOpen)
        CloseDrag();
    if (FDepth == 0 && M->FP && !FKnown.Empty())
        FKnown = CaptureProjectState(*M->FP, &FKnown);
}

void TUndoCommands::Flush()
{
    if (FDragOpen)
        CloseDrag();
    if (FDepth == 0)
        Take(UndoText::Other, CaptureWindowState(*M));
}

void TUndoCommands::Take(const QString& name, const TWindowState& before)
{
    if (!M->FP || FKnown.Empty())
        return;
    TProjectState now = CaptureProjectState(*M->FP, &FKnown);
    if (!now.SameAs(FKnown)) {
        auto* command = new TProjectEditCommand(
            this, name.isEmpty() ? UndoText::Other : name, FKnown, now, before, CaptureWindowState(*M));
        FKnown = std::move(now);
        FStack->push(command);
    }
    // The model marks itself modified on many a setter that changed nothing; what counts
    // is whether the project is the saved one.
    UpdateModified();
}

// --- the commands ----------------------------------------------------------------------------

void TUndoCommands::Undo()
{
    Flush();
    if (FStack->canUndo())
        FStack->undo();
}

void TUndoCommands::Redo()
{
    Flush();
    if (FStack->canRedo())
        FStack->redo();
}

void TUndoCommands::Apply(const TProjectState& project, const TWindowState& window)
{
    if (!M->FP)
        return;
    // Nothing may keep pointing into zones the restore replaces.
    M->CurrentRoom = nullptr;
    M->CurrentSensor = nullptr;
    RestoreProjectState(*M->FP, project, FKnown);
    FKnown = project;
    M->UpdateCaption();
    // The plan may have another size now: the zoom is held to what it allows.
    if (M->Zoom)
        M->Zoom->SetPercent(M->Zoom->Percent());
    ApplyWindowState(*M, window);
}

void TUndoCommands::UpdateModified()
{
    if (M->FP)
        M->FP->SetModified(!FStack->isClean());
}

void TUndoCommands::UpdateActions()
{
    const bool open = M->FP != nullptr;
    auto show = [](QAction* action, const QString& verb, bool can, const QString& name) {
        // The item names the command: Отменить "Перемещение зоны".
        const QString text
            = can && !name.isEmpty() ? verb + QStringLiteral(" \"") + name + QLatin1Char('"') : verb;
        action->setText(text);
        action->setToolTip(text);
        action->setStatusTip(text);
        action->setEnabled(can);
    };
    show(M->miUndo, UndoText::Undo, open && FStack->canUndo(), FStack->undoText());
    show(M->miRedo, UndoText::Redo, open && FStack->canRedo(), FStack->redoText());
}

// --- TUndoEdit ---------------------------------------------------------------------------------

TUndoEdit::TUndoEdit(TfrmMain* main, const QString& name)
    : FUndo(main ? main->UndoCommands : nullptr)
{
    if (FUndo)
        FUndo->BeginEdit(name);
}

TUndoEdit::~TUndoEdit()
{
    if (FUndo)
        FUndo->EndEdit();
}

void TUndoEdit::Rename(const QString& name)
{
    if (FUndo)
        FUndo->SetEditName(name);
}
