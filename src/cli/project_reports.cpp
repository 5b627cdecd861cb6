#include "cli/project_reports.h"

#include "core/common/workspace_layout.h"
#include "core/iec61850/variable_table.h"
#include "core/params/par_gen.h"
#include "core/tls/known_cert_list.h"

#include <QDir>
#include <QJsonArray>
#include <QTextStream>
#include <algorithm>

namespace mirandel::cli {

namespace {

bool unreadable(const XmlLoadResult &result)
{
    return result.status == XmlLoadResult::Malformed || result.status == XmlLoadResult::Unreadable;
}

QString cannotRead(const QString &path, const XmlLoadResult &result)
{
    return QStringLiteral("cannot read %1: %2").arg(QDir::toNativeSeparators(path), result.describe());
}

QString time(const QDateTime &t)
{
    return t.isValid() ? t.toUTC().toString(Qt::ISODate) : QString();
}

QString findingText(const CertFinding &f)
{
    return f.detail.isEmpty() ? certProblemCode(f.problem)
                              : certProblemCode(f.problem) + QStringLiteral(": ") + f.detail;
}

} // namespace

bool ProjectTlsReport::hasProblems() const
{
    return std::any_of(entries.begin(), entries.end(), [](const TlsSlotReport &s) { return !s.findings.isEmpty(); });
}

ProjectTlsReport inspectProjectTls(const QString &projectDir, const TlsInspectionOptions &options)
{
    ProjectTlsReport report;
    const ProjectFolder project(projectDir);
    const QString parPath = project.parGenFile();
    ParGen parameters;
    const XmlLoadResult par = loadParGen(parPath, parameters);
    if (unreadable(par)) {
        report.error = cannotRead(parPath, par);
        return report;
    }
    const QString listPath = project.knownCertFile();
    GridRows list = makeKnownCertList();
    const TableLoadResult known = loadKnownCertList(listPath, list);
    if (unreadable(known.xml)) {
        report.error = cannotRead(listPath, known.xml);
        return report;
    }
    report.entries = inspectTls(tlsTextsOf(parameters, list), options);
    return report;
}

ProjectMapReport mapProject(const QString &projectDir)
{
    ProjectMapReport report;
    const QString path = ProjectFolder(projectDir).variablesFile();
    GridRows table = makeVariableTable();
    const TableLoadResult loaded = loadVariableTable(path, table);
    if (unreadable(loaded.xml)) {
        report.error = cannotRead(path, loaded.xml);
        return report;
    }
    report.map = buildDataArrayMap(table);
    return report;
}

QString tlsText(const QList<TlsSlotReport> &entries)
{
    QString text;
    QTextStream out(&text);
    for (const TlsSlotReport &s : entries) {
        out << s.slot << ":";
        if (!s.present)
            out << " (empty)";
        out << "\n";
        if (s.key) {
            out << "  key: ";
            if (s.key->opened)
                out << s.key->keyType << " " << s.key->keyBits << " bits";
            else
                out << "not opened";
            out << (s.key->encrypted ? ", encrypted" : ", not encrypted");
            if (s.key->encrypted)
                out << (s.key->opened ? ", the password opens it" : ", the password does not open it");
            out << "\n";
        }
        if (const auto &c = s.certificate) {
            out << "  subject: " << c->subject << "\n"
                << "  issuer: " << c->issuer << "\n"
                << "  serial: " << c->serialNumber << "\n"
                << "  not before: " << time(c->notBefore) << "\n"
                << "  not after: " << time(c->notAfter) << "\n"
                << "  sha256 fingerprint: " << c->sha256Fingerprint << "\n"
                << "  public key: " << c->publicKeyType << " " << c->publicKeyBits << " bits\n"
                << "  signature: " << c->signatureAlgorithm << "\n"
                << "  CA: " << (c->isCa ? "yes" : "no") << "\n";
        }
        if (s.findings.isEmpty())
            out << "  problems: none\n";
        for (const CertFinding &f : s.findings)
            out << "  problem: " << findingText(f) << "\n";
    }
    if (entries.isEmpty())
        out << "no key or certificate in the project\n";
    return text;
}

QJsonObject tlsJson(const QList<TlsSlotReport> &entries)
{
    QJsonArray array;
    for (const TlsSlotReport &s : entries) {
        QJsonObject entry{{QStringLiteral("slot"), s.slot}, {QStringLiteral("present"), s.present}};
        if (s.key) {
            entry.insert(QStringLiteral("key"),
                         QJsonObject{{QStringLiteral("type"), s.key->keyType},
                                     {QStringLiteral("bits"), s.key->keyBits},
                                     {QStringLiteral("encrypted"), s.key->encrypted},
                                     {QStringLiteral("password_opens"),
                                      s.key->encrypted ? QJsonValue(s.key->opened) : QJsonValue()}});
        }
        if (const auto &c = s.certificate) {
            entry.insert(QStringLiteral("certificate"),
                         QJsonObject{{QStringLiteral("subject"), c->subject},
                                     {QStringLiteral("issuer"), c->issuer},
                                     {QStringLiteral("serial"), c->serialNumber},
                                     {QStringLiteral("not_before"), time(c->notBefore)},
                                     {QStringLiteral("not_after"), time(c->notAfter)},
                                     {QStringLiteral("sha256_fingerprint"), c->sha256Fingerprint},
                                     {QStringLiteral("public_key_type"), c->publicKeyType},
                                     {QStringLiteral("public_key_bits"), c->publicKeyBits},
                                     {QStringLiteral("signature_algorithm"), c->signatureAlgorithm},
                                     {QStringLiteral("is_ca"), c->isCa}});
        }
        QJsonArray details;
        for (const CertFinding &f : s.findings)
            details.append(QJsonObject{{QStringLiteral("code"), certProblemCode(f.problem)},
                                       {QStringLiteral("detail"), f.detail}});
        entry.insert(QStringLiteral("problems"), QJsonArray::fromStringList(s.problemCodes()));
        entry.insert(QStringLiteral("details"), details);
        array.append(entry);
    }
    return {{QStringLiteral("entries"), array}};
}

QString mapText(const DataArrayMap &map)
{
    QString text;
    QTextStream out(&text);
    for (const VariableSpan &s : map.spans) {
        out << "row " << s.row + 1 << " " << s.name << ": " << s.first << "-" << s.last;
        if (s.isBit())
            out << " bit " << s.bit;
        out << "\n";
    }
    if (map.spans.isEmpty())
        out << "no enabled variable\n";
    for (const MapProblem &p : map.problems)
        out << "problem: " << p.code() << ": " << p.describe() << "\n";
    return text;
}

QJsonObject mapJson(const DataArrayMap &map)
{
    QJsonArray spans;
    for (const VariableSpan &s : map.spans) {
        spans.append(QJsonObject{{QStringLiteral("row"), s.row + 1},
                                 {QStringLiteral("name"), s.name},
                                 {QStringLiteral("first"), s.first},
                                 {QStringLiteral("last"), s.last},
                                 {QStringLiteral("bit"), s.isBit() ? QJsonValue(s.bit) : QJsonValue()}});
    }
    QJsonArray problems;
    for (const MapProblem &p : map.problems) {
        QJsonArray rows;
        if (p.otherRow >= 0)
            rows.append(p.otherRow + 1);
        rows.append(p.row + 1);
        QJsonObject problem{{QStringLiteral("code"), p.code()},
                            {QStringLiteral("rows"), rows},
                            {QStringLiteral("description"), p.describe()}};
        if (p.kind != MapProblem::DuplicateName) {
            problem.insert(QStringLiteral("first"), p.first);
            problem.insert(QStringLiteral("last"), p.last);
        }
        problems.append(problem);
    }
    return {{QStringLiteral("size"), NByte_IN},
            {QStringLiteral("variables"), spans},
            {QStringLiteral("problems"), problems}};
}

QStringList projectWarnings(const QString &projectDir)
{
    QStringList lines;
    const ProjectTlsReport tls = inspectProjectTls(projectDir);
    for (const TlsSlotReport &s : tls.entries) {
        for (const CertFinding &f : s.findings)
            lines.append(QStringLiteral("warning: %1: %2").arg(s.slot, findingText(f)));
    }
    const ProjectMapReport map = mapProject(projectDir);
    for (const MapProblem &p : map.map.problems)
        lines.append(QStringLiteral("warning: IEC61850_Variables.xml: %1: %2").arg(p.code(), p.describe()));
    return lines;
}

} // namespace mirandel::cli
