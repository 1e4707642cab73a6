#include "MaquinaCalculadora.h"

#include <gtest/gtest.h>

#include <string>

using namespace simulador;

namespace {

struct Tecleo {
    std::string pantalla;
    int avisos = 0;  // division-by-zero warnings raised on the way
};

// Types `teclas` through the keyboard map, so each row also checks the keys it uses.
Tecleo teclea(const std::string &teclas, const std::string &valorCampo = "")
{
    MaquinaCalculadora c(valorCampo);
    Tecleo t;
    for (char k : teclas) {
        const auto p = BotonDeTecla(static_cast<char32_t>(k));
        if (!p) {
            ADD_FAILURE() << "no button for key '" << k << "' in " << teclas;
            continue;
        }
        if (c.pulsa(*p) == MaquinaCalculadora::Aviso::DivisionPorCero)
            ++t.avisos;
    }
    t.pantalla = c.Readout();
    return t;
}

}  // namespace

TEST(Calculadora, KeySequencesGiveTheDisplay)
{
    struct Fila {
        const char *nombre, *teclas, *pantalla;
        int avisos = 0;  // division-by-zero warnings on the way
    };
    // Expected displays worked out by hand; results show up to 15 significant digits.
    // clang-format off
    const Fila filas[] = {
        {"nothing typed shows zero",         "",            "0,"},
        {"typing keeps the separator",       "7",           "7,"},
        {"first digit replaces the zero",    "05",          "5,"},
        {"decimals after the point",         "1.25",        "1,25"},
        {"point first",                      ".5",          "0,5"},
        {"a second point adds nothing",      "1.2.5",       "1,25"},
        {"7 + 5 = 12",                       "7+5=",        "12"},
        {"I is equals",                      "7+5I",        "12"},
        {"minus first is the sign",          "-",           "-0,"},
        {"-3 x 2 = -6",                      "-3x2=",       "-6"},
        {"X and * multiply",                 "-3X2i",       "-6"},
        {"-.5 keeps the sign",               "-.5",         "-0,5"},
        {"minus after x is a sign",          "5*-3=",       "-15"},
        {"5 - -3 = 8",                       "5--3=",       "8"},
        {"minus after = subtracts",          "7+5=-3=",     "9"},
        {"chained operators add up",         "2+3+4=",      "9"},
        {"result times 2",                   "7+5=x2=",     "24"},
        {"equals again keeps the result",    "7+5==",       "12"},
        {"a digit after = starts anew",      "7+5=3",       "3,"},
        {"CE drops only the entry",          "5E3+1=",      "4"},
        {"CE inside a sum",                  "9+5e2=",      "11"},
        {"C forgets the pending sum",        "9+C1=",       "1,"},
        {"percent alone",                    "50%",         "0,5"},
        {"200 + 10 % = 20",                  "200+10%=",    "20"},
        {"P is percent",                     "200+10p=",    "20"},
        {"division",                         "7/2=",        "3,5"},
        {"0.1 + 0.2 shows 0,3",              "0.1+0.2=",    "0,3"},
        {"a third to 15 digits",             "1/3=",        "0,333333333333333"},
        {"large result in exponent form",    "99999999x99999999=", "9,9999998E+15"},
        {"small result in exponent form",    "1/100000=",   "1E-05"},
        {"dividing by zero keeps the left operand", "8/0=", "8", 1},
        {"and the computation goes on from it",     "8/0=+2=", "10", 1},
    };
    // clang-format on
    for (const Fila &f : filas) {
        const Tecleo t = teclea(f.teclas);
        EXPECT_EQ(t.pantalla, f.pantalla) << f.nombre << ": " << f.teclas;
        EXPECT_EQ(t.avisos, f.avisos) << f.nombre;
    }
}

TEST(Calculadora, ImportsTheFieldValue)
{
    EXPECT_EQ(teclea("V", "1.234,50").pantalla, "1234,5");
    EXPECT_EQ(teclea("v+1=", "1.234,50").pantalla, "1235,5");
    EXPECT_EQ(teclea("V", "-12").pantalla, "-12,");
    EXPECT_EQ(teclea("Vx2=", "0,25").pantalla, "0,5");

    // Not a number: "V" and "Aceptar" are off, and "V" leaves the display alone.
    for (const char *valor : {"", "abc", "12a", "1,2,3"}) {
        EXPECT_FALSE(MaquinaCalculadora(valor).exportaHabilitado()) << valor;
        EXPECT_EQ(teclea("7V", valor).pantalla, "7,") << valor;
    }
    EXPECT_TRUE(MaquinaCalculadora("0").exportaHabilitado());

    // F4 hands over the field's text when numeric, else 0.
    EXPECT_EQ(ValorParaCalculadora("1.234,50"), "1.234,50");
    EXPECT_EQ(ValorParaCalculadora(""), "0");
    EXPECT_EQ(ValorParaCalculadora("12-05-21"), "0");
}

// What Aceptar hands to the field: the pending operation completed, and a division by zero
// warned of, its left operand kept.
TEST(Calculadora, AceptarCompletesThePendingOperation)
{
    struct Fila {
        const char *teclas, *resultado;
        MaquinaCalculadora::Aviso aviso = MaquinaCalculadora::Aviso::Ninguno;
    };
    for (const Fila &f : {Fila{"2+3", "5"}, Fila{"", "0"}, Fila{"7", "7"}, Fila{"-.5", "-0,5"}, Fila{"1.50", "1,5"},
                          Fila{"-", "0"}, Fila{"1/3", "0,333333333333333"}, Fila{"1/100000", "0,00001"},
                          Fila{"99999999x99999999", "9999999800000000"},
                          Fila{"8/0", "8", MaquinaCalculadora::Aviso::DivisionPorCero}}) {
        MaquinaCalculadora c("0");
        for (char k : std::string(f.teclas))
            c.pulsa(*BotonDeTecla(static_cast<char32_t>(k)));
        std::string resultado;
        EXPECT_EQ(c.acepta(resultado), f.aviso) << f.teclas;
        EXPECT_EQ(resultado, f.resultado) << f.teclas;
    }
}

TEST(Calculadora, KeysOutsideTheMapClickNothing)
{
    for (char32_t k : {U'a', U',', U' ', U'\r', U'\x1b', U'ñ'})
        EXPECT_FALSE(BotonDeTecla(k).has_value()) << static_cast<int>(k);
}

// The result as Aceptar puts it into the field F4 was pressed in. Roundings by hand, to the
// cent, halves away from zero: 3,3333… → 3,33; 2,345 → 2,35; 9.999.999.999,995 → 10 000
// million, one digit more than the ten of "D1002".
TEST(Calculadora, ResultIntoTheField)
{
    struct Fila {
        const char *resultado, *codigo, *texto;  // texto: nullptr when the field refuses it
    };
    // clang-format off
    const Fila filas[] = {
        {"3,33333333333333",   "D1002", "3,33"},          {"2,345",            "D1002", "2,35"},
        {"-2,345",             "D1002", "-2,35"},         {"2,3449",           "D0902", "2,34"},
        {"12",                 "D1002", "12,00"},         {"-0,004",           "D1002", "0,00"},  // no "-0,00"
        {"0,995",              "D1002", "1,00"},          {"1,5E+3",           "D1002", "1500,00"},
        {"9999999999,994",     "D1002", "9999999999,99"}, {"9999999999,995",   "D1002", nullptr},
        {"999999998000000000", "D1002", nullptr},         {"9,99999998E+17",   "D1002", nullptr},
        {"1000000000",         "D0902", nullptr},  // nine whole digits at most
        {"-123456789",         "D0902", "-123456789,00"}, {"1975,5",           "N04  ", "1976"},
        {"19755",              "N04  ", nullptr},         {"-3",               "N02  ", nullptr},
        {"7",                  "LA1  ", nullptr},         {"-",                "D1002", nullptr},
    };
    // clang-format on
    for (const Fila &f : filas) {
        const ResultadoCampo r = ResultadoEnCampo(f.resultado, f.codigo);
        EXPECT_EQ(r.ok, f.texto != nullptr) << f.resultado << " " << f.codigo;
        if (f.texto)
            EXPECT_EQ(r.texto, f.texto) << f.resultado;
        else
            EXPECT_FALSE(r.mensaje.empty()) << f.resultado;
    }
    EXPECT_EQ(ResultadoEnCampo("9,99999998E+17", "D1002").mensaje,
              "El resultado no cabe en este campo, que admite como máximo 10 cifras enteras. "
              "El campo no se ha modificado.");
}
