// Writes the example project (uExampleProject) to the file named on the command line,
// with the program's own project-file writer. Run by the build.
#include "uExampleProject.h"
#include "uFireClasses.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: tesvorn-make-example OUT.fsp\n");
        return 2;
    }
    const QString out = args[1];
    QDir().mkpath(QFileInfo(out).absolutePath());
    QString error;
    if (!MakeExampleProject()->SaveToFile(out, &error)) {
        std::fprintf(stderr, "%s\n", error.toUtf8().constData());
        return 1;
    }
    return 0;
}
