// The scale dialog.
#include "btnScaleSetup.h"

#include "FloatSpinEdit.h"
#include "uDialogFont.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>

TfrmScaleSetup::TfrmScaleSetup(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmScaleSetup"));
    setWindowTitle(QStringLiteral("Установка масштаба по размерам помещения"));
    SetDialogFont(this);
    setFixedSize(305, 75);

    lblLength = new QLabel(QStringLiteral("Длина помещения:"), this);
    lblLength->setObjectName(QStringLiteral("lblLength"));
    lblLength->setGeometry(8, 12, 150, 13);

    edtLength = new TFloatSpinEdit(this);
    edtLength->setObjectName(QStringLiteral("edtLength"));
    edtLength->setGeometry(168, 8, 129, 22);
    edtLength->SetIncrement(1.0);

    Bevel = new QFrame(this);
    Bevel->setObjectName(QStringLiteral("Bevel"));
    Bevel->setFrameShape(QFrame::HLine);
    Bevel->setFrameShadow(QFrame::Sunken);
    Bevel->setGeometry(8, 36, 289, 2);

    btnOK = new QPushButton(QStringLiteral("Задать масштаб"), this);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnOK->setGeometry(90, 44, 126, 25);
    btnOK->setDefault(true);
    connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);

    btnClose = new QPushButton(QStringLiteral("Отмена"), this);
    btnClose->setObjectName(QStringLiteral("btnClose"));
    btnClose->setGeometry(222, 44, 75, 25);
    connect(btnClose, &QPushButton::clicked, this, &QDialog::reject);

    connect(edtLength, &QLineEdit::textChanged, this, &TfrmScaleSetup::edtLengthChange);
    edtLength->SetValue(1.0);
    edtLengthChange();
    edtLength->setFocus();
}

void TfrmScaleSetup::edtLengthChange()
{
    btnOK->setEnabled(edtLength->Value() > 0);
}
