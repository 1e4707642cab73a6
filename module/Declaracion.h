// The declaration: everything the professional enters for one household, as one value.
//
// Miembros, Rentas, the item lists, the region, the name, the regional housing flag and
// the texts of the sheet's boxes 0-106. The engine reads it and never writes it, so the
// CLI, the tests and the screens can each keep their own copy.
#pragma once

#include "Money.h"

#include <array>
#include <cstdint>
#include <string>
#include <tuple>
#include <vector>

namespace simulador {

inline constexpr int kEjercicio = 2021;  // the tax year

// One member of the family unit. Entries of Miembros: 0 declarant, 1 spouse, 2-7 children
// one to six, 8 and 9 ascendants. A member exists when AnoNac > 0.
struct MiembroFam {
    std::int16_t Edad = 0;         // 2021 minus the birth year
    std::int16_t AnoNac = 0;       // birth year, 0 when none
    std::uint8_t Minusvalia = 0;   // disability percentage
    std::string Perceptor;         // "D", "C" or "": who applies the member's minimum
    std::string Fallecido;         // "Sí"/"No": died in the year (children)
    std::string Ayuda;             // "Sí"/"No": needs help of third persons
    std::uint8_t Convivencia = 0;  // persons sharing the minimum, 0 when not shared
    std::string Abono;             // "Sí"/"No": advance payment received
    auto campos() const { return std::tie(Edad, AnoNac, Minusvalia, Perceptor, Fallecido, Ayuda, Convivencia, Abono); }
    bool operator==(const MiembroFam &o) const { return campos() == o.campos(); }
    bool operator!=(const MiembroFam &o) const { return !(*this == o); }
};

// One person's income and reductions. Rentas: 0 totals (Σ fields), 1 declarant, 2 spouse.
struct DatosRenta {
    Money TrabIngresos, TrabGastos, TrabRetencion, TrabReduccion, TrabContribEmpresa;
    std::string TrabMovilidad, TrabOpcion2;
    Money InmIngresos, InmGastos, InmIntereses, InmRetencion;
    std::string InmLocal;
    Money InmValorCat1;
    std::string InmRevisado1;
    Money InmValorCat2;
    std::string InmRevisado2;
    Money DirIngresos, DirGastos, DirPagosFrac, DirRetencion;
    std::string DirRedRdtoNeto, DirRedEmprendedores;
    Money ModRdtoNeto, ModGastosExtra, ModPagosFrac, ModRetencion;
    Money AgrRdtoNeto, AgrGastosExtra, AgrPagosFrac, AgrRetencion;
    Money RedPlanPension, RedAnualidades, RedAnualidadHijos;
    Money Retribuciones;
    auto campos() const { return std::tie(TrabIngresos, TrabGastos, TrabRetencion, TrabReduccion, TrabContribEmpresa, TrabMovilidad,
                        TrabOpcion2, InmIngresos, InmGastos, InmIntereses, InmRetencion, InmLocal,
                        InmValorCat1, InmRevisado1, InmValorCat2, InmRevisado2, DirIngresos, DirGastos,
                        DirPagosFrac, DirRetencion, DirRedRdtoNeto, DirRedEmprendedores, ModRdtoNeto,
                        ModGastosExtra, ModPagosFrac, ModRetencion, AgrRdtoNeto, AgrGastosExtra,
                        AgrPagosFrac, AgrRetencion, RedPlanPension, RedAnualidades, RedAnualidadHijos,
                        Retribuciones); }
    bool operator==(const DatosRenta &o) const { return campos() == o.campos(); }
    bool operator!=(const DatosRenta &o) const { return !(*this == o); }
};

// A movable-capital item. Clase: I, D, T, O (savings), A, P, C (general).
struct DatosMobiliario {
    std::string Clase, Titular;  // Titular "D", "C", "A"; empty ends the list
    Money Ingreso, Gasto, Retencion, Reduccion;
    auto campos() const { return std::tie(Clase, Titular, Ingreso, Gasto, Retencion, Reduccion); }
    bool operator==(const DatosMobiliario &o) const { return campos() == o.campos(); }
    bool operator!=(const DatosMobiliario &o) const { return !(*this == o); }
};

// A capital gain or loss. Clase: I real estate, O other assets, A shares.
struct DatosGanancia {
    std::string Clase, Titular;
    std::string FechaAdquisicion;
    Money ValorAdquisicion;
    std::string FechaTransmision;
    Money ValorTransmision, ValorPatrimonio, Reinversion, Retencion, ImporteGeneral, ImporteAhorro;
    auto campos() const { return std::tie(Clase, Titular, FechaAdquisicion, ValorAdquisicion, FechaTransmision, ValorTransmision,
                        ValorPatrimonio, Reinversion, Retencion, ImporteGeneral, ImporteAhorro); }
    bool operator==(const DatosGanancia &o) const { return campos() == o.campos(); }
    bool operator!=(const DatosGanancia &o) const { return !(*this == o); }
};

// A deduction from the quota. Clase "A" to "G".
struct DatosDeduccion {
    std::string Clase, Titular;
    std::string FechaAdquisicion;
    Money Importe, PorcMinusvalia, PorcDeduccion;
    auto campos() const { return std::tie(Clase, Titular, FechaAdquisicion, Importe, PorcMinusvalia, PorcDeduccion); }
    bool operator==(const DatosDeduccion &o) const { return campos() == o.campos(); }
    bool operator!=(const DatosDeduccion &o) const { return !(*this == o); }
};

// The regional deductions list: kept in the file's layout, filled by no screen.
struct DatosAutonomica {
    std::string Texto1, Texto2;
    Money Importe1, Importe2, Importe3;
    auto campos() const { return std::tie(Texto1, Texto2, Importe1, Importe2, Importe3); }
    bool operator==(const DatosAutonomica &o) const { return campos() == o.campos(); }
    bool operator!=(const DatosAutonomica &o) const { return !(*this == o); }
};

inline constexpr int kNumCasillas = 109;        // boxes 0-108 of the sheet
inline constexpr int kCasillasTecleables = 107; // boxes 0-106 can hold a typed text

// A box as the sheet holds it: its display text ("1.234,56", "" for nothing) and whether
// it is an input (white) box, the only kind whose text the engine collects.
struct Casilla {
    std::string Texto;
    bool Entrada = false;
    auto campos() const { return std::tie(Texto, Entrada); }
    bool operator==(const Casilla &o) const { return campos() == o.campos(); }
    bool operator!=(const Casilla &o) const { return !(*this == o); }
};

struct Declaracion {
    Declaracion();

    std::array<MiembroFam, 10> Miembros;
    std::array<DatosRenta, 3> Rentas;
    std::vector<DatosMobiliario> ListaMobiliario;
    std::vector<DatosGanancia> ListaGanancias;
    std::vector<DatosDeduccion> ListaDeducciones;
    std::vector<DatosAutonomica> ListaAutonomicas;
    std::string Autonomia = "00";
    std::string Nombre;
    std::int16_t TramoVivienda = 0;
    std::array<Casilla, kCasillasTecleables> Casillas;  // kinds from the box table

    auto campos() const { return std::tie(Miembros, Rentas, ListaMobiliario, ListaGanancias, ListaDeducciones, ListaAutonomicas,
                        Autonomia, Nombre, TramoVivienda, Casillas); }
    bool operator==(const Declaracion &o) const { return campos() == o.campos(); }
    bool operator!=(const Declaracion &o) const { return !(*this == o); }
};

// The amounts of DatosRenta whose entry 0 of Rentas is the sum of entries 1 and 2 (Σ), in
// the order of the income screens. Loading a declaration rebuilds all of them. An income
// screen's save sums only those marked `alGuardar` and leaves entry 0 of the others as it
// was: DatosInm sums only the withholding, DatosDirecta the instalments and the withholding.
struct CampoSumado {
    Money DatosRenta::*campo;
    bool alGuardar;
};
// clang-format off
inline constexpr CampoSumado kCamposSumados[] = {
    {&DatosRenta::TrabIngresos, true}, {&DatosRenta::TrabGastos, true}, {&DatosRenta::TrabRetencion, true},
    {&DatosRenta::TrabReduccion, true}, {&DatosRenta::TrabContribEmpresa, true},
    {&DatosRenta::InmIngresos, false}, {&DatosRenta::InmGastos, false}, {&DatosRenta::InmIntereses, false},
    {&DatosRenta::InmRetencion, true},
    {&DatosRenta::DirIngresos, false}, {&DatosRenta::DirGastos, false}, {&DatosRenta::DirPagosFrac, true},
    {&DatosRenta::DirRetencion, true},
    {&DatosRenta::ModRdtoNeto, true}, {&DatosRenta::ModGastosExtra, true}, {&DatosRenta::ModPagosFrac, true},
    {&DatosRenta::ModRetencion, true},
    {&DatosRenta::AgrRdtoNeto, true}, {&DatosRenta::AgrGastosExtra, true}, {&DatosRenta::AgrPagosFrac, true},
    {&DatosRenta::AgrRetencion, true},
    {&DatosRenta::RedPlanPension, true}, {&DatosRenta::RedAnualidades, true}, {&DatosRenta::RedAnualidadHijos, true},
};
// clang-format on

// The entry of kCamposSumados for `campo`, nullptr when its entry 0 is no sum.
const CampoSumado *BuscaSumado(Money DatosRenta::*campo);

// Entry 0 of TrabMovilidad and TrabOpcion2: "Sí" when a person with employment income has
// "Sí" there, "No" otherwise, as the employment screen stores it.
void RehaceSiNoTrabajo(std::array<DatosRenta, 3> &rentas);

// Rebuilds entry 0 of Rentas from entries 1 and 2, as loading a saved declaration does:
// every sum of kCamposSumados, and RehaceSiNoTrabajo.
void RehaceTotales(Declaracion &d);

}  // namespace simulador
