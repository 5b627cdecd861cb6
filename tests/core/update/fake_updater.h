#pragma once
// A stand-in for the external updater: the small program built from
// tests/support/fake_updater.cpp, copied to where the real updater would be.
// It records how it was started and the descriptor it found beside itself,
// optionally sleeps, and then marks that it ended.

#include "core/update/update_descriptor.h"

#include <QDir>
#include <QFile>
#include <QString>
#include "test_files.h"

namespace mirandel::test {

struct FakeUpdater {
    QString program;   // the copy of the program
    QString argsFile;  // "argc=N" and the arguments, one per line
    QString seenFile;  // copy of the descriptor it found
    QString doneFile;  // written as its last step
};

// Copies the program into `workspace` as the updater, with the file that
// tells it where to write. It sleeps `sleepSeconds` (may be fractional)
// before it ends.
inline FakeUpdater writeFakeUpdater(const QString &workspace, const QString &sleepSeconds = QStringLiteral("0"))
{
    FakeUpdater f;
    f.program = updaterProgramPath(workspace);
    f.argsFile = workspace + QStringLiteral("/updater_args.txt");
    f.seenFile = workspace + QStringLiteral("/updater_seen.xml");
    f.doneFile = workspace + QStringLiteral("/updater_done.txt");
    QFile::remove(f.program);
    QFile::copy(QStringLiteral(MIRANDEL_FAKE_UPDATER), f.program);
    QFile config(QDir(workspace).filePath(QStringLiteral("fake_updater.cfg")));
    if (config.open(QIODevice::WriteOnly))
        config.write(QStringList{f.argsFile, f.seenFile, sleepSeconds, f.doneFile}.join(u'\n').toUtf8() + '\n');
    return f;
}

} // namespace mirandel::test
