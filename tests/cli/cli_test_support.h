#pragma once
// Runs mirandel-cli in process and captures what it printed.

#include "cli/command.h"

#include <QString>
#include <QStringList>
#include <QTextStream>

namespace mirandel::test {

struct CliRun {
    int code = -1;
    QString out;
    QString err;
};

inline CliRun runCli(const QStringList &args)
{
    CliRun r;
    QTextStream out(&r.out);
    QTextStream err(&r.err);
    r.code = cli::runCli(args, out, err);
    out.flush();
    err.flush();
    return r;
}

} // namespace mirandel::test
