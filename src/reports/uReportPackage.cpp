// The ZIP container of an Office Open XML document: see uReportPackage.h.
#include "uReportPackage.h"

#include <zip.h>

#include <algorithm>
#include <memory>

namespace {

// 1 January 1980, noon UTC: the first day a ZIP time stamp can hold, whatever the time zone.
constexpr time_t FixedTimeStamp = 315576000;

struct TZipCloser {
    void operator()(zip_t* archive) const { zip_discard(archive); }
};
using TZipPtr = std::unique_ptr<zip_t, TZipCloser>;

struct TFileCloser {
    void operator()(zip_file_t* file) const { zip_fclose(file); }
};

QString ZipErrorText(zip_error_t* error) { return QString::fromUtf8(zip_error_strerror(error)); }

} // namespace

bool TReportPackage::Read(const QByteArray& data, QString* error)
{
    FParts.clear();
    zip_error_t zerr;
    zip_error_init(&zerr);
    // The buffer source only borrows the bytes; `data` outlives the archive below.
    zip_source_t* source
        = zip_source_buffer_create(data.constData(), static_cast<zip_uint64_t>(data.size()), 0, &zerr);
    if (!source) {
        *error = QStringLiteral("не удалось прочитать файл (%1)").arg(ZipErrorText(&zerr));
        zip_error_fini(&zerr);
        return false;
    }
    TZipPtr archive(zip_open_from_source(source, ZIP_RDONLY, &zerr));
    if (!archive) {
        zip_source_free(source);
        *error = QStringLiteral("файл не является архивом ZIP документа Word (%1)").arg(ZipErrorText(&zerr));
        zip_error_fini(&zerr);
        return false;
    }
    zip_error_fini(&zerr);

    const zip_int64_t count = zip_get_num_entries(archive.get(), 0);
    qint64 total = 0;
    std::vector<TPackagePart> parts;
    for (zip_int64_t i = 0; i < count; ++i) {
        zip_stat_t st;
        zip_stat_init(&st);
        if (zip_stat_index(archive.get(), static_cast<zip_uint64_t>(i), 0, &st) != 0
            || !(st.valid & ZIP_STAT_NAME) || !(st.valid & ZIP_STAT_SIZE)) {
            *error = QStringLiteral("поврежден элемент архива №%1").arg(i + 1);
            return false;
        }
        const QString name = QString::fromUtf8(st.name);
        if (name.endsWith(QLatin1Char('/')))
            continue; // a folder entry carries no part
        if (st.size > static_cast<zip_uint64_t>(ReportPackageMaxPartSize)
            || total + static_cast<qint64>(st.size) > ReportPackageMaxTotalSize) {
            *error = QStringLiteral("часть %1 слишком велика для документа").arg(name);
            return false;
        }
        total += static_cast<qint64>(st.size);
        std::unique_ptr<zip_file_t, TFileCloser> file(
            zip_fopen_index(archive.get(), static_cast<zip_uint64_t>(i), 0));
        if (!file) {
            *error = QStringLiteral("не удалось распаковать часть %1 (%2)")
                         .arg(name, QString::fromUtf8(zip_strerror(archive.get())));
            return false;
        }
        QByteArray bytes(static_cast<qsizetype>(st.size), Qt::Uninitialized);
        qsizetype got = 0;
        while (got < bytes.size()) {
            const zip_int64_t n
                = zip_fread(file.get(), bytes.data() + got, static_cast<zip_uint64_t>(bytes.size() - got));
            if (n <= 0)
                break;
            got += static_cast<qsizetype>(n);
        }
        // A short read or a checksum error on close means a damaged entry.
        const int closeResult = zip_fclose(file.release());
        if (got != bytes.size() || closeResult != 0) {
            *error = QStringLiteral("часть %1 повреждена").arg(name);
            return false;
        }
        parts.push_back({ name, std::move(bytes) });
    }
    FParts = std::move(parts);
    return true;
}

bool TReportPackage::Write(QByteArray* data, QString* error) const
{
    zip_error_t zerr;
    zip_error_init(&zerr);
    zip_source_t* target = zip_source_buffer_create(nullptr, 0, 0, &zerr);
    if (!target) {
        *error = ZipErrorText(&zerr);
        zip_error_fini(&zerr);
        return false;
    }
    zip_t* archive = zip_open_from_source(target, ZIP_CREATE | ZIP_TRUNCATE, &zerr);
    if (!archive) {
        zip_source_free(target);
        *error = ZipErrorText(&zerr);
        zip_error_fini(&zerr);
        return false;
    }
    zip_error_fini(&zerr);
    // Keep the target alive after zip_close, which would otherwise free it with the archive.
    zip_source_keep(target);

    // The content types come first, as word processors write them; some readers expect it.
    std::vector<const TPackagePart*> order;
    for (const TPackagePart& part : FParts)
        order.push_back(&part);
    std::stable_partition(order.begin(), order.end(),
        [](const TPackagePart* p) { return p->Name == QLatin1String("[Content_Types].xml"); });

    auto fail = [&](const QString& why) {
        *error = why;
        zip_discard(archive);
        zip_source_free(target);
        return false;
    };
    for (const TPackagePart* part : order) {
        zip_source_t* source = zip_source_buffer(
            archive, part->Data.constData(), static_cast<zip_uint64_t>(part->Data.size()), 0);
        if (!source)
            return fail(QString::fromUtf8(zip_strerror(archive)));
        const QByteArray name = part->Name.toUtf8();
        const zip_int64_t index
            = zip_file_add(archive, name.constData(), source, ZIP_FL_ENC_UTF_8 | ZIP_FL_OVERWRITE);
        if (index < 0) {
            zip_source_free(source);
            return fail(QString::fromUtf8(zip_strerror(archive)));
        }
        zip_set_file_compression(archive, static_cast<zip_uint64_t>(index), ZIP_CM_DEFLATE, 0);
        zip_file_set_mtime(archive, static_cast<zip_uint64_t>(index), FixedTimeStamp, 0);
    }
    if (zip_close(archive) != 0) {
        const QString why = QString::fromUtf8(zip_strerror(archive));
        zip_discard(archive);
        zip_source_free(target);
        *error = why;
        return false;
    }

    bool ok = zip_source_open(target) == 0;
    QByteArray bytes;
    if (ok) {
        zip_source_seek(target, 0, SEEK_END);
        const zip_int64_t size = zip_source_tell(target);
        zip_source_seek(target, 0, SEEK_SET);
        ok = size >= 0;
        if (ok) {
            bytes.resize(static_cast<qsizetype>(size));
            ok = zip_source_read(target, bytes.data(), static_cast<zip_uint64_t>(size)) == size;
        }
        zip_source_close(target);
    }
    zip_source_free(target);
    if (!ok) {
        *error = QStringLiteral("не удалось собрать архив документа");
        return false;
    }
    *data = std::move(bytes);
    return true;
}

const TPackagePart* TReportPackage::Find(const QString& name) const
{
    for (const TPackagePart& part : FParts)
        if (part.Name == name)
            return &part;
    return nullptr;
}

TPackagePart* TReportPackage::Find(const QString& name)
{
    for (TPackagePart& part : FParts)
        if (part.Name == name)
            return &part;
    return nullptr;
}

void TReportPackage::Put(const QString& name, const QByteArray& data)
{
    if (TPackagePart* part = Find(name))
        part->Data = data;
    else
        FParts.push_back({ name, data });
}

bool TReportPackage::Remove(const QString& name)
{
    const auto it
        = std::find_if(FParts.begin(), FParts.end(), [&](const TPackagePart& p) { return p.Name == name; });
    if (it == FParts.end())
        return false;
    FParts.erase(it);
    return true;
}
