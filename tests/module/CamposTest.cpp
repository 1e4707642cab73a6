// The field machinery: codes, key filter, formats, lists. Expected texts are worked out by
// hand from the field rules (what an edit control holds after the key).
#include "Campos.h"

#include <gtest/gtest.h>

using namespace simulador;

TEST(Campos, MaxLengthFromTheCodeLetter)
{
    struct Caso {
        const char *codigo;
        std::optional<int> esperado;
    };
    for (const Caso &c : {Caso{"D1002", 13}, Caso{"D0902", 12}, Caso{"S0502", 8}, Caso{"N04  ", 4}, Caso{"n02  ", 2},
                          Caso{"A35  ", 35}, Caso{"F10  ", 10}, Caso{"LA1  ", 0}, Caso{"M    ", 0},
                          Caso{"X99  ", std::nullopt}})
        EXPECT_EQ(MaxLength(c.codigo), c.esperado) << c.codigo;
    EXPECT_THROW(MaxLength("DAB02"), std::invalid_argument);
}

TEST(Campos, NamedListsAndTheirLookups)
{
    EXPECT_EQ(ListaValores("sino"), ListaValores("SINO"));
    EXPECT_EQ(ListaValores("NADA"), "");
    EXPECT_FALSE(LeeEspecLista("@"));

    // "****07": as wide as the field, 7 rows, and a blank choice first, stored as ".".
    const std::optional<EspecLista> perceptor = LeeEspecLista("****07" + ListaValores("PERCEPTOR"));
    ASSERT_TRUE(perceptor);
    EXPECT_TRUE(perceptor->anchoDelCampo);
    EXPECT_EQ(perceptor->filas, 7);
    EXPECT_EQ(perceptor->mostrados[0], " ");
    EXPECT_EQ(perceptor->guardados[0], ".");

    // "150015": 1500 twips wide, 15 rows; the regions, without the codes 14 and 15.
    const std::string region = "150015" + ListaValores("AUTONOMIA");
    const std::optional<EspecLista> r = LeeEspecLista(region);
    ASSERT_TRUE(r);
    EXPECT_FALSE(r->anchoDelCampo);
    EXPECT_EQ(r->anchoTwips, 1500);
    EXPECT_EQ(r->filas, 15);
    EXPECT_EQ(r->guardados.front(), "00");
    EXPECT_EQ(std::count(r->guardados.begin(), r->guardados.end(), "14"), 0);
    EXPECT_EQ(std::count(r->guardados.begin(), r->guardados.end(), "15"), 0);
    EXPECT_EQ(TextoDeCodigo(region, "12"), "Madrid");
    EXPECT_EQ(CodigoDeTexto(region, "Castilla y León"), "08");
    EXPECT_EQ(CodigoDeTexto(region, "Madrid "), "");
    EXPECT_EQ(TextoDeCodigo("@", "12"), "");
    // The list opens on the field's own text, else on its first item.
    EXPECT_EQ(ElementoInicial(*r, "Valencia"), 15);
    EXPECT_EQ(ElementoInicial(*r, ""), 0);
    EXPECT_EQ(ElementoInicial(*r, "valencia"), 0);
}

TEST(Campos, KeyFilter)
{
    struct Caso {
        const char *nombre, *codigo, *texto;
        int cursor, selInicio, selLargo;
        char32_t tecla;
        bool aceptada;
        const char *resultado;
        int cursorFinal;
        int selInicioFinal = 0, selLargoFinal = 0;
    };
    // clang-format off
    const Caso casos[] = {
        {"point in an empty amount gives 0,00", "D1002", "", 0, 0, 0, U'.', false, "0,00", 2},
        {"comma again jumps behind the comma", "D1002", "12,5", 1, 0, 0, U',', false, "12,5", 3},
        {"point becomes a comma", "D1002", "12", 2, 0, 0, U'.', true, "12,", 3},
        {"minus puts the sign in front", "D1002", "125", 3, 0, 0, U'-', false, "-125", 4},
        {"minus again takes it away", "D1002", "-125", 4, 0, 0, U'-', false, "125", 3},
        {"minus at the start stays at 0", "D1002", "-125", 0, 0, 0, U'-', false, "125", 0},
        {"minus in an empty amount", "D1002", "", 0, 0, 0, U'-', false, "", 0},
        {"letter in an amount", "D1002", "12", 2, 0, 0, U'a', false, "12", 2},
        {"letter over a selected amount keeps it selected", "D1002", "1200,00", 7, 0, 7, U'x', false, "1200,00", 7, 0, 7},
        {"esc keeps the selection", "D1002", "1200,00", 7, 0, 7, 27, true, "1200,00", 7, 0, 7},
        {"letter over a selected year keeps it selected", "N04  ", "0", 1, 0, 1, U'a', false, "0", 1, 0, 1},
        {"digit replaces the selection", "D1002", "1234,56", 7, 0, 7, U'7', true, "7", 1},
        {"digit in a full amount", "D1002", "1234567890,12", 13, 0, 0, U'5', false, "1234567890,12", 13},
        {"backspace in an amount", "D1002", "125", 3, 0, 0, 8, true, "12", 2},
        {"backspace deletes the selection", "D1002", "125", 3, 1, 2, 8, true, "1", 1},
        {"enter never reaches the text", "A35  ", "ab", 2, 0, 0, 13, false, "ab", 2},
        {"letter in a number", "N04  ", "19", 2, 0, 0, U'x', false, "19", 2},
        {"digit in a number", "N04  ", "19", 1, 0, 0, U'8', true, "189", 2},
        {"esc in a number changes nothing", "N04  ", "19", 2, 0, 0, 27, true, "19", 2},
        {"fifth digit of N04", "n04  ", "1980", 4, 0, 0, U'1', false, "1980", 4},
        {"a list takes no key", "LA1  ", "Sí", 2, 0, 0, U'x', false, "Sí", 2},
        {"a list takes no backspace", "LA1  ", "Sí", 2, 0, 0, 8, false, "Sí", 2},
        {"text takes accented letters", "A35  ", "Muoz", 2, 0, 0, U'ñ', true, "Muñoz", 3},
        {"backspace over an accented letter", "A35  ", "Muñoz", 3, 0, 0, 8, true, "Muoz", 2},
        {"S takes any key", "S1002", "12", 2, 0, 0, U'x', true, "12x", 3},
    };
    // clang-format on
    for (const Caso &c : casos) {
        const ResultadoTecla r = TeclaCampo(c.codigo, {c.texto, c.cursor, c.selInicio, c.selLargo}, c.tecla,
                                            MaxLength(c.codigo).value_or(0));
        EXPECT_EQ(r.aceptada, c.aceptada) << c.nombre;
        EXPECT_EQ(r.texto, c.resultado) << c.nombre;
        EXPECT_EQ(r.cursor, c.cursorFinal) << c.nombre;
        EXPECT_EQ(r.selInicio, c.selInicioFinal) << c.nombre;
        EXPECT_EQ(r.selLargo, c.selLargoFinal) << c.nombre;
    }
}

TEST(Campos, EditingAndDisplayForms)
{
    struct Caso {
        const char *codigo, *texto;
        bool agrupado;
        const char *esperado;
    };
    // clang-format off
    for (const Caso &c : {
             Caso{"D1002", "", false, "0,00"},              Caso{"D1002", "", true, "0,00"},
             Caso{"D1002", "1234,5", true, "1.234,50"},     Caso{"D1002", "1.234,50", false, "1234,50"},
             Caso{"D1002", "-1234567,005", true, "-1.234.567,01"},  // halves away from zero
             Caso{"D1002", "0,004", true, "0,00"},          Caso{"D1002", "-0,004", true, "0,00"},
             Caso{"D1002", "12,", true, "12,00"},           Caso{"D1002", "abc", true, "abc"},
             Caso{"D0902", "999999999,99", true, "999.999.999,99"},
             Caso{"N04  ", "", false, "0"},                 Caso{"N04  ", "1980", true, "1.980"},
             Caso{"N04  ", "1.980", false, "1980"},         Caso{"A35  ", " Ana ", true, " Ana "},
             Caso{"F10  ", "51221", true, "05-12-21"},      Caso{"LA1  ", "Sí", true, "Sí"},
         })
        EXPECT_EQ(FormateaCampo(c.codigo, c.texto, c.agrupado), c.esperado) << c.codigo << " «" << c.texto << "»";
    // clang-format on
}

// A pasted "1.500" must not be typed as 1,50, nor "-300" over an amount as that amount negated.
TEST(Campos, PastedAmountsTypedAsTheirEditingForm)
{
    // clang-format off
    for (const auto &[codigo, pegado, teclas] : {
             std::array<const char *, 3>{"D1002", "1.500,00", "1500,00"},
             {"D1002", " -1.234.567,5 ", "1234567,5-"}, {"D1002", "-300", "300-"},
             {"D1002", "12.34", "12.34"},   {"D1002", "1.2.3,45", "1.2.3,45"}, {"D1002", "1.500,", "1.500,"},
             {"D1002", "1234.567", "1234.567"}, {"D1002", "-", "-"},           {"N04  ", "1.975", "1975"},
             {"N04  ", "-5", "-5"},         {"N04  ", "1,5", "1,5"},           {"A35  ", "1.500", "1.500"},
         })
        EXPECT_EQ(TeclasDePegado(codigo, pegado), teclas) << codigo << " «" << pegado << "»";
    // clang-format on
}

TEST(Campos, NormalizaFecha)
{
    struct Caso {
        const char *texto, *esperado;
    };
    for (const Caso &c : {Caso{"51221", "05-12-21"}, Caso{"0512", "05-12"}, Caso{"512", "05-12"},
                          Caso{"05122021", "05-12-2021"}, Caso{"5122021", "05-12-2021"}, Caso{" 0512 ", "05-12"},
                          Caso{"5/12/21", "5/12/21"}, Caso{"05.12", "05.12"}, Caso{"12", "12"},
                          Caso{"123456789", "123456789"}, Caso{"ab12", "ab12"}})
        EXPECT_EQ(NormalizaFecha(c.texto), c.esperado) << c.texto;
}

TEST(Campos, OnlyTheEditableSheetBoxesTakeTyping)
{
    int editables = 0;
    for (int n = 0; n <= 108; ++n)
        editables += CampoProtegido(kPantallaPrecalculo, n) ? 0 : 1;
    EXPECT_EQ(editables, 19);
    EXPECT_TRUE(CampoProtegido("Precalculo", 0));
    EXPECT_FALSE(CampoProtegido("Precalculo", 9));
    EXPECT_FALSE(CampoProtegido("Precalculo", 101));
    EXPECT_TRUE(CampoProtegido("Precalculo", 106));
    EXPECT_FALSE(CampoProtegido("UnidadFam", 0));
}
