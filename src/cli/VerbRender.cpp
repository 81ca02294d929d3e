// tesvorn-cli project render: draws a project's plan into a PNG file exactly as the
// program's window shows it after opening the project (no background picture, since the
// project file holds none, unless one is given).
//
//   tesvorn-cli project render FILE.fsp OUT.png [--room-info] [--scale] [--transparent]
//                              [--background PICTURE]
//
// --room-info and --scale are the View menu's "Информация о помещениях" and
// "Показывать масштаб"; --transparent draws the zones hatched over the background.
// Prints {"file", "width", "height"}. A project that cannot be loaded exits 1, bad usage 2.
#include "uCliCommon.h"

#include "uFireClasses.h"

#include <QFileInfo>
#include <QImage>

namespace {

int RenderVerb(const QStringList& args)
{
    QStringList files;
    bool roomInfo = false, scale = false, transparent = false;
    QString background;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == QLatin1String("--room-info"))
            roomInfo = true;
        else if (a == QLatin1String("--scale"))
            scale = true;
        else if (a == QLatin1String("--transparent"))
            transparent = true;
        else if (a == QLatin1String("--background")) {
            if (i + 1 >= args.size())
                throw ECliError(QStringLiteral("--background needs a picture file"));
            background = args[++i];
        } else if (a.startsWith(QLatin1String("--")))
            throw ECliError(QStringLiteral("unknown option: ") + a);
        else
            files << a;
    }
    if (files.size() != 2)
        throw ECliError(QStringLiteral("expected FILE.fsp OUT.png"));

    TFireProject project;
    QString error;
    if (!project.LoadFromFile(files[0], &error))
        throw ECliError(QStringLiteral("Не удалось загрузить проект. ") + error, 1);
    if (!background.isEmpty() && !project.SetBackgroundImage(background, &error))
        throw ECliError(QStringLiteral("Не удалось загрузить фоновое изображение. ") + error, 1);
    project.SetPaintParams(roomInfo, false, scale, transparent);

    QImage picture;
    project.PaintRooms(picture);
    if (picture.isNull())
        throw ECliError(QStringLiteral("the plan has no size to draw"), 1);
    const QString suffix = QFileInfo(files[1]).suffix().toLower();
    if (!picture.save(files[1], suffix == QLatin1String("png") || suffix.isEmpty() ? "PNG" : nullptr))
        throw ECliError(QStringLiteral("cannot write ") + files[1], 1);

    QJsonObject out;
    out["file"] = files[1];
    out["width"] = picture.width();
    out["height"] = picture.height();
    PrintJson(out);
    return 0;
}

TCliVerbRegistration reg("project render",
                         "FILE.fsp OUT.png [--room-info] [--scale] [--transparent] [--background PICTURE]",
                         RenderVerb);

} // namespace
