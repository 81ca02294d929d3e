// Build-time tool: zips the XML parts of a report template, kept readable in the
// repository, into a Word template file.
//
//   tesvorn_make_template OUT.dotx DIR [DIR ...]
//
// Every file under each DIR becomes a part named by its path relative to that DIR; a part
// of a later DIR replaces the same part of an earlier one (the templates share their
// styles, settings, header and footer and differ in word/document.xml). Every .xml and
// .rels part must be well-formed XML, or the tool fails naming the file and the error, so
// that a typing slip in a template stops the build instead of reaching a user.
#include "uReportPackage.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QSaveFile>

#include <pugixml.hpp>

#include <cstdio>
#include <map>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: tesvorn_make_template OUT.dotx DIR [DIR ...]\n");
        return 2;
    }
    std::map<QString, QByteArray> parts; // sorted: the archive is the same on every build
    for (const QString& dir : args.mid(1)) {
        const QDir root(dir);
        if (!root.exists()) {
            std::fprintf(stderr, "tesvorn_make_template: no folder %s\n", qPrintable(dir));
            return 1;
        }
        QDirIterator it(dir, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            QFile file(path);
            if (!file.open(QIODevice::ReadOnly)) {
                std::fprintf(stderr, "tesvorn_make_template: cannot read %s\n", qPrintable(path));
                return 1;
            }
            const QByteArray data = file.readAll();
            if (path.endsWith(QLatin1String(".xml")) || path.endsWith(QLatin1String(".rels"))) {
                pugi::xml_document doc;
                const pugi::xml_parse_result result
                    = doc.load_buffer(data.constData(), static_cast<size_t>(data.size()));
                if (!result) {
                    std::fprintf(stderr, "%s: offset %lld: %s\n", qPrintable(path),
                        static_cast<long long>(result.offset), result.description());
                    return 1;
                }
            }
            parts[root.relativeFilePath(path)] = data;
        }
    }
    TReportPackage package;
    for (const auto& [name, data] : parts)
        package.Put(name, data);
    QByteArray bytes;
    QString error;
    if (!package.Write(&bytes, &error)) {
        std::fprintf(stderr, "tesvorn_make_template: %s\n", qPrintable(error));
        return 1;
    }
    QSaveFile out(args[0]);
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.commit()) {
        std::fprintf(stderr, "tesvorn_make_template: cannot write %s: %s\n", qPrintable(args[0]),
            qPrintable(out.errorString()));
        return 1;
    }
    return 0;
}
