#pragma once
// A stand-in for the external updater: a small shell script placed where the
// real updater would be, which records how it was started and the descriptor
// it found beside itself, optionally sleeps, and then marks that it ended.

#include "core/update/update_descriptor.h"

#include <QFile>
#include <QString>
#include "test_files.h"

namespace mirandel::test {

struct FakeUpdater {
    QString program;   // the script
    QString argsFile;  // "argc=N" and the arguments, one per line
    QString seenFile;  // copy of the descriptor it found
    QString doneFile;  // written as its last step
};

// Writes the script into `workspace` as the updater program. It sleeps
// `sleepSeconds` (may be fractional) before it ends.
inline FakeUpdater writeFakeUpdater(const QString &workspace, const QString &sleepSeconds = QStringLiteral("0"))
{
    FakeUpdater f;
    f.program = updaterProgramPath(workspace);
    f.argsFile = workspace + QStringLiteral("/updater_args.txt");
    f.seenFile = workspace + QStringLiteral("/updater_seen.xml");
    f.doneFile = workspace + QStringLiteral("/updater_done.txt");
    const QString script = QStringLiteral(
                               "#!/bin/sh\n"
                               "here=$(dirname \"$0\")\n"
                               "{ echo \"argc=$#\"; for a in \"$@\"; do echo \"$a\"; done; } > \"%1\"\n"
                               "cp \"$here/Ethernet_Update.xml\" \"%2\" 2>/dev/null\n"
                               "sleep %3\n"
                               "echo done > \"%4\"\n")
                               .arg(f.argsFile, f.seenFile, sleepSeconds, f.doneFile);
    QFile file(f.program);
    if (file.open(QIODevice::WriteOnly)) {
        file.write(script.toUtf8());
        file.close();
        file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup
                            | QFile::ExeGroup);
    }
    return f;
}

} // namespace mirandel::test
