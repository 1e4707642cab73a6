// Joint or individual: each option winning, and a tie. Figures worked out by hand.
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

    d.Casillas[9].Texto = "no es importe";
    const Comparativa fallo = Compara(d);
    EXPECT_FALSE(fallo.ok);
    EXPECT_NE(fallo.mensaje.find("casilla 9"), std::string::npos);
}
