#include "core/common/atomic_file.h"

#include <QFile>
#include <QSaveFile>

namespace mirandel {

bool writeFileAtomically(const QString &path, const QByteArray &data, QString *error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    // write() only fills the buffer; flush() is where a full disk or a
    // file-size limit shows. QSaveFile::commit() does not report a failed
    // final flush, and would put a cut file in place of the old one.
    if (file.write(data) != data.size() || !file.flush()) {
        if (error)
            *error = file.errorString();
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

bool keepUnreadableFile(const QString &path, QString *error)
{
    const QString bad = path + QStringLiteral(".bad");
    if (QFile::exists(bad) && !QFile::remove(bad)) {
        if (error)
            *error = QStringLiteral("cannot replace %1").arg(bad);
        return false;
    }
    QFile source(path);
    if (!source.copy(bad)) {
        if (error)
            *error = source.errorString();
        return false;
    }
    return true;
}

} // namespace mirandel
