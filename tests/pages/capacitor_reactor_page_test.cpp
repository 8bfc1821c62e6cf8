#include "pages/capacitor_reactor_page.h"
#include "pages/expected_figures.h"
#include "support/design.h"
#include "support/page_driver.h"

#include <QAbstractButton>
#include <QApplication>
#include <QGroupBox>
#include <QTabWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

namespace hcalc {
namespace {

using namespace Qt::Literals::StringLiterals;
using test::Asked;
using test::Fault;
using test::Notice;
using test::Texts;

const QString kNeedQU = u"请输入额定电容或额定电压！"_s;
const QString kZeroU = u"额定电压不可为0"_s;
const QString kAskH = u"请输入谐波次数h"_s;
const QString kAskFilterH = u"请输入所需要滤除的谐波次数h"_s;
const QString kAskE = u"请输入电感偏谐振率E(-0.02 ～ 0.02)"_s;
const QString kDetunedCaption = u"电感偏谐振"_s;
const QString kCaptionE = u"在电感偏谐振率E＝"_s;

class CapacitorReactorPageTest : public test::PageDriver {
protected:
    QAbstractButton* command7() { return test::Find<QAbstractButton>(&window, u"Command7"_s); }
    QString detunedCaption() { return test::Find<QGroupBox>(&window, u"RzGroupBox7"_s)->title(); }
    // A tuned reactor for 100 kvar, 400 V and order h: enables Command7 and selects the row of h.
    void tune(const char* h) {
        set({{"Text6", "100"}, {"Text7", "400"}});
        dialogs.answers.clear();
        answer({h});
        test::Click(&window, u"Command4"_s);
        dialogs.clear();
    }
};

struct CapacitorCase {
    const char* q;
    const char* u;
    const char* h;  // the answer to the h box
    // The texts shown, where worked out by hand (nullptr: the independent evaluation only).
    const char* capacitance;
    const char* current;
    const char* reactance;
    const char* harmonic;
};

// clang-format off
const CapacitorCase kCapacitorCases[] = {
    {"100",   "400",   "5",  "663.48195329087", "144.333333333333", "4.8", "0.96"},
    {"100",   "400",   "4",  "663.48195329087", "144.333333333333", "4.8", "1.2"},
    {"100",   "400",   "11", "663.48195329087", "144.333333333333", "4.8", "0.436363636363636"},
    {"45.5",  "10500", "3",  nullptr, nullptr, nullptr, nullptr},
    {" 100 ", "4e2",   "$7", "663.48195329087", "144.333333333333", "4.8", "0.685714285714286"},
    {"-100",  "400",   "-5", "-663.48195329087", "-144.333333333333", "-4.8", "0.96"},
    {"1e-3",  "0.4",   "13", nullptr, nullptr, nullptr, nullptr},
};
// clang-format on

TEST_F(CapacitorReactorPageTest, capacitorCalculationShowsCopiesAndStoresItsRow) {
    for (const CapacitorCase& c : kCapacitorCases) {
        SCOPED_TRACE(std::string(c.q) + " kvar, " + c.u + " V, h " + c.h);
        markAllFields();
        set({{"Text1", c.q}, {"Text2", c.u}});
        answer({c.h});
        dialogs.clear();
        const test::TableColumns tableBefore = test::Columns(design().table);

        const Texts written = clickAndCollect("Command1");

        const double q = reread("Text1");
        const double u = reread("Text2");
        const std::int32_t h = ParseInteger(QString::fromUtf8(c.h));
        const test::CapacitorFigures ref = test::capacitorFigures(q, u, h);
        const Texts expected{
            {u"Text3"_s, shown(ref.capacitanceUf)},  {u"Text41"_s, shown(ref.current)},
            {u"Text4"_s, shown(ref.reactance)},      {u"Text5"_s, shown(ref.harmonic)},
            {u"Text6"_s, QString::fromUtf8(c.q)},    {u"Text7"_s, QString::fromUtf8(c.u)},
            {u"Text11"_s, shown(ref.capacitanceUf)},
        };
        EXPECT_EQ(written, expected);
        if (c.capacitance != nullptr) {
            EXPECT_EQ(text("Text3"), QString::fromUtf8(c.capacitance));
            EXPECT_EQ(text("Text41"), QString::fromUtf8(c.current));
            EXPECT_EQ(text("Text4"), QString::fromUtf8(c.reactance));
            EXPECT_EQ(text("Text5"), QString::fromUtf8(c.harmonic));
        }
        EXPECT_EQ(dialogs.events, QStringList{Asked(kAskH)});
        EXPECT_EQ(dialogs.asked.front().title, u"提示"_s);
        EXPECT_EQ(dialogs.asked.front().defaultText, QString());

        // The row of h, when there is one, gets the figures as shown; no other cell changes.
        test::TableColumns expectedTable = tableBefore;
        const std::size_t row = test::RowIndex(h);
        if (row < expectedTable.size()) {
            expectedTable[row][0] = h;
            expectedTable[row][1] = reread("Text1");
            expectedTable[row][2] = reread("Text2");
            expectedTable[row][3] = reread("Text3");
            expectedTable[row][4] = reread("Text41");
        }
        EXPECT_EQ(test::Columns(design().table), expectedTable);
        EXPECT_EQ(design().currentOrder, 0);  // the capacitor has its own h
    }
}

TEST_F(CapacitorReactorPageTest, capacitorWorkedExampleFillsTheRowOfOrderFive) {
    set({{"Text1", "100"}, {"Text2", "400"}});
    answer({"5"});
    test::Click(&window, u"Command1"_s);
    EXPECT_NEAR(reread("Text3"), 663.4819533, 1e-7);
    const FilterBankRow& row = *design().table.rowFor(5);
    EXPECT_EQ(row.order, 5.0);
    EXPECT_EQ(row.ratedKvar, 100.0);
    EXPECT_EQ(row.ratedVoltage, 400.0);
    // The capacitance as its 15 digits show it, not the value computed.
    EXPECT_EQ(row.capacitanceUf, 663.48195329087);
    EXPECT_NE(row.capacitanceUf, StoreDouble(test::capacitorFigures(100, 400, 5).capacitanceUf));
    EXPECT_EQ(row.ratedCurrent, 144.333333333333);
    EXPECT_EQ(row.inductanceMh, 0.0);
    EXPECT_EQ(row.bankCount, 0.0);
}

// A calculation stopped by a guard or a fault: the inputs, the answers to its
// boxes, the boxes it showed and the fields it wrote (with their texts).
struct StopCase {
    const char* label;
    std::vector<std::pair<const char*, const char*>> inputs;
    std::vector<const char*> answers;
    QStringList events;
    Texts written;
};

class StopDriver : public CapacitorReactorPageTest {
protected:
    void prepare(const StopCase& c) {
        for (const auto& [name, t] : c.inputs) {
            set({{name, t}});
        }
        dialogs.clear();
        dialogs.answers.clear();
        for (const char* a : c.answers) {
            answer({a});
        }
    }
};

using CapacitorStops = StopDriver;

TEST_F(CapacitorStops, capacitorCalculationStopsAtItsGuardsAndFaults) {
    const Texts firstThree{
        {u"Text3"_s, u"663.48195329087"_s}, {u"Text4"_s, u"4.8"_s}, {u"Text41"_s, u"144.333333333333"_s}};
    const StopCase cases[] = {
        {"Q empty", {{"Text1", ""}, {"Text2", "400"}}, {"5"}, {Notice(kNeedQU)}, {}},
        {"U empty", {{"Text1", "100"}, {"Text2", ""}}, {"5"}, {Notice(kNeedQU)}, {}},
        // A zero rated voltage is said once; nothing is shown, copied or stored.
        {"U zero", {{"Text1", "100"}, {"Text2", "0"}}, {"5"}, {Notice(kZeroU)}, {}},
        {"U minus zero", {{"Text1", "100"}, {"Text2", "-0"}}, {"5"}, {Notice(kZeroU)}, {}},
        {"Q zero",
         {{"Text1", "0"}, {"Text2", "400"}},
         {"5"},
         {Fault("Floating point division by zero.")},
         {{u"Text3"_s, u"0"_s}}},
        {"h cancelled",
         {{"Text1", "100"}, {"Text2", "400"}},
         {},
         {Asked(kAskH), Fault("'' is not a valid integer value.")},
         firstThree},
        {"h not an integer",
         {{"Text1", "100"}, {"Text2", "400"}},
         {"5.0"},
         {Asked(kAskH), Fault("'5.0' is not a valid integer value.")},
         firstThree},
        {"h zero",
         {{"Text1", "100"}, {"Text2", "400"}},
         {"0"},
         {Asked(kAskH), Fault("Floating point division by zero.")},
         firstThree},
        {"Q not a number",
         {{"Text1", "abc"}, {"Text2", "400"}},
         {"5"},
         {Fault("'abc' is not a valid floating point value.")},
         {}},
        {"U of spaces",
         {{"Text1", "100"}, {"Text2", "  "}},
         {"5"},
         {Fault("'  ' is not a valid floating point value.")},
         {}},
        {"Q too large for a double",
         {{"Text1", "1e500"}, {"Text2", "400"}},
         {"5"},
         {Fault("Floating point overflow.")},
         {}},
        {"capacitance too large for a double",
         {{"Text1", "1e300"}, {"Text2", "1e-10"}},
         {"5"},
         {Fault("Floating point overflow.")},
         {}},
    };
    for (const StopCase& c : cases) {
        SCOPED_TRACE(c.label);
        markAllFields();
        prepare(c);

        EXPECT_EQ(clickAndCollect("Command1"), c.written);  // in particular no copy into Text6, Text7, Text11
        EXPECT_EQ(dialogs.events, c.events);
        EXPECT_EQ(test::Columns(design().table), test::TableColumns{});
    }
}

struct TunedCase {
    const char* q;
    const char* u;
    const char* h;
    const char* reactance;  // nullptr: the independent evaluation only
    const char* inductance;
    const char* ratio;
};

// clang-format off
const TunedCase kTunedCases[] = {
    {"100",  "400",   "5",           "0.064", "0.203821656050955", "4%"},
    {"100",  "400",   "3",           nullptr, nullptr,             "11.1111111111111%"},
    {"45.5", "10500", "7",           nullptr, nullptr,             nullptr},
    {"100",  "400",   "-11",         nullptr, nullptr,             nullptr},
    {"100",  "400",   "104",         nullptr, nullptr,             "0.00924556213017751%"},   // K rounded to double first
    {"100",  "400",   "117",         nullptr, nullptr,             "0.00730513551026371%"},
    {"100",  "400",   "26755",       nullptr, nullptr,             nullptr},   // 3 h^2 beyond 32 bits
    {"100",  "400",   "2147483647",  nullptr, nullptr,             nullptr},
    {"100",  "400",   "-2147483648", nullptr, nullptr,             nullptr},
};
// clang-format on

TEST_F(CapacitorReactorPageTest, tunedReactorShowsItsFiguresAndSelectsTheOrder) {
    for (const TunedCase& c : kTunedCases) {
        SCOPED_TRACE(std::string(c.q) + " kvar, " + c.u + " V, h " + c.h);
        markAllFields();
        set({{"Text6", c.q}, {"Text7", c.u}});
        answer({c.h});
        dialogs.clear();
        const test::TableColumns tableBefore = test::Columns(design().table);

        const Texts written = clickAndCollect("Command4");

        const std::int32_t h = ParseInteger(QString::fromUtf8(c.h));
        const test::TunedFigures ref = test::tunedFigures(reread("Text6"), reread("Text7"), h);
        const Texts expected{
            {u"Text8"_s, shown(ref.reactance)},
            {u"Text9"_s, shown(ref.inductance)},
            {u"Text10"_s, shown(ref.ratioPct) + u"%"_s},
            {u"Text12"_s, shown(ref.inductance)},
        };
        EXPECT_EQ(written, expected);
        if (c.reactance != nullptr) {
            EXPECT_EQ(text("Text8"), QString::fromUtf8(c.reactance));
            EXPECT_EQ(text("Text9"), QString::fromUtf8(c.inductance));
        }
        if (c.ratio != nullptr) {
            EXPECT_EQ(text("Text10"), QString::fromUtf8(c.ratio));
        }
        EXPECT_EQ(dialogs.events, QStringList{Asked(kAskFilterH)});
        EXPECT_EQ(design().currentOrder, h);
        EXPECT_TRUE(command7()->isEnabled());
        EXPECT_EQ(test::Columns(design().table), tableBefore);  // the tuned reactor stores nothing
    }
}

using TunedStops = StopDriver;

TEST_F(TunedStops, tunedReactorResetsTheOrderAndStopsAtItsGuardsAndFaults) {
    struct Case {
        StopCase stop;
        int currentOrder;  // afterwards
    };
    const Case cases[] = {
        {{"Q empty", {{"Text6", ""}, {"Text7", "400"}}, {"5"}, {Notice(kNeedQU)}, {}}, 0},
        {{"U empty", {{"Text6", "100"}, {"Text7", ""}}, {"5"}, {Notice(kNeedQU)}, {}}, 0},
        // After the zero-voltage notice Text9, as it stands, still goes to the bank page.
        {{"U zero", {{"Text6", "100"}, {"Text7", "0"}}, {"5"}, {Notice(kZeroU)}, {{u"Text12"_s, u"0.123"_s}}}, 0},
        {{"h cancelled",
          {{"Text6", "100"}, {"Text7", "400"}},
          {},
          {Asked(kAskFilterH), Fault("'' is not a valid integer value.")},
          {}},
         0},
        {{"h with a space",
          {{"Text6", "100"}, {"Text7", "400"}},
          {"5 "},
          {Asked(kAskFilterH), Fault("'5 ' is not a valid integer value.")},
          {}},
         0},
        {{"h too large",
          {{"Text6", "100"}, {"Text7", "400"}},
          {"2147483648"},
          {Asked(kAskFilterH), Fault("'2147483648' is not a valid integer value.")},
          {}},
         0},
        {{"Q zero",
          {{"Text6", "0"}, {"Text7", "400"}},
          {"5"},
          {Asked(kAskFilterH), Fault("Floating point division by zero.")},
          {}},
         5},
        {{"h zero",
          {{"Text6", "100"}, {"Text7", "400"}},
          {"0"},
          {Asked(kAskFilterH), Fault("Floating point division by zero.")},
          {}},
         0},
        {{"U not a number",
          {{"Text6", "100"}, {"Text7", "4OO"}},
          {"5"},
          {Fault("'4OO' is not a valid floating point value.")},
          {}},
         0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stop.label);
        tune("7");
        ASSERT_EQ(design().currentOrder, 7);
        command7()->setEnabled(false);
        markAllFields();
        set({{"Text9", "0.123"}});
        prepare(c.stop);

        EXPECT_EQ(clickAndCollect("Command4"), c.stop.written);
        EXPECT_EQ(dialogs.events, c.stop.events);
        EXPECT_EQ(design().currentOrder, c.currentOrder);
        EXPECT_TRUE(command7()->isEnabled());  // whatever happened after its first step
    }
}

struct DetunedCase {
    const char* e;
    const char* reactance;  // nullptr: the independent evaluation only
    const char* inductance;
    const char* ratio;
    const char* caption;  // what follows the fixed part of the caption
};

// clang-format off
const DetunedCase kDetunedCases[] = {
    {"0.01",  nullptr, "0.205859872611465", nullptr, "0.01"},
    {"-0.02", nullptr, nullptr,             nullptr, "-0.02"},
    {"-1",    "0",     "0",                 "0%",    "-1"},
    {"0",     nullptr, "0.203821656050955", nullptr, "0"},
    {"5E-3",  nullptr, nullptr,             nullptr, "0.005"},
    {"2",     nullptr, nullptr,             nullptr, "2"},   // the range in the prompt is advice only
};
// clang-format on

TEST_F(CapacitorReactorPageTest, detunedReactorShowsStoresAndHandsOverItsInductance) {
    for (const DetunedCase& c : kDetunedCases) {
        SCOPED_TRACE(c.e);
        tune("5");
        markAllFields();
        set({{"Text6", "100"}, {"Text7", "400"}, {"Text9", "0.203821656050955"}});
        answer({c.e});
        const test::TableColumns tableBefore = test::Columns(design().table);

        const Texts written = clickAndCollect("Command7");

        const double e = StoreDouble(ParseReal(QString::fromUtf8(c.e), u'.'));
        const test::DetunedFigures ref = test::detunedFigures(100, 400, 0.203821656050955, e);
        const Texts expected{
            {u"Text21"_s, shown(ref.reactance)},
            {u"Text22"_s, shown(ref.inductance)},
            {u"Text23"_s, shown(ref.ratioPct) + u"%"_s},
            {u"Text24"_s, shown(ref.inductance)},
        };
        EXPECT_EQ(written, expected);
        if (c.reactance != nullptr) {
            EXPECT_EQ(text("Text21"), QString::fromUtf8(c.reactance));
        }
        if (c.inductance != nullptr) {
            EXPECT_EQ(text("Text22"), QString::fromUtf8(c.inductance));
        }
        if (c.ratio != nullptr) {
            EXPECT_EQ(text("Text23"), QString::fromUtf8(c.ratio));
        }
        EXPECT_EQ(detunedCaption(), kCaptionE + QString::fromUtf8(c.caption));
        EXPECT_EQ(dialogs.events, QStringList{Asked(kAskE)});
        EXPECT_FALSE(command7()->isEnabled());

        // Columns 5 and 6 of the row of order 5: the inductance as shown, the ratio as computed.
        test::TableColumns expectedTable = tableBefore;
        expectedTable[test::RowIndex(5)][5] = reread("Text22");
        expectedTable[test::RowIndex(5)][6] = StoreDouble(ref.ratioPct);
        EXPECT_EQ(test::Columns(design().table), expectedTable);
    }
}

TEST_F(CapacitorReactorPageTest, detunedReactorOfAnOrderWithoutRowStoresNothing) {
    for (const char* h : {"9", "4", "-5"}) {
        SCOPED_TRACE(h);
        tune(h);
        answer({"0.01"});
        test::Click(&window, u"Command7"_s);
        EXPECT_EQ(dialogs.events, QStringList{Asked(kAskE)});
        EXPECT_EQ(text("Text24"), text("Text22"));
        EXPECT_EQ(test::Columns(design().table), test::TableColumns{});
    }
}

using DetunedStops = StopDriver;

TEST_F(DetunedStops, detunedReactorStopsAtItsGuardsAndFaults) {
    const StopCase cases[] = {
        {"Q empty", {{"Text6", ""}}, {"0.01"}, {Notice(kNeedQU)}, {}},
        {"U empty", {{"Text7", ""}}, {"0.01"}, {Notice(kNeedQU)}, {}},
        // Text9 has no guard: the conversion stops it before the E box.
        {"tuned inductance empty", {{"Text9", ""}}, {"0.01"}, {Fault("'' is not a valid floating point value.")}, {}},
        {"tuned inductance not a number",
         {{"Text9", "abc"}},
         {"0.01"},
         {Fault("'abc' is not a valid floating point value.")},
         {}},
        {"U zero", {{"Text7", "0"}}, {"0.01"}, {Fault("Floating point division by zero.")}, {}},
        {"Q and U zero", {{"Text6", "0"}, {"Text7", "0"}}, {"0.01"}, {Fault("Invalid floating point operation.")}, {}},
        {"Q zero", {{"Text6", "0"}}, {"0.01"}, {Fault("Floating point division by zero.")}, {}},
        {"E cancelled", {}, {}, {Asked(kAskE), Fault("'' is not a valid floating point value.")}, {}},
        {"E not a number", {}, {"1%"}, {Asked(kAskE), Fault("'1%' is not a valid floating point value.")}, {}},
    };
    for (const StopCase& c : cases) {
        SCOPED_TRACE(c.label);
        tune("5");
        markAllFields();
        set({{"Text6", "100"}, {"Text7", "400"}, {"Text9", "0.203821656050955"}});
        prepare(c);

        EXPECT_EQ(clickAndCollect("Command7"), c.written);
        EXPECT_EQ(dialogs.events, c.events);
        EXPECT_FALSE(command7()->isEnabled());
        EXPECT_EQ(detunedCaption(), kDetunedCaption);
        EXPECT_EQ(test::Columns(design().table), test::TableColumns{});
    }
}

TEST_F(CapacitorReactorPageTest, detunedCalculationOncePerTunedCalculation) {
    EXPECT_FALSE(command7()->isEnabled());  // at start
    test::Click(&window, u"Command7"_s);
    EXPECT_TRUE(dialogs.events.isEmpty());  // a disabled button runs nothing

    test::Click(&window, u"Command4"_s);  // stops at its guard, enabled all the same
    EXPECT_EQ(dialogs.events, QStringList{Notice(kNeedQU)});
    EXPECT_TRUE(command7()->isEnabled());
    test::Click(&window, u"Command7"_s);  // stops at its guard, disabled all the same
    EXPECT_FALSE(command7()->isEnabled());

    tune("5");
    set({{"Text9", "0.2"}});
    answer({"0.01"});
    test::Click(&window, u"Command7"_s);
    EXPECT_FALSE(command7()->isEnabled());
    const Texts before = test::FieldTexts(&window);
    dialogs.clear();
    test::Click(&window, u"Command7"_s);
    EXPECT_TRUE(dialogs.events.isEmpty());
    EXPECT_EQ(test::FieldTexts(&window), before);

    dialogs.answers.clear();
    test::Click(&window, u"Command4"_s);  // box cancelled: a fault, and enabled
    EXPECT_TRUE(command7()->isEnabled());
}

TEST_F(CapacitorReactorPageTest, capacitorClearEmptiesItsGroupAndFocusesTheCapacity) {
    ASSERT_TRUE(test::ShowPage(&window, u"TabSheet1"_s));
    set({{"Text1", "100"}, {"Text2", "400"}});
    answer({"5"});
    test::Click(&window, u"Command1"_s);
    const test::TableColumns table = test::Columns(design().table);
    field("Text6")->setFocus();

    EXPECT_EQ(clearedInOrder("Command3"),
              (QStringList{u"Text1"_s, u"Text2"_s, u"Text3"_s, u"Text4"_s, u"Text5"_s, u"Text41"_s}));
    EXPECT_EQ(QApplication::focusWidget(), field("Text1"));
    EXPECT_EQ(test::Columns(design().table), table);
}

TEST_F(CapacitorReactorPageTest, reactorClearEmptiesItsGroupOnly) {
    ASSERT_TRUE(test::ShowPage(&window, u"TabSheet1"_s));
    tune("5");
    set({{"Text9", "0.2"}});
    answer({"0.01"});
    test::Click(&window, u"Command7"_s);
    const QString caption = detunedCaption();
    ASSERT_EQ(caption, kCaptionE + u"0.01"_s);
    test::Click(&window, u"Command4"_s);  // cancelled box: enabled, currentOrder 0
    tune("7");
    field("Text1")->setFocus();
    const test::TableColumns table = test::Columns(design().table);

    EXPECT_EQ(clearedInOrder("Command2"), (QStringList{u"Text6"_s, u"Text7"_s, u"Text8"_s, u"Text9"_s, u"Text10"_s,
                                                       u"Text21"_s, u"Text22"_s, u"Text23"_s}));
    EXPECT_EQ(QApplication::focusWidget(), field("Text1"));  // focus not moved
    EXPECT_EQ(detunedCaption(), caption);
    EXPECT_TRUE(command7()->isEnabled());
    EXPECT_EQ(design().currentOrder, 7);
    EXPECT_EQ(test::Columns(design().table), table);
    EXPECT_TRUE(dialogs.events.isEmpty());
}

TEST_F(CapacitorReactorPageTest, tabKeyFollowsTheDesignedOrder) {
    ASSERT_TRUE(test::ShowPage(&window, u"TabSheet1"_s));
    const QStringList withoutCommand7{u"Text1"_s,  u"Text2"_s,    u"Text3"_s,    u"Text41"_s, u"Text4"_s,
                                      u"Text5"_s,  u"Command1"_s, u"Command3"_s, u"Text6"_s,  u"Text7"_s,
                                      u"Text8"_s,  u"Text9"_s,    u"Text10"_s,   u"Text21"_s, u"Text22"_s,
                                      u"Text23"_s, u"Command4"_s, u"Command2"_s};
    for (bool enabled : {false, true}) {
        SCOPED_TRACE(enabled ? "Command7 enabled" : "Command7 disabled");
        command7()->setEnabled(enabled);
        QStringList expected = withoutCommand7;
        if (enabled) {
            expected.insert(expected.indexOf(u"Command2"_s), u"Command7"_s);
        }
        const QStringList visited = test::TabOrderFrom(field("Text1"), expected.size());
        EXPECT_EQ(visited, expected);
    }
}

TEST_F(CapacitorReactorPageTest, fieldsHaveTheirRoles) {
    for (const char* name : {"Text1", "Text2", "Text6", "Text7"}) {
        EXPECT_NE(field(name)->palette().color(QPalette::Base), QColor(255, 255, 225)) << name;
    }
    for (const char* name :
         {"Text3", "Text41", "Text4", "Text5", "Text8", "Text9", "Text10", "Text21", "Text22", "Text23"}) {
        EXPECT_EQ(field(name)->palette().color(QPalette::Base), QColor(255, 255, 225)) << name;
        EXPECT_FALSE(field(name)->isReadOnly()) << name;
    }
}

TEST_F(CapacitorReactorPageTest, usesTheRegionalSeparator) {
    const QChar sep = window.decimalSeparator();
    set({{"Text1", "100"}, {"Text2", "400"}});
    answer({"5"});
    test::Click(&window, u"Command1"_s);
    EXPECT_EQ(text("Text3"), u"663"_s + sep + u"48195329087"_s);
    EXPECT_EQ(design().table.rowFor(5)->capacitanceUf, 663.48195329087);

    dialogs.answers = {u"5"_s, u"0"_s + sep + u"01"_s};
    test::Click(&window, u"Command4"_s);
    test::Click(&window, u"Command7"_s);
    EXPECT_EQ(detunedCaption(), kCaptionE + u"0"_s + sep + u"01"_s);
    EXPECT_EQ(text("Text22"), u"0"_s + sep + u"205859872611465"_s);
    EXPECT_TRUE(dialogs.faults.isEmpty()) << dialogs.faults.join(u" "_s).toStdString();
}

}  // namespace
}  // namespace hcalc
