#include "core/calculation.h"
#include "core/extended.h"
#include "core/fault.h"
#include "core/numbers.h"
#include "core/scheme_search.h"
#include "support/fake_dialogs.h"

#include "support/qt_printers.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <new>
#include <thread>

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

#if !HCALC_PORTABLE_EXTENDED
// A thread that starts with a 53-bit significand, as threads of 64-bit
// Windows do: a calculation, and the search on a thread of its own, still
// compute with 64 bits.
TEST(ArithmeticMode, isSetByEveryCalculationWhateverTheThreadStartedWith) {
    const X87Bits third{0xAAAAAAAAAAAAAAABu, 0x3FFD};  // 1/3 to 64 bits, rounded to nearest
    std::thread([&] {
        const std::uint16_t doublePrecision = 0x027F;
        __asm__ volatile("fldcw %0" : : "m"(doublePrecision));
        FakeDialogs dialogs;
        Ext x = 0;
        RunCalculation(dialogs, [&] { x = Ext(1) / Ext(3); });
        EXPECT_EQ(x.bits(), third);

        __asm__ volatile("fldcw %0" : : "m"(doublePrecision));
        SchemeSearch(SchemeInputs{1, 230, {10, 40, 25, 10}});
        EXPECT_EQ((Ext(1) / Ext(3)).bits(), third);
    }).join();
}
#endif

}  // namespace
}  // namespace hcalc
