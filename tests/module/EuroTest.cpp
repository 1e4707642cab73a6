#include "Campos.h"
#include "ConversorEuro.h"

#include <gtest/gtest.h>

#include <tuple>

using namespace simulador;

// The converter's printed reference table (coins and notes at 166,386 ptas), which the
// conversion must reproduce: 200 € = 33.277,2 → 33.277; 50 c = 83,193 → 83; 1 c = 1,66386 → 2.
// Then the integer part after adding half: 1,01 × 166,386 = 168,04986 → 168; 0,003 × 166,386
// = 0,499 → 0; −1 → −166,386 + 0,5 = −165,886, whose integer part (floor) is −166.
TEST(Euro, EuToPtaMatchesThePrintedReferenceTable)
{
    struct Fila {
        const char *euros, *pesetas;
    };
    for (const Fila &f : {Fila{"500", "83193"}, Fila{"200", "33277"}, Fila{"100", "16639"}, Fila{"50", "8319"},
                          Fila{"20", "3328"}, Fila{"10", "1664"}, Fila{"5", "832"}, Fila{"2", "333"}, Fila{"1", "166"},
                          Fila{"0.5", "83"}, Fila{"0.2", "33"}, Fila{"0.1", "17"}, Fila{"0.05", "8"},
                          Fila{"0.02", "3"}, Fila{"0.01", "2"}, Fila{"1.01", "168"}, Fila{"0.003", "0"},
                          Fila{"-1", "-166"}, Fila{"0", "0"}})
        EXPECT_EQ(EuToPta(M(f.euros)), M(f.pesetas)) << f.euros << " €";
    // 1000 / 166,386 = 6,0101 → 6,01; 166 → 0,99768 → 1,00; 1 → 0,00601 → 0,01; 83.193 → 500.
    for (const Fila &f : {Fila{"6.01", "1000"}, Fila{"1", "166"}, Fila{"0.01", "1"}, Fila{"500", "83193"},
                          Fila{"-6.01", "-1000"}})
        EXPECT_EQ(PtaToEu(M(f.pesetas)), M(f.euros)) << f.pesetas << " ptas";
}

TEST(Euro, BoxTexts)
{
    EXPECT_EQ(FormatoPesetas(M("1234567")), "1.234.567");
    EXPECT_EQ(FormatoPesetas(M("-1664")), "-1.664");
    EXPECT_EQ(FormatoPesetas(M("0.5")), "1");
    EXPECT_EQ(FormatoPesetas(M("-0.4")), "0");
    // An empty box converts as 0.
    EXPECT_EQ(EurosDeTextoPesetas(""), "0,00");
    EXPECT_EQ(PesetasDeTextoEuros(""), "0");
    // 1.234.567 / 166,386 = 7.419,897 → 7.419,90; 12.345,67 × 166,386 = 2.054.146,65 → 2.054.147.
    EXPECT_EQ(EurosDeTextoPesetas("1234567"), "7.419,90");
    EXPECT_EQ(PesetasDeTextoEuros("12345,67"), "2.054.147");
    EXPECT_EQ(PesetasDeTextoEuros("0,"), "0");
    EXPECT_EQ(PesetasDeTextoEuros("-1"), "-166");
    // Pasted junk or an amount past the money type leaves the other box empty.
    EXPECT_EQ(PesetasDeTextoEuros("abc"), "");
    EXPECT_EQ(EurosDeTextoPesetas("99999999999999999999"), "");
    EXPECT_EQ(PesetasDeTextoEuros("900000000000000"), "");
}

// The pesetas box takes whole pesetas only, twelve digits at most (the euros box is an
// amount field as any other, filtered as Campos' tests show).
TEST(Euro, ThePesetasBoxTakesDigitsOnly)
{
    for (const auto &[texto, tecla, aceptada] :
         {std::tuple{"12", U'7', true}, {"12", U',', false}, {"12", U'-', false}, {"12", U'\x16', false},
          {"123456789012", U'3', false}}) {
        const std::string t = texto;
        const int fin = static_cast<int>(t.size());
        const ResultadoTecla r =
            TeclaCampo(kCodigoPesetas, EstadoTexto{t, fin, fin, 0}, tecla, MaxLength(kCodigoPesetas).value_or(0));
        EXPECT_EQ(r.aceptada, aceptada) << texto << " " << static_cast<int>(tecla);
        EXPECT_EQ(r.texto, aceptada ? t + "7" : t) << texto;
    }
}
