#include "TextoImporte.h"

#include "Int128.h"

#include <limits>

namespace simulador {

namespace {

std::string agrupa(unsigned long long entero)
{
    std::string d = std::to_string(entero);
    std::string out;
    out.reserve(d.size() + d.size() / 3);
    const std::size_t primer = d.size() % 3 == 0 ? 3 : d.size() % 3;
    out.append(d, 0, primer);
    for (std::size_t i = primer; i < d.size(); i += 3) {
        out.push_back('.');
        out.append(d, i, 3);
    }
    return out;
}

unsigned long long absoluto(std::int64_t v)
{
    return v < 0 ? 0ULL - static_cast<unsigned long long>(v) : static_cast<unsigned long long>(v);
}

}  // namespace

std::string FormatoImporte(Money m)
{
    const std::int64_t c = Redondea(m).units() / 100;  // exact cents
    const unsigned long long a = absoluto(c);
    const unsigned cent = static_cast<unsigned>(a % 100);
    std::string s = (c < 0 ? "-" : "") + agrupa(a / 100) + ",";
    s.push_back(static_cast<char>('0' + cent / 10));
    s.push_back(static_cast<char>('0' + cent % 10));
    return s;
}

std::string FormatoResultado(Money m)
{
    return m.isZero() ? std::string() : FormatoImporte(m);
}

std::string FormatoFichero(Money m)
{
    const std::int64_t v = m.units();
    const unsigned long long a = absoluto(v);
    std::string s = (v < 0 ? "-" : "") + std::to_string(a / 10000);
    unsigned frac = static_cast<unsigned>(a % 10000);
    if (frac != 0) {
        std::string f = std::to_string(frac);
        f.insert(0, 4 - f.size(), '0');
        while (f.back() == '0')
            f.pop_back();
        s += "," + f;
    }
    return s;
}

std::string_view Recorta(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return s;
}

ImporteLeido LeeImporte(std::string_view texto, EstiloImporte estilo)
{
    std::string_view s = Recorta(texto);
    ImporteLeido r;
    if (s.empty())
        return r;
    bool neg = false;
    if (s.front() == '-' || s.front() == '+') {
        neg = s.front() == '-';
        s.remove_prefix(1);
    }
    char decimal = ',';
    char grupo = '.';
    if (estilo == EstiloImporte::Fichero) {
        grupo = '\0';  // no grouping in the file's records
        if (s.find(',') == std::string_view::npos)
            decimal = '.';
    }
    // Digits go into a 128-bit accumulator so that an over-long text is caught as out of
    // range rather than wrapping.
    Int128 entero = 0;
    std::int64_t frac = 0;
    int decimales = 0;
    int digitos = 0;
    bool enDecimales = false;
    bool ultimoFueGrupo = false;
    int restoDecimal = -1;  // first discarded digit beyond the fourth, for rounding
    bool restoMasAlla = false;
    const Int128 limite = static_cast<Int128>(std::numeric_limits<std::int64_t>::max()) * 10 + 9;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const char c = s[i];
        if (c >= '0' && c <= '9') {
            ++digitos;
            ultimoFueGrupo = false;
            if (!enDecimales) {
                if (entero <= limite)
                    entero = entero * 10 + (c - '0');
            } else if (decimales < 4) {
                frac = frac * 10 + (c - '0');
                ++decimales;
            } else if (restoDecimal < 0) {
                restoDecimal = c - '0';
            } else if (c != '0') {
                restoMasAlla = true;
            }
        } else if (c == decimal && !enDecimales) {
            if (ultimoFueGrupo)
                return r;
            enDecimales = true;
        } else if (grupo != '\0' && c == grupo && !enDecimales && digitos > 0 && !ultimoFueGrupo) {
            ultimoFueGrupo = true;
        } else {
            return r;
        }
    }
    if (digitos == 0 || ultimoFueGrupo)
        return r;
    while (decimales < 4) {
        frac *= 10;
        ++decimales;
    }
    Int128 v = entero * Money::kEscala + frac;
    if (restoDecimal > 5 || (restoDecimal == 5 && (restoMasAlla || (v % 2 != 0))))
        v += 1;
    if (neg)
        v = -v;
    if (entero > limite || v > std::numeric_limits<std::int64_t>::max() || v < std::numeric_limits<std::int64_t>::min()) {
        r.estado = Lectura::FueraDeRango;
        return r;
    }
    r.estado = Lectura::Correcto;
    r.valor = Money::fromUnits(static_cast<std::int64_t>(v));
    return r;
}

}  // namespace simulador
