#include "pages/selection_page.h"
#include "app/main_window.h"
#include "core/filter_orders.h"
#include "support/fake_dialogs.h"
#include "support/widgets.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QLocale>
#include <QTabWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <array>

namespace hcalc {
namespace {

using namespace Qt::Literals::StringLiterals;
using test::FakeDialogs;
using test::FieldTexts;
using test::Find;

struct BankNames {
    const char* qi;
    const char* ui;
    const char* us;
    const char* qs;
    const char* calculate;
    const char* clear;
    std::array<const char*, 6> tabOrder;
};

// clang-format off
const std::array<BankNames, 4> kBanks{{
    {"Text1a",  "Text2a",  "Text3a",  "Text4a",  "RzBitBtn5",  "RzBitBtn6",  {"Text1a",  "Text4a",  "Text2a",  "Text3a",  "RzBitBtn5",  "RzBitBtn6"}},
    {"Text8a",  "Text7a",  "Text6a",  "Text5a",  "RzBitBtn7",  "RzBitBtn8",  {"Text8a",  "Text6a",  "Text7a",  "Text5a",  "RzBitBtn7",  "RzBitBtn8"}},
    {"Text12a", "Text11a", "Text10a", "Text9a",  "RzBitBtn9",  "RzBitBtn10", {"Text12a", "Text11a", "Text10a", "Text9a",  "RzBitBtn9",  "RzBitBtn10"}},
    {"Text16a", "Text15a", "Text14a", "Text13a", "RzBitBtn11", "RzBitBtn12", {"Text16a", "Text15a", "Text14a", "Text13a", "RzBitBtn11", "RzBitBtn12"}},
}};

struct SelectionCase {
    const char* qi;
    const char* ui;
    const char* us;
    const char* shown;  // the text of Qs afterwards ("old" when it is left as it was)
    const char* box;    // the notice or error box shown, if any
};

const SelectionCase kCases[] = {
    {"100",   "400",   "450",   "126.5625",          nullptr},
    {"45.5",  "400",   "400",   "45.5",              nullptr},
    {"100",   "400",   "0",     "0",                 nullptr},
    {"0",     "400",   "450",   "0",                 nullptr},
    {"100",   "-400",  "450",   "126.5625",          nullptr},
    {"-100",  "400",   "450",   "-126.5625",         nullptr},
    {"1",     "3",     "1",     "0.111111111111111", nullptr},
    {" 100 ", "4e2",   "450.",  "126.5625",          nullptr},
    {"1e-200", "1e200", "1",    "0",                 nullptr},   // underflow is no fault
    {"100",   "0",     "450",   "old", "Floating point division by zero."},
    {"0",     "0",     "450",   "old", "Invalid floating point operation."},
    {"100",   "-0",    "0",     "old", "Invalid floating point operation."},
    {"1e300", "1e-10", "1e10",  "old", "Floating point overflow."},
    {"1e500", "400",   "450",   "old", "Floating point overflow."},   // too large for the double it is stored in
    {"abc",   "x",     "y",     "old", "'abc' is not a valid floating point value."},
    {"100",   "  ",    "450",   "old", "'  ' is not a valid floating point value."},
    {"100",   "400",   "1,5",   "old", "'1,5' is not a valid floating point value."},
    {"",      "400",   "450",   "old", "请输入完整数据"},
    {"100",   "",      "450",   "old", "请输入完整数据"},
    {"100",   "400",   "",      "old", "请输入完整数据"},
};
// clang-format on

class SelectionPageTest : public ::testing::Test {
protected:
    QWidget* page() { return Find<QWidget>(&window, u"TabSheet6"_s); }
    void fill(const BankNames& bank, const char* qi, const char* ui, const char* us) {
        Find<QLineEdit>(&window, QString::fromUtf8(bank.qi))->setText(QString::fromUtf8(qi));
        Find<QLineEdit>(&window, QString::fromUtf8(bank.ui))->setText(QString::fromUtf8(ui));
        Find<QLineEdit>(&window, QString::fromUtf8(bank.us))->setText(QString::fromUtf8(us));
    }
    QString text(const char* name) { return Find<QLineEdit>(&window, QString::fromUtf8(name))->text(); }

    FakeDialogs dialogs;
    TForm1 window{dialogs};
};

TEST_F(SelectionPageTest, everyBankCalculatesTheTotalCapacity) {
    for (const BankNames& bank : kBanks) {
        for (const SelectionCase& c : kCases) {
            SCOPED_TRACE(std::string(bank.calculate) + ": " + c.qi + " " + c.ui + " " + c.us);
            dialogs.clear();
            fill(bank, c.qi, c.ui, c.us);
            Find<QLineEdit>(&window, QString::fromUtf8(bank.qs))->setText(u"old"_s);
            const auto before = FieldTexts(&window);

            test::Click(&window, QString::fromUtf8(bank.calculate));

            auto expected = before;
            expected[QString::fromUtf8(bank.qs)] = QString::fromUtf8(c.shown);
            if (c.box == nullptr) {  // a calculated bank is handed to the resonance check
                const QString order = QString::number(kFilterOrders[static_cast<std::size_t>(&bank - kBanks.data())]);
                expected[u"checkRatedVoltage"_s + order] = text(bank.us);
                expected[u"checkRatedKvar"_s + order] = QString::fromUtf8(c.shown);
            }
            EXPECT_EQ(FieldTexts(&window), expected);  // nothing but Qs is written, on any page
            EXPECT_EQ(dialogs.events,
                      c.box ? QStringList{(QString::fromUtf8(c.box).startsWith(u"请"_s) ? u"notice:"_s : u"fault:"_s) +
                                          QString::fromUtf8(c.box)}
                            : QStringList{});
        }
    }
}

TEST_F(SelectionPageTest, banksAreIndependent) {
    fill(kBanks[0], "100", "400", "450");
    fill(kBanks[1], "10", "400", "800");
    test::Click(&window, u"RzBitBtn7"_s);
    EXPECT_EQ(text("Text5a"), u"40"_s);
    EXPECT_EQ(text("Text4a"), QString());
    test::Click(&window, u"RzBitBtn6"_s);
    EXPECT_EQ(text("Text1a"), QString());
    EXPECT_EQ(text("Text8a"), u"10"_s);
    EXPECT_EQ(text("Text5a"), u"40"_s);
}

TEST_F(SelectionPageTest, clearEmptiesTheGroupAndFocusesItsIdealCapacity) {
    ASSERT_TRUE(test::ShowPage(&window, u"TabSheet6"_s));
    for (const BankNames& bank : kBanks) {
        fill(bank, "100", "400", "450");
        test::Click(&window, QString::fromUtf8(bank.calculate));
        ASSERT_EQ(text(bank.qs), u"126.5625"_s);
        test::Click(&window, QString::fromUtf8(bank.clear));
        for (const char* name : {bank.qi, bank.ui, bank.us, bank.qs}) {
            EXPECT_EQ(text(name), QString()) << name;
        }
        EXPECT_EQ(QApplication::focusWidget(), Find<QWidget>(&window, QString::fromUtf8(bank.qi)));
    }
    EXPECT_TRUE(dialogs.events.isEmpty());
}

TEST_F(SelectionPageTest, tabKeyFollowsTheDesignedOrder) {
    ASSERT_TRUE(test::ShowPage(&window, u"TabSheet6"_s));
    const QStringList visited = test::TabOrderFrom(Find<QWidget>(&window, u"Text1a"_s), 24);
    QStringList expected;
    for (const BankNames& bank : kBanks) {
        for (const char* name : bank.tabOrder) {
            expected << QString::fromUtf8(name);
        }
    }
    EXPECT_EQ(visited, expected);
}

TEST_F(SelectionPageTest, fieldsHaveTheirRolesAndFonts) {
    window.show();
    QApplication::processEvents();
    for (const BankNames& bank : kBanks) {
        for (const char* name : {bank.qi, bank.ui, bank.us}) {
            EXPECT_NE(Find<QLineEdit>(&window, QString::fromUtf8(name))->palette().color(QPalette::Base),
                      QColor(255, 255, 225));
        }
        auto* qs = Find<QLineEdit>(&window, QString::fromUtf8(bank.qs));
        EXPECT_EQ(qs->palette().color(QPalette::Base), QColor(255, 255, 225));
        EXPECT_FALSE(qs->isReadOnly());
        EXPECT_TRUE(qs->font().bold());
        EXPECT_EQ(Find<QAbstractButton>(&window, QString::fromUtf8(bank.calculate))->text(), u"计算"_s);
        EXPECT_EQ(Find<QAbstractButton>(&window, QString::fromUtf8(bank.clear))->text(), u"清空"_s);
    }
}

TEST_F(SelectionPageTest, usesTheRegionalSeparator) {
    const QString point = QLocale::system().decimalPoint();
    fill(kBanks[2], "45", "400", "400");
    Find<QLineEdit>(&window, u"Text12a"_s)->setText(u"45"_s + point + u"5"_s);
    test::Click(&window, u"RzBitBtn9"_s);
    EXPECT_EQ(text("Text9a"), u"45"_s + point + u"5"_s);
    EXPECT_TRUE(dialogs.events.isEmpty());
}

TEST(SelectionPage, takesTheIdealValuesHandedOver) {
    FakeDialogs dialogs;
    NumberFormat numbers;
    SelectionPage page(PageContext{dialogs, numbers});
    page.takeIdealCapacities({u"11.94"_s, u"15.525"_s, u"7.18375"_s, u"0"_s});
    page.takeIdealVoltages({u"1"_s, u"412.31"_s, u"3"_s, u"4"_s});
    const auto texts = FieldTexts(&page);
    EXPECT_EQ(texts.at(u"Text1a"_s), u"11.94"_s);
    EXPECT_EQ(texts.at(u"Text8a"_s), u"15.525"_s);
    EXPECT_EQ(texts.at(u"Text12a"_s), u"7.18375"_s);
    EXPECT_EQ(texts.at(u"Text16a"_s), u"0"_s);
    EXPECT_EQ(texts.at(u"Text2a"_s), u"1"_s);
    EXPECT_EQ(texts.at(u"Text7a"_s), u"412.31"_s);
    EXPECT_EQ(texts.at(u"Text11a"_s), u"3"_s);
    EXPECT_EQ(texts.at(u"Text15a"_s), u"4"_s);
    EXPECT_EQ(texts.at(u"Text3a"_s), QString());
}

}  // namespace
}  // namespace hcalc
