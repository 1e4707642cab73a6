#include "Money.h"
#include "TextoImporte.h"

#include "ImprimeMoney.h"

#include <gtest/gtest.h>

#include <limits>

using namespace simulador;

TEST(Money, RedondeaHalvesAwayFromZero)
{
    struct Caso {
        const char *entrada, *esperado;
    };
    for (const Caso &c : {Caso{"2.345", "2.35"}, Caso{"-2.345", "-2.35"}, Caso{"-0.005", "-0.01"},
                          Caso{"0.005", "0.01"}, Caso{"0.0049", "0"}, Caso{"-0.0049", "0"}, Caso{"1234.5651", "1234.57"},
                          Caso{"7.1250", "7.13"}, Caso{"-7.1249", "-7.12"}})
        EXPECT_EQ(Redondea(M(c.entrada)), M(c.esperado)) << c.entrada;
}

TEST(Money, DoubleStepsRoundToTenThousandthsTiesToEven)
{
    // 0.00005 € is half a ten-thousandth: ties go to the even neighbour.
    EXPECT_EQ(Money::fromDouble(0.00005 * 1.0).units(), 0);
    EXPECT_EQ(Money::fromDouble(1.00015).units(), 10002);
    // 4550 × 0.6 is 2729.9999999… in binary and must still give 2730.
    EXPECT_EQ(M("4549.9999") * 0.6, M("2729.9999"));
    EXPECT_EQ(M("1001") / 2.0, M("500.5"));
    EXPECT_EQ(M("0.0001") / 2.0, M("0"));  // 0.00005 → even 0
}

TEST(Money, ExactProductRoundsToFourDecimalsTiesToEven)
{
    // (b − c) × t of the scales: 7707.2 × 18.5 = 142583.2 exactly.
    EXPECT_EQ(M("7707.2").times(M("18.5")), M("142583.2"));
    // 0.0001 × 0.5 = 0.00005 → 0 (even); 0.0003 × 0.5 = 0.00015 → 0.0002.
    EXPECT_EQ(M("0.0001").times(M("0.5")), M("0"));
    EXPECT_EQ(M("0.0003").times(M("0.5")), M("0.0002"));
    EXPECT_EQ(M("-0.0003").times(M("0.5")), M("-0.0002"));
    EXPECT_EQ(M("-12.3456").times(M("2")), M("-24.6912"));
}

TEST(Money, OverflowIsReportedNeverWrapped)
{
    const Money maximo = Money::fromUnits(std::numeric_limits<std::int64_t>::max());
    const Money minimo = Money::fromUnits(std::numeric_limits<std::int64_t>::min());
    EXPECT_THROW(maximo + M("0.0001"), ErrorImporte);
    EXPECT_THROW(minimo - M("0.0001"), ErrorImporte);
    EXPECT_THROW(-minimo, ErrorImporte);
    EXPECT_THROW(maximo * 2.0, ErrorImporte);
    EXPECT_THROW(M("1") / 0.0, ErrorImporte);
    EXPECT_THROW(maximo.times(M("2")), ErrorImporte);
    EXPECT_THROW(Money::euros(std::numeric_limits<std::int64_t>::max() / 1000), ErrorImporte);
}

TEST(TextoImporte, SheetAndFileForms)
{
    EXPECT_EQ(FormatoImporte(M("1234.56")), "1.234,56");
    EXPECT_EQ(FormatoImporte(M("-1234.5")), "-1.234,50");
    EXPECT_EQ(FormatoImporte(M("0")), "0,00");
    EXPECT_EQ(FormatoImporte(M("999.995")), "1.000,00");
    EXPECT_EQ(FormatoImporte(M("1234567.891")), "1.234.567,89");
    EXPECT_EQ(FormatoResultado(M("0")), "");
    EXPECT_EQ(FormatoResultado(M("-50")), "-50,00");
    EXPECT_EQ(FormatoResultado(M("454.265")), "454,27");
    EXPECT_EQ(FormatoFichero(M("1234.5")), "1234,5");
    EXPECT_EQ(FormatoFichero(M("0")), "0");
    EXPECT_EQ(FormatoFichero(M("-0.0001")), "-0,0001");
}

TEST(TextoImporte, ReadsWhatItWritesAndRefusesTheRest)
{
    struct Caso {
        const char *texto;
        EstiloImporte estilo;
        Lectura estado;
        const char *valor;
    };
    const EstiloImporte P = EstiloImporte::Pantalla, F = EstiloImporte::Fichero;
    for (const Caso &c : {
             Caso{"1.234,56", P, Lectura::Correcto, "1234.56"}, Caso{" -50,00 ", P, Lectura::Correcto, "-50"},
             Caso{"0,00", P, Lectura::Correcto, "0"},           Caso{"1234", P, Lectura::Correcto, "1234"},
             Caso{"1.000", P, Lectura::Correcto, "1000"},  // the point groups on the sheet
             Caso{"1.000", F, Lectura::Correcto, "1"},     // and is decimal in a record without comma
             Caso{"1234,5", F, Lectura::Correcto, "1234.5"},    Caso{"1234,5", P, Lectura::Correcto, "1234.5"},
             Caso{"0,00005", F, Lectura::Correcto, "0"},   // fifth decimal: ties to even
             Caso{"0,00015", F, Lectura::Correcto, "0.0002"},
             Caso{"", P, Lectura::NoEsImporte, "0"},            Caso{"12a", P, Lectura::NoEsImporte, "0"},
             Caso{"1,2,3", P, Lectura::NoEsImporte, "0"},       Caso{"-", P, Lectura::NoEsImporte, "0"},
             Caso{"1.,5", P, Lectura::NoEsImporte, "0"},
             Caso{"922337203685477,5807", P, Lectura::Correcto, "922337203685477.5807"},
             Caso{"922337203685477,5808", P, Lectura::FueraDeRango, "0"},
             Caso{"99999999999999999999999", F, Lectura::FueraDeRango, "0"},
         }) {
        const ImporteLeido l = LeeImporte(c.texto, c.estilo);
        EXPECT_EQ(l.estado, c.estado) << c.texto;
        if (l.ok()) {
            EXPECT_EQ(l.valor, M(c.valor)) << c.texto;
        }
    }
}
