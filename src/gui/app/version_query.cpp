#include "gui/app/version_query.h"

#include "core/app/app_context.h"
#include "core/app/version_check.h"

#include <QHostAddress>
#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QNetworkRequest>

namespace mirandel {

VersionQuery::VersionQuery(AppContext &context, QObject *parent)
    : QObject(parent)
    , m_context(context)
    , m_manager(new QNetworkAccessManager(this))
{
}

void VersionQuery::Check_Version()
{
    cancel();
    const QUrl url = versionQueryUrl(m_context.Version_Server, SW_Code);
    QNetworkRequest request(url);
    request.setTransferTimeout(qMax(1, m_context.Version_Query_Timeout_Ms));
    request.setHeader(QNetworkRequest::UserAgentHeader, QStringLiteral("Mirandel/") + Program_Version);
    request.setAttribute(QNetworkRequest::CookieLoadControlAttribute, QNetworkRequest::Manual);
    request.setAttribute(QNetworkRequest::CookieSaveControlAttribute, QNetworkRequest::Manual);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);

    // A server on this machine is reached directly, never through a proxy.
    const QHostAddress host(url.host());
    m_manager->setProxy(!host.isNull() && host.isLoopback() ? QNetworkProxy(QNetworkProxy::NoProxy)
                                                            : QNetworkProxy(QNetworkProxy::DefaultProxy));

    QNetworkReply *reply = m_manager->get(request);
    m_reply = reply;
    connect(reply, &QNetworkReply::downloadProgress, reply, [reply](qint64 received, qint64) {
        if (received > Max_Answer_Bytes) {
            reply->setProperty("oversized", true);
            reply->abort();
        }
    });
    connect(reply, &QNetworkReply::finished, this, [this, reply] { onFinished(reply); });
}

void VersionQuery::cancel()
{
    if (QNetworkReply *reply = m_reply) {
        m_reply.clear();
        reply->disconnect(this);
        reply->abort();
        reply->deleteLater();
    }
}

void VersionQuery::onFinished(QNetworkReply *reply)
{
    reply->deleteLater();
    if (reply != m_reply)
        return;
    m_reply.clear();
    QString answer;
    m_lastError.clear();
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (reply->error() == QNetworkReply::NoError && status >= 200 && status < 300) {
        answer = QString::fromUtf8(reply->read(Max_Answer_Bytes));
    } else if (reply->error() == QNetworkReply::OperationCanceledError) {
        // Aborted by the transfer time-out or by the size limit above.
        m_lastError =
            reply->property("oversized").toBool()
                ? QStringLiteral("the answer is larger than %1 bytes").arg(Max_Answer_Bytes)
                : QStringLiteral("no answer within %1 s").arg(qMax(1, m_context.Version_Query_Timeout_Ms) / 1000.0);
    } else if (status != 0 && (status < 200 || status >= 300)) {
        m_lastError = QStringLiteral("HTTP status %1").arg(status);
    } else {
        m_lastError = reply->errorString();
    }
    m_lastAnswer = answer;
    emit versionChecked(isNewerVersionAnswer(answer, Program_Version));
}

} // namespace mirandel
