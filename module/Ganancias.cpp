// CalculaGanancias: capital gains and losses with the transitional reduction for assets
// held since before 1997 (DT 9ª LIRPF), the exemption for reinvestment in the main
// residence (art. 38) and the imputation to the general or savings base.
#include "Cifras2021.h"
#include "Etapas.h"
#include "Fechas.h"
#include "Liquidar.h"
#include "ListaColumnas.h"

#include <algorithm>
#include <string>
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

// "Elemento 2 de Ganancias y Pérdidas Patrimoniales (clase I, del declarante)".
std::string elemento(const DatosGanancia &g, std::size_t i)
{
    return ElementoDeLista(Lista(TipoLista::Ganancias).titulo, i, g.Clase, g.Titular);
}

// x × a × b in double, in that order, back to money: how the engine scales a gain by a
// proportion of days or by the reduction percentage and the share within the limit.
template <class V, class TA, class TB>
V porFactores(const V &x, double a, double b, Medida ma, TA &&textoA, TB &&textoB)
{
    const Money v = Money::fromDouble(ValorDe(x).toDouble() * a * b);
    if constexpr (kTraza<V>) {
        traza::Hijos f{traza::Factor(a, ma, TextoDe(textoA))};
        if (b != 1.0)
            f.push_back(traza::Factor(b, Medida::Porcentaje, TextoDe(textoB)));
        return traza::Producto(x, v, std::move(f));
    } else {
        return v;
    }
}

// x × dias / D in double, in that order.
template <class V, class T>
V porDias(const V &x, long dias, long D, T &&texto)
{
    const Money v = Money::fromDouble(ValorDe(x).toDouble() * static_cast<double>(dias) / static_cast<double>(D));
    if constexpr (kTraza<V>)
        return traza::PorFactor(x, v, static_cast<double>(dias) / static_cast<double>(D), Medida::Porcentaje,
                                TextoDe(texto));
    else
        return v;
}

}  // namespace

template <class V>
void CalculaGananciasT(const Declaracion &d, Modalidad modalidad, Cajas<V> &r)
{
    // Transmission value still entitled to the reduction, per person and run.
    Money restante[2] = {kAbatimientoLimiteTransmisiones, kAbatimientoLimiteTransmisiones};  // declarant, spouse

    for (std::size_t i = 0; i < d.ListaGanancias.size(); ++i) {
        const DatosGanancia &g = d.ListaGanancias[i];
        // An empty owner ends the list; so does one no screen writes, read from a file.
        const ParteItem cuota = ParteDeItem(g.Titular, modalidad);
        if (cuota == ParteItem::NoEsTitular)
            break;
        if (cuota == ParteItem::Nada)
            continue;
        auto campo = [&](Money valor, const char *nombre) {
            return DatoLista<V>(valor, [&] { return std::string(nombre) + " del " + elemento(g, i); });
        };
        auto parte = [&](const V &importe) { return ParteDelImporte(importe, cuota); };

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

        const V VT = campo(g.ValorTransmision, "Valor de transmisión");
        const V ganancia = Nombra(VT - campo(g.ValorAdquisicion, "Valor de adquisición"),
                                  [&] { return "Ganancia o pérdida del " + elemento(g, i); });
        if (g.Clase == "O"sv)
            r[103] += campo(g.Retencion, "Retención");  // in full, whatever the share

        V neta = ganancia;
        if (ganancia.positive() && contados > 2 && completos >= 2) {
            const double anual = coeficienteAnual(g.Clase, anoTransmision);
            double porcentaje = anual * (contados - 2);
            V P, Q;
            if (g.Clase == "A"sv) {
                long dias = DiasEntre(kInicio2006, *ft) + 1;
                if (g.ValorTransmision < g.ValorPatrimonio)
                    dias = 0;
                if (dias <= 19) {
                    P = Si(ganancia, "Acciones transmitidas antes del 20/01/2006 o por menos de su valor a efectos del "
                                     "Impuesto sobre el Patrimonio de 2005: toda la ganancia es reducible");
                } else {
                    P = Nombra(campo(g.ValorPatrimonio, "Valor a efectos del Impuesto sobre el Patrimonio de 2005") -
                                   campo(g.ValorAdquisicion, "Valor de adquisición"),
                               "Parte reducible: ganancia hasta el valor a efectos del Impuesto sobre el Patrimonio de 2005");
                    Q = Nombra(ganancia - P, "Parte no reducible: resto de la ganancia");
                }
            } else {
                long D1 = DiasEntre(*fa, kCorte2006);
                const long D = std::max(DiasEntre(*fa, *ft), 1L);
                long D2 = DiasEntre(kCorte2006, *ft);
                if (D2 < 0) {
                    D2 = 0;
                    D1 = D;
                }
                Q = Nombra(Redondea(porDias(ganancia, D2, D, [&] {
                               return "Días de tenencia desde el 20/01/2006: " + std::to_string(D2) + " de " + std::to_string(D);
                           })),
                           "Parte no reducible: ganancia generada desde el 20/01/2006");
                P = Nombra(Redondea(porDias(ganancia, D1, D, [&] {
                               return "Días de tenencia hasta el 20/01/2006: " + std::to_string(D1) + " de " + std::to_string(D);
                           })),
                           "Parte reducible: ganancia generada hasta el 20/01/2006");
            }
            const double calculado = porcentaje;
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
            const V reduccion = Nombra(Redondea(porFactores(P, porcentaje, f, Medida::Porcentaje, [&] {
                                           std::string s = "Porcentaje de reducción: " + Porcentaje(anual) + " por cada año de "
                                                           "permanencia por encima de dos (" + std::to_string(contados) +
                                                           " años contados)";
                                           if (P.negative())
                                               return s + ", sin reducción al ser negativa la parte reducible";
                                           if (porcentaje != calculado)
                                               return s + ", " + Porcentaje(calculado) + " que se eleva al 100 %";
                                           return s + " (" + std::string(kAbatimientoInmuebles.articulo) + ")";
                                       },
                                                                   [&] {
                                           return "Parte del valor de transmisión dentro del límite de " +
                                                  Cantidad(kAbatimientoLimiteTransmisiones) + " por persona (" +
                                                  std::string(kAbatimientoLimiteTransmisiones.articulo) + ")";
                                       })),
                                       "Reducción por coeficientes de abatimiento");
            neta = Nombra(Nombra(Redondea(P - reduccion), "Parte reducible tras la reducción") + Q, [&] { return "Ganancia reducida del " + elemento(g, i); });
        }

        V exenta;
        if (g.ValorTransmision.positive())
            exenta = Nombra(Entre(Nombra(Redondea(campo(g.Reinversion, "Valor de reinversión")).times(neta),
                                         "Ganancia multiplicada por el valor de reinversión"),
                                  VT),
                            "Ganancia exenta por reinversión en vivienda habitual, en proporción al valor de transmisión");
        if (neta.negative())
            exenta = V();
        if (neta.positive() && exenta > neta)
            exenta = Si(neta, "La reinversión cubre toda la ganancia");
        const V gravable = Nombra(neta - exenta, [&] { return "Ganancia o pérdida imputable del " + elemento(g, i); });

        if (g.ImporteGeneral.isZero() && g.ImporteAhorro.isZero()) {
            if (gravable.positive())
                r[56] += parte(gravable);
            else if (gravable.negative())
                r[57] += parte(Nombra(-gravable, "Pérdida en positivo"));
        } else {
            // Amounts the professional assigns directly replace the computed gain.
            const V ahorro = campo(g.ImporteAhorro, "Importe a la base del ahorro");
            if (g.ImporteAhorro.positive())
                r[56] += parte(ahorro);
            else if (g.ImporteAhorro.negative())
                r[57] += parte(Nombra(-ahorro, "Pérdida en positivo"));
            if (!g.ImporteGeneral.isZero())
                r[25] += parte(campo(g.ImporteGeneral, "Importe a la base general"));
        }
    }
}

template void CalculaGananciasT<Money>(const Declaracion &, Modalidad, Resultado &);
template void CalculaGananciasT<Traza>(const Declaracion &, Modalidad, CajasTraza &);

void CalculaGanancias(const Declaracion &d, Modalidad modalidad, Resultado &r)
{
    CalculaGananciasT<Money>(d, modalidad, r);
}

}  // namespace simulador
