// The project parameters dialog, used both to create a project ("Новый проект") and to
// change the open one ("Параметры проекта"): the project name and the canvas size, taken
// either from a background picture or typed.
#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;

// A fixed dialog centred on its parent, laid out so that every caption shows in full.
// btnOK (the default button, caption set by the caller) is enabled only while the name
// is not empty. While rbSizeByBgImage is checked
// (as at creation) btnSetBgImage is enabled and the size fields are not; rbSizeManual
// reverses that. BgImageFileName holds the picture the user confirmed in the picture
// dialog, empty when none was chosen.
class TfrmProjectParams : public QDialog {
    Q_OBJECT
public:
    explicit TfrmProjectParams(QWidget* parent = nullptr);

    QLabel* lblProjectName;
    QLineEdit* edtProjectName;
    QLabel* lblSize;
    QRadioButton* rbSizeByBgImage;
    QPushButton* btnSetBgImage;
    QLabel* lblBgImageName; // shows the chosen picture's file name
    QRadioButton* rbSizeManual;
    QSpinBox* seWidth;
    QLabel* lblSizeDelim;
    QSpinBox* seHeight;
    QPushButton* btnOK;
    QPushButton* btnCancel;
    QString BgImageFileName;

    // The filter of the picture dialog.
    static QString OpenPictureDialogFilter();

    void FormCreate();
    void rbSizeByBgImageClick();
    void edtProjectNameChange();
    void btnSetBgImageClick();
};
