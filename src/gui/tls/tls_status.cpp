#include "gui/tls/tls_status.h"

#include "core/lang/text_table.h"
#include "gui/common/prompter.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QRegularExpression>

namespace mirandel {

namespace {

// No certificate or key file comes near this; a larger file is not read.
constexpr qint64 Max_Tls_File = 1024 * 1024;

QString day(const QDateTime &time)
{
    return time.toString(QStringLiteral("yyyy-MM-dd"));
}

bool hasText(int index)
{
    return index >= 0;
}

} // namespace

QColor statusColour(StatusLevel level)
{
    switch (level) {
    case StatusLevel::Severe:
        return QColor(200, 0, 0);
    case StatusLevel::Warning:
        return QColor(200, 120, 0);
    case StatusLevel::Plain:
        break;
    }
    return QColor(64, 64, 64);
}

QString findingText(const CertFinding &finding, const TlsSlotReport &report, const TextTable &table,
                    const TlsStatusTexts &texts)
{
    const int index = texts.problems[size_t(finding.problem)];
    if (!hasText(index))
        return certProblemCode(finding.problem);
    QString text = table.text(index);
    const auto &cert = report.certificate;
    switch (finding.problem) {
    case CertProblem::Expired:
    case CertProblem::ExpiresSoon:
        return text.arg(cert ? day(cert->notAfter) : QString());
    case CertProblem::NotYetValid:
        return text.arg(cert ? day(cert->notBefore) : QString());
    case CertProblem::WeakKey:
        if (report.key && report.key->opened)
            return text.arg(report.key->keyType).arg(report.key->keyBits);
        return text.arg(cert ? cert->publicKeyType : QString()).arg(cert ? cert->publicKeyBits : 0);
    case CertProblem::WeakSignature:
        return text.arg(cert ? cert->signatureAlgorithm : QString());
    case CertProblem::Duplicate: {
        QStringList rows;
        static const QRegularExpression known(QStringLiteral("known:(\\d+)"));
        for (auto it = known.globalMatch(finding.detail); it.hasNext();)
            rows.append(it.next().captured(1));
        return text.arg(rows.join(QStringLiteral(", ")));
    }
    default:
        return text;
    }
}

TlsStatus tlsStatus(const TlsSlotReport &report, const TextTable &table, const TlsStatusTexts &texts)
{
    TlsStatus status;
    QStringList tip;
    if (const auto &c = report.certificate) {
        // The common name keeps the line short enough for its date.
        status.line =
            table.text(texts.expires).arg(c->commonName.isEmpty() ? c->subject : c->commonName, day(c->notAfter));
        tip.append(status.line);
        tip.append(c->subject);
        if (hasText(texts.issuer))
            tip.append(table.text(texts.issuer).arg(c->issuer));
        if (hasText(texts.validity))
            tip.append(table.text(texts.validity).arg(day(c->notBefore), day(c->notAfter)));
        if (hasText(texts.fingerprint))
            tip.append(table.text(texts.fingerprint).arg(c->sha256Fingerprint));
        if (hasText(texts.keyPlain))
            tip.append(table.text(texts.keyPlain).arg(c->publicKeyType).arg(c->publicKeyBits) + QStringLiteral(", ")
                       + c->signatureAlgorithm);
    } else if (report.key && report.key->opened) {
        const int index = report.key->encrypted ? texts.keyEncrypted : texts.keyPlain;
        status.line = table.text(index).arg(report.key->keyType).arg(report.key->keyBits);
        tip.append(status.line);
    }

    // The first severe problem, else the first problem, takes the line.
    const CertFinding *shown = nullptr;
    for (const CertFinding &f : report.findings) {
        if (isSevereCertProblem(f.problem)) {
            shown = &f;
            break;
        }
    }
    if (!shown && !report.findings.isEmpty())
        shown = &report.findings.first();
    for (const CertFinding &f : report.findings)
        tip.append(findingText(f, report, table, texts));
    if (shown) {
        status.line = findingText(*shown, report, table, texts);
        status.level = isSevereCertProblem(shown->problem) ? StatusLevel::Severe : StatusLevel::Warning;
    }
    status.tooltip = tip.join(QLatin1Char('\n'));
    return status;
}

FileChooser platformFileChooser()
{
    return [](QWidget *parent, const QString &filter) {
        return QFileDialog::getOpenFileName(parent, QString(), QString(), filter);
    };
}

std::optional<QString> readTlsFile(QWidget *parent, Prompter &prompter, const TextTable &table, int errorText,
                                   const QString &path)
{
    const QString file = QDir::toNativeSeparators(path);
    QFile input(path);
    QString reason;
    std::optional<QString> text;
    // A device or a pipe could block the window forever: regular files only.
    if (!QFileInfo(path).isFile()) {
        reason = QStringLiteral("not a regular file");
    } else if (!input.open(QIODevice::ReadOnly)) {
        reason = input.errorString();
    } else {
        const QByteArray data = input.read(Max_Tls_File + 1);
        if (input.error() != QFileDevice::NoError)
            reason = input.errorString();
        else if (data.size() > Max_Tls_File)
            reason = QStringLiteral("larger than %1 bytes").arg(Max_Tls_File);
        else if (!(text = pemTextFromFile(data)))
            reason = QStringLiteral("neither PEM nor DER");
    }
    if (!text)
        prompter.error(parent, table.text(errorText).arg(file, reason));
    return text;
}

} // namespace mirandel
