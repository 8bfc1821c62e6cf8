// Renders the main window, one PNG per page, as a maximised window on a
// 1024 x 768 screen would show it, after the README's worked example. Usage:
// hcalc_screenshot OUTDIR [PAGE...], pages numbered 1 to 7 (default: all);
// with HCALC_SCREENSHOT_PRINT=1 it also prints the example's report to the
// default printer.

#include "app/application.h"
#include "app/main_window.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPixmap>
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

    std::deque<QString> answers;
    bool confirm = false;
};

void fill(const TForm1& window, std::initializer_list<std::pair<const char*, const char*>> texts) {
    for (const auto& [name, text] : texts) {
        if (auto* field = window.findChild<QLineEdit*>(QString::fromUtf8(name))) {
            field->setText(QString::fromUtf8(text));
        }
    }
}

void click(const TForm1& window, const char* name) {
    if (auto* button = window.findChild<QAbstractButton*>(QString::fromUtf8(name))) {
        button->click();
    }
}

// The typical design of the README, step by step, so that the pictures show
// one coherent example: compensation, sharing, selection, then the 5th and
// 7th branches from capacitor to detuned bank, then the report.
void fillExample(const TForm1& window, SilentDialogs& dialogs) {
    fill(window, {{"Text71", "500"}, {"Text72", "0.95"}, {"Text73", "0.7"}});
    click(window, "RzBitBtn2");
    fill(window, {{"Text330", "230"}, {"Text43", "10"}, {"Text340", "40"}, {"Text350", "25"}, {"Text360", "10"}});
    click(window, "RzBitBtn3");
    fill(window, {{"Text3a", "525"}, {"Text6a", "480"}, {"Text10a", "480"}, {"Text14a", "450"}});
    for (const char* button : {"RzBitBtn5", "RzBitBtn7", "RzBitBtn9", "RzBitBtn11"}) {
        click(window, button);
    }

    // A branch: the chosen capacitor (rated capacity and voltage), its order,
    // the reactor detuned by E, then n banks on the 400 V site with the
    // branch's harmonic current.
    auto branch = [&](const char* kvar, const char* volts, const char* order, const char* detuning, const char* current,
                      const char* banks) {
        fill(window, {{"Text1", kvar}, {"Text2", volts}});
        dialogs.answers = {QString::fromUtf8(order), QString::fromUtf8(order), QString::fromUtf8(detuning),
                           QString::fromUtf8(banks), QString::fromUtf8(banks)};
        click(window, "Command1");
        click(window, "Command4");
        click(window, "Command7");
        fill(window, {{"Text13", "400"}, {"Text63", current}, {"Text64", order}});
        click(window, "Command6");
        click(window, "Command8");
    };
    branch("30", "480", "7", "0.01", "25", "3");
    branch("50", "480", "5", "0.01", "40", "2");
    click(window, "RzBitBtn13");
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    hcalc::SetUpApplication(app);
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
        pages = {1, 2, 3, 4, 5, 6, 7};
    }

    SilentDialogs dialogs;
    TForm1 window(dialogs);
    window.setGeometry(0, 0, 1024, 738);  // maximised on 1024 x 768, below a 30-pixel panel
    window.show();
    fillExample(window, dialogs);
    QApplication::processEvents();
    // The example's results, for the README.
    for (QLineEdit* field : window.findChildren<QLineEdit*>()) {
        if (!field->objectName().isEmpty() && !field->text().isEmpty()) {
            std::fprintf(stderr, "%s=%s\n", qPrintable(field->objectName()), qPrintable(field->text()));
        }
    }
    if (qEnvironmentVariableIntValue("HCALC_SCREENSHOT_PRINT") == 1) {
        dialogs.confirm = true;
        click(window, "RzBitBtn15");
    }
    auto* pageControl = window.findChild<QTabWidget*>(QStringLiteral("RPage"));
    int failures = 0;
    for (int page : pages) {
        pageControl->setCurrentIndex(page - 1);
        QApplication::processEvents();
        const QString file = out.filePath(QStringLiteral("page-%1.png").arg(page));
        if (!window.grab().save(file)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
            ++failures;
        } else {
            std::printf("%s\n", qPrintable(file));
        }
    }
    return failures == 0 ? 0 : 1;
}
