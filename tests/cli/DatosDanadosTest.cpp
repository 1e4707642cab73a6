// irpf2021 on damaged and hand-edited declarations: a clear message on standard error, the
// status that says so, no half-written liquidation on standard output, never a crash.
#include "Orden.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace fs = std::filesystem;

namespace {

struct Salida {
    std::string out, err;
    int estado = -1;  // -1 when the program did not exit by itself (a crash)
};

Salida ejecutaSobre(const fs::path &fichero, const fs::path &dir)
{
    const fs::path err = dir / "salida.err";
    const Ejecucion e = EjecutaOrden(std::string(IRPF2021_BIN) + " --modo todas '" + fichero.string() + "' 2>'" +
                                     err.string() + "'");
    std::ifstream in(err, std::ios::binary);
    return {e.salida, std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()), e.estado};
}

}  // namespace

TEST(Irpf2021, DamagedFilesGiveAClearMessage)
{
    struct Caso {
        const char *nombre;
        std::string contenido;
        int estado;
        const char *mensaje;
    };
    const std::string hogar = "[Datos]\r\nNombre=Ana\r\nAutonomia=12\r\nTramo=0\r\n[UnidadFamiliar]\r\n"
                              "0=45|1976|0||No|No|0|No\r\n[Trabajo]\r\n1=30000|2000|4000|0|0|No|No\r\n";
    const Caso casos[] = {
        {"amount beyond the money type", "[Trabajo]\r\n1=99999999999999999\r\n", 1,
         ": Importe fuera de rango «99999999999999999» en [Trabajo], clave 1, línea 2.\n"},
        {"two amounts whose sum is beyond it", "[Trabajo]\r\n1=900000000000000\r\n2=900000000000000\r\n", 1,
         ": Importe fuera de rango en [Trabajo], clave 2, línea 3: la suma del declarante y el cónyuge"},
        {"typed box beyond it", hogar + "[Varios]\r\n9=1.000.000.000.000.000,00\r\n", 1,
         ": Importe fuera de rango «1.000.000.000.000.000,00» en [Varios], clave 9, línea 10.\n"},
        {"binary", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16), 1,
         "» no es una declaración guardada (contiene datos binarios).\n"},  // "…: El fichero «…» no es…"
        // No section of ours: no declaration, not one of zeros.
        {"empty", "", 1, "» no es una declaración: está vacío.\n"},
        {"only a byte-order mark and blank lines", "\xEF\xBB\xBF\r\n\r\n", 1, "» no es una declaración: está vacío.\n"},
        {"another settings file", "[General]\r\nclave=valor\r\n", 1,
         "» no es una declaración: no contiene ninguna de sus secciones ([Datos], [Trabajo], …).\n"},
        {"broken line", hogar + "[Mobiliario]\r\n0=I|D|100\r\nI|D|200\r\n", 1,
         ": Línea no válida en el fichero (línea 11): «I|D|200»\n"},
        {"cut in the middle of a line", hogar.substr(0, hogar.size() - 12), 0,
         ": aviso: El fichero parece cortado: la línea 8 («1=30000|2000|4000») no termina"},
        {"owner no screen writes", hogar + "[Mobiliario]\r\n0=I|B|100|0|0|19\r\n", 0,
         ": aviso: Titular no válido «B» en [Mobiliario], clave 0, línea 10: se trata como vacío"},
    };
    const fs::path dir = CarpetaPropia("irpf2021-danados");
    for (const Caso &c : casos) {
        SCOPED_TRACE(c.nombre);
        const fs::path f = dir / "declaracion.ini";
        std::ofstream(f, std::ios::binary | std::ios::trunc) << c.contenido;
        const Salida s = ejecutaSobre(f, dir);
        EXPECT_EQ(s.estado, c.estado);
        EXPECT_NE(s.err.find(f.string() + c.mensaje), std::string::npos) << s.err;
        // A refused file or a failed liquidation writes nothing of it to standard output.
        EXPECT_EQ(s.out.empty(), c.estado != 0) << s.out;
    }

    // Over 1 MiB (sparse, nothing to write): refused before it is read.
    const fs::path grande = dir / "grande.ini";
    std::ofstream(grande, std::ios::binary | std::ios::trunc) << "[Datos]\r\n";
    fs::resize_file(grande, 2u << 20);
    Salida s = ejecutaSobre(grande, dir);
    EXPECT_EQ(s.estado, 1);
    EXPECT_NE(s.err.find("es demasiado grande (más de 1 MiB) para ser una declaración."), std::string::npos) << s.err;
    // A file of the system that reads as empty.
    s = ejecutaSobre("/proc/self/status", dir);
    EXPECT_EQ(s.estado, 1);
    EXPECT_NE(s.err.find("«/proc/self/status» no es una declaración"), std::string::npos) << s.err;
    fs::remove_all(dir);
}
