#include "core/x87_decimal.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <vector>

namespace hcalc {

namespace {

constexpr int kBias = 16383;
// A value of the exponent field E with significand s is s * 2^(E - kFieldOffset)
// (the significand holds 63 bits after its point); a subnormal has E = 0 and
// the scale of E = 1.
constexpr int kFieldOffset = kBias + 63;
constexpr int kMaxField = 0x7FFE;
constexpr std::uint64_t kIntegerBit = std::uint64_t{1} << 63;

// 5^0 to 5^27: the powers of five below 2^63.
constexpr std::array<std::uint64_t, 28> PowersOfFive() {
    std::array<std::uint64_t, 28> p{};
    p[0] = 1;
    for (std::size_t i = 1; i < p.size(); ++i) {
        p[i] = p[i - 1] * 5;
    }
    return p;
}
constexpr std::array<std::uint64_t, 28> kPowersOfFive = PowersOfFive();

// The common magnitudes are computed in 128-bit integers, which hold the
// product of two limbs of a big integer. GCC and Clang have them on 64-bit
// processors; only the native backend uses these conversions, and it is built
// only where they exist (HCALC_NATIVE_EXTENDED in CMakeLists.txt).
#if !defined(__SIZEOF_INT128__)
#error "the decimal conversions need the compiler's unsigned __int128 (GCC or Clang on a 64-bit processor)"
#endif
using U128 = unsigned __int128;

// std::bit_width as an int (libstdc++ 12 gives it in the argument's unsigned type).
int BitWidth(std::uint64_t x) {
    return static_cast<int>(std::bit_width(x));
}

int BitWidth(U128 x) {
    const auto high = static_cast<std::uint64_t>(x >> 64);
    return high != 0 ? 64 + BitWidth(high) : BitWidth(static_cast<std::uint64_t>(x));
}

// An unsigned integer of any size: 64-bit limbs, the least significant first,
// no zero limb at the top (zero has no limbs).
class BigUint {
public:
    BigUint() = default;
    explicit BigUint(std::uint64_t v) {
        if (v != 0) {
            m_limbs.push_back(v);
        }
    }

    static BigUint FromDecimal(std::string_view digits) {
        BigUint r;
        r.m_limbs.reserve(digits.size() / 19 + 2);
        // Nineteen digits at a time: 10^19 < 2^64.
        std::size_t chunk = digits.size() % 19 == 0 ? 19 : digits.size() % 19;
        for (std::size_t i = 0; i < digits.size(); i += chunk, chunk = 19) {
            std::uint64_t value = 0;
            std::uint64_t scale = 1;
            for (std::size_t k = i; k < i + chunk; ++k) {
                value = value * 10 + static_cast<std::uint64_t>(digits[k] - '0');
                scale *= 10;
            }
            r.multiplyAdd(scale, value);
        }
        return r;
    }

    static BigUint PowerOfFive(unsigned n) {
        if (n < kPowersOfFive.size()) {
            return BigUint(kPowersOfFive[n]);
        }
        BigUint r = PowerOfFive(n / 2).squared();
        if (n % 2 != 0) {
            r.multiplyAdd(5, 0);
        }
        return r;
    }

    bool isZero() const { return m_limbs.empty(); }
    std::size_t bitWidth() const {
        return m_limbs.empty() ? 0 : 64 * m_limbs.size() - static_cast<std::size_t>(std::countl_zero(m_limbs.back()));
    }
    bool bit(std::size_t i) const { return i / 64 < m_limbs.size() && ((m_limbs[i / 64] >> (i % 64)) & 1) != 0; }
    // Whether any bit below bit i is set.
    bool anyBitBelow(std::size_t i) const {
        const std::size_t whole = std::min(i / 64, m_limbs.size());
        for (std::size_t k = 0; k < whole; ++k) {
            if (m_limbs[k] != 0) {
                return true;
            }
        }
        return whole < m_limbs.size() && i % 64 != 0 && (m_limbs[whole] << (64 - i % 64)) != 0;
    }
    // The 64 bits from bit i up.
    std::uint64_t bitsFrom(std::size_t i) const {
        const auto limb = [&](std::size_t k) -> std::uint64_t { return k < m_limbs.size() ? m_limbs[k] : 0; };
        const std::size_t k = i / 64;
        const unsigned shift = i % 64;
        return shift == 0 ? limb(k) : (limb(k) >> shift) | (limb(k + 1) << (64 - shift));
    }

    // this = this * factor + addend
    void multiplyAdd(std::uint64_t factor, std::uint64_t addend) {
        std::uint64_t carry = addend;
        for (std::uint64_t& limb : m_limbs) {
            const U128 p = U128{limb} * factor + carry;
            limb = static_cast<std::uint64_t>(p);
            carry = static_cast<std::uint64_t>(p >> 64);
        }
        if (carry != 0) {
            m_limbs.push_back(carry);
        }
    }

    void shiftLeft(std::size_t bits) {
        if (m_limbs.empty() || bits == 0) {
            return;
        }
        const std::size_t whole = bits / 64;
        const unsigned part = bits % 64;
        if (part != 0) {
            std::uint64_t carry = 0;
            for (std::uint64_t& limb : m_limbs) {
                const std::uint64_t next = limb >> (64 - part);
                limb = (limb << part) | carry;
                carry = next;
            }
            if (carry != 0) {
                m_limbs.push_back(carry);
            }
        }
        m_limbs.insert(m_limbs.begin(), whole, 0);
    }

    friend BigUint operator*(const BigUint& a, const BigUint& b) {
        BigUint r;
        if (a.isZero() || b.isZero()) {
            return r;
        }
        r.m_limbs.assign(a.m_limbs.size() + b.m_limbs.size(), 0);
        for (std::size_t i = 0; i < a.m_limbs.size(); ++i) {
            std::uint64_t carry = 0;
            for (std::size_t j = 0; j < b.m_limbs.size(); ++j) {
                const U128 t = U128{a.m_limbs[i]} * b.m_limbs[j] + r.m_limbs[i + j] + carry;  // below 2^128
                r.m_limbs[i + j] = static_cast<std::uint64_t>(t);
                carry = static_cast<std::uint64_t>(t >> 64);
            }
            r.m_limbs[i + b.m_limbs.size()] = carry;
        }
        r.trim();
        return r;
    }

    // this * this, each product of two different limbs computed once.
    BigUint squared() const {
        const std::size_t n = m_limbs.size();
        BigUint r;
        r.m_limbs.assign(2 * n, 0);
        for (std::size_t i = 0; i < n; ++i) {
            std::uint64_t carry = 0;
            for (std::size_t j = i + 1; j < n; ++j) {
                const U128 t = U128{m_limbs[i]} * m_limbs[j] + r.m_limbs[i + j] + carry;
                r.m_limbs[i + j] = static_cast<std::uint64_t>(t);
                carry = static_cast<std::uint64_t>(t >> 64);
            }
            r.m_limbs[i + n] = carry;
        }
        // Twice the products of different limbs (below half of 2^(128n)), plus the squares.
        std::uint64_t top = 0;
        for (std::uint64_t& limb : r.m_limbs) {
            const std::uint64_t next = limb >> 63;
            limb = (limb << 1) | top;
            top = next;
        }
        std::uint64_t carry = 0;
        for (std::size_t i = 0; i < n; ++i) {
            const U128 low = U128{m_limbs[i]} * m_limbs[i] + r.m_limbs[2 * i] + carry;
            r.m_limbs[2 * i] = static_cast<std::uint64_t>(low);
            const U128 high = U128{r.m_limbs[2 * i + 1]} + static_cast<std::uint64_t>(low >> 64);
            r.m_limbs[2 * i + 1] = static_cast<std::uint64_t>(high);
            carry = static_cast<std::uint64_t>(high >> 64);
        }
        r.trim();
        return r;
    }

    friend int Compare(const BigUint& a, const BigUint& b) {
        if (a.m_limbs.size() != b.m_limbs.size()) {
            return a.m_limbs.size() < b.m_limbs.size() ? -1 : 1;
        }
        for (std::size_t i = a.m_limbs.size(); i-- > 0;) {
            if (a.m_limbs[i] != b.m_limbs[i]) {
                return a.m_limbs[i] < b.m_limbs[i] ? -1 : 1;
            }
        }
        return 0;
    }

    // quotient = u / v and remainder = u % v, v not zero (Knuth, TAOCP vol. 2, 4.3.1, algorithm D).
    static void Divide(const BigUint& u, const BigUint& v, BigUint& quotient, BigUint& remainder) {
        quotient.m_limbs.clear();
        if (Compare(u, v) < 0) {
            remainder = u;
            return;
        }
        const std::size_t n = v.m_limbs.size();
        const std::size_t m = u.m_limbs.size() - n;
        quotient.m_limbs.assign(m + 1, 0);
        if (n == 1) {
            const std::uint64_t d = v.m_limbs[0];
            std::uint64_t rest = 0;
            for (std::size_t j = u.m_limbs.size(); j-- > 0;) {
                const U128 t = (U128{rest} << 64) | u.m_limbs[j];
                quotient.m_limbs[j] = static_cast<std::uint64_t>(t / d);
                rest = static_cast<std::uint64_t>(t % d);
            }
            quotient.trim();
            remainder = BigUint(rest);
            return;
        }
        // Normalised so that the divisor's top limb has its top bit set: each
        // estimated quotient limb is then at most 2 too large.
        const auto shift = static_cast<unsigned>(std::countl_zero(v.m_limbs.back()));
        BigUint vn = v;
        vn.shiftLeft(shift);
        BigUint un = u;
        un.shiftLeft(shift);
        un.m_limbs.resize(u.m_limbs.size() + 1, 0);
        const std::vector<std::uint64_t>& d = vn.m_limbs;
        std::vector<std::uint64_t>& w = un.m_limbs;
        for (std::size_t j = m + 1; j-- > 0;) {
            const U128 top = (U128{w[j + n]} << 64) | w[j + n - 1];
            U128 qhat = top / d[n - 1];
            U128 rhat = top % d[n - 1];
            while ((qhat >> 64) != 0 || qhat * d[n - 2] > ((rhat << 64) | w[j + n - 2])) {
                --qhat;
                rhat += d[n - 1];
                if ((rhat >> 64) != 0) {
                    break;
                }
            }
            // w[j .. j+n] -= qhat * d
            std::uint64_t borrow = 0;
            std::uint64_t carry = 0;
            for (std::size_t i = 0; i < n; ++i) {
                const U128 p = qhat * d[i] + carry;
                carry = static_cast<std::uint64_t>(p >> 64);
                const auto low = static_cast<std::uint64_t>(p);
                const std::uint64_t before = w[i + j];
                w[i + j] = before - low - borrow;
                borrow = (before < low || before - low < borrow) ? 1 : 0;
            }
            const std::uint64_t before = w[j + n];
            w[j + n] = before - carry - borrow;
            if (before < carry || before - carry < borrow) {
                // qhat was one too large: add the divisor back.
                --qhat;
                std::uint64_t c = 0;
                for (std::size_t i = 0; i < n; ++i) {
                    const U128 s = U128{w[i + j]} + d[i] + c;
                    w[i + j] = static_cast<std::uint64_t>(s);
                    c = static_cast<std::uint64_t>(s >> 64);
                }
                w[j + n] += c;
            }
            quotient.m_limbs[j] = static_cast<std::uint64_t>(qhat);
        }
        quotient.trim();
        // The remainder is the low n limbs, shifted back.
        remainder.m_limbs.assign(n, 0);
        for (std::size_t i = 0; i < n; ++i) {
            remainder.m_limbs[i] = shift == 0 ? w[i] : (w[i] >> shift) | (w[i + 1] << (64 - shift));
        }
        remainder.trim();
    }

private:
    void trim() {
        while (!m_limbs.empty() && m_limbs.back() == 0) {
            m_limbs.pop_back();
        }
    }

    std::vector<std::uint64_t> m_limbs;
};

// A value rounded to 64 significant bits: significand * 2^exponent2, the
// significand's top bit set; inexact when bits were dropped.
struct Rounded {
    std::uint64_t significand = 0;
    long long exponent2 = 0;
    bool inexact = false;
};

// Rounds to nearest, ties to even: `top` are the leading 64 bits, `half` the
// next bit, `sticky` whether any bit after that is set.
Rounded RoundSignificand(std::uint64_t top, bool half, bool sticky, long long exponent2) {
    Rounded r{top, exponent2, half || sticky};
    if (half && (sticky || (top & 1) != 0)) {
        if (++r.significand == 0) {
            r.significand = kIntegerBit;
            ++r.exponent2;
        }
    }
    return r;
}

// x * 2^exponent2 rounded to 64 bits, x not zero. `sticky`: whether a
// non-zero fraction follows x's last bit (x then has more than 65 bits, so
// that the bit after the 64th is one of x's).
Rounded RoundBig(const BigUint& x, bool sticky, long long exponent2) {
    const std::size_t width = x.bitWidth();
    if (width <= 64) {
        return {x.bitsFrom(0) << (64 - width), exponent2 - static_cast<long long>(64 - width), sticky};
    }
    const std::size_t dropped = width - 64;
    return RoundSignificand(x.bitsFrom(dropped), x.bit(dropped - 1), sticky || x.anyBitBelow(dropped - 1),
                            exponent2 + static_cast<long long>(dropped));
}

// The same for a 128-bit x.
Rounded Round128(U128 x, bool sticky, long long exponent2) {
    const int width = BitWidth(x);
    if (width <= 64) {
        return {static_cast<std::uint64_t>(x) << (64 - width), exponent2 - (64 - width), sticky};
    }
    const int dropped = width - 64;
    const U128 below = x & ((U128{1} << (dropped - 1)) - 1);
    return RoundSignificand(static_cast<std::uint64_t>(x >> dropped), ((x >> (dropped - 1)) & 1) != 0,
                            sticky || below != 0, exponent2 + dropped);
}

// The value of at most 19 digits.
std::uint64_t SmallDecimal(std::string_view digits) {
    std::uint64_t v = 0;
    for (const char c : digits) {
        v = v * 10 + static_cast<std::uint64_t>(c - '0');
    }
    return v;
}

// digits * 10^exponent rounded to 64 bits; digits has no leading zero.
Rounded RoundDecimal(std::string_view digits, long long exponent) {
    // Up to 19 digits (below 2^64) and a power of five below 2^61: the
    // product, or the quotient scaled to at least 66 bits, fits in 128 bits.
    if (digits.size() <= 19 && exponent >= -26 && exponent <= 27) {
        const std::uint64_t n = SmallDecimal(digits);
        if (exponent >= 0) {
            return Round128(U128{n} * kPowersOfFive[static_cast<std::size_t>(exponent)], false, exponent);
        }
        const std::uint64_t divisor = kPowersOfFive[static_cast<std::size_t>(-exponent)];
        const int scale = 127 - BitWidth(n);
        const U128 scaled = U128{n} << scale;
        return Round128(scaled / divisor, scaled % divisor != 0, exponent - scale);
    }
    BigUint n = BigUint::FromDecimal(digits);
    if (exponent >= 0) {
        return RoundBig(n * BigUint::PowerOfFive(static_cast<unsigned>(exponent)), false, exponent);
    }
    // n / 5^f * 2^-f: the quotient scaled by 2^scale to at least 66 bits, so
    // that the bit after the 64th is in it and the remainder only adds to
    // the sticky bit.
    const BigUint divisor = BigUint::PowerOfFive(static_cast<unsigned>(-exponent));
    const std::size_t scale = std::max<std::size_t>(divisor.bitWidth() + 66, n.bitWidth()) - n.bitWidth();
    n.shiftLeft(scale);
    BigUint quotient;
    BigUint remainder;
    BigUint::Divide(n, divisor, quotient, remainder);
    return RoundBig(quotient, !remainder.isZero(), exponent - static_cast<long long>(scale));
}

// How many leading significant digits decide the reading of a value in
// [10^(m-1), 10^m). The reading changes only at points c * 2^t with c < 2^65:
// halfway between two neighbouring 64-bit values (among them the points where
// the range overflows and where a value rounds into the normal range), and
// the subnormals. With t >= 0 such a point is an integer of at most m digits.
// With t < 0 it is c * 5^-t / 10^-t, of fewer than 20.6 + 0.699 * -t
// significant digits; in this decade -t < 65 + 3.33 * (1 - m), which gives
// fewer than 67 + 2.33 * (1 - m); and t >= -16447, so no point has more
// digits than (2^65 - 1) * 2^-16447, the lowest halfway point that rounds
// into the normal range: 11,516. A text longer than the bound lies strictly
// between the same two multiples of 10^(m - bound) as its first `bound` digits
// followed by a 1, so no such point separates the two: they read the same.
// (The bound was also checked against every binade's points in exact integer
// arithmetic.)
std::size_t DigitsThatDecide(long long m) {
    if (m >= 1) {
        return static_cast<std::size_t>(std::max(m, 70LL));
    }
    return static_cast<std::size_t>(std::min(70 + (233 * (1 - m) + 99) / 100, 11530LL));
}

}  // namespace

std::optional<X87Bits> DecimalToX87(std::string_view digits, long long exponent) {
    digits.remove_prefix(std::min(digits.find_first_not_of('0'), digits.size()));
    if (digits.empty()) {
        return X87Bits{};
    }
    // The value lies in [10^(m-1), 10^m). At or above 10^4933 it is beyond
    // the largest extended value (about 1.19E4932); below 10^-4951 it is
    // below the smallest subnormal (about 3.65E-4951) and not exact: known
    // without arithmetic.
    if (exponent > 4933) {
        return std::nullopt;
    }
    if (exponent < -(1LL << 62)) {
        return X87Bits{};
    }
    const std::size_t last = digits.find_last_not_of('0');
    exponent += static_cast<long long>(digits.size() - 1 - last);
    digits = digits.substr(0, last + 1);
    const long long m = static_cast<long long>(digits.size()) + exponent;
    if (m > 4933) {
        return std::nullopt;
    }
    if (m < -4950) {
        return X87Bits{};
    }
    std::string shortened;
    if (const std::size_t bound = DigitsThatDecide(m); digits.size() > bound) {
        // The digits dropped are not all zero (the last digit is not): a
        // final 1 stands for them.
        shortened.reserve(bound + 1);
        shortened.assign(digits.substr(0, bound));
        shortened += '1';
        exponent = m - static_cast<long long>(shortened.size());
        digits = shortened;
    }
    const Rounded r = RoundDecimal(digits, exponent);
    const long long field = r.exponent2 + kFieldOffset;
    if (field > kMaxField) {
        return std::nullopt;
    }
    if (field >= 1) {
        return X87Bits{r.significand, static_cast<std::uint16_t>(field)};
    }
    // Below the normal range: only a value exact as a subnormal is kept.
    const long long drop = 1 - field;
    if (r.inexact || drop >= 64 || (r.significand & ((std::uint64_t{1} << drop) - 1)) != 0) {
        return X87Bits{};
    }
    return X87Bits{r.significand >> drop, 0};
}

namespace {

// significand * 2^exponent2 / 10^power10 rounded to a whole number, ties to
// even, for a result below 2^64.
std::uint64_t RoundedQuotient(std::uint64_t significand, int exponent2, int power10) {
    // The value is significand * 5^a * 2^t / 5^c.
    const int a = std::max(-power10, 0);
    const int c = std::max(power10, 0);
    const int t = exponent2 - power10;
    if (a < static_cast<int>(kPowersOfFive.size()) && c < static_cast<int>(kPowersOfFive.size())) {
        const std::uint64_t fiveA = kPowersOfFive[static_cast<std::size_t>(a)];
        const std::uint64_t fiveC = kPowersOfFive[static_cast<std::size_t>(c)];
        if (c == 0 && t < 0 && t > -128) {
            // Divided by a power of two (significand * 5^a < 2^127): a shift.
            const U128 n = U128{significand} * fiveA;
            const int shift = -t;
            const auto q = static_cast<std::uint64_t>(n >> shift);
            const U128 rest = n & ((U128{1} << shift) - 1);
            const U128 half = U128{1} << (shift - 1);
            return q + ((rest > half || (rest == half && (q & 1) != 0)) ? 1 : 0);
        }
        const int numeratorBits = 64 + BitWidth(fiveA) + std::max(t, 0);
        const int denominatorBits = BitWidth(fiveC) + std::max(-t, 0);
        if (numeratorBits <= 127 && denominatorBits <= 126) {
            const U128 n = (U128{significand} * fiveA) << std::max(t, 0);
            const U128 d = U128{fiveC} << std::max(-t, 0);
            const auto q = static_cast<std::uint64_t>(n / d);
            const U128 twice = (n % d) << 1;
            return q + ((twice > d || (twice == d && (q & 1) != 0)) ? 1 : 0);
        }
    }
    BigUint n = BigUint(significand) * BigUint::PowerOfFive(static_cast<unsigned>(a));
    n.shiftLeft(static_cast<std::size_t>(std::max(t, 0)));
    BigUint d = BigUint::PowerOfFive(static_cast<unsigned>(c));
    d.shiftLeft(static_cast<std::size_t>(std::max(-t, 0)));
    BigUint quotient;
    BigUint remainder;
    BigUint::Divide(n, d, quotient, remainder);
    const std::uint64_t q = quotient.bitsFrom(0);
    remainder.shiftLeft(1);
    const int side = Compare(remainder, d);
    return q + ((side > 0 || (side == 0 && (q & 1) != 0)) ? 1 : 0);
}

}  // namespace

int X87DecimalDigits18(X87Bits value, std::string& digits) {
    constexpr std::uint64_t kTenTo18 = 1000000000000000000u;
    const int exponent2 = (value.signExponent & 0x7FFF) - kFieldOffset;
    // The value lies in [2^(b), 2^(b+1)) with b = exponent2 + 63, so its
    // decimal exponent is floor(b * log10(2)) or one more. log10(2) * 2^32,
    // rounded down, gives that floor exactly for |b| < 16500.
    int exponent10 = static_cast<int>(((exponent2 + 63) * 1292913986LL) >> 32);
    std::uint64_t d = RoundedQuotient(value.significand, exponent2, exponent10 - 17);
    if (d >= kTenTo18) {
        ++exponent10;
        d = RoundedQuotient(value.significand, exponent2, exponent10 - 17);
    }
    digits.assign(18, '0');
    for (std::size_t i = 18; i-- > 0; d /= 10) {
        digits[i] = static_cast<char>('0' + d % 10);
    }
    return exponent10;
}

}  // namespace hcalc
