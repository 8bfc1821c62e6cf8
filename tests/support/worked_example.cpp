#include "support/worked_example.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QWidget>

#include <initializer_list>
#include <utility>

namespace hcalc::test {

namespace {

void fill(const QWidget& window, std::initializer_list<std::pair<const char*, const char*>> texts) {
    for (const auto& [name, text] : texts) {
        if (auto* field = window.findChild<QLineEdit*>(QString::fromUtf8(name))) {
            field->setText(QString::fromUtf8(text));
        }
    }
}

void click(const QWidget& window, const char* name) {
    if (auto* button = window.findChild<QAbstractButton*>(QString::fromUtf8(name))) {
        button->click();
    }
}

}  // namespace

void EnterWorkedExample(const QWidget& window, std::deque<QString>& answers) {
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
        answers = {QString::fromUtf8(order), QString::fromUtf8(order), QString::fromUtf8(detuning),
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

    // The check on a 1000 kVA transformer of 6 % impedance voltage, with the
    // 5th and 7th reactors detuned as above.
    fill(window, {{"checkTransformerRating", "1000"},
                  {"checkImpedanceVoltage", "6"},
                  {"checkRatio5", "4.04"},
                  {"checkRatio7", "2.06"}});
    click(window, "checkCalculate");

    // The grid code's limits on that check: GB/T 14549 with the defaults the
    // check handed over, then IEEE 519 with about the demand current of the
    // page's hint.
    click(window, "limitCalculate");
    if (auto* standard = window.findChild<QComboBox*>(QStringLiteral("limitStandard"))) {
        standard->setCurrentIndex(1);
    }
    fill(window, {{"limitDemandCurrent", "760"}});
    click(window, "limitCalculate");
}

}  // namespace hcalc::test
