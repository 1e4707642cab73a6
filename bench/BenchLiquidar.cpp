// Speed of the engine and of the command line. Built with the project, never run by ctest:
//   build/bench_liquidar
#include "Explicacion.h"
#include "FicheroDeclaracion.h"
#include "Liquidar.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

using namespace simulador;

namespace {

// A full household: spouse (disabled, so the pre-runs happen), six children, two
// ascendants, every income and every list filled.
Declaracion hogarCompleto()
{
    Declaracion d;
    d.Nombre = "Pérez García, Ana";
    d.Autonomia = "09";
    d.TramoVivienda = 1;
    for (int k = 0; k < 10; ++k) {
        MiembroFam &m = d.Miembros[k];
        const int ano = k < 2 ? 1970 + k : (k < 8 ? 2000 + 3 * (k - 2) : 1940 + k);
        m.AnoNac = static_cast<std::int16_t>(ano);
        m.Edad = static_cast<std::int16_t>(kEjercicio - ano);
        m.Perceptor = k >= 2 ? (k % 3 == 0 ? "D" : "") : "";
        m.Fallecido = "No";
        m.Ayuda = k == 9 ? "Sí" : "No";
        m.Abono = "No";
        m.Minusvalia = static_cast<std::uint8_t>(k == 1 ? 40 : (k == 4 ? 70 : 0));
    }
    for (int p = 1; p <= 2; ++p) {
        DatosRenta &x = d.Rentas[p];
        x.TrabIngresos = Money::euros(30000 / p);
        x.TrabGastos = Money::euros(1900 / p);
        x.TrabRetencion = Money::euros(4000 / p);
        x.TrabMovilidad = "No";
        x.InmIngresos = M("9000");
        x.InmGastos = M("2500.5");
        x.InmLocal = "No";
        x.InmValorCat1 = M("80000");
        x.InmRevisado1 = "Sí";
        x.DirIngresos = M("12000");
        x.DirGastos = M("3000");
        x.DirRedEmprendedores = "Sí";
        x.ModRdtoNeto = M("2000");
        x.AgrRdtoNeto = M("1000");
        x.RedPlanPension = M("1500");
        x.RedAnualidades = M("500");
    }
    RehaceTotales(d);
    for (const char *c : {"I", "D", "T", "O", "A", "P", "C"})
        d.ListaMobiliario.push_back({c, "A", M("1000"), M("10"), M("190"), M("0")});
    d.ListaGanancias.push_back({"I", "D", "15-06-1990", M("50000"), "15-06-2021", M("200000"), {}, {}, {}, {}, {}});
    d.ListaGanancias.push_back({"A", "A", "01-01-1999", M("1000"), "01-03-2021", M("5000"), M("3000"), {}, {}, {}, {}});
    d.ListaGanancias.push_back({"O", "C", "01-01-2015", M("9000"), "01-03-2021", M("4000"), {}, {}, M("100"), {}, {}});
    for (const char *c : {"A", "B", "C", "D", "E", "F", "G"})
        d.ListaDeducciones.push_back({c, "A", "01-03-2010", M("600"), M("0"), M("1")});
    d.Casillas[9].Texto = "100,00";
    d.Casillas[84].Texto = "1.200,00";
    return d;
}

void BM_RecalcularConjunta(benchmark::State &state)
{
    const Declaracion d = hogarCompleto();
    for (auto _ : state) {
        Calculo c = Recalcular(d, Modalidad::Conjunta);
        benchmark::DoNotOptimize(c);
    }
}
BENCHMARK(BM_RecalcularConjunta);

// "¿De dónde sale?" of the result box: the traced run, its graph and the JSON of box 106.
void BM_ExplicaResultado(benchmark::State &state)
{
    const Declaracion d = hogarCompleto();
    for (auto _ : state) {
        const Explicacion e = Explica(d, Modalidad::Conjunta, 106);
        std::string json;
        AnadeJsonExplicacion(json, e, e.raiz);
        benchmark::DoNotOptimize(json);
    }
}
BENCHMARK(BM_ExplicaResultado)->Unit(benchmark::kMicrosecond);

// The command line over 10,000 saved declarations, json, the three modes, reading included.
void BM_Irpf2021DiezMilFicheros(benchmark::State &state)
{
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / "bench_irpf2021";
    fs::create_directories(dir);
    const std::string contenido = EscribeDeclaracion(hogarCompleto());
    constexpr int kFicheros = 10000;
    for (int i = 0; i < kFicheros; ++i) {
        const fs::path f = dir / ("d" + std::to_string(i) + ".ini");
        if (!fs::exists(f)) {
            FILE *o = std::fopen(f.c_str(), "wb");
            std::fwrite(contenido.data(), 1, contenido.size(), o);
            std::fclose(o);
        }
    }
    // The shell expands the pattern: one argument of 10,000 paths would exceed the kernel's
    // limit for a single argument.
    const std::string orden =
        std::string(IRPF2021_BIN) + " --formato json --modo todas " + (dir / "d*.ini").string() + " > /dev/null";
    for (auto _ : state) {
        if (std::system(orden.c_str()) != 0)
            state.SkipWithError("irpf2021 failed");
    }
    state.SetItemsProcessed(state.iterations() * kFicheros);
}
BENCHMARK(BM_Irpf2021DiezMilFicheros)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
