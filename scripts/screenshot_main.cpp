// Renders the main window, one PNG per page, as a maximised window on a
// 1024 x 768 screen would show it, after the README's worked example. Usage:
// hcalc_screenshot OUTDIR [PAGE...], pages numbered 1 to 9 (default: all);
// with HCALC_SCREENSHOT_PRINT=1 it also prints the example's report to the
// default printer; with HCALC_SCREENSHOT_DARK=1 the desktop hands the program
// a dark palette. With HCALC_SCREENSHOT_SCREEN=1 the window is shown
// maximised by the platform the program runs on, and each picture is the
// whole screen, the window's frame as that desktop draws it included. With
// HCALC_SCREENSHOT_REPORT=FILE it also writes the example's check report
// (输出校验报告) to FILE.

#include "app/application.h"
#include "app/main_window.h"
#include "support/dark_desktop.h"
#include "support/worked_example.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QScreen>
#include <QTabWidget>
#include <QTimer>

#include <cstdio>
#include <deque>

using namespace Qt::Literals::StringLiterals;

namespace {

// Boxes are not opened while rendering; input boxes take the example's answers.
class SilentDialogs final : public Dialogs {
public:
    void ShowNotice(const QString&) override {}
    QString AskText(const QString&, const QString&, const QString& defaultText) override {
        if (answers.empty()) {
            return defaultText;
        }
        QString answer = answers.front();
        answers.pop_front();
        return answer;
    }
    bool AskConfirm(const QString&) override { return confirm; }
    void ShowFault(const QString&) override {}
    QString AskSaveFileName(const QString&, const QString&, const QStringList&) override { return saveName; }

    std::deque<QString> answers;
    bool confirm = false;
    QString saveName;
};

// Lets the windowing system map and paint the window.
void Settle() {
    QEventLoop loop;
    QTimer::singleShot(1500, &loop, &QEventLoop::quit);
    loop.exec();
}

}  // namespace

int main(int argc, char** argv) {
    const bool wholeScreen = qEnvironmentVariableIntValue("HCALC_SCREENSHOT_SCREEN") == 1;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && !wholeScreen) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    hcalc::SetUpApplication(app);
    if (qEnvironmentVariableIntValue("HCALC_SCREENSHOT_DARK") == 1) {
        QApplication::setPalette(hcalc::test::DarkDesktopPalette());
    }
    const QStringList args = QApplication::arguments();
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: hcalc_screenshot OUTDIR [PAGE...]\n");
        return 2;
    }
    const QDir out(args[1]);
    QList<int> pages;
    for (qsizetype i = 2; i < args.size(); ++i) {
        pages << args[i].toInt();
    }
    if (pages.isEmpty()) {
        pages = {1, 2, 3, 4, 5, 6, 7, 8, 9};
    }

    SilentDialogs dialogs;
    TForm1 window(dialogs);
    if (wholeScreen) {
        window.showMaximized();
    } else {
        window.setGeometry(0, 0, 1024, 738);  // maximised on 1024 x 768, below a 30-pixel panel
        window.show();
    }
    hcalc::test::EnterWorkedExample(window, dialogs.answers);
    QApplication::processEvents();
    // The example's results, for the README.
    for (QLineEdit* field : window.findChildren<QLineEdit*>()) {
        if (!field->objectName().isEmpty() && !field->text().isEmpty()) {
            std::fprintf(stderr, "%s=%s\n", qPrintable(field->objectName()), qPrintable(field->text()));
        }
    }
    for (const QString& page : {u"TabSheet8"_s, u"TabSheet9"_s}) {
        for (QLabel* label : window.findChild<QWidget*>(page)->findChildren<QLabel*>()) {
            if (!label->objectName().isEmpty() && !label->text().isEmpty()) {
                std::fprintf(stderr, "%s=%s\n", qPrintable(label->objectName()), qPrintable(label->text()));
            }
        }
    }
    if (qEnvironmentVariableIntValue("HCALC_SCREENSHOT_PRINT") == 1) {
        dialogs.confirm = true;
        window.findChild<QAbstractButton*>(u"RzBitBtn15"_s)->click();
    }
    if (const QString report = qEnvironmentVariable("HCALC_SCREENSHOT_REPORT"); !report.isEmpty()) {
        dialogs.saveName = report;
        window.findChild<QAbstractButton*>(u"limitReport"_s)->click();
    }
    auto* pageControl = window.findChild<QTabWidget*>(QStringLiteral("RPage"));
    int failures = 0;
    for (int page : pages) {
        pageControl->setCurrentIndex(page - 1);
        QApplication::processEvents();
        if (wholeScreen) {
            Settle();
        }
        const QPixmap picture = wholeScreen ? window.screen()->grabWindow(0) : window.grab();
        const QString file = out.filePath(QStringLiteral("page-%1.png").arg(page));
        if (!picture.save(file)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
            ++failures;
        } else {
            std::printf("%s\n", qPrintable(file));
        }
    }
    return failures == 0 ? 0 : 1;
}
