// The about box.
#include "uAbout.h"

#include "uDialogFont.h"
#include "uMisc.h"
#include "uPrompts.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QUrl>

namespace {

const char* const KNotice
    = "Тесворн помогает проектировщику расставить тепловые и дымовые извещатели на плане "
      "помещений и оценить время обнаружения пожара, продолжительность его начальной стадии "
      "и комбинированную горючую нагрузку. Результаты расчета носят справочный характер: "
      "проектные решения принимает и за них отвечает проектировщик в соответствии с "
      "действующими нормами.";

const char* const KTerms
    = "Условия использования\n"
      "\n"
      "1. Программа предоставляется «как есть». Авторы не дают гарантий пригодности программы "
      "для какой-либо определенной цели и не отвечают за последствия ее применения.\n"
      "\n"
      "2. Расчеты выполняются по введенным пользователем данным и по данным справочной базы. "
      "Пользователь сам проверяет исходные данные, справочные значения и полученные "
      "результаты.\n"
      "\n"
      "3. Отчеты, созданные программой, являются вспомогательными материалами и не заменяют "
      "проектную документацию.\n"
      "\n"
      "4. Справочную базу данных можно дополнять и изменять. Изменения в ней влияют на все "
      "последующие расчеты.\n"
      "\n"
      "5. Пользуясь программой, вы соглашаетесь с этими условиями.";

} // namespace

TfrmAbout::TfrmAbout(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("О программе"));
    SetDialogFont(this);
    setFixedSize(510, 394);

    imgIcon = new QLabel(this);
    imgIcon->setObjectName(QStringLiteral("imgIcon"));
    imgIcon->setGeometry(8, 8, 32, 32);

    lblAppName = new QLabel(this);
    lblAppName->setObjectName(QStringLiteral("lblAppName"));
    QFont bold = font();
    bold.setBold(true);
    lblAppName->setFont(bold);
    lblAppName->setGeometry(46, 9, 300, 14);

    lblAppVersion = new QLabel(this);
    lblAppVersion->setObjectName(QStringLiteral("lblAppVersion"));
    lblAppVersion->setGeometry(46, 25, 300, 14);

    Bevel1 = new QFrame(this);
    Bevel1->setObjectName(QStringLiteral("Bevel1"));
    Bevel1->setFrameShape(QFrame::HLine);
    Bevel1->setFrameShadow(QFrame::Sunken);
    Bevel1->setGeometry(8, 46, 494, 2);

    lblNotice = new QLabel(QString::fromUtf8(KNotice), this);
    lblNotice->setObjectName(QStringLiteral("lblNotice"));
    lblNotice->setWordWrap(true);
    lblNotice->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblNotice->setGeometry(8, 56, 484, 91);

    Memo = new QPlainTextEdit(this);
    Memo->setObjectName(QStringLiteral("Memo"));
    Memo->setReadOnly(true);
    Memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo->setPlainText(QString::fromUtf8(KTerms));
    Memo->setGeometry(8, 153, 494, 167);

    lblLink = new QLabel(this);
    lblLink->setObjectName(QStringLiteral("lblLink"));
    QFont linkFont = font();
    linkFont.setPixelSize(17); // 13 points at 96 dpi
    lblLink->setFont(linkFont);
    lblLink->setText(QStringLiteral("<a href=\"%1\">%1</a>").arg(AboutLinkAddress));
    lblLink->setTextFormat(Qt::RichText);
    lblLink->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    lblLink->setOpenExternalLinks(false);
    lblLink->move(184, 324);
    lblLink->adjustSize();
    connect(lblLink, &QLabel::linkActivated, this, &TfrmAbout::lblLinkClick);

    Bevel2 = new QFrame(this);
    Bevel2->setObjectName(QStringLiteral("Bevel2"));
    Bevel2->setFrameShape(QFrame::HLine);
    Bevel2->setFrameShadow(QFrame::Sunken);
    Bevel2->setGeometry(8, 352, 494, 2);

    btnOK = new QPushButton(QStringLiteral("Закрыть"), this);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnOK->setGeometry(510 - 8 - 75, 394 - 8 - 25, 75, 25);
    btnOK->setDefault(true);
    connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);

    FormCreate();
}

void TfrmAbout::FormCreate()
{
    const QIcon icon = QApplication::windowIcon().isNull() ? QIcon(QStringLiteral(":/tesvorn.png"))
                                                           : QApplication::windowIcon();
    imgIcon->setPixmap(icon.pixmap(32, 32));
    lblAppVersion->setText(GetFileVersionText(QCoreApplication::applicationFilePath()));
}

void TfrmAbout::lblLinkClick(const QString& link)
{
    Prompts().OpenUrl(QUrl(link));
}
