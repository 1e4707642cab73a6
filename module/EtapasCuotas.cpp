// Stages 9 to 11 of the liquidation: the personal and family minimum, the savings base, the
// split of the minimum between the two bases and the quotas by the scales; and the savings
// scale itself.
#include "EtapasLiquidacion.h"

#include "Cifras2021.h"
#include "Comunidades.h"

#include <string_view>

using namespace std::string_view_literals;

namespace simulador::liquidacion {

namespace {

// Stage 9: the personal and family minimum (arts. 56-61 LIRPF and the regional amounts of
// Illes Balears, Catalunya, Madrid and La Rioja), state column 35-39, regional 46-50.
template <class V>
void minimos(const Declaracion &d, Modalidad modo, Cajas<V> &r)
{
    const Comunidad A = ComunidadDe(d.Autonomia);
    const bool baleares = A == Comunidad::Baleares;
    const std::string F = letraDe(modo);
    const bool hayConyuge = existe(d.Miembros[1]);

    r[35] = kMinimoContribuyente;
    r[46] = kMinimoContribuyente;
    if (baleares)
        r[46] = Si(V(kMinimoContribuyenteBaleares), "Residente en Illes Balears");
    if (A == Comunidad::Catalunya) {
        const V bases = r[34] + r[56] - r[57] - r[26] + r[58] + r[60] - r[92];
        if (bases <= kMinimoCatalunyaBaseHasta)
            r[46] = Si(V(kMinimoContribuyenteCatalunya), [&] {
                return "Residente en Catalunya con una suma de bases liquidables (" + Importe(bases) +
                       ") que no supera " + Cantidad(kMinimoCatalunyaBaseHasta);
            });
    }

    // Shares are applied as money × share in double, then rounded.
    auto parte = [](const V &importe, double s) {
        return Redondea(Por(importe, s, Medida::Porcentaje, [&] {
            return s > 0.0 ? "50 %: la mitad en la liquidación individual, por un familiar de ambos cónyuges"
                           : "0 %: no corresponde a esta liquidación individual";
        }));
    };
    auto reparte = [](const V &importe, int convivencia) {
        return convivencia > 0 ? Redondea(Entre(importe, static_cast<double>(convivencia), [&] {
            return std::to_string(convivencia) + ": personas con derecho al mínimo que conviven con el familiar";
        }))
                               : importe;
    };

    // Descendants: K counts only the children whose minimum applies in this run.
    int K = 0;
    for (int k = 2; k <= 7; ++k) {
        const MiembroFam &m = d.Miembros[k];
        if (!existe(m))
            continue;
        double s;
        if (m.Perceptor == F || F.empty() || !hayConyuge)
            s = 1.0;
        else if (!esPerceptor(m.Perceptor))
            s = 0.5;
        else
            continue;
        if (!(m.Minusvalia > 32 || m.Edad < 25))
            continue;
        auto quien = [&] { return miembro(d, k); };
        V estatal, autonomico;
        if (m.Fallecido == "Sí"sv) {
            estatal = autonomico = kMinimoDescendienteFallecido;
        } else {
            ++K;
            const bool aumentado = A == Comunidad::Madrid || baleares;
            switch (K) {
            case 1: estatal = autonomico = kMinimoDescendiente1; break;
            case 2: estatal = autonomico = kMinimoDescendiente2; break;
            case 3:
                estatal = kMinimoDescendiente3;
                autonomico = aumentado ? kMinimoDescendiente3Autonomico : kMinimoDescendiente3;
                break;
            default:
                estatal = kMinimoDescendiente4;
                autonomico = aumentado ? kMinimoDescendiente4Autonomico : kMinimoDescendiente4;
                break;
            }
        }
        V U = kMinimoMenor3;
        estatal = reparte(estatal, m.Convivencia);
        autonomico = reparte(autonomico, m.Convivencia);
        U = reparte(U, m.Convivencia);
        r[36] += Nombra(parte(estatal, s), quien);
        r[47] += Nombra(parte(autonomico, s), quien);
        if (m.Fallecido != "Sí"sv && m.Edad < 3) {
            const V u = Nombra(parte(U, s), [&] { return miembro(d, k) + ", menor de tres años"; });
            r[36] += u;
            r[47] += u;
        }
        if (m.Minusvalia > 32 && m.Abono != "Sí"sv)
            r[101] += Nombra(parte(kDeduccionDescendienteDiscapacidad, s),
                             [&] { return miembro(d, k) + ", " + conDiscapacidad(m.Minusvalia); });
    }

    // Age and disability of every member.
    r[37] = V();
    for (int k = 0; k <= 9; ++k) {
        const MiembroFam &m = d.Miembros[k];
        if (!existe(m))
            continue;
        double s;
        if (k <= 1 || m.Perceptor == F || F.empty()) {
            s = 1.0;
            if ((modo == Modalidad::Declarante && k == 1) || (modo == Modalidad::Conyuge && k == 0))
                s = 0.0;
        } else if (!esPerceptor(m.Perceptor)) {
            s = (!hayConyuge && modo != Modalidad::Conyuge) ? 1.0 : 0.5;
        } else {
            continue;
        }
        auto quien = [&] { return miembro(d, k); };
        const bool esPersona = k <= 1, esAscendiente = k >= 8;
        if ((esPersona || esAscendiente) && m.Edad > 64) {
            V a = parte(kMinimoMayor65, s);
            V b = parte(baleares ? kMinimoMayor65Baleares : kMinimoMayor65, s);
            if (m.Edad > 74) {  // the 75-and-over part is not shared
                a += kMinimoMayor75;
                b += baleares ? kMinimoMayor75Baleares : kMinimoMayor75;
            }
            a = reparte(a, m.Convivencia);
            b = reparte(b, m.Convivencia);
            if (esPersona) {
                if ((modo == Modalidad::Declarante && k != 0) || (modo == Modalidad::Conyuge && k != 1))
                    a = b = Cero<V>("No corresponde a esta liquidación individual");
                r[35] += Nombra(a, quien);
                r[46] += Nombra(b, quien);
            } else {
                r[37] += Nombra(a, quien);
                r[48] += Nombra(b, quien);
                if (m.Fallecido != "Sí"sv && m.Minusvalia > 32 && m.Abono != "Sí"sv)
                    r[91] = Si(V(kDeduccionAscendienteDiscapacidad), [&] {
                        return miembro(d, k) + ", " + conDiscapacidad(m.Minusvalia) +
                               ", sin abono anticipado (una sola deducción aunque haya más ascendientes)";
                    });
            }
        }
        if (m.Fallecido == "Sí"sv)
            continue;
        const bool aumentoDiscapacidad = (baleares || A == Comunidad::Rioja) && k < 8;
        V a = Cero<V>("Sin discapacidad que dé derecho al mínimo"), b = a;
        if (m.Minusvalia > 64) {
            a = kMinimoDiscapacidad65;
            b = aumentoDiscapacidad ? kMinimoDiscapacidad65Autonomico : kMinimoDiscapacidad65;
        } else if (m.Minusvalia >= 33) {
            a = kMinimoDiscapacidad;
            b = aumentoDiscapacidad ? kMinimoDiscapacidadAutonomico : kMinimoDiscapacidad;
        }
        r[38] += Nombra(parte(reparte(a, m.Convivencia), s), quien);
        r[49] += Nombra(parte(reparte(b, m.Convivencia), s), quien);
        if (m.Ayuda == "Sí"sv || m.Minusvalia > 64) {
            a = kMinimoGastosAsistencia;
            b = (baleares && k < 8) ? kMinimoGastosAsistenciaBaleares : kMinimoGastosAsistencia;
            r[38] += Nombra(parte(reparte(a, m.Convivencia), s), quien);
            r[49] += Nombra(parte(reparte(b, m.Convivencia), s), quien);
        }
    }
    r[39] = r[35] + r[36] + r[37] + r[38];
    r[50] = r[46] + r[47] + r[48] + r[49];
}

// Stages 10 and 11: the savings base, the split of the minimum between the two bases, and
// the quotas by the scales.
template <class V>
void cuotas(const Declaracion &d, Modalidad modo, const Escalas &e, Cajas<V> &r)
{
    r[40] = suelo0(r[34]);
    const V GB = Nombra(r[56] - r[57] - r[26], "Saldo de ganancias y pérdidas del ahorro");
    const V CB = Nombra(Nombra(r[58] + r[60], "Rendimientos del capital mobiliario y dividendos") - r[92],
                        "Saldo de rendimientos del capital mobiliario del ahorro");
    r[65] = V();
    // Losses of one half of the savings base offset up to 25 % of the other half's income.
    auto compensa = [&r](const V &X, const V &ingresos, const V &anteriores) {
        auto limite = [] { return "límite del " + Porcentaje(kCompensacionBaseAhorro); };
        V tope = Nombra(Redondea(ingresos * kCompensacionBaseAhorro), [&] { return "Importe del " + limite(); });
        if (X > tope) {
            r[65] = Si(tope, [&] { return "El saldo negativo supera el " + limite(); });
            tope = V();
        } else {
            r[65] = Si(X, [&] { return "El saldo negativo no supera el " + limite() + " (" + Importe(tope) + ")"; });
            tope -= X;
        }
        tope = Nombra(tope, [&] { return "Lo que queda del " + limite(); });
        r[65] += anteriores > tope ? Si(tope, [&] {
            return "Los saldos negativos de ejercicios anteriores (" + Importe(anteriores) +
                   ") superan lo que queda del límite";
        })
                                   : anteriores;
    };
    if (GB.negative() && CB.positive())
        compensa(Nombra(-GB, "Saldo negativo de ganancias y pérdidas"), r[58] + r[60], r[26]);
    else if (GB.positive() && CB.negative())
        compensa(Nombra(-CB, "Saldo negativo de rendimientos del capital mobiliario"), r[56] - r[57], r[92]);
    r[62] = suelo0(Nombra(suelo0(CB) + suelo0(GB), "Saldos positivos de la base del ahorro") - r[54] - r[53] - r[65]);

    if (r[34] > r[39]) {
        r[43] = Si(V(r[39]), [&] {
            return "La base liquidable general (" + Importe(r[34]) + ") supera el mínimo personal y familiar";
        });
    } else {
        r[43] = Si(suelo0(r[34]), [&] {
            return "El mínimo personal y familiar (" + Importe(r[39]) + ") no cabe en la base liquidable general";
        });
        if (r[62].positive())
            r[61] = Si(Nombra(min(Nombra(V(r[62]), "Base liquidable del ahorro"),
                                  Nombra(r[39] - r[43], "Mínimo personal y familiar que no cabe en la base liquidable general")),
                              "Resto del mínimo aplicado a la base del ahorro"),
                       "El resto del mínimo se aplica a la base del ahorro");
    }
    V Q, RR;
    if (r[34] > r[50]) {
        Q = Si(V(r[50]), [&] {
            return "La base liquidable general (" + Importe(r[34]) + ") supera el mínimo autonómico";
        });
    } else {
        Q = Si(suelo0(r[34]), [&] {
            return "El mínimo autonómico (" + Importe(r[50]) + ") no cabe en la base liquidable general";
        });
        if (r[62].positive())
            RR = Nombra(min(Nombra(V(r[62]), "Base liquidable del ahorro"),
                            Nombra(r[50] - Q, "Mínimo autonómico que no cabe en la base liquidable general")),
                        "Resto del mínimo autonómico aplicado a la base del ahorro");
    }

    if (r[40].positive()) {
        const V AH = Dato<V>(d, &R::RedAnualidadHijos, Indice(modo));
        if (AH.positive() && AH < r[40]) {
            // Annuities paid to children are taxed apart from the rest of the base, and
            // the minimum grows with them.
            auto aparte = [&] {
                return "Anualidades por alimentos a los hijos (" + Importe(AH) +
                       ") menores que la base: se gravan aparte del resto de la base";
            };
            const V resto = Nombra(r[34] - AH, "Base liquidable general sin las anualidades");
            r[41] = Si(CuotaT<V>(e, "E", AH) + CuotaT<V>(e, "E", resto), aparte);
            r[43] += kMinimoAnualidadesHijos;
            r[44] = CuotaT<V>(e, "E", suelo0(min(V(r[43]), r[34])));
            r[42] = Si(CuotaT<V>(e, "A", AH) + CuotaT<V>(e, "A", resto), aparte);
            r[45] = CuotaT<V>(e, "A", suelo0(min(Q + kMinimoAnualidadesHijos, r[34])));
        } else {
            r[41] = CuotaT<V>(e, "E", r[40]);
            r[44] = CuotaT<V>(e, "E", suelo0(r[43]));
            r[42] = CuotaT<V>(e, "A", r[40]);
            r[45] = CuotaT<V>(e, "A", Q);
        }
    } else if constexpr (kTraza<V>) {
        for (int n : {41, 42, 44, 45})
            r[n] = Si(Cero<V>("Sin cuota"), "La base liquidable general no es positiva");
    }

    const V SB = Nombra(r[62], "Base liquidable del ahorro antes del resto del mínimo");
    r[62] -= r[61];
    r[63] = r[62];
    r[66] = CuotaAhorroT<V>(SB) - CuotaAhorroT<V>(RR);
    r[67] = r[66];
}

}  // namespace

template <class V>
void MinimosYCuotasT(const Declaracion &d, Modalidad modo, const Escalas &e, Cajas<V> &r)
{
    minimos<V>(d, modo, r);
    cuotas<V>(d, modo, e, r);
}

template void MinimosYCuotasT<Money>(const Declaracion &, Modalidad, const Escalas &, Resultado &);
template void MinimosYCuotasT<Traza>(const Declaracion &, Modalidad, const Escalas &, CajasTraza &);

}  // namespace simulador::liquidacion

namespace simulador {

template <class V>
V CuotaAhorroT(const V &x)
{
    // The first two limits are compared one cent above the limit (6000.01, 50000.01).
    constexpr Money centimo = Centimos(1);
    constexpr Money hasta1 = Money::fromUnits(kAhorroLimite1.units() + centimo.units());
    constexpr Money hasta2 = Money::fromUnits(kAhorroLimite2.units() + centimo.units());
    // "Tramo 2 de la escala del ahorro: 6.000,00 a 50.000,00 al 10,5 %, sobre 7.500,00".
    auto tramo = [&x](int n, const Cifra *desde, const Cifra *hasta, const Coeficiente &tipo) {
        return [&x, n, desde, hasta, &tipo] {
            std::string s = "Tramo " + std::to_string(n) + " de la escala del ahorro: ";
            s += desde ? (hasta ? Importe(*desde) + " a " + Importe(*hasta) : "desde " + Importe(*desde)) : "hasta " + Importe(*hasta);
            return s + " al " + Porcentaje(tipo) + ", sobre " + Importe(x);
        };
    };
    auto encima = [](const Cifra &limite) { return [&limite] { return "Base por encima de " + Importe(limite); }; };
    if (x < hasta1)
        return Nombra(Redondea(x * kAhorroTipo1), tramo(1, nullptr, &kAhorroLimite1, kAhorroTipo1));
    if (x <= hasta2)
        return Nombra(kAhorroCuota1 + Nombra(Redondea(Nombra(x - kAhorroLimite1, encima(kAhorroLimite1)) * kAhorroTipo2),
                                             "Cuota de la base dentro del tramo"),
                      tramo(2, &kAhorroLimite1, &kAhorroLimite2, kAhorroTipo2));
    if (x <= kAhorroLimite3)
        return Nombra(kAhorroCuota2 + Nombra(Redondea(Nombra(x - kAhorroLimite2, encima(kAhorroLimite2)) * kAhorroTipo3),
                                             "Cuota de la base dentro del tramo"),
                      tramo(3, &kAhorroLimite2, &kAhorroLimite3, kAhorroTipo3));
    return Nombra(kAhorroCuota3 + Nombra(Redondea(Nombra(x - kAhorroLimite3, encima(kAhorroLimite3)) * kAhorroTipo4),
                                         "Cuota de la base dentro del tramo"),
                  tramo(4, &kAhorroLimite3, nullptr, kAhorroTipo4));
}

template <class V>
V CuotaT(const Escalas &escalas, std::string_view selector, const V &base)
{
    const Escala &e = EscalaDe(escalas, selector);
    const int i = FilaDeTramo(e, ValorDe(base));
    if (i == e.numTramos)  // a negative base: no bracket, no quota
        return Si(Cero<V>("Sin cuota"), [&] { return "La base (" + Importe(base) + ") es negativa"; });
    const Tramo &t = e.tramos[i];
    const V cuota = Constante<V>(t.cuota, [&] { return "Cuota de la escala hasta " + Importe(t.corte); });
    const V corte = Constante<V>(t.corte, "Límite inferior del tramo");
    const V dentro = Redondea(PorTipo(Nombra(base - corte, "Base dentro del tramo"), t.tipo,
                                      [&] { return "Tipo del tramo: " + Porcentaje(t.tipo.toDouble() / 100.0); }));
    return Nombra(cuota + Nombra(dentro, "Cuota de la base dentro del tramo"),
                  [&] { return TextoTramo(escalas, selector, i) + ", sobre " + Importe(base); });
}

template Money CuotaT<Money>(const Escalas &, std::string_view, const Money &);
template Traza CuotaT<Traza>(const Escalas &, std::string_view, const Traza &);

Money Cuota(const Escalas &escalas, std::string_view selector, Money base)
{
    return CuotaT<Money>(escalas, selector, base);
}

Money CuotaAhorro(Money base) { return CuotaAhorroT<Money>(base); }

template Money CuotaAhorroT<Money>(const Money &);
template Traza CuotaAhorroT<Traza>(const Traza &);

}  // namespace simulador
