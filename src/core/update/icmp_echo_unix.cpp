// ICMP echo on Linux (and other Unix systems): an unprivileged ICMP datagram
// socket where net.ipv4.ping_group_range admits the user's group, otherwise
// a raw socket where the process has the CAP_NET_RAW capability. The socket
// is watched with a QSocketNotifier and the time-out is a QTimer, so nothing
// blocks the event loop.

#include "core/update/icmp_echo.h"

#ifdef Q_OS_UNIX

#include <QSocketNotifier>
#include <QTimer>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace mirandel {

namespace {

constexpr quint8 kEchoRequest = 8;
constexpr quint8 kEchoReply = 0;
constexpr int kIcmpHeaderSize = 8;

quint16 internetChecksum(const QByteArray &data)
{
    quint32 sum = 0;
    const auto *p = reinterpret_cast<const quint8 *>(data.constData());
    qsizetype n = data.size();
    for (; n > 1; n -= 2, p += 2)
        sum += quint32(p[0]) << 8 | p[1];
    if (n == 1)
        sum += quint32(p[0]) << 8;
    while (sum >> 16)
        sum = (sum & 0xFFFF) + (sum >> 16);
    return quint16(~sum);
}

int openNonBlocking(int type)
{
    const int fd = ::socket(AF_INET, type, IPPROTO_ICMP);
    if (fd < 0)
        return -1;
    ::fcntl(fd, F_SETFD, FD_CLOEXEC);
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
    return fd;
}

class SocketIcmpEcho : public IcmpEcho {
public:
    SocketIcmpEcho()
    {
        m_timer.setSingleShot(true);
        connect(&m_timer, &QTimer::timeout, this, [this] { finish({Outcome::TimeOut, 0, {}}); });
    }
    ~SocketIcmpEcho() override { teardown(); }

    void send(const QString &host, const QByteArray &data, int timeoutMs) override
    {
        cancel();
        const auto octets = parseIpv4Address(host);
        if (!octets) {
            reportLater({Outcome::BadHost, 0, {}});
            return;
        }
        std::memcpy(&m_target, octets->data(), 4); // dotted order is network order

        m_raw = false;
        m_fd = openNonBlocking(SOCK_DGRAM);
        if (m_fd < 0) {
            const QString dgramError = qt_error_string(errno);
            m_raw = true;
            m_fd = openNonBlocking(SOCK_RAW);
            if (m_fd < 0) {
                const QString rawError = qt_error_string(errno);
                reportLater({Outcome::NoSocket, 0,
                             QStringLiteral("ICMP datagram socket: %1; raw ICMP socket: %2")
                                 .arg(dgramError, rawError)});
                return;
            }
        }

        // A datagram socket gets its identifier from the kernel; on a raw
        // socket the identifier tells our replies from those of others.
        m_ident = quint16((::getpid() ^ ++m_requests) & 0xFFFF);
        m_sequence = quint16(m_requests & 0xFFFF);
        QByteArray packet(kIcmpHeaderSize, '\0');
        packet[0] = char(kEchoRequest);
        packet[4] = char(m_ident >> 8);
        packet[5] = char(m_ident & 0xFF);
        packet[6] = char(m_sequence >> 8);
        packet[7] = char(m_sequence & 0xFF);
        packet.append(data);
        const quint16 sum = internetChecksum(packet);
        packet[2] = char(sum >> 8);
        packet[3] = char(sum & 0xFF);

        sockaddr_in to{};
        to.sin_family = AF_INET;
        to.sin_addr.s_addr = m_target;
        const ssize_t sent = ::sendto(m_fd, packet.constData(), size_t(packet.size()), 0,
                                      reinterpret_cast<const sockaddr *>(&to), sizeof to);
        if (sent != ssize_t(packet.size())) {
            const QString reason = qt_error_string(sent < 0 ? errno : EMSGSIZE);
            teardown();
            reportLater({Outcome::SendFailed, 0, reason});
            return;
        }
        m_notifier = new QSocketNotifier(qintptr(m_fd), QSocketNotifier::Read, this);
        connect(m_notifier, &QSocketNotifier::activated, this, [this] { readReplies(); });
        m_timer.start(timeoutMs);
    }

    void cancel() override
    {
        ++m_generation;
        teardown();
    }

private:
    void teardown()
    {
        m_timer.stop();
        if (m_notifier) {
            m_notifier->setEnabled(false);
            m_notifier->deleteLater();
            m_notifier = nullptr;
        }
        if (m_fd >= 0) {
            ::close(m_fd);
            m_fd = -1;
        }
    }

    // Reports after send() has returned, unless the request is cancelled or
    // replaced before that.
    void reportLater(const Result &result)
    {
        const quint64 generation = m_generation;
        QMetaObject::invokeMethod(
            this,
            [this, result, generation] {
                if (generation == m_generation)
                    emit finished(result);
            },
            Qt::QueuedConnection);
    }

    void finish(const Result &result)
    {
        teardown();
        emit finished(result); // last: a receiver may send the next request
    }

    void readReplies()
    {
        char buffer[2048];
        while (m_fd >= 0) {
            sockaddr_in from{};
            socklen_t fromSize = sizeof from;
            const ssize_t n = ::recvfrom(m_fd, buffer, sizeof buffer, 0,
                                         reinterpret_cast<sockaddr *>(&from), &fromSize);
            if (n < 0)
                return; // nothing more queued (or a transient error): keep waiting
            const auto *p = reinterpret_cast<const quint8 *>(buffer);
            qsizetype size = n;
            // A raw socket delivers the IP header as well.
            if (size >= 20 && (p[0] >> 4) == 4) {
                const int headerSize = (p[0] & 0x0F) * 4;
                if (headerSize < 20 || headerSize > size)
                    continue;
                p += headerSize;
                size -= headerSize;
            }
            if (size < kIcmpHeaderSize || p[0] != kEchoReply || p[1] != 0)
                continue;
            if (from.sin_addr.s_addr != m_target)
                continue;
            const quint16 ident = quint16(p[4] << 8 | p[5]);
            const quint16 sequence = quint16(p[6] << 8 | p[7]);
            if (sequence != m_sequence || (m_raw && ident != m_ident))
                continue;
            finish({Outcome::Reply, int(size), {}});
            return;
        }
    }

    int m_fd = -1;
    bool m_raw = false;
    quint32 m_target = 0;
    quint16 m_ident = 0;
    quint16 m_sequence = 0;
    quint32 m_requests = 0;
    quint64 m_generation = 0;
    QSocketNotifier *m_notifier = nullptr;
    QTimer m_timer;
};

} // namespace

std::unique_ptr<IcmpEcho> createSystemIcmpEcho()
{
    return std::make_unique<SocketIcmpEcho>();
}

} // namespace mirandel

#endif // Q_OS_UNIX
