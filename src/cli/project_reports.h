#pragma once
// The warnings of a project folder that the commands certs, map and check
// share: the inspection of its TLS texts and the map of its data array, read
// from the project's files, with their text and JSON forms.

#include "core/iec61850/data_array_map.h"
#include "core/tls/cert_inspection.h"

#include <QJsonObject>
#include <QStringList>

namespace mirandel::cli {

struct ProjectTlsReport {
    QString error; // a project file that could not be read, with the reason; empty when read
    QList<TlsSlotReport> entries;
    bool hasProblems() const;
};

struct ProjectMapReport {
    QString error;
    DataArrayMap map;
};

// ParGen.xml and TLS_Known_Cert.xml of `projectDir`, inspected.
ProjectTlsReport inspectProjectTls(const QString &projectDir, const TlsInspectionOptions &options = {});

// IEC61850_Variables.xml of `projectDir`, mapped.
ProjectMapReport mapProject(const QString &projectDir);

// Human-readable forms, one block per slot and one line per span and problem.
QString tlsText(const QList<TlsSlotReport> &entries);
QString mapText(const DataArrayMap &map);
QJsonObject tlsJson(const QList<TlsSlotReport> &entries);
QJsonObject mapJson(const DataArrayMap &map);

// "warning: <slot>: <code>: <detail>" for every finding, and
// "warning: IEC61850_Variables.xml: <code>: <description>" for every map
// problem; files that cannot be read give no warning (check reports them).
QStringList projectWarnings(const QString &projectDir);

} // namespace mirandel::cli
