// The debug window: the calculation runs write their debug log into its memo, one line
// per field ("name<TAB>value"), when the zone's record is in debug mode.
#pragma once

#include <QWidget>

class QPlainTextEdit;

// "Отладка": a sizeable window with one memo filling it. Created hidden at start and
// kept for the program's life; closing it only hides it.
class TfrmDebug : public QWidget {
    Q_OBJECT
public:
    explicit TfrmDebug(QWidget* parent = nullptr);

    QPlainTextEdit* memo;

    void Clear();
    void AddLine(const QString& line);
    QStringList Lines() const;
};

// The program's debug window; created on first use when start-up has not made it yet.
TfrmDebug* frmDebug();
// Makes `window` the program's debug window (start-up; not owned).
void SetfrmDebug(TfrmDebug* window);
