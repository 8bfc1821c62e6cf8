// The resonance and duty check after the README's worked example, its values
// handed over from the earlier pages: the verdicts it shows, an overloaded
// capacitor marked, bad input told by a notice with nothing written, and the
// chart saved through the file box. The figures were worked apart from the
// code, with complex arithmetic of their own.

#include "app/main_window.h"
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
    EXPECT_EQ(label(u"checkDistortion"_s), u"接入点电压总谐波畸变率THDu：无电容器组 1.2%，有电容器组 0.2%"_s);

    // 380 V capacitors in the 3rd branch carry its 450 V of tuning rise: over three limits, within the current's.
    Find<QLineEdit>(&window, u"checkRatedVoltage3"_s)->setText(u"380"_s);
    check();
    const auto shown = cells();
    EXPECT_EQ(shown.at(u"checkRmsVoltage"_s)[0], u"118.6 超限"_s);
    EXPECT_EQ(shown.at(u"checkPeakVoltage"_s)[0], u"125.2 超限"_s);
    EXPECT_EQ(shown.at(u"checkRmsCurrent"_s)[0], u"120.1"_s);
    EXPECT_EQ(shown.at(u"checkReactivePower"_s)[0], u"141.6 超限"_s);
    EXPECT_TRUE(dialogs.events.isEmpty()) << dialogs.events.join(u"; "_s).toStdString();
}

TEST_F(ResonancePageTest, badInputIsToldAndNothingWritten) {
    struct Case {
        std::vector<std::pair<const char*, const char*>> texts;
        const char* notice;
    };
    // clang-format off
    const Case cases[] = {
        {{{"checkTransformerRating", ""}, {"checkImpedanceVoltage", ""}}, "请输入电网的短路容量Sk，或变压器容量ST与阻抗电压uk"},
        {{{"checkImpedanceVoltage", "0"}},                                "阻抗电压uk必须大于0"},
        {{{"checkLineVoltage", "-400"}},                                  "线电压U必须大于0"},
        {{{"checkRatio5", "100"}},                                        "5次支路的电抗率p必须不小于0且小于100"},
        {{{"checkCurrent7", ""}},                                         "请输入7次负载谐波电流Ih"},
        {{{"checkRatedKvar3", "0"}, {"checkRatedKvar5", ""}, {"checkRatedKvar7", "0"}, {"checkRatedKvar11", ""}},
                                                                          "请至少输入一条支路的电容器额定容量QR"},
    };
    // clang-format on
    const auto before = cells();
    const auto inputs = test::FieldTexts(Find<QWidget>(&window, u"TabSheet8"_s));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.notice);
        for (const auto& [name, text] : c.texts) {
            Find<QLineEdit>(&window, QString::fromUtf8(name))->setText(QString::fromUtf8(text));
        }
        dialogs.clear();
        check();
        EXPECT_EQ(dialogs.events, QStringList{u"notice:"_s + QString::fromUtf8(c.notice)});
        EXPECT_EQ(cells(), before);
        for (const auto& [name, text] : inputs) {
            Find<QLineEdit>(&window, name)->setText(text);
        }
    }
    // Not a number: the conversion's error box.
    Find<QLineEdit>(&window, u"checkXOverR"_s)->setText(u"x"_s);
    dialogs.clear();
    check();
    EXPECT_EQ(dialogs.events, QStringList{u"fault:'x' is not a valid floating point value."_s});
    EXPECT_EQ(cells(), before);
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

    // Cleared, the page has nothing to save and asks for no file.
    test::Click(&window, u"checkClear"_s);
    EXPECT_EQ(field("checkXOverR"), u"10"_s);
    EXPECT_EQ(field("checkRatio5"), u"4"_s);
    EXPECT_EQ(field("checkRatedKvar5"), QString());
    dialogs.clear();
    test::Click(&window, u"checkSave"_s);
    EXPECT_EQ(dialogs.events, QStringList{u"notice:请先校验，再保存阻抗曲线"_s});
}

}  // namespace
}  // namespace hcalc
