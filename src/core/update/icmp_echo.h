#pragma once
// One ICMP echo request to an IPv4 address, answered asynchronously: send()
// returns at once and `finished` reports the outcome later, from the event
// loop, so a waiting window keeps painting and handling input.

#include <QByteArray>
#include <QObject>
#include <QString>
#include <array>
#include <memory>
#include <optional>

namespace mirandel {

// A dotted IPv4 address of four decimal numbers 0..255 (leading zeros read
// as decimal, no blanks, no other characters); nullopt for anything else.
std::optional<std::array<quint8, 4>> parseIpv4Address(const QString &text);

class IcmpEcho : public QObject {
    Q_OBJECT
public:
    enum class Outcome {
        Reply,       // an echo reply arrived; bytesReceived > 0
        TimeOut,     // no reply within the time-out; bytesReceived == 0
        BadHost,     // the host text is not a usable IPv4 address
        NoSocket,    // the system refused to open an ICMP socket
        SendFailed   // the request could not be sent
    };
    Q_ENUM(Outcome)

    struct Result {
        Outcome outcome = Outcome::TimeOut;
        int bytesReceived = 0;
        QString detail; // system reason for NoSocket and SendFailed
    };

    using QObject::QObject;

    // Sends one echo request to `host` carrying `data` and waits up to
    // `timeoutMs` for the reply. `finished` is emitted exactly once per call,
    // never before send() has returned. A send() while a request is pending
    // abandons the pending one (it reports nothing).
    virtual void send(const QString &host, const QByteArray &data, int timeoutMs) = 0;

    // Abandons a pending request without reporting it.
    virtual void cancel() = 0;

signals:
    void finished(const mirandel::IcmpEcho::Result &result);
};

// The platform's echo: on Linux an unprivileged ICMP datagram socket, or a
// raw socket where the process may open one; on Windows IcmpSendEcho2.
std::unique_ptr<IcmpEcho> createSystemIcmpEcho();

} // namespace mirandel

Q_DECLARE_METATYPE(mirandel::IcmpEcho::Result)
