// TPlanZoom: zooming and panning the plan in the main window. It owns the zoom — the "Вид"
// items "Увеличить", "Уменьшить", "Масштаб 1:1" and "По размеру окна", Ctrl+wheel about
// the point under the pointer, the zoom's panel in the status bar — and the panning by a
// middle-button drag (the scroll bars and the wheel pan as in any scroll box). The project
// and its file never see the zoom: the paint box turns positions into plan pixels where
// they come in, and the plan is drawn at the zoom, only the part in view.
#pragma once

#include "uPlanCanvas.h"

#include <QObject>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <cstdint>
#include <vector>

class QAction;
class QLabel;
class TfrmMain;

// Created by the main window, which owns it (QObject parent), after the paint box and the
// status bar; its controls are public members of the window (miZoomIn, miZoomOut,
// miZoom100, miZoomFit, sbZoom). At 100 % the window draws the whole plan as ever and
// scrolling only moves it; at any other zoom the window draws the part in view (View) and
// draws again whenever the view scrolls or changes size.
class TPlanZoom : public QObject {
    Q_OBJECT
public:
    explicit TPlanZoom(TfrmMain* main);

    // The zoom steps, in percent, smallest first: 10 … 800.
    static const std::vector<int32_t>& Steps();
    // The status-bar text of a zoom ("150 %").
    static QString ZoomText(int32_t percent);

    int32_t Percent() const { return FPercent; }
    // The largest zoom the open plan can be shown at: 800 %, less for a plan so large that
    // its zoomed side would pass the largest side a widget can have.
    int32_t MaxPercent() const;

    // Sets the zoom (held to 10 % … MaxPercent) keeping the plan point under `anchor`
    // (viewport pixels) where it is; without an anchor, the middle of the view.
    void SetPercent(int32_t percent);
    void SetPercent(int32_t percent, QPoint anchor);
    void ZoomIn(); // the next step up
    void ZoomOut(); // the next step down
    void ZoomReset(); // 100 %
    // The largest zoom at which the whole plan fits the view (within 10 … MaxPercent).
    void ZoomToFit();

    // The plan picture's size in plan pixels: the background picture's when it is shown,
    // else the canvas's; 0 x 0 without a project or for a canvas without size.
    QSize PlanSize() const;
    // The paint box's size for the current zoom.
    QSize ZoomedSize() const;
    // Gives the paint box that size (the window does before each repaint).
    void FitBox();
    // What the window draws: the whole plan at 100 %, the part in view otherwise.
    TPlanView View() const;
    // Scrolls so that the plan rectangle (plan pixels) is in view, with a margin.
    void EnsureVisible(const QRect& planRect);

    // Called when a project was created or opened (100 %) and when it was closed.
    void ProjectChanged();
    // Enables the items for the open project and shows the zoom in the status bar.
    void UpdateControls();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    TfrmMain* M;
    int32_t FPercent = 100;
    bool FAdjusting = false; // scroll values are being set: no repaint for each of them
    int FWheel = 0; // wheel angle not yet turned into a step (fine-grained wheels)
    bool FPanning = false;
    QPoint FPanStart; // global position of the middle press
    QPoint FPanScroll; // scroll values at the press

    void Scrolled();
};
