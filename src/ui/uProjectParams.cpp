// The project parameters dialog.
#include "uProjectParams.h"

#include "uDialogFont.h"
#include "uPrompts.h"

#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>

QString TfrmProjectParams::OpenPictureDialogFilter()
{
    return QStringLiteral("PNG, JPEG, BMP|*.bmp;*.jpg;*.png|BMP|*.bmp|JPEG|*.jpg|PNG|*.png");
}

TfrmProjectParams::TfrmProjectParams(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmProjectParams"));
    setWindowTitle(QStringLiteral("Параметры проекта"));
    SetDialogFont(this);
    setFixedSize(329, 186);

    lblProjectName = new QLabel(QStringLiteral("Название проекта:"), this);
    lblProjectName->setObjectName(QStringLiteral("lblProjectName"));
    lblProjectName->setGeometry(8, 8, 313, 14);

    edtProjectName = new QLineEdit(this);
    edtProjectName->setObjectName(QStringLiteral("edtProjectName"));
    edtProjectName->setGeometry(8, 24, 313, 22);

    lblSize = new QLabel(QStringLiteral("Размеры холста:"), this);
    lblSize->setObjectName(QStringLiteral("lblSize"));
    lblSize->setGeometry(8, 56, 313, 14);

    rbSizeByBgImage = new QRadioButton(QStringLiteral("по размерам подложки"), this);
    rbSizeByBgImage->setObjectName(QStringLiteral("rbSizeByBgImage"));
    rbSizeByBgImage->setGeometry(16, 74, 150, 20);

    btnSetBgImage = new QPushButton(QStringLiteral("Выбрать изборажение"), this);
    btnSetBgImage->setObjectName(QStringLiteral("btnSetBgImage"));
    btnSetBgImage->setGeometry(172, 72, 149, 24);

    lblBgImageName = new QLabel(this);
    lblBgImageName->setObjectName(QStringLiteral("lblBgImageName"));
    lblBgImageName->setGeometry(32, 96, 289, 14);

    rbSizeManual = new QRadioButton(QStringLiteral("указать вручную"), this);
    rbSizeManual->setObjectName(QStringLiteral("rbSizeManual"));
    rbSizeManual->setGeometry(16, 114, 150, 20);

    seWidth = new QSpinBox(this);
    seWidth->setObjectName(QStringLiteral("seWidth"));
    seWidth->setRange(10, 10000);
    seWidth->setValue(500);
    seWidth->setGeometry(172, 112, 66, 22);

    lblSizeDelim = new QLabel(QStringLiteral("x"), this);
    lblSizeDelim->setObjectName(QStringLiteral("lblSizeDelim"));
    lblSizeDelim->setAlignment(Qt::AlignCenter);
    lblSizeDelim->setGeometry(240, 112, 13, 22);

    seHeight = new QSpinBox(this);
    seHeight->setObjectName(QStringLiteral("seHeight"));
    seHeight->setRange(10, 10000);
    seHeight->setValue(500);
    seHeight->setGeometry(255, 112, 66, 22);

    btnOK = new QPushButton(this);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnOK->setGeometry(84, 152, 156, 25);
    btnOK->setDefault(true);
    connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);

    btnCancel = new QPushButton(QStringLiteral("Отмена"), this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    btnCancel->setGeometry(246, 152, 75, 25);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);

    connect(rbSizeByBgImage, &QRadioButton::toggled, this, &TfrmProjectParams::rbSizeByBgImageClick);
    connect(rbSizeManual, &QRadioButton::toggled, this, &TfrmProjectParams::rbSizeByBgImageClick);
    connect(edtProjectName, &QLineEdit::textChanged, this, &TfrmProjectParams::edtProjectNameChange);
    connect(btnSetBgImage, &QPushButton::clicked, this, &TfrmProjectParams::btnSetBgImageClick);

    FormCreate();
}

void TfrmProjectParams::FormCreate()
{
    rbSizeByBgImage->setChecked(true);
    rbSizeByBgImageClick();
    edtProjectNameChange();
    edtProjectName->setFocus();
}

void TfrmProjectParams::rbSizeByBgImageClick()
{
    const bool byImage = rbSizeByBgImage->isChecked();
    btnSetBgImage->setEnabled(byImage);
    lblBgImageName->setEnabled(byImage);
    seWidth->setEnabled(!byImage);
    seHeight->setEnabled(!byImage);
    lblSizeDelim->setEnabled(!byImage);
}

void TfrmProjectParams::edtProjectNameChange()
{
    btnOK->setEnabled(!edtProjectName->text().isEmpty());
}

void TfrmProjectParams::btnSetBgImageClick()
{
    const QString fileName = Prompts().OpenFileName(this, QString(), OpenPictureDialogFilter());
    if (fileName.isEmpty())
        return;
    BgImageFileName = fileName;
    lblBgImageName->setText(QFileInfo(fileName).fileName());
    lblBgImageName->setToolTip(fileName);
}
