// ICMP echo on Windows: IcmpSendEcho2 with an event that a QWinEventNotifier
// watches, so the request completes without blocking the event loop. The
// system writes the reply into the request's buffer whenever it arrives (at
// the latest at the time-out), so an abandoned request keeps its buffer until
// its event has fired.

#include "core/update/icmp_echo.h"

#ifdef Q_OS_WIN

#include <QList>
#include <QWinEventNotifier>

#include <winsock2.h>
#include <iphlpapi.h>
#include <icmpapi.h>

#include <cstring>
#include <utility>

namespace mirandel {

namespace {

// One outstanding IcmpSendEcho2 call with everything the system writes to.
struct PendingEcho {
    HANDLE icmp = INVALID_HANDLE_VALUE;
    HANDLE event = nullptr;
    QByteArray request;
    QByteArray reply;
    QWinEventNotifier *notifier = nullptr;
    int timeoutMs = 0;
    bool abandoned = false;

    ~PendingEcho()
    {
        delete notifier;
        if (icmp != INVALID_HANDLE_VALUE)
            IcmpCloseHandle(icmp);
        if (event)
            CloseHandle(event);
    }
};

class WindowsIcmpEcho : public IcmpEcho {
public:
    ~WindowsIcmpEcho() override
    {
        // The system may still write into a pending reply buffer: wait for
        // each request's own time-out before freeing it.
        for (PendingEcho *pending : std::as_const(m_pending)) {
            WaitForSingleObject(pending->event, DWORD(pending->timeoutMs + 1000));
            delete pending;
        }
    }

    void send(const QString &host, const QByteArray &data, int timeoutMs) override
    {
        cancel();
        const auto octets = parseIpv4Address(host);
        if (!octets) {
            reportLater({Outcome::BadHost, 0, {}});
            return;
        }
        auto *pending = new PendingEcho;
        pending->timeoutMs = timeoutMs;
        pending->icmp = IcmpCreateFile();
        if (pending->icmp == INVALID_HANDLE_VALUE) {
            const QString reason = qt_error_string(int(GetLastError()));
            delete pending;
            reportLater({Outcome::NoSocket, 0, reason});
            return;
        }
        pending->event = CreateEventW(nullptr, FALSE, FALSE, nullptr);
        if (!pending->event) {
            const QString reason = qt_error_string(int(GetLastError()));
            delete pending;
            reportLater({Outcome::SendFailed, 0, reason});
            return;
        }
        pending->request = data;
        // Room for one reply, its data, an ICMP error message and the
        // status block the asynchronous call appends.
        pending->reply = QByteArray(qsizetype(sizeof(ICMP_ECHO_REPLY)) + data.size() + 8 + 64, '\0');
        IPAddr destination = 0;
        std::memcpy(&destination, octets->data(), 4); // dotted order is network order

        const DWORD immediate = IcmpSendEcho2(pending->icmp, pending->event, nullptr, nullptr, destination,
                                              pending->request.data(), WORD(pending->request.size()), nullptr,
                                              pending->reply.data(), DWORD(pending->reply.size()), DWORD(timeoutMs));
        if (immediate == 0 && GetLastError() != ERROR_IO_PENDING) {
            const QString reason = qt_error_string(int(GetLastError()));
            delete pending;
            reportLater({Outcome::SendFailed, 0, reason});
            return;
        }
        pending->notifier = new QWinEventNotifier(pending->event);
        QObject::connect(pending->notifier, &QWinEventNotifier::activated, this,
                         [this, pending] { complete(pending); });
        m_pending.append(pending);
        m_current = pending;
    }

    void cancel() override
    {
        ++m_generation;
        if (m_current) {
            m_current->abandoned = true;
            m_current = nullptr;
        }
    }

private:
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

    void complete(PendingEcho *pending)
    {
        pending->notifier->setEnabled(false);
        Result result{Outcome::TimeOut, 0, {}};
        const DWORD count = IcmpParseReplies(pending->reply.data(), DWORD(pending->reply.size()));
        if (count > 0) {
            const auto *reply = reinterpret_cast<const ICMP_ECHO_REPLY *>(pending->reply.constData());
            if (reply->Status == IP_SUCCESS)
                result = {Outcome::Reply, int(qMax<DWORD>(reply->DataSize, 1)), {}};
        }
        const bool report = !pending->abandoned;
        if (m_current == pending)
            m_current = nullptr;
        m_pending.removeOne(pending);
        pending->notifier->deleteLater(); // we are inside its signal
        pending->notifier = nullptr;
        delete pending;
        if (report)
            emit finished(result);
    }

    QList<PendingEcho *> m_pending;
    PendingEcho *m_current = nullptr;
    quint64 m_generation = 0;
};

} // namespace

std::unique_ptr<IcmpEcho> createSystemIcmpEcho()
{
    return std::make_unique<WindowsIcmpEcho>();
}

} // namespace mirandel

#endif // Q_OS_WIN
