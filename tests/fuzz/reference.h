#pragma once

// Independent references for the number fuzz targets: a small hand-written
// grammar matcher for real and integer texts, and conversions through the C
// library in the "C" locale. They share no code with core/numbers.cpp.

#include "core/x87_bits.h"

#include <QChar>
#include <QString>

#include <locale.h>
#include <cerrno>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

namespace reference {

// The references are the C library's long double: the fuzz targets run where
// that is the x87 extended format (x86-64), whichever backend they check.
static_assert(std::numeric_limits<long double>::digits == 64, "the fuzz references need the x87 long double");

inline hcalc::X87Bits BitsOf(long double value) {
    hcalc::X87Bits bits;
    std::memcpy(&bits.significand, &value, sizeof bits.significand);
    std::memcpy(&bits.signExponent, reinterpret_cast<const char*>(&value) + sizeof bits.significand,
                sizeof bits.signExponent);
    return bits;
}

// Runs f with the C locale for this thread: strtold and snprintf then use ".".
template <class F>
auto InCLocale(F f) {
    static locale_t c = newlocale(LC_ALL_MASK, "C", nullptr);
    locale_t old = uselocale(c);
    auto result = f();
    uselocale(old);
    return result;
}

inline bool AllDigits(std::string_view s) {
    return s.find_first_not_of("0123456789") == std::string_view::npos;
}

// The parts of a real-number text, or nullopt when the grammar rejects it.
struct RealParts {
    bool negative = false;
    std::string whole, fraction, exponentDigits;
    bool exponentNegative = false;
};

inline std::optional<RealParts> MatchReal(const QString& text, QChar separator) {
    if (text.isEmpty()) {
        return std::nullopt;
    }
    for (QChar c : text) {
        if (c.unicode() > 127 && c != separator) {
            return std::nullopt;  // only ASCII, apart from the separator
        }
    }
    if (text.contains(u'#')) {
        return std::nullopt;  // never part of a number; used below to mark the separator
    }
    QString t = text;
    t.replace(separator, QChar(u'#'));  // the separator is one place of the mantissa
    std::string s = t.toStdString();
    std::string_view v(s);
    while (!v.empty() && v.front() == ' ')
        v.remove_prefix(1);
    while (!v.empty() && v.back() == ' ')
        v.remove_suffix(1);
    RealParts parts;
    if (!v.empty() && (v.front() == '+' || v.front() == '-')) {
        parts.negative = v.front() == '-';
        v.remove_prefix(1);
    }
    const std::size_t e = v.find_first_of("eE");
    std::string_view mantissa = v.substr(0, e);
    if (mantissa.empty()) {
        return std::nullopt;
    }
    const std::size_t sep = mantissa.find('#');
    parts.whole = std::string(mantissa.substr(0, sep));
    if (sep != std::string_view::npos) {
        parts.fraction = std::string(mantissa.substr(sep + 1));
    }
    if (!AllDigits(parts.whole) || !AllDigits(parts.fraction)) {
        return std::nullopt;
    }
    if (e != std::string_view::npos) {
        std::string_view exponent = v.substr(e + 1);
        if (!exponent.empty() && (exponent.front() == '+' || exponent.front() == '-')) {
            parts.exponentNegative = exponent.front() == '-';
            exponent.remove_prefix(1);
        }
        if (!AllDigits(exponent)) {
            return std::nullopt;
        }
        // Digits are read while the exponent is below 500: every digit is
        // taken only if the digits before the last one make less than 500.
        if (exponent.size() > 1) {
            std::string_view head = exponent.substr(0, exponent.size() - 1);
            while (!head.empty() && head.front() == '0')
                head.remove_prefix(1);
            if (head.size() > 3 || (!head.empty() && std::stoi(std::string(head)) >= 500)) {
                return std::nullopt;
            }
        }
        parts.exponentDigits = std::string(exponent);
    }
    return parts;
}

// The value of matched parts by strtold in the C locale; nullopt on overflow.
// `tiny` is set when the value is below the normal extended range, also
// when strtold gives the smallest normal value with ERANGE: a value just
// below it that rounded to 64 bits stays below the normal range but on the
// subnormals' grid rounds up to it.
inline std::optional<long double> RealValue(const RealParts& p, bool* tiny) {
    std::string text = p.negative ? "-" : "";
    text += p.whole.empty() ? "0" : p.whole;
    text += "." + p.fraction + "0";
    text += "e";
    text += p.exponentNegative ? "-" : "";
    text += p.exponentDigits.empty() ? "0" : p.exponentDigits;
    return InCLocale([&]() -> std::optional<long double> {
        errno = 0;
        const long double v = std::strtold(text.c_str(), nullptr);
        *tiny = (v != 0 && std::fabs(v) < 3.36210314311209350626e-4932L) || errno == ERANGE;
        if (errno == ERANGE && (v == HUGE_VALL || v == -HUGE_VALL)) {
            return std::nullopt;
        }
        return v;
    });
}

// The integer grammar, by a different route: strip, sign, prefix, then
// std::strtoull on the digits alone.
inline std::optional<std::int32_t> Integer(const QString& text) {
    std::string s = text.toStdString();
    for (unsigned char c : s) {
        if (c > 127) {
            return std::nullopt;
        }
    }
    std::string_view v(s);
    while (!v.empty() && v.front() == ' ')
        v.remove_prefix(1);
    bool negative = false;
    if (!v.empty() && (v.front() == '+' || v.front() == '-')) {
        negative = v.front() == '-';
        v.remove_prefix(1);
    }
    int base = 10;
    if (v.starts_with("0x") || v.starts_with("0X")) {
        base = 16;
        v.remove_prefix(2);
    } else if (v.starts_with('$') || v.starts_with('x') || v.starts_with('X')) {
        base = 16;
        v.remove_prefix(1);
    }
    const char* digits = base == 16 ? "0123456789abcdefABCDEF" : "0123456789";
    if (v.empty() || v.find_first_not_of(digits) != std::string_view::npos) {
        return std::nullopt;
    }
    while (v.size() > 1 && v.front() == '0')
        v.remove_prefix(1);
    if (v.size() > 12) {
        return std::nullopt;
    }
    const unsigned long long magnitude = std::strtoull(std::string(v).c_str(), nullptr, base);
    if (base == 16) {
        if (magnitude > 0xFFFFFFFFull) {
            return std::nullopt;
        }
        const std::uint32_t pattern = static_cast<std::uint32_t>(magnitude);
        return static_cast<std::int32_t>(negative ? 0u - pattern : pattern);
    }
    const long long value = negative ? -static_cast<long long>(magnitude) : static_cast<long long>(magnitude);
    if (value < INT32_MIN || value > INT32_MAX) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(value);
}

}  // namespace reference
