#pragma once
// The reachability check before an update: echo requests to the device
// until two replies have arrived or about five seconds have passed, driven
// by the event loop so the window keeps working meanwhile.

#include "core/update/icmp_echo.h"

#include <QElapsedTimer>
#include <QObject>

namespace mirandel {

// How long the check tries: no new attempt starts once `totalMs` have
// passed, and each echo waits `attemptMs` for its reply.
struct PingTiming {
    int totalMs = 5000;
    int attemptMs = 400;
};

class DevicePing : public QObject {
    Q_OBJECT
public:
    static constexpr int Successes_Needed = 2;

    // Result of the last echo: 0 no reply received (or the echo failed
    // before reporting one), 1 a reply with data, 2 a reply without data
    // (the echo timed out).
    enum PingResult { NoReply = 0, ReplyWithData = 1, ReplyWithoutData = 2 };

    explicit DevicePing(IcmpEcho &echo, QObject *parent = nullptr);

    // The timing of the next checks (a running one keeps its own).
    void setTiming(const PingTiming &timing) { m_nextTiming = timing; }
    const PingTiming &timing() const { return m_nextTiming; }

    // Starts the check of `host` (dotted IPv4 text); `finished` reports it.
    // ping_res is not cleared between the attempts: it holds the outcome of
    // the latest one. A call while a check runs restarts it.
    void Send_Ping(const QString &host);

    // Stops a running check without reporting it.
    void cancel();

    bool running() const { return m_running; }
    int ping_res() const { return m_pingRes; }
    // Why the echo itself failed, when it did (NoSocket, BadHost, SendFailed).
    IcmpEcho::Result failure() const { return m_failure; }
    bool echoFailed() const { return m_echoFailed; }
    int attempts() const { return m_attempts; }

signals:
    // `answered` is true when the last echo brought a reply with data.
    void finished(bool answered);

private:
    void PingReply(const IcmpEcho::Result &result);
    void sendAttempt();
    void stop(bool answered);

    IcmpEcho &m_echo;
    QString m_host;
    PingTiming m_nextTiming;
    PingTiming m_timing; // of the running check
    QElapsedTimer m_started;
    int m_pingRes = NoReply;
    int m_successes = 0;
    int m_attempts = 0;
    bool m_running = false;
    bool m_echoFailed = false;
    IcmpEcho::Result m_failure;
};

} // namespace mirandel
