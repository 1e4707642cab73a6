// Damaged and hand-edited declarations, and the inputs the fuzz targets found, kept so
// that what went wrong once stays fixed. A damaged file is refused with a message that
// says where, or read with a warning; a value no screen writes counts as the empty field
// it stands for; an amount beyond the money type fails the liquidation as a whole.
#include "FicheroDeclaracion.h"
#include "ImprimeMoney.h"
#include "Liquidar.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <iterator>

using namespace simulador;
namespace fs = std::filesystem;

namespace {

std::string leeBytes(const fs::path &p)
{
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string reemplaza(std::string texto, const std::string &de, const std::string &a)
{
    const std::size_t p = texto.find(de);
    EXPECT_NE(p, std::string::npos) << de;
    if (p != std::string::npos)
        texto.replace(p, de.size(), a);
    return texto;
}

std::string errorDe(const std::string &contenido)
{
    try {
        LeeDeclaracion(contenido);
    } catch (const ErrorFichero &e) {
        return e.what();
    }
    return "(no error)";
}

using TresModos = std::array<Resultado, 3>;

TresModos liquida(const Declaracion &d)
{
    TresModos r;
    for (std::int16_t m : {Conjunta, Declarante, Conyuge}) {
        const Calculo c = Recalcular(d, m);
        EXPECT_TRUE(c.ok) << c.mensaje;
        r[static_cast<std::size_t>(m)] = c.resultado;
    }
    return r;
}

bool contiene(const std::vector<std::string> &avisos, const std::string &texto)
{
    for (const std::string &a : avisos) {
        if (a.find(texto) != std::string::npos)
            return true;
    }
    return false;
}

// A couple with a child in Madrid, with an item in each list, for the rows below.
const std::string kHogar = "[Datos]\r\nNombre=Hogar\r\nAutonomia=12\r\nTramo=0\r\n"
                           "[UnidadFamiliar]\r\n0=45|1976|0||No|No|0|No\r\n1=43|1978|0||No|No|0|No\r\n"
                           "2=5|2016|0||No|No|0|No\r\n"
                           "[Trabajo]\r\n1=30000|2000|4000|0|0|No|No\r\n2=12000|1000|1000|0|0|No|No\r\n"
                           "[Mobiliario]\r\n0=I|D|1000|0|0|190\r\n1=I|A|500|0|0|95\r\n"
                           "[Ganancias]\r\n0=I|D|01-01-1990|100000|15-06-2021|150000|0|0|0|0|0\r\n"
                           "[Deducciones]\r\n0=B|D|01-01-2005|9000|0|0\r\n"
                           "[Varios]\r\n";

}  // namespace

// What a screen could never have written is kept as read, warned of, and liquidated as the
// screen's empty field: same boxes as the empty field in every mode. The third text of each
// row is a valid value that changes the boxes, so that each row can tell the difference.
TEST(Regresiones, ValuesNoScreenWritesCountAsTheEmptyField)
{
    struct Caso {
        const char *nombre, *de, *novalido, *vacio, *valido, *aviso;
    };
    const Caso casos[] = {
        {"owner of a movable-capital item", "0=I|D|1000", "0=I|B|1000", "0=I||1000", "0=I|C|1000",
         "Titular no válido «B» en [Mobiliario], clave 0, línea 13: se trata como vacío y el cálculo termina la lista"},
        {"owner of a capital gain", "0=I|D|01-01-1990", "0=I|X|01-01-1990", "0=I||01-01-1990", "0=I|C|01-01-1990",
         "Titular no válido «X» en [Ganancias]"},
        {"owner of a deduction", "0=B|D|", "0=B|Z|", "0=B||", "0=B|C|",
         "Titular no válido «Z» en [Deducciones], clave 0, línea 18: se trata como vacío y el cálculo no tiene"},
        {"class of a movable-capital item", "0=I|D|1000", "0=Q|D|1000", "0=|D|1000", "0=A|D|1000",
         "Clase no válida «Q» en [Mobiliario], clave 0, línea 13: se trata como vacía."},
        {"child's perceptor", "2=5|2016|0||", "2=5|2016|0|X|", "2=5|2016|0||", "2=5|2016|0|D|",
         "Perceptor no válido «X» (se espera «D», «C» o nada) en [UnidadFamiliar], clave 2, línea 8: se trata como vacío."},
        {"yes/no of help by third persons", "2=5|2016|0||No|No|", "2=5|2016|0||No|si|", "2=5|2016|0||No||",
         "2=5|2016|0||No|Sí|", "Valor no válido «si» (se espera «Sí» o «No») en [UnidadFamiliar], clave 2"},
        {"acquisition date of a gain", "|01-01-1990|", "|31-02-1990|", "||", "|01-01-1990|",
         "Fecha no válida «31-02-1990» en [Ganancias], clave 0, línea 16: se trata como vacía."},
        {"purchase date of a home", "|01-01-2005|", "|2005-01-01|", "||", "|01-03-2021|",
         "Fecha no válida «2005-01-01» en [Deducciones]"},
        {"region", "Autonomia=12", "Autonomia=14", "Autonomia=00", "Autonomia=12",
         "Comunidad autónoma no válida «14» en [Datos], clave Autonomia, línea 3: se trata como «00»."},
    };
    for (const Caso &c : casos) {
        SCOPED_TRACE(c.nombre);
        const DeclaracionLeida novalido = LeeDeclaracion(reemplaza(kHogar, c.de, c.novalido));
        EXPECT_TRUE(contiene(novalido.avisos, c.aviso)) << (novalido.avisos.empty() ? "" : novalido.avisos.front());
        const TresModos vacio = liquida(LeeDeclaracion(reemplaza(kHogar, c.de, c.vacio)).declaracion);
        EXPECT_EQ(liquida(novalido.declaracion), vacio);
        EXPECT_NE(liquida(LeeDeclaracion(reemplaza(kHogar, c.de, c.valido)).declaracion), vacio);
    }
}

TEST(Regresiones, DamagedFilesAreRefusedOrWarnedOf)
{
    // Refused: the message names the place, and nothing of the file is taken.
    EXPECT_EQ(errorDe("[Trabajo]\r\n1=900000000000000\r\n2=900000000000000\r\n"),
              "Importe fuera de rango en [Trabajo], clave 2, línea 3: la suma del declarante y el cónyuge no cabe en "
              "el tipo de importe.");
    EXPECT_EQ(errorDe("[Reducciones]\r\n1=0|0|-922337203685477\r\n2=0|0|-1\r\n"),
              "Importe fuera de rango en [Reducciones], clave 2, línea 3: la suma del declarante y el cónyuge no cabe "
              "en el tipo de importe.");
    EXPECT_EQ(errorDe("\x89PNG\r\n\x1a\n"), "Línea no válida en el fichero (línea 1): «‰PNG»");
    // Read with a warning: a file cut in the middle of a line, and an empty one.
    const DeclaracionLeida cortado = LeeDeclaracion(kHogar.substr(0, kHogar.find("2=12000|1000") + 9));
    EXPECT_EQ(cortado.avisos, std::vector<std::string>{"El fichero parece cortado: la línea 11 («2=12000|1») no "
                                                       "termina; compruebe sus datos y los de las secciones que falten."});
    EXPECT_EQ(cortado.declaracion.Rentas[2].TrabIngresos, M("12000"));
    EXPECT_EQ(LeeDeclaracion("").avisos, std::vector<std::string>{"El fichero está vacío: no contiene ninguna declaración."});
    EXPECT_TRUE(LeeDeclaracion(kHogar).avisos.empty());
}

// A typed box beyond the money type (about 922 billion euros), and typed boxes each in range
// whose liquidation is not: the run fails as a whole and hands back no boxes at all.
TEST(Regresiones, OutOfRangeBoxesFailTheWholeLiquidation)
{
    struct Caso {
        const char *nombre;
        std::vector<std::pair<int, const char *>> casillas;
        int casilla;
        const char *mensaje;
    };
    const Caso casos[] = {
        {"typed beyond the range", {{9, "1.000.000.000.000.000,00"}}, 9,
         "Importe fuera de rango en la casilla 9: «1.000.000.000.000.000,00»."},
        {"each in range, their sum not", {{9, "-900.000.000.000.000,00"}, {21, "900.000.000.000.000,00"}}, -1,
         "Importe fuera de rango: la liquidación no cabe en el tipo de importe."},
    };
    for (const Caso &c : casos) {
        SCOPED_TRACE(c.nombre);
        Declaracion d = LeeDeclaracion(kHogar).declaracion;
        for (const auto &[n, texto] : c.casillas)
            d.Casillas[static_cast<std::size_t>(n)].Texto = texto;
        for (std::int16_t m : {Conjunta, Declarante, Conyuge}) {
            const Calculo r = Recalcular(d, m);
            EXPECT_FALSE(r.ok);
            EXPECT_EQ(r.casilla, c.casilla);
            EXPECT_EQ(r.mensaje, c.mensaje);
            EXPECT_EQ(r.resultado, Resultado{});
        }
    }
}

// The inputs the fuzz targets kept (tests/data/regresiones, named after the target). Each
// one loads or is refused with the message below; what loads liquidates in the three modes
// and survives a save.
TEST(Regresiones, InputsFoundByFuzzing)
{
    struct Caso {
        const char *fichero, *error;
    };
    const Caso casos[] = {
        // Two employment incomes that each fit the money type and whose sum for entry 0
        // of Rentas did not: the overflow escaped the reader as an ErrorImporte.
        {"fuzz_recalcular-suma-fuera-de-rango",
         "Importe fuera de rango en [Trabajo], clave 2, línea 3: la suma del declarante y el cónyuge no cabe en el "
         "tipo de importe."},
        // Control characters inside values: written back as blanks, then trimmed.
        {"fuzz_lee_declaracion-caracteres-de-control", nullptr},
        // A byte-order mark inside a key and a value of a Windows-1252 file.
        {"fuzz_lee_declaracion-bom-en-mitad-de-valores", nullptr},
    };
    std::size_t vistos = 0;
    for (const auto &e : fs::directory_iterator(fs::path(DATOS_DIR) / "regresiones"))
        vistos += e.is_regular_file();
    EXPECT_EQ(vistos, std::size(casos)) << "every kept input has its row";
    for (const Caso &c : casos) {
        SCOPED_TRACE(c.fichero);
        const std::string contenido = leeBytes(fs::path(DATOS_DIR) / "regresiones" / c.fichero);
        ASSERT_FALSE(contenido.empty());
        if (c.error) {
            EXPECT_EQ(errorDe(contenido), c.error);
            continue;
        }
        const Declaracion d = LeeDeclaracion(contenido).declaracion;
        liquida(d);
        const Declaracion guardada = LeeDeclaracion(EscribeDeclaracion(d)).declaracion;
        EXPECT_EQ(EscribeDeclaracion(LeeDeclaracion(EscribeDeclaracion(guardada)).declaracion),
                  EscribeDeclaracion(guardada));
    }
}
