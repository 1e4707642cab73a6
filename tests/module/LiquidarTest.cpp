// What only the engine's own entry points show: the floors with the spouse's deduction passed
// in, the typed boxes that do not read, the disabled spouse's pre-runs. Figures worked out by
// hand from the 2021 rules. The stages on whole households (the employment reduction's
// limits, real estate, activities, losses, reductions, the family minimums, the split of the
// minimum, annuities, the lists) are worked out by hand in the comments of
// tests/data/liquidaciones/*.ini and checked through irpf2021 against the files beside them.
#include "Liquidar.h"

#include "ImprimeMoney.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

using namespace simulador;

namespace {

// The declarant born in 1980 and, when asked, a spouse born in 1982.
Declaracion hogar(bool conConyuge = false)
{
    Declaracion d;
    d.Miembros[0].AnoNac = 1980;
    d.Miembros[0].Edad = 41;
    if (conConyuge) {
        d.Miembros[1].AnoNac = 1982;
        d.Miembros[1].Edad = 39;
    }
    return d;
}

Resultado liquida(const Declaracion &d, Modalidad modo, Money deduccion = Money())
{
    Resultado r;
    Liquidar(d, modo, r, deduccion);
    return r;
}

}  // namespace

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
    Declaracion d = hogar(true);
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
        Declaracion e = hogar(true);
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
