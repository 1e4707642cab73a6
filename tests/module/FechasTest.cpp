// The day's date as the status line and the printout write it. Weekdays counted by hand
// from 1 January 2021 (a Friday) and 2024 (a Monday).
#include "Fechas.h"

#include <gtest/gtest.h>

using namespace simulador;

TEST(Fechas, LaLineaDeEstadoYLaImpresion)
{
    struct Caso {
        Fecha fecha;
        const char *larga, *impresion;
    };
    const Caso casos[] = {
        {{5, 3, 2021}, "05 de marzo del 2021", "viernes, 5 de marzo de 2021"},
        {{1, 3, 2021}, "01 de marzo del 2021", "lunes, 1 de marzo de 2021"},
        {{15, 9, 2021}, "15 de septiembre del 2021", "miércoles, 15 de septiembre de 2021"},
        {{31, 12, 2021}, "31 de diciembre del 2021", "viernes, 31 de diciembre de 2021"},
        {{29, 2, 2024}, "29 de febrero del 2024", "jueves, 29 de febrero de 2024"},
        {{5, 12, 2026}, "05 de diciembre del 2026", "sábado, 5 de diciembre de 2026"},
    };
    for (const Caso &c : casos) {
        EXPECT_EQ(FechaLarga(c.fecha), c.larga);
        EXPECT_EQ(FechaImpresion(c.fecha), c.impresion);
    }
}
