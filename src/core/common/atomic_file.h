#pragma once
// Whole-file writes that never leave a half-written file behind: the data go
// to a temporary file beside the target, which then replaces it.

#include <QByteArray>
#include <QString>

namespace mirandel {

// Writes `data` to `path` through QSaveFile. On failure returns false, puts a
// message naming the reason in *error (if given), and leaves any previous
// file untouched.
bool writeFileAtomically(const QString &path, const QByteArray &data, QString *error);

// Keeps an existing file that could not be read by copying it to
// `path` + ".bad" (replacing an older copy) before it gets overwritten.
bool keepUnreadableFile(const QString &path, QString *error);

} // namespace mirandel
