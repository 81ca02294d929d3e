// Zoom and pan of the plan: the View menu's zoom items, Ctrl+wheel, the middle-button
// drag and the zoom's status-bar panel.
#include "uZoom.h"

#include "uFireClasses.h"
#include "uMain.h"
#include "uPaintBox.h"

#include <QAction>
#include <QEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

namespace {

// The largest side a widget can have (QWIDGETSIZE_MAX): the zoomed plan must fit it.
constexpr int64_t MaxWidgetSide = (int64_t(1) << 24) - 1;
// One notch of an ordinary mouse wheel.
constexpr int WheelNotch = 120;

QAction* MakeZoomAction(QMenu* menu, QAction* before, const char* name, const QString& caption)
{
    auto* action = new QAction(caption, menu);
    action->setObjectName(QLatin1String(name));
    menu->insertAction(before, action);
    return action;
}

} // namespace

TPlanZoom::TPlanZoom(TfrmMain* main)
    : QObject(main)
    , M(main)
{
    // The zoom items come first in "Вид", set apart from the display options.
    QMenu* view = M->miViewMenu;
    QAction* first = view->actions().isEmpty() ? nullptr : view->actions().constFirst();
    M->miZoomIn = MakeZoomAction(view, first, "miZoomIn", QStringLiteral("Увеличить"));
    M->miZoomIn->setShortcuts(
        { QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal) });
    M->miZoomOut = MakeZoomAction(view, first, "miZoomOut", QStringLiteral("Уменьшить"));
    M->miZoomOut->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Minus));
    M->miZoom100 = MakeZoomAction(view, first, "miZoom100", QStringLiteral("Масштаб 1:1"));
    M->miZoom100->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_0));
    M->miZoomFit = MakeZoomAction(view, first, "miZoomFit", QStringLiteral("По размеру окна"));
    view->insertSeparator(first);
    connect(M->miZoomIn, &QAction::triggered, this, &TPlanZoom::ZoomIn);
    connect(M->miZoomOut, &QAction::triggered, this, &TPlanZoom::ZoomOut);
    connect(M->miZoom100, &QAction::triggered, this, &TPlanZoom::ZoomReset);
    connect(M->miZoomFit, &QAction::triggered, this, &TPlanZoom::ZoomToFit);

    // A panel of its own, so that a result in the first panel is never overwritten.
    M->sbZoom = new QLabel(M->sb);
    M->sbZoom->setObjectName(QStringLiteral("sbZoom"));
    M->sbZoom->setToolTip(QStringLiteral("Увеличение плана"));
    M->sbZoom->setMinimumWidth(M->sbZoom->fontMetrics().horizontalAdvance(ZoomText(800)) + 8);
    M->sbZoom->setAlignment(Qt::AlignCenter);
    M->sb->addPermanentWidget(M->sbZoom);

    connect(M->ScrollBox->horizontalScrollBar(), &QScrollBar::valueChanged, this, &TPlanZoom::Scrolled);
    connect(M->ScrollBox->verticalScrollBar(), &QScrollBar::valueChanged, this, &TPlanZoom::Scrolled);
    M->ScrollBox->viewport()->installEventFilter(this);
    M->pb->installEventFilter(this);
    UpdateControls();
}

const std::vector<int32_t>& TPlanZoom::Steps()
{
    static const std::vector<int32_t> steps { 10, 25, 33, 50, 67, 100, 150, 200, 300, 400, 600, 800 };
    return steps;
}

QString TPlanZoom::ZoomText(int32_t percent) { return QString::number(percent) + QStringLiteral(" %"); }

QSize TPlanZoom::PlanSize() const
{
    // As the renderer sizes the whole plan's picture.
    const TFireProject* fp = M->FP.get();
    if (!fp)
        return QSize(0, 0);
    const QImage* bg = fp->GetBackgroundImage();
    if (bg && !bg->isNull() && fp->ShowBackgroundImage)
        return bg->size();
    if (fp->Width <= 0 || fp->Height <= 0)
        return QSize(0, 0);
    return QSize(fp->Width, fp->Height);
}

int32_t TPlanZoom::MaxPercent() const
{
    const QSize plan = PlanSize();
    const int64_t side = std::max<int64_t>({ plan.width(), plan.height(), 1 });
    return int32_t(
        std::clamp<int64_t>(MaxWidgetSide * 100 / side, PlanZoom::MinPercent, PlanZoom::MaxPercent));
}

QSize TPlanZoom::ZoomedSize() const
{
    TPlanView v;
    v.Percent = FPercent;
    const QSize plan = PlanSize();
    return QSize(int(v.ZoomedLength(plan.width())), int(v.ZoomedLength(plan.height())));
}

TPlanView TPlanZoom::View() const
{
    TPlanView v;
    if (FPercent == 100)
        return v;
    v.Percent = FPercent;
    // The part of the zoomed plan the viewport shows.
    const QRect shown = QRect(
        QPoint(M->ScrollBox->horizontalScrollBar()->value(), M->ScrollBox->verticalScrollBar()->value()),
        M->ScrollBox->viewport()->size())
                            .intersected(QRect(QPoint(0, 0), ZoomedSize()));
    v.Origin = shown.topLeft();
    v.Size = shown.size();
    return v;
}

void TPlanZoom::FitBox()
{
    const QSize size = ZoomedSize();
    if (M->pb->size() == size)
        return;
    // The scroll bars follow the new size; that is no scrolling to draw for.
    FAdjusting = true;
    M->pb->resize(size);
    FAdjusting = false;
}

void TPlanZoom::SetPercent(int32_t percent)
{
    SetPercent(percent, QRect(QPoint(0, 0), M->ScrollBox->viewport()->size()).center());
}

void TPlanZoom::SetPercent(int32_t percent, QPoint anchor)
{
    if (!M->FP)
        return;
    percent = std::clamp(percent, PlanZoom::MinPercent, MaxPercent());
    if (percent == FPercent) {
        UpdateControls();
        return;
    }
    QScrollBar* h = M->ScrollBox->horizontalScrollBar();
    QScrollBar* v = M->ScrollBox->verticalScrollBar();
    TPlanView before;
    before.Percent = FPercent;
    // The plan pixel under the anchor, and where in it the anchor lies.
    const int64_t zx = int64_t(h->value()) + anchor.x(), zy = int64_t(v->value()) + anchor.y();
    const int64_t px = before.FromZoomed(zx), py = before.FromZoomed(zy);
    const double fx = (zx + 0.5) * 100.0 / FPercent - px, fy = (zy + 0.5) * 100.0 / FPercent - py;

    FPercent = percent;
    M->pb->SetZoom(percent);
    FAdjusting = true;
    M->pb->resize(ZoomedSize());
    TPlanView after;
    after.Percent = percent;
    auto place = [&](QScrollBar* bar, int64_t plan, double within, int at) {
        // The same point of the same plan pixel under the anchor, as near as pixels allow.
        int64_t value = std::llround((plan + within) * percent / 100.0 - 0.5) - at;
        for (int k = 0; k < 4 && after.FromZoomed(value + at) < plan; ++k)
            ++value;
        for (int k = 0; k < 4 && after.FromZoomed(value + at) > plan; ++k)
            --value;
        bar->setValue(int(std::clamp<int64_t>(value, bar->minimum(), bar->maximum())));
    };
    place(h, px, fx, anchor.x());
    place(v, py, fy, anchor.y());
    FAdjusting = false;
    M->Repaint();
    UpdateControls();
}

void TPlanZoom::ZoomIn()
{
    for (const int32_t step : Steps())
        if (step > FPercent) {
            SetPercent(step);
            return;
        }
}

void TPlanZoom::ZoomOut()
{
    for (auto it = Steps().rbegin(); it != Steps().rend(); ++it)
        if (*it < FPercent) {
            SetPercent(*it);
            return;
        }
}

void TPlanZoom::ZoomReset() { SetPercent(100); }

void TPlanZoom::ZoomToFit()
{
    const QSize plan = PlanSize();
    if (!M->FP || plan.isEmpty())
        return;
    const QSize room = M->ScrollBox->maximumViewportSize();
    const int64_t fit
        = std::min(int64_t(room.width()) * 100 / plan.width(), int64_t(room.height()) * 100 / plan.height());
    SetPercent(int32_t(std::clamp<int64_t>(fit, PlanZoom::MinPercent, PlanZoom::MaxPercent)), QPoint(0, 0));
}

void TPlanZoom::EnsureVisible(const QRect& planRect)
{
    TPlanView v;
    v.Percent = FPercent;
    const QRect zoomed(QPoint(int(v.Zoomed(planRect.left())), int(v.Zoomed(planRect.top()))),
        QPoint(int(v.Zoomed(planRect.right())), int(v.Zoomed(planRect.bottom()))));
    M->ScrollBox->ensureVisible(
        zoomed.center().x(), zoomed.center().y(), zoomed.width() / 2 + 10, zoomed.height() / 2 + 10);
}

void TPlanZoom::ProjectChanged()
{
    FPercent = 100;
    FPanning = false;
    FWheel = 0;
    M->pb->SetZoom(100);
    UpdateControls();
}

void TPlanZoom::UpdateControls()
{
    const bool open = M->FP != nullptr;
    M->miZoomIn->setEnabled(open && FPercent < MaxPercent());
    M->miZoomOut->setEnabled(open && FPercent > PlanZoom::MinPercent);
    M->miZoom100->setEnabled(open && FPercent != 100);
    M->miZoomFit->setEnabled(open);
    M->sbZoom->setText(open ? ZoomText(FPercent) : QString());
}

void TPlanZoom::Scrolled()
{
    // At 100 % the whole plan is drawn and scrolling only moves it; otherwise the part that
    // came into view is drawn now.
    if (FAdjusting || FPercent == 100 || !M->FP)
        return;
    M->Repaint();
}

bool TPlanZoom::eventFilter(QObject* watched, QEvent* event)
{
    QWidget* viewport = M->ScrollBox->viewport();
    switch (event->type()) {
    case QEvent::Resize:
        if (watched == viewport && FPercent != 100 && M->FP)
            M->Repaint();
        break;
    case QEvent::Wheel: {
        auto* wheel = static_cast<QWheelEvent*>(event);
        if (!(wheel->modifiers() & Qt::ControlModifier) || !M->FP)
            break; // the scroll box pans
        FWheel += wheel->angleDelta().y();
        QPoint at = wheel->position().toPoint();
        if (watched == M->pb)
            at = M->pb->mapTo(viewport, at);
        while (std::abs(FWheel) >= WheelNotch) {
            const bool in = FWheel > 0;
            FWheel += in ? -WheelNotch : WheelNotch;
            int32_t next = FPercent;
            if (in) {
                for (const int32_t step : Steps())
                    if (step > FPercent) {
                        next = step;
                        break;
                    }
            } else {
                for (auto it = Steps().rbegin(); it != Steps().rend(); ++it)
                    if (*it < FPercent) {
                        next = *it;
                        break;
                    }
            }
            SetPercent(next, at);
        }
        return true;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::MouseButtonRelease: {
        if (watched != M->pb || !M->FP)
            break;
        // The middle button pans; the plan editor never sees it.
        auto* mouse = static_cast<QMouseEvent*>(event);
        QScrollBar* h = M->ScrollBox->horizontalScrollBar();
        QScrollBar* v = M->ScrollBox->verticalScrollBar();
        if (event->type() == QEvent::MouseMove) {
            if (!FPanning)
                break;
            if (!(mouse->buttons() & Qt::MiddleButton)) { // the release went elsewhere
                FPanning = false;
                M->pb->unsetCursor();
                break;
            }
            const QPoint moved = mouse->globalPosition().toPoint() - FPanStart;
            h->setValue(FPanScroll.x() - moved.x());
            v->setValue(FPanScroll.y() - moved.y());
            return true;
        }
        if (mouse->button() != Qt::MiddleButton)
            break;
        if (event->type() == QEvent::MouseButtonRelease) {
            FPanning = false;
            M->pb->unsetCursor();
        } else {
            FPanning = true;
            FPanStart = mouse->globalPosition().toPoint();
            FPanScroll = QPoint(h->value(), v->value());
            M->pb->setCursor(Qt::ClosedHandCursor);
        }
        return true;
    }
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}
