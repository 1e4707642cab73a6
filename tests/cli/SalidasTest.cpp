// irpf2021 on the declarations of tests/data: each run listed in tests/data/salidas.txt, its
// standard output and standard error compared whole with the expected files and its exit
// status with the one listed. After a change meant to alter an output, rewrite the expected
// files with
//     IRPF2021_REGENERA=1 build/cli_tests --gtest_filter='*Salidas*'
// and read the difference (git diff tests/data) before committing it; a new line of
// salidas.txt gets its files the same way.
#include "Orden.h"

#include <gtest/gtest.h>

#include <cctype>
#include <ostream>
#include <set>
#include <sstream>
#include <vector>

namespace {

struct Salida {
    std::string esperada, argumentos;
    int estado = -1;
};

void PrintTo(const Salida &s, std::ostream *os) { *os << "irpf2021 " << s.argumentos; }

std::vector<Salida> LeeSalidas()
{
    std::vector<Salida> salidas;
    std::istringstream lista(LeeFichero(DATOS_DIR "/salidas.txt"));
    int n = 0;
    for (std::string linea; std::getline(lista, linea);) {
        std::istringstream campos(linea);
        Salida s;
        ++n;
        if (linea.empty() || linea[0] == '#')
            continue;
        if (campos >> s.esperada >> s.estado >> std::ws)
            std::getline(campos, s.argumentos);
        else  // fails, rather than go unchecked
            s = {"salidas.txt:" + std::to_string(n), "línea no válida: " + linea};
        salidas.push_back(s);
    }
    if (salidas.empty())  // fails, rather than leave nothing to compare
        salidas.push_back({"salidas.txt", "no se ha podido leer la lista"});
    return salidas;
}

class Salidas : public ::testing::TestWithParam<Salida> {};

TEST_P(Salidas, SonLasEsperadas)
{
    const Salida &s = GetParam();
    ASSERT_GE(s.estado, 0) << "tests/data/salidas.txt: " << s.argumentos;
    const Ejecucion e = Irpf2021(s.argumentos);
    EXPECT_EQ(e.estado, s.estado);
    const std::string salida = DATOS_DIR "/" + s.esperada;
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

INSTANTIATE_TEST_SUITE_P(Irpf2021, Salidas, ::testing::ValuesIn(LeeSalidas()), [](const auto &i) {
    std::string nombre = i.param.esperada;
    for (char &c : nombre)
        c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    return nombre;
});

// An expected output that no run names would be checked by nothing.
TEST(Irpf2021, EveryExpectedOutputHasItsRun)
{
    std::set<std::string> esperadas;
    for (const Salida &s : LeeSalidas())
        esperadas.insert(s.esperada);
    for (const auto &e : std::filesystem::recursive_directory_iterator(DATOS_DIR)) {
        std::filesystem::path p = e.path().lexically_relative(DATOS_DIR);
        if (p.extension() == ".err")
            p.replace_extension();
        if (p.extension() == ".texto" || p.extension() == ".json" || p.extension() == ".csv") {
            EXPECT_EQ(esperadas.count(p.string()), 1u) << p;
        }
    }
}

}  // namespace
