// Movable capital, capital gains and quota deductions, with figures worked out by hand.
#include "Liquidar.h"

#include "ImprimeMoney.h"

#include <gtest/gtest.h>

using namespace simulador;

namespace {

DatosMobiliario mobiliario(const char *clase, const char *titular, const char *ingreso, const char *gasto = "0",
                           const char *retencion = "0", const char *reduccion = "0")
{
    return {clase, titular, M(ingreso), M(gasto), M(retencion), M(reduccion)};
}

DatosGanancia ganancia(const char *clase, const char *titular, const char *fa, const char *va, const char *ft,
                       const char *vt)
{
    return {clase, titular, fa, M(va), ft, M(vt), Money(), Money(), Money(), Money(), Money()};
}

DatosDeduccion deduccion(const char *clase, const char *titular, const char *importe, const char *porcDeduccion = "0",
                         const char *fecha = "")
{
    return {clase, titular, fecha, M(importe), Money(), M(porcDeduccion)};
}

Resultado mobiliarioEn(const Declaracion &d, Modalidad modo)
{
    Resultado r{};
    CalculaMobiliario(d, modo, r);
    return r;
}

Resultado gananciasEn(const Declaracion &d, Modalidad modo)
{
    Resultado r{};
    CalculaGanancias(d, modo, r);
    return r;
}

// Deductions over a given base, as box 34 (general liquid) and box 28 (general taxable).
Resultado deduccionesCon(const Declaracion &d, Modalidad modo, const char *base, Money *vivienda = nullptr)
{
    Resultado r{};
    r[34] = M(base);
    r[28] = M(base);
    Money v;
    CalculaDeducciones(d, modo, r, v);
    if (vivienda)
        *vivienda = v;
    return r;
}

}  // namespace

TEST(CalculaMobiliario, SharesOwnersAndEndOfList)
{
    Declaracion d;
    d.ListaMobiliario = {mobiliario("I", "A", "1001", "0", "190.19"), mobiliario("D", "D", "300", "500"),
                         mobiliario("C", "C", "1000", "100", "0", "50"), mobiliario("X", "D", "999", "0", "10")};
    Resultado r = mobiliarioEn(d, Modalidad::Conjunta);
    EXPECT_EQ(r[58], M("1001"));
    EXPECT_EQ(r[60], M("-200"));  // a negative balance is passed on
    EXPECT_EQ(r[12], M("1000"));
    EXPECT_EQ(r[13], M("50"));
    EXPECT_EQ(r[14], M("100"));
    EXPECT_EQ(r[102], M("200.19"));  // an unknown class still adds its withholding

    r = mobiliarioEn(d, Modalidad::Declarante);
    EXPECT_EQ(r[58], M("500.5"));   // half of an item of both
    EXPECT_EQ(r[102], M("105.1"));  // round(190.19 / 2) = 95.10 (95.095 away from zero) + 10
    EXPECT_EQ(r[12], M("0"));       // the spouse's item is ignored

    r = mobiliarioEn(d, Modalidad::Conyuge);
    EXPECT_EQ(r[58], M("500.5"));
    EXPECT_EQ(r[60], M("0"));

    d.ListaMobiliario.insert(d.ListaMobiliario.begin() + 1, DatosMobiliario{});  // empty owner ends the list
    r = mobiliarioEn(d, Modalidad::Conjunta);
    EXPECT_EQ(r[58], M("1001"));
    EXPECT_EQ(r[60], M("0"));
    EXPECT_EQ(r[12], M("0"));
}

TEST(CalculaGanancias, TransitionalReductionWithTheDaySplit)
{
    // Real estate bought 15/06/1990, sold 15/06/2021: counting years to 1996 = 7, so
    // 0.1111 × 5 = 0.5555. Days: D1 = 5698 (to 20/01/2006), D = 11323, D2 = 5625.
    // P = round(150000 × 5698 / 11323) = 75483.53, Q = 74516.47, reduction = round(P × 0.5555)
    // = 41931.10, net = 33552.43 + 74516.47 = 108068.90.
    Declaracion d;
    d.ListaGanancias = {ganancia("I", "D", "15-06-1990", "50000", "15/06/2021", "200000")};
    EXPECT_EQ(gananciasEn(d, Modalidad::Conjunta)[56], M("108068.9"));
    d.ListaGanancias[0].Titular = "A";
    EXPECT_EQ(gananciasEn(d, Modalidad::Declarante)[56], M("54034.45"));  // half, rounded after halving
    EXPECT_EQ(gananciasEn(d, Modalidad::Conyuge)[56], M("54034.45"));

    // Above the 400000 limit the reduction keeps the share of value it could draw:
    // 400000 / 600000 of round(75483.53 × 0.5555) → round(75483.53 × 0.5555 × 2/3) = 27954.07.
    d.ListaGanancias = {ganancia("I", "D", "15-06-1990", "450000", "15-06-2021", "600000")};
    EXPECT_EQ(gananciasEn(d, Modalidad::Conjunta)[56], M("122045.93"));
    // The limit is spent: a second item of the same owner gets no reduction at all.
    d.ListaGanancias.push_back(ganancia("I", "D", "15-06-1990", "50000", "15-06-2021", "200000"));
    EXPECT_EQ(gananciasEn(d, Modalidad::Conjunta)[56], M("272045.93"));
}

TEST(CalculaGanancias, SharesRulePercentageCapAndLosses)
{
    Declaracion d;
    // Shares (25 % a year) held 1985-2006: counting years to 1996 = 12 → 2.5 → 100 %.
    // Sold 19/01/2006 (day 19 of 2006): the whole gain is reducible, and fully reduced.
    d.ListaGanancias = {ganancia("A", "D", "01-01-1985", "1000", "19-01-2006", "5000")};
    EXPECT_EQ(gananciasEn(d, Modalidad::Conjunta)[56], M("0"));
    // Sold later: only the part up to the 2005 wealth-tax value is reducible.
    d.ListaGanancias = {ganancia("A", "D", "01-01-1985", "1000", "20-01-2006", "5000")};
    d.ListaGanancias[0].ValorPatrimonio = M("3000");
    EXPECT_EQ(gananciasEn(d, Modalidad::Conjunta)[56], M("2000"));
    // Sold below that value: the whole gain stays reducible whatever the date.
    d.ListaGanancias[0].ValorPatrimonio = M("6000");
    d.ListaGanancias[0].FechaTransmision = "01-06-2021";
    EXPECT_EQ(gananciasEn(d, Modalidad::Conjunta)[56], M("0"));

    // A loss is never reduced and goes to box 57 as a positive amount.
    d.ListaGanancias = {ganancia("O", "A", "01-01-1990", "5000", "01-06-2021", "3000")};
    d.ListaGanancias[0].Retencion = M("100");
    Resultado r = gananciasEn(d, Modalidad::Declarante);
    EXPECT_EQ(r[57], M("1000"));
    EXPECT_EQ(r[103], M("100"));  // withholding in full in each individual run
    EXPECT_EQ(gananciasEn(d, Modalidad::Conyuge)[103], M("100"));

    // Direct amounts replace the computed gain.
    d.ListaGanancias[0].ImporteGeneral = M("-300");
    r = gananciasEn(d, Modalidad::Conjunta);
    EXPECT_EQ(r[25], M("-300"));
    EXPECT_EQ(r[56], M("0"));
    EXPECT_EQ(r[57], M("0"));

    // Empty or unreadable dates switch the reduction off.
    d.ListaGanancias = {ganancia("I", "D", "", "1000", "01-06-2021", "3000")};
    EXPECT_EQ(gananciasEn(d, Modalidad::Conjunta)[56], M("2000"));
    d.ListaGanancias[0].FechaAdquisicion = "31-02-1990";
    EXPECT_EQ(gananciasEn(d, Modalidad::Conjunta)[56], M("2000"));
}

TEST(CalculaGanancias, ReinvestmentExemption)
{
    Declaracion d;
    d.ListaGanancias = {ganancia("I", "D", "01-01-2010", "100000", "01-06-2021", "150000")};
    d.ListaGanancias[0].Reinversion = M("150000");  // all reinvested: all exempt
    EXPECT_EQ(gananciasEn(d, Modalidad::Conjunta)[56], M("0"));
    d.ListaGanancias[0].Reinversion = M("300000");  // never more than the gain
    EXPECT_EQ(gananciasEn(d, Modalidad::Conjunta)[56], M("0"));
    d.ListaGanancias[0].Reinversion = M("60000");   // 60000 × 50000 / 150000 = 20000 exempt
    EXPECT_EQ(gananciasEn(d, Modalidad::Conjunta)[56], M("30000"));
}

TEST(CalculaDeducciones, DonationsTranchesAndLimits)
{
    Declaracion d;
    d.ListaDeducciones = {deduccion("E", "D", "100")};
    Resultado r = deduccionesCon(d, Modalidad::Conjunta, "30000");
    EXPECT_EQ(r[77], M("37.5"));  // 100 × 75 %, halved
    EXPECT_EQ(r[78], M("37.5"));

    d.ListaDeducciones = {deduccion("D", "D", "1000", "1")};  // multi-year: 150 × 80 % + 850 × 40 %
    r = deduccionesCon(d, Modalidad::Conjunta, "100000");
    EXPECT_EQ(r[77], M("230"));

    // Base 10000: 15 % limit 1500. Donations of 1000 (multi-year, slot 1) and 1000 (slot 10):
    // the excess of 500 is cut from the highest slot first.
    d.ListaDeducciones = {deduccion("D", "D", "1000", "1"), deduccion("D", "D", "1000")};
    r = deduccionesCon(d, Modalidad::Conjunta, "10000");
    // Slot 1: 1000 → 120 + 850 × 0.4 = 460; slot 10: 500 at 0.35 = 175 (tranche used up).
    EXPECT_EQ(r[77], M("317.5"));

    // The first tranche of 150 is shared by all donations, and a foundation outside the
    // law's list (class F) gets nothing: 100 × 0.75 + (50 × 0.75 + 50 × 0.3) = 127.5, halved.
    d.ListaDeducciones = {deduccion("F", "D", "100"), deduccion("E", "D", "100"), deduccion("E", "D", "100")};
    r = deduccionesCon(d, Modalidad::Conjunta, "100000");
    EXPECT_EQ(r[77], M("63.75"));
}

TEST(CalculaDeducciones, CulturalInterestRentAndMainResidence)
{
    Declaracion d;
    d.ListaDeducciones = {deduccion("A", "D", "20000")};
    Resultado r = deduccionesCon(d, Modalidad::Conjunta, "100000");
    EXPECT_EQ(r[75], M("750"));  // cut to 10000, 15 %, halved
    EXPECT_EQ(r[76], M("750"));

    // A tenth cultural item finds slots 90-98 full and is dropped.
    d.ListaDeducciones.assign(10, deduccion("A", "D", "100"));
    r = deduccionesCon(d, Modalidad::Conjunta, "100000");
    EXPECT_EQ(r[75], M("67.5"));  // 900 × 15 % / 2

    d.ListaDeducciones = {deduccion("C", "D", "10000")};
    r = deduccionesCon(d, Modalidad::Conjunta, "15000");
    EXPECT_EQ(r[85], M("454.26"));  // 9040 × 10.05 % = 908.52, halved
    EXPECT_EQ(r[86], M("454.26"));
    // Between the two bases the limit falls 1.4125 per euro: base 20000 →
    // 9040 − round(2292.8 × 1.4125) = 5801.42 → round(583.04271) / 2 = 291.52.
    r = deduccionesCon(d, Modalidad::Conjunta, "20000");
    EXPECT_EQ(r[85], M("291.52"));
    r = deduccionesCon(d, Modalidad::Conjunta, "24107.2");  // the limit reaches 0 exactly here
    EXPECT_EQ(r[85], M("0"));
    r = deduccionesCon(d, Modalidad::Conjunta, "24000");    // 9040 − round(6292.8 × 1.4125) = 151.42
    EXPECT_EQ(r[85], M("7.61"));                 // round(15.21771) / 2

    Money vivienda;
    d.ListaDeducciones = {deduccion("B", "D", "10000", "0", "01-03-2010"), deduccion("B", "D", "5000", "0", "01-03-2021")};
    r = deduccionesCon(d, Modalidad::Conjunta, "30000", &vivienda);
    EXPECT_EQ(vivienda, M("9040"));   // the 2021 home drops out, the limit holds the rest
    EXPECT_EQ(r[81], M("678"));       // 9040 × 7.5 %
    EXPECT_EQ(r[82], M("678"));
    d.Autonomia = "09";
    d.TramoVivienda = 1;
    EXPECT_EQ(deduccionesCon(d, Modalidad::Conjunta, "30000")[82], M("813.6"));  // 9040 × 9 %
    d.ListaDeducciones[0].FechaAdquisicion = "01-08-2011";  // after July 2011: back to 7.5 %
    EXPECT_EQ(deduccionesCon(d, Modalidad::Conjunta, "30000")[82], M("678"));

    d.ListaDeducciones = {deduccion("B", "A", "1000.01")};
    d.ListaDeducciones[0].PorcMinusvalia = M("33");
    r = deduccionesCon(d, Modalidad::Declarante, "30000", &vivienda);
    EXPECT_EQ(vivienda, M("500.01"));  // half of an item of both, rounded (500.005 → 500.01)
    EXPECT_EQ(r[81], M("50"));         // 10 % for works for a disability

    d.ListaDeducciones = {deduccion("G", "D", "10000", "5")};
    r = deduccionesCon(d, Modalidad::Conjunta, "30000");
    EXPECT_EQ(r[79], M("250"));
    EXPECT_EQ(r[80], M("250"));
}
