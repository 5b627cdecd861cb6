// The HTTP version query against a real server on 127.0.0.1.

#include "core/app/app_context.h"
#include "gui/app/version_query.h"
#include "gui/app/local_http_server.h"

#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using namespace mirandel;
using mirandel::test::LocalHttpServer;

namespace {

// Runs one query and returns what versionChecked reported; fails the test
// when no report came within `waitMs`.
bool checkOnce(VersionQuery &query, int waitMs = 10000)
{
    QSignalSpy spy(&query, &VersionQuery::versionChecked);
    query.Check_Version();
    EXPECT_TRUE(spy.wait(waitMs)) << "no answer reported";
    EXPECT_EQ(spy.count(), 1);
    return !spy.isEmpty() && spy.first().first().toBool();
}

} // namespace

TEST(VersionQuery, ServerAnswers)
{
    LocalHttpServer server;
    ASSERT_TRUE(server.start());
    AppContext context;
    context.Version_Server = server.baseUrl();
    VersionQuery query(context);

    const struct {
        int status;
        QByteArray body;
        bool newer;
    } cases[] = {
        {200, "VER. 1.001", true},
        {200, "VER. 1.000", false},
        {200, "VER. 0.000", false},
        {200, "ver. 0.000", false},
        {200, "VER. 1.2", false},
        {200, "", false},
        {200, "\r\n  VER. 1.002  \r\n", true},
        {404, "VER. 9.999", false}, // an error status counts as no answer,
        {500, "VER. 9.999", false}, // whatever its body says
        {200, QByteArray(VersionQuery::Max_Answer_Bytes + 10, ' ') + "VER. 9.999", false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::to_string(c.status) + " \"" + c.body.left(40).toStdString() + "\"");
        server.answer(c.status, c.body);
        EXPECT_EQ(checkOnce(query), c.newer);
        EXPECT_FALSE(query.isRunning());
    }
    ASSERT_FALSE(server.requestLines().isEmpty());
    EXPECT_TRUE(server.requestLines().first().startsWith("GET /home/download/GetversionSW.asp?nomesw=CF51830 HTTP/"))
        << server.requestLines().first().toStdString();
}

TEST(VersionQuery, NoServerIsNoUpdate)
{
    QTcpServer probe;
    ASSERT_TRUE(probe.listen(QHostAddress::LocalHost, 0));
    const quint16 port = probe.serverPort();
    probe.close(); // nobody listens on that port now
    AppContext context;
    context.Version_Server = QStringLiteral("http://127.0.0.1:%1").arg(port);
    VersionQuery query(context);
    EXPECT_FALSE(checkOnce(query));
    EXPECT_TRUE(query.lastAnswer().isEmpty());
}

TEST(VersionQuery, SilentServerTimesOutWhileTheEventLoopRuns)
{
    LocalHttpServer server;
    ASSERT_TRUE(server.start());
    server.stayQuiet();
    AppContext context;
    context.Version_Server = server.baseUrl();
    context.Version_Query_Timeout_Ms = 300;
    VersionQuery query(context);

    int ticks = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&ticks] { ++ticks; });
    ticker.start(10);
    QSignalSpy spy(&query, &VersionQuery::versionChecked);
    query.Check_Version();
    EXPECT_TRUE(query.isRunning());
    EXPECT_EQ(ticks, 0); // the request did not block until its end
    ASSERT_TRUE(spy.wait(5000)) << "the time-out did not end the query";
    EXPECT_FALSE(spy.first().first().toBool());
    EXPECT_GT(ticks, 5) << "the event loop did not run while the query waited";
    EXPECT_EQ(server.requestLines().size(), 1);
}

TEST(VersionQuery, NewQueryReplacesTheRunningOne)
{
    LocalHttpServer server;
    ASSERT_TRUE(server.start());
    server.stayQuiet();
    AppContext context;
    context.Version_Server = server.baseUrl();
    VersionQuery query(context);
    QSignalSpy spy(&query, &VersionQuery::versionChecked);
    query.Check_Version();
    for (int i = 0; i < 250 && server.requestLines().isEmpty(); ++i)
        QTest::qWait(20);
    ASSERT_EQ(server.requestLines().size(), 1);
    server.answer(200, "VER. 1.005");
    query.Check_Version(); // abandons the silent one
    ASSERT_TRUE(spy.wait(5000));
    EXPECT_TRUE(spy.first().first().toBool());
    QTest::qWait(100);
    EXPECT_EQ(spy.count(), 1) << "the abandoned query was reported too";
}
