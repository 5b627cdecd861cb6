#pragma once
// VersionQuery: asks the maker's web server for the latest version of this
// program. The HTTP GET runs asynchronously on the event loop, so the window
// keeps responding while the server is slow or silent; the answer arrives
// through the versionChecked signal. Whatever goes wrong (no connection, an
// HTTP error status, the time-out, an oversized answer) counts as an empty
// answer, which is never a newer version. One query runs at a time.

#include <QObject>
#include <QPointer>
#include <QString>

class QNetworkAccessManager;
class QNetworkReply;

namespace mirandel {

struct AppContext;

class VersionQuery : public QObject {
    Q_OBJECT
public:
    // Largest answer read; a longer one is abandoned as a failure.
    static constexpr qint64 Max_Answer_Bytes = 64 * 1024;

    explicit VersionQuery(AppContext &context, QObject *parent = nullptr);

    // Starts the query of SW_Code at the context's Version_Server with its
    // Version_Query_Timeout_Ms; a query still running is abandoned first
    // (its result is never reported).
    void Check_Version();
    // Abandons the running query, if any, without reporting it.
    void cancel();
    bool isRunning() const { return !m_reply.isNull(); }

    // The answer text of the last finished query (empty on failure).
    QString lastAnswer() const { return m_lastAnswer; }
    // Why the last finished query got no answer (no connection, time-out,
    // an HTTP error status, an oversized answer); empty when the server
    // answered.
    QString lastError() const { return m_lastError; }

signals:
    // The query ended: `newer` is true when the server reports a version
    // newer than this program's.
    void versionChecked(bool newer);

private:
    void onFinished(QNetworkReply *reply);

    AppContext &m_context;
    QNetworkAccessManager *m_manager;
    QPointer<QNetworkReply> m_reply;
    QString m_lastAnswer;
    QString m_lastError;
};

} // namespace mirandel
