// The project parameters dialog.
#include "uProjectParams.h"

#include "uDialogFont.h"
#include "uPrompts.h"

#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
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

    lblProjectName = new QLabel(QStringLiteral("Название проекта:"), this);
    lblProjectName->setObjectName(QStringLiteral("lblProjectName"));

    edtProjectName = new QLineEdit(this);
    edtProjectName->setObjectName(QStringLiteral("edtProjectName"));
    edtProjectName->setMinimumWidth(313);

    lblSize = new QLabel(QStringLiteral("Размеры холста:"), this);
    lblSize->setObjectName(QStringLiteral("lblSize"));

    rbSizeByBgImage = new QRadioButton(QStringLiteral("по размерам подложки"), this);
    rbSizeByBgImage->setObjectName(QStringLiteral("rbSizeByBgImage"));

    btnSetBgImage = new QPushButton(QStringLiteral("Выбрать изборажение"), this);
    btnSetBgImage->setObjectName(QStringLiteral("btnSetBgImage"));

    lblBgImageName = new QLabel(this);
    lblBgImageName->setObjectName(QStringLiteral("lblBgImageName"));

    rbSizeManual = new QRadioButton(QStringLiteral("указать вручную"), this);
    rbSizeManual->setObjectName(QStringLiteral("rbSizeManual"));

    seWidth = new QSpinBox(this);
    seWidth->setObjectName(QStringLiteral("seWidth"));
    seWidth->setRange(10, 10000);
    seWidth->setValue(500);

    lblSizeDelim = new QLabel(QStringLiteral("x"), this);
    lblSizeDelim->setObjectName(QStringLiteral("lblSizeDelim"));
    lblSizeDelim->setAlignment(Qt::AlignCenter);

    seHeight = new QSpinBox(this);
    seHeight->setObjectName(QStringLiteral("seHeight"));
    seHeight->setRange(10, 10000);
    seHeight->setValue(500);

    btnOK = new QPushButton(this);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnOK->setDefault(true);
    btnOK->setMinimumWidth(156);
    connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);

    btnCancel = new QPushButton(QStringLiteral("Отмена"), this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);

    // Laid out rather than placed, so that every caption is shown in full whatever the
    // font: the name on top, the two ways of sizing the canvas indented below it, the
    // buttons at the bottom right.
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(8, 8, 8, 8);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(4);
    grid->setColumnMinimumWidth(0, 8);
    grid->addWidget(lblProjectName, 0, 0, 1, 5);
    grid->addWidget(edtProjectName, 1, 0, 1, 5);
    grid->addItem(new QSpacerItem(0, 6), 2, 0);
    grid->addWidget(lblSize, 3, 0, 1, 5);
    grid->addWidget(rbSizeByBgImage, 4, 1);
    grid->addWidget(btnSetBgImage, 4, 2, 1, 3);
    grid->addWidget(lblBgImageName, 5, 1, 1, 4);
    grid->addWidget(rbSizeManual, 6, 1);
    grid->addWidget(seWidth, 6, 2);
    grid->addWidget(lblSizeDelim, 6, 3);
    grid->addWidget(seHeight, 6, 4);
    grid->addItem(new QSpacerItem(0, 10), 7, 0);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnOK);
    buttons->addWidget(btnCancel);
    grid->addLayout(buttons, 8, 0, 1, 5);
    grid->setColumnStretch(2, 1);
    grid->setColumnStretch(4, 1);
    // Fixed, at the size the layout needs.
    grid->setSizeConstraint(QLayout::SetFixedSize);

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
