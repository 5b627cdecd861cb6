// The command-line program `mirandel-cli`; see `mirandel-cli --help`.

#include "cli/command.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    const int code = mirandel::cli::runCli(app.arguments().mid(1), out, err);
    out.flush();
    err.flush();
    return code;
}
