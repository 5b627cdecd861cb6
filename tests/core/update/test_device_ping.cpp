#include "core/update/device_ping.h"
#include "core/update/fake_icmp_echo.h"

#include <QElapsedTimer>
#include <QFile>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using namespace mirandel;
using test::FakeIcmpEcho;
using Outcome = IcmpEcho::Outcome;

namespace {

struct PingRun {
    bool finished = false;
    bool answered = false;
    qint64 elapsedMs = 0;
};

PingRun runPing(DevicePing &ping, const QString &host, int waitMs = 8000)
{
    QSignalSpy spy(&ping, &DevicePing::finished);
    QElapsedTimer clock;
    clock.start();
    ping.Send_Ping(host);
    PingRun run;
    run.finished = spy.wait(waitMs) || !spy.isEmpty();
    run.elapsedMs = clock.elapsed();
    if (run.finished)
        run.answered = spy.first().first().toBool();
    return run;
}

// A short budget for the tests: 200 ms in all, 20 ms per attempt.
constexpr PingTiming Short_Timing{200, 20};

TEST(DevicePing, AnsweringDevicePassesAfterTwoReplies)
{
    FakeIcmpEcho echo(FakeIcmpEcho::answering());
    DevicePing ping(echo);
    // By default the check tries for about 5 s, 400 ms per attempt.
    EXPECT_EQ(ping.timing().totalMs, 5000);
    EXPECT_EQ(ping.timing().attemptMs, 400);
    const PingRun run = runPing(ping, QStringLiteral("192.168.2.205"));
    ASSERT_TRUE(run.finished);
    EXPECT_TRUE(run.answered);
    EXPECT_EQ(ping.ping_res(), DevicePing::ReplyWithData);
    EXPECT_EQ(echo.hosts, QStringList(2, QStringLiteral("192.168.2.205")));
    // The echo data is the address text; each attempt waits 400 ms at most.
    EXPECT_EQ(echo.payloads.first(), QByteArray("192.168.2.205"));
    EXPECT_EQ(echo.lastTimeoutMs, 400);
}

TEST(DevicePing, RepliesCountEvenWithTimeOutsBetweenThem)
{
    // reply, time-out, reply: the second reply is the second success.
    FakeIcmpEcho echo([](int attempt) {
        if (attempt == 2)
            return FakeIcmpEcho::Answer{{Outcome::TimeOut, 0, {}}, 5};
        return FakeIcmpEcho::Answer{{Outcome::Reply, 40, {}}, 1};
    });
    DevicePing ping(echo);
    const PingRun run = runPing(ping, QStringLiteral("10.0.0.7"));
    ASSERT_TRUE(run.finished);
    EXPECT_TRUE(run.answered);
    EXPECT_EQ(ping.attempts(), 3);
}

TEST(DevicePing, SilentDeviceFailsWithoutDataOnceTheTotalTimeHasPassed)
{
    FakeIcmpEcho echo(FakeIcmpEcho::silent());
    DevicePing ping(echo);
    ping.setTiming(Short_Timing);
    const PingRun run = runPing(ping, QStringLiteral("192.168.2.205"));
    ASSERT_TRUE(run.finished);
    EXPECT_FALSE(run.answered);
    EXPECT_EQ(ping.ping_res(), DevicePing::ReplyWithoutData);
    EXPECT_FALSE(ping.echoFailed());
    EXPECT_EQ(echo.lastTimeoutMs, Short_Timing.attemptMs);
    EXPECT_GE(run.elapsedMs, Short_Timing.totalMs);
    // Attempt after attempt until the time is up, and none after it: each
    // one lasts its whole time-out.
    EXPECT_GE(ping.attempts(), 2);
    EXPECT_LE(ping.attempts(), Short_Timing.totalMs / Short_Timing.attemptMs + 1);
}

TEST(DevicePing, AReplyFollowedOnlyByTimeOutsFails)
{
    // ping_res keeps the last outcome: one early reply is not enough.
    FakeIcmpEcho echo([](int attempt) {
        if (attempt == 1)
            return FakeIcmpEcho::Answer{{Outcome::Reply, 40, {}}, 1};
        return FakeIcmpEcho::Answer{{Outcome::TimeOut, 0, {}}, FakeIcmpEcho::Request_Timeout};
    });
    DevicePing ping(echo);
    ping.setTiming(Short_Timing);
    const PingRun run = runPing(ping, QStringLiteral("192.168.2.205"));
    ASSERT_TRUE(run.finished);
    EXPECT_FALSE(run.answered);
    EXPECT_EQ(ping.ping_res(), DevicePing::ReplyWithoutData);
}

TEST(DevicePing, EchoFailuresEndTheCheckAtOnceWithNoReply)
{
    for (const Outcome outcome : {Outcome::BadHost, Outcome::NoSocket, Outcome::SendFailed}) {
        SCOPED_TRACE(int(outcome));
        FakeIcmpEcho echo(FakeIcmpEcho::failing(outcome));
        DevicePing ping(echo);
        const PingRun run = runPing(ping, QStringLiteral("a.b.c.d"));
        ASSERT_TRUE(run.finished);
        EXPECT_FALSE(run.answered);
        EXPECT_EQ(ping.ping_res(), DevicePing::NoReply);
        EXPECT_TRUE(ping.echoFailed());
        EXPECT_EQ(ping.failure().outcome, outcome);
        EXPECT_EQ(ping.attempts(), 1);
    }
}

TEST(DevicePing, CancelStopsWithoutReporting)
{
    FakeIcmpEcho echo(FakeIcmpEcho::silent());
    DevicePing ping(echo);
    QSignalSpy spy(&ping, &DevicePing::finished);
    ping.Send_Ping(QStringLiteral("192.168.2.205"));
    ping.cancel();
    EXPECT_FALSE(ping.running());
    EXPECT_EQ(echo.cancels, 1);
    EXPECT_FALSE(echo.answerPending());
    // A reply that still arrives after the cancel is not reported.
    echo.deliverNow();
    EXPECT_TRUE(spy.isEmpty());
    EXPECT_FALSE(ping.running());
    EXPECT_EQ(echo.hosts.size(), 1);
}

TEST(Ipv4Address, OnlyFourDecimalOctetsAreUsable)
{
    const struct {
        const char *text;
        bool usable;
    } cases[] = {{"192.168.2.205", true}, {"0.0.0.0", true}, {"010.0.0.7", true},
                 {"192.168.2", false},    {"1.2.3.4.5", false}, {"192.168.2.256", false},
                 {"192.168..1", false},   {"a.b.c.d", false},   {" 1.2.3.4", false},
                 {"1.2.3.0x4", false},    {"", false},          {"1.2.3.-4", false}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(parseIpv4Address(QString::fromLatin1(c.text)).has_value(), c.usable);
    }
    const auto octets = parseIpv4Address(QStringLiteral("010.0.0.7"));
    ASSERT_TRUE(octets);
    EXPECT_EQ(*octets, (std::array<quint8, 4>{10, 0, 0, 7}));
}

QString pingGroupRange()
{
    QFile file(QStringLiteral("/proc/sys/net/ipv4/ping_group_range"));
    return file.open(QIODevice::ReadOnly) ? QString::fromLatin1(file.readAll()).simplified()
                                          : QStringLiteral("(unreadable)");
}

// Sends real echo requests to the loopback address (never anywhere else).
TEST(SystemIcmpEcho, LoopbackAnswersWithinASecond)
{
    auto echo = createSystemIcmpEcho();
    QSignalSpy spy(echo.get(), &IcmpEcho::finished);
    echo->send(QStringLiteral("127.0.0.1"), QByteArray("127.0.0.1"), 1000);
    ASSERT_TRUE(spy.wait(1500));
    const auto result = spy.first().first().value<IcmpEcho::Result>();
    if (result.outcome == Outcome::NoSocket) {
        GTEST_SKIP() << "This machine allows neither an ICMP datagram socket nor a raw socket "
                        "(net.ipv4.ping_group_range = "
                     << pingGroupRange().toStdString() << ", no CAP_NET_RAW): "
                     << result.detail.toStdString();
    }
    EXPECT_EQ(result.outcome, Outcome::Reply) << result.detail.toStdString();
    EXPECT_GT(result.bytesReceived, 0);

    // The whole check against the loopback passes quickly, too.
    DevicePing ping(*echo);
    const PingRun run = runPing(ping, QStringLiteral("127.0.0.1"), 2000);
    ASSERT_TRUE(run.finished);
    EXPECT_TRUE(run.answered);
    EXPECT_EQ(ping.attempts(), 2);
}

TEST(SystemIcmpEcho, UnusableHostTextIsReportedWithoutSending)
{
    auto echo = createSystemIcmpEcho();
    for (const char *host : {"192.168.2", "a.b.c.d", "300.1.1.1"}) {
        SCOPED_TRACE(host);
        QSignalSpy spy(echo.get(), &IcmpEcho::finished);
        echo->send(QString::fromLatin1(host), QByteArray(host), 400);
        EXPECT_TRUE(spy.isEmpty()); // never reported from inside send()
        ASSERT_TRUE(spy.wait(1000));
        EXPECT_EQ(spy.first().first().value<IcmpEcho::Result>().outcome, Outcome::BadHost);
    }
}

} // namespace
