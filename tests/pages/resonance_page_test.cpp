// The resonance and duty check after the README's worked example, its values
// handed over from the earlier pages: the verdicts it shows, an overloaded
// capacitor marked, a refused check emptying the results, and the chart saved
// through the file box while the inputs are those of the check shown. The
// figures were worked apart from the code, with complex arithmetic of their
// own.

#include "pages/resonance_page.h"
#include "app/main_window.h"
#include "pages/impedance_chart.h"
#include "support/fake_dialogs.h"
#include "support/widgets.h"
#include "support/worked_example.h"

#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <array>
#include <map>
#include <vector>

namespace hcalc {
namespace {

using namespace Qt::Literals::StringLiterals;
using test::Find;

constexpr std::array<int, 4> kOrders{3, 5, 7, 11};

class ResonancePageTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::EnterWorkedExample(window, dialogs.answers);
        dialogs.clear();
    }
    QString field(const char* name) { return Find<QLineEdit>(&window, QString::fromUtf8(name))->text(); }
    QString label(const QString& name) { return Find<QLabel>(&window, name)->text(); }
    // The texts of the result cells, row by row, orders 3, 5, 7, 11.
    std::map<QString, std::array<QString, 4>> cells() {
        std::map<QString, std::array<QString, 4>> shown;
        for (const char* row : {"checkTuning", "checkRmsVoltage", "checkPeakVoltage", "checkRmsCurrent",
                                "checkReactivePower", "checkShare", "checkVoltageWithout", "checkVoltageWith"}) {
            for (std::size_t j = 0; j < kOrders.size(); ++j) {
                shown[QString::fromUtf8(row)][j] = label(QString::fromUtf8(row) + QString::number(kOrders[j]));
            }
        }
        return shown;
    }
    void check() { test::Click(&window, u"checkCalculate"_s); }
    void set(const char* name, const char* text) {
        Find<QLineEdit>(&window, QString::fromUtf8(name))->setText(QString::fromUtf8(text));
    }
    ResonancePage* page() { return Find<ResonancePage>(&window, u"TabSheet8"_s); }
    bool chartShown() { return Find<ImpedanceChart>(&window, u"checkChart"_s)->hasScan(); }

    test::FakeDialogs dialogs;
    TForm1 window{dialogs};
};

TEST_F(ResonancePageTest, workedExampleShowsItsVerdicts) {
    // Handed over: the site voltage, the chosen capacitors and the harmonic currents.
    EXPECT_EQ(field("checkLineVoltage"), u"400"_s);
    EXPECT_EQ(field("checkRatedVoltage5"), u"480"_s);
    EXPECT_EQ(field("checkRatedKvar5"), u"96.1669565217393"_s);
    EXPECT_EQ(field("checkCurrent7"), u"25"_s);

    // clang-format off
    const std::map<QString, std::array<QString, 4>> expected{
        {u"checkTuning"_s,         {u"3.00"_s,   u"4.98"_s,   u"6.97"_s,   u"11.00"_s}},
        {u"checkRmsVoltage"_s,     {u"85.9"_s,   u"87.1"_s,   u"85.2"_s,   u"89.6"_s}},
        {u"checkPeakVoltage"_s,    {u"91.4"_s,   u"93.7"_s,   u"89.0"_s,   u"90.4"_s}},
        {u"checkRmsCurrent"_s,     {u"87.3"_s,   u"92.8"_s,   u"88.4"_s,   u"89.7"_s}},
        {u"checkReactivePower"_s,  {u"74.4"_s,   u"77.6"_s,   u"73.2"_s,   u"80.3"_s}},
        {u"checkShare"_s,          {u"42.8"_s,   u"90.5"_s,   u"95.0"_s,   u"100.0"_s}},
        {u"checkVoltageWithout"_s, {u"0.4991"_s, u"3.326"_s,  u"2.910"_s,  u"1.829"_s}},
        {u"checkVoltageWith"_s,    {u"0.5876"_s, u"0.7075"_s, u"0.3648"_s, u"0.02469"_s}},
    };
    // clang-format on
    EXPECT_EQ(cells(), expected);
    EXPECT_EQ(label(u"checkResonances"_s), u"1～25次间的并联谐振次数：2.97、4.58、6.16、8.15"_s);
    EXPECT_EQ(label(u"checkWarning"_s), u"警告：2.97次靠近3次，4.58次靠近5次谐波（±10%以内）。"_s);
    EXPECT_EQ(label(u"checkWarningBasis"_s), u"（该处|Z|大于电网|Z|）"_s);
    EXPECT_EQ(label(u"checkDistortion"_s), u"接入点电压总谐波畸变率THDu：无电容器组 1.2%，有电容器组 0.2%"_s);

    // 380 V capacitors in the 3rd branch carry its 450 V of tuning rise: over three limits, within the current's.
    Find<QLineEdit>(&window, u"checkRatedVoltage3"_s)->setText(u"380"_s);
    check();
    const auto shown = cells();
    EXPECT_EQ(shown.at(u"checkRmsVoltage"_s)[0], u"118.6 超限"_s);
    EXPECT_EQ(shown.at(u"checkPeakVoltage"_s)[0], u"125.2 超限"_s);
    EXPECT_EQ(shown.at(u"checkRmsCurrent"_s)[0], u"120.1"_s);
    EXPECT_EQ(shown.at(u"checkReactivePower"_s)[0], u"141.6 超限"_s);

    // At 491 V the 11th capacitors' rms voltage is 110.02 %, shown 110.0: within its limit as shown.
    set("checkRatedVoltage3", "525");
    set("checkLineVoltage", "491");
    check();
    EXPECT_GT(CheckResonance(page()->lastCheck().value())->duties[3].rmsVoltagePct, 110);
    EXPECT_EQ(cells().at(u"checkRmsVoltage"_s)[3], u"110.0"_s);
    EXPECT_TRUE(dialogs.events.isEmpty()) << dialogs.events.join(u"; "_s).toStdString();
}

// Each resonance listed; a warning for one within 10 % of a characteristic
// order as shown, only where |Z| there exceeds the network's own.
TEST_F(ResonancePageTest, warnsOfTheResonancesShownNearACharacteristicOrderWhereTheBankAmplifies) {
    struct Case {
        std::vector<std::pair<const char*, const char*>> texts;
        const char* resonances;
        const char* warning;
        const char* basis;
    };
    // A 400 V network of 10 MVA, X/R = 10⁶, with one plain capacitor of 400 V:
    // h = √(10000 / Q_R), 4.49962 for 493.91 kvar, 11.8997 for 70.62 kvar.
    // Two 400 V, 100 kvar branches of p = 4 % and 3.9 % (q = 50) on a network
    // of X/R = 10 resonate with it near 4.1 (S_k = 10) or 4.5 (S_k = 22), and
    // with each other near 5.03, where |Z| is about their reactors' resistance,
    // 5 × 0.064 / 50 = 0.0064 Ω, below the network's 5 × 0.0073 Ω at 22 MVA.
    const std::vector<std::pair<const char*, const char*>> plain{
        {"checkShortCircuit", "10"}, {"checkXOverR", "1000000"}, {"checkRatedVoltage5", "400"}, {"checkRatio5", "0"},
        {"checkRatedKvar3", "0"},    {"checkRatedKvar7", "0"},   {"checkRatedKvar11", "0"}};
    const std::vector<std::pair<const char*, const char*>> pair{
        {"checkXOverR", "10"},  {"checkRatedVoltage5", "400"}, {"checkRatedKvar5", "100"},
        {"checkRatio5", "4"},   {"checkRatedVoltage7", "400"}, {"checkRatedKvar7", "100"},
        {"checkRatio7", "3.9"}, {"checkRatedKvar3", "0"},      {"checkRatedKvar11", "0"}};
    // clang-format off
    const Case cases[] = {
        {{{"checkRatedKvar5", "493.91"}}, "4.50", "警告：4.50次靠近5次谐波（±10%以内）。", "（该处|Z|大于电网|Z|）"},
        {{{"checkRatedKvar5", "70.62"}},  "11.90", "警告：11.90次靠近11、13次谐波（±10%以内）。", "（该处|Z|大于电网|Z|）"},
        {{{"checkShortCircuit", "10"}},   "4.10、5.03", "5.03次靠近5次谐波，但该处|Z|不大于电网|Z|，不警告。", ""},
        {{{"checkShortCircuit", "22"}},   "4.53、5.02", "警告：4.53次靠近5次谐波（±10%以内）。",
                                          "（该处|Z|大于电网|Z|）5.02次靠近5次谐波，但该处|Z|不大于电网|Z|，不警告。"},
    };
    // clang-format on
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        for (const auto& [name, text] : i < 2 ? plain : pair) {
            set(name, text);
        }
        for (const auto& [name, text] : c.texts) {
            set(name, text);
        }
        check();
        EXPECT_EQ(label(u"checkResonances"_s), u"1～25次间的并联谐振次数："_s + QString::fromUtf8(c.resonances));
        EXPECT_EQ(label(u"checkWarning"_s), QString::fromUtf8(c.warning));
        EXPECT_EQ(label(u"checkWarningBasis"_s), QString::fromUtf8(c.basis));
    }
    EXPECT_TRUE(dialogs.events.isEmpty()) << dialogs.events.join(u"; "_s).toStdString();
}

// 10¹⁵⁰ A of the 5th harmonic: every value is shown in its cell, with an exponent where
// fixed notation would take more than ten characters.
TEST_F(ResonancePageTest, showsHugeValuesWithAnExponent) {
    set("checkCurrent5", "1e150");
    check();
    for (const auto& [row, texts] : cells()) {
        for (QString text : texts) {
            text.remove(u" 超限"_s);
            EXPECT_LE(text.size(), kCellChars) << row.toStdString() << ": " << text.toStdString();
        }
    }
    // √3 |Z_S(5)| I_5 = √3 × 0.0096 Ω × √(5² + 0.1²) × 10¹⁵⁰ A = 8.316E148 V (X_S = 400² / 16.67E6).
    EXPECT_EQ(cells().at(u"checkVoltageWithout"_s)[1], u"8.316E148"_s);
    EXPECT_LE(label(u"checkDistortion"_s).size(), 60);
}

// A refused check (a notice or the conversion's error box) leaves no results,
// no chart and nothing to save.
TEST_F(ResonancePageTest, aRefusedCheckEmptiesTheResults) {
    struct Case {
        std::vector<std::pair<const char*, const char*>> texts;
        const char* event;
    };
    // clang-format off
    const Case cases[] = {
        {{{"checkTransformerRating", ""}, {"checkImpedanceVoltage", ""}}, "notice:请输入电网的短路容量Sk，或变压器容量ST与阻抗电压uk"},
        {{{"checkImpedanceVoltage", "0"}},                                "notice:阻抗电压uk必须大于0"},
        {{{"checkLineVoltage", "-400"}},                                  "notice:线电压U必须大于0"},
        {{{"checkRatio5", "100"}},                                        "notice:5次支路的电抗率p必须不小于0且小于100"},
        {{{"checkCurrent7", ""}},                                         "notice:请输入7次负载谐波电流Ih"},
        {{{"checkRatedKvar3", "0"}, {"checkRatedKvar5", ""}, {"checkRatedKvar7", "0"}, {"checkRatedKvar11", ""}},
                                                                          "notice:请至少输入一条支路的电容器额定容量QR"},
        {{{"checkShortCircuit", "1e-300"}},                               "notice:输入的数值超出了可计算的范围，请检查输入"},
        {{{"checkXOverR", "x"}},                                          "fault:'x' is not a valid floating point value."},
    };
    // clang-format on
    const auto shown = cells();
    const auto inputs = test::FieldTexts(Find<QWidget>(&window, u"TabSheet8"_s));
    std::map<QString, std::array<QString, 4>> empty;
    for (const auto& [row, texts] : shown) {
        empty[row] = {};
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(c.event);
        check();  // the inputs of the worked example: results shown
        ASSERT_EQ(cells(), shown);
        for (const auto& [name, text] : c.texts) {
            set(name, text);
        }
        dialogs.clear();
        check();
        EXPECT_EQ(dialogs.events, QStringList{QString::fromUtf8(c.event)});
        EXPECT_EQ(cells(), empty);
        EXPECT_EQ(label(u"checkResonances"_s), u"1～25次间的并联谐振次数："_s);
        EXPECT_EQ(label(u"checkWarning"_s), QString());
        EXPECT_FALSE(chartShown());
        EXPECT_FALSE(page()->lastCheck().has_value());
        for (const auto& [name, text] : inputs) {
            Find<QLineEdit>(&window, name)->setText(text);
        }
        dialogs.clear();
        test::Click(&window, u"checkSave"_s);
        EXPECT_EQ(dialogs.events, QStringList{u"notice:请先校验，再保存阻抗曲线"_s});
    }
}

TEST_F(ResonancePageTest, savesTheChartAsPngPdfOrCsvThroughTheFileBox) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString png = dir.filePath(u"z.png"_s);
    const QString pdf = dir.filePath(u"z.pdf"_s);
    const QString csv = dir.filePath(u"z.csv"_s);
    dialogs.saveNames = {QString(), png, pdf, csv, dir.filePath(u"z.txt"_s)};
    for (int i = 0; i < 5; ++i) {
        test::Click(&window, u"checkSave"_s);
    }
    EXPECT_EQ(dialogs.events.count(u"save:保存阻抗曲线"_s), 5);
    EXPECT_EQ(dialogs.notices, QStringList{u"文件名须以 .png、.pdf 或 .csv 结尾"_s});  // the cancel said nothing

    EXPECT_EQ(QImage(png).size(), QSize(1920, 1200));
    QFile pdfFile(pdf);
    ASSERT_TRUE(pdfFile.open(QIODevice::ReadOnly));
    const QByteArray pdfBytes = pdfFile.readAll();
    EXPECT_TRUE(pdfBytes.startsWith("%PDF"));
    EXPECT_FALSE(pdfBytes.contains("/Subtype /Image"));  // drawn as vectors, not as a picture
    QFile csvFile(csv);
    ASSERT_TRUE(csvFile.open(QIODevice::ReadOnly));
    const QStringList rows = QString::fromUtf8(csvFile.readAll()).split(u"\r\n"_s, Qt::SkipEmptyParts);
    ASSERT_EQ(rows.size(), 1 + 2401);  // the header, then every 0.01 from 1 to 25
    EXPECT_TRUE(rows[1].startsWith(u"1.00,"_s));
    EXPECT_TRUE(rows.last().startsWith(u"25.00,"_s));
    EXPECT_EQ(rows[1].split(u',').size(), 4);

    // Inputs changed since the check: it is not saved; typed back as they were, it is.
    const ResonanceInputs checked = page()->lastCheck().value();
    set("checkXOverR", "12");
    dialogs.clear();
    test::Click(&window, u"checkSave"_s);
    EXPECT_EQ(dialogs.events, QStringList{u"notice:输入已改动，请先校验，再保存阻抗曲线"_s});
    set("checkXOverR", "10.0");
    dialogs.saveNames = {QString()};
    dialogs.clear();
    test::Click(&window, u"checkSave"_s);
    EXPECT_EQ(dialogs.events, QStringList{u"save:保存阻抗曲线"_s});

    // Cleared, the page has nothing to save and asks for no file.
    test::Click(&window, u"checkClear"_s);
    EXPECT_EQ(field("checkXOverR"), u"10"_s);
    EXPECT_EQ(field("checkRatio5"), u"4"_s);
    EXPECT_EQ(field("checkRatedKvar5"), QString());
    dialogs.clear();
    test::Click(&window, u"checkSave"_s);
    EXPECT_EQ(dialogs.events, QStringList{u"notice:请先校验，再保存阻抗曲线"_s});

    // A check kept elsewhere is shown again as it was, without its fields.
    page()->showCheck(checked);
    EXPECT_EQ(page()->lastCheck(), checked);
    EXPECT_EQ(cells().at(u"checkRmsVoltage"_s), (std::array{u"85.9"_s, u"87.1"_s, u"85.2"_s, u"89.6"_s}));
    EXPECT_TRUE(chartShown());
}

}  // namespace
}  // namespace hcalc
