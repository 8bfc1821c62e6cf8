#include "app/main_window.h"
#include "core/numbers.h"
#include "support/fake_dialogs.h"
#include "support/widgets.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QLocale>
#include <QTabWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <string>

namespace hcalc {
namespace {

using namespace Qt::Literals::StringLiterals;
using test::FakeDialogs;
using test::FieldTexts;
using test::Find;

// Qc = (tan phi1 - tan phi2) * P, evaluated here on its own in extended precision, each value kept as a double.
QString ExpectedQc(double p, double targetCos, double presentCos) {
    const double targetTan = StoreDouble(Sqrt(Ext(1) - Ext(targetCos) * targetCos) / targetCos);
    const double presentTan = StoreDouble(Sqrt(Ext(1) - Ext(presentCos) * presentCos) / presentCos);
    const double qc = StoreDouble((Ext(presentTan) - targetTan) * p);
    return FormatReal(qc, u'.');
}

// Field texts by name, printable in a failure message.
std::map<std::string, std::string> Texts(const QObject* root) {
    std::map<std::string, std::string> out;
    for (const auto& [name, text] : FieldTexts(root)) {
        out[name.toStdString()] = text.toStdString();
    }
    return out;
}
std::map<std::string, std::string> Texts(const std::map<QString, QString>& texts) {
    std::map<std::string, std::string> out;
    for (const auto& [name, text] : texts) {
        out[name.toStdString()] = text.toStdString();
    }
    return out;
}

class CompensationPageTest : public ::testing::Test {
protected:
    void fill(const char* p, const char* target, const char* present) {
        test::Fill(&window, {{"Text71", p}, {"Text72", target}, {"Text73", present}});
    }
    QString text(const char* name) { return Find<QLineEdit>(&window, QString::fromUtf8(name))->text(); }

    FakeDialogs dialogs;
    TForm1 window{dialogs};
};

TEST_F(CompensationPageTest, showsTheCapacityAndHandsItsWholePartToTheInstallationPage) {
    struct Case {
        const char* p;
        const char* target;
        const char* present;
        Ext pv, targetv, presentv;  // the nearest extended values of the texts
        double approx;              // the value the worked examples state
        const char* whole;          // Text320 afterwards
    };
    // clang-format off
    const Case cases[] = {
        {"100", "0.95", "0.8",   100, Ext(95) / 100,  Ext(8) / 10,   42.1316,  "42"},
        {"500", "0.9",  "0.7",   500, Ext(9) / 10,    Ext(7) / 10,   267.941,  "267"},
        {"100", "0.8",  "0.8",   100, Ext(8) / 10,    Ext(8) / 10,   0,        "0"},
        {"100", "1",    "0.8",   100, 1,              Ext(8) / 10,   75,       "74"},     // tangent 0; 0.8 is read as 0.8000000000000000444, so Qc = 74.99999999999999 shows as 75 and truncates to 74
        {"100", "0.8",  "0.95",  100, Ext(8) / 10,    Ext(95) / 100, -42.1316, "-42"},    // truncated toward zero
        {"100", "-0.95", "0.8",  100, Ext(-95) / 100, Ext(8) / 10,   107.868,  "107"},    // a negative cosine, a negative tangent
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.p) + " " + c.target + " " + c.present);
        dialogs.clear();
        fill(c.p, c.target, c.present);
        const auto before = FieldTexts(&window);

        test::Click(&window, u"RzBitBtn2"_s);

        // The page keeps what it reads as doubles.
        const QString expected = ExpectedQc(StoreDouble(c.pv), StoreDouble(c.targetv), StoreDouble(c.presentv));
        auto after = before;
        after[u"Text74"_s] = expected;
        after[u"Text320"_s] = QString::fromUtf8(c.whole);
        EXPECT_EQ(Texts(&window), Texts(after));
        EXPECT_NEAR(text("Text74").toDouble(), c.approx, 1e-3);
        EXPECT_TRUE(dialogs.events.isEmpty());
    }
}

TEST_F(CompensationPageTest, stopsOnGuardsAndFaults) {
    struct Case {
        const char* p;
        const char* target;
        const char* present;
        const char* box;
        const char* shown;  // Text74 afterwards, "old" when not written
    };
    // clang-format off
    const Case cases[] = {
        {"",      "0.9",  "0.7",  "notice:请输入完整数据",                           "old"},
        {"100",   "",     "0.7",  "notice:请输入完整数据",                           "old"},
        {"100",   "0.9",  "",     "notice:请输入完整数据",                           "old"},
        {"abc",   "0.9",  "0.7",  "fault:'abc' is not a valid floating point value.", "old"},
        {"100",   " ",    "x",    "fault:' ' is not a valid floating point value.",   "old"},
        {"100",   "0",    "0.7",  "fault:Floating point division by zero.",           "old"},
        {"100",   "0.9",  "1.5",  "fault:Invalid floating point operation.",          "old"},   // both tangents before any write
        {"100",   "0.9",  "0",    "fault:Floating point division by zero.",           "old"},
        {"1e300", "0.95", "0.8",  "fault:Invalid floating point operation.",          "4.21315894821137E299"},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.p) + "|" + c.target + "|" + c.present);
        dialogs.clear();
        fill(c.p, c.target, c.present);
        Find<QLineEdit>(&window, u"Text74"_s)->setText(u"old"_s);
        Find<QLineEdit>(&window, u"Text320"_s)->setText(u"old320"_s);
        auto expected = FieldTexts(&window);
        expected[u"Text74"_s] = QString::fromUtf8(c.shown);

        test::Click(&window, u"RzBitBtn2"_s);

        EXPECT_EQ(Texts(&window), Texts(expected));  // Text320 keeps its text in every case
        EXPECT_EQ(dialogs.events, QStringList{QString::fromUtf8(c.box)});
    }
}

TEST_F(CompensationPageTest, clearEmptiesItsFieldsAndFocusesTheActivePower) {
    ASSERT_TRUE(test::ShowPage(&window, u"TabSheet4"_s));
    fill("100", "0.95", "0.8");
    test::Click(&window, u"RzBitBtn2"_s);
    ASSERT_EQ(text("Text320"), u"42"_s);
    auto expected = FieldTexts(&window);
    for (const QString& name : {u"Text71"_s, u"Text72"_s, u"Text73"_s, u"Text74"_s}) {
        expected[name] = QString();
    }
    test::Click(&window, u"RzBitBtn1"_s);
    EXPECT_EQ(FieldTexts(&window), expected);  // Text320 stays
    EXPECT_EQ(QApplication::focusWidget(), Find<QWidget>(&window, u"Text71"_s));
}

TEST_F(CompensationPageTest, tabKeyRunsThroughFieldsThenButtons) {
    ASSERT_TRUE(test::ShowPage(&window, u"TabSheet4"_s));
    const QStringList visited = test::TabOrderFrom(Find<QWidget>(&window, u"Text71"_s), 6);
    EXPECT_EQ(visited,
              (QStringList{u"Text71"_s, u"Text72"_s, u"Text73"_s, u"Text74"_s, u"RzBitBtn2"_s, u"RzBitBtn1"_s}));
    EXPECT_EQ(Find<QLineEdit>(&window, u"Text74"_s)->palette().color(QPalette::Base), QColor(255, 255, 225));
    EXPECT_EQ(Find<QAbstractButton>(&window, u"RzBitBtn2"_s)->text(), u"计算"_s);
    EXPECT_EQ(Find<QAbstractButton>(&window, u"RzBitBtn1"_s)->text(), u"清空"_s);
}

TEST_F(CompensationPageTest, readsAndShowsTheRegionalSeparator) {
    const QString point = QLocale::system().decimalPoint();
    fill("100", "0", "0");
    Find<QLineEdit>(&window, u"Text72"_s)->setText(u"0"_s + point + u"95"_s);
    Find<QLineEdit>(&window, u"Text73"_s)->setText(u"0"_s + point + u"8"_s);
    test::Click(&window, u"RzBitBtn2"_s);
    EXPECT_EQ(text("Text74"), u"42"_s + point + u"1315894821137"_s);
    EXPECT_EQ(text("Text320"), u"42"_s);
    EXPECT_TRUE(dialogs.events.isEmpty());
}

}  // namespace
}  // namespace hcalc
