// Opening and saving the worked example's design file through the window, as
// the menu does: open reads, validates and shows it (its searches and its
// check run again); save writes it through QSaveFile.

#include "app/design_files.h"
#include "app/main_window.h"
#include "core/dialogs.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

using namespace Qt::Literals::StringLiterals;

class FileDialogs final : public Dialogs {
public:
    void ShowNotice(const QString&) override {}
    QString AskText(const QString&, const QString&, const QString& defaultText) override { return defaultText; }
    bool AskConfirm(const QString&) override { return false; }
    void ShowFault(const QString& text) override { fault = text; }
    QString AskSaveFileName(const QString&, const QString&, const QStringList&) override { return saveName; }
    QString saveName;
    QString fault;
};

const QString kWorkedExample = QStringLiteral(HCALC_WORKED_EXAMPLE);

void OpenWorkedExample(benchmark::State& state) {
    FileDialogs dialogs;
    TForm1 window(dialogs);
    for (auto _ : state) {
        window.designFiles().newDesign();
        window.designFiles().open(kWorkedExample);
    }
    if (!dialogs.fault.isEmpty()) {
        state.SkipWithError(qPrintable(dialogs.fault));
    }
}

void SaveWorkedExample(benchmark::State& state) {
    QTemporaryDir dir;
    FileDialogs dialogs;
    dialogs.saveName = dir.filePath(u"方案.hcalc"_s);
    TForm1 window(dialogs);
    window.designFiles().open(kWorkedExample);
    for (auto _ : state) {
        window.designFiles().saveAs();
    }
    if (!dialogs.fault.isEmpty()) {
        state.SkipWithError(qPrintable(dialogs.fault));
    }
}

// The window itself, which now also takes what a new design shows.
void NewWindow(benchmark::State& state) {
    FileDialogs dialogs;
    for (auto _ : state) {
        TForm1 window(dialogs);
        benchmark::DoNotOptimize(&window);
    }
}

BENCHMARK(OpenWorkedExample)->Unit(benchmark::kMillisecond);
BENCHMARK(SaveWorkedExample)->Unit(benchmark::kMillisecond);
BENCHMARK(NewWindow)->Unit(benchmark::kMillisecond);

}  // namespace
