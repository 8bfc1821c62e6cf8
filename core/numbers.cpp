#include "core/numbers.h"

#include "core/fault.h"

#include <QLocale>

#include <algorithm>
#include <string>

namespace hcalc {

using namespace Qt::Literals::StringLiterals;

namespace {

bool isDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

int hexDigitValue(QChar c) {
    if (isDigit(c)) {
        return c.unicode() - u'0';
    }
    if (c >= u'a' && c <= u'f') {
        return c.unicode() - u'a' + 10;
    }
    if (c >= u'A' && c <= u'F') {
        return c.unicode() - u'A' + 10;
    }
    return -1;
}

// The position after any spaces (code 32 only) from i on.
qsizetype skipSpaces(QStringView text, qsizetype i) {
    while (i < text.size() && text[i] == u' ') {
        ++i;
    }
    return i;
}

// Reads one optional "+" or "-" at i; true for "-".
bool readSign(QStringView text, qsizetype& i) {
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
        return text[i++] == u'-';
    }
    return false;
}

// What an 80-bit pattern holds, judged by its bits as the FPU judges them:
// zeros, denormals and pseudo-denormals (exponent field 0) are below the
// normal range; an unnormal (integer bit clear) or a pseudo-infinity is no
// valid number.
enum class Encoding { Normal, BelowNormal, Infinite, NotANumber };

Encoding classify(X87Bits bits) {
    const unsigned exponent = bits.signExponent & 0x7FFFu;
    const bool integerBit = (bits.significand >> 63) != 0;
    if (exponent == 0) {
        return Encoding::BelowNormal;
    }
    if (!integerBit) {
        return Encoding::NotANumber;
    }
    if (exponent == 0x7FFFu) {
        return (bits.significand << 1) == 0 ? Encoding::Infinite : Encoding::NotANumber;
    }
    return Encoding::Normal;
}

}  // namespace

QChar RegionalDecimalSeparator() {
    const QString point = QLocale().decimalPoint();  // the system's, unless the program set a default
    return point.size() == 1 ? point.front() : QChar(u'.');
}

std::optional<Ext> TryParseReal(QStringView text, QChar separator) {
    const qsizetype n = text.size();
    qsizetype i = skipSpaces(text, 0);
    const bool negative = readSign(text, i);
    std::string digits;  // significant digits of the integer and fraction parts
    long long fractionDigits = 0;
    bool consumed = false;
    while (i < n && isDigit(text[i])) {
        if (!digits.empty() || text[i] != u'0') {
            digits.push_back(static_cast<char>(text[i].unicode()));
        }
        ++i;
        consumed = true;
    }
    if (i < n && text[i] == separator) {
        ++i;
        consumed = true;
        while (i < n && isDigit(text[i])) {
            if (!digits.empty() || text[i] != u'0') {
                digits.push_back(static_cast<char>(text[i].unicode()));
            }
            ++fractionDigits;
            ++i;
        }
    }
    if (!consumed) {
        return std::nullopt;
    }
    long long exponent = 0;
    if (i < n && (text[i] == u'e' || text[i] == u'E')) {
        ++i;
        const bool negativeExponent = readSign(text, i);
        // Digits are taken only while the exponent is below 500; a digit
        // left over makes the text invalid below.
        while (i < n && isDigit(text[i]) && exponent < 500) {
            exponent = exponent * 10 + (text[i].unicode() - u'0');
            ++i;
        }
        if (negativeExponent) {
            exponent = -exponent;
        }
    }
    i = skipSpaces(text, i);
    if (i != n) {
        return std::nullopt;
    }
    Ext value = 0;
    if (!digits.empty()) {
        // Fraction digits that were leading zeros are not in `digits` but
        // still scale the value. Beyond the extended range the text is invalid.
        const std::optional<Ext> read = backend::DecimalToExt(digits, exponent - fractionDigits);
        if (!read) {
            return std::nullopt;
        }
        value = *read;
    }
    return negative ? -value : value;
}

std::optional<std::int32_t> TryParseInteger(QStringView text) {
    const qsizetype n = text.size();
    qsizetype i = skipSpaces(text, 0);
    const bool negative = readSign(text, i);
    bool hex = false;
    if (i < n && (text[i] == u'$' || text[i] == u'x' || text[i] == u'X')) {
        hex = true;
        ++i;
    } else if (i + 1 < n && text[i] == u'0' && (text[i + 1] == u'x' || text[i + 1] == u'X')) {
        hex = true;
        i += 2;
    }
    if (i == n) {
        return std::nullopt;  // no digit after the sign or prefix, or no text at all
    }
    std::uint64_t magnitude = 0;
    if (hex) {
        for (; i < n; ++i) {
            const int d = hexDigitValue(text[i]);
            if (d < 0) {
                return std::nullopt;
            }
            magnitude = magnitude * 16 + static_cast<std::uint64_t>(d);
            if (magnitude > 0xFFFFFFFFu) {
                return std::nullopt;  // more than 32 bits of value
            }
        }
        // A 32-bit pattern ($FFFFFFFF is -1); the sign negates it, wrapping.
        std::uint32_t pattern = static_cast<std::uint32_t>(magnitude);
        if (negative) {
            pattern = 0u - pattern;
        }
        return static_cast<std::int32_t>(pattern);
    }
    for (; i < n; ++i) {
        if (!isDigit(text[i])) {
            return std::nullopt;
        }
        magnitude = magnitude * 10 + static_cast<std::uint64_t>(text[i].unicode() - u'0');
        if (magnitude > 2147483648u) {
            return std::nullopt;
        }
    }
    if (negative) {
        return static_cast<std::int32_t>(-static_cast<std::int64_t>(magnitude));
    }
    if (magnitude > 2147483647u) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(magnitude);
}

Ext ParseReal(const QString& text, QChar separator) {
    if (const auto value = TryParseReal(text, separator)) {
        return *value;
    }
    throw CalcFault::invalidReal(text);
}

std::int32_t ParseInteger(const QString& text) {
    if (const auto value = TryParseInteger(text)) {
        return *value;
    }
    throw CalcFault::invalidInteger(text);
}

QString FormatReal(Ext value, QChar separator) {
    const X87Bits bits = value.bits();
    const bool negative = (bits.signExponent & 0x8000u) != 0;
    switch (classify(bits)) {
        case Encoding::NotANumber:
            return u"NAN"_s;
        case Encoding::Infinite:
            return negative ? u"-INF"_s : u"INF"_s;
        case Encoding::BelowNormal:
            return u"0"_s;
        case Encoding::Normal:
            break;
    }
    // 18 significant digits of the magnitude, rounded to nearest.
    std::string digits;
    int exponent10 = backend::DecimalDigits18(negative ? -value : value, digits);

    // Reduce to 15 digits, rounding half up on the 16th.
    const bool roundUp = digits[15] >= '5';
    digits.resize(15);
    if (roundUp) {
        int k = 14;
        while (k >= 0 && digits[k] == '9') {
            digits[k] = '0';
            --k;
        }
        if (k >= 0) {
            ++digits[k];
        } else {
            digits.insert(digits.begin(), '1');
            digits.pop_back();
            ++exponent10;
        }
    }
    while (digits.size() > 1 && digits.back() == '0') {
        digits.pop_back();
    }
    // The magnitude is 0.d1...dn times 10^e.
    const int e = exponent10 + 1;
    const int n = static_cast<int>(digits.size());

    QString out;
    if (negative) {
        out += u'-';
    }
    if (e >= -3 && e <= 15) {
        if (e <= 0) {
            out += u'0';
            out += separator;
            out += QString(-e, u'0');
            out += QLatin1StringView(digits.data(), n);
        } else {
            const int whole = std::min(e, n);
            out += QLatin1StringView(digits.data(), whole);
            out += QString(e - whole, u'0');
            if (n > e) {
                out += separator;
                out += QLatin1StringView(digits.data() + e, n - e);
            }
        }
    } else {
        out += QLatin1Char(digits[0]);
        if (n > 1) {
            out += separator;
            out += QLatin1StringView(digits.data() + 1, n - 1);
        }
        out += u'E';
        out += QString::number(e - 1);
    }
    return out;
}

std::int64_t TruncateReal(Ext value) {
    return backend::TruncateToInt64(value);
}

QString FormatWhole(std::int64_t value) {
    return QString::number(value);
}

}  // namespace hcalc
