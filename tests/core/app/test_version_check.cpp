// The version check's rules: version texts, the decision on the server's
// answer, the addresses built from the server base.

#include "core/app/version_check.h"

#include <gtest/gtest.h>

using namespace mirandel;

TEST(ConvVersion, VersionTexts)
{
    const struct {
        const char16_t *text;
        int expected;
    } cases[] = {
        {u"1.000", 1000},
        {u"1.002", 1002},
        {u"9.999", 9999},
        {u"VER. 1.002", 1002},    // the text after the first space
        {u"VER.   2.345  ", 2345}, // trimmed after the space
        {u"1.0021", 1002},        // characters 1, 3, 4 and 5 only
        {u"VER. 1.2", -1},        // too short
        {u"", -1},
        {u"VER.", -1},            // no space: the whole text, too short
        {u"VER. ", -1},
        {u"VER. a.bcd", -1},
        {u"VER. x.FFF", -1},      // no hexadecimal
        {u"VER. -.123", -1},      // no sign
        {u"VER. +.123", -1},
        {u"VER. 1. 23", -1},
        {u"VER.\t1.002", -1},     // only a blank separates; the whole text is read
    };
    for (const auto &c : cases) {
        const QString text = QString::fromUtf16(c.text);
        SCOPED_TRACE(text.toStdString());
        EXPECT_EQ(Conv_Version(text), c.expected);
    }
}

TEST(CheckVersion, DecisionOnTheAnswer)
{
    const struct {
        const char16_t *answer;
        bool newer;
    } cases[] = {
        {u"VER. 1.001", true},
        {u"  VER. 1.002\r\n", true},
        {u"ver. 2.000", true},
        {u"VER. 1.000", false}, // same version
        {u"VER. 0.999", false},
        {u"VER. 0.000", false},
        {u"ver. 0.000", false},
        {u"Ver. 0.000", false},
        {u"VER. 1.2", false},
        {u"", false},
        {u"   \r\n", false},
        {u"<html><body>Not found</body></html>", false},
    };
    for (const auto &c : cases) {
        const QString answer = QString::fromUtf16(c.answer);
        SCOPED_TRACE(answer.toStdString());
        EXPECT_EQ(isNewerVersionAnswer(answer, QStringLiteral("1.000")), c.newer);
    }
    // An own version that cannot be read never reports a newer one.
    EXPECT_FALSE(isNewerVersionAnswer(QStringLiteral("VER. 9.999"), QStringLiteral("1.0")));
}

TEST(CheckVersion, AddressesOnTheServer)
{
    for (const QString &server : {QStringLiteral("http://127.0.0.1:8080"), QStringLiteral("http://127.0.0.1:8080/")}) {
        SCOPED_TRACE(server.toStdString());
        EXPECT_EQ(versionQueryUrl(server, QStringLiteral("CF51830")).toString(),
                  QStringLiteral("http://127.0.0.1:8080/home/download/GetversionSW.asp?nomesw=CF51830"));
        EXPECT_EQ(downloadPageUrl(server).toString(),
                  QStringLiteral("http://127.0.0.1:8080/Home/download/download.asp#GW51830"));
    }
}

TEST(CheckVersion, ServerChoice)
{
    const QByteArray saved = qgetenv(Version_Server_Variable);
    qunsetenv(Version_Server_Variable);
    EXPECT_EQ(resolveVersionServer(), Default_Version_Server);
    qputenv(Version_Server_Variable, "http://127.0.0.1:1234");
    EXPECT_EQ(resolveVersionServer(), QStringLiteral("http://127.0.0.1:1234"));
    EXPECT_EQ(resolveVersionServer(QStringLiteral("http://127.0.0.1:99")), QStringLiteral("http://127.0.0.1:99"));
    qputenv(Version_Server_Variable, "  ");
    EXPECT_EQ(resolveVersionServer(), Default_Version_Server);
    if (saved.isNull())
        qunsetenv(Version_Server_Variable);
    else
        qputenv(Version_Server_Variable, saved);
}
