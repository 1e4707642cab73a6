#include "Money.h"

#include "Int128.h"

#include <cmath>
#include <limits>

namespace simulador {

namespace {

[[noreturn]] void fueraDeRango() { throw ErrorImporte("Importe fuera de rango"); }

}  // namespace

Money Money::euros(std::int64_t e)
{
    std::int64_t v = 0;
    if (__builtin_mul_overflow(e, kEscala, &v))
        fueraDeRango();
    return Money(v);
}

Money Money::fromDouble(double x)
{
    // The platform's currency conversion: scale in double, then round half to even in
    // the default rounding mode. 2^63 itself is out of range, hence the strict bound.
    const double scaled = std::nearbyint(x * 10000.0);
    if (!std::isfinite(scaled) || scaled >= 9223372036854775808.0 || scaled < -9223372036854775808.0)
        fueraDeRango();
    return Money(static_cast<std::int64_t>(scaled));
}

Money Money::operator+(Money o) const
{
    std::int64_t r = 0;
    if (__builtin_add_overflow(m_v, o.m_v, &r))
        fueraDeRango();
    return Money(r);
}

Money Money::operator-(Money o) const
{
    std::int64_t r = 0;
    if (__builtin_sub_overflow(m_v, o.m_v, &r))
        fueraDeRango();
    return Money(r);
}

Money Money::operator-() const
{
    if (m_v == std::numeric_limits<std::int64_t>::min())
        fueraDeRango();
    return Money(-m_v);
}

Money Money::times(Money o) const
{
    // a/10^4 × b/10^4 = (a·b)/10^8: keep four decimals, dividing by 10^4 with ties to even.
    const Int128 p = static_cast<Int128>(m_v) * o.m_v;
    Int128 q = p / kEscala;
    const Int128 r = p % kEscala;  // same sign as p
    const Int128 twice = (r < 0 ? -r : r) * 2;
    if (twice > kEscala || (twice == kEscala && (q % 2 != 0)))
        q += (p < 0) ? -1 : 1;
    if (q > std::numeric_limits<std::int64_t>::max() || q < std::numeric_limits<std::int64_t>::min())
        fueraDeRango();
    return Money(static_cast<std::int64_t>(q));
}

Money Redondea(Money m)
{
    // Cents are hundreds of ten-thousandths; a remainder of 50 or more goes away from zero.
    const std::int64_t v = m.units();
    const std::int64_t resto = v % 100;  // sign of v
    std::int64_t cents = v - resto;
    const std::int64_t paso = resto >= 50 ? 100 : (resto <= -50 ? -100 : 0);
    if (__builtin_add_overflow(cents, paso, &cents))
        throw ErrorImporte("Importe fuera de rango");
    return Money::fromUnits(cents);
}

Money M(const char *text)
{
    std::string s(text);
    bool neg = false;
    std::size_t i = 0;
    if (i < s.size() && (s[i] == '-' || s[i] == '+'))
        neg = s[i++] == '-';
    std::int64_t entero = 0, frac = 0;
    int decimales = 0;
    bool punto = false, digito = false;
    for (; i < s.size(); ++i) {
        const char c = s[i];
        if (c == '.' && !punto) {
            punto = true;
        } else if (c >= '0' && c <= '9') {
            digito = true;
            if (punto) {
                if (++decimales > 4)
                    throw std::invalid_argument("M: more than four decimals: " + s);
                frac = frac * 10 + (c - '0');
            } else {
                entero = entero * 10 + (c - '0');
            }
        } else {
            throw std::invalid_argument("M: not a decimal number: " + s);
        }
    }
    if (!digito)
        throw std::invalid_argument("M: not a decimal number: " + s);
    while (decimales++ < 4)
        frac *= 10;
    const std::int64_t v = entero * Money::kEscala + frac;
    return Money::fromUnits(neg ? -v : v);
}

void AnadeTextoExacto(std::string &out, Money m)
{
    // Digits written backwards into a small buffer: the command line writes 109 of these
    // per liquidation, so no temporary strings.
    const std::int64_t v = m.units();
    unsigned long long a = v < 0 ? 0ULL - static_cast<unsigned long long>(v) : static_cast<unsigned long long>(v);
    char buf[32];
    char *p = buf + sizeof buf;
    for (int i = 0; i < 4; ++i) {
        *--p = static_cast<char>('0' + a % 10);
        a /= 10;
    }
    *--p = '.';
    do {
        *--p = static_cast<char>('0' + a % 10);
        a /= 10;
    } while (a != 0);
    if (v < 0)
        *--p = '-';
    out.append(p, static_cast<std::size_t>(buf + sizeof buf - p));
}

std::string TextoExacto(Money m)
{
    std::string s;
    AnadeTextoExacto(s, m);
    return s;
}

}  // namespace simulador
