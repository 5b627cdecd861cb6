#pragma once
// Scripted ICMP echo for tests: each request is answered after a chosen delay
// with the outcome a script picks for that attempt. Never touches the network.

#include "core/update/icmp_echo.h"

#include <QStringList>
#include <QTimer>
#include <functional>

namespace mirandel::test {

class FakeIcmpEcho : public IcmpEcho {
public:
    struct Answer {
        Result result;
        int delayMs = 0; // Request_Timeout: the time-out the request asked for
    };
    static constexpr int Request_Timeout = -1;
    // Attempt number (1-based) -> answer.
    using Script = std::function<Answer(int attempt)>;

    explicit FakeIcmpEcho(Script script)
        : m_script(std::move(script))
    {
        m_timer.setSingleShot(true);
        m_timer.setTimerType(Qt::PreciseTimer);
        connect(&m_timer, &QTimer::timeout, this, [this] { emit finished(m_pending); });
    }

    // A device that answers every request at once.
    static Script answering()
    {
        return [](int) { return Answer{{Outcome::Reply, 40, {}}, 1}; };
    }
    // A device that never answers: every request times out after the
    // time-out it asked for.
    static Script silent()
    {
        return [](int) { return Answer{{Outcome::TimeOut, 0, {}}, Request_Timeout}; };
    }
    static Script failing(Outcome outcome)
    {
        return [outcome](int) { return Answer{{outcome, 0, QStringLiteral("scripted failure")}, 0}; };
    }

    void send(const QString &host, const QByteArray &data, int timeoutMs) override
    {
        hosts.append(host);
        payloads.append(data);
        lastTimeoutMs = timeoutMs;
        const Answer answer = m_script(int(hosts.size()));
        m_pending = answer.result;
        m_timer.start(answer.delayMs == Request_Timeout ? timeoutMs : answer.delayMs);
    }
    void cancel() override
    {
        ++cancels;
        m_timer.stop();
    }

    bool answerPending() const { return m_timer.isActive(); }
    // Delivers the latest request's answer now, even after a cancel (a late
    // reply the system still reports).
    void deliverNow()
    {
        m_timer.stop();
        emit finished(m_pending);
    }

    QStringList hosts;
    QList<QByteArray> payloads;
    int lastTimeoutMs = 0;
    int cancels = 0;

private:
    Script m_script;
    Result m_pending;
    QTimer m_timer;
};

} // namespace mirandel::test
