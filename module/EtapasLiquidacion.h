// What the liquidation's stages share between their files (Liquidar.cpp, the income stages
// in EtapasRendimientos.cpp, the minimum and the quotas in EtapasCuotas.cpp): the persons a
// run reads, how the family screen names a member, and the two groups of stages.
#pragma once

#include "Etapas.h"
#include "Formularios.h"

#include <string>
#include <string_view>

namespace simulador::liquidacion {

using R = DatosRenta;

// The persons whose own records a stage reads: 1 declarant, 2 spouse.
struct Personas {
    int lista[2];
    int n;
};

inline Personas personasDe(Modalidad modo)
{
    if (modo == Modalidad::Conjunta)
        return {{1, 2}, 2};
    return {{modo == Modalidad::Declarante ? 1 : 2, 0}, 1};
}

inline const char *letraDe(Modalidad modo) { return modo == Modalidad::Declarante ? "D" : (modo == Modalidad::Conyuge ? "C" : ""); }

inline bool existe(const MiembroFam &m) { return m.AnoNac > 0; }

// The parent a child's minimum goes to. Anything else, read from a file, counts as empty,
// as the family screen leaves it: shared between both parents.
inline bool esPerceptor(const std::string &p) { return p == std::string_view("D") || p == std::string_view("C"); }

// "Hijo 2º (nacido en 2012)": a member as the family screen names it.
inline std::string miembro(const Declaracion &d, int k)
{
    return std::string(FilasUnidadFam()[static_cast<std::size_t>(k)]) + " (nacido en " +
           std::to_string(d.Miembros[static_cast<std::size_t>(k)].AnoNac) + ")";
}

inline std::string conDiscapacidad(int minusvalia) { return "con discapacidad del " + std::to_string(minusvalia) + " %"; }

// Stages 3 to 8: real estate, activities, employment, the general base and its reductions.
template <class V>
void RendimientosT(const Declaracion &d, Modalidad modo, const Personas &p, Cajas<V> &r);
// Stages 9 to 11: the personal and family minimum, the savings base and the quotas.
template <class V>
void MinimosYCuotasT(const Declaracion &d, Modalidad modo, const Escalas &e, Cajas<V> &r);

}  // namespace simulador::liquidacion
