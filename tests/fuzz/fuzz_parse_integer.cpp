// ParseInteger accepts exactly the integer grammar (decimal in the 32-bit
// range, hexadecimal of at most 32 bits after "$", "x", "X", "0x" or "0X"),
// checked against an independent reference.

#include "core/numbers.h"
#include "reference.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const std::optional<std::int32_t> got = hcalc::TryParseInteger(text);
    const std::optional<std::int32_t> expected = reference::Integer(text);
    if (got != expected) {
        std::fprintf(stderr, "'%s': ParseInteger %s %d, reference %s %d\n", qPrintable(text), got ? "valid" : "invalid",
                     got.value_or(0), expected ? "valid" : "invalid", expected.value_or(0));
        std::abort();
    }
    return 0;
}
