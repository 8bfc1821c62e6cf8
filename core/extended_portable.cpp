#include "core/extended_portable.h"

#include <inttypes.h>  // before mpfr.h: its intmax_t functions
#include <cstdint>
#define MPFR_USE_INTMAX_T 1
#include <mpfr.h>

#include <algorithm>
#include <cmath>

namespace hcalc::portable {

namespace {

constexpr mpfr_prec_t kPrecision = 64;  // the extended format's significand, integer bit included
constexpr int kBias = 16383;
constexpr std::uint16_t kSign = 0x8000u;
constexpr std::uint16_t kExponentField = 0x7FFFu;
constexpr std::uint64_t kIntegerBit = std::uint64_t{1} << 63;
constexpr std::uint64_t kQuietBit = std::uint64_t{1} << 62;
// What an invalid operation gives: the negative quiet NaN without payload.
constexpr X87Bits kIndefinite{kIntegerBit | kQuietBit, 0xFFFFu};

// MPFR writes a value as 0.1xxx * 2^e. The largest extended value is just
// below 2^16384; the smallest subnormal, 2^-16445, is 2^(emin - 1) for
// mpfr_subnormalize. The smallest normal value, 2^-16382, has e = -16381.
constexpr mpfr_exp_t kEmin = -16444;
constexpr mpfr_exp_t kEmax = 16384;
constexpr mpfr_exp_t kEminNormal = -16381;

static_assert(GMP_NAIL_BITS == 0 && (GMP_NUMB_BITS == 64 || GMP_NUMB_BITS == 32));
constexpr int kLimbs = 64 / GMP_NUMB_BITS;

// MPFR keeps its exponent range per thread. A thread that computes is given
// the extended range once and keeps it: setting it around every operation
// would cost more than the operation. (Nothing else in the program uses MPFR.)
void UseExtendedRange() {
    thread_local const bool set = [] {
        mpfr_set_emin(kEmin);
        mpfr_set_emax(kEmax);
        return true;
    }();
    (void)set;
}

// Sets another exponent range for the lifetime of the object, and restores the previous one.
class ExponentRange {
public:
    ExponentRange(mpfr_exp_t emin, mpfr_exp_t emax) : m_emin(mpfr_get_emin()), m_emax(mpfr_get_emax()) {
        mpfr_set_emin(emin);
        mpfr_set_emax(emax);
    }
    ~ExponentRange() {
        mpfr_set_emin(m_emin);
        mpfr_set_emax(m_emax);
    }
    ExponentRange(const ExponentRange&) = delete;
    ExponentRange& operator=(const ExponentRange&) = delete;

private:
    mpfr_exp_t m_emin;
    mpfr_exp_t m_emax;
};

// An MPFR number of 64-bit precision whose significand lives inside it, so
// that no operation allocates, set from and read back as an x87 pattern.
class Number {
public:
    Number() { mpfr_custom_init_set(m_x, MPFR_ZERO_KIND, 0, kPrecision, m_limbs); }
    explicit Number(X87Bits bits) { load(bits); }
    Number(const Number&) = delete;
    Number& operator=(const Number&) = delete;

    mpfr_ptr get() { return m_x; }
    mpfr_srcptr get() const { return m_x; }

    // The pattern the FPU reads: unnormals, pseudo-infinities and pseudo-NaNs
    // are no valid number and read as NaN, as the FPU rejects them as operands;
    // denormals and pseudo-denormals have the exponent of the smallest normal.
    void load(X87Bits bits) {
        const bool negative = (bits.signExponent & kSign) != 0;
        const int field = bits.signExponent & kExponentField;
        std::uint64_t significand = bits.significand;
        int kind = MPFR_REGULAR_KIND;
        mpfr_exp_t exponent = 0;
        if (field == kExponentField) {
            kind = significand == kIntegerBit ? MPFR_INF_KIND : MPFR_NAN_KIND;
        } else if (field != 0 && (significand & kIntegerBit) == 0) {
            kind = MPFR_NAN_KIND;
        } else if (significand == 0) {
            kind = MPFR_ZERO_KIND;
        } else {
            const int shift = std::countl_zero(significand);
            significand <<= shift;
            exponent = std::max(field, 1) - (kBias - 1) - shift;
        }
        setSignificand(significand);
        mpfr_custom_init_set(m_x, negative ? -kind : kind, exponent, kPrecision, m_limbs);
    }

    // The pattern of the value, which lies in the extended range (after
    // mpfr_subnormalize where it may be subnormal).
    X87Bits bits() const {
        if (mpfr_nan_p(m_x)) {
            return kIndefinite;
        }
        const std::uint16_t sign = mpfr_signbit(m_x) ? kSign : 0;
        if (mpfr_inf_p(m_x)) {
            return {kIntegerBit, static_cast<std::uint16_t>(sign | kExponentField)};
        }
        if (mpfr_zero_p(m_x)) {
            return {0, sign};
        }
        const std::uint64_t significand = this->significand();
        const mpfr_exp_t field = mpfr_get_exp(m_x) + (kBias - 1);
        if (field >= 1) {
            return {significand, static_cast<std::uint16_t>(sign | field)};
        }
        return {significand >> (1 - field), sign};  // a subnormal: exponent field 0, no integer bit
    }

private:
    void setSignificand(std::uint64_t significand) {
        for (int i = 0; i < kLimbs; ++i) {
            m_limbs[i] = static_cast<mp_limb_t>(significand >> (i * GMP_NUMB_BITS));
        }
    }
    std::uint64_t significand() const {
        std::uint64_t significand = 0;
        const auto* limbs = static_cast<const mp_limb_t*>(mpfr_custom_get_significand(m_x));
        for (int i = 0; i < kLimbs; ++i) {
            significand |= static_cast<std::uint64_t>(limbs[i]) << (i * GMP_NUMB_BITS);
        }
        return significand;
    }

    mp_limb_t m_limbs[kLimbs] = {};
    mpfr_t m_x;
};

// The result of one MPFR operation, rounded as the FPU rounds it: to 64 bits,
// to nearest even, in the extended range (so an overflow gives infinity),
// subnormal below the normal range.
template <class Operation>
X87Bits Rounded(Operation operation) {
    UseExtendedRange();
    Number r;
    const int ternary = operation(r.get());
    if (mpfr_regular_p(r.get()) && mpfr_get_exp(r.get()) < kEminNormal) {
        mpfr_subnormalize(r.get(), ternary, MPFR_RNDN);
    }
    return r.bits();
}

// A result that overflowed, or that is no number, stops the calculation.
Ext Checked(X87Bits r) {
    if ((r.signExponent & kExponentField) == kExponentField) [[unlikely]] {
        if (r.significand == kIntegerBit) {
            RaiseOverflow();
        }
        RaiseInvalidOperation();
    }
    return Ext::FromBits(r);
}

template <class Operation>
Ext Binary(Ext a, Ext b, Operation operation) {
    const Number x(a.bits());
    const Number y(b.bits());
    return Checked(Rounded([&](mpfr_ptr r) { return operation(r, x.get(), y.get(), MPFR_RNDN); }));
}

bool IsZero(X87Bits bits) {
    return (bits.signExponent & kExponentField) == 0 && bits.significand == 0;
}

// A true NaN (integer bit set, some fraction bit set) stays itself, made
// quiet; an invalid pattern gives the NaN of an invalid operation.
X87Bits QuietNaN(X87Bits bits) {
    if ((bits.signExponent & kExponentField) == kExponentField && (bits.significand & kIntegerBit) != 0 &&
        (bits.significand << 1) != 0) {
        return {bits.significand | kQuietBit, bits.signExponent};
    }
    return kIndefinite;
}

}  // namespace

Ext operator+(Ext a, Ext b) {
    return Binary(a, b, mpfr_add);
}
Ext operator-(Ext a, Ext b) {
    return Binary(a, b, mpfr_sub);
}
Ext operator*(Ext a, Ext b) {
    return Binary(a, b, mpfr_mul);
}
Ext operator/(Ext a, Ext b) {
    if (IsZero(b.bits())) {
        if (IsZero(a.bits())) {
            RaiseInvalidOperation();  // 0/0
        }
        RaiseDivisionByZero();
    }
    return Binary(a, b, mpfr_div);
}

bool operator==(Ext a, Ext b) {
    const Number x(a.bits());
    const Number y(b.bits());
    return mpfr_equal_p(x.get(), y.get()) != 0;
}

std::partial_ordering operator<=>(Ext a, Ext b) {
    const Number x(a.bits());
    const Number y(b.bits());
    if (mpfr_unordered_p(x.get(), y.get())) {
        return std::partial_ordering::unordered;
    }
    const int c = mpfr_cmp(x.get(), y.get());
    return c < 0   ? std::partial_ordering::less
           : c > 0 ? std::partial_ordering::greater
                   : std::partial_ordering::equivalent;
}

Ext Sqrt(Ext x) {
    if (x < 0) {
        RaiseInvalidOperation();
    }
    const Number v(x.bits());
    if (mpfr_nan_p(v.get())) {
        return Ext::FromBits(QuietNaN(x.bits()));
    }
    return Ext::FromBits(Rounded([&](mpfr_ptr r) { return mpfr_sqrt(r, v.get(), MPFR_RNDN); }));
}

double StoreDouble(Ext x) {
    const Number v(x.bits());
    if (mpfr_nan_p(v.get())) {
        // The FPU keeps the sign and the upper payload bits of a true NaN.
        const X87Bits nan = QuietNaN(x.bits());
        const std::uint64_t sign = (nan.signExponent & kSign) != 0 ? std::uint64_t{1} << 63 : 0;
        return std::bit_cast<double>(sign | (std::uint64_t{0x7FF} << 52) | ((nan.significand & ~kIntegerBit) >> 11));
    }
    // Rounded once to nearest even, to a subnormal double below the normal
    // range, to infinity beyond 2^1024.
    const double result = mpfr_get_d(v.get(), MPFR_RNDN);
    if (std::isinf(result) && !mpfr_inf_p(v.get())) {
        RaiseOverflow();
    }
    return result;
}

std::int64_t TruncateToInt64(Ext x) {
    const Number v(x.bits());
    static_assert(sizeof(intmax_t) == sizeof(std::int64_t));
    if (mpfr_nan_p(v.get()) || mpfr_inf_p(v.get()) || !mpfr_fits_intmax_p(v.get(), MPFR_RNDZ)) {
        RaiseInvalidOperation();
    }
    return mpfr_get_sj(v.get(), MPFR_RNDZ);
}

std::optional<Ext> DecimalToExt(std::string_view digits, long long exponent) {
    // The value lies in [10^(m-1), 10^m). Far outside the extended range
    // (about 3.6E-4951 to 1.2E4932) the answer is known without reading the
    // digits, which also keeps MPFR's own exponent range out of reach.
    const long long magnitude = static_cast<long long>(digits.size()) + exponent;
    if (magnitude > 4940) {
        return std::nullopt;
    }
    if (magnitude < -4960) {
        return Ext(0);
    }
    const std::string text = std::string(digits) + 'e' + std::to_string(exponent);
    Number r;
    int ternary = 0;
    {
        // Rounded to 64 bits in an exponent range wide enough for any value here.
        const ExponentRange range(mpfr_get_emin_min(), mpfr_get_emax_max());
        ternary = mpfr_strtofr(r.get(), text.c_str(), nullptr, 10, MPFR_RNDN);
    }
    if (mpfr_get_exp(r.get()) > kEmax) {
        return std::nullopt;
    }
    if (mpfr_get_exp(r.get()) >= kEminNormal) {
        return Ext::FromBits(r.bits());
    }
    // Below the normal range, as the C library reads it: a value exact as a
    // subnormal is kept, any other reads as 0.
    const ExponentRange range(kEmin, kEmax);
    const bool inexact = ternary != 0;
    ternary = mpfr_check_range(r.get(), ternary, MPFR_RNDN);
    ternary = mpfr_subnormalize(r.get(), ternary, MPFR_RNDN);
    if (inexact || ternary != 0) {
        return Ext(0);
    }
    return Ext::FromBits(r.bits());
}

int DecimalDigits18(Ext x, std::string& digits) {
    const Number v(x.bits());
    char buffer[24] = {};
    mpfr_exp_t exponent = 0;
    mpfr_get_str(buffer, &exponent, 10, 18, v.get(), MPFR_RNDN);
    digits.assign(buffer, 18);
    return static_cast<int>(exponent - 1);  // MPFR gives 0.ddd * 10^exponent
}

}  // namespace hcalc::portable
