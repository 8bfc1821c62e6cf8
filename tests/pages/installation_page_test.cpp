#include "pages/installation_page.h"
#include "app/main_window.h"
#include "core/numbers.h"
#include "core/scheme_search.h"
#include "core/sharing.h"
#include "support/fake_dialogs.h"
#include "support/widgets.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QLocale>
#include <QProgressDialog>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <vector>

namespace hcalc {
namespace {

using namespace Qt::Literals::StringLiterals;
using test::FakeDialogs;
using test::FieldTexts;
using test::Find;

const std::array<QString, 4> kReactive{u"Text45"_s, u"Text370"_s, u"Text380"_s, u"Text390"_s};
const std::array<QString, 4> kInstalled{u"Text44"_s, u"Text400"_s, u"Text410"_s, u"Text42"_s};
const std::array<QString, 4> kVoltage{u"Text59"_s, u"Text60"_s, u"Text61"_s, u"Text62"_s};
const std::array<QString, 4> kIdealCapacity{u"Text1a"_s, u"Text8a"_s, u"Text12a"_s, u"Text16a"_s};
const std::array<QString, 4> kIdealVoltage{u"Text2a"_s, u"Text7a"_s, u"Text11a"_s, u"Text15a"_s};
// The harmonic currents, handed to the resonance check.
const std::array<QString, 4> kCurrent{u"Text43"_s, u"Text340"_s, u"Text350"_s, u"Text360"_s};
const std::array<QString, 4> kCheckedCurrent{u"checkCurrent3"_s, u"checkCurrent5"_s, u"checkCurrent7"_s,
                                             u"checkCurrent11"_s};

// What the page must show: the core formulas (tested on their own in
// tests/core) composed as the calculation composes them.
struct Site {
    double u;
    std::array<double, 4> i;
};
QString ExpectedLine(const Site& s, int n, std::array<int, 4> a) {
    Ext total = 0;
    for (std::size_t j = 0; j < 4; ++j) {
        total = total + (a[j] != 0 ? BranchCapacity(s.u, s.i[j], kFilterOrders[j], a[j]) : 0.0);
    }
    const double ratio = StoreDouble(Ext(1000) * n / total);
    return FormatReal(ratio, u'.') + u"-->(%1)(%2)(%3)(%4)"_s.arg(a[0]).arg(a[1]).arg(a[2]).arg(a[3]);
}
// Installed capacity shown, kvar.
Ext ShownCapacity(const Site& s, std::size_t j, int a) {
    return InstalledKvar(s.u, s.i[j], kFilterOrders[j], a);
}
// Ideal rated voltage from the capacity text as shown.
Ext IdealVoltage(double u, std::size_t j, int a, const QString& shownCapacity) {
    const int h = kFilterOrders[j];
    return IdealRatedVoltage(Stored(*TryParseReal(shownCapacity, u'.')), RaisedLineVoltage(u, h), h, a);
}

class InstallationPageTest : public ::testing::Test {
protected:
    void fill(const char* q, const char* u, const char* i3, const char* i5, const char* i7, const char* i11) {
        test::Fill(
            &window,
            {{"Text320", q}, {"Text330", u}, {"Text43", i3}, {"Text340", i5}, {"Text350", i7}, {"Text360", i11}});
    }
    QString text(const QString& name) { return Find<QLineEdit>(&window, name)->text(); }
    QString label(const char* name) { return Find<QLabel>(&window, QString::fromUtf8(name))->text(); }
    QStringList lines() {
        QStringList out;
        const QAbstractItemModel* model = Find<QListView>(&window, u"List1"_s)->model();
        for (int r = 0; r < model->rowCount(); ++r) {
            out << model->data(model->index(r, 0)).toString();
        }
        return out;
    }
    void calculate() { test::Click(&window, u"RzBitBtn3"_s); }
    void showPage() { ASSERT_TRUE(test::ShowPage(&window, u"TabSheet5"_s)); }

    FakeDialogs dialogs;
    TForm1 window{dialogs};
};

TEST_F(InstallationPageTest, sharesThirtyKvarBetweenTheFifthAndSeventhBranches) {
    fill("30", "220", "0", "20", "10", "0");
    const auto before = FieldTexts(&window);
    calculate();

    const Site site{220, {0, 20, 10, 0}};
    QStringList expectedLines;
    for (int a5 = 1; a5 <= 7; ++a5) {
        expectedLines << ExpectedLine(site, 10, {0, a5, 10 - a5, 0});
    }
    EXPECT_EQ(lines(), expectedLines);
    EXPECT_TRUE(lines().first().startsWith(u"0.6973"_s));
    EXPECT_TRUE(lines().last().startsWith(u"0.8956"_s));
    EXPECT_TRUE(lines().last().endsWith(u"-->(0)(7)(3)(0)"_s));

    const QString s5 = FormatReal(ShownCapacity(site, 1, 7), u'.');
    const QString s7 = FormatReal(ShownCapacity(site, 2, 3), u'.');
    const QString u5 = FormatReal(IdealVoltage(220, 1, 7, s5), u'.');
    const QString u7 = FormatReal(IdealVoltage(220, 2, 3, s7), u'.');
    auto expected = before;
    const std::array<QString, 4> reactive{u"0"_s, u"21"_s, u"9"_s, u"0"_s};
    const std::array<QString, 4> installed{u"0"_s, s5, s7, u"0"_s};
    const std::array<QString, 4> voltages{u"0"_s, u5, u7, u"0"_s};
    for (std::size_t j = 0; j < 4; ++j) {
        expected[kReactive[j]] = reactive[j];
        expected[kInstalled[j]] = installed[j];
        expected[kIdealCapacity[j]] = installed[j];
        expected[kVoltage[j]] = voltages[j];
        expected[kIdealVoltage[j]] = voltages[j];
        expected[kCheckedCurrent[j]] = text(kCurrent[j]);
    }
    EXPECT_EQ(FieldTexts(&window), expected);
    EXPECT_NEAR(s5.toDouble(), 23.6036, 1e-4);
    EXPECT_NEAR(s7.toDouble(), 9.8933, 1e-4);
    EXPECT_NEAR(u5.toDouble(), 412.31, 1e-2);
    EXPECT_NEAR(u7.toDouble(), 403.66, 1e-2);

    const double total = StoreDouble(*TryParseReal(s5, u'.')) + StoreDouble(*TryParseReal(s7, u'.'));
    EXPECT_EQ(label("Lbest"), u"Q总/S总＝"_s + lines().last().section(u"-->"_s, 0, 0));
    EXPECT_EQ(label("Lbest1"), u"S总＝"_s + FormatReal(total, u'.') + u"(KVar)"_s);
    EXPECT_TRUE(label("Lbest1").startsWith(u"S总＝33.4969"_s));
    EXPECT_TRUE(dialogs.events.isEmpty());
}

TEST_F(InstallationPageTest, sharesThirtyKvarAmongAllFourBranches) {
    fill("30", "220", "10", "20", "10", "5");
    calculate();
    const QStringList shown = lines();
    ASSERT_EQ(shown.size(), 12);
    EXPECT_TRUE(shown.first().endsWith(u"-->(7)(1)(1)(1)"_s));
    EXPECT_EQ(shown.last(), ExpectedLine({220, {10, 20, 10, 5}}, 10, {3, 4, 2, 1}));
    EXPECT_TRUE(shown.last().startsWith(u"0.7893"_s));
    const std::array<QString, 4> reactive{u"9"_s, u"12"_s, u"6"_s, u"3"_s};
    const std::array<QString, 4> installed{u"11.94"_s, u"15.525"_s, u"7.18375"_s, u"3.35775"_s};
    for (std::size_t j = 0; j < 4; ++j) {
        EXPECT_EQ(text(kReactive[j]), reactive[j]);
        EXPECT_EQ(text(kInstalled[j]), installed[j]);
        EXPECT_EQ(text(kIdealCapacity[j]), installed[j]);
        const QString voltage = FormatReal(IdealVoltage(220, j, reactive[j].toInt() / 3, installed[j]), u'.');
        EXPECT_EQ(text(kVoltage[j]), voltage);
        EXPECT_EQ(text(kIdealVoltage[j]), voltage);
    }
    EXPECT_EQ(label("Lbest1"), u"S总＝38.0065(KVar)"_s);
}

TEST_F(InstallationPageTest, givesTheAllZeroResultWithoutAnAdmissibleScheme) {
    struct Case {
        const char* q;
        std::array<const char*, 4> currents;
    };
    // clang-format off
    const Case cases[] = {
        {"9",  {"1", "2", "3", "4"}},   // four branches need four steps
        {"-4", {"1", "2", "3", "4"}},   // N = -1: no scheme is visited
        {"-2", {"1", "2", "3", "4"}},   // N = 0
        {"0",  {"1", "2", "3", "4"}},   // the all-zero scheme gets no ratio
        {"90", {"0", "0", "0", "0"}},
        {"5",  {"0", "1", "-1", "0"}},  // N = 1 for two branches
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.q);
        dialogs.clear();
        fill(c.q, "230", c.currents[0], c.currents[1], c.currents[2], c.currents[3]);
        for (const auto& names : {kReactive, kInstalled, kVoltage, kIdealCapacity, kIdealVoltage}) {
            for (const QString& name : names) {
                Find<QLineEdit>(&window, name)->setText(u"old"_s);
            }
        }
        auto expected = FieldTexts(&window);
        for (const auto& names : {kReactive, kInstalled, kVoltage, kIdealCapacity, kIdealVoltage}) {
            for (const QString& name : names) {
                expected[name] = u"0"_s;
            }
        }
        for (std::size_t j = 0; j < 4; ++j) {
            expected[kCheckedCurrent[j]] = QString::fromUtf8(c.currents[j]);
        }
        calculate();
        EXPECT_EQ(FieldTexts(&window), expected);
        EXPECT_TRUE(lines().isEmpty());
        EXPECT_EQ(label("Lbest"), u"Q总/S总＝0"_s);
        EXPECT_EQ(label("Lbest1"), u"S总＝0(KVar)"_s);
        EXPECT_TRUE(dialogs.events.isEmpty());
    }
}

TEST_F(InstallationPageTest, aHundredKvarGivesThirtyThreeStepsInAll) {
    fill("100", "230", "10", "40", "25", "10");
    calculate();
    int sum = 0;
    for (const QString& name : kReactive) {
        sum += text(name).toInt();
    }
    EXPECT_EQ(sum, 99);
    const SearchOutcome literal = LiteralSchemeSearch({33, 230, {10, 40, 25, 10}});
    ASSERT_EQ(static_cast<std::size_t>(lines().size()), literal.chain.size());
    EXPECT_TRUE(lines().last().startsWith(FormatReal(literal.bestRatio(), u'.') + u"-->"_s));
}

TEST_F(InstallationPageTest, pressingTwiceAppendsTheSecondChainJudgedAfresh) {
    fill("30", "220", "0", "20", "10", "0");
    calculate();
    const QStringList first = lines();
    fill("30", "220", "10", "20", "10", "5");
    calculate();
    const QStringList both = lines();
    ASSERT_EQ(both.size(), 7 + 12);
    EXPECT_EQ(both.mid(0, 7), first);
    // The second chain starts again from the first admissible scheme, although its ratio is below the first's best.
    EXPECT_TRUE(both[7].endsWith(u"-->(7)(1)(1)(1)"_s));
    EXPECT_LT(both[7].section(u"-->"_s, 0, 0).toDouble(), first.last().section(u"-->"_s, 0, 0).toDouble());
}

TEST_F(InstallationPageTest, stopsOnGuardsAndUnreadableInputsWithNothingChanged) {
    struct Case {
        std::array<const char*, 6> inputs;  // Text320, Text330, Text43, Text340, Text350, Text360
        const char* box;
    };
    // clang-format off
    const Case cases[] = {
        {{"",     "220", "1", "2", "3", "4"}, "notice:输入数据不完整，请输入完整数据！"},
        {{"30",   "220", "",  "2", "3", "4"}, "notice:输入数据不完整，请输入完整数据！"},   // Text43 is tested last
        {{"30",   "220", "1", "2", "3", ""},  "notice:输入数据不完整，请输入完整数据！"},
        {{"30.5", "220", "1", "2", "3", "4"}, "fault:'30.5' is not a valid integer value."},
        {{" 30 ", "220", "1", "2", "3", "4"}, "fault:' 30 ' is not a valid integer value."},
        {{"30",   " ",   "x", "2", "3", "4"}, "fault:' ' is not a valid floating point value."},
        {{"30",   "220", "x", "y", "3", "4"}, "fault:'x' is not a valid floating point value."},   // Text43 is read first
        {{"30",   "220", "1", "2", "3", "z"}, "fault:'z' is not a valid floating point value."},
        {{"30",   "220", "1e500", "2", "3", "4"}, "fault:Floating point overflow."},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.box);
        dialogs.clear();
        fill(c.inputs[0], c.inputs[1], c.inputs[2], c.inputs[3], c.inputs[4], c.inputs[5]);
        const auto before = FieldTexts(&window);
        calculate();
        EXPECT_EQ(FieldTexts(&window), before);
        EXPECT_TRUE(lines().isEmpty());
        EXPECT_EQ(dialogs.events, QStringList{QString::fromUtf8(c.box)});
    }
}

// A total whose list cannot fit in the memory a search may take: the notice at once, with both sizes, and
// nothing searched or written; a list that just fits is searched. The page is given the memory, so that the
// case holds on a machine of any size.
TEST(InstallationPageMemory, aTotalWhoseListCannotFitGetsANoticeInsteadOfASearch) {
    constexpr std::uint64_t kGiB = std::uint64_t{1} << 30;
    const std::uint64_t thirtyKvar = ImprovementChain::BytesFor(LeastImprovementCount({10, 230, {10, 40, 25, 10}}));
    ASSERT_GT(thirtyKvar, 0u);
    struct Case {
        const char* q;
        std::uint64_t memory;  // bytes a search may take
        QString notice;        // empty: the search runs
    };
    const QString tooLarge =
        u"notice:需补偿的总无功功率过大：方案列表至少需要%1GB内存，超过本机可用的%2GB，"
        u"请减小需补偿的总无功功率！"_s;
    // clang-format off
    const Case cases[] = {
        {"2147483647", 8 * kGiB,       tooLarge.arg(u"16.0"_s, u"8.0"_s)},
        {"30",         thirtyKvar - 1, tooLarge.arg(u"0.0"_s, u"0.0"_s)},
        {"30",         thirtyKvar,     QString()},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.memory);
        FakeDialogs dialogs;
        NumberFormat numbers;
        InstallationPage page(PageContext{dialogs, numbers}, c.memory);
        test::Fill(&page, {{"Text320", c.q}, {"Text330", "230"}});
        test::Fill(&page, {{"Text43", "10"}, {"Text340", "40"}, {"Text350", "25"}, {"Text360", "10"}});
        const auto before = FieldTexts(&page);
        test::Click(&page, u"RzBitBtn3"_s);
        const int listed = Find<QListView>(&page, u"List1"_s)->model()->rowCount();
        if (c.notice.isEmpty()) {
            EXPECT_TRUE(dialogs.events.isEmpty()) << dialogs.events.join(u'|').toStdString();
            EXPECT_GT(listed, 0);
        } else {
            EXPECT_EQ(dialogs.events, QStringList{c.notice});
            EXPECT_EQ(FieldTexts(&page), before);
            EXPECT_EQ(listed, 0);
        }
    }
}

TEST_F(InstallationPageTest, anOverflowDuringTheSearchKeepsTheLinesFoundBeforeIt) {
    // The 3rd branch's capacity overflows a double for its first few dozen steps only.
    fill("360", "1e4", "4.9e152", "10", "10", "10");
    const auto before = FieldTexts(&window);
    calculate();
    EXPECT_EQ(dialogs.events, QStringList{u"fault:Floating point overflow."_s});
    EXPECT_EQ(FieldTexts(&window), before);
    const SearchOutcome literal = LiteralSchemeSearch({120, 1e4, {4.9e152, 10, 10, 10}});
    ASSERT_TRUE(literal.fault.has_value());
    ASSERT_FALSE(literal.chain.empty());
    ASSERT_EQ(static_cast<std::size_t>(lines().size()), literal.chain.size());
    EXPECT_TRUE(lines().last().startsWith(FormatReal(literal.bestRatio(), u'.')));
    EXPECT_EQ(label("Lbest"), u"Q总/S总＝"_s);
}

TEST_F(InstallationPageTest, clearEmptiesPageAndListButKeepsTheBestAndTheHandedOverValues) {
    showPage();
    fill("30", "220", "10", "20", "10", "5");
    calculate();
    ASSERT_FALSE(lines().isEmpty());
    const QString best = label("Lbest");
    auto expected = FieldTexts(&window);
    for (const QString& name : {u"Text320"_s, u"Text330"_s, u"Text43"_s, u"Text340"_s, u"Text350"_s, u"Text360"_s}) {
        expected[name] = QString();
    }
    for (const auto& names : {kReactive, kInstalled, kVoltage}) {
        for (const QString& name : names) {
            expected[name] = QString();
        }
    }
    test::Click(&window, u"RzBitBtn4"_s);
    EXPECT_EQ(FieldTexts(&window), expected);  // the selection page's fields stay
    EXPECT_TRUE(lines().isEmpty());
    EXPECT_EQ(label("Lbest"), best);
    EXPECT_EQ(QApplication::focusWidget(), Find<QWidget>(&window, u"Text320"_s));
}

TEST_F(InstallationPageTest, takesTheCompensationCapacityTruncatedIntoItsTotal) {
    test::Fill(&window, {{"Text71", "100"}, {"Text72", "0.95"}, {"Text73", "0.8"}});
    test::Click(&window, u"RzBitBtn2"_s);
    ASSERT_EQ(text(u"Text320"_s), u"42"_s);
    test::Fill(&window, {{"Text330", "220"}, {"Text43", "0"}, {"Text340", "20"}, {"Text350", "10"}, {"Text360", "0"}});
    calculate();
    EXPECT_EQ(lines().size(), static_cast<qsizetype>(LiteralSchemeSearch({14, 220, {0, 20, 10, 0}}).chain.size()));
    EXPECT_EQ(text(u"Text370"_s).toInt() + text(u"Text380"_s).toInt(), 42);
}

TEST_F(InstallationPageTest, cancellingTheProgressDialogChangesNothing) {
    showPage();
    fill("12", "220", "1", "2", "3", "4");
    calculate();  // one line to keep
    ASSERT_EQ(lines().size(), 1);
    dialogs.clear();
    // The largest total a whole number can give: hundreds of millions of steps, a search no machine ends before
    // the dialog comes up and its Cancel is pressed. Without a 3rd branch its list is short.
    fill("2147483647", "230", "0", "40", "25", "10");
    const auto before = FieldTexts(&window);
    const QString best = label("Lbest");
    bool sawDialog = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &poll, [&] {
        auto* progress = qobject_cast<QProgressDialog*>(QApplication::activeModalWidget());
        if (progress != nullptr && progress->objectName() == u"SearchProgress"_s && progress->isVisible()) {
            sawDialog = true;
            EXPECT_EQ(progress->findChild<QPushButton*>()->text(), u"Cancel"_s);
            progress->findChild<QPushButton*>()->click();
            poll.stop();
        }
    });
    poll.start(50);
    calculate();
    EXPECT_TRUE(sawDialog);
    EXPECT_EQ(FieldTexts(&window), before);
    EXPECT_EQ(lines().size(), 1);
    EXPECT_EQ(label("Lbest"), best);
    EXPECT_TRUE(dialogs.events.isEmpty());
}

TEST_F(InstallationPageTest, tabKeyRunsThroughInputsButtonsOutputsAndList) {
    showPage();
    const QStringList visited = test::TabOrderFrom(Find<QWidget>(&window, u"Text320"_s), 21);
    QStringList expected{u"Text320"_s, u"Text330"_s, u"Text43"_s,    u"Text340"_s,
                         u"Text350"_s, u"Text360"_s, u"RzBitBtn3"_s, u"RzBitBtn4"_s};
    for (std::size_t j = 0; j < 4; ++j) {
        expected << kReactive[j] << kInstalled[j] << kVoltage[j];
    }
    expected << u"List1"_s;
    EXPECT_EQ(visited, expected);
    for (const auto& names : {kReactive, kInstalled, kVoltage}) {
        for (const QString& name : names) {
            EXPECT_EQ(Find<QLineEdit>(&window, name)->palette().color(QPalette::Base), QColor(255, 255, 225));
        }
    }
    EXPECT_TRUE(Find<QListView>(&window, u"List1"_s)->uniformItemSizes());
}

TEST_F(InstallationPageTest, showsListLinesWithTheRegionalSeparator) {
    const QString point = QLocale::system().decimalPoint();
    fill("30", "220", "0", "20", "10", "0");
    calculate();
    const Site site{220, {0, 20, 10, 0}};
    QString line = ExpectedLine(site, 10, {0, 7, 3, 0});
    line.replace(u'.', point);
    EXPECT_EQ(lines().last(), line);
    EXPECT_EQ(label("Lbest"), u"Q总/S总＝"_s + line.section(u"-->"_s, 0, 0));
    EXPECT_TRUE(dialogs.events.isEmpty());
}

}  // namespace
}  // namespace hcalc
