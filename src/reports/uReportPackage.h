// The ZIP container of an Office Open XML document: its parts by name, read from and
// written to memory with libzip. Knows nothing of the parts' contents.
#pragma once

#include <QByteArray>
#include <QString>
#include <vector>

// One part of a package: its name inside the archive ("word/document.xml") and its bytes.
struct TPackagePart {
    QString Name;
    QByteArray Data;
};

// The parts of a package in archive order.
class TReportPackage {
public:
    // Reads every part of a ZIP archive held in `data`. Returns false and sets *error to a
    // short reason in Russian (not a ZIP archive, a damaged entry, an entry too large to be
    // a document part) when the archive cannot be read whole; the package is then empty.
    bool Read(const QByteArray& data, QString* error);

    // Writes the parts as a ZIP archive ("[Content_Types].xml" first, the others in their
    // order, all deflated, with a fixed time stamp so that equal parts give equal bytes).
    // Returns false and sets *error when libzip fails.
    bool Write(QByteArray* data, QString* error) const;

    // The part with this name (compared exactly), or nullptr.
    const TPackagePart* Find(const QString& name) const;
    TPackagePart* Find(const QString& name);

    // Replaces the bytes of the part with this name, adding the part when it is missing.
    void Put(const QString& name, const QByteArray& data);
    // Removes the part with this name; returns false when there is none.
    bool Remove(const QString& name);

    const std::vector<TPackagePart>& Parts() const { return FParts; }

private:
    std::vector<TPackagePart> FParts;
};

// Largest part and largest whole package accepted when reading: far above any document a
// designer writes, small enough that a hostile archive cannot exhaust memory.
constexpr qint64 ReportPackageMaxPartSize = 64LL * 1024 * 1024;
constexpr qint64 ReportPackageMaxTotalSize = 256LL * 1024 * 1024;
