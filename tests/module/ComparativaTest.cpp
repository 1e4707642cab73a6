// Joint or individual filing: each option winning, a tie, and the typed boxes counted once on
// the individual side however they are shared out are worked out by hand in the comments of
// tests/data/comparativa/*.ini and checked through irpf2021. Here, what it cannot show.
#include "Comparativa.h"

#include <gtest/gtest.h>

using namespace simulador;

TEST(Comparativa, OnlyTypedBoxesAreSharedOutAndAnUnreadableOneFails)
{
    Reparto r;
    EXPECT_TRUE(r.asigna(84, Parte::Conyuge));
    EXPECT_FALSE(r.asigna(106, Parte::Conyuge));  // a result box
    EXPECT_FALSE(r.asigna(109, Parte::Conyuge));  // no box of the sheet

    Declaracion d;
    d.Miembros[0].AnoNac = 1980;
    d.Miembros[0].Edad = 41;
    d.Casillas[9].Texto = "no es importe";
    const Comparativa fallo = Compara(d, r);
    EXPECT_FALSE(fallo.ok);
    EXPECT_EQ(fallo.mensaje.rfind("La casilla 9 no contiene", 0), 0u) << fallo.mensaje;
}
