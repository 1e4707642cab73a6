// irpf2021's behaviours that are not an output to compare with a file (those are in
// SalidasTest.cpp): bad command lines, output that is lost, files refused before they are
// read, control characters in a file's name, and the PDF.
#include "Orden.h"

#include <gtest/gtest.h>

#include <vector>

#include <pwd.h>

namespace fs = std::filesystem;

// Status 2, nothing on standard output, and on standard error the reason and where the help
// is: two lines, never the whole help.
TEST(Irpf2021, BadCommandLinesGiveTheReasonAndWhereTheHelpIs)
{
    const auto kCasillasMal = [](const std::string &valor) {
        return "--explicar «" + valor + "»: se esperan casillas de 0 a 108 separadas por comas, por ejemplo 73,74";
    };
    const std::pair<const char *, std::string> casos[] = {
        {"--modo separada asalariado.ini", "modo desconocido: «separada» (conjunta, declarante, conyuge o todas)"},
        {"--formato xml asalariado.ini", "formato desconocido: «xml» (texto, json o csv)"},
        {"--modo", "falta el valor de --modo"},
        {"--desconocida", "opción desconocida: «--desconocida»"},
        {"--comparar=1 familia.ini", "opción desconocida: «--comparar»"},
        {"", "no se ha indicado ningún fichero"},
        {"--comparar --modo todas familia.ini", "--comparar y --modo no se pueden combinar"},
        {"--reparto 84=D maternidad.ini", "--reparto solo se usa con --comparar"},
        {"--comparar --reparto 85=D maternidad.ini", "--reparto «85=D»: la casilla 85 no se teclea en la hoja; se "
                                                     "reparten las casillas tecleadas: 9, 21, 22, 26, 32, 59, 84, 87, "
                                                     "92, 95, 96."},
        {"--comparar --reparto 84=X maternidad.ini",
         "--reparto «84=X»: el reparto es D (declarante), C (cónyuge) o M (a partes iguales)."},
        {"--comparar --reparto 109=D maternidad.ini", "--reparto «109=D»: la hoja no tiene casilla 109 (van de 0 a 108)."},
        {"--comparar --reparto 84 maternidad.ini", "--reparto «84»: se espera CASILLA=D|C|M, por ejemplo 84=C."},
        {"--pdf /no/existe.pdf --formato json familia.ini", "--pdf no se combina con --comparar ni con --formato"},
        {"--pdf /no/existe.pdf familia.ini asalariado.ini", "--pdf admite un solo FICHERO"},
        {"--pdf", "falta el fichero de --pdf"},
        {"--version=1", "opción desconocida: «--version»"},
        {"- familia.ini -", "la entrada estándar («-») solo se puede leer una vez"},
        {"--explicar", "falta el valor de --explicar (CASILLA[,CASILLA...])"},
        {"--explicar 109 familia.ini", kCasillasMal("109")},
        {"--explicar 73,,74 familia.ini", kCasillasMal("73,,74")},
        {"--explicar=-1 familia.ini", kCasillasMal("-1")},
        {"--explicar 7e1 familia.ini", kCasillasMal("7e1")},
        {"--explicar 73, familia.ini", kCasillasMal("73,")},
        {"--explicar 73 --comparar familia.ini", "--explicar no se combina con --comparar ni con --pdf"},
        {"--explicar 73 --formato csv familia.ini", "--explicar escribe en formato texto o json, no csv"},
    };
    for (const auto &[argumentos, motivo] : casos) {
        const Ejecucion e = Irpf2021(argumentos);
        EXPECT_EQ(e.estado, 2) << argumentos;
        EXPECT_EQ(e.salida, "") << argumentos;
        EXPECT_EQ(e.errores, "irpf2021: " + motivo + "\nPruebe «irpf2021 --help» para más información.\n")
            << argumentos;
    }
}

// Output that is lost is an error in every format: a full disk and a closed standard output
// give status 1 and say so.
TEST(Irpf2021, LostOutputIsAnError)
{
    for (const char *opciones : {"", "--formato json", "--formato csv", "--comparar", "--help", "--version"}) {
        for (const auto &[destino, motivo] : {std::pair{">/dev/full", "no queda espacio en el disco"},
                                              {">&-", "está cerrada"}}) {
            const Ejecucion e = Irpf2021(std::string(opciones) + " familia.ini " + destino);
            EXPECT_EQ(e.estado, 1) << opciones << destino;
            EXPECT_EQ(e.errores, std::string("irpf2021: no se ha podido escribir la salida estándar: ") + motivo + ".\n");
        }
    }
}

// Refused before they are read: a file over 1 MiB (sparse: nothing to write), a file of
// the system that reads as empty, a folder.
TEST(Irpf2021, FilesThatAreNoDeclarationAreRefused)
{
    const CarpetaPrivada dir;
    const std::string grande = dir / "grande.ini", carpeta = dir / "";
    std::ofstream(grande) << "[Datos]\r\n";
    fs::resize_file(grande, 2u << 20);
    const std::pair<std::string, std::string> casos[] = {
        {grande, "El fichero «" + grande + "» es demasiado grande (más de 1 MiB) para ser una declaración."},
        {"/proc/self/status", "El fichero «/proc/self/status» no es una declaración: está vacío."},
        {carpeta, "No se puede leer el fichero «" + carpeta + "»: es una carpeta."},
    };
    for (const auto &[fichero, mensaje] : casos) {
        const Ejecucion e = Irpf2021("'" + fichero + "'");
        EXPECT_EQ(e.estado, 1);
        EXPECT_EQ(e.salida, "");
        EXPECT_EQ(e.errores, "irpf2021: " + fichero + ": " + mensaje + "\n");
    }
}

// Control characters from a file (a name that would retitle the terminal and clear it, a C1
// CSI) and from a file's name reach neither the output nor the messages as they are.
TEST(Irpf2021, ControlCharactersAreShownEscaped)
{
    const CarpetaPrivada dir;
    const std::string fichero = dir / "a\x1b[2J.ini", visible = dir / "a\\x1b[2J.ini";
    std::ofstream(fichero, std::ios::binary) << "[Datos]\r\nNombre=Ana\x1b]0;t\x07\x1b[2J\xc2\x9b" "1m\r\nAutonomia=\x1b[31m\r\n";
    const std::pair<const char *, std::string> casos[] = {
        {"", "Apellidos y Nombre: Ana\\x1b]0;t\\x07\\x1b[2J\\x9b" "1m\n"},
        {"--comparar --formato csv", "\r\n" + visible + ";\"Ana\\x1b]0;t"},  // two files: each named
        {"--formato json", "{\"fichero\":\"" + dir / "a\\u001b[2J.ini\""},
    };
    for (const auto &[opciones, esperado] : casos) {
        const Ejecucion e = Irpf2021(std::string(opciones) + " '" + fichero + "' '" + fichero + "'");
        EXPECT_EQ(e.estado, 0);
        for (const std::string &texto : {e.salida, e.errores})
            for (const char *crudo : {"\x1b", "\x07", "\xc2\x9b"})
                EXPECT_EQ(texto.find(crudo), std::string::npos) << texto;
        EXPECT_NE(e.salida.find(esperado), std::string::npos) << e.salida;
        EXPECT_NE(e.errores.find("irpf2021: " + visible + ": aviso: Comunidad autónoma no válida «\\x1b[31m»"),
                  std::string::npos)
            << e.errores;
    }
}

#ifdef IRPF2021_PDF
// irpf2021 --pdf: one page per requested mode, each with the taxpayer, its mode and its
// result (worked out by hand in familia.ini), and nothing on standard output.
TEST(Irpf2021, PdfOnePagePerMode)
{
    const CarpetaPrivada dir;
    const std::string pdf = dir / "familia.pdf";
    const Ejecucion e = Irpf2021("--pdf '" + pdf + "' --modo todas familia.ini");
    ASSERT_EQ(e.estado, 0) << e.errores;
    EXPECT_EQ(e.salida + e.errores, "");
    EXPECT_NE(EjecutaOrden("pdfinfo '" + pdf + "'").salida.find("\nPages:           3\n"), std::string::npos);
    const std::string texto = EjecutaOrden("pdftotext '" + pdf + "' -").salida;
    std::vector<std::string> paginas;
    for (std::size_t a = 0, b; (b = texto.find('\f', a)) != std::string::npos; a = b + 1)
        paginas.push_back(texto.substr(a, b - a));
    ASSERT_EQ(paginas.size(), 3u);
    const char *modos[] = {"Liquidación CONJUNTA", "Liquidación DECLARANTE", "Liquidación CONYUGE"};
    const char *resultados[] = {"1.679,05", "-443,24", "-995,00"};
    for (std::size_t i = 0; i < 3; ++i)
        for (const char *dato : {"Apellidos y Nombre: Pérez García, Ana", modos[i], resultados[i]})
            EXPECT_NE(paginas[i].find(dato), std::string::npos) << i << " " << dato;
    EXPECT_EQ(Irpf2021("--pdf '" + pdf + "' no_existe.ini").estado, 1);
    EXPECT_EQ(Irpf2021("--pdf /no/existe/x.pdf familia.ini").estado, 1);
}

// A PDF is written whole or not at all: a full disk leaves the earlier PDF as it was and no
// temporary beside it; a device is no place for one. Without XDG_RUNTIME_DIR the run makes
// a private folder of its own and removes it: a link planted where Qt would have made one
// ($TMPDIR/runtime-<user>) is not followed.
TEST(Irpf2021, PdfIsWrittenWholeOrNotAtAll)
{
    const CarpetaPrivada dir;
    const std::string pdf = dir / "cliente.pdf", tmp = dir / "tmp", victima = dir / "victima";
    std::ofstream(pdf, std::ios::binary) << "%PDF-1.4 anterior";
    fs::create_directories(victima);
    fs::create_directories(tmp);
    fs::create_directory_symlink(victima, tmp + "/runtime-" + getpwuid(getuid())->pw_name);
    const fs::perms permisos = fs::status(victima).permissions();

    // dash counts ulimit -f in blocks of 512 bytes: 2 KiB, far less than a page.
    Ejecucion e = EjecutaOrden("cd '" DATOS_DIR "' && sh -c \"trap '' XFSZ; ulimit -f 4; exec '" IRPF2021_BIN "' --pdf '" +
                               pdf + "' familia.ini\"");
    EXPECT_EQ(e.estado, 1);
    EXPECT_EQ(e.errores, "irpf2021: No se ha podido escribir el fichero «" + pdf +
                             "»: el fichero supera el tamaño permitido.\n");
    EXPECT_EQ(LeeFichero(pdf), "%PDF-1.4 anterior");
    EXPECT_EQ(Irpf2021("--pdf /dev/full familia.ini").estado, 1);

    e = EjecutaOrden("cd '" DATOS_DIR "' && env -u XDG_RUNTIME_DIR TMPDIR='" + tmp + "' '" IRPF2021_BIN "' --pdf '" +
                     pdf + "' familia.ini");
    EXPECT_EQ(e.estado, 0) << e.errores;
    EXPECT_EQ(e.salida + e.errores, "");
    EXPECT_EQ(LeeFichero(pdf).rfind("%PDF-", 0), 0u);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir / ""), fs::directory_iterator()), 3);  // no temporary
    EXPECT_EQ(std::distance(fs::directory_iterator(tmp), fs::directory_iterator()), 1);       // the link only
    EXPECT_EQ(fs::status(victima).permissions(), permisos);
}
#endif
