#include "Campos.h"
#include "ConversorEuro.h"

#include <gtest/gtest.h>

using namespace simulador;

// The converter's printed reference table (coins and notes at 166,386 ptas), which the
// conversion must reproduce: 200 € = 33.277,2 → 33.277; 50 c = 83,193 → 83; 1 c = 1,66386 → 2.
TEST(Euro, EuToPtaMatchesThePrintedReferenceTable)
{
    struct Fila {
        const char *euros;
        const char *pesetas;
    };
    for (const Fila &f : {Fila{"500", "83193"}, Fila{"200", "33277"}, Fila{"100", "16639"}, Fila{"50", "8319"},
                          Fila{"20", "3328"}, Fila{"10", "1664"}, Fila{"5", "832"}, Fila{"2", "333"}, Fila{"1", "166"},
                          Fila{"0.5", "83"}, Fila{"0.2", "33"}, Fila{"0.1", "17"}, Fila{"0.05", "8"},
                          Fila{"0.02", "3"}, Fila{"0.01", "2"}})
        EXPECT_EQ(EuToPta(M(f.euros)), M(f.pesetas)) << f.euros << " €";
}

TEST(Euro, EuToPtaTakesTheIntegerPartAfterAddingHalf)
{
    // 1,01 × 166,386 = 168,04986 → 168; 0,003 × 166,386 = 0,499 → 0 (168,55 and 0,999 after
    // the half); −1 → −166,386 + 0,5 = −165,886, whose integer part (floor) is −166.
    EXPECT_EQ(EuToPta(M("1.01")), M("168"));
    EXPECT_EQ(EuToPta(M("0.003")), M("0"));
    EXPECT_EQ(EuToPta(M("-1")), M("-166"));
    EXPECT_EQ(EuToPta(M("0")), M("0"));
}

TEST(Euro, PtaToEuRoundsToTheCent)
{
    // 1000 / 166,386 = 6,0101 → 6,01; 166 → 0,99768 → 1,00; 1 → 0,00601 → 0,01;
    // 83.193 → 500 exactly; −1000 → −6,01.
    EXPECT_EQ(PtaToEu(M("1000")), M("6.01"));
    EXPECT_EQ(PtaToEu(M("166")), M("1"));
    EXPECT_EQ(PtaToEu(M("1")), M("0.01"));
    EXPECT_EQ(PtaToEu(M("83193")), M("500"));
    EXPECT_EQ(PtaToEu(M("-1000")), M("-6.01"));
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
    EXPECT_EQ(EurosDeTextoPesetas("1000"), "6,01");
    // 1.234.567 / 166,386 = 7.419,897 → 7.419,90.
    EXPECT_EQ(EurosDeTextoPesetas("1234567"), "7.419,90");
    EXPECT_EQ(PesetasDeTextoEuros("1,01"), "168");
    EXPECT_EQ(PesetasDeTextoEuros("0,"), "0");
    EXPECT_EQ(PesetasDeTextoEuros("-1"), "-166");
    // 12.345,67 × 166,386 = 2.054.146,65 → 2.054.147.
    EXPECT_EQ(PesetasDeTextoEuros("12345,67"), "2.054.147");
    // Pasted junk or an amount past the money type leaves the other box empty.
    EXPECT_EQ(PesetasDeTextoEuros("abc"), "");
    EXPECT_EQ(EurosDeTextoPesetas("99999999999999999999"), "");
    EXPECT_EQ(PesetasDeTextoEuros("900000000000000"), "");
}

TEST(Euro, BoxKeyFilters)
{
    struct Caso {
        const char *nombre;
        std::string_view codigo;
        const char *texto;
        char32_t tecla;
        bool aceptada;
        const char *textoDespues;
    };
    // clang-format off
    const Caso casos[] = {
        {"pesetas take digits",            kCodigoPesetas, "12",  U'7',    true,  "127"},
        {"pesetas drop a comma",           kCodigoPesetas, "12",  U',',    false, "12"},
        {"pesetas drop a minus",           kCodigoPesetas, "12",  U'-',    false, "12"},
        {"pesetas drop Ctrl+V",            kCodigoPesetas, "12",  U'\x16', false, "12"},
        {"pesetas stop at twelve digits",  kCodigoPesetas, "123456789012", U'3', false, "123456789012"},
        {"euros take a point as comma",    kCodigoEuros,   "12",  U'.',    true,  "12,"},
        {"euros: comma in empty box",      kCodigoEuros,   "",    U',',    false, "0,00"},
        {"euros: minus toggles the sign",  kCodigoEuros,   "12",  U'-',    false, "-12"},
        {"euros drop letters",             kCodigoEuros,   "12",  U'e',    false, "12"},
    };
    // clang-format on
    for (const Caso &c : casos) {
        const std::string texto = c.texto;
        const int fin = static_cast<int>(texto.size());
        const ResultadoTecla r = TeclaCampo(c.codigo, EstadoTexto{texto, fin, fin, 0}, c.tecla,
                                            MaxLength(c.codigo).value_or(0));
        EXPECT_EQ(r.aceptada, c.aceptada) << c.nombre;
        EXPECT_EQ(r.texto, c.textoDespues) << c.nombre;
    }
}
