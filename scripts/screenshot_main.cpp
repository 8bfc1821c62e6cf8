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

namespace {

// Boxes are not opened while rendering.
class SilentDialogs final : public Dialogs {
public:
    void ShowNotice(const QString&) override {}
    QString AskText(const QString&, const QString&, const QString& defaultText) override { return defaultText; }
    bool AskConfirm(const QString&) override { return false; }
    void ShowFault(const QString&) override {}
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
void fillExample(const TForm1& window) {
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
    fillExample(window);
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
