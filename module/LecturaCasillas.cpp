#include "LecturaCasillas.h"

#include "TextoImporte.h"

namespace simulador {

namespace {

// Box n's text read as the sheet shows amounts; false when it is blank.
bool lee(const Declaracion &d, int n, ImporteLeido &leido)
{
    const std::string &texto = d.Casillas[n].Texto;
    if (Recorta(texto).empty())
        return false;
    leido = LeeImporte(texto, EstiloImporte::Pantalla);
    return true;
}

std::string mensaje(const Declaracion &d, int n, Lectura estado)
{
    const std::string &texto = d.Casillas[n].Texto;
    if (estado == Lectura::FueraDeRango)
        return "Importe fuera de rango en la casilla " + std::to_string(n) + ": «" + texto + "».";
    return "La casilla " + std::to_string(n) + " no contiene un importe válido: «" + texto + "».";
}

}  // namespace

bool LeeCasilla(const Declaracion &d, int n, Money &valor)
{
    ImporteLeido l;
    if (!lee(d, n, l))
        return false;
    if (!l.ok())
        throw ErrorCasilla(n, mensaje(d, n, l.estado));
    valor = l.valor;
    return true;
}

std::optional<CasillaIlegible> CompruebaCasillas(const Declaracion &d)
{
    auto ilegible = [&d](int n) -> std::optional<CasillaIlegible> {
        ImporteLeido l;
        if (lee(d, n, l) && !l.ok())
            return CasillaIlegible{n, mensaje(d, n, l.estado)};
        return std::nullopt;
    };
    for (int n = 0; n < kCasillasTecleables; ++n) {
        if (d.Casillas[n].Entrada) {
            if (auto f = ilegible(n))
                return f;
        }
    }
    for (int n : {21, 22, 95, 84}) {
        if (auto f = ilegible(n))
            return f;
    }
    return std::nullopt;
}

}  // namespace simulador
