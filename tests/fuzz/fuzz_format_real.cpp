// FormatReal of arbitrary 80-bit patterns: never more than 15 significant
// digits, no thousands separator, no trailing zero after the separator; the
// digits are those of a direct 15-digit rounding except where rounding first to
// 18 digits lands on ...500; a shown number read back and shown again gives
// the same text.

#include "core/numbers.h"
#include "reference.h"

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

[[noreturn]] void Fail(const char* what, long double value, const QString& shown) {
    std::fprintf(stderr, "%s: %.21Lg shown as '%s'\n", what, value, qPrintable(shown));
    std::abort();
}

// The significant digits of a "%.*Le" text.
std::string DigitsOf(const char* text) {
    std::string digits;
    for (const char* p = text; *p && *p != 'e'; ++p) {
        if (*p >= '0' && *p <= '9') {
            digits += *p;
        }
    }
    return digits;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 11) {
        return 0;
    }
    long double value = 0;  // the same pattern for the C library's reference
    std::memcpy(&value, data, 10);
    hcalc::X87Bits bits;
    std::memcpy(&bits.significand, data, 8);
    std::memcpy(&bits.signExponent, data + 8, 2);
    const QChar separator = (data[10] & 1) ? QChar(u',') : QChar(u'.');
    const QString shown = hcalc::FormatReal(hcalc::Ext::FromBits(bits), separator);
    // Patterns that are no normal number (by their bits: exponent field 0 or
    // all ones, or the integer bit clear) show as one of the special texts.
    std::uint64_t significand = 0;
    std::uint16_t exponentField = 0;
    std::memcpy(&significand, data, 8);
    std::memcpy(&exponentField, data + 8, 2);
    exponentField &= 0x7FFF;
    if (exponentField == 0 || exponentField == 0x7FFF || (significand >> 63) == 0) {
        if (shown != QStringLiteral("0") && shown != QStringLiteral("NAN") && shown != QStringLiteral("INF") &&
            shown != QStringLiteral("-INF")) {
            Fail("special pattern", value, shown);
        }
        return 0;
    }

    // Shape: [-]digits[sep digits][E[-]digits], one separator at most.
    QString mantissa = shown.section(u'E', 0, 0);
    const QString exponent = shown.section(u'E', 1);
    if (mantissa.startsWith(u'-')) {
        mantissa.remove(0, 1);
    }
    if (mantissa.count(separator) > 1 || mantissa.isEmpty()) {
        Fail("shape", value, shown);
    }
    QString digits;
    for (QChar c : mantissa) {
        if (c == separator) {
            continue;
        }
        if (!c.isDigit() || c.unicode() > 127) {
            Fail("not a digit", value, shown);
        }
        digits += c;
    }
    while (digits.startsWith(u'0')) {
        digits.remove(0, 1);
    }
    while (digits.endsWith(u'0') && !mantissa.contains(separator) && exponent.isEmpty()) {
        digits.chop(1);  // zeros that fill a whole number are not significant
    }
    if (digits.size() > 15) {
        Fail("more than 15 significant digits", value, shown);
    }
    if (mantissa.contains(separator) && mantissa.endsWith(u'0')) {
        Fail("trailing zero after the separator", value, shown);
    }

    // The digits against a direct rounding to 15 digits.
    char direct[64] = {};
    char carried[64] = {};
    const long double magnitude = std::fabs(value);
    reference::InCLocale([&] {
        std::snprintf(direct, sizeof direct, "%.14Le", magnitude);
        std::snprintf(carried, sizeof carried, "%.17Le", magnitude);
        return 0;
    });
    std::string expected = DigitsOf(direct);
    while (expected.size() > 1 && expected.back() == '0') {
        expected.pop_back();
    }
    std::string ours = digits.toStdString();
    while (ours.size() > 1 && ours.back() == '0') {
        ours.pop_back();
    }
    if (ours != expected && DigitsOf(carried).substr(15) != "500") {
        Fail("digits differ from a direct rounding", value, shown);
    }

    // Read back and shown again: the same text, unless rounding to 15 digits
    // carried the shown value beyond the extended range or below its normal
    // range, which only the largest and the smallest normal values can do.
    const std::optional<hcalc::Ext> back = hcalc::TryParseReal(shown, separator);
    if (!back) {
        if (std::fabs(value) < LDBL_MAX * 0.999999999999L) {
            Fail("shown text does not read back", value, shown);
        }
        return 0;
    }
    if (*back == 0 && std::fabs(value) < LDBL_MIN * 1.000000000001L) {
        return 0;
    }
    if (hcalc::FormatReal(*back, separator) != shown) {
        Fail("shown again differs", value, shown);
    }
    return 0;
}
