// The report progress window: shown without being modal while a report is written; the
// report engine drives its progress bar.
#pragma once

#include <QDialog>

class QProgressBar;

// "Идет создание отчета...": a small fixed window without title-bar buttons and one
// progress bar `pb` (the caller sets its maximum and position). It has no logic and
// cannot be closed by the user.
class TfrmReportGeneration : public QDialog {
    Q_OBJECT
public:
    explicit TfrmReportGeneration(QWidget* parent = nullptr);

    QProgressBar* pb;

    // Places the window centred on `owner` (on the screen's centre without one).
    void CentreOn(QWidget* owner);

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};

// The instance made at program start (hidden); reports create their own instances.
TfrmReportGeneration* frmReportGeneration();
void SetfrmReportGeneration(TfrmReportGeneration* window);
