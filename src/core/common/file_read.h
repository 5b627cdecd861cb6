#pragma once
// Whole-file reads of outside input. Only regular files are opened: a
// folder, a FIFO or a device file is refused before it is opened, so a reader
// can never block on a pipe or read without end from a device.

#include <QByteArray>
#include <QString>

namespace mirandel {

struct FileReadResult {
    enum Status {
        Ok,
        Missing,    // nothing exists at the path
        NotRegular, // a folder, FIFO, socket or device file
        TooLarge,   // larger than the reader's limit
        Failed      // exists but could not be opened or read
    };
    Status status = Missing;
    QString message; // the reason, for every status but Ok and Missing

    bool ok() const { return status == Ok; }
};

// Reads the regular file `path` into `data`, at most `maxSize` bytes (a
// larger file is refused with TooLarge, without reading it whole).
FileReadResult readRegularFile(const QString &path, QByteArray &data, qint64 maxSize);

} // namespace mirandel
