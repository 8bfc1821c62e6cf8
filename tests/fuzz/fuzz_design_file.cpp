// The design file's reader on arbitrary bytes: it never crashes, hangs or
// takes memory beyond the bytes it is given (ASan, UBSan and libFuzzer's
// limits watch that), and what it accepts is a design that writes and reads
// back to the very same bytes, every kept number a finite double.

#include "core/design_file.h"
#include "core/extended.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

[[noreturn]] void Fail(const char* what) {
    std::fprintf(stderr, "%s\n", what);
    std::abort();
}

void RequireFinite(double value) {
    if (!std::isfinite(value)) {
        Fail("a kept number is not finite");
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* /*argc*/, char*** /*argv*/) {
    hcalc::SetArithmeticMode();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const hcalc::DesignReading reading = hcalc::ReadDesign(bytes);
    if (!reading.design) {
        if (reading.error.isEmpty()) {
            Fail("a refusal without its reason");
        }
        return 0;
    }
    const hcalc::DesignDocument& design = *reading.design;
    for (const hcalc::FilterBankRow& row : design.design.table.rows()) {
        for (double v :
             {row.order, row.ratedKvar, row.ratedVoltage, row.capacitanceUf, row.ratedCurrent, row.inductanceMh,
              row.reactanceRatioPct, row.bankCount, row.banksOutputKvar, row.capacitorsOutputKvar, row.harmonicKvar}) {
            RequireFinite(v);
        }
    }
    RequireFinite(design.design.pendingBankCount);
    const QByteArray written = hcalc::WriteDesign(design);
    const hcalc::DesignReading again = hcalc::ReadDesign(written);
    if (!again.design) {
        std::fprintf(stderr, "%s\n", qPrintable(again.error));
        Fail("a design it accepted, written, is refused");
    }
    if (hcalc::WriteDesign(*again.design) != written) {
        Fail("a design written and read back writes other bytes");
    }
    return 0;
}
