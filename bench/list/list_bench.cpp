// Bulk loading should stay well under a second for 100,000 rows, and a paint should cost the same
// whatever the row count, since only the visible rows are drawn.
#include "ui/CVtListCtrlEx.h"

#include <QApplication>
#include <QImage>

#include <benchmark/benchmark.h>

namespace {

const QString kLogColumns = QStringLiteral("구분,56;진단 시각,65;진단 대상,200;포트,45;시간,70;결과,60;비고,70");

QString LogRows(int count)
{
    QString text;
    text.reserve(count * 48);
    for (int i = 0; i < count; ++i)
        text += QStringLiteral("서버|12:34:%1|10****%2|443|%3ms|Ok|\n").arg(i % 60).arg(i % 250).arg(i % 500);
    text.chop(1);
    return text;
}

void BM_AddRowsFromText(benchmark::State& state)
{
    const int count = static_cast<int>(state.range(0));
    const QString text = LogRows(count);
    CVtListCtrlEx list;
    list.resize(800, 600);
    list.SetColumns(kLogColumns);
    for (auto _ : state) {
        list.AddRowsFromText(text, QStringLiteral("|"), true);
        benchmark::DoNotOptimize(list.GetRowCount());
    }
    state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(BM_AddRowsFromText)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_PaintFullPage(benchmark::State& state)
{
    const int count = static_cast<int>(state.range(0));
    CVtListCtrlEx list;
    list.resize(800, 600);
    list.SetColumns(kLogColumns);
    list.SetRowHeight(26);
    list.EnableAlternateRows(true);
    list.AddRowsFromText(LogRows(count), QStringLiteral("|"), true);
    list.ScrollToRow(count / 2);
    QImage image(list.viewport()->size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        list.viewport()->render(&image);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_PaintFullPage)->Arg(100)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
