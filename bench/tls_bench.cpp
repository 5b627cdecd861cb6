// Inspection of the TLS texts of a full project: the server key, the server
// and root certificates and 10 known certificates, all RSA 2048 as the field
// uses them, made at start with libcrypto. The parameters dialog inspects
// three of them each time it opens and the known-certificate list ten, so
// the whole set must stay well under 20 ms. Also the data-array map of a
// full table of 50 variables.

#include "core/iec61850/data_array_map.h"
#include "core/iec61850/variable_table.h"
#include "core/tls/cert_inspection.h"
#include "test_pki.h"

#include <benchmark/benchmark.h>

using namespace mirandel;
using namespace mirandel::test;

namespace {

struct FullProject {
    TlsTexts plain;
    TlsTexts encrypted; // the same with an encrypted key and its password

    FullProject()
    {
        const TestIdentity root =
            makeIdentity({.commonName = QStringLiteral("Root"), .keyType = TestKey::Rsa2048, .ca = true});
        const TestIdentity server = makeIdentity(
            {.commonName = QStringLiteral("gateway"), .keyType = TestKey::Rsa2048, .serial = 2, .issuer = &root});
        plain.tlsEnabled = true;
        plain.key = server.keyPem;
        plain.serverCertificate = server.certPem;
        plain.rootCertificate = root.certPem;
        for (int i = 0; i < 10; ++i) {
            plain.knownCertificates.append(makeIdentity({.commonName = QStringLiteral("client %1").arg(i),
                                                         .keyType = TestKey::Rsa2048,
                                                         .serial = 10 + i,
                                                         .issuer = &root})
                                               .certPem);
        }
        encrypted = plain;
        encrypted.key = encryptedKeyPem(server, "secret");
        encrypted.keyPassword = QStringLiteral("secret");
    }
};

const FullProject &project()
{
    static const FullProject instance;
    return instance;
}

void BM_InspectFullProject(benchmark::State &state)
{
    const TlsTexts &texts = project().plain;
    for (auto _ : state) {
        auto reports = inspectTls(texts);
        benchmark::DoNotOptimize(reports);
        if (reports.size() != 13)
            state.SkipWithError("expected 13 reports");
    }
}
BENCHMARK(BM_InspectFullProject)->Unit(benchmark::kMillisecond);

void BM_InspectFullProjectEncryptedKey(benchmark::State &state)
{
    const TlsTexts &texts = project().encrypted;
    for (auto _ : state) {
        auto reports = inspectTls(texts);
        benchmark::DoNotOptimize(reports);
    }
}
BENCHMARK(BM_InspectFullProjectEncryptedKey)->Unit(benchmark::kMillisecond);

void BM_DataArrayMapFullTable(benchmark::State &state)
{
    GridRows table = makeVariableTable();
    for (int r = 0; r < Variable_Rows; ++r) {
        table.setText(r, Var_Name, QStringLiteral("Var%1").arg(r));
        table.setText(r, Var_Type, QStringLiteral("Int"));
        table.setText(r, Var_Length, QStringLiteral("4"));
        table.setText(r, Var_Position, QString::number(r * 4));
    }
    for (auto _ : state) {
        auto map = buildDataArrayMap(table);
        benchmark::DoNotOptimize(map);
    }
}
BENCHMARK(BM_DataArrayMapFullTable)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
