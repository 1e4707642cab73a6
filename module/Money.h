// The money type of the declaration: a signed 64-bit count of ten-thousandths of a euro.
//
// Sums and differences are exact. Products and quotients with a rate, a percentage or a
// divisor go through double precision and come back to the nearest ten-thousandth, ties to
// even, which is how the liquidation rules were written and checked. Every overflow is
// reported as an ErrorImporte; nothing wraps.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace simulador {

// Raised when an amount leaves the range of the money type (or a double step is not finite).
class ErrorImporte : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class Money {
public:
    static constexpr std::int64_t kEscala = 10000;  // ten-thousandths per euro

    constexpr Money() = default;
    static constexpr Money fromUnits(std::int64_t diezmilesimas) { return Money(diezmilesimas); }
    // Whole euros, for the legal constants of the rules (3400, 5550 ...).
    static Money euros(std::int64_t e);
    // Nearest ten-thousandth of a double, ties to even; out of range throws.
    static Money fromDouble(double x);

    constexpr std::int64_t units() const { return m_v; }
    double toDouble() const { return static_cast<double>(m_v) / 10000.0; }

    Money operator+(Money o) const;
    Money operator-(Money o) const;
    Money operator-() const;
    Money &operator+=(Money o) { return *this = *this + o; }
    Money &operator-=(Money o) { return *this = *this - o; }

    // Rate, percentage or divisor: evaluated in double, back to money ties to even.
    Money operator*(double rate) const { return fromDouble(toDouble() * rate); }
    Money operator/(double divisor) const { return fromDouble(toDouble() / divisor); }

    // money × money (the scale step (b − c) × t and its kin): exact in 128 bits,
    // rounded to four decimals ties to even.
    Money times(Money o) const;

    constexpr bool operator==(Money o) const { return m_v == o.m_v; }
    constexpr bool operator!=(Money o) const { return m_v != o.m_v; }
    constexpr bool operator<(Money o) const { return m_v < o.m_v; }
    constexpr bool operator<=(Money o) const { return m_v <= o.m_v; }
    constexpr bool operator>(Money o) const { return m_v > o.m_v; }
    constexpr bool operator>=(Money o) const { return m_v >= o.m_v; }
    constexpr bool isZero() const { return m_v == 0; }
    constexpr bool positive() const { return m_v > 0; }
    constexpr bool negative() const { return m_v < 0; }

private:
    constexpr explicit Money(std::int64_t v) : m_v(v) {}
    std::int64_t m_v = 0;
};

inline Money min(Money a, Money b) { return b < a ? b : a; }
inline Money max(Money a, Money b) { return a < b ? b : a; }

// Rounds to cents, halves away from zero (2.345 → 2.35, −2.345 → −2.35, −0.005 → −0.01).
// Every rate, percentage and share of the liquidation goes through it.
Money Redondea(Money m);

// Money literal from a decimal text with "." as decimal point, for tables and tests:
// "17707.2", "-0.005". Throws std::invalid_argument on anything else.
Money M(const char *text);

// The exact value with "." and four decimals: "-1234.5000" (the command line's json).
std::string TextoExacto(Money m);
void AnadeTextoExacto(std::string &out, Money m);  // the same, appended to `out`

}  // namespace simulador
