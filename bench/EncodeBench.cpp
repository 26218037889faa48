// UTF8EncodeURI against Qt's percent-encoding, both starting from the query box's QString.

#include "lookup/Utf8EncodeUri.h"

#include <QByteArray>
#include <QString>
#include <QUrl>

#include <benchmark/benchmark.h>

namespace {

QString MakeText(const QString& unit, qsizetype bytes)
{
    QString text;
    while (text.toUtf8().size() < bytes)
        text += unit;
    return text;
}

const QString& Sample(int kind)
{
    static const QString units[] = {
        QStringLiteral("dictionary "),            // ASCII
        QStringLiteral("词典查询"),               // Chinese
        QStringLiteral("look 查 up 词 C++ 50% "), // mixed
    };
    return units[kind];
}

void Args(benchmark::internal::Benchmark* b)
{
    // 16 bytes to 1 MiB, for ASCII (0), Chinese (1) and mixed (2) text.
    for (int kind = 0; kind < 3; ++kind)
        for (const int bytes : {16, 256, 4096, 65536, 1 << 20})
            b->Args({kind, bytes});
}

void BM_Utf8EncodeUri(benchmark::State& state)
{
    const QString text = MakeText(Sample(static_cast<int>(state.range(0))), state.range(1));
    for (auto _ : state) {
        const std::u16string_view units(reinterpret_cast<const char16_t*>(text.utf16()),
                                        static_cast<std::size_t>(text.size()));
        benchmark::DoNotOptimize(tovrin::lookup::UTF8EncodeURI(units));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * state.range(1));
}

void BM_QUrlToPercentEncoding(benchmark::State& state)
{
    const QString text = MakeText(Sample(static_cast<int>(state.range(0))), state.range(1));
    for (auto _ : state)
        benchmark::DoNotOptimize(QUrl::toPercentEncoding(text));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * state.range(1));
}

} // namespace

BENCHMARK(BM_Utf8EncodeUri)->Apply(Args)->ArgNames({"kind", "bytes"});
BENCHMARK(BM_QUrlToPercentEncoding)->Apply(Args)->ArgNames({"kind", "bytes"});
BENCHMARK_MAIN();
