#include "ConversorEuro.h"

#include "TextoImporte.h"

#include <cmath>

namespace simulador {

namespace {

// The value of a box: the converter reads "0" followed by the text, so an empty box is 0.
ImporteLeido valorCaja(std::string_view texto)
{
    if (Recorta(texto).empty()) {
        ImporteLeido cero;
        cero.estado = Lectura::Correcto;
        return cero;
    }
    return LeeImporte(texto, EstiloImporte::Pantalla);
}

}  // namespace

Money EuToPta(Money euros)
{
    return Money::fromDouble(std::floor(euros.toDouble() * kPesetasPorEuro + 0.5));
}

Money PtaToEu(Money pesetas)
{
    // std::round is the mask's rounding: halves away from zero, on the double quotient.
    const double centimos = std::round(pesetas.toDouble() / kPesetasPorEuro * 100.0);
    return Money::fromDouble(centimos / 100.0);
}

std::string FormatoPesetas(Money pesetas)
{
    // Whole units, halves away from zero: Redondea works in cents, so round the cents to
    // units the same way by hand.
    std::int64_t v = pesetas.units();
    const std::int64_t resto = v % Money::kEscala;
    v -= resto;
    if (resto >= Money::kEscala / 2)
        v += Money::kEscala;
    else if (resto <= -Money::kEscala / 2)
        v -= Money::kEscala;
    std::string s = FormatoImporte(Money::fromUnits(v));  // exact: no cents left
    s.resize(s.size() - 3);                              // drop ",00"
    return s == "-0" ? "0" : s;
}

std::string EurosDeTextoPesetas(std::string_view textoPesetas)
{
    const ImporteLeido p = valorCaja(textoPesetas);
    if (!p.ok())
        return {};
    try {
        return FormatoImporte(PtaToEu(p.valor));
    } catch (const ErrorImporte &) {
        return {};
    }
}

std::string PesetasDeTextoEuros(std::string_view textoEuros)
{
    const ImporteLeido e = valorCaja(textoEuros);
    if (!e.ok())
        return {};
    try {
        return FormatoPesetas(EuToPta(e.valor));
    } catch (const ErrorImporte &) {
        return {};
    }
}

}  // namespace simulador
