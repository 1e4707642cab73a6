// Joint or individual filing: the three liquidations of a household side by side and
// which option costs less.
//
// The typed (white) boxes of the sheet hold amounts of the household as a whole, not of one
// person: the sheet applies them in full to whichever liquidation it shows. Adding two
// individual runs that each took them in full would count them twice (a maternity deduction
// of 1.200 in box 84 would make individual filing look 1.200 better than it is), so in the
// comparison each typed box counts once on the individual side, in the declarant's run, in
// the spouse's or half in each, as a Reparto says. The joint run takes them in full, as on
// the sheet.
#pragma once

#include "Liquidar.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

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

// Who takes a typed box in the individual liquidations of a comparison.
enum class Parte { Declarante, Conyuge, Mitad };

const char *NombreParte(Parte p);  // "Declarante", "Cónyuge", "A partes iguales"
char LetraParte(Parte p);          // 'D', 'C', 'M'

// The share of each typed box; every box is the declarant's until chosen otherwise.
class Reparto {
public:
    Parte parte(int casilla) const;
    // False, and nothing changes, for a box that is not an input box of the sheet.
    bool asigna(int casilla, Parte p);
    bool operator==(const Reparto &o) const { return m_partes == o.m_partes; }
    bool operator!=(const Reparto &o) const { return !(*this == o); }

private:
    std::array<Parte, kCasillasTecleables> m_partes{};  // value-initialised: Declarante
};

// "84=C" (box, then D, C or M) into `reparto`. An empty text when taken; otherwise a Spanish
// sentence saying what is wrong, and `reparto` is left as it was.
std::string LeeReparto(std::string_view texto, Reparto &reparto);

// A typed box holding an amount other than zero, and the share it was compared with.
struct CasillaRepartida {
    int numero;
    Money importe;
    Parte parte;
};

struct Comparativa {
    bool ok = true;
    std::string mensaje;          // the engine's message when a liquidation fails
    bool hayConyuge = false;      // without a spouse only the joint and the declarant's apply
    Resultado conjunta{}, declarante{}, conyuge{};
    ResumenLiquidacion resumenConjunta, resumenDeclarante, resumenConyuge, resumenIndividual;
    // The typed boxes with an amount, in box order, and how they were shared out (all the
    // declarant's without a spouse: there is no other individual return to take them).
    std::vector<CasillaRepartida> tecleadas;
    Mejor mejor = Mejor::Igual;
    Money diferencia;             // what the better option saves, never negative
    std::string veredicto;        // one Spanish sentence
};

// Runs the three liquidations (each with its pre-runs, as the sheet would) and compares
// the joint result with the declarant's plus the spouse's (or the declarant's alone). The
// declarant's and the spouse's runs take the typed boxes as `reparto` shares them out.
Comparativa Compara(const Declaracion &d, const Reparto &reparto = Reparto());

const char *NombreMejor(Mejor m);  // "CONJUNTA", "INDIVIDUAL", "IGUAL"

}  // namespace simulador
