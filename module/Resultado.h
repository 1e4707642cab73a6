// What a run of the liquidation fills: one amount per box of the sheet, and a liquidation as
// the command line writes it and the PDF prints it (the mode and its boxes).
#pragma once

#include "Declaracion.h"
#include "Modalidad.h"
#include "Money.h"

#include <array>

namespace simulador {

using Resultado = std::array<Money, kNumCasillas>;

struct Liquidacion {
    Modalidad modalidad;
    Resultado casillas;
};

}  // namespace simulador
