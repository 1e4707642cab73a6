// irpf2021 run on the sample declarations of tests/data. The expected boxes were worked
// out by hand from the 2021 rules (the arithmetic is in the comments).
#include "Orden.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include <pwd.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

Ejecucion ejecuta(const std::string &argumentos)
{
    return EjecutaOrden(std::string(IRPF2021_BIN) + " " + argumentos + " 2>/dev/null");
}

std::string datos(const char *fichero) { return std::string(DATOS_DIR) + "/" + fichero; }

// The 109 boxes of each mode in one JSON line: {"modo":"X","casillas":["…",…]}.
std::map<std::string, std::vector<std::string>> casillasPorModo(const std::string &linea)
{
    std::map<std::string, std::vector<std::string>> r;
    std::size_t pos = 0;
    const std::string marca = "{\"modo\":\"";
    while ((pos = linea.find(marca, pos)) != std::string::npos) {
        pos += marca.size();
        const std::string modo = linea.substr(pos, linea.find('"', pos) - pos);
        pos = linea.find('[', pos) + 1;
        const std::size_t fin = linea.find(']', pos);
        std::vector<std::string> casillas;
        while (pos < fin) {
            const std::size_t a = linea.find('"', pos) + 1;
            const std::size_t b = linea.find('"', a);
            casillas.push_back(linea.substr(a, b - a));
            pos = b + 1;
        }
        r[modo] = casillas;
    }
    return r;
}

}  // namespace

TEST(Irpf2021, FamilyInMadridInTheThreeModes)
{
    const Ejecucion e = ejecuta("--modo todas --formato json " + datos("familia.ini"));
    ASSERT_EQ(e.estado, 0);
    auto c = casillasPorModo(e.salida);
    ASSERT_EQ(c.size(), 3u);
    for (auto &[modo, casillas] : c)
        ASSERT_EQ(casillas.size(), 109u) << modo;

    // Joint: salaries 55000, expenses 3492.5, other expenses 2000 → box 5 = 49507.5; minus
    // 3400 (joint) and 2000 (pension plan) → 44107.5. Minimum 5550 + 2400 + 2700 + 2800.
    const auto &j = c["CONJUNTA"];
    EXPECT_EQ(j[5], "49507.5000");
    EXPECT_EQ(j[34], "44107.5000");
    EXPECT_EQ(j[39], "13450.0000");
    EXPECT_EQ(j[41], "6010.6400");   // 4362.75 + round(8907.5 × 18.5 %)
    EXPECT_EQ(j[42], "5793.4100");   // Madrid: 3806.46 + round(11100.3 × 17.9 %)
    EXPECT_EQ(j[45], "1294.7500");   // Madrid: 1182.75 + 1000 × 11.2 %
    EXPECT_EQ(j[66], "95.0000");     // interest of 1000 at 9.5 %
    EXPECT_EQ(j[77], "63.7500");     // donation 200: (150 × 0.75 + 50 × 0.3) / 2
    EXPECT_EQ(j[97], "9269.0500");
    EXPECT_EQ(j[105], "7590.0000");
    EXPECT_EQ(j[106], "1679.0500");

    // The declarant alone: half the interest, half of each child's minimum.
    const auto &d = c["DECLARANTE"];
    EXPECT_EQ(d[34], "33460.0000");
    EXPECT_EQ(d[36], "3950.0000");   // 1200 + 1350 + 1400
    EXPECT_EQ(d[42], "3887.5100");   // 3806.46 + round(452.8 × 17.9 %)
    EXPECT_EQ(d[102], "95.0000");
    EXPECT_EQ(d[106], "-443.2400");

    // The spouse: reduction for employment 5565 − round(932.5 × 1.5) = 4166.25, and the
    // minimum larger than the general base leaves 500 for the savings base.
    const auto &s = c["CONYUGE"];
    EXPECT_EQ(s[4], "4166.2500");
    EXPECT_EQ(s[5], "7881.2500");
    EXPECT_EQ(s[61], "500.0000");
    EXPECT_EQ(s[63], "0.0000");
    EXPECT_EQ(s[106], "-995.0000");
}

TEST(Irpf2021, TextAndCsvFormats)
{
    Ejecucion e = ejecuta(datos("asalariado.ini"));
    ASSERT_EQ(e.estado, 0);
    EXPECT_NE(e.salida.find("Apellidos y Nombre: Soler Vidal, Jordi"), std::string::npos);
    EXPECT_NE(e.salida.find("RENDIMIENTOS DEL TRABAJO"), std::string::npos);
    EXPECT_NE(e.salida.find("RESULTADO DECLARACIÓN"), std::string::npos);
    EXPECT_NE(e.salida.find("1.075,35"), std::string::npos);   // 5075.35 quota − 4000 withheld
    EXPECT_NE(e.salida.find("30.000,00"), std::string::npos);

    e = ejecuta("--formato csv --modo todas " + datos("asalariado.ini"));
    ASSERT_EQ(e.estado, 0);
    EXPECT_EQ(e.salida.substr(0, e.salida.find('\n')), "casilla;concepto;CONJUNTA;DECLARANTE;CONYUGE");
    EXPECT_NE(e.salida.find("\n106;RESULTADO DECLARACIÓN;1075,35;1075,35;0\n"), std::string::npos);
    EXPECT_NE(e.salida.find("\n41;B.General (estatal);2982,75;2982,75;0\n"), std::string::npos);
}

TEST(Irpf2021, BadFilesAreReportedAndTheOthersStillProcessed)
{
    const Ejecucion e = ejecuta("--formato json " + datos("no_existe.ini") + " " + datos("importe_erroneo.ini") + " " +
                                datos("asalariado.ini"));
    EXPECT_EQ(e.estado, 1);
    std::vector<std::string> lineas;
    for (std::size_t a = 0, b; (b = e.salida.find('\n', a)) != std::string::npos; a = b + 1)
        lineas.push_back(e.salida.substr(a, b - a));
    ASSERT_EQ(lineas.size(), 3u);
    EXPECT_NE(lineas[0].find("\"error\":\"No se encuentra el fichero"), std::string::npos);
    EXPECT_NE(lineas[1].find("\"error\":"), std::string::npos);
    EXPECT_NE(lineas[1].find("[Trabajo]"), std::string::npos);   // names the section
    EXPECT_NE(lineas[2].find("\"1075.3500\""), std::string::npos);
}

TEST(Irpf2021, ComparisonOfFilingModes)
{
    // Family of tests/data: joint 1679.05 against −443.24 − 995.00 individually.
    Ejecucion e = ejecuta("--comparar --formato json " + datos("familia.ini"));
    ASSERT_EQ(e.estado, 0);
    EXPECT_NE(e.salida.find("\"mejor\":\"INDIVIDUAL\",\"diferencia\":\"3117.2900\""), std::string::npos);
    EXPECT_NE(e.salida.find("{\"modo\":\"CONYUGE\",\"base_general\":\"7881.2500\""), std::string::npos);
    e = ejecuta("--comparar " + datos("familia.ini") + " " + datos("asalariado.ini"));
    ASSERT_EQ(e.estado, 0);
    EXPECT_NE(e.salida.find("La tributación individual resulta 3.117,29 € más favorable."), std::string::npos);
    EXPECT_NE(e.salida.find("Sin cónyuge"), std::string::npos);
    e = ejecuta("--comparar --formato csv " + datos("familia.ini"));
    EXPECT_NE(e.salida.find("RESULTADO DECLARACIÓN;1679,05;-443,24;-995;-1438,24\n"), std::string::npos);
    EXPECT_NE(e.salida.find("mejor;INDIVIDUAL\ndiferencia;3117,29\nreparto\n"), std::string::npos);
    EXPECT_EQ(ejecuta("--comparar --modo todas " + datos("familia.ini")).estado, 2);
}

// The same family with 1.200 of maternity typed in box 84: jointly 1679.05 − 1200 = 479.05;
// individually the box counts once, so individual filing stays 3117.29 better. Declarant's
// run: −443.24 − 1200 = −1643.24 (C: the spouse's, −995 − 1200 = −2195; M: 600 each,
// −1043.24 and −1595). Each format says where the box went.
TEST(Irpf2021, ComparisonCountsTypedBoxesOnce)
{
    const std::string maternidad = ::testing::TempDir() + "irpf2021_maternidad_" + std::to_string(getpid()) + ".ini";
    {
        std::ifstream familia(datos("familia.ini"), std::ios::binary);
        std::ofstream(maternidad, std::ios::binary) << familia.rdbuf() << "84=1.200,00\r\n";
    }
    const std::string fichero = " " + maternidad;
    Ejecucion e = ejecuta("--comparar --formato json" + fichero);
    ASSERT_EQ(e.estado, 0);
    EXPECT_NE(e.salida.find("\"reparto\":{\"84\":\"D\"}"), std::string::npos);
    EXPECT_NE(e.salida.find("\"retenciones\":\"6595.0000\",\"resultado\":\"-1643.2400\"}"), std::string::npos);
    EXPECT_NE(e.salida.find("\"mejor\":\"INDIVIDUAL\",\"diferencia\":\"3117.2900\""), std::string::npos);
    e = ejecuta("--comparar --reparto 84=C" + fichero);
    ASSERT_EQ(e.estado, 0);
    EXPECT_NE(e.salida.find("\nCasillas tecleadas (cada una cuenta una sola vez en la tributación individual): 84 "
                            "Deducción maternidad / Familia numerosa, 1.200,00, en la liquidación del cónyuge.\n"),
              std::string::npos);
    EXPECT_NE(e.salida.find(" -443,24 "), std::string::npos);
    EXPECT_NE(e.salida.find(" -2.195,00 "), std::string::npos);
    e = ejecuta("--comparar --formato csv --reparto=84=C --reparto 84=M" + fichero);  // the last one holds
    ASSERT_EQ(e.estado, 0);
    EXPECT_NE(e.salida.find("RESULTADO DECLARACIÓN;479,05;-1043,24;-1595;-2638,24\n"), std::string::npos);
    EXPECT_NE(e.salida.find("\nreparto;84=M\n"), std::string::npos);
    EXPECT_NE(ejecuta("--comparar " + datos("familia.ini")).salida.find("Casillas tecleadas: ninguna."),
              std::string::npos);

    // A bad share: status 2, and the first line of the error says what is wrong.
    const std::pair<const char *, const char *> malos[] = {
        {"85=D", "la casilla 85 no se teclea en la hoja"},
        {"84=X", "el reparto es D (declarante), C (cónyuge) o M"},
        {"109=D", "la hoja no tiene casilla 109"},
        {"84", "se espera CASILLA=D|C|M"},
    };
    for (const auto &[valor, motivo] : malos) {
        e = EjecutaOrden(std::string(IRPF2021_BIN) + " --comparar --reparto " + valor + fichero + " 2>&1 >/dev/null");
        EXPECT_EQ(e.estado, 2) << valor;
        const std::string primera = e.salida.substr(0, e.salida.find('\n'));
        EXPECT_EQ(primera.rfind("irpf2021: --reparto «" + std::string(valor) + "»: ", 0), 0u) << primera;
        EXPECT_NE(primera.find(motivo), std::string::npos) << primera;
    }
    EXPECT_EQ(ejecuta("--reparto 84=D" + fichero).estado, 2);  // without --comparar
    std::remove(maternidad.c_str());
}

TEST(Irpf2021, BadOptionsGiveUsageAndStatus2)
{
    EXPECT_EQ(ejecuta("--modo separada " + datos("asalariado.ini")).estado, 2);
    EXPECT_EQ(ejecuta("--formato xml " + datos("asalariado.ini")).estado, 2);
    EXPECT_EQ(ejecuta("--desconocida").estado, 2);
    EXPECT_EQ(ejecuta("").estado, 2);
    const Ejecucion ayuda = ejecuta("--help");
    EXPECT_EQ(ayuda.estado, 0);
    EXPECT_NE(ayuda.salida.find("--formato"), std::string::npos);
}

// Output that is lost is an error, in every format: a full disk (/dev/full) and a closed
// standard output give status 1 and say so on standard error.
TEST(Irpf2021, LostOutputIsAnError)
{
    for (const char *opciones : {"", "--formato json", "--formato csv", "--comparar", "--help"}) {
        for (const char *destino : {">/dev/full", ">&-"}) {
            SCOPED_TRACE(std::string(opciones) + " " + destino);
            const Ejecucion e = EjecutaOrden(std::string(IRPF2021_BIN) + " " + opciones + " " + datos("familia.ini") +
                                             " 2>&1 " + destino);
            EXPECT_EQ(e.estado, 1);
            EXPECT_NE(e.salida.find("irpf2021: no se ha podido escribir la salida estándar: "), std::string::npos)
                << e.salida;
        }
    }
}

// Control characters from a file (a name that would retitle the terminal and clear it, a C1
// CSI) and from a file's name reach neither the output nor the messages as they are.
TEST(Irpf2021, ControlCharactersAreShownEscaped)
{
    const std::string dir = CarpetaPropia("irpf2021-control"), fichero = dir + "a\x1b[2J.ini";
    std::ofstream(fichero, std::ios::binary) << "[Datos]\r\nNombre=Ana\x1b]0;t\x07\x1b[2J\xc2\x9b" "1m\r\nAutonomia=\x1b[31m\r\n";
    const std::pair<const char *, std::string> casos[] = {
        {"", "Apellidos y Nombre: Ana\\x1b]0;t\\x07\\x1b[2J\\x9b" "1m\n"},
        {"--comparar --formato csv", "fichero;" + dir + "a\\x1b[2J.ini\n"},  // two files: named
        {"--formato json", "{\"fichero\":\"" + dir + "a\\u001b[2J.ini\""},
    };
    for (const auto &[opciones, esperado] : casos) {
        SCOPED_TRACE(opciones);
        const Ejecucion e =
            EjecutaOrden(std::string(IRPF2021_BIN) + " " + opciones + " '" + fichero + "' '" + fichero + "' 2>&1");
        EXPECT_EQ(e.estado, 0);
        for (const char *crudo : {"\x1b", "\x07", "\xc2\x9b"})
            EXPECT_EQ(e.salida.find(crudo), std::string::npos) << e.salida;
        EXPECT_NE(e.salida.find(esperado), std::string::npos) << e.salida;
        EXPECT_NE(e.salida.find("a\\x1b[2J.ini: aviso: Comunidad autónoma no válida «\\x1b[31m»"), std::string::npos)
            << e.salida;
    }
    fs::remove_all(dir);
}

#ifdef IRPF2021_PDF
// irpf2021 --pdf: one page per requested mode, each with the taxpayer, its mode and its
// result (the three results worked out in FamilyInMadridInTheThreeModes).
TEST(Irpf2021, PdfOnePagePerMode)
{
    const std::string pdf = ::testing::TempDir() + "irpf2021_familia.pdf";
    std::remove(pdf.c_str());
    const Ejecucion e = ejecuta("--pdf " + pdf + " --modo todas " + datos("familia.ini"));
    ASSERT_EQ(e.estado, 0);
    EXPECT_EQ(e.salida, "");

    auto salida = [](const std::string &orden) { return EjecutaOrden(orden + " 2>/dev/null").salida; };
    const std::string info = salida("pdfinfo " + pdf);
    const std::size_t paginasInfo = info.find("Pages:");
    ASSERT_NE(paginasInfo, std::string::npos);
    EXPECT_EQ(std::stoi(info.substr(paginasInfo + 6)), 3);
    const std::string texto = salida("pdftotext " + pdf + " -");
    std::vector<std::string> paginas;
    for (std::size_t a = 0, b; (b = texto.find('\f', a)) != std::string::npos; a = b + 1)
        paginas.push_back(texto.substr(a, b - a));
    ASSERT_EQ(paginas.size(), 3u);
    const char *modos[] = {"Liquidación CONJUNTA", "Liquidación DECLARANTE", "Liquidación CONYUGE"};
    const char *resultados[] = {"1.679,05", "-443,24", "-995,00"};
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_NE(paginas[i].find("Apellidos y Nombre: Pérez García, Ana"), std::string::npos) << i;
        EXPECT_NE(paginas[i].find(modos[i]), std::string::npos) << i;
        EXPECT_NE(paginas[i].find(resultados[i]), std::string::npos) << i;
    }

    EXPECT_EQ(ejecuta("--pdf " + pdf + " " + datos("no_existe.ini")).estado, 1);
    EXPECT_EQ(ejecuta("--pdf /no/existe/x.pdf " + datos("familia.ini")).estado, 1);
    EXPECT_EQ(ejecuta("--pdf " + pdf + " --formato json " + datos("familia.ini")).estado, 2);
    EXPECT_EQ(ejecuta("--pdf " + pdf + " " + datos("familia.ini") + " " + datos("asalariado.ini")).estado, 2);
    EXPECT_EQ(ejecuta("--pdf").estado, 2);
    std::remove(pdf.c_str());
}

// A PDF is written whole or not at all: a full disk leaves the earlier PDF as it was and no
// temporary beside it; a device is no place for one. Without XDG_RUNTIME_DIR the run makes
// a private folder of its own and removes it: a link planted where Qt would have made one
// ($TMPDIR/runtime-<user>) is not followed.
TEST(Irpf2021, PdfIsWrittenWholeOrNotAtAll)
{
    const fs::path dir = CarpetaPropia("irpf2021-pdf"), pdf = dir / "cliente.pdf", tmp = dir / "tmp", victima = dir / "victima";
    std::ofstream(pdf, std::ios::binary) << "%PDF-1.4 anterior";
    fs::create_directories(victima);
    fs::create_directories(tmp);
    fs::create_directory_symlink(victima, tmp / ("runtime-" + std::string(getpwuid(getuid())->pw_name)));
    const fs::perms permisos = fs::status(victima).permissions();

    // dash counts ulimit -f in blocks of 512 bytes: 2 KiB, far less than a page.
    Ejecucion e = EjecutaOrden("sh -c \"trap '' XFSZ; ulimit -f 4; exec " + std::string(IRPF2021_BIN) + " --pdf '" +
                               pdf.string() + "' " + datos("familia.ini") + "\" 2>&1");
    EXPECT_EQ(e.estado, 1);
    EXPECT_NE(e.salida.find("No se ha podido escribir el fichero «" + pdf.string() +
                            "»: el fichero supera el tamaño permitido."),
              std::string::npos)
        << e.salida;
    std::ifstream in(pdf, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "%PDF-1.4 anterior");
    EXPECT_EQ(ejecuta("--pdf /dev/full " + datos("familia.ini")).estado, 1);

    e = EjecutaOrden("env -u XDG_RUNTIME_DIR TMPDIR='" + tmp.string() + "' " + IRPF2021_BIN + " --pdf '" +
                     pdf.string() + "' " + datos("familia.ini") + " 2>&1");
    EXPECT_EQ(e.estado, 0) << e.salida;
    EXPECT_EQ(e.salida, "");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 3);  // no temporary
    EXPECT_EQ(std::distance(fs::directory_iterator(tmp), fs::directory_iterator()), 1);  // the link only
    EXPECT_EQ(fs::status(victima).permissions(), permisos);
    fs::remove_all(dir);
}
#endif
