// irpf2021 on the declarations of tests/data: standard output compared whole with the file
// named in the row, standard error with that name plus ".err" (a missing file stands for an
// empty stream), and the exit status with the row's. The figures of the sample declarations
// are worked out by hand in the comments at the top of each .ini; the damaged files are read
// as they are. After a change meant to alter an output, rewrite the expected files with
//     IRPF2021_REGENERA=1 build/cli_tests --gtest_filter='*Salidas*'
// and read the difference (git diff tests/data) before committing it.
#include "Orden.h"

#include <gtest/gtest.h>

#include <cctype>
#include <ostream>

namespace {

struct Salida {
    const char *esperada, *argumentos;
    int estado;
};

void PrintTo(const Salida &s, std::ostream *os) { *os << "irpf2021 " << s.argumentos; }

// clang-format off
const Salida kSalidas[] = {
    {"asalariado.texto",          "asalariado.ini", 0},
    {"asalariado.csv",            "--modo todas --formato csv asalariado.ini", 0},
    {"familia.texto",             "--modo todas familia.ini", 0},
    {"familia.json",              "--modo todas --formato json familia.ini", 0},
    {"familia.declarante.csv",    "--formato=csv --modo declarante familia.ini", 0},
    {"familia.conyuge.texto",     "--modo=conyuge familia.ini", 0},
    {"familia.comparar.texto",    "--comparar familia.ini asalariado.ini", 0},   // a household without spouse too
    {"familia.comparar.json",     "--comparar --formato json familia.ini", 0},
    {"familia.comparar.csv",      "--comparar --formato csv familia.ini asalariado.ini", 0},
    {"maternidad.comparar.json",  "--comparar --formato json maternidad.ini", 0},
    {"maternidad.reparto-c.texto", "--comparar --reparto 84=C maternidad.ini", 0},
    {"maternidad.reparto-m.csv",  "--comparar --formato csv --reparto=84=C --reparto 84=M maternidad.ini", 0},  // the last holds
    {"varios.csv",                "--modo todas --formato csv asalariado.ini familia.ini", 0},
    // A file that fails is reported, and the ones after it are still liquidated.
    {"varios.json",               "--formato json no_existe.ini importe_erroneo.ini asalariado.ini", 1},
    {"varios.texto",              "importe_erroneo.ini familia.ini", 1},
    {"ayuda.texto",               "--help", 0},
    // Damaged and hand-edited files: refused (status 1, nothing on standard output) or read
    // with a warning.
    {"danados/binario.texto",                "--modo todas danados/binario.ini", 1},
    {"danados/casilla-fuera-de-rango.texto", "--modo todas danados/casilla-fuera-de-rango.ini", 1},
    {"danados/cortado.texto",                "--modo todas danados/cortado.ini", 0},
    {"danados/importe-fuera-de-rango.texto", "--modo todas danados/importe-fuera-de-rango.ini", 1},
    {"danados/linea-rota.texto",             "--modo todas danados/linea-rota.ini", 1},
    {"danados/otro-ini.texto",               "--modo todas danados/otro-ini.ini", 1},
    {"danados/solo-bom.texto",               "--modo todas danados/solo-bom.ini", 1},
    {"danados/titular-no-valido.texto",      "--modo todas danados/titular-no-valido.ini", 0},
    {"danados/vacio.texto",                  "--modo todas danados/vacio.ini", 1},
    // The inputs the fuzz targets kept.
    {"regresiones/fuzz_lee_declaracion-bom-en-mitad-de-valores.texto",
     "--modo todas regresiones/fuzz_lee_declaracion-bom-en-mitad-de-valores", 0},
    {"regresiones/fuzz_lee_declaracion-caracteres-de-control.texto",
     "--modo todas regresiones/fuzz_lee_declaracion-caracteres-de-control", 0},
    {"regresiones/fuzz_recalcular-suma-fuera-de-rango.texto",
     "--modo todas regresiones/fuzz_recalcular-suma-fuera-de-rango", 1},
};
// clang-format on

class Salidas : public ::testing::TestWithParam<Salida> {};

TEST_P(Salidas, SonLasEsperadas)
{
    const Salida &s = GetParam();
    const Ejecucion e = Irpf2021(s.argumentos);
    EXPECT_EQ(e.estado, s.estado);
    const std::string salida = std::string(DATOS_DIR) + "/" + s.esperada;
    for (const auto &[fichero, texto] : {std::pair{salida, &e.salida}, {salida + ".err", &e.errores}}) {
        if (std::getenv("IRPF2021_REGENERA")) {
            std::remove(fichero.c_str());
            if (!texto->empty())
                std::ofstream(fichero, std::ios::binary) << *texto;
        } else {
            EXPECT_EQ(*texto, LeeFichero(fichero)) << fichero;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Irpf2021, Salidas, ::testing::ValuesIn(kSalidas), [](const auto &i) {
    std::string nombre = i.param.esperada;
    for (char &c : nombre)
        c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    return nombre;
});

}  // namespace
