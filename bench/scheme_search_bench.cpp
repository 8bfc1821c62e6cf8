// The page's search against the literal one on the same sites, and the installation page's whole calculation
// with the list filled: time and the process's peak memory.

#include "app/application.h"
#include "app/main_window.h"
#include "core/extended.h"
#include "core/scheme_search.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QListView>
#include <QTabWidget>

#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <chrono>
#include <map>

namespace {

using namespace Qt::Literals::StringLiterals;

// U = 230 V, I = 10, 40, 25, 10 A.
hcalc::SchemeInputs Site(std::int32_t steps) {
    return {steps, 230, {10, 40, 25, 10}};
}

std::map<std::int64_t, double> g_literalSeconds;  // by step count
std::map<std::int64_t, hcalc::ImprovementChain> g_literalChain;

void LiteralSearch(benchmark::State& state) {
    const auto n = static_cast<std::int32_t>(state.range(0));
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        hcalc::SearchOutcome outcome = hcalc::LiteralSchemeSearch(Site(n));
        g_literalSeconds[n] = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        benchmark::DoNotOptimize(outcome.chain.size());
        state.counters["lines"] = static_cast<double>(outcome.chain.size());
        g_literalChain[n] = std::move(outcome.chain);
    }
}

void PageSearch(benchmark::State& state) {
    const auto n = static_cast<std::int32_t>(state.range(0));
    hcalc::SearchOutcome outcome;
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state) {
        outcome = hcalc::SchemeSearch(Site(n));
        benchmark::DoNotOptimize(outcome.chain.size());
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() /
                           static_cast<double>(state.iterations());
    if (g_literalChain.contains(n) && !(outcome.chain == g_literalChain[n])) {
        state.SkipWithError("the chain differs from the literal search's");
    }
    state.counters["lines"] = static_cast<double>(outcome.chain.size());
    if (g_literalSeconds.contains(n)) {
        state.counters["times_faster"] = g_literalSeconds[n] / seconds;  // wall time, literal over page search
    }
}

class SilentDialogs final : public Dialogs {
public:
    void ShowNotice(const QString&) override {}
    QString AskText(const QString&, const QString&, const QString& defaultText) override { return defaultText; }
    bool AskConfirm(const QString&) override { return false; }
    void ShowFault(const QString&) override {}
};

double PeakResidentMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024;  // ru_maxrss is in KiB
}

// "计算" on the installation page, until the list shows its last line.
void WholeClick(benchmark::State& state) {
    SilentDialogs dialogs;
    TForm1 window(dialogs);
    window.setGeometry(0, 0, 1024, 738);
    window.show();
    window.findChild<QTabWidget*>(u"RPage"_s)->setCurrentIndex(4);
    QApplication::processEvents();
    auto* list = window.findChild<QListView*>(u"List1"_s);
    auto* calculate = window.findChild<QAbstractButton*>(u"RzBitBtn3"_s);
    const auto fill = [&] {
        const std::pair<const char16_t*, QString> texts[] = {{u"Text320", QString::number(state.range(0))},
                                                             {u"Text330", u"230"_s},
                                                             {u"Text43", u"10"_s},
                                                             {u"Text340", u"40"_s},
                                                             {u"Text350", u"25"_s},
                                                             {u"Text360", u"10"_s}};
        for (const auto& [name, text] : texts) {
            window.findChild<QLineEdit*>(QString::fromUtf16(name))->setText(text);
        }
    };
    const double baseline = PeakResidentMegabytes();
    for (auto _ : state) {
        state.PauseTiming();
        window.findChild<QAbstractButton*>(u"RzBitBtn4"_s)->click();  // empties the list
        fill();
        QApplication::processEvents();
        state.ResumeTiming();
        calculate->click();
        list->scrollToBottom();
        QApplication::processEvents();
    }
    state.SetLabel(hcalc::kExtendedBackendName);
    state.counters["lines"] = list->model()->rowCount();
    state.counters["peak_MB"] = PeakResidentMegabytes();  // the whole process's peak resident memory
    state.counters["window_MB"] = baseline;               // its peak before the first click
}

BENCHMARK(LiteralSearch)->Arg(500)->Arg(1000)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(PageSearch)->Arg(500)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(WholeClick)->Arg(30000)->Arg(100000)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    benchmark::Initialize(&argc, argv);
    QApplication app(argc, argv);
    hcalc::SetUpApplication(app);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
