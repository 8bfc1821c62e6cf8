#pragma once

#include "core/extended.h"

#include <QChar>
#include <QString>
#include <QStringView>

#include <cstdint>
#include <optional>

namespace hcalc {

// The decimal separator of the user's regional settings. One character, used
// for reading and for showing numbers; no thousands separator exists.
struct NumberFormat {
    QChar decimalSeparator = u'.';
};

// The regional decimal separator as the default QLocale reports it (the
// system's regional settings); "." when it is not a single character.
QChar RegionalDecimalSeparator();

// Reading a real number: optional spaces, sign, digits, separator and
// fraction digits, an exponent whose digits are taken while it is below 500,
// optional spaces. The value in extended precision; a value below the extended
// range reads as 0. nullopt for text that is not a number or whose value
// overflows the extended range.
std::optional<Ext> TryParseReal(QStringView text, QChar separator);

// Reading a 32-bit integer: optional leading spaces, sign, then decimal digits
// or hexadecimal digits after "$", "x", "X", "0x" or "0X"; nothing may follow.
std::optional<std::int32_t> TryParseInteger(QStringView text);

// The forms a calculation uses: a text that does not convert stops it with
// the conversion error naming the text exactly as it stood.
Ext ParseReal(const QString& text, QChar separator);
std::int32_t ParseInteger(const QString& text);

// General format with 15 significant digits: fixed notation for magnitudes
// from 0.0001 to just below 1E15, scientific ("1.5E-5", "1E15") otherwise; no
// trailing zeros, no thousands separator.
QString FormatReal(Ext value, QChar separator);

// Truncation toward zero to a 64-bit integer; a value outside the 64-bit
// range is an invalid operation.
std::int64_t TruncateReal(Ext value);

// Plain decimal digits, "-" when negative.
QString FormatWhole(std::int64_t value);

}  // namespace hcalc
