#pragma once
// Helpers shared by the fuzz targets: the input as text and as files.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdlib>

namespace mirandel::fuzz {

inline QByteArray bytes(const uint8_t *data, size_t size)
{
    return QByteArray(reinterpret_cast<const char *>(data), qsizetype(size));
}

// One folder for the whole run; the targets that need files write there.
// On Linux it lies in /dev/shm: the atomic saves sync to disk, which would
// otherwise cost more than everything else a run does.
inline const QTemporaryDir &workDir()
{
    static QTemporaryDir dir(QDir(QStringLiteral("/dev/shm")).exists()
                                 ? QStringLiteral("/dev/shm/mirandel-fuzz-XXXXXX")
                                 : QDir::tempPath() + QStringLiteral("/mirandel-fuzz-XXXXXX"));
    return dir;
}

inline QString writeFile(const QString &name, const QByteArray &content)
{
    const QString path = QDir(workDir().path()).filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(content) != content.size())
        std::abort();
    return path;
}

// Splits the input at each "\n====\n" into at most `parts` pieces.
inline QList<QByteArray> split(const QByteArray &input, int parts)
{
    QList<QByteArray> out;
    qsizetype from = 0;
    while (out.size() < parts - 1) {
        const qsizetype at = input.indexOf("\n====\n", from);
        if (at < 0)
            break;
        out.append(input.mid(from, at - from));
        from = at + 6;
    }
    out.append(input.mid(from));
    while (out.size() < parts)
        out.append(QByteArray());
    return out;
}

// A check that a fuzz run must never see fail.
#define FUZZ_ASSERT(condition)                                                                                         \
    do {                                                                                                               \
        if (!(condition)) {                                                                                            \
            fprintf(stderr, "%s:%d: assertion failed: %s\n", __FILE__, __LINE__, #condition);                          \
            std::abort();                                                                                              \
        }                                                                                                              \
    } while (0)

} // namespace mirandel::fuzz
