#pragma once
// A minimal HTTP server on 127.0.0.1 for tests of the version query: it
// answers every request with the status and body the test chose, or accepts
// the connection and never answers.

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QObject>
#include <QString>
#include <QTcpServer>
#include <QTcpSocket>

namespace mirandel::test {

class LocalHttpServer : public QObject {
public:
    LocalHttpServer()
    {
        connect(&m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *socket = m_server.nextPendingConnection())
                serve(socket);
        });
    }

    bool start() { return m_server.listen(QHostAddress::LocalHost, 0); }

    // http://127.0.0.1:<port>
    QString baseUrl() const { return QStringLiteral("http://127.0.0.1:%1").arg(m_server.serverPort()); }

    void answer(int status, const QByteArray &body)
    {
        m_silent = false;
        m_status = status;
        m_body = body;
    }
    // Accept connections, read the requests, never answer.
    void stayQuiet() { m_silent = true; }

    // The request lines received ("GET /path HTTP/1.1").
    const QList<QByteArray> &requestLines() const { return m_requestLines; }

private:
    void serve(QTcpSocket *socket)
    {
        socket->setParent(this);
        connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
            QByteArray &buffer = m_buffers[socket];
            buffer += socket->readAll();
            if (!buffer.contains("\r\n\r\n"))
                return;
            m_requestLines.append(buffer.left(buffer.indexOf("\r\n")));
            buffer.clear();
            if (m_silent)
                return;
            QByteArray response = "HTTP/1.1 " + QByteArray::number(m_status) + (m_status < 300 ? " OK" : " Error")
                                  + "\r\nContent-Type: text/html\r\nConnection: close\r\nContent-Length: "
                                  + QByteArray::number(m_body.size()) + "\r\n\r\n" + m_body;
            socket->write(response);
            socket->disconnectFromHost();
        });
    }

    QTcpServer m_server;
    bool m_silent = false;
    int m_status = 200;
    QByteArray m_body;
    QHash<QTcpSocket *, QByteArray> m_buffers;
    QList<QByteArray> m_requestLines;
};

} // namespace mirandel::test
