// The typed boxes that do not read: the check before a save (CompruebaCasillas) stops at the
// box where the liquidation stops, with its words. The stages of Liquidar on whole households
// (the employment reduction's limits, real estate, activities, losses, reductions, the family
// minimums, the split of the minimum, annuities, the lists, the disabled spouse's pre-runs,
// the result's floors) are worked out by hand in the comments of
// tests/data/liquidaciones/*.ini and checked through irpf2021 against the files beside them.
#include "LecturaCasillas.h"
#include "Liquidar.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

using namespace simulador;

TEST(Liquidar, BadTypedTextNamesTheBox)
{
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
        Declaracion d;
        d.Miembros[0].AnoNac = 1980;
        d.Miembros[0].Edad = 41;
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
