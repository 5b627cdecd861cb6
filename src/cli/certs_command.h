#pragma once

#include "cli/command.h"

namespace mirandel::cli {

// certs PROJECT_DIR [--json] [--warn-days N]: the key and every certificate
// of the project with their fields and problems; exits with 1 when there is
// a problem.
class CertsCommand : public Command {
public:
    QString name() const override { return QStringLiteral("certs"); }
    QString description() const override
    {
        return QStringLiteral("Inspect the TLS key and certificates: subjects, expiry, fingerprints, problems.");
    }

protected:
    void defineArguments(QList<QCommandLineOption> &options, QList<Positional> &positionals) override;
    int execute(const QCommandLineParser &parser, const QStringList &positionals, QTextStream &out,
                QTextStream &err) override;
};

// map PROJECT_DIR [--json]: where each enabled variable sits in the internal
// data array, and the overlaps; exits with 1 when there is a problem.
class MapCommand : public Command {
public:
    QString name() const override { return QStringLiteral("map"); }
    QString description() const override
    {
        return QStringLiteral("Show the bytes of the data array each variable uses, and the overlaps.");
    }

protected:
    void defineArguments(QList<QCommandLineOption> &options, QList<Positional> &positionals) override;
    int execute(const QCommandLineParser &parser, const QStringList &positionals, QTextStream &out,
                QTextStream &err) override;
};

} // namespace mirandel::cli
