// Stages 3 to 8 of the liquidation: the income of each kind, the general base and its
// reductions, in the order Liquidar runs them (each reads what the earlier ones wrote).
#include "EtapasLiquidacion.h"

#include "Cifras2021.h"
#include "Comunidades.h"

#include <string_view>

using namespace std::string_view_literals;

namespace simulador::liquidacion {

namespace {

// Why a reduction for low income applies or not, with its figures: the other income `O`
// against its limit and the net income `N` (named `rendimiento`) against its own. When it
// does not apply, only the limit that was passed is said, or both.
template <class V>
std::string LimitesReduccion(const V &O, Money limiteO, const V &N, Money limiteN, const std::string &rendimiento)
{
    const bool pasaO = O > limiteO, pasaN = N > limiteN;
    if (!pasaO && !pasaN)
        return "Las otras rentas (" + Importe(O) + ") no superan " + Cantidad(limiteO) + " y el " + rendimiento + " (" +
               Importe(N) + ") no supera " + Cantidad(limiteN);
    std::string t;
    if (pasaO)
        t = "Las otras rentas (" + Importe(O) + ") superan " + Cantidad(limiteO);
    if (pasaN)
        t += (t.empty() ? "El " : " y el ") + rendimiento + " (" + Importe(N) + ") supera " + Cantidad(limiteN);
    return t;
}

// Stage 3: real estate (arts. 22-23 LIRPF, imputed income art. 85).
template <class V>
void inmobiliario(const Declaracion &d, Modalidad modo, const Personas &p, Cajas<V> &r)
{
    r[6] = V();
    r[8] = V();
    if (modo == Modalidad::Conjunta)
        r[10] = V();
    r[99] = Dato<V>(d, &R::InmRetencion, Indice(modo));
    // Revised cadastral values impute 1.1 %; only an explicit "No" takes 2 %.
    auto imputacion = [](const std::string &revisado) {
        return revisado == "No"sv ? kImputacionCatastral : kImputacionCatastralRevisado;
    };
    for (int i = 0; i < p.n; ++i) {
        const int persona = p.lista[i];
        const DatosRenta &x = d.Rentas[persona];
        auto dato = [&](Money R::*campo) { return Dato<V>(d, campo, static_cast<std::size_t>(persona)); };
        auto imputada = [&](int n) {
            return [&, n] { return "Renta imputada por el inmueble " + std::to_string(n) + "º " + DePersona(persona); };
        };
        r[7] += Nombra(Redondea(dato(&R::InmValorCat1) * imputacion(x.InmRevisado1)), imputada(1));
        r[7] += Nombra(Redondea(dato(&R::InmValorCat2) * imputacion(x.InmRevisado2)), imputada(2));
        const V I = dato(&R::InmIngresos);
        const V E = Nombra(Nombra(min(dato(&R::InmIntereses), I),
                                  [&] {
                                      return std::string("Intereses y gastos de reparación deducibles ") + DePersona(persona) +
                                             ", hasta el importe de los ingresos";
                                  }) +
                               dato(&R::InmGastos),
                           [&] {
            return std::string("Gastos deducibles ") + DePersona(persona) +
                   ": intereses y reparaciones hasta el límite de los ingresos, más otros gastos";
        });
        if (x.InmLocal == "No"sv && I > E) {
            const V neto = Nombra(I - E, [&] { return std::string("Rendimiento neto del arrendamiento ") + DePersona(persona); });
            auto porque = [&] {
                return std::string("El inmueble arrendado ") + DePersona(persona) + " no es un local y sus ingresos (" +
                       Importe(I) + ") superan los gastos (" + Importe(E) + ")";
            };
            if (modo == Modalidad::Conjunta)
                r[10] += Si(Nombra(Redondea(neto * kReduccionAlquilerVivienda), "Reducción por arrendamiento de vivienda"),
                            porque);
            else
                r[10] = Si(Nombra(Redondea(Entre(neto, 2.0, "2: la mitad del rendimiento neto en la liquidación individual")),
                                  "Reducción por arrendamiento de vivienda en la liquidación individual"),
                           porque);
        }
        r[6] += I;
        r[8] += E;
    }
    r[11] = Nombra(r[6] + r[7], "Rendimientos íntegros del capital inmobiliario, con las rentas imputadas") - r[8] - r[9] -
            r[10];
}

// Stage 4: activities in direct estimation, the dependent-activity reduction (box 108) and
// the start-up reduction (box 18).
template <class V>
void directa(const Declaracion &d, Modalidad modo, const Personas &p, Cajas<V> &r)
{
    V R;
    V I, E;
    bool reduceRdto = false, conTrabajo = false;
    for (int i = 0; i < p.n; ++i) {
        const std::size_t persona = static_cast<std::size_t>(p.lista[i]);
        const DatosRenta &x = d.Rentas[persona];
        I += Dato<V>(d, &R::DirIngresos, persona);
        E += Dato<V>(d, &R::DirGastos, persona);
        reduceRdto = reduceRdto || x.DirRedRdtoNeto == "Sí"sv;
        conTrabajo = conTrabajo || !x.TrabIngresos.isZero();
    }
    I = Nombra(I, "Ingresos de actividades en estimación directa");
    E = Nombra(E, "Gastos de actividades en estimación directa");
    if (reduceRdto && !conTrabajo) {
        int D = d.Miembros[modo == Modalidad::Conyuge ? 1 : 0].Minusvalia;
        if (modo == Modalidad::Conjunta && d.Miembros[1].Minusvalia > D && d.Rentas[2].DirIngresos.positive())
            D = d.Miembros[1].Minusvalia;
        const V N = Nombra(suelo0(I - E), "Rendimiento neto de la actividad económica dependiente");
        const V O = Nombra(r[11] + r[15] + r[23] + r[25] + r[56] - r[57] + r[58] + r[60],
                           "Rentas distintas de las de la actividad");
        auto porQue = [&] {
            return LimitesReduccion(O, kReduccionActividadOtrasRentas, N, kReduccionActividadHasta, "rendimiento neto");
        };
        if (O <= kReduccionActividadOtrasRentas && N <= kReduccionActividadHasta) {
            V adicional = kReduccionActividadAdicional;
            if (N > kReduccionActividadPlenaHasta) {
                adicional -= Nombra(Redondea(Nombra(N - kReduccionActividadPlenaHasta, "Exceso del rendimiento neto") *
                                             kReduccionActividadCoeficiente),
                                    "Minoración de la reducción por el exceso del rendimiento neto");
                adicional = Nombra(adicional, "Reducción adicional por rendimientos bajos una vez minorada");
            }
            r[108] = Si(adicional, porQue);
        } else {
            r[108] = Si(Cero<V>("Sin reducción adicional por rendimientos bajos"), porQue);
        }
        if (r[108].positive() && D > 32)
            r[108] += Si(V(D <= 64 ? kReduccionActividadDiscapacidad : kReduccionActividadDiscapacidad65),
                         [&] { return "Contribuyente " + conDiscapacidad(D); });
        r[108] += Si(V(kReduccionActividadDependiente), "Actividad económica dependiente, sin rendimientos del trabajo");
        if (N < r[108])
            r[108] = Si(N, [&] {
                return "La reducción no puede superar el rendimiento neto de la actividad (" + Importe(N) + ")";
            });
    }
    for (int i = 0; i < p.n; ++i) {
        const int persona = p.lista[i];
        const DatosRenta &x = d.Rentas[persona];
        const V Vn = Nombra(Dato<V>(d, &R::DirIngresos, static_cast<std::size_t>(persona)) -
                                Dato<V>(d, &R::DirGastos, static_cast<std::size_t>(persona)) - r[18] - r[108],
                            [&] { return std::string("Rendimiento neto de la actividad ") + DePersona(persona); });
        if (x.DirRedEmprendedores == "Sí"sv && Vn.positive())
            R += Si(Nombra(Redondea(Nombra(min(Vn, kReduccionInicioActividadLimite),
                                           "Rendimiento neto con derecho a la reducción") *
                                    kReduccionInicioActividad),
                           "Reducción por inicio de actividad"),
                    [&] {
                return std::string("Inicio de actividad ") + DePersona(persona) + ", con rendimiento neto positivo (" +
                       Importe(Vn) + ")";
            });
    }
    r[18] = R;
    r[16] = I - E;
    const std::size_t t = Indice(modo);
    r[100] = Dato<V>(d, &R::DirRetencion, t) + Dato<V>(d, &R::ModRetencion, t) + Dato<V>(d, &R::AgrRetencion, t);
    r[104] = Dato<V>(d, &R::AgrPagosFrac, t) + Dato<V>(d, &R::DirPagosFrac, t) + Dato<V>(d, &R::ModPagosFrac, t);
    r[17] = Dato<V>(d, &R::ModRdtoNeto, t) - Dato<V>(d, &R::ModGastosExtra, t);
    r[19] = Dato<V>(d, &R::AgrRdtoNeto, t) - Dato<V>(d, &R::AgrGastosExtra, t);
}

// Stage 5: employment (arts. 19-20 LIRPF), all from the totals entry.
template <class V>
void trabajo(const Declaracion &d, Modalidad modo, Cajas<V> &r)
{
    const std::size_t ti = Indice(modo);
    const DatosRenta &t = d.Rentas[ti];
    r[0] = Dato<V>(d, &R::TrabIngresos, ti);
    r[1] = Dato<V>(d, &R::TrabGastos, ti);
    r[3] = Dato<V>(d, &R::TrabReduccion, ti);
    r[98] = Dato<V>(d, &R::TrabRetencion, ti);
    const V C = Dato<V>(d, &R::TrabContribEmpresa, ti);
    int D = d.Miembros[0].Minusvalia;
    if (d.Miembros[1].Minusvalia > D && d.Rentas[2].TrabIngresos.positive())
        D = d.Miembros[1].Minusvalia;
    if (r[0].positive()) {
        const V N = Nombra(suelo0(r[0] - r[1] - r[3] + C), "Rendimiento neto previo del trabajo");
        r[2] = min(V(kOtrosGastosTrabajo), N);
        // Box 20 is not computed yet at this point; the net activity income is other
        // income all the same, so the test takes it from its parts (boxes 16, 17, 19).
        const V O = Nombra(r[11] + r[15] + r[16] + r[17] + r[19] + r[23] + r[25] + r[56] - r[57] + r[58],
                           "Rentas distintas de las del trabajo");
        auto porQue = [&] {
            return LimitesReduccion(O, kReduccionTrabajoOtrasRentas, N, kReduccionTrabajoHasta, "rendimiento neto previo");
        };
        if (O <= kReduccionTrabajoOtrasRentas && N <= kReduccionTrabajoHasta) {
            V reduccion = kReduccionTrabajo;
            if (N > kReduccionTrabajoPlenaHasta) {
                reduccion -= Nombra(Redondea(Nombra(N - kReduccionTrabajoPlenaHasta, "Exceso del rendimiento neto previo") *
                                             kReduccionTrabajoCoeficiente),
                                    "Minoración de la reducción por el exceso del rendimiento neto previo");
                reduccion = Nombra(reduccion, "Reducción por obtención de rendimientos del trabajo una vez minorada");
            }
            r[4] = Si(reduccion, porQue);
        } else {
            r[4] = Si(Cero<V>("Sin reducción por obtención de rendimientos del trabajo"), porQue);
        }
        if (t.TrabMovilidad == "Sí"sv)
            r[3] += Si(V(r[2]), "Movilidad geográfica: los otros gastos se aplican dos veces");
        if (D > 32)
            r[3] += Si(V(D <= 64 ? kGastosTrabajoDiscapacidad : kGastosTrabajoDiscapacidad65),
                       [&] { return "Trabajador activo " + conDiscapacidad(D); });
    } else if constexpr (kTraza<V>) {
        r[2] = Si(Cero<V>("Sin otros gastos"), "No hay retribuciones del trabajo");
    }
    r[0] += C;  // the employer's pension contributions are income in kind
    r[5] = suelo0(r[0] - r[1] - r[2] - r[3]);
    if (r[5] > r[4]) {
        r[5] -= r[4];
    } else {
        r[4] = Si(Nombra(V(r[5]), "Rendimiento neto del trabajo antes de la reducción"), [&] {
            return "La reducción no puede superar el rendimiento neto del trabajo (" + Importe(r[5]) + ")";
        });
        r[5] = Si(Cero<V>("Rendimiento neto reducido nulo"), "La reducción absorbe todo el rendimiento neto");
    }
}

// Stage 6: the reduction for low total income with activity income, and box 20.
template <class V>
void actividades(const Declaracion &d, Modalidad modo, Cajas<V> &r)
{
    const std::size_t t = Indice(modo);
    r[20] = r[16] + r[17] + r[19];
    if (r[108].isZero() && r[20].positive()) {
        const V T = Nombra(Nombra(r[16] + r[17] + r[19] + Dato<V>(d, &R::TrabIngresos, t) +
                                      Dato<V>(d, &R::TrabContribEmpresa, t) + r[11] + r[15] + r[23] + r[56] + r[58] + r[60],
                                  "Rendimientos, ganancias e imputaciones que se suman") -
                               Dato<V>(d, &R::TrabGastos, t) - r[57],
                           "Rentas para la reducción por rentas bajas");
        if (T < kReduccionRentasBajasHasta) {
            V reduccion = kReduccionRentasBajas;
            if (T > kReduccionRentasBajasPlenaHasta) {
                reduccion -= Nombra(Redondea(Nombra(T - kReduccionRentasBajasPlenaHasta, "Exceso de las rentas") *
                                             kReduccionRentasBajasCoeficiente),
                                    "Minoración de la reducción por el exceso de las rentas");
                reduccion = Nombra(reduccion, "Reducción por rentas bajas una vez minorada");
            }
            r[108] = Si(reduccion, [&] {
                return "Hay rendimientos de actividades (" + Importe(r[20]) + ") y las rentas (" + Importe(T) +
                       ") no llegan a " + Cantidad(kReduccionRentasBajasHasta);
            });
            if (r[4] + r[108] > kReduccionRentasBajasLimite)
                r[108] = Si(kReduccionRentasBajasLimite - r[4], [&] {
                    return "Con la reducción de los rendimientos del trabajo (" + Importe(r[4]) +
                           ") superaría " + Cantidad(kReduccionRentasBajasLimite) + ": se limita a la diferencia";
                });
        }
    }
    r[20] = Nombra(r[16] + r[17] + r[19], "Rendimiento neto de actividades económicas antes de reducciones") - r[18] - r[108];
}

// Stage 7: the general taxable base, with the negative balance of gains capped at 25 %.
template <class V>
void baseGeneral(Cajas<V> &r)
{
    r[24] = r[5] + r[11] + r[15] + r[20] + r[23];
    r[28] = r[24];
    V G = r[25];
    V L = r[96];
    if (G.positive() && L.positive()) {
        if (G > L) {
            G -= L;
            L = V();
        } else {
            L -= G;
            G = V();
        }
    }
    const V tope = Nombra(suelo0(Redondea(r[24] * kCompensacionBaseGeneral)), "Límite de compensación del saldo negativo");
    if (L.positive())
        G -= L;
    G = Nombra(G, "Saldo de ganancias y pérdidas tras las pérdidas de ejercicios anteriores");
    V negativo = Cero<V>("Sin saldo negativo de ganancias y pérdidas");
    if (G.negative())
        negativo = Nombra(-G, "Saldo negativo de ganancias y pérdidas");
    else
        r[28] += G;
    r[27] = min(negativo, tope);
    if (r[28] > r[27])
        r[28] -= r[27];
    else if (r[28].positive())
        r[28] = Si(Cero<V>("Base imponible general nula"), [&] {
            return "El saldo negativo compensado (" + Importe(r[27]) + ") absorbe toda la base (" + Importe(r[28]) + ")";
        });
}

// Stage 8: base reductions (joint filing art. 84, pension plans arts. 51-52, annuities art. 55).
template <class V>
void reducciones(const Declaracion &d, Modalidad modo, const Personas &p, Cajas<V> &r)
{
    if (modo == Modalidad::Conjunta) {
        if (existe(d.Miembros[1])) {
            r[29] = Si(V(kReduccionTributacionConjunta), "Tributación conjunta de los cónyuges");
        } else {
            for (int k = 2; k <= 7; ++k) {
                if (existe(d.Miembros[k]) && kEjercicio - d.Miembros[k].AnoNac < 18) {
                    r[29] = Si(V(kReduccionConjuntaMonoparental), [&] {
                        return "Tributación conjunta sin cónyuge, con un hijo menor de 18 años: " + miembro(d, k);
                    });
                    break;
                }
            }
            if constexpr (kTraza<V>) {
                if (!r[29].positive())
                    r[29] = Si(Cero<V>("Sin reducción"), "Sin cónyuge ni hijos menores de 18 años");
            }
        }
    } else if constexpr (kTraza<V>) {
        r[29] = Si(Cero<V>("Sin reducción"), "La reducción por tributación conjunta solo se aplica en la liquidación conjunta");
    }
    r[30] = V();
    for (int i = 0; i < p.n; ++i) {
        const int persona = p.lista[i];
        const DatosRenta &x = d.Rentas[persona];
        auto dato = [&](Money R::*campo) { return Dato<V>(d, campo, static_cast<std::size_t>(persona)); };
        V W = Nombra(dato(&R::TrabIngresos) - dato(&R::TrabGastos) - dato(&R::TrabReduccion), [&] {
                  return std::string("Retribuciones del trabajo ") + DePersona(persona) + " menos sus gastos y reducciones";
              }) +
              dato(&R::TrabContribEmpresa);
        if (x.TrabIngresos.positive())
            W -= r[2];
        W = Nombra(W, [&] { return std::string("Rendimiento neto del trabajo ") + DePersona(persona); });
        W += Nombra(dato(&R::DirIngresos) - dato(&R::DirGastos) + dato(&R::ModRdtoNeto) - dato(&R::ModGastosExtra) +
                        dato(&R::AgrRdtoNeto) - dato(&R::AgrGastosExtra),
                    [&] { return std::string("Rendimientos netos de actividades económicas ") + DePersona(persona); });
        W = Nombra(W, [&] { return std::string("Rendimientos netos del trabajo y de actividades ") + DePersona(persona); });
        V P = dato(&R::RedPlanPension) + dato(&R::TrabContribEmpresa);
        if (!P.positive())
            continue;
        P = Nombra(P, [&] { return std::string("Aportaciones a planes de pensiones ") + DePersona(persona); });
        const int D = d.Miembros[persona - 1].Minusvalia;
        const V L = D > 64 ? kLimitePlanesDiscapacidad : kLimitePlanesPensiones;
        P = min(P, L);
        W = Nombra(Redondea(suelo0(W) * kLimitePlanesRendimientos), [&] {
            return "Límite del " + Porcentaje(kLimitePlanesRendimientos) + " de los rendimientos netos del trabajo y de actividades";
        });
        if (L == kLimitePlanesPensiones)  // above 64 % the 30 % of income does not bind
            P = min(P, W);
        r[30] += Nombra(P, [&] { return std::string("Reducción por planes de pensiones ") + DePersona(persona); });
    }
    r[31] = Dato<V>(d, &R::RedAnualidades, Indice(modo));
    r[33] = r[29] + r[30] + r[32];
    r[34] = r[28];
    if (r[34].positive()) {
        if (r[34] < r[29]) {
            r[53] = Si(Nombra(r[29] - r[34], "Parte de la reducción que no cabe en la base general"), [&] {
                return "La reducción por tributación conjunta supera la base (" + Importe(r[34]) +
                       "): el resto pasa a la base del ahorro";
            });
            r[34] = Si(Cero<V>("Base liquidable general nula"), "La reducción por tributación conjunta absorbe toda la base");
        } else {
            r[34] -= r[29];
        }
    } else if constexpr (kTraza<V>) {
        r[34] = Si(V(r[34]), "La base imponible general no es positiva: no se aplican las reducciones");
    }
    for (int n : {32, 30}) {
        if (r[34].positive()) {
            if (r[34] < r[n])
                r[34] = Si(Cero<V>("Base liquidable general nula"), [&] {
                    return "La reducción de la casilla " + std::to_string(n) + " (" + Importe(r[n]) +
                           ") absorbe lo que queda de base, sin remanente";
                });
            else
                r[34] -= r[n];
        }
    }
    if (r[34].positive()) {
        if (r[34] < r[31]) {
            r[61] += Si(Nombra(r[31] - r[34], "Parte de las anualidades que no cabe en la base general"), [&] {
                return "Las anualidades superan lo que queda de base (" + Importe(r[34]) +
                       "): el resto pasa a la base del ahorro";
            });
            r[34] = Si(Cero<V>("Base liquidable general nula"), "Las anualidades absorben lo que queda de base");
        } else {
            r[34] -= r[31];
        }
    }
}

}  // namespace

template <class V>
void RendimientosT(const Declaracion &d, Modalidad modo, const Personas &p, Cajas<V> &r)
{
    inmobiliario<V>(d, modo, p, r);
    directa<V>(d, modo, p, r);
    trabajo<V>(d, modo, r);
    actividades<V>(d, modo, r);
    baseGeneral<V>(r);
    reducciones<V>(d, modo, p, r);
}

template void RendimientosT<Money>(const Declaracion &, Modalidad, const Personas &, Resultado &);
template void RendimientosT<Traza>(const Declaracion &, Modalidad, const Personas &, CajasTraza &);

}  // namespace simulador::liquidacion
