// ParseReal accepts exactly the real-number grammar (checked against an
// independent matcher), gives the value strtold gives (0 below the normal
// extended range), and fails with the message quoting the text.

#include "core/fault.h"
#include "core/numbers.h"
#include "reference.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const QChar separator = (data[0] & 1) ? QChar(u',') : QChar(u'.');
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data + 1), static_cast<qsizetype>(size - 1));

    const std::optional<hcalc::Ext> got = hcalc::TryParseReal(text, separator);
    const std::optional<reference::RealParts> parts = reference::MatchReal(text, separator);
    std::optional<long double> expected;
    bool tiny = false;
    if (parts) {
        expected = reference::RealValue(*parts, &tiny);
    }
    if (got.has_value() != expected.has_value()) {
        std::fprintf(stderr, "'%s': ParseReal %s, reference %s\n", qPrintable(text), got ? "valid" : "invalid",
                     expected ? "valid" : "invalid");
        std::abort();
    }
    if (got && !(got->bits() == reference::BitsOf(*expected) || (tiny && *got == 0))) {
        std::fprintf(stderr, "'%s': ParseReal %s, reference %.21Lg\n", qPrintable(text),
                     qPrintable(hcalc::FormatReal(*got, u'.')), *expected);
        std::abort();
    }
    if (!got) {
        try {
            (void)hcalc::ParseReal(text, separator);
            std::abort();
        } catch (const hcalc::CalcFault& fault) {
            if (fault.message() !=
                QStringLiteral("'") + text + QStringLiteral("' is not a valid floating point value")) {
                std::abort();
            }
        }
    }
    return 0;
}
