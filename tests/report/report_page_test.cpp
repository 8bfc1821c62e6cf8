#include "report/report_page.h"
#include "app/main_window.h"
#include "report/glyphs.h"
#include "support/fake_dialogs.h"
#include "support/widgets.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QTabWidget>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>

#include <gtest/gtest.h>

namespace hcalc {
namespace {

using namespace Qt::Literals::StringLiterals;
using test::FakeDialogs;
using test::FieldTexts;
using test::Find;

QStringList paragraphs(const QTextEdit* area) {
    QStringList texts;
    for (QTextBlock block = area->document()->begin(); block.isValid(); block = block.next()) {
        texts << block.text();
    }
    return texts;
}

class ReportPageTest : public ::testing::Test {
protected:
    QTextEdit* report() { return Find<QTextEdit>(&window, u"R"_s); }

    FakeDialogs dialogs;
    TForm1 window{dialogs};
};

TEST_F(ReportPageTest, generatesFromTheSiteFieldsOfTheOtherPages) {
    // clang-format off
    test::Fill(&window, {{"Text71", "1000"}, {"Text73", " 0.75"}, {"Text72", "0.95 "}, {"Text330", "220V"},
                         {"Text43", "35.5"}, {"Text340", ""},     {"Text350", "x"},     {"Text360", "8"},
                         {"Text320", "999"}});  // the total reactive power is not part of the report
    // clang-format on
    const auto before = FieldTexts(&window);

    test::Click(&window, u"RzBitBtn13"_s);

    const QStringList lines = paragraphs(report());
    ASSERT_EQ(lines.size(), kSchemeReportLineCount);
    EXPECT_EQ(lines.mid(2, 8),
              (QStringList{u"现场的有功功率为：1000(KW)"_s, u"目前功率因数为： 0.75"_s, u"目标功率因数为：0.95 "_s,
                           u"相电压为：220V(V)"_s, u"3次谐波电流为：35.5(A)"_s, u"5次谐波电流为：(A)"_s,
                           u"7次谐波电流为：x(A)"_s, u"11次谐波电流为：8(A)"_s}));
    // Nothing was calculated: the table's values all show as 0.
    EXPECT_EQ(lines[14], u"容量为：0(KVar)；额定电压为：0(V)"_s);
    EXPECT_EQ(lines[54], u"所有电容器输出的无功功率为：0(KVar)，谐波容量为：0(KVar)"_s);
    EXPECT_EQ(FieldTexts(&window), before);  // no field is written
    EXPECT_TRUE(dialogs.events.isEmpty());   // no box, no message
}

TEST_F(ReportPageTest, generatingAgainReplacesTheWholeText) {
    test::Click(&window, u"RzBitBtn13"_s);
    const QString first = report()->toPlainText();
    report()->append(u"an edit of the user"_s);
    test::Fill(&window, {{"Text71", "500"}});

    test::Click(&window, u"RzBitBtn13"_s);
    test::Click(&window, u"RzBitBtn13"_s);

    const QStringList lines = paragraphs(report());
    EXPECT_EQ(lines.size(), kSchemeReportLineCount);
    QStringList expected = first.split(u'\n');
    expected[2] = u"现场的有功功率为：500(KW)"_s;
    EXPECT_EQ(lines, expected);
}

TEST_F(ReportPageTest, reportTakesTheAreasFont) {
    test::Click(&window, u"RzBitBtn13"_s);
    EXPECT_EQ(report()->font(), look::songTi());
    EXPECT_EQ(report()->document()->defaultFont(), look::songTi());
    for (QTextBlock block = report()->document()->begin(); block.isValid(); block = block.next()) {
        // No character format of its own: every line shows in the area's font.
        EXPECT_TRUE(block.charFormat().properties().isEmpty()) << block.text().toStdString();
        for (const QTextLayout::FormatRange& range : block.textFormats()) {
            EXPECT_TRUE(range.format.properties().isEmpty()) << block.text().toStdString();
        }
    }
}

TEST_F(ReportPageTest, cancellingThePrintChangesNothing) {
    test::Click(&window, u"RzBitBtn13"_s);
    const QString text = report()->toPlainText();
    dialogs.confirmAnswers = {false};

    test::Click(&window, u"RzBitBtn15"_s);

    EXPECT_EQ(dialogs.events, QStringList{u"confirm:确认打印方案？"_s});
    EXPECT_EQ(report()->toPlainText(), text);
}

TEST_F(ReportPageTest, buttonsSitAboveTheAreaWithTheirGlyphs) {
    ASSERT_TRUE(test::ShowPage(&window, u"TabSheet7"_s));
    auto* generate = Find<QAbstractButton>(&window, u"RzBitBtn13"_s);
    auto* print = Find<QAbstractButton>(&window, u"RzBitBtn15"_s);
    EXPECT_EQ(generate->text(), u"方案生成"_s);
    EXPECT_EQ(print->text(), u"打印方案"_s);
    EXPECT_EQ(generate->geometry(), QRect(16, 8, 89, 25));
    EXPECT_EQ(print->geometry(), QRect(120, 8, 89, 25));
    EXPECT_GT(report()->y(), generate->geometry().bottom());
    for (QAbstractButton* button : {generate, print}) {
        EXPECT_EQ(button->iconSize(), QSize(16, 16));
        EXPECT_FALSE(button->icon().isNull());
        // The greyed form, for a disabled button, differs from the drawing.
        EXPECT_NE(button->icon().pixmap(16, QIcon::Disabled).toImage(),
                  button->icon().pixmap(16, QIcon::Normal).toImage());
    }
    EXPECT_EQ(report()->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(report()->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_FALSE(report()->isReadOnly());

    // Tab moves on from R instead of typing a tab character.
    const QStringList visited = test::TabOrderFrom(report(), 3);
    EXPECT_EQ(visited, (QStringList{u"R"_s, u"RzBitBtn13"_s, u"RzBitBtn15"_s}));
}

// The drawings: a white sheet with a blue check mark, a grey printer; their
// greyed forms hold no colour and keep the shape's outline.
TEST(Glyphs, sheetHasABlueCheckMarkAndGreyedFormsHoldNoColour) {
    const auto count = [](const QImage& image, auto&& test) {
        int n = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                n += test(image.pixelColor(x, y)) ? 1 : 0;
            }
        }
        return n;
    };
    const auto blue = [](const QColor& c) { return c.alpha() > 128 && c.blue() > 150 && c.red() < 100; };
    const auto coloured = [](const QColor& c) {
        return c.alpha() > 0 && (c.red() != c.green() || c.green() != c.blue());
    };
    const auto opaque = [](const QColor& c) { return c.alpha() > 0; };
    const QImage sheet = GlyphImage(Glyph::CheckedSheet);
    const QImage printer = GlyphImage(Glyph::Printer);
    EXPECT_EQ(sheet.size(), QSize(16, 16));
    EXPECT_EQ(printer.size(), QSize(16, 16));
    EXPECT_GE(count(sheet, blue), 8);
    EXPECT_EQ(count(printer, blue), 0);
    EXPECT_GT(count(sheet, [](const QColor& c) { return c.alpha() == 0; }), 0);  // the corners stay transparent
    for (const QImage& image : {sheet, printer}) {
        const QImage greyed = GreyedGlyph(image);
        EXPECT_EQ(count(greyed, coloured), 0);
        EXPECT_EQ(count(greyed, opaque), count(image, opaque));
        EXPECT_EQ(count(greyed, [](const QColor& c) { return c.alpha() > 0 && c.red() < 128; }), 0);  // lighter
    }
}

// The report is a snapshot of the table as it stands when generated.
TEST(ReportPage, readsTheTableWhenGenerating) {
    FakeDialogs dialogs;
    NumberFormat numbers;
    DesignState design;
    ReportPage page(PageContext{dialogs, numbers}, design, [] {
        return SiteTexts{u"1"_s, u"2"_s, u"3"_s, u"4"_s, {u"5"_s, u"6"_s, u"7"_s, u"8"_s}};
    });
    auto* area = Find<QTextEdit>(&page, u"R"_s);
    *design.table.rowFor(7) = {7, 30, 450, 471.8, 38.49, 1.5, 6, 4, 117.5, 125.25, 10.5};

    test::Click(&page, u"RzBitBtn13"_s);
    const QStringList lines = paragraphs(area);
    ASSERT_EQ(lines.size(), kSchemeReportLineCount);
    EXPECT_EQ(lines.mid(34, 10), (QStringList{
                                     u"7次滤波器组"_s,
                                     u"A. 选用的三角形连接电容器："_s,
                                     u"容量为：30(KVar)；额定电压为：450(V)"_s,
                                     u"电容值为：471.8(uF)；额定电流为：38.49(A)"_s,
                                     u"B. 对应的电抗器："_s,
                                     u"电感值为：1.5(mH)；电抗率为：6%"_s,
                                     u"C. 以上组合共：4组"_s,
                                     u"D. 效果检验："_s,
                                     u"全部电容器组投切上去后，所有电容器组输出的无功功率为：117.5(KVar)"_s,
                                     u"所有电容器输出的无功功率为：125.25(KVar)，谐波容量为：10.5(KVar)"_s,
                                 }));
    const QString report = area->toPlainText();
    design.table.rowFor(7)->bankCount = 5;  // a later calculation
    EXPECT_EQ(area->toPlainText(), report);
    test::Click(&page, u"RzBitBtn13"_s);
    EXPECT_EQ(paragraphs(area)[40], u"C. 以上组合共：5组"_s);
    EXPECT_TRUE(dialogs.events.isEmpty());
}

TEST(ReportPage, tableValuesUseTheRegionalSeparator) {
    FakeDialogs dialogs;
    NumberFormat numbers{u','};
    DesignState design;
    ReportPage page(PageContext{dialogs, numbers}, design, [] {
        return SiteTexts{.activePower = u"0.9"_s,
                         .presentPowerFactor = {},
                         .targetPowerFactor = {},
                         .phaseVoltage = {},
                         .harmonicCurrents = {}};
    });
    design.table.rowFor(3)->ratedKvar = 12.5;
    test::Click(&page, u"RzBitBtn13"_s);
    const QStringList lines = paragraphs(Find<QTextEdit>(&page, u"R"_s));
    EXPECT_EQ(lines[2], u"现场的有功功率为：0.9(KW)"_s);
    EXPECT_EQ(lines[14], u"容量为：12,5(KVar)；额定电压为：0(V)"_s);
}

}  // namespace
}  // namespace hcalc
