#include "core/common/file_read.h"

#include <QFile>
#include <QFileInfo>

namespace mirandel {

FileReadResult readRegularFile(const QString &path, QByteArray &data, qint64 maxSize)
{
    FileReadResult result;
    data.clear();
    const QFileInfo info(path);
    if (!info.exists()) {
        result.status = FileReadResult::Missing;
        return result;
    }
    // QFileInfo::isFile() follows symbolic links and is false for folders,
    // FIFOs, sockets and device files.
    if (!info.isFile()) {
        result.status = FileReadResult::NotRegular;
        result.message = info.isDir() ? QStringLiteral("is a folder, not a regular file")
                                      : QStringLiteral("is not a regular file");
        return result;
    }
    if (info.size() > maxSize) {
        result.status = FileReadResult::TooLarge;
        result.message = QStringLiteral("is larger than %1 bytes").arg(maxSize);
        return result;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        result.status = FileReadResult::Failed;
        result.message = file.errorString();
        return result;
    }
    // The size was checked before opening; read one byte more than allowed
    // to catch a file that grew since.
    data = file.read(maxSize + 1);
    if (file.error() != QFileDevice::NoError) {
        data.clear();
        result.status = FileReadResult::Failed;
        result.message = file.errorString();
        return result;
    }
    if (data.size() > maxSize) {
        data.clear();
        result.status = FileReadResult::TooLarge;
        result.message = QStringLiteral("is larger than %1 bytes").arg(maxSize);
        return result;
    }
    result.status = FileReadResult::Ok;
    return result;
}

} // namespace mirandel
