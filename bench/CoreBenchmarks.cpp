#include "core/Calendar.h"
#include "core/DateFormat.h"
#include "core/Regex.h"

#include <benchmark/benchmark.h>

namespace {

void BM_StartOfDay(benchmark::State& state) {
    const core::Calendar calendar(*core::TimeZone::withIdentifier(QStringLiteral("Europe/Berlin")),
                                  core::Locale(QStringLiteral("en_US")));
    core::Date date(1765000000);
    for (auto _ : state) {
        benchmark::DoNotOptimize(calendar.startOfDay(date));
        date += 3600;
    }
}
BENCHMARK(BM_StartOfDay);

void BM_FormatTemplateCached(benchmark::State& state) {
    const auto zone = core::TimeZone::current();
    core::Date date(1765000000);
    for (auto _ : state) {
        benchmark::DoNotOptimize(core::DateFormat::formatTemplate(date, QStringLiteral("EEEdMMM"), zone));
        date += 3600;
    }
}
BENCHMARK(BM_FormatTemplateCached);

void BM_RegexFindAll(benchmark::State& state) {
    const core::Regex regex(QStringLiteral("https?://[^\\s]+"), core::Regex::Option::CaseInsensitive);
    const QString text = QStringLiteral("Join at https://example.com/j/123 or https://meet.example.org/abc-defg-hij today");
    for (auto _ : state)
        benchmark::DoNotOptimize(regex.allMatches(text));
}
BENCHMARK(BM_RegexFindAll);

}  // namespace

BENCHMARK_MAIN();
