// Reading language files: a real translation, and 50 MB of bare line breaks
// (the worst case for a reader that splits into a list of lines). The
// "peak_rss_mb" counter is the process's peak resident size after the run
// (Linux), to be compared with the file's size.

#include "core/lang/language_file.h"

#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#ifdef Q_OS_LINUX
#include <sys/resource.h>
#endif

using namespace mirandel;

namespace {

double peakRssMegabytes()
{
#ifdef Q_OS_LINUX
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024.0;
#else
    return 0;
#endif
}

void readFile(benchmark::State &state, const QByteArray &content)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Big.lng"));
    {
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(content);
    }
    TextTable table;
    table.Fill_Default_Texts();
    for (auto _ : state) {
        const LanguageReadResult r = Read_Language_File(path, table);
        benchmark::DoNotOptimize(r.stored);
    }
    state.counters["file_mb"] = double(content.size()) / (1024.0 * 1024.0);
    state.counters["peak_rss_mb"] = peakRssMegabytes();
}

void BM_ReadTranslation(benchmark::State &state)
{
    QByteArray content;
    for (int i = 0; i < TextTable::Text_Count; ++i)
        content += "STR" + QByteArray::number(i).rightJustified(4, '0') + " = Texte traduit numero "
                   + QByteArray::number(i) + " /#/ remarque\r\n";
    readFile(state, content);
}
BENCHMARK(BM_ReadTranslation)->Unit(benchmark::kMillisecond);

void BM_Read50MBOfLineBreaks(benchmark::State &state)
{
    readFile(state, QByteArray(50 * 1000 * 1000, '\n'));
}
BENCHMARK(BM_Read50MBOfLineBreaks)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

BENCHMARK_MAIN();
