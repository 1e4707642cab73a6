// The 2021 tax scales: the state scale and the fifteen regional scales, with the bracket
// lookup. The scales are constants; "loading" them only picks the region's table, so the
// engine needs no module state.
#pragma once

#include "Comunidades.h"
#include "Money.h"

#include <string>
#include <string_view>

namespace simulador {

// One bracket: the base from which it applies, the quota on that base, the marginal rate (%).
struct Tramo {
    Money corte;
    Money cuota;
    Money tipo;
};

// A scale: brackets in descending order of cut point, the last one starting at 0.
struct Escala {
    const Tramo *tramos;
    int numTramos;
};

// The pair of scales of one liquidation.
struct Escalas {
    Escala estatal;
    Escala autonomica;
    Comunidad comunidad = Comunidad::Ninguna;  // whose scale `autonomica` is; Ninguna: the default one
};

// The state scale and the scale of the region `Autonomia` ("01"-"17"); any other code,
// "00" and the empty text included, takes the default regional scale.
Escalas CargaTablas(std::string_view Autonomia);

// The bracket of `base`: selector "E" searches the state scale, any other the regional one.
// A base equal to a cut point falls in the bracket that starts there; a negative base
// finds none and gets zeros.
Tramo BuscaTramo(const Escalas &escalas, std::string_view selector, Money base);

// The scale "E" names (the state one) or the regional one; the row of the bracket of `base`
// in it, or numTramos when there is none (a negative base).
const Escala &EscalaDe(const Escalas &escalas, std::string_view selector);
int FilaDeTramo(const Escala &e, Money base);
// "Tramo 2 de la escala estatal: 12.450,00 a 20.200,00 al 12 %": the bracket of row `fila`
// in words. Brackets count from the bottom one, as the law lists them.
std::string TextoTramo(const Escalas &escalas, std::string_view selector, int fila);

// The quota of `base` under one scale: q + Redondea((b − c) × t / 100), the product exact
// in money, the division by 100 in double.
Money Cuota(const Escalas &escalas, std::string_view selector, Money base);

}  // namespace simulador
