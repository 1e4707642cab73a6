#include "ConversorEuro.h"

#include "TextoImporte.h"

#include <cmath>

namespace simulador {

namespace {

// The other box's text for a box's text: the converter reads "0" followed by the text, so
// an empty box is 0; no amount, or no result in range, gives an empty box.
std::string convierteCaja(std::string_view texto, Money (*convierte)(Money), std::string (*formato)(Money))
{
    const ImporteLeido leido =
        Recorta(texto).empty() ? ImporteLeido{Lectura::Correcto, Money()} : LeeImporte(texto, EstiloImporte::Pantalla);
    if (!leido.ok())
        return {};
    try {
        return formato(convierte(leido.valor));
    } catch (const ErrorImporte &) {
        return {};
    }
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
    return convierteCaja(textoPesetas, PtaToEu, FormatoImporte);
}

std::string PesetasDeTextoEuros(std::string_view textoEuros)
{
    return convierteCaja(textoEuros, EuToPta, FormatoPesetas);
}

}  // namespace simulador
