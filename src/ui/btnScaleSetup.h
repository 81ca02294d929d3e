// The scale dialog: the user enters a zone's real length in metres, from which the plan
// editor derives the plan scale.
#pragma once

#include <QDialog>

class QLabel;
class QFrame;
class QPushButton;
class TFloatSpinEdit;

// "Установка масштаба по размерам помещения". "Задать масштаб" (btnOK, the default
// button, result Accepted) is enabled exactly while the length is greater than 0; the
// caller reads edtLength->Value() after Accepted. "Отмена" and closing give Rejected.
class TfrmScaleSetup : public QDialog {
    Q_OBJECT
public:
    explicit TfrmScaleSetup(QWidget* parent = nullptr);

    QLabel* lblLength;
    TFloatSpinEdit* edtLength;
    QFrame* Bevel;
    QPushButton* btnOK;
    QPushButton* btnClose;

    // The change handler of edtLength: the OK enabling rule.
    void edtLengthChange();
};
