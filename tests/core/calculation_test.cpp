#include "core/calculation.h"
#include "core/extended.h"
#include "core/fault.h"
#include "core/numbers.h"
#include "support/fake_dialogs.h"

#include "support/qt_printers.h"

#include <gtest/gtest.h>

#include <new>

namespace hcalc {
namespace {

using namespace Qt::Literals::StringLiterals;
using test::FakeDialogs;

TEST(FaultBoxText, addsAFullStopAfterALetter) {
    EXPECT_EQ(FaultBoxText(u"Floating point overflow"_s), u"Floating point overflow."_s);
    EXPECT_EQ(FaultBoxText(u"done."_s), u"done."_s);  // "." itself is not above "."
    EXPECT_EQ(FaultBoxText(u"a,"_s), u"a,"_s);        // "," is below "."
    EXPECT_EQ(FaultBoxText(u"value 7"_s), u"value 7."_s);
    EXPECT_EQ(FaultBoxText(QString()), QString());
}

TEST(RunCalculation, showsEachFaultWithItsEnglishText) {
    struct Case {
        std::function<void()> calculation;
        QString shown;
    };
    const Ext zero = 0;
    // clang-format off
    const Case cases[] = {
        {[] { (void)ParseReal(u"abc"_s, u'.'); },  u"'abc' is not a valid floating point value."_s},
        {[] { (void)ParseReal(QString(), u'.'); }, u"'' is not a valid floating point value."_s},
        {[] { (void)ParseInteger(u"5 "_s); },      u"'5 ' is not a valid integer value."_s},
        {[&] { (void)(Ext(1) / zero); },           u"Floating point division by zero."_s},
        {[&] { (void)(zero / zero); },             u"Invalid floating point operation."_s},
        {[] { (void)StoreDouble(Ext(1e300) * 1e200); }, u"Floating point overflow."_s},
    };
    // clang-format on
    for (const Case& c : cases) {
        FakeDialogs dialogs;
        RunCalculation(dialogs, c.calculation);
        EXPECT_EQ(dialogs.faults, QStringList{c.shown});
        EXPECT_TRUE(dialogs.notices.isEmpty());
    }
}

TEST(RunCalculation, stopsAtTheFaultingStepKeepingWhatWasWritten) {
    FakeDialogs dialogs;
    QStringList written;
    RunCalculation(dialogs, [&] {
        written << u"first"_s;
        const Ext x = Ext(1) / Ext(0);
        written << QString::number(StoreDouble(x));
    });
    EXPECT_EQ(written, QStringList{u"first"_s});
    EXPECT_EQ(dialogs.faults, QStringList{u"Floating point division by zero."_s});
}

TEST(RunCalculation, stopsACalculationThatRunsOutOfMemory) {
    FakeDialogs dialogs;
    RunCalculation(dialogs, [] { throw std::bad_alloc(); });
    EXPECT_EQ(dialogs.faults, QStringList{u"Out of memory."_s});
}

TEST(RunCalculation, showsNothingWhenTheCalculationEnds) {
    FakeDialogs dialogs;
    bool ran = false;
    RunCalculation(dialogs, [&] { ran = true; });
    EXPECT_TRUE(ran);
    EXPECT_TRUE(dialogs.events.isEmpty());
}

}  // namespace
}  // namespace hcalc
