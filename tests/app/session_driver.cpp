// The program as the recovery test runs it: the real start (the window, the
// recovery offer, the command line) with scripted boxes, settings and
// recovery files in the tests' own folders, and a script of its own, named by
// the environment (HCALC_SESSION_SCRIPT), since its arguments are the program's:
//   edit     types the compensation page's inputs key by key, calculates,
//            types the installation page's phase voltage, then prints every
//            field ("name=text" lines) and "edited", and runs on until it is
//            stopped or killed;
//   recover  answers "恢复" to the offer, prints how many offers were made,
//            every field, and ends.

#include "app/main_window.h"
#include "app/program.h"
#include "core/dialogs.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>

#include <cstdio>

namespace {

using namespace Qt::Literals::StringLiterals;

class ScriptedDialogs final : public Dialogs {
public:
    explicit ScriptedDialogs(bool recover) : m_recover(recover) {}
    void ShowNotice(const QString& text) override { std::printf("notice=%s\n", qPrintable(text)); }
    QString AskText(const QString&, const QString&, const QString& defaultText) override { return defaultText; }
    bool AskConfirm(const QString&) override { return false; }
    void ShowFault(const QString& text) override { std::printf("fault=%s\n", qPrintable(text)); }
    bool AskRecover(const QString&) override {
        ++offers;
        return m_recover;
    }
    int offers = 0;

private:
    bool m_recover;
};

void PrintFields(const TForm1& window) {
    for (const QLineEdit* field : window.findChildren<QLineEdit*>()) {
        if (!field->objectName().isEmpty()) {
            std::printf("%s=%s\n", qPrintable(field->objectName()), qPrintable(field->text()));
        }
    }
}

void Type(TForm1& window, const QString& name, const QString& text) {
    QTest::keyClicks(window.findChild<QLineEdit*>(name), text);
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");  // the test's own environment otherwise
    }
    QApplication app(argc, argv);
    QStandardPaths::setTestModeEnabled(true);
    const QString script = qEnvironmentVariable("HCALC_SESSION_SCRIPT");
    ScriptedDialogs dialogs(script == u"recover"_s);
    return hcalc::RunProgram(app, dialogs, [&](TForm1& window) {
        if (script == u"edit"_s) {
            Type(window, u"Text71"_s, u"500"_s);
            Type(window, u"Text72"_s, u"0.95"_s);
            Type(window, u"Text73"_s, u"0.7"_s);
            window.findChild<QPushButton*>(u"RzBitBtn2"_s)->click();
            Type(window, u"Text330"_s, u"230"_s);
            PrintFields(window);
            std::printf("edited\n");
        } else {
            std::printf("offers=%d\n", dialogs.offers);
            PrintFields(window);
            QTimer::singleShot(0, &window, &QWidget::close);
        }
        std::fflush(stdout);
    });
}
