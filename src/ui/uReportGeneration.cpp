// The report progress window.
#include "uReportGeneration.h"

#include "uDialogFont.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPointer>
#include <QProgressBar>
#include <QScreen>

namespace {
QPointer<TfrmReportGeneration> GReportGeneration;
}

TfrmReportGeneration::TfrmReportGeneration(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setObjectName(QStringLiteral("frmReportGeneration"));
    setWindowTitle(QStringLiteral("Идет создание отчета..."));
    SetDialogFont(this);
    setFixedSize(354, 49);
    // The program ends with its main window, whatever this window is doing.
    setAttribute(Qt::WA_QuitOnClose, false);
    setModal(false);
    pb = new QProgressBar(this);
    pb->setObjectName(QStringLiteral("pb"));
    pb->setGeometry(16, 16, 321, 17);
    pb->setTextVisible(false);
    pb->setRange(0, 100);
    pb->setValue(0);
    CentreOn(parent);
}

void TfrmReportGeneration::CentreOn(QWidget* owner)
{
    QRect area;
    if (owner)
        area = owner->frameGeometry();
    else if (QScreen* screen = QGuiApplication::primaryScreen())
        area = screen->availableGeometry();
    if (area.isValid())
        move(area.center() - QPoint(width() / 2, height() / 2));
}

void TfrmReportGeneration::closeEvent(QCloseEvent* event)
{
    // The window goes away when the report ends, not at the user's request.
    event->ignore();
}

void TfrmReportGeneration::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

TfrmReportGeneration* frmReportGeneration()
{
    if (!GReportGeneration)
        GReportGeneration = new TfrmReportGeneration;
    return GReportGeneration;
}

void SetfrmReportGeneration(TfrmReportGeneration* window)
{
    GReportGeneration = window;
}
