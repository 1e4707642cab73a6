// Joint or individual filing: the three liquidations of a household side by side and
// which option costs less.
#pragma once

#include "Liquidar.h"

#include <string>

namespace simulador {

enum class Mejor { Conjunta, Individual, Igual };

// The figures a professional compares, from one liquidation's boxes.
struct ResumenLiquidacion {
    Money baseGeneral;    // box 34, general liquid base
    Money baseAhorro;     // box 62, savings liquid base
    Money cuotaIntegra;   // boxes 73 + 74
    Money cuotaLiquida;   // boxes 88 + 89
    Money retenciones;    // box 105
    Money resultado;      // box 106, "RESULTADO DECLARACIÓN"
};

// The rows in which every comparison is shown (window, command line): caption, figure and
// the key the command line's json gives it.
struct FilaResumen {
    const char *concepto;
    Money ResumenLiquidacion::*campo;
    const char *clave;
};
inline constexpr FilaResumen kFilasResumen[] = {
    {"Base liquidable general", &ResumenLiquidacion::baseGeneral, "base_general"},
    {"Base liquidable del ahorro", &ResumenLiquidacion::baseAhorro, "base_ahorro"},
    {"Cuota íntegra", &ResumenLiquidacion::cuotaIntegra, "cuota_integra"},
    {"Cuota líquida", &ResumenLiquidacion::cuotaLiquida, "cuota_liquida"},
    {"Retenciones y pagos a cuenta", &ResumenLiquidacion::retenciones, "retenciones"},
    {"RESULTADO DECLARACIÓN", &ResumenLiquidacion::resultado, "resultado"},
};

ResumenLiquidacion Resume(const Resultado &r);
ResumenLiquidacion Suma(const ResumenLiquidacion &a, const ResumenLiquidacion &b);

struct Comparativa {
    bool ok = true;
    std::string mensaje;          // the engine's message when a liquidation fails
    bool hayConyuge = false;      // without a spouse only the joint and the declarant's apply
    Resultado conjunta{}, declarante{}, conyuge{};
    ResumenLiquidacion resumenConjunta, resumenDeclarante, resumenConyuge, resumenIndividual;
    Mejor mejor = Mejor::Igual;
    Money diferencia;             // what the better option saves, never negative
    std::string veredicto;        // one Spanish sentence
};

// Runs the three liquidations (each with its pre-runs, as the sheet would) and compares
// the joint result with the declarant's plus the spouse's (or the declarant's alone).
Comparativa Compara(const Declaracion &d);

const char *NombreMejor(Mejor m);  // "CONJUNTA", "INDIVIDUAL", "IGUAL"

}  // namespace simulador
