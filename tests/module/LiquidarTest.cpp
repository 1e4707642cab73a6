// The stages of Liquidar on small households, each figure worked out by hand from the
// 2021 rules (the arithmetic is in the comments). A whole liquidation of a salary of 30000
// is worked out in tests/data/asalariado.ini and checked through irpf2021.
#include "Liquidar.h"

#include "ImprimeMoney.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

using namespace simulador;

namespace {

MiembroFam nacido(int ano, const char *perceptor = "")
{
    MiembroFam m;
    m.AnoNac = static_cast<std::int16_t>(ano);
    m.Edad = static_cast<std::int16_t>(kEjercicio - ano);
    m.Perceptor = perceptor;
    return m;
}

Declaracion hogar(int anoDeclarante = 1980, int anoConyuge = 0)
{
    Declaracion d;
    d.Miembros[0] = nacido(anoDeclarante);
    if (anoConyuge)
        d.Miembros[1] = nacido(anoConyuge);
    return d;
}

Resultado liquida(const Declaracion &d, Modalidad modo, Money deduccion = Money())
{
    Resultado r;
    Liquidar(d, modo, r, deduccion);
    return r;
}

}  // namespace

TEST(Liquidar, EmptyHouseholdLeavesOnlyTheTaxpayerMinimum)
{
    const Resultado r = liquida(hogar(), Modalidad::Conjunta);
    for (int n = 0; n < kNumCasillas; ++n)
        EXPECT_EQ(r[n], n == 35 || n == 39 || n == 46 || n == 50 ? M("5550") : M("0")) << n;
    Declaracion d = hogar();
    d.Autonomia = "04";
    EXPECT_EQ(liquida(d, Modalidad::Conjunta)[50], M("6105"));
    d.Autonomia = "09";  // Catalunya's income test: 0 ≤ 12450
    EXPECT_EQ(liquida(d, Modalidad::Conjunta)[46], M("6105"));
}

TEST(Liquidar, RealEstateRentalReductionAndImputedIncome)
{
    Declaracion d = hogar();
    DatosRenta &x = d.Rentas[1];
    x.InmIngresos = M("10000");
    x.InmGastos = M("4000");
    x.InmLocal = "No";
    x.InmValorCat1 = M("100000");
    x.InmRevisado1 = "No";  // 2 %
    x.InmValorCat2 = M("100000");
    x.InmRevisado2 = "";    // anything but "No": 1.1 %
    RehaceTotales(d);
    Resultado r = liquida(d, Modalidad::Conjunta);
    EXPECT_EQ(r[7], M("3100"));
    EXPECT_EQ(r[10], M("3600"));  // 60 % of 6000
    EXPECT_EQ(r[11], M("5500"));  // 10000 + 3100 − 4000 − 3600
    EXPECT_EQ(liquida(d, Modalidad::Declarante)[10], M("3000"));  // 50 % individually

    d.Rentas[1].InmLocal = "Sí";  // business premises: no reduction
    EXPECT_EQ(liquida(d, Modalidad::Conjunta)[10], M("0"));
    d.Rentas[1].InmLocal = "No";
    d.Rentas[1].InmIntereses = M("12000");  // interest counts up to the income only
    d.Rentas[1].InmGastos = M("0");
    r = liquida(d, Modalidad::Conjunta);
    EXPECT_EQ(r[8], M("10000"));
    EXPECT_EQ(r[10], M("0"));  // income not above expenses
}

TEST(Liquidar, EmploymentReductionBoundaries)
{
    struct Caso {
        const char *ingresos, *reduccion, *neto;
        int minusvalia;
        const char *resto;
    };
    // Net N = gross here (no expenses); box 2 = 2000; box 5 = N − 2000 − box 3 − box 4.
    for (const Caso &c : {
             Caso{"13115", "5565", "5550", 0, "0"},      // 13115 − 2000 − 5565
             Caso{"14000", "4237.5", "7762.5", 0, "0"},  // 5565 − round(885 × 1.5)
             Caso{"16825", "0", "14825", 0, "0"},        // 5565 − round(3710 × 1.5) = 0
             Caso{"16825.01", "0", "14825.01", 0, "0"},  // above the threshold
             Caso{"1500", "0", "0", 0, "0"},             // box 2 = 1500, box 4 cut to box 5 = 0
             Caso{"30000", "0", "24500", 33, "3500"},
             Caso{"30000", "0", "20250", 65, "7750"},
             Caso{"30000", "0", "28000", 32, "0"},
         }) {
        Declaracion d = hogar();
        d.Miembros[0].Minusvalia = static_cast<std::uint8_t>(c.minusvalia);
        d.Rentas[1].TrabIngresos = M(c.ingresos);
        RehaceTotales(d);
        const Resultado r = liquida(d, Modalidad::Declarante);
        EXPECT_EQ(r[4], M(c.reduccion)) << c.ingresos;
        EXPECT_EQ(r[5], M(c.neto)) << c.ingresos << " " << c.minusvalia;
        EXPECT_EQ(r[3], M(c.resto)) << c.minusvalia;
    }
    // Other income above 6500 removes the reduction; net activity income is other income
    // too, though box 20 is not computed yet.
    Declaracion d = hogar();
    d.Rentas[1].TrabIngresos = M("13000");
    RehaceTotales(d);
    d.Casillas[21].Texto = "6.500,00";
    EXPECT_EQ(liquida(d, Modalidad::Declarante)[4], M("5565"));
    d.Casillas[21].Texto = "6.500,01";
    EXPECT_EQ(liquida(d, Modalidad::Declarante)[4], M("0"));
    d.Casillas[21].Texto = "";
    d.Rentas[1].ModRdtoNeto = M("6500.01");
    RehaceTotales(d);
    EXPECT_EQ(liquida(d, Modalidad::Declarante)[4], M("0"));
}

TEST(Liquidar, ActivityReductions)
{
    // Start-up reduction: 20 % of at most 100000.
    Declaracion d = hogar();
    d.Rentas[1].DirIngresos = M("200000");
    d.Rentas[1].DirGastos = M("50000");
    d.Rentas[1].DirRedEmprendedores = "Sí";
    RehaceTotales(d);
    Resultado r = liquida(d, Modalidad::Conjunta);
    EXPECT_EQ(r[18], M("20000"));
    EXPECT_EQ(r[16], M("150000"));
    EXPECT_EQ(r[20], M("130000"));

    // Economically dependent activity: N = 12000 → 3700 − round(750 × 1.15625) + 2000.
    Declaracion e = hogar();
    e.Rentas[1].DirIngresos = M("12000");
    e.Rentas[1].DirRedRdtoNeto = "Sí";
    RehaceTotales(e);
    r = liquida(e, Modalidad::Declarante);
    EXPECT_EQ(r[108], M("4832.81"));  // 3700 − 867.19 + 2000
    EXPECT_EQ(r[20], M("7167.19"));

    // Low total income rule: T = 9000 → 1620 − round(1000 × 0.405) = 1215.
    Declaracion f = hogar();
    f.Rentas[1].ModRdtoNeto = M("9000");
    RehaceTotales(f);
    r = liquida(f, Modalidad::Declarante);
    EXPECT_EQ(r[108], M("1215"));
    EXPECT_EQ(r[20], M("7785"));
}

TEST(Liquidar, GeneralPartLossesOffsetUpTo25Percent)
{
    Declaracion d = hogar();
    d.Casillas[21].Texto = "20.000,00";
    d.ListaGanancias.push_back({"O", "D", "", M("0"), "", M("0"), M("0"), M("0"), M("0"), M("-10000"), M("0")});
    const Resultado r = liquida(d, Modalidad::Conjunta);
    EXPECT_EQ(r[25], M("-10000"));
    EXPECT_EQ(r[27], M("5000"));
    EXPECT_EQ(r[28], M("15000"));
}

TEST(Liquidar, JointFilingAndPensionReductions)
{
    Declaracion d = hogar();
    d.Casillas[21].Texto = "2.000,00";
    EXPECT_EQ(liquida(d, Modalidad::Conjunta)[29], M("0"));
    d.Miembros[2] = nacido(2003);  // 18 in 2021: not a minor
    EXPECT_EQ(liquida(d, Modalidad::Conjunta)[29], M("0"));
    d.Miembros[3] = nacido(2004);
    EXPECT_EQ(liquida(d, Modalidad::Conjunta)[29], M("2150"));
    d.Miembros[1] = nacido(1982);
    Resultado r = liquida(d, Modalidad::Conjunta);
    EXPECT_EQ(r[29], M("3400"));
    EXPECT_EQ(r[34], M("0"));
    EXPECT_EQ(r[53], M("1400"));  // what the base of 2000 could not absorb
    EXPECT_EQ(liquida(d, Modalidad::Declarante)[29], M("0"));

    // Pension plans: 30 % of the limiting income, unless disabled above 64 %.
    Declaracion p = hogar();
    p.Rentas[1].DirIngresos = M("20000");
    p.Rentas[1].RedPlanPension = M("10000");
    RehaceTotales(p);
    EXPECT_EQ(liquida(p, Modalidad::Declarante)[30], M("6000"));
    p.Miembros[0].Minusvalia = 65;
    EXPECT_EQ(liquida(p, Modalidad::Declarante)[30], M("10000"));
}

TEST(Liquidar, DescendantMinimum)
{
    Declaracion d = hogar(1980, 1982);
    d.Miembros[2] = nacido(2010);
    d.Miembros[3] = nacido(2012);
    Resultado r = liquida(d, Modalidad::Conjunta);
    EXPECT_EQ(r[36], M("5100"));  // 2400 + 2700
    EXPECT_EQ(r[47], M("5100"));
    d.Miembros[4] = nacido(2019);  // third child, aged 2: 4000 + 2800
    r = liquida(d, Modalidad::Conjunta);
    EXPECT_EQ(r[36], M("11900"));
    EXPECT_EQ(r[47], M("11900"));
    d.Autonomia = "12";  // Madrid raises the third child to 4400
    r = liquida(d, Modalidad::Conjunta);
    EXPECT_EQ(r[36], M("11900"));
    EXPECT_EQ(r[47], M("12300"));

    // Individually, a child of both counts for half; one of the other parent not at all,
    // and does not advance the order of the next child.
    Declaracion e = hogar(1980, 1982);
    e.Miembros[2] = nacido(2010, "C");
    e.Miembros[3] = nacido(2012, "");
    EXPECT_EQ(liquida(e, Modalidad::Declarante)[36], M("1200"));  // half of 2400: the first child of this run
    EXPECT_EQ(liquida(e, Modalidad::Conyuge)[36], M("3750"));     // 2400 + half of 2700
}

TEST(Liquidar, AgeDisabilityAndAscendants)
{
    Declaracion d = hogar(1941);  // 80 years old
    d.Autonomia = "04";
    Resultado r = liquida(d, Modalidad::Conjunta);
    EXPECT_EQ(r[35], M("8100"));  // 5550 + 1150 + 1400
    EXPECT_EQ(r[46], M("8910"));  // 6105 + 1265 + 1540

    Declaracion a = hogar();
    for (int k : {8, 9}) {
        a.Miembros[k] = nacido(1951);  // 70, disabled 40 %, no advance payment
        a.Miembros[k].Minusvalia = 40;
    }
    r = liquida(a, Modalidad::Conjunta);
    EXPECT_EQ(r[91], M("1200"));  // set once, not added
    EXPECT_EQ(r[37], M("2300"));
    EXPECT_EQ(r[38], M("6000"));

    Declaracion c = hogar(1980, 1982);
    c.Miembros[2] = nacido(2000, "D");
    c.Miembros[2].Minusvalia = 50;
    c.Miembros[2].Convivencia = 2;  // the disability amount is shared by two
    EXPECT_EQ(liquida(c, Modalidad::Declarante)[38], M("1500"));
    EXPECT_EQ(liquida(c, Modalidad::Conyuge)[38], M("0"));
    c.Miembros[2].Convivencia = 0;
    EXPECT_EQ(liquida(c, Modalidad::Declarante)[38], M("3000"));
    EXPECT_EQ(liquida(c, Modalidad::Declarante)[101], M("1200"));
}

TEST(Liquidar, MinimumSplitBetweenGeneralAndSavingsBases)
{
    // General base 3000, savings 10000, minimum 5550: 3000 absorbed by the general base,
    // 2550 by the savings base.
    Declaracion d = hogar();
    d.Casillas[21].Texto = "3.000,00";
    d.ListaMobiliario.push_back({"I", "D", M("10000"), M("0"), M("0"), M("0")});
    const Resultado r = liquida(d, Modalidad::Declarante);
    EXPECT_EQ(r[43], M("3000"));
    EXPECT_EQ(r[61], M("2550"));
    EXPECT_EQ(r[63], M("7450"));
    EXPECT_EQ(r[66], M("747.75"));  // CuotaAhorro(10000) − CuotaAhorro(2550) = 990 − 242.25
    EXPECT_EQ(r[67], M("747.75"));
    EXPECT_EQ(r[69], M("0"));
    EXPECT_EQ(r[73], M("747.75"));
}

TEST(Liquidar, AnnuitiesToChildrenAreTaxedApart)
{
    Declaracion d = hogar();
    d.Casillas[21].Texto = "50.000,00";
    d.Rentas[1].RedAnualidades = M("10000");
    d.Rentas[1].RedAnualidadHijos = M("10000");
    RehaceTotales(d);
    const Resultado r = liquida(d, Modalidad::Declarante);
    EXPECT_EQ(r[34], M("40000"));
    EXPECT_EQ(r[41], M("4532.75"));  // Tax(10000) = 950, Tax(30000) = 2112.75 + 1470
    EXPECT_EQ(r[43], M("7530"));     // 5550 + 1980
    EXPECT_EQ(r[44], M("715.35"));   // 7530 × 9.5 %
}

TEST(Liquidar, ResultWithTypedBoxesAndFloors)
{
    Declaracion d = hogar();
    d.Casillas[21].Texto = "30.000,00";
    d.Casillas[95].Texto = "100.000,00";  // more double taxation than quota
    d.Casillas[84].Texto = "1.200,00";
    const Resultado r = liquida(d, Modalidad::Conjunta, M("1200"));
    EXPECT_EQ(r[97], M("0"));
    EXPECT_EQ(r[94], M("1200"));
    EXPECT_EQ(r[106], M("-2400"));  // a refund
    EXPECT_EQ(r[95], M("100000"));  // typed boxes are collected too
}

TEST(Liquidar, BadTypedTextNamesTheBox)
{
    // The check before a save stops at the box where the liquidation stops, with its words.
    struct Caso {
        std::vector<std::pair<int, const char *>> textos;
        int casilla;         // -1: every text reads
        const char *inicio;  // how the message starts
    };
    const Caso casos[] = {
        {{{32, "12x"}}, 32, "La casilla 32 no contiene"},
        {{{32, "99.999.999.999.999.999,00"}}, 32, "Importe fuera de rango en la casilla 32"},
        {{{32, "  "}}, -1, ""},
        {{{5, "basura"}}, -1, ""},                                   // a result box is never read
        {{{95, "x"}, {21, "y"}, {96, "1,5"}}, 21, "La casilla 21"},  // the first in reading order
    };
    for (const Caso &c : casos) {
        Declaracion d = hogar();
        for (const auto &[n, texto] : c.textos)
            d.Casillas[n].Texto = texto;
        const Calculo calculo = Recalcular(d, Modalidad::Conjunta);
        const std::optional<CasillaIlegible> f = CompruebaCasillas(d);
        SCOPED_TRACE(std::to_string(c.textos[0].first) + " " + c.textos[0].second);
        EXPECT_EQ(calculo.ok, c.casilla < 0);
        EXPECT_EQ(calculo.casilla, c.casilla);
        ASSERT_EQ(f.has_value(), c.casilla >= 0);
        if (f) {
            EXPECT_EQ(f->casilla, c.casilla);
            EXPECT_EQ(f->mensaje, calculo.mensaje);
            EXPECT_EQ(f->mensaje.rfind(c.inicio, 0), 0u) << f->mensaje;
        }
    }
}

TEST(Recalcular, DisabledSpouseDeductionFromPreRuns)
{
    // Spouse 33 % disabled without advance payment: 1200 when the spouse's own income
    // (individual run) is at most 8000. Net pay of 2000 is all taken by the other expenses
    // (box 2): boxes 4 and 5 are 0, so the spouse's income is 0.
    Declaracion d = hogar(1980, 1982);
    d.Miembros[1].Minusvalia = 33;
    d.Miembros[1].Abono = "No";
    d.Rentas[2].TrabIngresos = M("9000");
    d.Rentas[2].TrabGastos = M("7000");
    RehaceTotales(d);
    EXPECT_EQ(DeduccionDiscapacitados(d, Modalidad::Conjunta), M("1200"));
    EXPECT_EQ(Recalcular(d, Modalidad::Conjunta).resultado[94], M("1200"));
    EXPECT_EQ(Recalcular(d, Modalidad::Conyuge).resultado[94], M("0"));

    // Income from a rental: 8000 exactly qualifies, 8000.01 does not.
    for (const char *renta : {"8000", "8000.01"}) {
        Declaracion e = hogar(1980, 1982);
        e.Miembros[1].Minusvalia = 40;
        e.Rentas[2].InmIngresos = M(renta);
        e.Rentas[2].InmLocal = "Sí";
        RehaceTotales(e);
        const bool cabe = M(renta) == M("8000");
        EXPECT_EQ(DeduccionDiscapacitados(e, Modalidad::Conjunta), cabe ? M("1200") : M("0")) << renta;
        e.Miembros[0].Minusvalia = 33;  // the declarant too, with no income
        EXPECT_EQ(DeduccionDiscapacitados(e, Modalidad::Conjunta), cabe ? M("2400") : M("1200")) << renta;
    }
}
