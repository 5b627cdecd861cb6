#pragma once
// The version check: the addresses on the maker's web server and the rules
// that turn the server's answer into "a newer version exists". The HTTP
// request itself lives in the GUI layer (gui/app/version_query.h); everything
// decided about the answer is here, testable without a network.

#include <QString>
#include <QUrl>

namespace mirandel {

// Base address of the maker's web server, used when neither the command line
// nor MIRANDEL_VERSION_SERVER names another one.
inline const QString Default_Version_Server = QStringLiteral("https://www.tarvik.com");

// Environment variable that overrides the server's base address.
inline constexpr char Version_Server_Variable[] = "MIRANDEL_VERSION_SERVER";

// Time-out of one version query, in milliseconds.
inline constexpr int Default_Version_Query_Timeout_Ms = 10000;

// The base address to use: `commandLineValue` when not empty, else the
// environment variable when set and not empty, else Default_Version_Server.
QString resolveVersionServer(const QString &commandLineValue = QString());

// <server>/home/download/GetversionSW.asp?nomesw=<swCode>
QUrl versionQueryUrl(const QString &server, const QString &swCode);

// <server>/Home/download/download.asp#GW51830, the download page announced
// by the new-version links.
QUrl downloadPageUrl(const QString &server);

// The version number of a version text: the text after the first space (the
// whole text without a space), trimmed; its characters 1, 3, 4 and 5 joined
// ("1.002" gives 1002). -1 when the text is shorter than five characters or
// any of those four characters is not a decimal digit.
int Conv_Version(const QString &Ver_str);

// Decides on the server's answer text (empty when the query failed): true
// only when it carries a valid version number greater than the valid number
// of `ownVersion`. An empty answer and "VER. 0.000" (in any letter case, the
// answer for an unknown software code) are never newer.
bool isNewerVersionAnswer(const QString &answer, const QString &ownVersion);

} // namespace mirandel
