#include "core/update/device_ping.h"

namespace mirandel {

DevicePing::DevicePing(IcmpEcho &echo, QObject *parent)
    : QObject(parent)
    , m_echo(echo)
{
    connect(&m_echo, &IcmpEcho::finished, this, &DevicePing::PingReply);
}

void DevicePing::Send_Ping(const QString &host)
{
    cancel();
    m_host = host;
    m_timing = m_nextTiming;
    m_pingRes = NoReply;
    m_successes = 0;
    m_attempts = 0;
    m_echoFailed = false;
    m_failure = {};
    m_running = true;
    m_started.start();
    sendAttempt();
}

void DevicePing::cancel()
{
    if (!m_running)
        return;
    m_running = false;
    m_echo.cancel();
}

void DevicePing::sendAttempt()
{
    ++m_attempts;
    // The echo data is the address text itself.
    m_echo.send(m_host, m_host.toLatin1(), m_timing.attemptMs);
}

void DevicePing::PingReply(const IcmpEcho::Result &result)
{
    if (!m_running)
        return;
    switch (result.outcome) {
    case IcmpEcho::Outcome::Reply:
        m_pingRes = result.bytesReceived > 0 ? ReplyWithData : ReplyWithoutData;
        break;
    case IcmpEcho::Outcome::TimeOut:
        m_pingRes = ReplyWithoutData;
        break;
    case IcmpEcho::Outcome::BadHost:
    case IcmpEcho::Outcome::NoSocket:
    case IcmpEcho::Outcome::SendFailed:
        // The echo could not be made at all: the check ends here.
        m_echoFailed = true;
        m_failure = result;
        stop(false);
        return;
    }
    if (m_pingRes == ReplyWithData)
        ++m_successes;
    if (m_successes >= Successes_Needed || m_started.elapsed() > m_timing.totalMs) {
        stop(m_pingRes == ReplyWithData);
        return;
    }
    sendAttempt();
}

void DevicePing::stop(bool answered)
{
    m_running = false;
    emit finished(answered);
}

} // namespace mirandel
