// The saved declaration: exact bytes written, round trips, the reader's tolerance and its
// refusals, and the atomic save. Expected texts are written out by hand from the layout.
#include "FicheroDeclaracion.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <limits>
#include <random>

#if !defined(_WIN32)
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#endif

using namespace simulador;
namespace fs = std::filesystem;

namespace {

std::string leeBytes(const fs::path &p)
{
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void escribeBytes(const fs::path &p, const std::string &bytes)
{
    std::ofstream(p, std::ios::binary) << bytes;
}

// Every member, both persons' every field, several items in each list, typed boxes.
Declaracion DeclaracionCompleta()
{
    Declaracion d;
    d.Nombre = "Ibáñez Ortega, María José";
    d.Autonomia = "09";
    d.TramoVivienda = 1;
    const char *si[] = {"Sí", "No", ""};
    for (int r = 0; r < 10; ++r) {
        MiembroFam &m = d.Miembros[r];
        m.AnoNac = static_cast<std::int16_t>(1940 + 8 * r);
        m.Edad = static_cast<std::int16_t>(2021 - m.AnoNac);
        m.Minusvalia = static_cast<std::uint8_t>(r * 11);
        m.Perceptor = r < 2 ? "" : (r % 2 ? "C" : "D");
        m.Fallecido = si[r % 3];
        m.Ayuda = si[(r + 1) % 3];
        m.Convivencia = static_cast<std::uint8_t>(r % 4);
        m.Abono = si[(r + 2) % 3];
    }
    d.Miembros[9].Edad = std::numeric_limits<std::int16_t>::max();
    d.Miembros[8].Minusvalia = 255;
    for (int p = 1; p <= 2; ++p) {
        DatosRenta &x = d.Rentas[p];
        int k = 0;
        // Distinct amounts per field and person, some with four decimals, some negative.
        for (Money *a : {&x.TrabIngresos, &x.TrabGastos, &x.TrabRetencion, &x.TrabReduccion, &x.TrabContribEmpresa,
                         &x.InmIngresos, &x.InmGastos, &x.InmIntereses, &x.InmRetencion, &x.InmValorCat1,
                         &x.InmValorCat2, &x.DirIngresos, &x.DirGastos, &x.DirPagosFrac, &x.DirRetencion,
                         &x.ModRdtoNeto, &x.ModGastosExtra, &x.ModPagosFrac, &x.ModRetencion, &x.AgrRdtoNeto,
                         &x.AgrGastosExtra, &x.AgrPagosFrac, &x.AgrRetencion, &x.RedPlanPension, &x.RedAnualidades,
                         &x.RedAnualidadHijos, &x.Retribuciones}) {
            ++k;
            *a = Money::fromUnits((k % 5 == 0 ? -1 : 1) * (p * 1000000007LL + k * 12345LL));
        }
        x.TrabMovilidad = si[p % 2];
        x.TrabOpcion2 = si[(p + 1) % 2];
        x.InmLocal = "Sí";
        x.InmRevisado1 = "No";
        x.InmRevisado2 = si[p % 2];
        x.DirRedRdtoNeto = si[p % 2];
        x.DirRedEmprendedores = "Sí";
    }
    d.Rentas[1].TrabIngresos = Money::fromUnits(std::numeric_limits<std::int64_t>::max());
    d.Rentas[2].TrabIngresos = Money::fromUnits(std::numeric_limits<std::int64_t>::min() + 1);
    // 60 items: past the 50 entries a list had at start-up.
    const char *clases = "IDTOAPC", *titulares = "ADC";
    for (int n = 0; n < 60; ++n)
        d.ListaMobiliario.push_back({std::string(1, clases[n % 7]), std::string(1, titulares[n % 3]), M("100.25"),
                                     Money::fromUnits(n), M("19.0001"), M("-3.5")});
    d.ListaGanancias.push_back({"I", "D", "01-02-1994", M("60101.21"), "15/07/2021", M("180303.63"), M("90000"),
                                M("150000"), M("0"), M("0"), M("0")});
    d.ListaGanancias.push_back({"A", "A", "3-4-05", M("1000"), "31-12-2021", M("900"), M("1200.5"), M("0"),
                                M("12.3456"), M("-5"), M("7")});
    d.ListaGanancias.push_back({"O", "C", "", M("0"), "", M("0"), M("0"), M("0"), M("0"), M("300"), M("0.0001")});
    d.ListaDeducciones.push_back({"B", "D", "01-01-2005", M("9040"), M("0"), M("15")});
    d.ListaDeducciones.push_back({"E", "C", "", M("250"), M("65"), M("1")});
    d.ListaDeducciones.push_back({"G", "A", "", M("3000"), M("0"), M("20")});
    d.ListaAutonomicas.push_back({"Texto uno", "", M("1"), M("2.5"), M("-3")});
    d.ListaAutonomicas.push_back({"", "Dos", M("0"), M("0"), M("0")});
    for (int n : {9, 21, 22, 26, 32, 59, 84, 87, 92, 95, 96})
        d.Casillas[n].Texto = n % 2 ? "-1.234,56" : "0,00";
    RehaceTotales(d);
    return d;
}

// A folder of its own under the system's temporary folder, removed afterwards.
class FicheroEnDisco : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::random_device azar;
        m_dir = fs::temp_directory_path() / ("fichero-declaracion-" + std::to_string(azar()));
        fs::create_directories(m_dir);
    }
    void TearDown() override
    {
        std::error_code ec;
        fs::permissions(m_dir, fs::perms::owner_all, fs::perm_options::add, ec);
        fs::remove_all(m_dir, ec);
    }
    std::string ruta(const std::string &nombre) const { return (m_dir / nombre).string(); }
    // Names in the folder, to see that a failed save leaves no temporary file behind.
    std::vector<std::string> contenido() const
    {
        std::vector<std::string> v;
        for (const auto &e : fs::directory_iterator(m_dir))
            v.push_back(e.path().filename().string());
        std::sort(v.begin(), v.end());
        return v;
    }
    fs::path m_dir;
};

std::string mensajeDe(const std::function<void()> &f)
{
    try {
        f();
    } catch (const ErrorFichero &e) {
        return e.what();
    }
    return "(no error)";
}

}  // namespace

TEST(FicheroDeclaracion, WritesTheExactLayoutInWindows1252)
{
    Declaracion d;
    d.Nombre = "Núñez Łoś €";  // Ł and ś have no place in Windows-1252: "?"
    d.Autonomia = "12";
    d.Miembros[0] = {46, 1975, 0, "", "", "No", 0, "Sí"};
    d.Miembros[2] = {5, 2016, 33, "D", "No", "No", 2, ""};
    DatosRenta &a = d.Rentas[1];
    a.TrabIngresos = M("30000.5");
    a.TrabGastos = M("1234.5678");
    a.TrabRetencion = M("4500");
    a.TrabMovilidad = "Sí";
    a.TrabOpcion2 = "No";
    a.InmValorCat1 = M("80000");
    a.InmRevisado1 = "Sí";
    a.InmIntereses = M("300");
    a.InmLocal = "No";
    a.Retribuciones = M("12000");
    a.RedPlanPension = M("2000");
    d.ListaMobiliario = {{"I", "D", M("100"), M("0"), M("19"), M("7.5")},
                         {"O", "", M("1"), M("1"), M("1"), M("1")},  // no owner: not written
                         {"A", "C", M("-50.25"), M("0"), M("0"), M("0")}};
    d.ListaGanancias = {{"A", "A", "15-03-2010", M("10000"), "20-06-2021", M("15000"), M("12000"), M("500"),
                         M("1.5"), M("0"), M("0")}};
    d.ListaDeducciones = {{"B", "D", "01-01-2005", M("9040"), M("0"), M("15")}};
    d.Casillas[9].Texto = "1.234,56";
    d.Casillas[21].Texto = "0,00";
    d.Casillas[0].Texto = "5,00";  // a result box: never saved
    const std::string vacio = "=0|0|0||||0|\r\n";
    const std::string esperado =
        "[Datos]\r\nNombre=N\xFA\xF1" "ez ?o? \x80\r\nAutonomia=12\r\nTramo=0\r\n"
        "[UnidadFamiliar]\r\n0=46|1975|0|||No|0|S\xED\r\n1" + vacio + "2=5|2016|33|D|No|No|2|\r\n" +
        "3" + vacio + "4" + vacio + "5" + vacio + "6" + vacio + "7" + vacio + "8" + vacio + "9" + vacio +
        "[Trabajo]\r\n1=30000,5|1234,5678|4500|0|0|S\xED|No\r\n2=0|0|0|0|0||\r\n"
        "[Mobiliario]\r\n0=I|D|100|0|7,5|19\r\n2=A|C|-50,25|0|0|0\r\n"
        "[Inmobiliario]\r\n1=0|0|0|80000|S\xED|0||300|No\r\n2=0|0|0|0||0||0|\r\n"
        "[Directas]\r\n1=0|0|0|0||12000|\r\n2=0|0|0|0||0|\r\n"
        "[Modulos]\r\n1=0|0|0|0|12000\r\n2=0|0|0|0|0\r\n"
        "[Agrarias]\r\n1=0|0|0|0|12000\r\n2=0|0|0|0|0\r\n"
        "[Reducciones]\r\n1=2000|0|0\r\n2=0|0|0\r\n"
        "[Ganancias]\r\n0=A|A|15-03-2010|10000|20-06-2021|15000|1,5|0|0|12000|500\r\n"
        "[Deducciones]\r\n0=B|D|01-01-2005|9040|0|15\r\n"
        "[Autonomicas]\r\n"
        "[Varios]\r\n9=1.234,56\r\n21=0,00\r\n";
    EXPECT_EQ(EscribeDeclaracion(d), esperado);
}

TEST(FicheroDeclaracion, WriterKeepsOneEntryPerLine)
{
    Declaracion d;
    d.Nombre = "Ana\r\nTramo=1";
    d.ListaMobiliario = {{"I|X", "D", M("1"), M("2"), M("3"), M("4")}};
    const std::string texto = EscribeDeclaracion(d);
    EXPECT_NE(texto.find("Nombre=Ana  Tramo=1\r\n"), std::string::npos);
    EXPECT_NE(texto.find("0=I?X|D|1|2|4|3\r\n"), std::string::npos);
    EXPECT_EQ(LeeDeclaracion(texto).declaracion.TramoVivienda, 0);
}

TEST(FicheroDeclaracion, FullDeclarationRoundTrips)
{
    const Declaracion d = DeclaracionCompleta();
    const DeclaracionLeida leida = LeeDeclaracion(EscribeDeclaracion(d));
    EXPECT_TRUE(leida.avisos.empty()) << leida.avisos.front();
    EXPECT_EQ(leida.declaracion.ListaMobiliario.size(), 60u);
    EXPECT_TRUE(leida.declaracion == d);
    // A second write of what was read gives the same bytes.
    EXPECT_EQ(EscribeDeclaracion(leida.declaracion), EscribeDeclaracion(d));
}

TEST(FicheroDeclaracion, ReadingRules)
{
    struct Caso {
        const char *nombre;
        std::string fichero;
        std::function<void(const Declaracion &)> comprueba;
    };
    const std::string largo(300, 'x');
    std::string lista60 = "[Deducciones]\n";
    for (int n = 0; n < 60; ++n)
        lista60 += std::to_string(n) + "=B|D||" + std::to_string(n) + "\n";
    const std::vector<Caso> casos = {
        {"names ignore case", "[datos]\nNOMBRE=Ana\nautonomia=17\n[TRABAJO]\n1=100\n",
         [](const Declaracion &d) {
             EXPECT_EQ(d.Nombre, "Ana");
             EXPECT_EQ(d.Autonomia, "17");
             EXPECT_EQ(d.Rentas[1].TrabIngresos, M("100"));
         }},
        {"first of repeated keys and sections", "[Datos]\nNombre=Primero\nNombre=Segundo\n[Trabajo]\n2=5\n[datos]\nNombre=Otro\nTramo=1\n",
         [](const Declaracion &d) {
             EXPECT_EQ(d.Nombre, "Primero");
             EXPECT_EQ(d.TramoVivienda, 1);
             EXPECT_EQ(d.Rentas[2].TrabIngresos, M("5"));
         }},
        {"values trimmed, comments and LF lines", "; saved by hand\r\n\n[Datos]\r\n  Nombre =  \tAna López \t\r\nTramo= 1 \n",
         [](const Declaracion &d) {
             EXPECT_EQ(d.Nombre, "Ana López");
             EXPECT_EQ(d.TramoVivienda, 1);
         }},
        {"value cut to 249 characters", "[Datos]\nNombre=" + largo + "\n",
         [](const Declaracion &d) { EXPECT_EQ(d.Nombre, std::string(249, 'x')); }},
        {"249 characters, not bytes (UTF-8)", "[Datos]\nNombre=" + std::string(248, 'a') + "ñññ\n",
         [](const Declaracion &d) { EXPECT_EQ(d.Nombre, std::string(248, 'a') + "ñ"); }},
        {"249 characters, not bytes (Windows-1252)", "[Datos]\nNombre=" + std::string(247, 'a') + "\xF1\xF1\xF1\n",
         [](const Declaracion &d) { EXPECT_EQ(d.Nombre, std::string(247, 'a') + "ññ"); }},
        {"list read past key 49", lista60,
         [](const Declaracion &d) {
             ASSERT_EQ(d.ListaDeducciones.size(), 60u);
             EXPECT_EQ(d.ListaDeducciones[59].Importe, M("59"));
         }},
        {"list stops at a gap; first of repeated keys", "[Mobiliario]\n1=D|D|1\n0=I|A|2\n3=T|C|3\n0=O|C|9\n",
         [](const Declaracion &d) {
             ASSERT_EQ(d.ListaMobiliario.size(), 2u);
             EXPECT_EQ(d.ListaMobiliario[0].Ingreso, M("2"));
             EXPECT_EQ(d.ListaMobiliario[1].Clase, "D");
         }},
        {"list stops at an empty value; key 01 is not key 1", "[Ganancias]\n0=A|D\n01=I|D\n1=\n2=O|C\n",
         [](const Declaracion &d) { EXPECT_EQ(d.ListaGanancias.size(), 1u); }},
        {"Windows-1252 yes", "[UnidadFamiliar]\n0=40|1981|0|||S\xED|0|No\n",
         [](const Declaracion &d) { EXPECT_EQ(d.Miembros[0].Ayuda, "Sí"); }},
        {"UTF-8 yes after a BOM", "\xEF\xBB\xBF[UnidadFamiliar]\n0=40|1981|0|||S\xC3\xAD|0|No\n",
         [](const Declaracion &d) { EXPECT_EQ(d.Miembros[0].Ayuda, "Sí"); }},
        {"amounts: sheet form in [Varios], plain in records",
         "[Varios]\n9=1.234,56\n0=1,00\n107=2,00\n[Trabajo]\n1=1234,5|1234.5|-0,0001|+7\n",
         [](const Declaracion &d) {
             EXPECT_EQ(d.Casillas[9].Texto, "1.234,56");
             EXPECT_EQ(d.Casillas[0].Texto, "");
             EXPECT_EQ(d.Rentas[1].TrabIngresos, M("1234.5"));
             EXPECT_EQ(d.Rentas[1].TrabGastos, M("1234.5"));
             EXPECT_EQ(d.Rentas[1].TrabRetencion, M("-0.0001"));
             EXPECT_EQ(d.Rentas[1].TrabReduccion, M("7"));
             // Totals rebuilt: 1234.5 + 0 for the declarant only.
             EXPECT_EQ(d.Rentas[0].TrabIngresos, M("1234.5"));
         }},
        {"missing trailing fields and whole numbers at their limits", "[UnidadFamiliar]\n3=-32768|32767|255\n[Trabajo]\n2=10\n",
         [](const Declaracion &d) {
             EXPECT_EQ(d.Miembros[3], (MiembroFam{-32768, 32767, 255, "", "", "", 0, ""}));
             EXPECT_EQ(d.Rentas[2].TrabIngresos, M("10"));
             EXPECT_EQ(d.Rentas[2].TrabMovilidad, "");
         }},
    };
    for (const Caso &c : casos) {
        SCOPED_TRACE(c.nombre);
        c.comprueba(LeeDeclaracion(c.fichero).declaracion);
    }
}

TEST(FicheroDeclaracion, MissingSectionsReadAsEmpty)
{
    Declaracion esperada;
    esperada.Autonomia = "";  // a missing text is empty, not the start-up "00"
    RehaceTotales(esperada);
    EXPECT_TRUE(LeeDeclaracion("").declaracion == esperada);
    EXPECT_TRUE(LeeDeclaracion("[Otra]\nNombre=Ana\n[Datos]\n").declaracion == esperada);
}

TEST(FicheroDeclaracion, Windows1252BytesWithoutACharacterSurviveARoundTrip)
{
    // 0x81 is undefined in Windows-1252; a file holding it is written back unchanged.
    const Declaracion d = LeeDeclaracion("[Datos]\r\nNombre=A\x81" "B\r\n").declaracion;
    EXPECT_NE(EscribeDeclaracion(d).find("Nombre=A\x81" "B\r\n"), std::string::npos);
}

TEST(FicheroDeclaracion, RefusesBadValuesNamingTheirPlace)
{
    struct Caso {
        std::string fichero, mensaje, seccion, clave;
        int linea;
    };
    const std::vector<Caso> casos = {
        {"[Trabajo]\n1=12a", "Importe no válido «12a» en [Trabajo], clave 1, línea 2.", "Trabajo", "1", 2},
        {"[Reducciones]\n\n2=0|99999999999999999", "Importe fuera de rango «99999999999999999» en [Reducciones], clave 2, línea 3.",
         "Reducciones", "2", 3},
        {"[Trabajo]\n1=1.234,5", "Importe no válido «1.234,5» en [Trabajo], clave 1, línea 2.", "Trabajo", "1", 2},
        {"[Mobiliario]\n0=I|D|1\n1=I|D|1|x", "Importe no válido «x» en [Mobiliario], clave 1, línea 3.", "Mobiliario", "1", 3},
        {"[Varios]\n9=1|2", "Importe no válido «1|2» en [Varios], clave 9, línea 2.", "Varios", "9", 2},
        {"[UnidadFamiliar]\n0=4a|1980", "Número no válido «4a» en [UnidadFamiliar], clave 0, línea 2.", "UnidadFamiliar", "0", 2},
        {"[UnidadFamiliar]\n0=0|0|-1", "Número no válido «-1» en [UnidadFamiliar], clave 0, línea 2.", "UnidadFamiliar", "0", 2},
        {"[UnidadFamiliar]\n5=0|0|256", "Número fuera de rango «256» en [UnidadFamiliar], clave 5, línea 2.", "UnidadFamiliar", "5", 2},
        {"[UnidadFamiliar]\n0=-32769", "Número fuera de rango «-32769» en [UnidadFamiliar], clave 0, línea 2.", "UnidadFamiliar", "0", 2},
        {"[Datos]\nTramo=-", "Número no válido «-» en [Datos], clave Tramo, línea 2.", "Datos", "Tramo", 2},
        {"[Datos]\nNombre=Ana\nesto no es nada\n", "Línea no válida en el fichero (línea 3): «esto no es nada»", "", "", 3},
        {"[Datos\nNombre=Ana\n", "Línea no válida en el fichero (línea 1): «[Datos»", "", "", 1},
        {"[Datos]\n=Ana\n", "Línea no válida en el fichero (línea 2): «=Ana»", "", "", 2},
        {std::string("[Datos]\nNombre=A\0B", 18), "El fichero no es una declaración guardada (contiene datos binarios).", "", "", 0},
    };
    for (const Caso &c : casos) {
        SCOPED_TRACE(c.fichero);
        try {
            LeeDeclaracion(c.fichero);
            ADD_FAILURE() << "no error";
        } catch (const ErrorFichero &e) {
            EXPECT_EQ(e.what(), c.mensaje);
            EXPECT_EQ(e.seccion(), c.seccion);
            EXPECT_EQ(e.clave(), c.clave);
            EXPECT_EQ(e.linea(), c.linea);
        }
    }
}

TEST(FicheroDeclaracion, WarnsOfTextsNoScreenWritesAndKeepsThem)
{
    const DeclaracionLeida l = LeeDeclaracion(
        "[Datos]\nAutonomia=14\n"
        "[UnidadFamiliar]\n0=40|1981|0||si|No|0|\n2=5|2016|0|X|No|No|0|No\n"
        "[Mobiliario]\n0=Z|B|1\n1=I||2\n"
        "[Ganancias]\n0=A|D|31-02-2021|1|01-01-2021|2\n"
        "[Deducciones]\n0=I|A|2021-01-01\n1=B\n");
    const std::vector<std::string> esperados = {
        "Comunidad autónoma no válida «14» en [Datos], clave Autonomia, línea 2: se trata como «00».",
        "Valor no válido «si» (se espera «Sí» o «No») en [UnidadFamiliar], clave 0, línea 4: se trata como «No».",
        "Perceptor no válido «X» (se espera «D», «C» o nada) en [UnidadFamiliar], clave 2, línea 5: se trata como vacío.",
        "Clase no válida «Z» en [Mobiliario], clave 0, línea 7: se trata como vacía.",
        "Titular no válido «B» en [Mobiliario], clave 0, línea 7: se trata como vacío y el cálculo termina la "
        "lista en esta entrada.",
        "Titular vacío en [Mobiliario], clave 1, línea 8: el cálculo termina la lista en esta entrada.",
        "Fecha no válida «31-02-2021» en [Ganancias], clave 0, línea 10: se trata como vacía.",
        "Clase no válida «I» en [Deducciones], clave 0, línea 12: se trata como vacía.",
        "Fecha no válida «2021-01-01» en [Deducciones], clave 0, línea 12: se trata como vacía.",
        "Titular vacío en [Deducciones], clave 1, línea 13: el cálculo no tiene en cuenta esta entrada.",
    };
    EXPECT_EQ(l.avisos, esperados);
    const Declaracion &d = l.declaracion;
    EXPECT_EQ(d.Autonomia, "14");
    EXPECT_EQ(d.Miembros[0].Fallecido, "si");
    EXPECT_EQ(d.Miembros[2].Perceptor, "X");
    ASSERT_EQ(d.ListaMobiliario.size(), 2u);
    EXPECT_EQ(d.ListaMobiliario[0].Titular, "B");
    EXPECT_EQ(d.ListaGanancias.at(0).FechaAdquisicion, "31-02-2021");
}

TEST_F(FicheroEnDisco, SavesAndLoads)
{
    const Declaracion d = DeclaracionCompleta();
    const std::string r = ruta("DatosCa21.Ini");
    escribeBytes(r, "anterior");
    fs::permissions(r, fs::perms::owner_read | fs::perms::owner_write);
    GuardaDeclaracion(d, r);
    EXPECT_EQ(leeBytes(r), EscribeDeclaracion(d));
    // The new file replaced a private one and stays private.
    EXPECT_EQ(fs::status(r).permissions(), fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_TRUE(CargaDeclaracion(r).declaracion == d);
    EXPECT_EQ(contenido(), std::vector<std::string>{"DatosCa21.Ini"});
}

TEST_F(FicheroEnDisco, LoadRefusesMissingLargeAndUnreadable)
{
    const std::string falta = ruta("no-existe.Ini");
    EXPECT_EQ(mensajeDe([&] { CargaDeclaracion(falta); }), "No se encuentra el fichero «" + falta + "».");
    EXPECT_EQ(mensajeDe([&] { CargaDeclaracion(m_dir.string()); }),
              "No se puede leer el fichero «" + m_dir.string() + "»: es una carpeta.");
#if !defined(_WIN32)
    // A pipe with no writer would block a plain open for ever.
    const std::string tuberia = ruta("tuberia");
    ASSERT_EQ(mkfifo(tuberia.c_str(), 0600), 0);
    EXPECT_EQ(mensajeDe([&] { CargaDeclaracion(tuberia); }),
              "No se puede leer el fichero «" + tuberia + "»: no es un fichero normal.");
#endif

    // Exactly 1 MiB is still read; one byte more is refused without reading it.
    std::string justo = "[Datos]\r\nNombre=Ana\r\n;";
    justo.resize(kTamanoMaximoFichero, 'x');
    const std::string limite = ruta("limite.Ini");
    escribeBytes(limite, justo);
    EXPECT_EQ(CargaDeclaracion(limite).declaracion.Nombre, "Ana");
    // The 64 GiB file is sparse: reading it whole would not even fit in memory.
    for (std::uintmax_t tamano : {std::uintmax_t{kTamanoMaximoFichero + 1}, std::uintmax_t{64} << 30}) {
        const std::string grande = ruta("grande.Ini");
        escribeBytes(grande, "");
        fs::resize_file(grande, tamano);
        EXPECT_EQ(mensajeDe([&] { CargaDeclaracion(grande); }),
                  "El fichero «" + grande + "» es demasiado grande (más de 1 MiB) para ser una declaración.");
    }
}

TEST_F(FicheroEnDisco, FailedSaveLeavesWhatWasThere)
{
    const Declaracion d = DeclaracionCompleta();
    // The path is a folder (with a file inside): refused, the folder untouched.
    const std::string carpeta = ruta("DatosCa21.Ini");
    fs::create_directory(carpeta);
    escribeBytes(fs::path(carpeta) / "dentro", "intacto");
    EXPECT_EQ(mensajeDe([&] { GuardaDeclaracion(d, carpeta); }),
              "No se ha podido guardar la declaración en «" + carpeta + "»: es una carpeta.");
    EXPECT_EQ(leeBytes(fs::path(carpeta) / "dentro"), "intacto");

    const std::string sinCarpeta = ruta("no/existe/DatosCa21.Ini");
    EXPECT_EQ(mensajeDe([&] { GuardaDeclaracion(d, sinCarpeta); }),
              "No se ha podido guardar la declaración en «" + sinCarpeta + "»: no existe la carpeta o el fichero.");
    EXPECT_EQ(contenido(), std::vector<std::string>{"DatosCa21.Ini"});
}

#if !defined(_WIN32)
TEST_F(FicheroEnDisco, SaveThatRunsOutOfSpaceKeepsThePreviousFile)
{
    // A file-size limit makes the write of the new file fail half-way, as a full disk
    // would, even for root, who ignores folder permissions.
    const std::string r = ruta("DatosCa21.Ini");
    const std::string anterior = EscribeDeclaracion(Declaracion());
    escribeBytes(r, anterior);
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit antes{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &antes), 0);
    rlimit corto = antes;
    corto.rlim_cur = 512;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &corto), 0);
    const std::string mensaje = mensajeDe([&] { GuardaDeclaracion(DeclaracionCompleta(), r); });
    setrlimit(RLIMIT_FSIZE, &antes);
    std::signal(SIGXFSZ, SIG_DFL);
    EXPECT_EQ(mensaje, "No se ha podido guardar la declaración en «" + r + "»: el fichero supera el tamaño permitido.");
    EXPECT_EQ(leeBytes(r), anterior);
    EXPECT_EQ(contenido(), std::vector<std::string>{"DatosCa21.Ini"});
}
#endif
