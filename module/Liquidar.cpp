// Liquidar: the sixteen stages of the 2021 liquidation (Ley 35/2006 del IRPF as in force
// for 2021), one run per filing mode. Each stage reads what the earlier ones wrote into
// the result array, so the order below is part of the rules.
//
// The stages are templates over the value type (Etapas.h): Money for the sheet, Traza for
// the explanation of a box. The words they carry (Nombra, Si, Cero) cost nothing in the
// Money run: the texts are functions only a traced run calls.
#include "Liquidar.h"

#include "Cifras2021.h"
#include "Comunidades.h"
#include "Etapas.h"
#include "Formularios.h"

#include <string_view>

using namespace std::string_view_literals;

namespace simulador {

namespace {

using R = DatosRenta;

// The persons whose own records a stage reads: 1 declarant, 2 spouse.
struct Personas {
    int lista[2];
    int n;
};

Personas personasDe(Modalidad modo)
{
    if (modo == Modalidad::Conjunta)
        return {{1, 2}, 2};
    return {{modo == Modalidad::Declarante ? 1 : 2, 0}, 1};
}

const char *letraDe(Modalidad modo) { return modo == Modalidad::Declarante ? "D" : (modo == Modalidad::Conyuge ? "C" : ""); }

bool existe(const MiembroFam &m) { return m.AnoNac > 0; }

// The parent a child's minimum goes to. Anything else, read from a file, counts as empty,
// as the family screen leaves it: shared between both parents.
bool esPerceptor(const std::string &p) { return p == "D"sv || p == "C"sv; }

// "Hijo 2º (nacido en 2012)": a member as the family screen names it.
std::string miembro(const Declaracion &d, int k)
{
    return std::string(FilasUnidadFam()[static_cast<std::size_t>(k)]) + " (nacido en " +
           std::to_string(d.Miembros[static_cast<std::size_t>(k)].AnoNac) + ")";
}

std::string conDiscapacidad(int minusvalia) { return "con discapacidad del " + std::to_string(minusvalia) + " %"; }

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
        r[7] += Redondea(dato(&R::InmValorCat1) * imputacion(x.InmRevisado1));
        r[7] += Redondea(dato(&R::InmValorCat2) * imputacion(x.InmRevisado2));
        const V I = dato(&R::InmIngresos);
        const V E = Nombra(min(dato(&R::InmIntereses), I) + dato(&R::InmGastos), [&] {
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
                r[10] += Si(Redondea(neto * kReduccionAlquilerVivienda), porque);
            else
                r[10] = Si(Redondea(Entre(neto, 2.0, "2: la mitad del rendimiento neto en la liquidación individual")),
                           porque);
        }
        r[6] += I;
        r[8] += E;
    }
    r[11] = r[6] + r[7] - r[8] - r[9] - r[10];
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
        if (O <= kReduccionActividadOtrasRentas && N <= kReduccionActividadHasta) {
            V adicional = kReduccionActividadAdicional;
            if (N > kReduccionActividadPlenaHasta)
                adicional -= Redondea(Nombra(N - kReduccionActividadPlenaHasta, "Exceso del rendimiento neto") *
                                      kReduccionActividadCoeficiente);
            r[108] = Si(adicional, [&] {
                return "Las otras rentas (" + Importe(O) + ") no superan " + Cantidad(kReduccionActividadOtrasRentas) +
                       " y el rendimiento neto (" + Importe(N) + ") no supera " + Cantidad(kReduccionActividadHasta);
            });
        } else {
            r[108] = Si(Cero<V>("Sin reducción adicional por rendimientos bajos"), [&] {
                return "Las otras rentas (" + Importe(O) + ") superan " + Cantidad(kReduccionActividadOtrasRentas) +
                       " o el rendimiento neto (" + Importe(N) + ") supera " + Cantidad(kReduccionActividadHasta);
            });
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
            R += Si(Redondea(min(Vn, kReduccionInicioActividadLimite) * kReduccionInicioActividad), [&] {
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
        if (O <= kReduccionTrabajoOtrasRentas && N <= kReduccionTrabajoHasta) {
            V reduccion = kReduccionTrabajo;
            if (N > kReduccionTrabajoPlenaHasta)
                reduccion -= Redondea(Nombra(N - kReduccionTrabajoPlenaHasta, "Exceso del rendimiento neto previo") *
                                      kReduccionTrabajoCoeficiente);
            r[4] = Si(reduccion, [&] {
                return "Las otras rentas (" + Importe(O) + ") no superan " + Cantidad(kReduccionTrabajoOtrasRentas) +
                       " y el rendimiento neto previo (" + Importe(N) + ") no supera " + Cantidad(kReduccionTrabajoHasta);
            });
        } else {
            r[4] = Si(Cero<V>("Sin reducción por obtención de rendimientos del trabajo"), [&] {
                return "Las otras rentas (" + Importe(O) + ") superan " + Cantidad(kReduccionTrabajoOtrasRentas) +
                       " o el rendimiento neto previo (" + Importe(N) + ") supera " + Cantidad(kReduccionTrabajoHasta);
            });
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
        r[4] = Si(V(r[5]), [&] {
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
        const V T = Nombra(r[16] + r[17] + r[19] + Dato<V>(d, &R::TrabIngresos, t) +
                               Dato<V>(d, &R::TrabContribEmpresa, t) + r[11] + r[15] + r[23] + r[56] + r[58] + r[60] -
                               Dato<V>(d, &R::TrabGastos, t) - r[57],
                           "Rentas para la reducción por rentas bajas");
        if (T < kReduccionRentasBajasHasta) {
            V reduccion = kReduccionRentasBajas;
            if (T > kReduccionRentasBajasPlenaHasta)
                reduccion -= Redondea(Nombra(T - kReduccionRentasBajasPlenaHasta, "Exceso de las rentas") *
                                      kReduccionRentasBajasCoeficiente);
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
    r[20] = r[16] + r[17] + r[19] - r[18] - r[108];
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
        V W = dato(&R::TrabIngresos) - dato(&R::TrabGastos) - dato(&R::TrabReduccion) + dato(&R::TrabContribEmpresa);
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
        W = Redondea(suelo0(W) * kLimitePlanesRendimientos);
        if (L == kLimitePlanesPensiones)  // above 64 % the 30 % of income does not bind
            P = min(P, W);
        r[30] += Nombra(P, [&] { return std::string("Reducción por planes de pensiones ") + DePersona(persona); });
    }
    r[31] = Dato<V>(d, &R::RedAnualidades, Indice(modo));
    r[33] = r[29] + r[30] + r[32];
    r[34] = r[28];
    if (r[34].positive()) {
        if (r[34] < r[29]) {
            r[53] = Si(r[29] - r[34], [&] {
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
            r[61] += Si(r[31] - r[34], [&] {
                return "Las anualidades superan lo que queda de base (" + Importe(r[34]) +
                       "): el resto pasa a la base del ahorro";
            });
            r[34] = Si(Cero<V>("Base liquidable general nula"), "Las anualidades absorben lo que queda de base");
        } else {
            r[34] -= r[31];
        }
    }
}

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
        V a, b;
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
    const V CB = Nombra(r[58] + r[60] - r[92], "Saldo de rendimientos del capital mobiliario del ahorro");
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
    r[62] = suelo0(suelo0(CB) + suelo0(GB) - r[54] - r[53] - r[65]);

    if (r[34] > r[39]) {
        r[43] = Si(V(r[39]), [&] {
            return "La base liquidable general (" + Importe(r[34]) + ") supera el mínimo personal y familiar";
        });
    } else {
        r[43] = Si(suelo0(r[34]), [&] {
            return "El mínimo personal y familiar (" + Importe(r[39]) + ") no cabe en la base liquidable general";
        });
        if (r[62].positive())
            r[61] = Si(min(V(r[62]), r[39] - r[43]), "El resto del mínimo se aplica a la base del ahorro");
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
            RR = Nombra(min(V(r[62]), r[50] - Q), "Resto del mínimo autonómico aplicado a la base del ahorro");
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
        return Nombra(kAhorroCuota1 + Redondea(Nombra(x - kAhorroLimite1, encima(kAhorroLimite1)) * kAhorroTipo2),
                      tramo(2, &kAhorroLimite1, &kAhorroLimite2, kAhorroTipo2));
    if (x <= kAhorroLimite3)
        return Nombra(kAhorroCuota2 + Redondea(Nombra(x - kAhorroLimite2, encima(kAhorroLimite2)) * kAhorroTipo3),
                      tramo(3, &kAhorroLimite2, &kAhorroLimite3, kAhorroTipo3));
    return Nombra(kAhorroCuota3 + Redondea(Nombra(x - kAhorroLimite3, encima(kAhorroLimite3)) * kAhorroTipo4),
                  tramo(4, &kAhorroLimite3, nullptr, kAhorroTipo4));
}

Money CuotaAhorro(Money base) { return CuotaAhorroT<Money>(base); }

template <class V>
void LiquidarT(const Declaracion &d, Modalidad modalidad, Cajas<V> &r, const V &DeduccionConyuge)
{
    // Stage 1: set up.
    r.fill(V());
    r[94] = DeduccionConyuge;
    const Escalas escalas = CargaTablas(d.Autonomia);
    CalculaGananciasT<V>(d, modalidad, r);
    CalculaMobiliarioT<V>(d, modalidad, r);

    // Stage 2: the typed input boxes; boxes 21 and 22 also make up the special regimes.
    for (int n = 0; n < kCasillasTecleables; ++n) {
        Money v;
        if (d.Casillas[n].Entrada && LeeCasilla(d, n, v))
            r[n] = Tecleada<V>(v, n);
    }
    for (int n : {21, 22}) {
        Money v;
        if (LeeCasilla(d, n, v))
            r[23] += Tecleada<V>(v, n);
    }
    r[15] = r[12] - r[13] - r[14];

    const Personas p = personasDe(modalidad);
    inmobiliario<V>(d, modalidad, p, r);
    directa<V>(d, modalidad, p, r);
    trabajo<V>(d, modalidad, r);
    actividades<V>(d, modalidad, r);
    baseGeneral<V>(r);
    reducciones<V>(d, modalidad, p, r);
    minimos<V>(d, modalidad, r);
    cuotas<V>(d, modalidad, escalas, r);

    // Stage 12: gross quotas. Box 69 is not floored (a minimum larger than the base).
    r[71] = r[66];
    r[72] = r[67];
    r[69] = r[41] - r[44];
    r[70] = suelo0(r[42] - r[45]);
    r[73] = r[69] + r[71];
    r[74] = r[70] + r[72];

    // Stage 13: deductions.
    V vivienda;
    CalculaDeduccionesT<V>(d, modalidad, r, vivienda);

    // Stage 14: liquid quota, less international double taxation.
    r[88] = suelo0(r[73] - r[75] - r[77] - r[79] - r[81] - r[85]);
    r[89] = suelo0(r[74] - r[76] - r[78] - r[80] - r[82] - r[86] - r[87]);
    r[97] = r[88] + r[89];
    Money v;
    if (LeeCasilla(d, 95, v))
        r[97] -= Tecleada<V>(v, 95);
    r[97] = suelo0(r[97]);

    // Stage 15: withholdings and payments on account.
    r[105] = r[98] + r[99] + r[100] + r[102] + r[103] + r[104];
    r[90] = r[97] - r[105];

    // Stage 16: the result; negative is a refund.
    r[106] = r[90] - r[94] - r[91] - r[101];
    if (LeeCasilla(d, 84, v))
        r[106] -= Tecleada<V>(v, 84);
}

template <class V>
V DeduccionDiscapacitadosT(const Declaracion &d, Modalidad modalidad)
{
    // For a disabled spouse (or declarant) whose own income, from an individual run, is
    // within the limit and who had no advance payment. The individual run is the engine's
    // own; only its outcome is part of this run's explanation.
    V deduccion;
    Resultado R;
    auto comprueba = [&](int miembro, Modalidad modoPrevio) {
        const MiembroFam &m = d.Miembros[miembro];
        if (m.Abono == "Sí"sv || m.Minusvalia < 33 || modalidad == modoPrevio)
            return;
        LiquidarT<Money>(d, modoPrevio, R, Money());
        const Money renta = R[5] + R[4] + R[6] + R[7] - R[8] + R[12] - R[14] + R[20] + R[108] + R[23] + R[25] + R[56] -
                            R[57] + R[58] + R[60];
        auto quien = [&] {
            return std::string(miembro == 1 ? "El cónyuge, " : "El declarante, ") + conDiscapacidad(m.Minusvalia) +
                   " y sin abono anticipado, obtiene en su liquidación individual unas rentas de " + Importe(renta);
        };
        if (renta <= kDeduccionConyugeRentaHasta)
            deduccion += Si(V(kDeduccionConyugeDiscapacidad),
                            [&] { return quien() + ", que no superan " + Cantidad(kDeduccionConyugeRentaHasta); });
        else if constexpr (kTraza<V>)
            deduccion += Si(Cero<V>("Sin deducción"),
                            [&] { return quien() + ", que superan " + Cantidad(kDeduccionConyugeRentaHasta); });
    };
    comprueba(1, Modalidad::Conyuge);
    comprueba(0, Modalidad::Declarante);
    if constexpr (kTraza<V>) {
        if (!deduccion.nodo())
            deduccion = Cero<V>("Ningún miembro de la pareja con discapacidad da derecho a la deducción en esta liquidación");
    }
    return deduccion;
}

template void LiquidarT<Money>(const Declaracion &, Modalidad, Resultado &, const Money &);
template void LiquidarT<Traza>(const Declaracion &, Modalidad, CajasTraza &, const Traza &);
template Money DeduccionDiscapacitadosT<Money>(const Declaracion &, Modalidad);
template Traza DeduccionDiscapacitadosT<Traza>(const Declaracion &, Modalidad);
template Money CuotaAhorroT<Money>(const Money &);
template Traza CuotaAhorroT<Traza>(const Traza &);

void Liquidar(const Declaracion &d, Modalidad modalidad, Resultado &r, Money DeduccionConyuge)
{
    LiquidarT<Money>(d, modalidad, r, DeduccionConyuge);
}

Money DeduccionDiscapacitados(const Declaracion &d, Modalidad modalidad)
{
    return DeduccionDiscapacitadosT<Money>(d, modalidad);
}

Calculo Recalcular(const Declaracion &d, Modalidad modalidad)
{
    Calculo c;
    try {
        Liquidar(d, modalidad, c.resultado, DeduccionDiscapacitados(d, modalidad));
    } catch (const ErrorCasilla &e) {
        c = Calculo();
        c.ok = false;
        c.casilla = e.casilla();
        c.mensaje = e.what();
    } catch (const ErrorImporte &) {
        c = Calculo();
        c.ok = false;
        c.mensaje = kMensajeFueraDeRango;
    }
    return c;
}

}  // namespace simulador
