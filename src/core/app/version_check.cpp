#include "core/app/version_check.h"

#include <QtGlobal>

namespace mirandel {

QString resolveVersionServer(const QString &commandLineValue)
{
    if (!commandLineValue.trimmed().isEmpty())
        return commandLineValue.trimmed();
    const QString fromEnvironment = qEnvironmentVariable(Version_Server_Variable).trimmed();
    if (!fromEnvironment.isEmpty())
        return fromEnvironment;
    return Default_Version_Server;
}

namespace {

// The base address with any trailing slashes removed, so that joining a path
// never gives a double slash.
QString serverBase(const QString &server)
{
    QString base = server.trimmed();
    while (base.endsWith(u'/'))
        base.chop(1);
    return base;
}

} // namespace

QUrl versionQueryUrl(const QString &server, const QString &swCode)
{
    QUrl url(serverBase(server) + QStringLiteral("/home/download/GetversionSW.asp"));
    url.setQuery(QStringLiteral("nomesw=") + QString::fromLatin1(QUrl::toPercentEncoding(swCode)));
    return url;
}

QUrl downloadPageUrl(const QString &server)
{
    QUrl url(serverBase(server) + QStringLiteral("/Home/download/download.asp"));
    url.setFragment(QStringLiteral("GW51830"));
    return url;
}

int Conv_Version(const QString &Ver_str)
{
    const qsizetype space = Ver_str.indexOf(u' ');
    const QString t = (space < 0 ? Ver_str : Ver_str.mid(space + 1)).trimmed();
    if (t.size() < 5)
        return -1;
    // Only plain decimal digits count: a sign or a hexadecimal prefix in the
    // answer would otherwise turn garbage into a large "version".
    int number = 0;
    for (qsizetype position : {0, 2, 3, 4}) {
        const QChar c = t.at(position);
        if (c < u'0' || c > u'9')
            return -1;
        number = number * 10 + (c.unicode() - u'0');
    }
    return number;
}

bool isNewerVersionAnswer(const QString &answer, const QString &ownVersion)
{
    const QString trimmed = answer.trimmed();
    const QString upper = trimmed.toUpper();
    if (upper.isEmpty() || upper == QStringLiteral("VER. 0.000"))
        return false;
    const int own = Conv_Version(ownVersion);
    const int server = Conv_Version(trimmed);
    return own != -1 && server != -1 && server > own;
}

} // namespace mirandel
