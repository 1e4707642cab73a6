// The list screens' column tables: key filters, date rewriting, required cells, defaults and
// the mapping between grid rows and the engine's records.
#include "ListaColumnas.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>

using namespace simulador;

namespace {

constexpr auto Mob = TipoLista::Mobiliario, Gan = TipoLista::Ganancias, Ded = TipoLista::DCuota;
constexpr auto A = AccionTecla::Acepta, R = AccionTecla::Rechaza, P = AccionTecla::Pita, Q = AccionTecla::QuitaUltimo;

// caracter: what is inserted when the key is accepted.
struct CasoTecla {
    const char *nombre;
    TipoLista tipo; int columna; const char *celda; char32_t tecla; AccionTecla accion; char32_t caracter;
};

// clang-format off
const CasoTecla kTeclas[] = {
    {"clase en minuscula sale en mayuscula",    Mob, 0, "",   U'd', A, U'D'},
    {"letra que no es clase pita",              Mob, 0, "",   U'x', P, 0},
    {"clase admite una segunda letra",          Mob, 0, "I",  U'c', A, U'C'},
    {"clase llena con dos letras",              Mob, 0, "IC", U'd', R, 0},
    {"retroceso pasa siempre",                  Mob, 0, "IC", kRetroceso, A, kRetroceso},
    {"titular acepta a d c",                    Mob, 1, "",   U'c', A, U'C'},
    {"titular no acepta i",                     Mob, 1, "",   U'i', P, 0},
    {"acento en columna de letra pita",         Ded, 0, "",   U'é', P, 0},
    {"coma en importe vacio no entra",          Mob, 2, "",   U',', R, 0},
    {"coma tras cifras entra",                  Mob, 2, "12", U',', A, U','},
    {"segunda coma no entra",                   Mob, 2, "12,5", U',', R, 0},
    {"signo en importe ordinario no entra",     Mob, 5, "",   U'-', R, 0},
    {"punto en importe no entra",               Mob, 3, "1",  U'.', R, 0},
    {"letra en importe no entra ni pita",       Mob, 4, "",   U'a', R, 0},
    {"importe con doce caracteres admite otro", Mob, 2, "123456789012",  U'3', A, U'3'},
    {"importe con trece caracteres lleno",      Mob, 2, "1234567890123", U'4', R, 0},
    {"clase de bien o",                         Gan, 0, "",   U'o', A, U'O'},
    {"clase de bien t pita",                    Gan, 0, "",   U't', P, 0},
    {"clase de bien sin limite",                Gan, 0, "AAAA", U'a', A, U'A'},
    {"fecha admite cualquier tecla",            Gan, 2, "",   U'x', A, U'x'},
    {"fecha con nueve caracteres admite otro",  Gan, 4, "01-01-202",  U'1', A, U'1'},
    {"fecha con diez caracteres llena",         Gan, 2, "01-01-2021", U'1', R, 0},
    {"el limite cuenta letras y no bytes",      Gan, 2, "ééééééééé", U'1', A, U'1'},
    {"base del ahorro admite signo al empezar", Gan, 10, "",  U'-', A, U'-'},
    {"base del ahorro no admite signo despues", Gan, 10, "5", U'-', R, 0},
    {"base del ahorro admite coma al empezar",  Gan, 10, "",  U',', A, U','},
    {"dos comas quitan la ultima",              Gan, 10, "1,,", U'5', Q, 0},
    {"base general admite signo al empezar",    Gan, 9, "",   U'-', A, U'-'},
    {"base general no admite signo despues",    Gan, 9, "5",  U'-', R, 0},
    {"clase de deduccion h",                    Ded, 0, "",   U'h', A, U'H'},
    {"clase de deduccion i pita",               Ded, 0, "",   U'i', P, 0},
    {"fecha de deduccion hasta once",           Ded, 3, "01-01-2021", U'/', A, U'/'},
    {"fecha de deduccion llena con once",       Ded, 3, "01-01-2021 ", U'1', R, 0},
    {"porcentaje de deduccion cinco admite",    Ded, 4, "12345",  U'6', A, U'6'},
    {"porcentaje de deduccion seis lleno",      Ded, 4, "123456", U'7', R, 0},
    {"minusvalia pita con punto",               Ded, 5, "3",  U'.', P, 0},
    {"minusvalia pita con coma",                Ded, 5, "3",  U',', P, 0},
    {"minusvalia rechaza letras",               Ded, 5, "",   U'a', R, 0},
    {"minusvalia admite tercera cifra",         Ded, 5, "33", U'3', A, U'3'},
    {"minusvalia llena con tres cifras",        Ded, 5, "100", U'0', R, 0},
};
// clang-format on

void PrintTo(const CasoTecla &c, std::ostream *os) { *os << c.nombre; }

class Teclas : public testing::TestWithParam<CasoTecla> {};

TEST_P(Teclas, Filtro)
{
    const CasoTecla &c = GetParam();
    const Tecla t = FiltraTecla(c.tipo, c.columna, c.celda, c.tecla);
    EXPECT_EQ(t.accion, c.accion);
    if (c.accion == A) {
        EXPECT_EQ(t.caracter, c.caracter);
    }
}

INSTANTIATE_TEST_SUITE_P(ListaColumnas, Teclas, testing::ValuesIn(kTeclas), [](const auto &i) {
    std::string s = i.param.nombre;
    std::replace(s.begin(), s.end(), ' ', '_');
    return s;
});

// queda: the cell's text after the check; mensaje: "" when accepted.
struct CasoCelda { TipoLista tipo; int columna; const char *texto; bool ok; const char *queda; const char *mensaje; };

TEST(ListaColumnas, ComprobacionAlDejarLaCelda)
{
    // clang-format off
    const CasoCelda casos[] = {
        // ddmmyyyy and ddmmyy gain dashes; the 31st of February is then refused.
        {Gan, 2, "31022021", false, "31-02-2021", "Fecha incorrecta."}, {Gan, 4, "010203", true, "01-02-03", ""},
        {Ded, 3, "29022020", true, "29-02-2020", ""}, {Ded, 3, "29022021", false, "29-02-2021", "Fecha incorrecta."},
        // A date holding a separator is taken as typed when it is a date.
        {Gan, 2, "1-2-2021", true, "1-2-2021", ""},   {Gan, 2, "5/3/21", true, "5/3/21", ""},
        {Gan, 2, "1/2-2021", false, "1/2-2021", "Fecha incorrecta."}, {Gan, 2, "3102202", false, "3102202", "Fecha incorrecta."},
        {Gan, 2, "ab0203", false, "ab-02-03", "Fecha incorrecta."},   {Gan, 2, "   ", true, "", ""},
        // Class and owner must be filled (each screen's message is checked on the screens).
        {Mob, 0, " ", false, " ", "La clase debe de estar informada."}, {Ded, 1, "C", true, "C", ""},
        // Amounts are kept plain; what the keys let through reads as its leading number.
        {Mob, 2, "12,", true, "12", ""},  {Mob, 3, "0012,50", true, "12,5", ""}, {Gan, 10, "-", true, "0", ""},
        {Gan, 10, "-7,5", true, "-7,5", ""}, {Gan, 10, "1,,", true, "1", ""}, {Ded, 5, "033", true, "33", ""},
        {Mob, 2, "", true, "", ""},
    };
    // clang-format on
    for (const CasoCelda &c : casos) {
        SCOPED_TRACE(c.texto);
        const Comprobacion r = CompruebaCelda(c.tipo, c.columna, c.texto);
        EXPECT_EQ(r.ok, c.ok);
        EXPECT_EQ(r.texto, c.queda);
        EXPECT_EQ(r.mensaje, c.mensaje);
    }
}

TEST(ListaColumnas, TextoVisible)
{
    EXPECT_EQ(TextoVisible(Mob, 2, "1234,5"), "1.234,50");
    EXPECT_EQ(TextoVisible(Mob, 2, ""), "");
    EXPECT_EQ(TextoVisible(Gan, 10, "-"), "0,00");
    EXPECT_EQ(TextoVisible(Ded, 4, "1"), "1,00");
    EXPECT_EQ(TextoVisible(Ded, 5, "33"), "33");  // the percentage has no number format
    EXPECT_EQ(TextoVisible(Gan, 2, "1-2-21"), "1-2-21");
}

// Every field a different value, so that a field landing in the wrong column shows. The records
// are filled in declaration order: Retencion before Reduccion, ValorPatrimonio before Reinversion,
// PorcMinusvalia before PorcDeduccion.
Declaracion conUnoDeCada()
{
    Declaracion d;
    // A blank record before it is passed over.
    d.ListaMobiliario = {DatosMobiliario{}, DatosMobiliario{"C", "D", M("1000.5"), M("2"), M("3"), M("4")}};
    d.ListaGanancias = {DatosGanancia{"I", "C", "1-2-1990", M("10"), "03-04-2021", M("11"), M("12"), M("13"), M("14"),
                                      M("15"), M("-16.25")}};
    d.ListaDeducciones = {DatosDeduccion{"B", "A", "01-01-2005", M("20"), M("33"), M("1")}};
    return d;
}

TEST(ListaColumnas, FilasEnElOrdenDeLaPantallaYDeVuelta)
{
    const Declaracion d = conUnoDeCada();
    // Reducción before Retención on screen; the record holds them the other way round.
    EXPECT_EQ(FilasDeLista(d, Mob), (std::vector<FilaLista>{{"C", "D", "1000,5", "2", "4", "3"}}));
    // Reinversión before the 2005 wealth-tax value on screen.
    EXPECT_EQ(FilasDeLista(d, Gan),
              (std::vector<FilaLista>{{"I", "C", "1-2-1990", "10", "03-04-2021", "11", "13", "12", "14", "15", "-16,25"}}));
    EXPECT_EQ(FilasDeLista(d, Ded), (std::vector<FilaLista>{{"B", "A", "20", "01-01-2005", "1", "33"}}));
    // And back to the same fields.
    Declaracion e;
    for (TipoLista t : {Mob, Gan, Ded})
        GuardaFilas(e, t, FilasDeLista(d, t));
    EXPECT_EQ(e.ListaMobiliario, std::vector<DatosMobiliario>{d.ListaMobiliario[1]});
    EXPECT_EQ(e.ListaGanancias, d.ListaGanancias);
    EXPECT_EQ(e.ListaDeducciones, d.ListaDeducciones);
    // Empty amount cells are 0; no rows leave the list empty.
    GuardaFilas(e, Mob, {{"I", "A", "", "", "", "7"}});
    ASSERT_EQ(e.ListaMobiliario.size(), 1u);
    EXPECT_EQ(e.ListaMobiliario[0].Ingreso, Money());
    EXPECT_EQ(e.ListaMobiliario[0].Retencion, M("7"));
    GuardaFilas(e, Ded, {});
    EXPECT_TRUE(e.ListaDeducciones.empty());
    EXPECT_TRUE(FilasDeLista(Declaracion{}, Gan).empty());

    // What leaving a list screen counts as a change: another value, not another spelling.
    std::vector<FilaLista> f = FilasDeLista(d, Mob);
    f[0][2] = "1000,50";
    EXPECT_FALSE(FilasCambiadas(d, Mob, f));  // the blank record left out is no change either
    f[0][1] = "A";
    EXPECT_TRUE(FilasCambiadas(d, Mob, f));
    EXPECT_TRUE(FilasCambiadas(d, Mob, {}));
}

}  // namespace
