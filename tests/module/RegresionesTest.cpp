// Hand-edited declarations and the inputs the fuzz targets found, kept so that what went
// wrong once stays fixed: a value no screen writes counts as the empty field it stands for;
// an amount beyond the money type fails the liquidation as a whole. What irpf2021 says of
// each damaged file (tests/data/danados) and kept input is compared through it.
#include "FicheroDeclaracionPruebas.h"
#include "ImprimeMoney.h"
#include "Liquidar.h"

#include <gtest/gtest.h>

#include <array>

using namespace simulador;
namespace fs = std::filesystem;

namespace {

std::string reemplaza(std::string texto, const std::string &de, const std::string &a)
{
    const std::size_t p = texto.find(de);
    EXPECT_NE(p, std::string::npos) << de;
    if (p != std::string::npos)
        texto.replace(p, de.size(), a);
    return texto;
}

using TresModos = std::array<Resultado, 3>;

TresModos liquida(const Declaracion &d)
{
    TresModos r;
    for (Modalidad m : {Modalidad::Conjunta, Modalidad::Declarante, Modalidad::Conyuge}) {
        const Calculo c = Recalcular(d, m);
        EXPECT_TRUE(c.ok) << c.mensaje;
        r[static_cast<std::size_t>(m)] = c.resultado;
    }
    return r;
}

std::vector<std::string> lista(const char *aviso)
{
    return *aviso ? std::vector<std::string>{aviso} : std::vector<std::string>{};
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

// What a screen could never have written is kept as read, warned of, written back as it
// was, and liquidated as the screen's empty field: same boxes as the empty field in every
// mode. The third text of each row is a valid value that changes the boxes, so that each
// row can tell the difference. An empty owner or class is warned of too.
TEST(Regresiones, ValuesNoScreenWritesCountAsTheEmptyField)
{
    struct Caso {
        const char *nombre, *de, *novalido, *vacio, *valido, *aviso, *avisoVacio;
    };
    const Caso casos[] = {
        {"owner of a movable-capital item", "0=I|D|1000", "0=I|B|1000", "0=I||1000", "0=I|C|1000",
         "Titular no válido «B» en [Mobiliario], clave 0, línea 13: se trata como vacío y el cálculo termina la "
         "lista en esta entrada.",
         "Titular vacío en [Mobiliario], clave 0, línea 13: el cálculo termina la lista en esta entrada."},
        {"owner of a capital gain", "0=I|D|01-01-1990", "0=I|X|01-01-1990", "0=I||01-01-1990", "0=I|C|01-01-1990",
         "Titular no válido «X» en [Ganancias], clave 0, línea 16: se trata como vacío y el cálculo termina la "
         "lista en esta entrada.",
         "Titular vacío en [Ganancias], clave 0, línea 16: el cálculo termina la lista en esta entrada."},
        {"owner of a deduction", "0=B|D|", "0=B|Z|", "0=B||", "0=B|C|",
         "Titular no válido «Z» en [Deducciones], clave 0, línea 18: se trata como vacío y el cálculo no tiene en "
         "cuenta esta entrada.",
         "Titular vacío en [Deducciones], clave 0, línea 18: el cálculo no tiene en cuenta esta entrada."},
        {"class of a movable-capital item", "0=I|D|1000", "0=Q|D|1000", "0=|D|1000", "0=A|D|1000",
         "Clase no válida «Q» en [Mobiliario], clave 0, línea 13: se trata como vacía.",
         "Clase no válida «» en [Mobiliario], clave 0, línea 13: se trata como vacía."},
        {"class of a deduction (each list has its own classes)", "0=B|D|", "0=I|D|", "0=|D|", "0=E|D|",
         "Clase no válida «I» en [Deducciones], clave 0, línea 18: se trata como vacía.",
         "Clase no válida «» en [Deducciones], clave 0, línea 18: se trata como vacía."},
        {"child's perceptor", "2=5|2016|0||", "2=5|2016|0|X|", "2=5|2016|0||", "2=5|2016|0|D|",
         "Perceptor no válido «X» (se espera «D», «C» o nada) en [UnidadFamiliar], clave 2, línea 8: se trata como "
         "vacío.", ""},
        {"yes/no of help by third persons", "2=5|2016|0||No|No|", "2=5|2016|0||No|si|", "2=5|2016|0||No||",
         "2=5|2016|0||No|Sí|",
         "Valor no válido «si» (se espera «Sí» o «No») en [UnidadFamiliar], clave 2, línea 8: se trata como «No».", ""},
        {"acquisition date of a gain", "|01-01-1990|", "|31-02-1990|", "||", "|01-01-1990|",
         "Fecha no válida «31-02-1990» en [Ganancias], clave 0, línea 16: se trata como vacía.", ""},
        {"purchase date of a home", "|01-01-2005|", "|2005-01-01|", "||", "|01-03-2021|",
         "Fecha no válida «2005-01-01» en [Deducciones], clave 0, línea 18: se trata como vacía.", ""},
        {"region", "Autonomia=12", "Autonomia=14", "Autonomia=00", "Autonomia=12",
         "Comunidad autónoma no válida «14» en [Datos], clave Autonomia, línea 3: se trata como «00».", ""},
    };
    for (const Caso &c : casos) {
        SCOPED_TRACE(c.nombre);
        const DeclaracionLeida novalido = LeeDeclaracion(reemplaza(kHogar, c.de, c.novalido));
        EXPECT_EQ(novalido.avisos, lista(c.aviso));
        EXPECT_NE(EscribeDeclaracion(novalido.declaracion).find(c.novalido), std::string::npos);
        const DeclaracionLeida vacio = LeeDeclaracion(reemplaza(kHogar, c.de, c.vacio));
        EXPECT_EQ(vacio.avisos, lista(c.avisoVacio));
        EXPECT_EQ(liquida(novalido.declaracion), liquida(vacio.declaracion));
        EXPECT_NE(liquida(LeeDeclaracion(reemplaza(kHogar, c.de, c.valido)).declaracion), liquida(vacio.declaracion));
    }
}

// A file without a single section of ours was read as a declaration of zeros; it is refused
// now (tests/data/danados). One section is enough; what is missing reads as empty, a text
// too: not the start-up "00" of the region.
TEST(Regresiones, OneSectionIsEnoughAndTheRestReadsEmpty)
{
    Declaracion esperada;
    esperada.Autonomia = "";
    RehaceTotales(esperada);
    EXPECT_TRUE(LeeDeclaracion("[Otra]\nNombre=Ana\n[Datos]\n").declaracion == esperada);
}

// A typed box beyond the money type (about 922 billion euros), and typed boxes each in range
// whose liquidation is not: the run fails as a whole and hands back no boxes at all.
TEST(Regresiones, OutOfRangeBoxesFailTheWholeLiquidation)
{
    Declaracion d = LeeDeclaracion(kHogar).declaracion;
    const auto fallaEntera = [&d](int casilla, const std::string &mensaje) {
        for (Modalidad m : {Modalidad::Conjunta, Modalidad::Declarante, Modalidad::Conyuge}) {
            const Calculo r = Recalcular(d, m);
            EXPECT_FALSE(r.ok);
            EXPECT_EQ(r.casilla, casilla);
            EXPECT_EQ(r.mensaje, mensaje);
            EXPECT_EQ(r.resultado, Resultado{});
        }
    };
    d.Casillas[9].Texto = "1.000.000.000.000.000,00";
    fallaEntera(9, "Importe fuera de rango en la casilla 9: «1.000.000.000.000.000,00».");
    d.Casillas[9].Texto = "-900.000.000.000.000,00";
    d.Casillas[21].Texto = "900.000.000.000.000,00";
    fallaEntera(-1, "Importe fuera de rango: la liquidación no cabe en el tipo de importe.");
}

// The inputs the fuzz targets kept (tests/data/regresiones, named after the target; what
// irpf2021 makes of each is compared there too): what loads liquidates in the three modes
// and survives a save. Two employment incomes whose sum for entry 0 of Rentas did not fit
// escaped the reader as an ErrorImporte; control characters inside values are written back
// as blanks, then trimmed; a byte-order mark inside a key and a value of a Windows-1252 file.
TEST(Regresiones, InputsFoundByFuzzing)
{
    int leidos = 0, rechazados = 0;
    for (const auto &e : fs::directory_iterator(fs::path(DATOS_DIR) / "regresiones")) {
        if (e.path().has_extension())  // the expected outputs of irpf2021
            continue;
        SCOPED_TRACE(e.path().filename());
        Declaracion d;
        try {
            d = LeeDeclaracion(leeBytes(e.path())).declaracion;
        } catch (const ErrorFichero &) {
            ++rechazados;
            continue;
        }
        ++leidos;
        liquida(d);
        const std::string guardado = EscribeDeclaracion(LeeDeclaracion(EscribeDeclaracion(d)).declaracion);
        EXPECT_EQ(EscribeDeclaracion(LeeDeclaracion(guardado).declaracion), guardado);
    }
    EXPECT_EQ(leidos, 2) << "a new kept input: count it here and give it a line in tests/data/salidas.txt";
    EXPECT_EQ(rechazados, 1);
}
