// irpf2021's outputs read back as a spreadsheet or a program would read them (Python's csv
// and json, strictly, through relee.py), the standard input as a file, --explicar against
// the liquidation it explains, --version, and the manual page against --help.
#include "Orden.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <regex>
#include <set>
#include <sstream>
#include <vector>

namespace {

using Registros = std::vector<std::vector<std::string>>;

// `salida` read back by relee.py with `argumentos` ("csv", or "json" and the paths wanted).
Registros Relee(const std::string &salida, const std::string &argumentos)
{
    static const CarpetaPrivada dir;
    const std::string fichero = dir / "salida";
    std::ofstream(fichero, std::ios::binary) << salida;
    const Ejecucion e = EjecutaOrden("python3 '" RELEE "' " + argumentos + " < '" + fichero + "'");
    EXPECT_EQ(e.estado, 0) << e.errores;
    Registros r;
    for (std::size_t a = 0, b; (b = e.salida.find('\x1e', a)) != std::string::npos; a = b + 1) {
        r.emplace_back();
        const std::string registro = e.salida.substr(a, b - a);
        for (std::size_t c = 0, d;; c = d + 1) {
            d = std::min(registro.find('\x1f', c), registro.size());
            r.back().push_back(registro.substr(c, d - c));
            if (d == registro.size())
                break;
        }
    }
    return r;
}

// A copy of a sample declaration at `ruta` with another taxpayer's name (its bytes as given).
void CopiaConNombre(const std::string &muestra, const std::string &ruta, const std::string &nombre)
{
    std::string texto = LeeFichero(std::string(DATOS_DIR "/") + muestra);
    const std::size_t a = texto.find("Nombre=") + 7;
    texto.replace(a, texto.find("\r\n", a) - a, nombre);
    std::ofstream(ruta, std::ios::binary) << texto;
}

}  // namespace

TEST(Irpf2021, VersionNamesTheProgramItsVersionAndTheYear)
{
    const Ejecucion e = Irpf2021("--version");
    EXPECT_EQ(e.estado, 0);
    EXPECT_EQ(e.salida, "irpf2021 " VERSION_PROYECTO " (IRPF, ejercicio 2021)\n");
    EXPECT_EQ(e.errores, "");
}

// "-" is the standard input, from a pipe as from a file, in every kind of run: the output is
// the file's own with "-" for its name. Input that is no declaration is refused as a file is.
TEST(Irpf2021, StandardInputIsReadLikeAFileNamedDash)
{
    for (const char *opciones : {"--modo todas", "--formato csv", "--formato json", "--comparar --formato json",
                                 "--explicar 106 --formato json", "--explicar 34"}) {
        std::string esperada = Irpf2021(std::string(opciones) + " familia.ini").salida;
        for (std::size_t p; (p = esperada.find("familia.ini")) != std::string::npos;)
            esperada.replace(p, 11, "-");
        const Ejecucion e =
            EjecutaOrden("cat '" DATOS_DIR "/familia.ini' | '" IRPF2021_BIN "' " + std::string(opciones) + " -");
        EXPECT_EQ(e.estado, 0) << opciones << e.errores;
        EXPECT_EQ(e.salida, esperada) << opciones;
    }
    const std::pair<const char *, const char *> refusals[] = {
        {"head -c 1048577 /dev/zero |", "La entrada estándar es demasiado grande (más de 1 MiB) para ser una declaración."},
        {"</dev/null", "El fichero no es una declaración: está vacío."},
    };
    for (const auto &[entrada, mensaje] : refusals) {
        const Ejecucion e = EjecutaOrden(std::string(entrada) + " '" IRPF2021_BIN "' --formato csv -");
        EXPECT_EQ(e.estado, 1);
        EXPECT_EQ(e.salida.find("\r\n"), e.salida.size() - 2);  // the header alone
        EXPECT_EQ(e.errores, std::string("irpf2021: -: ") + mensaje + "\n");
    }
}

// A batch is one table however its names and paths are written: a name and a path with ";",
// quotes and a line break, another pair with a line break alone, and a file that fails in
// between, which leaves no row.
// The figures are familia.ini's, worked out by hand in its comments.
TEST(Irpf2021, CsvOfABatchReadsBackAsOneTable)
{
    const CarpetaPrivada dir;
    const std::string raro = dir / "a;b \"c\"\nd.ini", otro = dir / "otro\n.ini", nombre = "Ruiz; \"Pepe\"\rDos";
    CopiaConNombre("familia.ini", raro, nombre);
    CopiaConNombre("asalariado.ini", otro, "Soler\rVidal");
    const std::string ficheros = " '" + raro + "' no_existe.ini '" + otro + "'";

    Ejecucion e = Irpf2021("--modo todas --formato csv" + ficheros);
    EXPECT_EQ(e.estado, 1);
    EXPECT_EQ(e.errores, "irpf2021: no_existe.ini: No se encuentra el fichero «no_existe.ini».\n");
    Registros t = Relee(e.salida, "csv");
    ASSERT_EQ(t.size(), 7u);
    EXPECT_EQ(t[0][0] + t[0][1] + t[0][2] + t[0][3] + t[0][111], "ficheronombremodoCasilla 0Casilla 108");
    const char *modos[] = {"CONJUNTA", "DECLARANTE", "CONYUGE"};
    for (std::size_t i = 1; i < t.size(); ++i) {
        ASSERT_EQ(t[i].size(), 112u) << i;
        EXPECT_EQ(t[i][0], i <= 3 ? raro : otro);
        EXPECT_EQ(t[i][1], i <= 3 ? nombre : "Soler\rVidal");
        EXPECT_EQ(t[i][2], modos[(i - 1) % 3]);
    }
    EXPECT_EQ(t[1][3 + 106] + " " + t[2][3 + 106] + " " + t[3][3 + 34], "1679,05 -443,24 7881,25");

    e = Irpf2021("--comparar --formato csv" + ficheros);
    EXPECT_EQ(e.estado, 1);
    t = Relee(e.salida, "csv");
    ASSERT_EQ(t.size(), 3u);
    for (const auto &fila : t)
        ASSERT_EQ(fila.size(), t[0].size());
    EXPECT_EQ(t[0][0] + t[0][1] + t[0][3] + t[0][4], "ficheronombremejordiferencia");
    EXPECT_EQ(t[1][0] + t[1][1] + t[1][3] + t[1][4], raro + nombre + "INDIVIDUAL3117,29");
    EXPECT_EQ(t[2][0] + t[2][1], otro + "Soler\rVidal");
}

// JSON is strict UTF-8 whatever bytes a file's name holds (each invalid byte is U+FFFD),
// and every object names the taxpayer; a file that could not be read has "nombre": null.
TEST(Irpf2021, JsonIsStrictUtf8AndNamesTheTaxpayer)
{
    const CarpetaPrivada dir;
    const std::string fffd = "\xef\xbf\xbd", fichero = dir / "a\xff\xc3(\xe2\x82.ini";
    const std::string nombre = "Ruiz \"Pepe\" \\ \xd1u\xf1o", nombreLeido = "Ruiz \"Pepe\" \\ Ñuño";  // Windows-1252
    CopiaConNombre("familia.ini", fichero, nombre);
    const std::vector<std::string> leido = {dir / "a" + fffd + fffd + "(" + fffd + fffd + ".ini", nombreLeido},
                                   perdido = {dir / "no" + fffd + ".ini", "null"};
    const std::pair<const char *, Registros> casos[] = {
        {"--modo todas --formato json", {leido, perdido}},
        {"--comparar --formato json", {leido, perdido}},
        {"--explicar 0,106 --formato json", {leido, leido, perdido}},
    };
    for (const auto &[opciones, esperados] : casos) {
        const Ejecucion e = Irpf2021(std::string(opciones) + " '" + fichero + "' '" + dir / "no\xff.ini" + "'");
        EXPECT_EQ(e.estado, 1);
        EXPECT_EQ(Relee(e.salida, "json fichero nombre"), esperados) << opciones;
    }
}

// --explicar: each box's tree, for each mode, with the box's own value at its root (the
// liquidation's, and familia.ini's result worked out by hand) and children under it.
TEST(Irpf2021, ExplicarGivesEachBoxItsTree)
{
    const Ejecucion e = Irpf2021("--explicar 73,106 --modo todas --formato json familia.ini");
    EXPECT_EQ(e.estado, 0) << e.errores;
    const Registros r = Relee(e.salida, "json modo casilla arbol.casilla arbol.hijos arbol.valor arbol.texto");
    const Registros liquidacion =
        Relee(Irpf2021("--modo todas --formato json familia.ini").salida,
              "json liquidaciones.0.casillas.73 liquidaciones.0.casillas.106 liquidaciones.1.casillas.73 "
              "liquidaciones.1.casillas.106 liquidaciones.2.casillas.73 liquidaciones.2.casillas.106");
    ASSERT_EQ(r.size(), 6u);
    ASSERT_EQ(liquidacion.size(), 1u);
    const char *modos[] = {"CONJUNTA", "DECLARANTE", "CONYUGE"};
    for (std::size_t i = 0; i < r.size(); ++i) {
        const std::string casilla = i % 2 ? "106" : "73";
        EXPECT_EQ(r[i][0] + " " + r[i][1] + " " + r[i][2], std::string(modos[i / 2]) + " " + casilla + " " + casilla);
        EXPECT_GT(std::stoi(r[i][3]), 0) << i;
        EXPECT_EQ(r[i][4], liquidacion[0][i]) << i;
    }
    EXPECT_EQ(r[1][4], "1679.0500");

    const std::string texto = Irpf2021("--explicar 73 familia.ini").salida;
    EXPECT_EQ(texto.find("Fichero: familia.ini\nApellidos y Nombre: Pérez García, Ana\nCasilla 73, liquidación "
                         "CONJUNTA\n\n" +
                         r[0][5] + " "),
              0u)
        << texto;
    EXPECT_GT(std::count(texto.begin(), texto.end(), '\n'), 10);
}

// Every option that --help prints is documented in the manual page, so an option added
// without its documentation fails here; and the help fits an 80-column terminal, which wraps
// a line of 80 characters (counted as characters: UTF-8 continuation bytes take no column).
TEST(Irpf2021, HelpFitsTheTerminalAndTheManualPageDocumentsEachOption)
{
    std::string pagina = LeeFichero(MANUAL);
    ASSERT_NE(pagina, "");
    pagina = std::regex_replace(pagina, std::regex(R"(\\f[BIRP])"), "");  // fonts
    pagina = std::regex_replace(pagina, std::regex(R"(\\-)"), "-");       // roff's minus
    std::set<std::string> opciones;
    const std::string ayuda = Irpf2021("--help").salida;
    std::istringstream lineas(ayuda);
    for (std::string l; std::getline(lineas, l);)
        EXPECT_LE(std::count_if(l.begin(), l.end(), [](unsigned char c) { return (c & 0xC0) != 0x80; }), 79) << l;
    const std::regex opcion(R"((^|[\s\[|])(--?[a-z][a-z-]*))");
    for (auto i = std::sregex_iterator(ayuda.begin(), ayuda.end(), opcion); i != std::sregex_iterator(); ++i)
        opciones.insert((*i)[2]);
    EXPECT_GE(opciones.size(), 9u);
    for (const std::string &o : opciones)
        EXPECT_TRUE(std::regex_search(pagina, std::regex("(^|[^a-z-])" + o + "([^a-z-]|$)"))) << o;
}
