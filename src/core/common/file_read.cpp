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
        result.message =
            info.isDir() ? QStringLiteral("is a folder, not a regular file") : QStringLiteral("is not a regular file");
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
    // The size was checked before opening. Read what it announced and one
    // byte more, then on in small steps, so that a file that grew since is
    // still caught at the limit without reserving the limit up front.
    data = file.read(info.size() + 1);
    while (data.size() <= maxSize && file.error() == QFileDevice::NoError && !file.atEnd()) {
        const QByteArray more = file.read(qMin<qint64>(64 * 1024, maxSize + 1 - data.size()));
        if (more.isEmpty())
            break;
        data += more;
    }
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
