#include "pages/capacitor_bank_page.h"
#include "pages/expected_figures.h"
#include "support/design.h"
#include "support/page_driver.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QTabWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdlib>
#include <vector>

namespace hcalc {
namespace {

using namespace Qt::Literals::StringLiterals;
using test::Asked;
using test::Fault;
using test::Notice;
using test::Texts;

const QString kNeedData = u"请先输入数据！"_s;
const QString kAskN = u"请输入电容器组数n"_s;

// The fields of an output group in the order the calculation writes them:
// Qh, Uc, I, Qc, Qc x n, UL, I, QL, Qb, Qb x n.
using WriteOrder = std::array<const char*, 10>;
const WriteOrder kNormal{"Text66", "Text14", "Text15", "Text16", "Text67",
                         "Text17", "Text18", "Text19", "Text20", "Text65"};
const WriteOrder kDetuned{"Text69", "Text25", "Text26", "Text27", "Text68",
                          "Text28", "Text29", "Text30", "Text31", "Text70"};

std::array<Ext, 10> inWriteOrder(const test::BankFigures& f) {
    return {f.qh, f.uc, f.i, f.qc, f.qcAll, f.ul, f.i, f.ql, f.qb, f.qbAll};
}

struct Calculation {
    const char* button;
    const char* inductanceField;  // the field it reads L from
    const WriteOrder& outputs;
};
const Calculation kNormalCalculation{"Command6", "Text12", kNormal};
const Calculation kDetunedCalculation{"Command8", "Text24", kDetuned};

struct BankInputs {
    const char* n;  // the answer to the n box
    const char* c;
    const char* l;
    const char* u;
    const char* h;
    const char* ih;
};

class CapacitorBankPageTest : public test::PageDriver {
protected:
    // A tuned reactor calculation for order h on the first page: currentOrder := h.
    void selectOrder(const char* h) {
        set({{"Text6", "100"}, {"Text7", "400"}});
        dialogs.clear();
        dialogs.answers.clear();
        answer({h});
        test::Click(&window, u"Command4"_s);
        ASSERT_TRUE(dialogs.faults.isEmpty()) << dialogs.events.join(u" "_s).toStdString();
        dialogs.clear();
    }
    void enter(const Calculation& calc, const BankInputs& in) {
        set({{"Text11", in.c}, {"Text13", in.u}, {"Text64", in.h}, {"Text63", in.ih}, {calc.inductanceField, in.l}});
        dialogs.answers.clear();
        if (in.n != nullptr) {
            answer({in.n});
        }
        dialogs.clear();
    }
    Texts expectedOutputs(const Calculation& calc, const test::BankFigures& f) {
        Texts texts;
        const auto values = inWriteOrder(f);
        for (std::size_t i = 0; i < values.size(); ++i) {
            texts[QString::fromUtf8(calc.outputs[i])] = shown(values[i]);
        }
        texts[QStringLiteral("checkLineVoltage")] = text("Text13");  // handed to the resonance check
        return texts;
    }
};

// clang-format off
struct ResultCase {
    BankInputs in;
    const WriteOrder* shownTexts;  // worked out by hand, in write order; nullptr: the independent evaluation only
};

const WriteOrder kWorkedNormal{
    "0.318471337579618", "425.150907314551", "23.1231036195328", "17.0269602938944", "34.0539205877888",
    "14.5213090730666",  "23.1231036195328", "1.00733320316334", "16.0196861876123", "32.0393723752246"};
const WriteOrder kWorkedDetuned{
    "0.318471337579618", "427.841054994433", "23.2694153466949", "17.2431186175102", "34.4862372350203",
    "16.0745121214968",  "23.2694153466949", "1.12213349715177", "16.1210509521902", "32.2421019043804"};

const ResultCase kResultCases[] = {
    {{"2",   "100",  "2",    "400",    "5",   "10"},   &kWorkedNormal},
    {{"2",   "100",  "2.2",  "400",    "5",   "10"},   &kWorkedDetuned},
    {{"2.5", "100",  "2",    "400",    "5",   "10"},   nullptr},   // a fractional n, used unrounded
    {{"1",   "100",  "40",   "400",    "5",   "10"},   nullptr},   // beyond resonance: XL > Xc
    {{"3",   "47.5", "0.75", "-10500", "5.5", "0.25"}, nullptr},
    {{"1",   "1e-3", "1e3",  "400",    "7",   "100"},  nullptr},
    {{" 4 ", "300",  "0",    "690",    "3",   "-20"},  nullptr},
};
// clang-format on

// The approximations the worked examples are known by.
void expectWorkedApproximations(const Calculation& calc, const std::array<double, 10>& shown, bool detuned) {
    SCOPED_TRACE(calc.button);
    const std::array<double, 10> normal{0.318471, 425.151, 23.1231, 17.0270, 34.0539,
                                        14.5213,  23.1231, 1.00733, 16.0197, 32.0394};
    const std::array<double, 10> detunedValues{0.318471, 427.841, 23.2694, 17.2431, 34.4862,
                                               16.0745,  23.2694, 1.12213, 16.1211, 32.2421};
    const auto& approx = detuned ? detunedValues : normal;
    for (std::size_t i = 0; i < shown.size(); ++i) {
        EXPECT_NEAR(shown[i] / approx[i], 1.0, 5e-6) << calc.outputs[i];
    }
}

TEST_F(CapacitorBankPageTest, normalCalculationShowsTheOperatingPointAndStoresNothing) {
    selectOrder("5");
    for (const ResultCase& c : kResultCases) {
        SCOPED_TRACE(std::string("n ") + c.in.n + ", C " + c.in.c + ", L " + c.in.l);
        markAllFields();
        enter(kNormalCalculation, c.in);
        const test::TableColumns table = test::Columns(design().table);
        const double pending = design().pendingBankCount;

        const Texts written = clickAndCollect("Command6");

        const test::BankFigures ref =
            test::bankFigures(StoreDouble(ParseReal(QString::fromUtf8(c.in.n), u'.')), reread("Text11"),
                              reread("Text12"), reread("Text13"), reread("Text64"), reread("Text63"));
        EXPECT_EQ(written, expectedOutputs(kNormalCalculation, ref));
        EXPECT_EQ(text("Text15"), text("Text18"));  // one line current
        if (c.shownTexts != nullptr) {
            std::array<double, 10> values{};
            for (std::size_t i = 0; i < values.size(); ++i) {
                EXPECT_EQ(text(kNormal[i]), QString::fromUtf8((*c.shownTexts)[i])) << kNormal[i];
                values[i] = reread(kNormal[i]);
            }
            expectWorkedApproximations(kNormalCalculation, values, c.shownTexts == &kWorkedDetuned);
        }
        EXPECT_EQ(dialogs.events, QStringList{Asked(kAskN)});
        EXPECT_EQ(dialogs.asked.front().title, u"提示"_s);
        EXPECT_EQ(dialogs.asked.front().defaultText, QString());
        EXPECT_EQ(test::Columns(design().table), table);
        EXPECT_EQ(design().pendingBankCount, pending);
    }
}

TEST_F(CapacitorBankPageTest, detunedCalculationShowsTheOperatingPointAndStoresTheRowOfTheOrder) {
    selectOrder("5");
    for (const ResultCase& c : kResultCases) {
        SCOPED_TRACE(std::string("n ") + c.in.n + ", C " + c.in.c + ", L " + c.in.l);
        markAllFields();
        enter(kDetunedCalculation, c.in);
        set({{"Text12", ""}});  // not read, and not guarded either
        const test::TableColumns table = test::Columns(design().table);

        const Texts written = clickAndCollect("Command8");

        const double n = StoreDouble(ParseReal(QString::fromUtf8(c.in.n), u'.'));
        const test::BankFigures ref = test::bankFigures(n, reread("Text11"), reread("Text24"), reread("Text13"),
                                                        reread("Text64"), reread("Text63"));
        EXPECT_EQ(written, expectedOutputs(kDetunedCalculation, ref));
        EXPECT_EQ(text("Text26"), text("Text29"));
        if (c.shownTexts != nullptr) {
            std::array<double, 10> values{};
            for (std::size_t i = 0; i < values.size(); ++i) {
                EXPECT_EQ(text(kDetuned[i]), QString::fromUtf8((*c.shownTexts)[i])) << kDetuned[i];
                values[i] = reread(kDetuned[i]);
            }
            expectWorkedApproximations(kDetunedCalculation, values, c.shownTexts == &kWorkedDetuned);
        }
        EXPECT_EQ(dialogs.events, QStringList{Asked(kAskN)});
        EXPECT_EQ(design().pendingBankCount, n);

        // Columns 7 to 10 of the row of order 5, the computed values rounded to double.
        test::TableColumns expected = table;
        auto& row = expected[test::RowIndex(5)];
        row[7] = n;
        row[8] = StoreDouble(ref.qbAll);
        row[9] = StoreDouble(ref.qcAll);
        row[10] = StoreDouble(ref.qh);
        EXPECT_EQ(test::Columns(design().table), expected);
    }
}

TEST_F(CapacitorBankPageTest, detunedWorkedExampleFillsTheRowOfOrderFive) {
    selectOrder("5");
    enter(kDetunedCalculation, {"2", "100", "2.2", "400", "5", "10"});
    test::Click(&window, u"Command8"_s);
    const FilterBankRow& row = *design().table.rowFor(5);
    EXPECT_EQ(row.bankCount, 2.0);
    EXPECT_NEAR(row.banksOutputKvar, 32.2421, 5e-5);
    EXPECT_NEAR(row.capacitorsOutputKvar, 34.4862, 5e-5);
    EXPECT_NEAR(row.harmonicKvar, 0.318471, 5e-7);
    // The rows of the other orders stay as they were.
    for (int h : {3, 7, 11}) {
        EXPECT_EQ(test::Columns(*design().table.rowFor(h)), test::RowColumns{}) << h;
    }
}

TEST_F(CapacitorBankPageTest, detunedCalculationWithoutARowShowsButStoresNothing) {
    for (const char* h : {"", "9", "4"}) {  // "": no reactor calculation yet
        SCOPED_TRACE(h);
        if (*h != '\0') {
            selectOrder(h);
        }
        ASSERT_EQ(design().currentOrder, *h == '\0' ? 0 : std::atoi(h));
        enter(kDetunedCalculation, {"3", "100", "2.2", "400", "5", "10"});
        test::Click(&window, u"Command8"_s);
        EXPECT_EQ(text("Text70"), shown(test::bankFigures(3, 100, 2.2, 400, 5, 10).qbAll));
        EXPECT_EQ(design().pendingBankCount, 3.0);
        EXPECT_EQ(test::Columns(design().table), test::TableColumns{});
    }
}

// An inductance text whose reactance is exactly that of the capacitor C: resonance.
QString resonantInductance(double c, QChar separator) {
    const Ext xc = Stored(Ext(1000000) / (Ext(314) * c * 3));
    double l = StoreDouble(xc * 1000 / 314);
    for (int step = 0; step < 100; ++step) {
        QString text = QString::number(l, 'g', 17).replace(u'.', separator);
        const double read = StoreDouble(ParseReal(text, separator));
        const Ext xl = Stored(Ext(read) / 1000 * 314);
        if (xl == xc) {
            return text;
        }
        l = std::nextafter(l, xl < xc ? HUGE_VAL : -HUGE_VAL);
    }
    ADD_FAILURE() << "no resonant inductance for " << c;
    return {};
}

struct BankStop {
    const char* label;
    BankInputs in;
    QStringList events;
    std::size_t written;  // how many output fields, in write order, were written before the stop
    bool nRead;           // whether the bank count was converted (and so kept by the detuned calculation)
};

TEST_F(CapacitorBankPageTest, bothCalculationsStopAtTheirGuardsAndFaults) {
    const QByteArray resonant = resonantInductance(100, window.decimalSeparator()).toUtf8();
    const QString nAsked = Asked(kAskN);
    // clang-format off
    const BankStop cases[] = {
        {"C empty",           {"3", "",    "2", "400", "5", "10"}, {Notice(kNeedData)}, 0, false},
        {"L empty",           {"3", "100", "",  "400", "5", "10"}, {Notice(kNeedData)}, 0, false},
        {"U empty",           {"3", "100", "2", "",    "5", "10"}, {Notice(kNeedData)}, 0, false},
        {"n box cancelled",   {nullptr, "100", "2", "400", "5", "10"},
                              {nAsked, Fault("'' is not a valid floating point value.")}, 0, false},
        {"n not a number",    {"two", "100", "2", "400", "5", "10"},
                              {nAsked, Fault("'two' is not a valid floating point value.")}, 0, false},
        {"n too large",       {"1e500", "100", "2", "400", "5", "10"}, {nAsked, Fault("Floating point overflow.")}, 0, false},
        {"h empty",           {"3", "100", "2", "400", "",  "10"},
                              {nAsked, Fault("'' is not a valid floating point value.")}, 0, true},
        {"Ih not a number",   {"3", "100", "2", "400", "5", "abc"},
                              {nAsked, Fault("'abc' is not a valid floating point value.")}, 0, true},
        {"C not a number",    {"3", "1O0", "2", "400", "5", "10"},
                              {nAsked, Fault("'1O0' is not a valid floating point value.")}, 0, true},
        {"U a space",         {"3", "100", "2", " ",   "5", "10"},
                              {nAsked, Fault("' ' is not a valid floating point value.")}, 0, true},
        // The inputs are read in the order n, C, L, U, h, Ih: the first bad one is named.
        {"all bad",           {"3", "c", "l", "u", "h", "i"}, {nAsked, Fault("'c' is not a valid floating point value.")}, 0, true},
        {"L first bad",       {"3", "1", "l", "u", "h", "i"}, {nAsked, Fault("'l' is not a valid floating point value.")}, 0, true},
        {"U first bad",       {"3", "1", "2", "u", "h", "i"}, {nAsked, Fault("'u' is not a valid floating point value.")}, 0, true},
        {"h first bad",       {"3", "1", "2", "3", "h", "i"}, {nAsked, Fault("'h' is not a valid floating point value.")}, 0, true},
        {"h zero",            {"3", "100", "2", "400", "0", "10"}, {nAsked, Fault("Floating point division by zero.")}, 0, true},
        {"n zero",            {"0", "100", "2", "400", "5", "10"}, {nAsked, Fault("Floating point division by zero.")}, 0, true},
        {"C zero",            {"3", "0",   "2", "400", "5", "10"}, {nAsked, Fault("Floating point division by zero.")}, 0, true},
        // At resonance the line current divides by zero after the harmonic capacity is shown.
        {"resonance",         {"3", "100", resonant.constData(), "400", "5", "10"},
                              {nAsked, Fault("Floating point division by zero.")}, 1, true},
        {"resonance at 0 V",  {"3", "100", resonant.constData(), "0", "5", "10"},
                              {nAsked, Fault("Invalid floating point operation.")}, 1, true},
        // Overflows stop the calculation where they happen: at QL, then at Qb.
        {"QL too large",      {"2", "100", "3.2e10", "1e161", "5", "10"}, {nAsked, Fault("Floating point overflow.")}, 5, true},
        {"Qb too large",      {"2", "100", "-67.6", "2.7e156", "5", "10"}, {nAsked, Fault("Floating point overflow.")}, 8, true},
    };
    // clang-format on
    for (const Calculation* calc : {&kNormalCalculation, &kDetunedCalculation}) {
        selectOrder("5");
        for (const BankStop& c : cases) {
            SCOPED_TRACE(std::string(calc->button) + ": " + c.label);
            enter(*calc, {"7", "100", "2", "400", "5", "10"});
            test::Click(&window, QString::fromUtf8(calc->button));  // the bank count before: 7
            ASSERT_TRUE(dialogs.faults.isEmpty()) << dialogs.events.join(u" "_s).toStdString();
            const double pendingBefore = design().pendingBankCount;
            markAllFields();
            enter(*calc, c.in);
            const test::TableColumns table = test::Columns(design().table);

            const Texts written = clickAndCollect(calc->button);

            std::vector<QString> names;
            for (const auto& [name, t] : written) {
                names.push_back(name);
            }
            std::vector<QString> expected;
            for (std::size_t i = 0; i < c.written; ++i) {
                expected.push_back(QString::fromUtf8(calc->outputs[i]));
            }
            std::sort(expected.begin(), expected.end());
            EXPECT_EQ(names, expected);
            EXPECT_EQ(dialogs.events, c.events);
            EXPECT_EQ(test::Columns(design().table), table);
            const bool kept = calc == &kDetunedCalculation && c.nRead;
            EXPECT_EQ(design().pendingBankCount,
                      kept ? StoreDouble(ParseReal(QString::fromUtf8(c.in.n), u'.')) : pendingBefore);
        }
    }
}

TEST_F(CapacitorBankPageTest, detunedCalculationGuardsTheInductanceItUses) {
    selectOrder("5");
    // The tuned inductance may be missing; the detuned one may not.
    enter(kDetunedCalculation, {"2", "100", "2.2", "400", "5", "10"});
    set({{"Text12", ""}});
    test::Click(&window, u"Command8"_s);
    EXPECT_EQ(dialogs.events, QStringList{Asked(kAskN)});
    EXPECT_EQ(text("Text70"), u"32.2421019043804"_s);

    enter(kDetunedCalculation, {"3", "100", "", "400", "5", "10"});
    set({{"Text12", "2"}});
    test::Click(&window, u"Command8"_s);
    EXPECT_EQ(dialogs.events, QStringList{Notice(kNeedData)});
    EXPECT_EQ(design().pendingBankCount, 2.0);

    // The normal calculation neither reads nor guards Text24.
    enter(kNormalCalculation, {"2", "100", "2", "400", "5", "10"});
    set({{"Text24", ""}});
    test::Click(&window, u"Command6"_s);
    EXPECT_EQ(dialogs.events, QStringList{Asked(kAskN)});
    EXPECT_EQ(text("Text65"), u"32.0393723752246"_s);
}

TEST_F(CapacitorBankPageTest, totalsTooLargeToStoreLeaveTheRowAsItWas) {
    selectOrder("5");
    enter(kDetunedCalculation, {"2", "100", "2.2", "400", "5", "10"});
    test::Click(&window, u"Command8"_s);
    const test::TableColumns table = test::Columns(design().table);
    ASSERT_NE(table[test::RowIndex(5)][8], 0.0);

    // One bank's output fits a double, twice that does not.
    enter(kDetunedCalculation, {"2", "100", "0", "1.03e156", "5", "10"});
    test::Click(&window, u"Command8"_s);
    EXPECT_EQ(dialogs.events, (QStringList{Asked(kAskN), Fault("Floating point overflow.")}));
    EXPECT_TRUE(text("Text70").contains(u"E308"_s)) << text("Text70").toStdString();  // every field written
    EXPECT_EQ(test::Columns(design().table), table);
    EXPECT_EQ(design().pendingBankCount, 2.0);

    enter(kNormalCalculation, {"2", "100", "0", "1.03e156", "5", "10"});
    test::Click(&window, u"Command6"_s);  // shows them, stores nothing, so no fault
    EXPECT_EQ(dialogs.events, QStringList{Asked(kAskN)});
    EXPECT_EQ(text("Text65"), text("Text70"));
}

TEST_F(CapacitorBankPageTest, takesTheTextsHandedOver) {
    set({{"Text1", "100"}, {"Text2", "400"}, {"Text6", "100"}, {"Text7", "400"}});
    answer({"5", "5", "0.01"});
    test::Click(&window, u"Command1"_s);
    EXPECT_EQ(text("Text11"), u"663.48195329087"_s);
    test::Click(&window, u"Command4"_s);
    EXPECT_EQ(text("Text12"), u"0.203821656050955"_s);
    test::Click(&window, u"Command7"_s);
    EXPECT_EQ(text("Text24"), u"0.205859872611465"_s);
    for (const char* name : {"Text11", "Text12", "Text24"}) {
        EXPECT_EQ(field(name)->cursorPosition(), 0) << name;  // read from the first digit
    }
    EXPECT_TRUE(dialogs.faults.isEmpty());
}

TEST_F(CapacitorBankPageTest, clearEmptiesAllFieldsAndKeepsTheSharedValues) {
    ASSERT_TRUE(test::ShowPage(&window, u"TabSheet2"_s));
    selectOrder("5");
    enter(kDetunedCalculation, {"2", "100", "2.2", "400", "5", "10"});
    test::Click(&window, u"Command8"_s);
    const test::TableColumns table = test::Columns(design().table);
    field("Text13")->setFocus();

    QStringList expected{u"Text11"_s, u"Text12"_s, u"Text13"_s};
    for (int i : {14, 15, 16, 17, 18, 19, 20, 24, 25, 26, 27, 28, 29, 30, 31, 63, 64, 65, 66, 67, 68, 69, 70}) {
        expected << u"Text%1"_s.arg(i);
    }
    EXPECT_EQ(clearedInOrder("Command5"), expected);
    EXPECT_EQ(QApplication::focusWidget(), field("Text11"));
    EXPECT_EQ(test::Columns(design().table), table);
    EXPECT_EQ(design().pendingBankCount, 2.0);
    EXPECT_EQ(design().currentOrder, 5);
    EXPECT_EQ(dialogs.events, QStringList{Asked(kAskN)});
}

TEST_F(CapacitorBankPageTest, tabKeyFollowsTheDesignedOrder) {
    ASSERT_TRUE(test::ShowPage(&window, u"TabSheet2"_s));
    QStringList expected{u"Text11"_s, u"Text12"_s, u"Text13"_s, u"Text63"_s, u"Text24"_s, u"Text64"_s};
    for (const WriteOrder* group : {&kNormal, &kDetuned}) {
        // Row by row, left to right: Uc, I, Qc; UL, I, QL; Qb, Qc x n; Qb x n, Qh.
        for (std::size_t i : {1, 2, 3, 5, 6, 7, 8, 4, 9, 0}) {
            expected << QString::fromUtf8((*group)[i]);
        }
    }
    expected << u"Command6"_s << u"Command8"_s << u"Command5"_s;
    const QStringList visited = test::TabOrderFrom(field("Text11"), expected.size());
    EXPECT_EQ(visited, expected);
}

TEST_F(CapacitorBankPageTest, fieldsHaveTheirRolesAndCaptionsStayOnOneLine) {
    for (const char* name : {"Text11", "Text12", "Text13", "Text24", "Text63", "Text64"}) {
        EXPECT_NE(field(name)->palette().color(QPalette::Base), QColor(255, 255, 225)) << name;
    }
    for (const WriteOrder* group : {&kNormal, &kDetuned}) {
        for (const char* name : *group) {
            EXPECT_EQ(field(name)->palette().color(QPalette::Base), QColor(255, 255, 225)) << name;
            EXPECT_FALSE(field(name)->isReadOnly()) << name;
        }
    }
    auto* page = test::Find<QWidget>(&window, u"TabSheet2"_s);
    for (const QLabel* label : page->findChildren<QLabel*>()) {
        EXPECT_LT(label->height(), 2 * label->fontMetrics().height()) << label->text().toStdString();
        EXPECT_GE(label->width(), label->fontMetrics().horizontalAdvance(label->text())) << label->text().toStdString();
    }
}

TEST_F(CapacitorBankPageTest, usesTheRegionalSeparator) {
    const QChar sep = window.decimalSeparator();
    const QByteArray l = (u"2"_s + sep + u"2"_s).toUtf8();
    const QByteArray n = (u"2"_s + sep + u"5"_s).toUtf8();
    enter(kDetunedCalculation, {n.constData(), "100", l.constData(), "400", "5", "10"});
    test::Click(&window, u"Command8"_s);
    EXPECT_EQ(text("Text26"), u"23"_s + sep + u"2694153466949"_s);
    EXPECT_EQ(text("Text70"), shown(test::bankFigures(2.5, 100, 2.2, 400, 5, 10).qbAll));
    EXPECT_EQ(design().pendingBankCount, 2.5);
    EXPECT_TRUE(dialogs.faults.isEmpty()) << dialogs.faults.join(u" "_s).toStdString();
}

}  // namespace
}  // namespace hcalc
