#include "Escalas.h"

#include "Comunidades.h"
#include "Traza.h"

#include <string>

namespace simulador {

namespace {

// Cut points, quotas and rates are written in ten-thousandths so the tables stay constexpr.
constexpr Tramo T(double corte, double cuota, double tipo)
{
    // Every figure below has at most two decimals, so the rounding here is exact.
    auto u = [](double x) { return Money::fromUnits(static_cast<std::int64_t>(x * 10000.0 + (x < 0 ? -0.5 : 0.5))); };
    return {u(corte), u(cuota), u(tipo)};
}

// clang-format off
constexpr Tramo kEstatal[] = {
    T(300000, 62950.75, 24.5), T(60000, 8950.75, 22.5), T(35200, 4362.75, 18.5),
    T(20200, 2112.75, 15), T(12450, 1182.75, 12), T(0, 0, 9.5)};

constexpr Tramo kDefecto[] = {
    T(53407.2, 8040.86, 21.5), T(33007.2, 4266.86, 18.5), T(17707.2, 2124.86, 14), T(0, 0, 12)};

// Andalucía: the band from 28000 to 35200 is taxed at 15.6 %, the 2021 regional rate,
// which is what the quota stored at 35200 (4405.95) already assumes.
constexpr Tramo kAndalucia[] = {
    T(120000, 22803.55, 23.7), T(60000, 9063.55, 22.9), T(50000, 7173.55, 18.9), T(35200, 4405.95, 18.7),
    T(28000, 3282.75, 15.6), T(20200, 2112.75, 15), T(12450, 1182.75, 12), T(0, 0, 9.5)};

constexpr Tramo kAragon[] = {
    T(150000, 30492.75, 25), T(130000, 25592.75, 24.5), T(90000, 16192.75, 23.5), T(70000, 11692.75, 22.5),
    T(60000, 9492.75, 22), T(50000, 7392.75, 21), T(34000, 4352.75, 19), T(20200, 2213.75, 15.5),
    T(12450, 1245, 12.5), T(0, 0, 10)};

// Asturias row 3 holds 11359.32 and Galicia row 5 2093.38, a cent off what the rates give:
// the stored quotas are the ones that apply.
constexpr Tramo kAsturias[] = {
    T(175000, 37109.32, 25.5), T(90000, 15859.32, 25), T(70000, 11359.32, 22.5), T(53407.2, 7791.86, 21.5),
    T(33007.2, 4017.86, 18.5), T(17707.2, 1875.86, 14), T(12450, 1245, 12), T(0, 0, 10)};

constexpr Tramo kBaleares[] = {
    T(175000, 35590, 25), T(120000, 22390, 24), T(90000, 15490, 23), T(70000, 11090, 22), T(48000, 6855, 19.25),
    T(30000, 3660, 17.75), T(18000, 1890, 14.75), T(10000, 950, 11.75), T(0, 0, 9.5)};

// Canarias' cut points carry one cent (12450.01, not 12450).
constexpr Tramo kCanarias[] = {
    T(90000.01, 16240.39, 24), T(53407.21, 7641.08, 23.5), T(33007.21, 3867.08, 18.5),
    T(17707.21, 1725.08, 14), T(12450.01, 1120.5, 11.5), T(0, 0, 9)};

constexpr Tramo kCantabria[] = {
    T(90000, 16482.75, 25.5), T(60000, 9132.75, 24.5), T(46000, 6402.75, 19.5), T(34000, 4182.75, 18.5),
    T(20200, 2112.75, 15), T(12450, 1182.75, 12), T(0, 0, 9.5)};

constexpr Tramo kCastillaLaMancha[] = {
    T(60000, 8950.75, 22.5), T(35200, 4362.75, 18.5), T(20200, 2112.75, 15), T(12450, 1182.75, 12), T(0, 0, 9.5)};

constexpr Tramo kCastillaLeon[] = {
    T(53407.2, 7581.08, 21.5), T(35200, 4212.75, 18.5), T(20200, 2112.75, 14), T(12450, 1182.75, 12), T(0, 0, 9.5)};

constexpr Tramo kCatalunya[] = {
    T(175000, 36433.31, 25.5), T(120000, 22958.31, 24.5), T(90000, 15908.31, 23.5), T(53407.2, 8040.86, 21.5),
    T(33007.2, 4266.86, 18.5), T(17707.2, 2124.86, 14), T(0, 0, 12)};

constexpr Tramo kExtremadura[] = {
    T(120200, 24247, 25), T(99200, 19102, 24.5), T(80200, 14542, 24), T(60000, 9795, 23.5), T(35200, 4711, 20.5),
    T(24200, 2896, 16.5), T(20200, 2276, 15.5), T(12450, 1307.25, 12.5), T(0, 0, 10.5)};

constexpr Tramo kGalicia[] = {
    T(60000, 9366.88, 22.5), T(47600, 6824.88, 20.5), T(35200, 4530.88, 18.5), T(27700, 3255.88, 17),
    T(20200, 2093.38, 15.5), T(12450, 1182.75, 11.75), T(0, 0, 9.5)};

constexpr Tramo kMadrid[] = {
    T(53407.2, 7458.06, 21), T(33007.2, 3806.46, 17.9), T(17707.2, 1771.56, 13.3), T(12450, 1182.75, 11.2),
    T(0, 0, 9.5)};

constexpr Tramo kMurcia[] = {
    T(60000, 8893.19, 22.9), T(34000, 4072.79, 18.54), T(20200, 2115.95, 14.18), T(12450, 1207.65, 11.72),
    T(0, 0, 9.7)};

constexpr Tramo kRioja[] = {
    T(120000, 23941.9, 27), T(60000, 8941.9, 25), T(50000, 6991.9, 19.5), T(35200, 4209.5, 18.8),
    T(20200, 2019.5, 14.6), T(12450, 1120.5, 11.6), T(0, 0, 9)};

constexpr Tramo kValencia[] = {
    T(175000, 39077.5, 29.5), T(140000, 29452.5, 27.5), T(120000, 24352.5, 25.5), T(80000, 14352.5, 25),
    T(65000, 10677.5, 24.5), T(50000, 7152.5, 23.5), T(30000, 3552.5, 18), T(17000, 1745.5, 13.9),
    T(12450, 1245, 11), T(0, 0, 10)};
// clang-format on

template <std::size_t N>
constexpr Escala escala(const Tramo (&t)[N])
{
    return {t, static_cast<int>(N)};
}

struct Region {
    Comunidad comunidad;
    Escala escala;
};

constexpr Region kRegiones[] = {
    {Comunidad::Andalucia, escala(kAndalucia)},
    {Comunidad::Aragon, escala(kAragon)},
    {Comunidad::Asturias, escala(kAsturias)},
    {Comunidad::Baleares, escala(kBaleares)},
    {Comunidad::Canarias, escala(kCanarias)},
    {Comunidad::Cantabria, escala(kCantabria)},
    {Comunidad::CastillaLaMancha, escala(kCastillaLaMancha)},
    {Comunidad::CastillaLeon, escala(kCastillaLeon)},
    {Comunidad::Catalunya, escala(kCatalunya)},
    {Comunidad::Extremadura, escala(kExtremadura)},
    {Comunidad::Galicia, escala(kGalicia)},
    {Comunidad::Madrid, escala(kMadrid)},
    {Comunidad::Murcia, escala(kMurcia)},
    {Comunidad::Rioja, escala(kRioja)},
    {Comunidad::Valencia, escala(kValencia)},
};

}  // namespace

Escalas CargaTablas(std::string_view Autonomia)
{
    Escalas e{escala(kEstatal), escala(kDefecto)};
    const Comunidad c = ComunidadDe(Autonomia);
    for (const Region &r : kRegiones) {
        if (r.comunidad == c) {
            e.autonomica = r.escala;
            e.comunidad = c;
            break;
        }
    }
    return e;
}

const Escala &EscalaDe(const Escalas &escalas, std::string_view selector)
{
    return selector == "E" ? escalas.estatal : escalas.autonomica;
}

int FilaDeTramo(const Escala &e, Money base)
{
    int i = 0;
    while (i < e.numTramos && !(e.tramos[i].corte <= base))
        ++i;
    return i;
}

std::string TextoTramo(const Escalas &escalas, std::string_view selector, int fila)
{
    const Escala &e = EscalaDe(escalas, selector);
    const Tramo &t = e.tramos[fila];
    std::string s = "Tramo " + std::to_string(e.numTramos - fila) + " de la escala ";
    if (selector == "E") {
        s += "estatal";
    } else if (escalas.comunidad == Comunidad::Ninguna) {
        s += "autonómica general";
    } else {
        for (const DatosComunidad &c : kComunidades)
            if (c.comunidad == escalas.comunidad)
                s += "autonómica de " + std::string(c.nombre);
    }
    s += fila == 0 ? ": desde " + Importe(t.corte) : ": " + Importe(t.corte) + " a " + Importe(e.tramos[fila - 1].corte);
    return s + " al " + Porcentaje(t.tipo.toDouble() / 100.0);
}

Tramo BuscaTramo(const Escalas &escalas, std::string_view selector, Money base)
{
    const Escala &e = EscalaDe(escalas, selector);
    const int i = FilaDeTramo(e, base);
    return i < e.numTramos ? e.tramos[i] : Tramo{};
}

}  // namespace simulador
