// CalculaGanancias: capital gains and losses with the transitional reduction for assets
// held since before 1997 (DT 9ª LIRPF), the exemption for reinvestment in the main
// residence (art. 38) and the imputation to the general or savings base.
#include "Cifras2021.h"
#include "Fechas.h"
#include "Liquidar.h"

#include <algorithm>
#include <string_view>

using namespace std::string_view_literals;

namespace simulador {

namespace {

constexpr Fecha kFin1996{31, 12, 1996};
constexpr Fecha kInicio2006{1, 1, 2006};
constexpr Fecha kCorte2006{20, 1, 2006};  // only the gain accrued up to this day is reducible

// Started years between two dates written as yyyymmdd: one year exactly gives 1, one year
// and a day gives 2.
int anosTenencia(const Fecha &desde, const Fecha &hasta)
{
    const int S = desde.aaaammdd(), E = hasta.aaaammdd();
    if (E < S)
        return 0;
    if (E == S)
        return 1;
    return (E - S + 9999) / 10000;
}

// The yearly rate by kind of asset; a transmission before 1996 takes the rates in force
// before that year.
double coeficienteAnual(const std::string &clase, int anoTransmision)
{
    const bool desde1996 = anoTransmision >= 1996;
    if (clase == "I"sv)
        return desde1996 ? kAbatimientoInmuebles : 0.0526;
    if (clase == "O"sv)
        return desde1996 ? kAbatimientoOtros : 0.0714;
    if (clase == "A"sv)
        return desde1996 ? kAbatimientoAcciones : 0.1111;
    return 0.0;
}

}  // namespace

void CalculaGanancias(const Declaracion &d, Modalidad modalidad, Resultado &r)
{
    // Transmission value still entitled to the reduction, per person and run.
    Money restante[2] = {kAbatimientoLimiteTransmisiones, kAbatimientoLimiteTransmisiones};  // declarant, spouse

    for (const DatosGanancia &g : d.ListaGanancias) {
        // An empty owner ends the list; so does one no screen writes, read from a file.
        if (g.Titular != "D"sv && g.Titular != "C"sv && g.Titular != "A"sv)
            break;
        double k = g.Titular == "A"sv ? 2.0 : 1.0;
        if (modalidad == Modalidad::Conjunta)
            k = 1.0;
        else if (modalidad == Modalidad::Declarante ? g.Titular == "C"sv : (modalidad == Modalidad::Conyuge ? g.Titular == "D"sv : true))
            continue;

        // Dates the screens could not have produced count as missing: no reduction.
        const std::optional<Fecha> fa = LeeFecha(g.FechaAdquisicion);
        const std::optional<Fecha> ft = LeeFecha(g.FechaTransmision);
        int contados = 0, completos = 0, anoTransmision = 0;
        if (fa && ft) {
            anoTransmision = ft->ano;
            completos = anosTenencia(*fa, *ft);
            contados = completos;
            if (anoTransmision >= 2003 && anoTransmision <= kEjercicio && completos >= 2)
                contados = anosTenencia(*fa, kFin1996);
        }

        const Money ganancia = g.ValorTransmision - g.ValorAdquisicion;
        if (g.Clase == "O"sv)
            r[103] += g.Retencion;  // in full, whatever the share

        Money neta = ganancia;
        if (ganancia.positive() && contados > 2 && completos >= 2) {
            double porcentaje = coeficienteAnual(g.Clase, anoTransmision) * (contados - 2);
            Money P, Q;
            if (g.Clase == "A"sv) {
                long dias = DiasEntre(kInicio2006, *ft) + 1;
                if (g.ValorTransmision < g.ValorPatrimonio)
                    dias = 0;
                if (dias <= 19) {
                    P = ganancia;
                } else {
                    P = g.ValorPatrimonio - g.ValorAdquisicion;
                    Q = ganancia - P;
                }
            } else {
                long D1 = DiasEntre(*fa, kCorte2006);
                const long D = std::max(DiasEntre(*fa, *ft), 1L);
                long D2 = DiasEntre(kCorte2006, *ft);
                if (D2 < 0) {
                    D2 = 0;
                    D1 = D;
                }
                Q = Redondea(Money::fromDouble(ganancia.toDouble() * static_cast<double>(D2) / static_cast<double>(D)));
                P = Redondea(Money::fromDouble(ganancia.toDouble() * static_cast<double>(D1) / static_cast<double>(D)));
            }
            if (porcentaje >= 0.9944)
                porcentaje = 1.0;
            if (P.negative())
                porcentaje = 0.0;

            // The reduction applies to transmissions worth up to the limit per person in all:
            // an item draws its value from its owner's remainder (half from each for "A")
            // and keeps the reduction in the proportion it could draw.
            double f = 1.0;
            if (!P.negative()) {
                Money tomado;
                auto toma = [&tomado](Money &resto, Money pide) {
                    const Money t = max(min(pide, resto), Money());
                    resto -= t;
                    tomado += t;
                };
                if (g.ValorTransmision.positive()) {
                    if (g.Titular == "A"sv) {
                        const Money mitad = g.ValorTransmision / 2.0;
                        toma(restante[0], mitad);
                        toma(restante[1], mitad);
                    } else {
                        toma(restante[g.Titular == "C"sv ? 1 : 0], g.ValorTransmision);
                    }
                    f = tomado.toDouble() / g.ValorTransmision.toDouble();
                }
            }
            const Money reduccion = Redondea(Money::fromDouble(P.toDouble() * porcentaje * f));
            neta = Redondea(P - reduccion) + Q;
        }

        Money exenta;
        if (g.ValorTransmision.positive())
            exenta = Money::fromDouble(Redondea(g.Reinversion).times(neta).toDouble() / g.ValorTransmision.toDouble());
        if (neta.negative())
            exenta = Money();
        if (neta.positive() && exenta > neta)
            exenta = neta;
        const Money gravable = neta - exenta;

        if (g.ImporteGeneral.isZero() && g.ImporteAhorro.isZero()) {
            if (gravable.positive())
                r[56] += Redondea(gravable / k);
            else if (gravable.negative())
                r[57] += Redondea(-gravable / k);
        } else {
            // Amounts the professional assigns directly replace the computed gain.
            if (g.ImporteAhorro.positive())
                r[56] += Redondea(g.ImporteAhorro / k);
            else if (g.ImporteAhorro.negative())
                r[57] += Redondea(-g.ImporteAhorro / k);
            if (!g.ImporteGeneral.isZero())
                r[25] += Redondea(g.ImporteGeneral / k);
        }
    }
}

}  // namespace simulador
