#pragma once

#include "cli/command.h"

#include <vector>

namespace mirandel {
class TextTable;
}

namespace mirandel::cli {

// Outcome of checking one project file: passed, or the message to print.
struct FileCheckResult {
    bool passed = true;
    QString message;
};

// One project file and the routine that checks it (the file's own data
// check, run on the file's values; a missing file is checked with the values
// its editor would show).
struct ProjectFileCheck {
    QString fileName;
    FileCheckResult (*run)(const QString &projectDir, const TextTable &texts);
};

// The checks `check` runs, in order. A project file's check is added here.
std::vector<ProjectFileCheck> projectFileChecks();

// Controllo_Dati on PROJECT_DIR/ParGen.xml.
FileCheckResult checkParGenFile(const QString &projectDir, const TextTable &texts);

// Controllo_dati on PROJECT_DIR/IEC61850_Variables.xml (the first 50 rows,
// as the variable editor shows them).
FileCheckResult checkVariablesFile(const QString &projectDir, const TextTable &texts);

// check PROJECT_DIR: runs every project file check and prints one line per
// file, "<file>: OK" or "<file>: <message>", then one "warning:" line per
// problem of the TLS texts and of the data-array map. Exit 0 when all checks
// pass, 1 when any fails or cannot be read; warnings do not change it.
class CheckCommand : public Command {
public:
    QString name() const override { return QStringLiteral("check"); }
    QString description() const override
    {
        return QStringLiteral("Run the data checks of the project's files and print the first error of each.");
    }

protected:
    void defineArguments(QList<QCommandLineOption> &options, QList<Positional> &positionals) override;
    int execute(const QCommandLineParser &parser, const QStringList &positionals, QTextStream &out,
                QTextStream &err) override;
};

} // namespace mirandel::cli
