// The legal figures of the 2021 liquidation: every amount and rate the stages apply, each
// with what it is and the rule it comes from, so that an explanation of a box can say
// "Límite de 8.000 € (art. 52 LIRPF)" from the very constant the engine computes with.
//
// LIRPF is Ley 35/2006 del IRPF; DT is one of its transitional provisions. A regional figure
// names the regional law that sets it. The figures are the ones the liquidation applies,
// which is not always the wording of the law in force for 2021; the article says where the
// rule lives. The bracket scales are in Escalas.cpp; the box numbers and the arithmetic of
// the stages (halves, shares, the one-euro step of the donation cut) are not legal figures.
#pragma once

#include "Money.h"

#include <cstdint>
#include <string_view>

namespace simulador {

// Whole euros and cents as constants the compiler folds.
constexpr Money Euros(std::int64_t e) { return Money::fromUnits(e * Money::kEscala); }
constexpr Money Centimos(std::int64_t c) { return Money::fromUnits(c * (Money::kEscala / 100)); }

// An amount of the rules. It is the Money itself, so the stages write `min(kX, N)` or
// `kX - Redondea(...)`, and it also says what it is and where the law sets it.
struct Cifra : Money {
    std::string_view concepto;
    std::string_view articulo;

    constexpr Cifra(Money valor, std::string_view c, std::string_view a) : Money(valor), concepto(c), articulo(a) {}
    constexpr Money valor() const { return *this; }
};

// A rate, percentage or coefficient of the rules, as the factor that multiplies an amount
// (0.6 for 60 %). It converts to that double wherever the stages multiply.
struct Coeficiente {
    double valor;
    std::string_view concepto;
    std::string_view articulo;

    constexpr operator double() const { return valor; }
};

// --- Employment income ---------------------------------------------------------------------
inline constexpr Cifra kOtrosGastosTrabajo{
    Euros(2000), "Otros gastos deducibles de los rendimientos del trabajo", "art. 19.2.f) LIRPF"};
inline constexpr Cifra kGastosTrabajoDiscapacidad{
    Euros(3500), "Incremento de otros gastos por trabajador activo con discapacidad", "art. 19.2.f) LIRPF"};
inline constexpr Cifra kGastosTrabajoDiscapacidad65{
    Euros(7750), "Incremento de otros gastos por trabajador activo con discapacidad igual o superior al 65 %",
    "art. 19.2.f) LIRPF"};
inline constexpr Cifra kReduccionTrabajo{
    Euros(5565), "Reducción por obtención de rendimientos netos del trabajo", "art. 20 LIRPF"};
inline constexpr Cifra kReduccionTrabajoPlenaHasta{
    Euros(13115), "Rendimiento neto del trabajo hasta el que la reducción es la máxima", "art. 20 LIRPF"};
inline constexpr Cifra kReduccionTrabajoHasta{
    Euros(16825), "Rendimiento neto del trabajo hasta el que hay reducción", "art. 20 LIRPF"};
inline constexpr Cifra kReduccionTrabajoOtrasRentas{
    Euros(6500), "Rentas distintas de las del trabajo por encima de las cuales no hay reducción", "art. 20 LIRPF"};
inline constexpr Coeficiente kReduccionTrabajoCoeficiente{
    1.5, "Disminución de la reducción por euro de rendimiento neto del trabajo", "art. 20 LIRPF"};

// --- Activities in direct estimation -------------------------------------------------------
// The economically dependent activity: a general amount, an additional one for low net
// income and the increase for disability.
inline constexpr Cifra kReduccionActividadDependiente{
    Euros(2000), "Reducción del rendimiento neto de la actividad económica dependiente", "art. 32.2 LIRPF"};
inline constexpr Cifra kReduccionActividadAdicional{
    Euros(3700), "Reducción adicional por rendimiento neto de la actividad dependiente bajo", "art. 32.2 LIRPF"};
inline constexpr Cifra kReduccionActividadPlenaHasta{
    Euros(11250), "Rendimiento neto de la actividad hasta el que la reducción adicional es la máxima",
    "art. 32.2 LIRPF"};
inline constexpr Cifra kReduccionActividadHasta{
    Euros(14450), "Rendimiento neto de la actividad hasta el que hay reducción adicional", "art. 32.2 LIRPF"};
inline constexpr Cifra kReduccionActividadOtrasRentas{
    Euros(6500), "Rentas distintas de las de la actividad por encima de las cuales no hay reducción adicional",
    "art. 32.2 LIRPF"};
inline constexpr Coeficiente kReduccionActividadCoeficiente{
    1.15625, "Disminución de la reducción adicional por euro de rendimiento neto", "art. 32.2 LIRPF"};
inline constexpr Cifra kReduccionActividadDiscapacidad{
    Euros(3500), "Incremento de la reducción por actividad dependiente con discapacidad", "art. 32.2 LIRPF"};
inline constexpr Cifra kReduccionActividadDiscapacidad65{
    Euros(7750), "Incremento de la reducción por actividad dependiente con discapacidad igual o superior al 65 %",
    "art. 32.2 LIRPF"};

// Taxpayers with activity income whose income in all stays below 12000.
inline constexpr Cifra kReduccionRentasBajas{
    Euros(1620), "Reducción del rendimiento de actividades por rentas no exentas inferiores a 12.000 €",
    "art. 32.2.3º LIRPF"};
inline constexpr Cifra kReduccionRentasBajasPlenaHasta{
    Euros(8000), "Rentas hasta las que la reducción por rentas bajas es la máxima", "art. 32.2.3º LIRPF"};
inline constexpr Cifra kReduccionRentasBajasHasta{
    Euros(12000), "Rentas desde las que no hay reducción por rentas bajas", "art. 32.2.3º LIRPF"};
inline constexpr Coeficiente kReduccionRentasBajasCoeficiente{
    0.405, "Disminución de la reducción por euro de renta por encima de 8.000 €", "art. 32.2.3º LIRPF"};
inline constexpr Cifra kReduccionRentasBajasLimite{
    Euros(3700), "Límite conjunto de la reducción por rentas bajas y la de rendimientos del trabajo",
    "art. 32.2.3º LIRPF"};

inline constexpr Coeficiente kReduccionInicioActividad{
    0.2, "Reducción del rendimiento neto por inicio de una actividad económica", "art. 32.3 LIRPF"};
inline constexpr Cifra kReduccionInicioActividadLimite{
    Euros(100000), "Rendimiento neto máximo con reducción por inicio de actividad", "art. 32.3 LIRPF"};

// --- Real estate ---------------------------------------------------------------------------
inline constexpr Coeficiente kImputacionCatastral{
    0.02, "Imputación de rentas inmobiliarias sobre el valor catastral", "art. 85.1 LIRPF"};
inline constexpr Coeficiente kImputacionCatastralRevisado{
    0.011, "Imputación de rentas inmobiliarias sobre un valor catastral revisado", "art. 85.1 LIRPF"};
inline constexpr Coeficiente kReduccionAlquilerVivienda{
    0.6, "Reducción del rendimiento neto del arrendamiento de vivienda", "art. 23.2 LIRPF"};

// --- Bases ---------------------------------------------------------------------------------
inline constexpr Coeficiente kCompensacionBaseGeneral{
    0.25, "Límite de compensación del saldo negativo de ganancias con el de rendimientos", "art. 48 LIRPF"};
inline constexpr Coeficiente kCompensacionBaseAhorro{
    0.25, "Límite de compensación entre rendimientos y ganancias de la base del ahorro", "art. 49 LIRPF"};

// --- Reductions of the base ----------------------------------------------------------------
inline constexpr Cifra kReduccionTributacionConjunta{
    Euros(3400), "Reducción por tributación conjunta", "art. 84.2 LIRPF"};
inline constexpr Cifra kReduccionConjuntaMonoparental{
    Euros(2150), "Reducción por tributación conjunta de la unidad familiar monoparental", "art. 84.2 LIRPF"};
inline constexpr Cifra kLimitePlanesPensiones{
    Euros(8000), "Límite de la reducción por aportaciones a planes de pensiones", "art. 52 LIRPF"};
inline constexpr Coeficiente kLimitePlanesRendimientos{
    0.3, "Límite de la reducción por planes de pensiones sobre los rendimientos del trabajo y de actividades",
    "art. 52 LIRPF"};
inline constexpr Cifra kLimitePlanesDiscapacidad{
    Euros(24250), "Límite de la reducción por aportaciones de personas con discapacidad", "art. 53 LIRPF"};

// --- Personal and family minimum (state) ---------------------------------------------------
inline constexpr Cifra kMinimoContribuyente{Euros(5550), "Mínimo del contribuyente", "art. 57 LIRPF"};
inline constexpr Cifra kMinimoMayor65{
    Euros(1150), "Incremento del mínimo por edad superior a 65 años", "arts. 57 y 59 LIRPF"};
inline constexpr Cifra kMinimoMayor75{
    Euros(1400), "Incremento del mínimo por edad superior a 75 años", "arts. 57 y 59 LIRPF"};
inline constexpr Cifra kMinimoDescendiente1{Euros(2400), "Mínimo por el primer descendiente", "art. 58 LIRPF"};
inline constexpr Cifra kMinimoDescendiente2{Euros(2700), "Mínimo por el segundo descendiente", "art. 58 LIRPF"};
inline constexpr Cifra kMinimoDescendiente3{Euros(4000), "Mínimo por el tercer descendiente", "art. 58 LIRPF"};
inline constexpr Cifra kMinimoDescendiente4{
    Euros(4500), "Mínimo por el cuarto descendiente y siguientes", "art. 58 LIRPF"};
inline constexpr Cifra kMinimoDescendienteFallecido{
    Euros(2400), "Mínimo por un descendiente fallecido en el período", "art. 58 LIRPF"};
inline constexpr Cifra kMinimoMenor3{
    Euros(2800), "Incremento del mínimo por descendiente menor de tres años", "art. 58 LIRPF"};
inline constexpr Cifra kMinimoDiscapacidad{
    Euros(3000), "Mínimo por discapacidad igual o superior al 33 %", "art. 60 LIRPF"};
inline constexpr Cifra kMinimoDiscapacidad65{
    Euros(9000), "Mínimo por discapacidad igual o superior al 65 %", "art. 60 LIRPF"};
inline constexpr Cifra kMinimoGastosAsistencia{
    Euros(3000), "Incremento del mínimo por discapacidad en concepto de gastos de asistencia", "art. 60 LIRPF"};

// --- Personal and family minimum (regional amounts) ----------------------------------------
inline constexpr Cifra kMinimoContribuyenteBaleares{
    Euros(6105), "Mínimo del contribuyente en Illes Balears", "art. 2 DLeg. 1/2014 de Illes Balears"};
inline constexpr Cifra kMinimoMayor65Baleares{
    Euros(1265), "Incremento del mínimo por edad superior a 65 años en Illes Balears",
    "art. 2 DLeg. 1/2014 de Illes Balears"};
inline constexpr Cifra kMinimoMayor75Baleares{
    Euros(1540), "Incremento del mínimo por edad superior a 75 años en Illes Balears",
    "art. 2 DLeg. 1/2014 de Illes Balears"};
inline constexpr Cifra kMinimoContribuyenteCatalunya{
    Euros(6105), "Mínimo del contribuyente en Catalunya con bases liquidables de hasta 12.450 €",
    "art. 88 Ley 5/2020 de Catalunya"};
inline constexpr Cifra kMinimoCatalunyaBaseHasta{
    Euros(12450), "Suma de bases liquidables hasta la que se aplica el mínimo incrementado de Catalunya",
    "art. 88 Ley 5/2020 de Catalunya"};
inline constexpr Cifra kMinimoDescendiente3Autonomico{
    Euros(4400), "Mínimo autonómico por el tercer descendiente (Madrid, Illes Balears)",
    "art. 2 DLeg. 1/2010 de Madrid; art. 2 DLeg. 1/2014 de Illes Balears"};
inline constexpr Cifra kMinimoDescendiente4Autonomico{
    Euros(4950), "Mínimo autonómico por el cuarto descendiente y siguientes (Madrid, Illes Balears)",
    "art. 2 DLeg. 1/2010 de Madrid; art. 2 DLeg. 1/2014 de Illes Balears"};
inline constexpr Cifra kMinimoDiscapacidadAutonomico{
    Euros(3300), "Mínimo autonómico por discapacidad igual o superior al 33 % (Illes Balears, La Rioja)",
    "art. 2 DLeg. 1/2014 de Illes Balears; art. 31 bis Ley 10/2017 de La Rioja"};
inline constexpr Cifra kMinimoDiscapacidad65Autonomico{
    Euros(9900), "Mínimo autonómico por discapacidad igual o superior al 65 % (Illes Balears, La Rioja)",
    "art. 2 DLeg. 1/2014 de Illes Balears; art. 31 bis Ley 10/2017 de La Rioja"};
inline constexpr Cifra kMinimoGastosAsistenciaBaleares{
    Euros(3300), "Incremento del mínimo por gastos de asistencia en Illes Balears",
    "art. 2 DLeg. 1/2014 de Illes Balears"};

// --- Family deductions paid as negative tax ------------------------------------------------
inline constexpr Cifra kDeduccionDescendienteDiscapacidad{
    Euros(1200), "Deducción por descendiente con discapacidad a cargo", "art. 81 bis LIRPF"};
inline constexpr Cifra kDeduccionAscendienteDiscapacidad{
    Euros(1200), "Deducción por ascendiente con discapacidad a cargo", "art. 81 bis LIRPF"};
inline constexpr Cifra kDeduccionConyugeDiscapacidad{
    Euros(1200), "Deducción por cónyuge con discapacidad a cargo", "art. 81 bis LIRPF"};
inline constexpr Cifra kDeduccionConyugeRentaHasta{
    Euros(8000), "Rentas anuales máximas del cónyuge con discapacidad a cargo", "art. 81 bis LIRPF"};

// --- Quotas --------------------------------------------------------------------------------
inline constexpr Cifra kMinimoAnualidadesHijos{
    Euros(1980), "Incremento del mínimo al gravar aparte las anualidades por alimentos a los hijos",
    "arts. 64 y 75 LIRPF"};

// The savings scale, the same for the state and the regional half: the rate of each bracket,
// the limits between brackets and the quota on each limit.
inline constexpr Coeficiente kAhorroTipo1{
    0.095, "Tipo del primer tramo de la escala del ahorro", "arts. 66 y 76 LIRPF"};
inline constexpr Coeficiente kAhorroTipo2{
    0.105, "Tipo del segundo tramo de la escala del ahorro", "arts. 66 y 76 LIRPF"};
inline constexpr Coeficiente kAhorroTipo3{
    0.115, "Tipo del tercer tramo de la escala del ahorro", "arts. 66 y 76 LIRPF"};
inline constexpr Coeficiente kAhorroTipo4{
    0.13, "Tipo del cuarto tramo de la escala del ahorro", "arts. 66 y 76 LIRPF"};
inline constexpr Cifra kAhorroLimite1{
    Euros(6000), "Final del primer tramo de la escala del ahorro", "arts. 66 y 76 LIRPF"};
inline constexpr Cifra kAhorroLimite2{
    Euros(50000), "Final del segundo tramo de la escala del ahorro", "arts. 66 y 76 LIRPF"};
inline constexpr Cifra kAhorroLimite3{
    Euros(200000), "Final del tercer tramo de la escala del ahorro", "arts. 66 y 76 LIRPF"};
inline constexpr Cifra kAhorroCuota1{
    Euros(570), "Cuota de la escala del ahorro al final del primer tramo", "arts. 66 y 76 LIRPF"};
inline constexpr Cifra kAhorroCuota2{
    Euros(5190), "Cuota de la escala del ahorro al final del segundo tramo", "arts. 66 y 76 LIRPF"};
inline constexpr Cifra kAhorroCuota3{
    Euros(22440), "Cuota de la escala del ahorro al final del tercer tramo", "arts. 66 y 76 LIRPF"};

// --- Deductions in the quota ---------------------------------------------------------------
inline constexpr Coeficiente kLimiteBaseDeducciones{
    0.1, "Límite de la base de las deducciones por donativos y por bienes de interés cultural",
    "art. 69.1 LIRPF"};
inline constexpr Coeficiente kLimiteBaseMecenazgo{
    0.15, "Límite de la base de los donativos a actividades prioritarias de mecenazgo",
    "art. 69.1 LIRPF y art. 22 Ley 49/2002"};
inline constexpr Coeficiente kDeduccionBienesCulturales{
    0.15, "Deducción por inversión en bienes de interés cultural", "art. 68.5 LIRPF"};

// Donations: the first 150 euros of all of them together at the higher rate. Multi-year
// donations (repeated to the same entity) keep a higher rate on the rest.
inline constexpr Cifra kDonativosPrimerTramo{
    Euros(150), "Donativos con el porcentaje de deducción incrementado", "art. 19 Ley 49/2002"};
inline constexpr Coeficiente kMecenazgoPrimerTramo{
    0.8, "Deducción por donativos a actividades prioritarias de mecenazgo, primer tramo",
    "arts. 19 y 22 Ley 49/2002"};
inline constexpr Coeficiente kMecenazgoRestoPlurianual{
    0.4, "Deducción por donativos plurianuales a actividades prioritarias de mecenazgo, resto",
    "arts. 19 y 22 Ley 49/2002"};
inline constexpr Coeficiente kMecenazgoResto{
    0.35, "Deducción por donativos a actividades prioritarias de mecenazgo, resto", "arts. 19 y 22 Ley 49/2002"};
inline constexpr Coeficiente kDonativoPrimerTramo{
    0.75, "Deducción por donativos a entidades de la Ley 49/2002, primer tramo", "art. 19 Ley 49/2002"};
inline constexpr Coeficiente kDonativoRestoPlurianual{
    0.35, "Deducción por donativos plurianuales a entidades de la Ley 49/2002, resto", "art. 19 Ley 49/2002"};
inline constexpr Coeficiente kDonativoResto{
    0.3, "Deducción por donativos a entidades de la Ley 49/2002, resto", "art. 19 Ley 49/2002"};

// Rent of the main residence, for contracts from before 2015.
inline constexpr Coeficiente kDeduccionAlquiler{
    0.1005, "Deducción por alquiler de la vivienda habitual", "DT 15ª LIRPF"};
inline constexpr Cifra kAlquilerBaseMaxima{
    Euros(9040), "Base máxima de la deducción por alquiler de la vivienda habitual", "DT 15ª LIRPF"};
inline constexpr Cifra kAlquilerBaseDesde{
    Centimos(1770720), "Base imponible desde la que disminuye la base máxima de la deducción por alquiler",
    "DT 15ª LIRPF"};
inline constexpr Cifra kAlquilerBaseHasta{
    Centimos(2410720), "Base imponible desde la que no hay deducción por alquiler", "DT 15ª LIRPF"};
inline constexpr Coeficiente kAlquilerCoeficiente{
    1.4125, "Disminución de la base máxima de la deducción por alquiler por euro de base imponible",
    "DT 15ª LIRPF"};

// Main residence, under the transitional regime for homes bought before 2013.
inline constexpr Coeficiente kDeduccionVivienda{
    0.075, "Deducción por inversión en vivienda habitual (cada tramo, estatal y autonómico)", "DT 18ª LIRPF"};
inline constexpr Cifra kViviendaBaseMaxima{
    Euros(9040), "Base máxima de la deducción por inversión en vivienda habitual", "DT 18ª LIRPF"};
inline constexpr Coeficiente kDeduccionViviendaDiscapacidad{
    0.1, "Deducción por obras de adecuación de la vivienda habitual por discapacidad (cada tramo)",
    "DT 18ª LIRPF"};
inline constexpr Cifra kViviendaDiscapacidadBaseMaxima{
    Euros(12080), "Base máxima de la deducción por obras de adecuación por discapacidad", "DT 18ª LIRPF"};
inline constexpr Coeficiente kDeduccionViviendaCatalunya{
    0.09, "Tramo autonómico incrementado de la deducción por vivienda habitual en Catalunya",
    "DT 6ª Ley 7/2011 de Catalunya"};

// --- Capital gains -------------------------------------------------------------------------
// The reduction for assets held since before 1997, by kind of asset, per year of holding
// beyond two; only transmissions worth up to 400000 in all keep it.
inline constexpr Coeficiente kAbatimientoInmuebles{
    0.1111, "Coeficiente de abatimiento de inmuebles por año de permanencia", "DT 9ª LIRPF"};
inline constexpr Coeficiente kAbatimientoAcciones{
    0.25, "Coeficiente de abatimiento de acciones cotizadas por año de permanencia", "DT 9ª LIRPF"};
inline constexpr Coeficiente kAbatimientoOtros{
    0.1428, "Coeficiente de abatimiento de otros elementos por año de permanencia", "DT 9ª LIRPF"};
inline constexpr Cifra kAbatimientoLimiteTransmisiones{
    Euros(400000), "Valor de transmisión acumulado hasta el que se aplican los coeficientes de abatimiento",
    "DT 9ª LIRPF"};

}  // namespace simulador
