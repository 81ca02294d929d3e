// The debug window.
#include "uDebug.h"

#include "uDialogFont.h"

#include <QPlainTextEdit>
#include <QPointer>
#include <QVBoxLayout>

namespace {
QPointer<TfrmDebug> GDebug;
}

TfrmDebug::TfrmDebug(QWidget* parent)
    : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("frmDebug"));
    setWindowTitle(QStringLiteral("Отладка"));
    resize(531, 418);
    // The program ends with its main window, whatever this window is doing.
    setAttribute(Qt::WA_QuitOnClose, false);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    memo = new QPlainTextEdit(this);
    memo->setObjectName(QStringLiteral("memo"));
    SetDialogFont(memo);
    memo->setLineWrapMode(QPlainTextEdit::NoWrap);
    memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    layout->addWidget(memo);
}

void TfrmDebug::Clear()
{
    memo->clear();
}

void TfrmDebug::AddLine(const QString& line)
{
    memo->appendPlainText(line);
}

QStringList TfrmDebug::Lines() const
{
    return memo->toPlainText().split(QLatin1Char('\n'));
}

TfrmDebug* frmDebug()
{
    if (!GDebug)
        GDebug = new TfrmDebug; // lives to the end of the program, like the start-up one
    return GDebug;
}

void SetfrmDebug(TfrmDebug* window)
{
    GDebug = window;
}
