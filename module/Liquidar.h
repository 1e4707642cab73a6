// The liquidation engine: the household, its income and the typed boxes in, the 109
// boxes of the sheet out. Pure functions of the declaration; nothing is kept between runs.
#pragma once

#include "Declaracion.h"
#include "Escalas.h"
#include "LecturaCasillas.h"
#include "Modalidad.h"
#include "Money.h"
#include "Resultado.h"

#include <array>
#include <cstdint>
#include <string>

namespace simulador {

// One run of the liquidation in `modalidad`. `DeduccionConyuge` goes to box 94.
// Throws ErrorCasilla for a typed text that is not an amount and ErrorImporte when an amount
// leaves the money type's range.
void Liquidar(const Declaracion &d, Modalidad modalidad, Resultado &resultado, Money DeduccionConyuge);

// The itemised lists, added into the boxes of a run (the engine hands them zeroed boxes).
void CalculaMobiliario(const Declaracion &d, Modalidad modalidad, Resultado &r);
void CalculaGanancias(const Declaracion &d, Modalidad modalidad, Resultado &r);
// `vivienda` receives every main-residence amount after its limit.
void CalculaDeducciones(const Declaracion &d, Modalidad modalidad, Resultado &r, Money &vivienda);

// The savings scale, the same for the state and the regional half.
Money CuotaAhorro(Money base);

// What the sheet shows after a confirmed change: the pre-runs for a disabled spouse or
// declarant, then the run in `modalidad`. Failure comes back as a value.
struct Calculo {
    Resultado resultado{};
    bool ok = true;
    int casilla = -1;        // the box at fault, -1 when the failure is not a box's
    std::string mensaje;     // in Spanish, ready for a message box or standard error
};

// The message of a liquidation whose amounts leave the money type's range.
inline constexpr const char *kMensajeFueraDeRango = "Importe fuera de rango: la liquidación no cabe en el tipo de importe.";

// The disabled-spouse deduction of box 94 for a run in `modalidad` (0 or a multiple of 1200).
Money DeduccionDiscapacitados(const Declaracion &d, Modalidad modalidad);

Calculo Recalcular(const Declaracion &d, Modalidad modalidad);

}  // namespace simulador
