// Configuration image benchmarks on a maximal project: 50 variables, 10 known
// certificates of 4 KiB each, TLS and the known-certificate list on.
//   bench_image [benchmark options]       runs the benchmarks
//   bench_image --write-project DIR       only writes the maximal project
//                                         (used by bench/build_image.sh)

#include "core/image/build_image.h"
#include "core/image/image_decoder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstring>

using namespace mirandel;

namespace {

QString pemBlock(const QString &label, int bytes, QChar fill)
{
    QString body;
    for (int i = 0; body.size() < bytes; ++i)
        body += QString(63, fill) + QLatin1Char('\n');
    body.truncate(bytes);
    return QStringLiteral("-----BEGIN %1-----\n%2\n-----END %1-----").arg(label, body);
}

QString escaped(QString text)
{
    text.replace(QLatin1Char('&'), QStringLiteral("&amp;"));
    text.replace(QLatin1Char('<'), QStringLiteral("&lt;"));
    text.replace(QLatin1Char('"'), QStringLiteral("&quot;"));
    text.replace(QLatin1Char('\n'), QStringLiteral("&#10;"));
    return text;
}

bool writeFile(const QString &path, const QString &text)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(text.toUtf8()) >= 0;
}

bool writeMaximalProject(const QString &dir)
{
    if (!QDir().mkpath(dir))
        return false;
    const QDir d(dir);
    QString par = QStringLiteral("<Par_Gen>");
    const auto element = [&](const char *name, const QString &value) {
        par += QStringLiteral("<%1>%2</%1>").arg(QString::fromLatin1(name), escaped(value));
    };
    element("IEC61850_Server_IP1", QStringLiteral("10"));
    element("IEC61850_Server_IP2", QStringLiteral("0"));
    element("IEC61850_Server_IP3", QStringLiteral("0"));
    element("IEC61850_Server_IP4", QStringLiteral("5"));
    element("IEC61850_Server_EN_GAT", QStringLiteral("1"));
    element("IEC61850_Server_Port", QStringLiteral("102"));
    element("IEC61850_Server_Password", QStringLiteral("password"));
    element("IEC61850_Server_Name_Of_Server", QStringLiteral("Gateway"));
    element("Eth_Conn_Device_Name", QStringLiteral("gateway-01"));
    element("Eth_Conn_Enable_DNS", QStringLiteral("1"));
    element("TLS_Server_Enable", QStringLiteral("1"));
    element("TLS_Server_Key", pemBlock(QStringLiteral("PRIVATE KEY"), 1600, u'K'));
    element("TLS_Server_Key_Password", QStringLiteral("secret"));
    element("TLS_Server_Server_Certificate", pemBlock(QStringLiteral("CERTIFICATE"), 4096, u'S'));
    element("TLS_Server_Root_Certificate", pemBlock(QStringLiteral("CERTIFICATE"), 4096, u'R'));
    element("TLS_Server_Enable_Known_Cert", QStringLiteral("1"));
    element("NTP_Server_URL", QStringLiteral("pool.ntp.org"));
    element("NTP_Poll_Time", QStringLiteral("3600"));
    par += QStringLiteral("</Par_Gen><!--SW_VERSION = 1.000-->");

    QString vars = QStringLiteral("<IEC61850_Variables>");
    for (int i = 0; i < 50; ++i) {
        vars += QStringLiteral("<row Enable=\"Y\" Name=\"LD0/MMXU%1.TotW.mag.f\" Type=\"%2\" Length=\"4\" "
                               "ReadOnly=\"N\" Position=\"%3\" StartBit=\"0\" Conversion=\"Int to Float\" "
                               "MultiplicationFactor=\"0,01\" Swap=\"Y\" SwapWord=\"N\" Mnemonic=\"value %1\"/>")
                    .arg(i)
                    .arg(i % 2 ? QStringLiteral("Float") : QStringLiteral("Int"))
                    .arg(i * 4);
    }
    vars += QStringLiteral("</IEC61850_Variables><!--SW_VERSION = 1.000-->");

    QString certs = QStringLiteral("<TLS_Server_Known_Cert>");
    for (int i = 0; i < 10; ++i) {
        certs += QStringLiteral("<row Enable=\"Y\" Certificate=\"%1\" Mnemonic=\"client %2\"/>")
                     .arg(escaped(pemBlock(QStringLiteral("CERTIFICATE"), 4096, QChar(u'a' + i))))
                     .arg(i);
    }
    certs += QStringLiteral("</TLS_Server_Known_Cert><!--SW_VERSION = 1.000-->");

    return writeFile(d.filePath(QStringLiteral("ParGen.xml")), par)
           && writeFile(d.filePath(QStringLiteral("IEC61850_Variables.xml")), vars)
           && writeFile(d.filePath(QStringLiteral("TLS_Known_Cert.xml")), certs);
}

const QString &maximalProject()
{
    static QTemporaryDir dir;
    static const bool written = writeMaximalProject(dir.path());
    static const QString path = written ? dir.path() : QString();
    return path;
}

void BM_BuildImage(benchmark::State &state)
{
    const ImageSources sources = ImageSources::inProject(maximalProject());
    qint64 bytes = 0;
    for (auto _ : state) {
        const ImageBuildResult result = Build_Image(sources, u',');
        if (!result.ok()) {
            state.SkipWithError("build failed");
            break;
        }
        bytes = result.image.bank2.size();
        benchmark::DoNotOptimize(result.image.bank2.constData());
    }
    state.counters["bank2_bytes"] = double(bytes);
}
BENCHMARK(BM_BuildImage)->Unit(benchmark::kMicrosecond);

void BM_BuildAndSaveImage(benchmark::State &state)
{
    const ImageSources sources = ImageSources::inProject(maximalProject());
    QTemporaryDir out;
    for (auto _ : state) {
        const ImageBuildResult result = Build_Image(sources, u',');
        if (!result.ok() || Save_Image_Files(result.image, out.path()).failed()) {
            state.SkipWithError("build or save failed");
            break;
        }
    }
}
BENCHMARK(BM_BuildAndSaveImage)->Unit(benchmark::kMicrosecond);

void BM_DecodeImage(benchmark::State &state)
{
    const ImageBuildResult result = Build_Image(ImageSources::inProject(maximalProject()), u',');
    for (auto _ : state) {
        const DecodedImage decoded = decodeImage(result.image.bank1, result.image.bank2);
        if (!decoded.consistent()) {
            state.SkipWithError("inconsistent image");
            break;
        }
        benchmark::DoNotOptimize(decoded.section.Var_Number);
    }
}
BENCHMARK(BM_DecodeImage)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc == 3 && std::strcmp(argv[1], "--write-project") == 0) {
        if (!writeMaximalProject(QString::fromLocal8Bit(argv[2]))) {
            std::fprintf(stderr, "cannot write the project into %s\n", argv[2]);
            return 1;
        }
        return 0;
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
