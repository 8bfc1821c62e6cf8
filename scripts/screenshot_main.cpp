// Renders the main window, one PNG per page, as a maximised window on a
// 1024 x 768 screen would show it. Usage: hcalc_screenshot OUTDIR [PAGE...],
// pages numbered 1 to 7 (default: all).

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
    bool AskConfirm(const QString&) override { return false; }
    void ShowFault(const QString&) override {}

    std::deque<QString> answers;
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

// A worked example on the pages, so that the pictures show results.
void fillExample(const TForm1& window, SilentDialogs& dialogs) {
    fill(window, {{"Text71", "100"}, {"Text72", "0.95"}, {"Text73", "0.8"}});
    click(window, "RzBitBtn2");
    fill(window, {{"Text320", "30"},
                  {"Text330", "220"},
                  {"Text43", "10"},
                  {"Text340", "20"},
                  {"Text350", "10"},
                  {"Text360", "5"}});
    click(window, "RzBitBtn3");
    fill(window, {{"Text3a", "450"}});
    click(window, "RzBitBtn5");

    // One branch for h = 5, from the capacitor to the detuned bank.
    fill(window, {{"Text1", "100"}, {"Text2", "400"}});
    dialogs.answers = {u"5"_s, u"5"_s, u"0.01"_s, u"2"_s, u"2"_s};
    click(window, "Command1");
    click(window, "Command4");
    click(window, "Command7");
    fill(window, {{"Text13", "400"}, {"Text63", "10"}, {"Text64", "5"}});
    click(window, "Command6");
    click(window, "Command8");
    fill(window, {{"Text32", "100"},
                  {"Text33", "400"},
                  {"Text37", "157.2"},
                  {"Text36", "525"},
                  {"Text40", "33.3"},
                  {"Text39", "10000"},
                  {"T1", "157"},
                  {"T2", "4.5"}});
    for (const char* button : {"Command9", "Command12", "Command14", "RzBitBtn14"}) {
        click(window, button);
    }
    fill(window, {{"Text71", "1000"},
                  {"Text73", "0.75"},
                  {"Text72", "0.95"},
                  {"Text330", "380"},
                  {"Text43", "35.5"},
                  {"Text340", "60"},
                  {"Text350", "22.5"},
                  {"Text360", "8"}});
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
