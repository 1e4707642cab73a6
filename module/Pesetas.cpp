#include "Pesetas.h"

#include "Int128.h"
#include "TextoImporte.h"

namespace simulador {

std::string TextoPesetas(Money euros)
{
    // units are ten-thousandths of a euro, the rate is in thousandths of a peseta.
    const Int128 producto = static_cast<Int128>(euros.units()) * kPesetasPorEuroMiles;
    const Int128 divisor = static_cast<Int128>(Money::kEscala) * 1000;
    const bool negativo = producto < 0;
    const Int128 absoluto = negativo ? -producto : producto;
    const Int128 pesetas = (absoluto + divisor / 2) / divisor;  // halves away from zero
    if (pesetas == 0)
        return {};
    std::string d;
    for (Int128 p = pesetas; p > 0; p /= 10)
        d.insert(d.begin(), static_cast<char>('0' + static_cast<int>(p % 10)));
    std::string s = negativo ? "-" : "";
    const std::size_t primer = d.size() % 3 == 0 ? 3 : d.size() % 3;
    s.append(d, 0, primer);
    for (std::size_t i = primer; i < d.size(); i += 3)
        s.append(".").append(d, i, 3);
    // A last peseta of rounding noise from the euro conversion is dropped.
    if (s.size() >= 4) {
        const std::string_view cola = std::string_view(s).substr(s.size() - 3);
        if (cola == "001" || cola == "999")
            s.replace(s.size() - 3, 3, "000");
    }
    return s;
}

std::string PesetasDeTexto(std::string_view textoEuros)
{
    if (Recorta(textoEuros).empty())
        return std::string(textoEuros);
    const ImporteLeido l = LeeImporte(textoEuros, EstiloImporte::Pantalla);
    return l.ok() ? TextoPesetas(l.valor) : std::string(textoEuros);
}

}  // namespace simulador
