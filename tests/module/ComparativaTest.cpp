// Joint or individual: each option winning, a tie, and the typed boxes counted once on the
// individual side however they are shared out. Figures worked out by hand.
#include "Comparativa.h"

#include "ImprimeMoney.h"

#include <gtest/gtest.h>

using namespace simulador;

namespace {

Declaracion pareja()
{
    Declaracion d;
    d.Miembros[0].AnoNac = 1980;
    d.Miembros[0].Edad = 41;
    d.Miembros[1].AnoNac = 1982;
    d.Miembros[1].Edad = 39;
    return d;
}

}  // namespace

TEST(Comparativa, JointWinsWhenOneSpouseEarnsEverything)
{
    // Declarant: 30000 gross, 2000 expenses, 4000 withheld; spouse without income.
    // Individually: 1075.35 + 0. Jointly the base falls by 3400 to 22600:
    // state 2472.75 − 527.25, regional 2809.85 − 666 → 4089.35 − 4000 = 89.35.
    Declaracion d = pareja();
    d.Rentas[1].TrabIngresos = M("30000");
    d.Rentas[1].TrabGastos = M("2000");
    d.Rentas[1].TrabRetencion = M("4000");
    RehaceTotales(d);
    const Comparativa c = Compara(d);
    ASSERT_TRUE(c.ok);
    EXPECT_TRUE(c.hayConyuge);
    EXPECT_EQ(c.resumenConjunta.resultado, M("89.35"));
    EXPECT_EQ(c.resumenIndividual.resultado, M("1075.35"));
    EXPECT_EQ(c.resumenConjunta.baseGeneral, M("22600"));
    EXPECT_EQ(c.mejor, Mejor::Conjunta);
    EXPECT_EQ(c.diferencia, M("986"));
    EXPECT_EQ(c.veredicto, "La tributación conjunta resulta 986,00 € más favorable.");
}

TEST(Comparativa, IndividualWinsWithTwoIncomes)
{
    // Two salaries of 30000 each: individually 1075.35 twice = 2150.70. Jointly the other
    // expenses of 2000 count once: 60000 − 4000 − 2000 − 3400 = 50600 of base; state
    // 4362.75 + round(15400 × 18.5 %) − 527.25 = 6684.50; regional 4266.86 +
    // round(17592.8 × 18.5 %) − 666 = 6855.53 → 13540.03 − 8000 = 5540.03.
    Declaracion d = pareja();
    for (int p : {1, 2}) {
        d.Rentas[p].TrabIngresos = M("30000");
        d.Rentas[p].TrabGastos = M("2000");
        d.Rentas[p].TrabRetencion = M("4000");
    }
    RehaceTotales(d);
    const Comparativa c = Compara(d);
    ASSERT_TRUE(c.ok);
    EXPECT_EQ(c.resumenConjunta.resultado, M("5540.03"));
    EXPECT_EQ(c.resumenIndividual.resultado, M("2150.7"));
    EXPECT_EQ(c.resumenIndividual.retenciones, M("8000"));
    EXPECT_EQ(c.mejor, Mejor::Individual);
    EXPECT_EQ(c.diferencia, M("3389.33"));
    EXPECT_EQ(c.veredicto, "La tributación individual resulta 3.389,33 € más favorable.");
}

// Two salaries of 30000 (1075.35 each individually, 5540.03 jointly, see above) or the
// declarant's alone (1075.35 individually from a liquid quota of 5075.35, 89.35 jointly from
// 4089.35), with one typed box shared out by `letra` ('-': left at the default).
struct CasoReparto {
    const char *nombre;
    bool dosSueldos;
    int casilla;
    const char *texto;
    char letra;
    const char *declarante, *conyuge, *conjunta;
    Mejor mejor;
    const char *diferencia;
};

class RepartoDeCasillas : public ::testing::TestWithParam<CasoReparto> {};

TEST_P(RepartoDeCasillas, EachTypedBoxCountsOnceOnTheIndividualSide)
{
    const CasoReparto &k = GetParam();
    Declaracion d = pareja();
    for (int p = 1; p <= (k.dosSueldos ? 2 : 1); ++p) {
        d.Rentas[p].TrabIngresos = M("30000");
        d.Rentas[p].TrabGastos = M("2000");
        d.Rentas[p].TrabRetencion = M("4000");
    }
    RehaceTotales(d);
    d.Casillas[static_cast<std::size_t>(k.casilla)].Texto = k.texto;
    Reparto r;
    if (k.letra != '-') {
        ASSERT_EQ(LeeReparto(std::to_string(k.casilla) + "=" + k.letra, r), "");
    }
    const Comparativa c = Compara(d, r);
    ASSERT_TRUE(c.ok) << c.mensaje;
    EXPECT_EQ(c.resumenDeclarante.resultado, M(k.declarante));
    EXPECT_EQ(c.resumenConyuge.resultado, M(k.conyuge));
    EXPECT_EQ(c.resumenConjunta.resultado, M(k.conjunta));
    EXPECT_EQ(c.resumenIndividual.resultado, M(k.declarante) + M(k.conyuge));
    EXPECT_EQ(c.mejor, k.mejor);
    EXPECT_EQ(c.diferencia, M(k.diferencia));
    ASSERT_EQ(c.tecleadas.size(), 1u);
    EXPECT_EQ(c.tecleadas[0].numero, k.casilla);
    EXPECT_EQ(LetraParte(c.tecleadas[0].parte), k.letra == '-' ? 'D' : k.letra);
}

// Box 84 (maternity) is taken off the result: 1075.35 − 1200 = −124.65 in the run that has
// it, 5540.03 − 1200 = 4340.03 jointly, so individual filing stays 3389.33 better, as without
// the box (counted in both runs it would have looked 4589.33 better). Halves of 1200.01 are
// 600.005 each, exact: 1075.35 − 600.005 = 475.345. Box 95 (double taxation) comes off the
// liquid quota, floored at 0: jointly 4089.35 − 1000 − 4000 = −910.65; the declarant
// 5075.35 − 1000 − 4000 = 75.35, or 575.35 with half; a spouse without quota wastes it.
INSTANTIATE_TEST_SUITE_P(
    Comparativa, RepartoDeCasillas,
    ::testing::Values(
        CasoReparto{"MaternityInTheDeclarantsRunByDefault", true, 84, "1.200,00", '-', "-124.65", "1075.35", "4340.03",
                    Mejor::Individual, "3389.33"},
        CasoReparto{"MaternityToTheSpouse", true, 84, "1.200,00", 'C', "1075.35", "-124.65", "4340.03",
                    Mejor::Individual, "3389.33"},
        CasoReparto{"OddCentHalvedExactly", true, 84, "1.200,01", 'M', "475.345", "475.345", "4340.02",
                    Mejor::Individual, "3389.33"},
        CasoReparto{"DoubleTaxationToTheEarner", false, 95, "1.000,00", 'D', "75.35", "0", "-910.65", Mejor::Conjunta,
                    "986"},
        CasoReparto{"DoubleTaxationWastedOnASpouseWithoutQuota", false, 95, "1.000,00", 'C', "1075.35", "0", "-910.65",
                    Mejor::Conjunta, "1986"},
        CasoReparto{"DoubleTaxationHalved", false, 95, "1.000,00", 'M', "575.35", "0", "-910.65", Mejor::Conjunta,
                    "1486"}),
    [](const ::testing::TestParamInfo<CasoReparto> &i) { return std::string(i.param.nombre); });

TEST(Comparativa, WithoutSpouseOnlyJointAndDeclarantCount)
{
    Declaracion d = pareja();
    d.Miembros[1] = MiembroFam{};
    d.Rentas[1].TrabIngresos = M("30000");
    d.Rentas[1].TrabGastos = M("2000");
    RehaceTotales(d);
    const Comparativa c = Compara(d);
    ASSERT_TRUE(c.ok);
    EXPECT_FALSE(c.hayConyuge);
    EXPECT_EQ(c.mejor, Mejor::Igual);
    EXPECT_EQ(c.diferencia, M("0"));
    EXPECT_EQ(c.resumenIndividual.resultado, c.resumenDeclarante.resultado);

    // No spouse to give a box to: the declarant keeps it, 5075.35 − 1200 = 3875.35.
    d.Casillas[84].Texto = "1.200,00";
    Reparto r;
    ASSERT_TRUE(r.asigna(84, Parte::Conyuge));
    EXPECT_FALSE(r.asigna(106, Parte::Conyuge));  // a result box is not shared out
    const Comparativa sola = Compara(d, r);
    EXPECT_EQ(sola.resumenIndividual.resultado, M("3875.35"));
    ASSERT_EQ(sola.tecleadas.size(), 1u);
    EXPECT_EQ(sola.tecleadas[0].parte, Parte::Declarante);

    d.Casillas[9].Texto = "no es importe";
    const Comparativa fallo = Compara(d);
    EXPECT_FALSE(fallo.ok);
    EXPECT_NE(fallo.mensaje.find("casilla 9"), std::string::npos);
}
