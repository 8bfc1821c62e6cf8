#include "app/main_window.h"
#include "support/fake_dialogs.h"
#include "support/widgets.h"

#include <QAbstractButton>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
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

const QString kIncomplete = u"请输入完整数据"_s;

struct CapacityNames {
    const char* group;
    const char* capacitance;
    const char* voltage;
    const char* capacity;
    const char* calculate;
    const char* clear;
    bool delta;  // three times the single-phase capacity
};

// clang-format off
const std::array<CapacityNames, 3> kCapacityGroups{{
    {"RzGroupBox11", "Text32", "Text33", "Text34", "Command9",  "Command10", false},
    {"RzGroupBox12", "Text37", "Text36", "Text35", "Command12", "Command11", true},
    {"RzGroupBox13", "Text40", "Text39", "Text38", "Command14", "Command13", false},
}};

// Q = m * U * U * 2 * 3.14 * 50 * C / 1E9 evaluated in extended precision, stored as
// a double and shown with 15 significant digits (checked by hand for the
// first rows: 400^2 * 314 * 100 / 1E9 = 5.024).
struct CapacityCase {
    const char* c;
    const char* u;
    const char* single;  // Q for m = 1 ("old" when the field keeps its text)
    const char* delta;   // Q for m = 3
    const char* box;     // "notice:..." or "fault:..." when a box is shown
};

const CapacityCase kCapacityCases[] = {
    {"100",    "400",    "5.024",      "15.072",     nullptr},
    {"157.2",  "525",    "13.6050705", "40.8152115", nullptr},
    {"-50",    "400",    "-2.512",     "-7.536",     nullptr},   // no range checks
    {"0.1",    "0.1",    "3.14E-10",   "9.42E-10",   nullptr},
    {"33.3",   "1e4",    "1045.62",    "3136.86",    nullptr},
    {" 100 ",  "4E2",    "5.024",      "15.072",     nullptr},
    {"0",      "400",    "0",          "0",          nullptr},
    {"1e100",  "1e100",  "3.14E293",   "9.42E293",   nullptr},
    {"1e150",  "1e150",  "old",        "old",        "fault:Floating point overflow."},   // too large for the double kept
    {"1e500",  "400",    "old",        "old",        "fault:Floating point overflow."},   // the input itself
    {"abc",    "400",    "old",        "old",        "fault:'abc' is not a valid floating point value."},
    {"100",    "  ",     "old",        "old",        "fault:'  ' is not a valid floating point value."},
    {"x",      "y",      "old",        "old",        "fault:'x' is not a valid floating point value."},  // C is read first
    {"1,5",    "400",    "old",        "old",        "fault:'1,5' is not a valid floating point value."},
    {"100",    "",       "old",        "old",        "notice:请输入完整数据"},
    {"",       "400",    "old",        "old",        "notice:请输入完整数据"},
    {"",       "",       "old",        "old",        "notice:请输入完整数据"},
    {"abc",    "",       "old",        "old",        "notice:请输入完整数据"},   // the guard comes before any reading
};

// k = 98596 * L * C / 1E9 stored as a double; T3 shows k * 100 and "%", T4
// sqrt(1 / k) stored as a double.
struct RatioCase {
    const char* c;
    const char* l;
    const char* ratio;  // T3 ("old" when neither field is written)
    const char* order;  // T4
    const char* fault;
};

const RatioCase kRatioCases[] = {
    {"100",     "6",       "5.91576%",    "4.11144728896753", nullptr},
    {"157",     "4.5",     "6.9658074%",  "3.78890982085058", nullptr},
    {"47.5",    "12.25",   "5.73705475%", "4.17499060728957", nullptr},
    {"-100",    "-6",      "5.91576%",    "4.11144728896753", nullptr},   // two negatives make a positive k
    {"0",       "6",       "old",         "old",  "Floating point division by zero."},
    {"100",     "0",       "old",         "old",  "Floating point division by zero."},
    {"1e-160",  "1e-160",  "old",         "old",  "Floating point division by zero."},  // k underflows to 0
    {"-100",    "6",       "old",         "old",  "Invalid floating point operation."},
    {"100",     "-6",      "old",         "old",  "Invalid floating point operation."},
    {"1e300",   "1e300",   "old",         "old",  "Floating point overflow."},
    {"",        "6",       "old",         "old",  "'' is not a valid floating point value."},  // no emptiness guard
    {"100",     "",        "old",         "old",  "'' is not a valid floating point value."},
    {"a",       "b",       "old",         "old",  "'a' is not a valid floating point value."},
    {"100",     "6 mH",    "old",         "old",  "'6 mH' is not a valid floating point value."},
};
// clang-format on

class SimplePageTest : public ::testing::Test {
protected:
    QLineEdit* field(const char* name) { return Find<QLineEdit>(&window, QString::fromUtf8(name)); }
    QString text(const char* name) { return field(name)->text(); }
    void set(const char* name, const char* value) { field(name)->setText(QString::fromUtf8(value)); }
    void showPage() { ASSERT_TRUE(test::ShowPage(&window, u"TabSheet3"_s)); }

    FakeDialogs dialogs;
    TForm1 window{dialogs};
};

TEST_F(SimplePageTest, capacityGroupsWriteOnlyTheirCapacity) {
    for (const CapacityNames& g : kCapacityGroups) {
        for (const CapacityCase& c : kCapacityCases) {
            SCOPED_TRACE(std::string(g.calculate) + ": C=" + c.c + " U=" + c.u);
            dialogs.clear();
            set(g.capacitance, c.c);
            set(g.voltage, c.u);
            set(g.capacity, "old");
            const auto before = FieldTexts(&window);

            test::Click(&window, QString::fromUtf8(g.calculate));

            auto expected = before;
            expected[QString::fromUtf8(g.capacity)] = QString::fromUtf8(g.delta ? c.delta : c.single);
            EXPECT_EQ(FieldTexts(&window), expected);  // nothing else written, on any page
            EXPECT_EQ(dialogs.events, c.box ? QStringList{QString::fromUtf8(c.box)} : QStringList{});
        }
    }
}

TEST_F(SimplePageTest, reactanceRatioShowsThePercentAndTheFilteredOrder) {
    for (const RatioCase& c : kRatioCases) {
        SCOPED_TRACE(std::string("C=") + c.c + " L=" + c.l);
        dialogs.clear();
        set("T1", c.c);
        set("T2", c.l);
        set("T3", "old");
        set("T4", "old");
        const auto before = FieldTexts(&window);

        test::Click(&window, u"RzBitBtn14"_s);

        auto expected = before;
        expected[u"T3"_s] = QString::fromUtf8(c.ratio);
        expected[u"T4"_s] = QString::fromUtf8(c.order);
        EXPECT_EQ(FieldTexts(&window), expected);  // on a fault neither output is written
        EXPECT_EQ(dialogs.faults, c.fault ? QStringList{QString::fromUtf8(c.fault)} : QStringList{});
        EXPECT_TRUE(dialogs.notices.isEmpty());
    }
}

TEST_F(SimplePageTest, clearsEmptyTheirGroupAndFocusItsCapacitance) {
    showPage();
    struct Clear {
        const char* button;
        std::array<const char*, 4> fields;  // the group's fields (nullptr when it has three)
        const char* focus;
    };
    const Clear clears[] = {
        {"Command10", {"Text32", "Text33", "Text34", nullptr}, "Text32"},
        {"Command11", {"Text35", "Text36", "Text37", nullptr}, "Text37"},
        {"Command13", {"Text38", "Text39", "Text40", nullptr}, "Text40"},
        {"RzBitBtn16", {"T1", "T2", "T3", "T4"}, "T1"},
    };
    for (const Clear& c : clears) {
        SCOPED_TRACE(c.button);
        for (const char* name : {"Text32", "Text33", "Text34", "Text35", "Text36", "Text37", "Text38", "Text39",
                                 "Text40", "T1", "T2", "T3", "T4"}) {
            set(name, "7");
        }
        field("Text33")->setFocus();
        const auto before = FieldTexts(&window);

        test::Click(&window, QString::fromUtf8(c.button));

        auto expected = before;
        for (const char* name : c.fields) {
            if (name != nullptr) {
                expected[QString::fromUtf8(name)] = QString();
            }
        }
        EXPECT_EQ(FieldTexts(&window), expected);
        EXPECT_EQ(QApplication::focusWidget(), field(c.focus));
    }
    EXPECT_TRUE(dialogs.events.isEmpty());
}

TEST_F(SimplePageTest, tabKeyFollowsTheDesignedOrder) {
    showPage();
    const QStringList expected{u"Text32"_s,    u"Text34"_s, u"Text33"_s, u"Command9"_s,  u"Command10"_s,
                               u"Text37"_s,    u"Text36"_s, u"Text35"_s, u"Command12"_s, u"Command11"_s,
                               u"Text40"_s,    u"Text39"_s, u"Text38"_s, u"Command14"_s, u"Command13"_s,
                               u"T1"_s,        u"T2"_s,     u"T3"_s,     u"T4"_s,        u"RzBitBtn14"_s,
                               u"RzBitBtn16"_s};
    EXPECT_EQ(test::TabOrderFrom(field("Text32"), expected.size()), expected);
}

// Each group's labels, left to right and top to bottom: the capacity groups
// write their units with full-width parentheses, the ratio group with ASCII ones.
TEST_F(SimplePageTest, groupsHaveTheirLabelsAndUnits) {
    const auto labels = [&](const char* group) {
        QList<const QLabel*> found;
        for (const QLabel* label : Find<QGroupBox>(&window, QString::fromUtf8(group))->findChildren<QLabel*>()) {
            found << label;
        }
        std::sort(found.begin(), found.end(), [](const QLabel* a, const QLabel* b) {
            return std::pair(a->y(), a->x()) < std::pair(b->y(), b->x());
        });
        QStringList texts;
        for (const QLabel* label : found) {
            texts << label->text();
        }
        return texts;
    };
    const QStringList capacity{u"电容值"_s, u"（uF）"_s, u"现场电压"_s, u"（V）"_s, u"容量"_s, u"（KVar）"_s};
    for (const CapacityNames& g : kCapacityGroups) {
        EXPECT_EQ(labels(g.group), capacity) << g.group;
        EXPECT_EQ(Find<QAbstractButton>(&window, QString::fromUtf8(g.calculate))->text(), u"计算"_s);
        EXPECT_EQ(Find<QAbstractButton>(&window, QString::fromUtf8(g.clear))->text(), u"清空"_s);
    }
    EXPECT_EQ(labels("RzGroupBox23"),
              (QStringList{u"电容值"_s, u"(uF)"_s, u"电感值"_s, u"(mH)"_s, u"电抗率为"_s, u"可滤除"_s, u"次谐波"_s}));
    EXPECT_EQ(Find<QAbstractButton>(&window, u"RzBitBtn14"_s)->text(), u"计算"_s);
    EXPECT_EQ(Find<QAbstractButton>(&window, u"RzBitBtn16"_s)->text(), u"清空"_s);
}

TEST_F(SimplePageTest, outputFieldsArePaleYellowAndStayEditable) {
    window.show();
    QApplication::processEvents();
    for (const char* name : {"Text34", "Text35", "Text38", "T3", "T4"}) {
        EXPECT_EQ(field(name)->palette().color(QPalette::Base), QColor(255, 255, 225)) << name;
        EXPECT_FALSE(field(name)->isReadOnly()) << name;
    }
    for (const char* name : {"Text32", "Text33", "Text36", "Text37", "Text39", "Text40", "T1", "T2"}) {
        EXPECT_NE(field(name)->palette().color(QPalette::Base), QColor(255, 255, 225)) << name;
    }
}

TEST_F(SimplePageTest, usesTheRegionalSeparator) {
    const QString point = QLocale::system().decimalPoint();
    field("Text32")->setText(u"157"_s + point + u"2"_s);
    set("Text33", "525");
    test::Click(&window, u"Command9"_s);
    EXPECT_EQ(text("Text34"), u"13"_s + point + u"6050705"_s);
    set("T1", "157");
    field("T2")->setText(u"4"_s + point + u"5"_s);
    test::Click(&window, u"RzBitBtn14"_s);
    EXPECT_EQ(text("T3"), u"6"_s + point + u"9658074%"_s);
    EXPECT_EQ(text("T4"), u"3"_s + point + u"78890982085058"_s);
    EXPECT_TRUE(dialogs.events.isEmpty());
}

}  // namespace
}  // namespace hcalc
