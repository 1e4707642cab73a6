// The saved declaration: the exact bytes written (worked out by hand from the layout), round
// trips, the reader's tolerance and refusals, the atomic save, and the files' safety against
// other local users.
#include "FicheroDeclaracionPruebas.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <functional>
#include <map>
#include <set>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace simulador;
namespace fs = std::filesystem;

namespace {

// A private folder of the test's own; the full declaration of tests/data: every field of
// both persons, ten members, 60 movable-capital items (past the 50 a list had at start-up),
// the amounts and whole numbers at their limits, typed boxes.
class FicheroEnDisco : public ::testing::Test {
protected:
    static Declaracion completa() { return LeeDeclaracion(leeBytes(DATOS_DIR "/completa.ini")).declaracion; }
    std::string ruta(const std::string &nombre) const { return (m_dir / nombre).string(); }
    // Entries in the folder, to see that a failed save leaves no temporary file behind.
    std::ptrdiff_t entradas() const { return std::distance(fs::directory_iterator(m_dir), fs::directory_iterator()); }
    // A shell command run in the folder, to lay out links, modes and owners in one line.
    void sh(const std::string &orden) const
    {
        ASSERT_EQ(std::system(("cd '" + m_dir.string() + "' && " + orden).c_str()), 0) << orden;
    }
    // Everything under the folder, links not followed: kind and mode, owner, and the content
    // or the link's target. Equal before and after: nothing was written, moved or left.
    std::map<std::string, std::string> foto() const
    {
        std::map<std::string, std::string> f;
        for (const fs::directory_entry &e : fs::recursive_directory_iterator(m_dir)) {
            struct stat st {};
            lstat(e.path().c_str(), &st);
            std::string v = std::to_string(st.st_mode) + " " + std::to_string(st.st_uid) + " ";
            v += S_ISLNK(st.st_mode) ? fs::read_symlink(e.path()).string() : S_ISREG(st.st_mode) ? leeBytes(e.path()) : "";
            f[e.path().lexically_relative(m_dir).string()] = v;
        }
        return f;
    }
    // Each case lays out, beside the user's .bashrc and a folder "victima", the last
    // declaration's folder "u/simulador-irpf2021" (shell command run in "u"). Loading and
    // saving are then refused naming `motivo` (a read-only file is only never replaced), and
    // nothing under the test's folder changes: nothing written through a link, no mode
    // changed, no temporary left.
    struct Rechazo {
        const char *nombre, *orden, *motivo;
        bool seLee = false;
    };
    void compruebaRechazos(const std::vector<Rechazo> &casos) const
    {
        for (const Rechazo &c : casos) {
            SCOPED_TRACE(c.nombre);
            fs::remove_all(m_dir / "u");
            sh(std::string("mkdir -p u/victima && cd u && echo [Datos] > victima/DatosCa21.Ini && echo alias > .bashrc && ") +
               c.orden);
            const std::string carpeta = ruta("u/simulador-irpf2021");
            const auto antes = foto();
            const std::string leido = mensajeDe([&] {
                if (HayUltimaDeclaracion(carpeta))
                    CargaUltimaDeclaracion(carpeta);
            });
            EXPECT_TRUE(c.seLee ? leido == "(no error)" : leido.find(c.motivo) != std::string::npos) << leido;
            const std::string guardado = mensajeDe([&] { GuardaUltimaDeclaracion(completa(), carpeta); });
            EXPECT_NE(guardado.find(c.motivo), std::string::npos) << guardado;
            EXPECT_EQ(foto(), antes);
        }
    }
    const CarpetaPrivada m_carpeta;
    const fs::path m_dir = m_carpeta.ruta();
};

unsigned modo(const fs::path &p)
{
    struct stat st {};
    return lstat(p.c_str(), &st) == 0 ? st.st_mode & 07777 : 0;
}

// The message of a save made under a file-size limit of 512 bytes: the write of the new file
// fails half-way, as on a full disk, even for root, who ignores permissions.
std::string conDiscoLleno(const std::function<void()> &guarda)
{
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit antes{};
    getrlimit(RLIMIT_FSIZE, &antes);
    rlimit corto = antes;
    corto.rlim_cur = 512;
    setrlimit(RLIMIT_FSIZE, &corto);
    const std::string mensaje = mensajeDe(guarda);
    setrlimit(RLIMIT_FSIZE, &antes);
    std::signal(SIGXFSZ, SIG_DFL);
    return mensaje;
}

}  // namespace

TEST(FicheroDeclaracion, WritesTheExactLayoutInWindows1252)
{
    Declaracion d;
    // Ł and ś have no place in Windows-1252: "?"; each line break becomes a blank, and a
    // "|" inside a field a "?", so that a value cannot start a line or a field of its own.
    d.Nombre = "Núñez\r\nTramo=1 Łoś €";
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
                         {"A|X", "C", M("-50.25"), M("0"), M("0"), M("0")}};
    d.ListaGanancias = {{"A", "A", "15-03-2010", M("10000"), "20-06-2021", M("15000"), M("12000"), M("500"),
                         M("1.5"), M("0"), M("0")}};
    d.ListaDeducciones = {{"B", "D", "01-01-2005", M("9040"), M("0"), M("15")}};
    d.Casillas[9].Texto = "1.234,56";
    d.Casillas[21].Texto = "0,00";
    d.Casillas[0].Texto = "5,00";  // a result box: never saved
    // tests/data/escrita.ini: the bytes expected, written out by hand from the layout.
    EXPECT_EQ(EscribeDeclaracion(d), leeBytes(DATOS_DIR "/escrita.ini"));
    // 0x81 is undefined in Windows-1252; a file holding it is written back unchanged.
    const Declaracion d81 = LeeDeclaracion("[Datos]\r\nNombre=A\x81" "B\r\n").declaracion;
    EXPECT_NE(EscribeDeclaracion(d81).find("Nombre=A\x81" "B\r\n"), std::string::npos);
}

// Each file below is read and the fields it pins are checked; a failure's line names the case.
TEST(FicheroDeclaracion, ReadingRules)
{
    const auto lee = [](const std::string &fichero) { return LeeDeclaracion(fichero).declaracion; };
    // Names ignore case; the first of repeated keys and sections counts; values are trimmed;
    // comments, blank lines and LF line ends are taken.
    Declaracion d = lee("; saved by hand\r\n\n[datos]\r\n  NOMBRE =  \tAna López \t\r\nNombre=Segundo\nautonomia=17\n"
                        "[TRABAJO]\n2=5\n[Datos]\nNombre=Otro\nTramo= 1 \n");
    EXPECT_EQ(d.Nombre, "Ana López");
    EXPECT_EQ(d.Autonomia, "17");
    EXPECT_EQ(d.TramoVivienda, 1);
    EXPECT_EQ(d.Rentas[2].TrabIngresos, M("5"));
    // Values are cut to 249 characters, not bytes, in UTF-8 and in Windows-1252.
    EXPECT_EQ(lee("[Datos]\nNombre=" + std::string(248, 'a') + "ñññ\n").Nombre, std::string(248, 'a') + "ñ");
    EXPECT_EQ(lee("[Datos]\nNombre=" + std::string(247, 'a') + "\xF1\xF1\xF1\n").Nombre, std::string(247, 'a') + "ññ");
    EXPECT_EQ(lee("\xEF\xBB\xBF[UnidadFamiliar]\n0=40|1981|0|||S\xC3\xAD|0|No\n").Miembros[0].Ayuda, "Sí");
    // A list stops at a gap, and takes the first of repeated keys.
    d = lee("[Mobiliario]\n1=D|D|1\n0=I|A|2\n3=T|C|3\n0=O|C|9\n");
    ASSERT_EQ(d.ListaMobiliario.size(), 2u);
    EXPECT_EQ(d.ListaMobiliario[0].Ingreso, M("2"));
    EXPECT_EQ(d.ListaMobiliario[1].Clase, "D");
    // A list stops at an empty value; key 01 is not key 1.
    EXPECT_EQ(lee("[Ganancias]\n0=A|D\n01=I|D\n1=\n2=O|C\n").ListaGanancias.size(), 1u);
    // Amounts: the sheet's form in [Varios] (result boxes and unknown keys ignored), plain in records.
    d = lee("[Varios]\n9=1.234,56\n0=1,00\n107=2,00\n[Trabajo]\n1=1234,5|1234.5|-0,0001|+7\n");
    EXPECT_EQ(d.Casillas[9].Texto, "1.234,56");
    EXPECT_EQ(d.Casillas[0].Texto, "");
    EXPECT_EQ(d.Rentas[1].TrabIngresos, M("1234.5"));
    EXPECT_EQ(d.Rentas[1].TrabGastos, M("1234.5"));
    EXPECT_EQ(d.Rentas[1].TrabRetencion, M("-0.0001"));
    EXPECT_EQ(d.Rentas[1].TrabReduccion, M("7"));
    EXPECT_EQ(d.Rentas[0].TrabIngresos, M("1234.5"));  // totals rebuilt: 1234.5 + 0, the declarant's only
    // Grouping dots that do not part groups of three figures: a typing slip ("12.34" would be
    // 1.234,00), warned of with its box and line, and the box left empty.
    const DeclaracionLeida puntos = LeeDeclaracion("[Varios]\n9=12.34\n21=1.2.3,45\n22=12.345.678,9\n23=-1.234\n");
    EXPECT_EQ(puntos.avisos, (std::vector<std::string>{
                                 "Puntos de millar mal puestos «12.34» en [Varios], clave 9, línea 2: no separan "
                                 "grupos de tres cifras y la casilla 9 se deja vacía.",
                                 "Puntos de millar mal puestos «1.2.3,45» en [Varios], clave 21, línea 3: no separan "
                                 "grupos de tres cifras y la casilla 21 se deja vacía."}));
    EXPECT_EQ(puntos.declaracion.Casillas[9].Texto, "");
    EXPECT_EQ(puntos.declaracion.Casillas[21].Texto, "");
    EXPECT_EQ(puntos.declaracion.Casillas[22].Texto, "12.345.678,9");
    EXPECT_EQ(puntos.declaracion.Casillas[23].Texto, "-1.234");
    // Missing trailing fields are empty; whole numbers at their limits.
    d = lee("[UnidadFamiliar]\n3=-32768|32767|255\n[Trabajo]\n2=10\n");
    EXPECT_EQ(d.Miembros[3], (MiembroFam{-32768, 32767, 255, "", "", "", 0, ""}));
    EXPECT_EQ(d.Rentas[2].TrabIngresos, M("10"));
    EXPECT_EQ(d.Rentas[2].TrabMovilidad, "");
}

// Besides those of tests/data/danados and importe_erroneo.ini, compared through irpf2021.
TEST(FicheroDeclaracion, RefusesBadValuesNamingTheirPlace)
{
    const std::pair<std::string, std::string> casos[] = {
        {"[Reducciones]\n\n2=0|99999999999999999",
         "Importe fuera de rango «99999999999999999» en [Reducciones], clave 2, línea 3."},
        // Each person's amount fits; their sum, the total of Rentas[0], does not.
        {"[Reducciones]\r\n1=0|0|-922337203685477\r\n2=0|0|-1\r\n",
         "Importe fuera de rango en [Reducciones], clave 2, línea 3: la suma del declarante y el cónyuge no cabe en "
         "el tipo de importe."},
        {"[Trabajo]\n1=1.234,5", "Importe no válido «1.234,5» en [Trabajo], clave 1, línea 2."},
        {"[Mobiliario]\n0=I|D|1\n1=I|D|1|x", "Importe no válido «x» en [Mobiliario], clave 1, línea 3."},
        {"[Varios]\n9=1|2", "Importe no válido «1|2» en [Varios], clave 9, línea 2."},
        {"[UnidadFamiliar]\n0=4a|1980", "Número no válido «4a» en [UnidadFamiliar], clave 0, línea 2."},
        {"[UnidadFamiliar]\n0=0|0|-1", "Número no válido «-1» en [UnidadFamiliar], clave 0, línea 2."},
        {"[UnidadFamiliar]\n5=0|0|256", "Número fuera de rango «256» en [UnidadFamiliar], clave 5, línea 2."},
        {"[UnidadFamiliar]\n0=-32769", "Número fuera de rango «-32769» en [UnidadFamiliar], clave 0, línea 2."},
        {"[Datos]\nTramo=-", "Número no válido «-» en [Datos], clave Tramo, línea 2."},
        {"[Datos\nNombre=Ana\n", "Línea no válida en el fichero (línea 1): «[Datos»"},
        {"[Datos]\n=Ana\n", "Línea no válida en el fichero (línea 2): «=Ana»"},
        // Another kind of file: its first line shown, read as Windows-1252.
        {"\x89PNG\r\n\x1a\n", "Línea no válida en el fichero (línea 1): «‰PNG»"},
    };
    for (const auto &[fichero, mensaje] : casos)
        EXPECT_EQ(mensajeDe([&] { LeeDeclaracion(fichero); }), mensaje) << fichero;
}

// The full declaration is written back byte for byte and round trips through a client's
// file, which keeps its mode; a new one is private whatever the umask.
TEST_F(FicheroEnDisco, SavesAndLoads)
{
    const Declaracion d = completa();
    EXPECT_EQ(EscribeDeclaracion(d), leeBytes(DATOS_DIR "/completa.ini"));
    const std::string r = ruta("cliente.ini");
    std::ofstream(r, std::ios::binary) << "anterior";
    chmod(r.c_str(), 0640);
    GuardaDeclaracion(d, r);
    EXPECT_EQ(leeBytes(r), EscribeDeclaracion(d));
    EXPECT_EQ(modo(r), 0640u);
    const DeclaracionLeida leida = CargaDeclaracion(r);
    EXPECT_TRUE(leida.avisos.empty()) << leida.avisos.front();
    EXPECT_TRUE(leida.declaracion == d);
    const mode_t umaskAntes = umask(0);
    GuardaDeclaracion(d, ruta("nuevo.ini"));
    umask(umaskAntes);
    EXPECT_EQ(modo(ruta("nuevo.ini")), 0600u);
    EXPECT_EQ(entradas(), 2);
}

TEST_F(FicheroEnDisco, LoadRefusesMissingLargeAndUnreadable)
{
    const std::string falta = ruta("no-existe.Ini");
    EXPECT_EQ(mensajeDe([&] { CargaDeclaracion(falta); }), "No se encuentra el fichero «" + falta + "».");
    EXPECT_EQ(mensajeDe([&] { CargaDeclaracion(m_dir.string()); }),
              "No se puede leer el fichero «" + m_dir.string() + "»: es una carpeta.");
    // A pipe with no writer would block a plain open for ever.
    const std::string tuberia = ruta("tuberia");
    ASSERT_EQ(mkfifo(tuberia.c_str(), 0600), 0);
    EXPECT_EQ(mensajeDe([&] { CargaDeclaracion(tuberia); }),
              "No se puede leer el fichero «" + tuberia + "»: no es un fichero normal.");

    // Exactly 1 MiB is still read; one byte more is refused without reading it.
    std::string justo = "[Datos]\r\nNombre=Ana\r\n;";
    justo.resize(kTamanoMaximoFichero, 'x');
    const std::string limite = ruta("limite.Ini");
    std::ofstream(limite, std::ios::binary) << justo;
    EXPECT_EQ(CargaDeclaracion(limite).declaracion.Nombre, "Ana");
    // The 64 GiB file is sparse: reading it whole would not even fit in memory.
    for (std::uintmax_t tamano : {std::uintmax_t{kTamanoMaximoFichero + 1}, std::uintmax_t{64} << 30}) {
        fs::resize_file(limite, tamano);
        EXPECT_EQ(mensajeDe([&] { CargaDeclaracion(limite); }),
                  "El fichero «" + limite + "» es demasiado grande (más de 1 MiB) para ser una declaración.");
    }
}

// A failed save leaves what was at the path and no temporary file behind.
TEST_F(FicheroEnDisco, FailedSaveLeavesWhatWasThere)
{
    const Declaracion d = completa();
    const std::string carpeta = ruta("DatosCa21.Ini");
    fs::create_directory(carpeta);
    std::ofstream(fs::path(carpeta) / "dentro", std::ios::binary) << "intacto";
    EXPECT_EQ(mensajeDe([&] { GuardaDeclaracion(d, carpeta); }),
              "No se ha podido guardar la declaración en «" + carpeta + "»: es una carpeta.");
    EXPECT_EQ(leeBytes(fs::path(carpeta) / "dentro"), "intacto");

    const std::string sinCarpeta = ruta("no/existe/DatosCa21.Ini");
    EXPECT_EQ(mensajeDe([&] { GuardaDeclaracion(d, sinCarpeta); }),
              "No se ha podido guardar la declaración en «" + sinCarpeta + "»: no existe la carpeta o el fichero.");
    EXPECT_EQ(entradas(), 1);

    // A full disk, for a client's file and for the last declaration.
    const std::string r = ruta("Otra.Ini");
    const std::string anterior = EscribeDeclaracion(Declaracion());
    std::ofstream(r, std::ios::binary) << anterior;
    const std::string ultima = ruta("estado");
    GuardaUltimaDeclaracion(Declaracion(), ultima);
    const auto antes = foto();
    EXPECT_EQ(conDiscoLleno([&] { GuardaDeclaracion(d, r); }),
              "No se ha podido guardar la declaración en «" + r + "»: el fichero supera el tamaño permitido.");
    EXPECT_EQ(conDiscoLleno([&] { GuardaUltimaDeclaracion(d, ultima); }),
              "No se ha podido guardar la declaración en «" + ultima +
                  "/DatosCa21.Ini»: el fichero supera el tamaño permitido.");
    EXPECT_EQ(foto(), antes);
}

// A client's file is written where the user points: through a link only when the link is the
// user's own and leads straight to a regular file of the user's. Anything else is refused
// and left exactly as it was, and so is a read-only file.
TEST_F(FicheroEnDisco, ClientFilesFollowOnlyTheUsersOwnLinks)
{
    const Declaracion d = completa();
    sh("echo anterior > cliente.ini && ln -s cliente.ini enlace.ini && mkdir carpeta && ln -s carpeta a-carpeta.ini && "
       "ln -s no-existe.ini roto.ini && ln -s enlace.ini a-enlace.ini && echo x > protegido.ini && chmod 444 protegido.ini");
    GuardaDeclaracion(d, ruta("enlace.ini"));
    EXPECT_TRUE(fs::is_symlink(ruta("enlace.ini")));
    EXPECT_EQ(leeBytes(ruta("cliente.ini")), EscribeDeclaracion(d));
    const auto antes = foto();
    for (const char *destino : {"a-carpeta.ini", "roto.ini", "a-enlace.ini"})
        EXPECT_NE(mensajeDe([&] { GuardaDeclaracion(d, ruta(destino)); }).find("es un enlace simbólico que no es suyo o "
                                                                               "que no lleva a un fichero suyo"),
                  std::string::npos)
            << destino;
    EXPECT_EQ(mensajeDe([&] { GuardaDeclaracion(d, ruta("protegido.ini")); }),
              "No se ha podido guardar la declaración en «" + ruta("protegido.ini") +
                  "»: el fichero es de solo lectura y no se sustituye (quite la protección o guárdelo en otro "
                  "fichero).");
    EXPECT_EQ(foto(), antes);
}

TEST(UltimaDeclaracion, FolderFromTheEnvironment)
{
    const std::string estado = std::getenv("XDG_STATE_HOME") ? std::getenv("XDG_STATE_HOME") : "";
    const std::string home = std::getenv("HOME");
    setenv("HOME", "/home/ana", 1);
    for (const char *e : {"/datos/estado", "", "relativa/estado"}) {  // not absolute: ignored
        setenv("XDG_STATE_HOME", e, 1);
        EXPECT_EQ(CarpetaUltimaDeclaracion(), *e == '/' ? "/datos/estado/simulador-irpf2021"
                                                        : "/home/ana/.local/state/simulador-irpf2021");
    }
    setenv("XDG_STATE_HOME", estado.c_str(), 1);
    setenv("HOME", home.c_str(), 1);
}

// The last declaration's folder and its parents are made 0700 and the file 0600, whatever
// the umask. Temporaries that a killed save left are removed at the next save: ours by name
// and owner, unless a save in progress holds them locked.
TEST_F(FicheroEnDisco, LastDeclarationIsPrivateAndCleansAfterItself)
{
    const std::string carpeta = ruta("estado/simulador-irpf2021");
    EXPECT_FALSE(HayUltimaDeclaracion(carpeta));
    const mode_t umaskAntes = umask(0);
    GuardaUltimaDeclaracion(Declaracion(), carpeta);
    umask(umaskAntes);
    EXPECT_EQ(modo(ruta("estado")), 0700u);
    EXPECT_EQ(modo(carpeta), 0700u);
    EXPECT_EQ(modo(carpeta + "/DatosCa21.Ini"), 0600u);
    EXPECT_TRUE(HayUltimaDeclaracion(carpeta));

    sh("cd estado/simulador-irpf2021 && touch .simulador-irpf2021-0123456789abcdef.tmp .guardando-0badf00d.tmp "
       ".simulador-irpf2021-fedcba9876543210.tmp notas.tmp .guardando-x.tmp");
    const int enUso = open((carpeta + "/.simulador-irpf2021-fedcba9876543210.tmp").c_str(), O_RDONLY);
    ASSERT_EQ(flock(enUso, LOCK_EX), 0);
    const Declaracion d = completa();
    GuardaUltimaDeclaracion(d, carpeta);
    close(enUso);
    std::set<std::string> nombres;
    for (const fs::directory_entry &e : fs::directory_iterator(carpeta))
        nombres.insert(e.path().filename().string());
    EXPECT_EQ(nombres, (std::set<std::string>{"DatosCa21.Ini", ".simulador-irpf2021-fedcba9876543210.tmp",
                                              "notas.tmp", ".guardando-x.tmp"}));
    EXPECT_TRUE(CargaUltimaDeclaracion(carpeta).declaracion == d);
}

TEST_F(FicheroEnDisco, LastDeclarationRefusesLinksAndOpenFolders)
{
    compruebaRechazos({
        {"a link at the file, planted towards another file",
         "mkdir -m 700 simulador-irpf2021 && ln -s ../.bashrc simulador-irpf2021/DatosCa21.Ini",
         "«DatosCa21.Ini» es un enlace simbólico; por seguridad no se sigue"},
        {"a link at the folder", "ln -s victima simulador-irpf2021",
         "es un enlace simbólico, no una carpeta propia; por seguridad no se sigue"},
        {"a folder open to others", "mkdir -m 755 simulador-irpf2021 && echo [Datos] > simulador-irpf2021/DatosCa21.Ini",
         "está abierta a otros usuarios (permisos 0755); por seguridad no se lee ni se escribe nada en ella"},
        {"a regular file where the folder goes", "echo x > simulador-irpf2021", "no es una carpeta"},
        {"a folder at the file's name", "mkdir -m 700 simulador-irpf2021 simulador-irpf2021/DatosCa21.Ini",
         "es una carpeta"},
        {"a read-only file",
         "mkdir -m 700 simulador-irpf2021 && echo [Datos] > simulador-irpf2021/DatosCa21.Ini && "
         "chmod 400 simulador-irpf2021/DatosCa21.Ini",
         "el fichero es de solo lectura y no se sustituye", true},
    });
}

// Another user's folder or file, and links another user planted, as a hostile local user
// would leave them. Making them needs root (chown); an ordinary user cannot.
TEST_F(FicheroEnDisco, AnotherUsersFilesAndLinksAreRefused)
{
    if (std::system(("cd '" + m_dir.string() + "' && touch prueba && chown 65534 prueba 2>/dev/null").c_str()) != 0)
        GTEST_SKIP() << "only root can give a file to another user (65534): the checks against other users' "
                        "files cannot be made as an ordinary user";
    compruebaRechazos({
        {"another user's folder",
         "mkdir -m 700 simulador-irpf2021 && echo [Datos] > simulador-irpf2021/DatosCa21.Ini && "
         "chown 65534 simulador-irpf2021",
         "es de otro usuario; por seguridad no se lee ni se escribe nada en ella"},
        {"another user's file",
         "mkdir -m 700 simulador-irpf2021 && echo [Datos] > simulador-irpf2021/DatosCa21.Ini && "
         "chown 65534 simulador-irpf2021/DatosCa21.Ini",
         "el fichero es de otro usuario; por seguridad no se usa"},
    });

    // A client's file through a link another user planted in a shared folder, and through
    // the user's own link to another user's file.
    sh("echo propio > propio.ini && echo ajeno > ajeno.ini && chown 65534 ajeno.ini && ln -s propio.ini plantado.ini && "
       "chown -h 65534 plantado.ini && ln -s ajeno.ini a-ajeno.ini");
    const auto antes = foto();
    for (const char *enlace : {"plantado.ini", "a-ajeno.ini"})
        EXPECT_NE(mensajeDe([&] { GuardaDeclaracion(completa(), ruta(enlace)); })
                      .find("es un enlace simbólico que no es suyo"),
                  std::string::npos)
            << enlace;
    EXPECT_EQ(foto(), antes);
}
