#include "pages/search_runner.h"

#include "core/dialogs.h"
#include "pages/page.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProgressDialog>
#include <QPushButton>
#include <QTimer>

#include <atomic>
#include <exception>
#include <memory>
#include <thread>

namespace hcalc {

using namespace Qt::Literals::StringLiterals;

std::optional<SearchOutcome> RunSchemeSearch(QWidget* parent, const SchemeInputs& inputs,
                                             std::chrono::milliseconds patience) {
    SearchControl control;
    SearchOutcome outcome;
    std::exception_ptr failure;
    std::atomic<bool> done{false};
    QObject wakeTarget;  // lives on this thread: a call posted to it wakes the waiting loop below
    std::thread worker([&] {
        try {
            outcome = SchemeSearch(inputs, &control);
        } catch (...) {
            failure = std::current_exception();
        }
        done.store(true);
        QMetaObject::invokeMethod(
            &wakeTarget, [] {}, Qt::QueuedConnection);
    });

    // First the window only repaints: no click or key reaches it while the calculation runs.
    QTimer patienceTimer;
    patienceTimer.setSingleShot(true);
    patienceTimer.start(patience);
    while (!done.load() && patienceTimer.isActive()) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents | QEventLoop::WaitForMoreEvents);
    }

    if (!done.load()) {
        // Then a modal progress dialog, the only window that takes input, until the search ends.
        QProgressDialog progress(parent);
        progress.setObjectName(u"SearchProgress"_s);
        progress.setWindowTitle(ApplicationTitle());
        progress.setLabelText(u"正在计算最佳方案……"_s);
        progress.setFont(look::songTi());
        auto* cancel = new QPushButton(u"Cancel"_s, &progress);
        cancel->setFont(look::songTi());
        progress.setCancelButton(cancel);
        progress.setRange(0, 1000);
        progress.setMinimumDuration(0);
        progress.setAutoClose(false);
        progress.setAutoReset(false);
        progress.setWindowModality(Qt::ApplicationModal);
        QObject::connect(&progress, &QProgressDialog::canceled, &progress, [&control] { control.requestCancel(); });
        QTimer ticker;
        QObject::connect(&ticker, &QTimer::timeout, &progress,
                         [&] { progress.setValue(std::min(999, control.progressPermille())); });
        ticker.start(100);
        progress.show();
        while (!done.load()) {
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        }
    }
    worker.join();
    if (failure) {
        std::rethrow_exception(failure);
    }
    if (outcome.cancelled) {
        return std::nullopt;
    }
    return outcome;
}

}  // namespace hcalc
