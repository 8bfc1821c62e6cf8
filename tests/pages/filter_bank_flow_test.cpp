// The filter-bank table as the capacitor, reactor and bank calculations fill
// it across the two pages: which row, which columns, and when.

#include "pages/expected_figures.h"
#include "support/design.h"
#include "support/page_driver.h"

#include <gtest/gtest.h>

namespace hcalc {
namespace {

using namespace Qt::Literals::StringLiterals;

class FilterBankFlow : public test::PageDriver {
protected:
    void capacitor(const char* q, const char* u, const char* h) {
        set({{"Text1", q}, {"Text2", u}});
        answer({h});
        test::Click(&window, u"Command1"_s);
    }
    void reactor(const char* h, const char* e) {
        answer({h});
        test::Click(&window, u"Command4"_s);
        answer({e});
        test::Click(&window, u"Command7"_s);
    }
    void bank(const char* n) {
        set({{"Text13", "400"}, {"Text63", "10"}, {"Text64", "5"}});
        answer({n});
        test::Click(&window, u"Command8"_s);
    }
    test::RowColumns row(int h) const { return test::Columns(*design().table.rowFor(h)); }
};

TEST_F(FilterBankFlow, oneBranchFromCapacitorToBankFillsItsRow) {
    capacitor("100", "400", "5");
    reactor("5", "0.01");
    bank("2");
    ASSERT_TRUE(dialogs.faults.isEmpty()) << dialogs.faults.join(u" "_s).toStdString();

    // What the bank page was handed, and computed from.
    EXPECT_EQ(text("Text11"), text("Text3"));
    EXPECT_EQ(text("Text12"), text("Text9"));
    EXPECT_EQ(text("Text24"), text("Text22"));
    const test::DetunedFigures reactorRef = test::detunedFigures(100, 400, reread("Text9"), 0.01);
    const test::BankFigures bankRef = test::bankFigures(2, reread("Text11"), reread("Text24"), 400, 5, 10);
    const test::RowColumns expected{5,
                                    100,
                                    400,
                                    663.48195329087,
                                    144.333333333333,
                                    0.205859872611465,
                                    StoreDouble(reactorRef.ratioPct),
                                    2,
                                    StoreDouble(bankRef.qbAll),
                                    StoreDouble(bankRef.qcAll),
                                    StoreDouble(bankRef.qh)};
    EXPECT_EQ(row(5), expected);
    EXPECT_NEAR(row(5)[6], 4.04, 1e-12);
    for (int h : {3, 7, 11}) {
        EXPECT_EQ(row(h), test::RowColumns{}) << h;
    }
}

TEST_F(FilterBankFlow, calculationsStoreOnlyTheirOwnColumnsOfTheirOwnRow) {
    set({{"Text6", "100"}, {"Text7", "400"}});
    capacitor("100", "400", "7");  // the capacitor's own h
    reactor("5", "0.01");          // currentOrder 5
    bank("2");
    const test::RowColumns seven = row(7);
    const test::RowColumns five = row(5);
    for (std::size_t col = 0; col < 11; ++col) {
        EXPECT_EQ(seven[col] != 0, col <= 4) << col;
        EXPECT_EQ(five[col] != 0, col >= 5) << col;
    }

    // Again for order 7 with other inputs: only the capacitor columns of row 7 change.
    capacitor("50", "450", "7");
    test::RowColumns expected = seven;
    expected[1] = 50;
    expected[2] = 450;
    expected[3] = reread("Text3");
    expected[4] = reread("Text41");
    EXPECT_EQ(row(7), expected);
    EXPECT_EQ(row(5), five);

    // A detuned reactor again under order 5 overwrites columns 5 and 6 only.
    reactor("5", "-0.02");
    expected = five;
    expected[5] = reread("Text22");
    expected[6] = StoreDouble(test::detunedFigures(reread("Text6"), reread("Text7"), reread("Text9"), -0.02).ratioPct);
    EXPECT_EQ(row(5), expected);

    // Order 11 and order 4 from the capacitor side: the fourth row, then nothing.
    capacitor("100", "400", "11");
    EXPECT_EQ(row(11)[0], 11.0);
    const test::TableColumns table = test::Columns(design().table);
    capacitor("100", "400", "4");
    EXPECT_EQ(test::Columns(design().table), table);
    EXPECT_TRUE(dialogs.faults.isEmpty()) << dialogs.faults.join(u" "_s).toStdString();
}

TEST_F(FilterBankFlow, cancelledOrderBoxSelectsNoRow) {
    set({{"Text6", "100"}, {"Text7", "400"}, {"Text11", "100"}});
    reactor("5", "0.01");
    const test::TableColumns table = test::Columns(design().table);
    ASSERT_EQ(design().currentOrder, 5);

    dialogs.clear();
    test::Click(&window, u"Command4"_s);  // h box cancelled
    EXPECT_EQ(dialogs.faults, QStringList{u"'' is not a valid integer value."_s});
    EXPECT_EQ(design().currentOrder, 0);

    // The detuned reactor and bank calculations that follow show their results and store nothing.
    dialogs.clear();
    answer({"0.02"});
    test::Click(&window, u"Command7"_s);
    bank("3");
    EXPECT_TRUE(dialogs.faults.isEmpty()) << dialogs.faults.join(u" "_s).toStdString();
    EXPECT_EQ(text("Text70"), shown(test::bankFigures(3, reread("Text11"), reread("Text24"), 400, 5, 10).qbAll));
    EXPECT_EQ(design().pendingBankCount, 3.0);
    EXPECT_EQ(test::Columns(design().table), table);
}

TEST_F(FilterBankFlow, failedBankCalculationKeepsTheNewBankCountOnly) {
    set({{"Text6", "100"}, {"Text7", "400"}});
    capacitor("100", "400", "5");
    reactor("5", "0.01");
    bank("2");
    const test::TableColumns table = test::Columns(design().table);

    set({{"Text63", ""}});
    answer({"4"});
    test::Click(&window, u"Command8"_s);
    EXPECT_EQ(dialogs.faults.back(), u"'' is not a valid floating point value."_s);
    EXPECT_EQ(design().pendingBankCount, 4.0);
    EXPECT_EQ(test::Columns(design().table), table);  // the row still holds bankCount 2
}

}  // namespace
}  // namespace hcalc
