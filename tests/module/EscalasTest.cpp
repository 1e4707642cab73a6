// Scale edges worked out by hand from the 2021 tables.
#include "Escalas.h"
#include "Liquidar.h"

#include "ImprimeMoney.h"

#include <gtest/gtest.h>

using namespace simulador;

TEST(Escalas, QuotaAtBracketEdges)
{
    struct Caso {
        const char *region, *selector, *base, *cuota;
    };
    for (const Caso &c : {
             Caso{"00", "E", "0", "0"},
             Caso{"00", "E", "12450", "1182.75"},        // exactly the stored quota at a cut point
             Caso{"00", "E", "20200", "2112.75"},
             Caso{"00", "E", "300000", "62950.75"},
             Caso{"00", "E", "300100", "62975.25"},      // + 100 × 24.5 %
             Caso{"00", "E", "26000", "2982.75"},        // 2112.75 + 5800 × 15 %
             Caso{"00", "E", "-100", "0"},               // no bracket for a negative base
             Caso{"05", "A", "12450", "1120.5"},         // Canarias: 12450 is still the bottom bracket
             Caso{"05", "A", "12450.01", "1120.5"},      // and 12450.01 starts the next
             Caso{"17", "A", "5000", "500"},             // Valencia's tenth row
             Caso{"00", "A", "20000", "2445.85"},        // default: 2124.86 + 2292.8 × 14 % = 320.992
             Caso{"14", "A", "20000", "2445.85"},        // codes without a scale take the default
             Caso{"", "A", "20000", "2445.85"},
             Caso{"01", "A", "30000", "3594.75"},        // Andalucía 28000-35200 at 15.6 %: 3282.75 + 312
             Caso{"01", "A", "35200", "4405.95"},        // which meets the stored quota at 35200
             Caso{"12", "A", "5550", "527.25"},          // Madrid bottom bracket 9.5 %
             Caso{"03", "A", "70000", "11359.32"},       // Asturias' stored quota is used as it stands
             Caso{"13", "A", "12450", "1207.65"},
         }) {
        const Escalas e = CargaTablas(c.region);
        EXPECT_EQ(Cuota(e, c.selector, M(c.base)), M(c.cuota)) << c.region << " " << c.selector << " " << c.base;
    }
}

TEST(Escalas, SavingsScaleThresholds)
{
    struct Caso {
        const char *base, *cuota;
    };
    for (const Caso &c : {
             Caso{"6000", "570"},
             Caso{"6000.01", "570"},        // 570 + round(0.01 × 0.105)
             Caso{"10000", "990"},          // 570 + 420
             Caso{"2550", "242.25"},
             Caso{"50000", "5190"},
             Caso{"50000.01", "5190"},      // still the second band: 570 + round(44000.01 × 0.105)
             Caso{"50000.10", "5190.01"},   // third band: 5190 + round(0.10 × 0.115)
             Caso{"200000", "22440"},
             Caso{"250000", "28940"},       // 22440 + 50000 × 13 %
         })
        EXPECT_EQ(CuotaAhorro(M(c.base)), M(c.cuota)) << c.base;
}
