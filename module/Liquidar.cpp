// Liquidar: the sixteen stages of the 2021 liquidation (Ley 35/2006 del IRPF as in force
// for 2021), one run per filing mode. Each stage reads what the earlier ones wrote into
// the result array, so the order below is part of the rules.
#include "Liquidar.h"

#include "Cifras2021.h"
#include "Comunidades.h"

#include <string_view>

using namespace std::string_view_literals;

namespace simulador {

namespace {

Money suelo0(Money m) { return max(m, Money()); }

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

// Stage 3: real estate (arts. 22-23 LIRPF, imputed income art. 85).
void inmobiliario(const Declaracion &d, Modalidad modo, const Personas &p, Resultado &r)
{
    r[6] = Money();
    r[8] = Money();
    if (modo == Modalidad::Conjunta)
        r[10] = Money();
    r[99] = d.Rentas[Indice(modo)].InmRetencion;
    // Revised cadastral values impute 1.1 %; only an explicit "No" takes 2 %.
    auto imputacion = [](const std::string &revisado) {
        return revisado == "No"sv ? kImputacionCatastral : kImputacionCatastralRevisado;
    };
    for (int i = 0; i < p.n; ++i) {
        const DatosRenta &x = d.Rentas[p.lista[i]];
        r[7] += Redondea(x.InmValorCat1 * imputacion(x.InmRevisado1));
        r[7] += Redondea(x.InmValorCat2 * imputacion(x.InmRevisado2));
        const Money I = x.InmIngresos;
        const Money E = min(x.InmIntereses, x.InmIngresos) + x.InmGastos;
        if (x.InmLocal == "No"sv && I > E) {
            if (modo == Modalidad::Conjunta)
                r[10] += Redondea((I - E) * kReduccionAlquilerVivienda);
            else
                r[10] = Redondea((I - E) / 2.0);
        }
        r[6] += I;
        r[8] += E;
    }
    r[11] = r[6] + r[7] - r[8] - r[9] - r[10];
}

// Stage 4: activities in direct estimation, the dependent-activity reduction (box 108) and
// the start-up reduction (box 18).
void directa(const Declaracion &d, Modalidad modo, const Personas &p, Resultado &r)
{
    Money R;
    Money I, E;
    bool reduceRdto = false, conTrabajo = false;
    for (int i = 0; i < p.n; ++i) {
        const DatosRenta &x = d.Rentas[p.lista[i]];
        I += x.DirIngresos;
        E += x.DirGastos;
        reduceRdto = reduceRdto || x.DirRedRdtoNeto == "Sí"sv;
        conTrabajo = conTrabajo || !x.TrabIngresos.isZero();
    }
    if (reduceRdto && !conTrabajo) {
        int D = d.Miembros[modo == Modalidad::Conyuge ? 1 : 0].Minusvalia;
        if (modo == Modalidad::Conjunta && d.Miembros[1].Minusvalia > D && d.Rentas[2].DirIngresos.positive())
            D = d.Miembros[1].Minusvalia;
        const Money N = suelo0(I - E);
        const Money O = r[11] + r[15] + r[23] + r[25] + r[56] - r[57] + r[58] + r[60];
        if (O <= kReduccionActividadOtrasRentas && N <= kReduccionActividadHasta) {
            r[108] = kReduccionActividadAdicional;
            if (N > kReduccionActividadPlenaHasta)
                r[108] -= Redondea((N - kReduccionActividadPlenaHasta) * kReduccionActividadCoeficiente);
        } else {
            r[108] = Money();
        }
        if (r[108].positive() && D > 32)
            r[108] += D <= 64 ? kReduccionActividadDiscapacidad : kReduccionActividadDiscapacidad65;
        r[108] += kReduccionActividadDependiente;
        if (N < r[108])
            r[108] = N;
    }
    for (int i = 0; i < p.n; ++i) {
        const DatosRenta &x = d.Rentas[p.lista[i]];
        const Money V = x.DirIngresos - x.DirGastos - r[18] - r[108];
        if (x.DirRedEmprendedores == "Sí"sv && V.positive())
            R += Redondea(min(V, kReduccionInicioActividadLimite) * kReduccionInicioActividad);
    }
    r[18] = R;
    r[16] = I - E;
    const DatosRenta &t = d.Rentas[Indice(modo)];
    r[100] = t.DirRetencion + t.ModRetencion + t.AgrRetencion;
    r[104] = t.AgrPagosFrac + t.DirPagosFrac + t.ModPagosFrac;
    r[17] = t.ModRdtoNeto - t.ModGastosExtra;
    r[19] = t.AgrRdtoNeto - t.AgrGastosExtra;
}

// Stage 5: employment (arts. 19-20 LIRPF), all from the totals entry.
void trabajo(const Declaracion &d, Modalidad modo, Resultado &r)
{
    const DatosRenta &t = d.Rentas[Indice(modo)];
    r[0] = t.TrabIngresos;
    r[1] = t.TrabGastos;
    r[3] = t.TrabReduccion;
    r[98] = t.TrabRetencion;
    const Money C = t.TrabContribEmpresa;
    int D = d.Miembros[0].Minusvalia;
    if (d.Miembros[1].Minusvalia > D && d.Rentas[2].TrabIngresos.positive())
        D = d.Miembros[1].Minusvalia;
    if (r[0].positive()) {
        const Money N = suelo0(r[0] - r[1] - r[3] + C);
        r[2] = min(kOtrosGastosTrabajo, N);
        // Box 20 is not computed yet at this point; the net activity income is other
        // income all the same, so the test takes it from its parts (boxes 16, 17, 19).
        const Money O = r[11] + r[15] + r[16] + r[17] + r[19] + r[23] + r[25] + r[56] - r[57] + r[58];
        if (O <= kReduccionTrabajoOtrasRentas && N <= kReduccionTrabajoHasta) {
            r[4] = kReduccionTrabajo;
            if (N > kReduccionTrabajoPlenaHasta)
                r[4] -= Redondea((N - kReduccionTrabajoPlenaHasta) * kReduccionTrabajoCoeficiente);
        } else {
            r[4] = Money();
        }
        if (t.TrabMovilidad == "Sí"sv)
            r[3] += r[2];
        if (D > 32)
            r[3] += D <= 64 ? kGastosTrabajoDiscapacidad : kGastosTrabajoDiscapacidad65;
    }
    r[0] += C;  // the employer's pension contributions are income in kind
    r[5] = suelo0(r[0] - r[1] - r[2] - r[3]);
    if (r[5] > r[4]) {
        r[5] -= r[4];
    } else {
        r[4] = r[5];
        r[5] = Money();
    }
}

// Stage 6: the reduction for low total income with activity income, and box 20.
void actividades(const Declaracion &d, Modalidad modo, Resultado &r)
{
    const DatosRenta &t = d.Rentas[Indice(modo)];
    r[20] = r[16] + r[17] + r[19];
    if (r[108].isZero() && r[20].positive()) {
        const Money T = r[16] + r[17] + r[19] + t.TrabIngresos + t.TrabContribEmpresa + r[11] + r[15] + r[23] + r[56] +
                        r[58] + r[60] - t.TrabGastos - r[57];
        if (T < kReduccionRentasBajasHasta) {
            r[108] = kReduccionRentasBajas;
            if (T > kReduccionRentasBajasPlenaHasta)
                r[108] -= Redondea((T - kReduccionRentasBajasPlenaHasta) * kReduccionRentasBajasCoeficiente);
            if (r[4] + r[108] > kReduccionRentasBajasLimite)
                r[108] = kReduccionRentasBajasLimite - r[4];
        }
    }
    r[20] = r[16] + r[17] + r[19] - r[18] - r[108];
}

// Stage 7: the general taxable base, with the negative balance of gains capped at 25 %.
void baseGeneral(Resultado &r)
{
    r[24] = r[5] + r[11] + r[15] + r[20] + r[23];
    r[28] = r[24];
    Money G = r[25];
    Money L = r[96];
    if (G.positive() && L.positive()) {
        if (G > L) {
            G -= L;
            L = Money();
        } else {
            L -= G;
            G = Money();
        }
    }
    const Money tope = suelo0(Redondea(r[24] * kCompensacionBaseGeneral));
    if (L.positive())
        G -= L;
    Money negativo;
    if (G.negative())
        negativo = -G;
    else
        r[28] += G;
    r[27] = min(negativo, tope);
    if (r[28] > r[27])
        r[28] -= r[27];
    else if (r[28].positive())
        r[28] = Money();
}

// Stage 8: base reductions (joint filing art. 84, pension plans arts. 51-52, annuities art. 55).
void reducciones(const Declaracion &d, Modalidad modo, const Personas &p, Resultado &r)
{
    if (modo == Modalidad::Conjunta) {
        if (existe(d.Miembros[1])) {
            r[29] = kReduccionTributacionConjunta;
        } else {
            for (int k = 2; k <= 7; ++k) {
                if (existe(d.Miembros[k]) && kEjercicio - d.Miembros[k].AnoNac < 18) {
                    r[29] = kReduccionConjuntaMonoparental;
                    break;
                }
            }
        }
    }
    r[30] = Money();
    for (int i = 0; i < p.n; ++i) {
        const int persona = p.lista[i];
        const DatosRenta &x = d.Rentas[persona];
        Money W = x.TrabIngresos - x.TrabGastos - x.TrabReduccion + x.TrabContribEmpresa;
        if (x.TrabIngresos.positive())
            W -= r[2];
        W += x.DirIngresos - x.DirGastos + x.ModRdtoNeto - x.ModGastosExtra + x.AgrRdtoNeto - x.AgrGastosExtra;
        Money P = x.RedPlanPension + x.TrabContribEmpresa;
        if (!P.positive())
            continue;
        const int D = d.Miembros[persona - 1].Minusvalia;
        const Money L = D > 64 ? kLimitePlanesDiscapacidad : kLimitePlanesPensiones;
        P = min(P, L);
        W = Redondea(suelo0(W) * kLimitePlanesRendimientos);
        if (L == kLimitePlanesPensiones)  // above 64 % the 30 % of income does not bind
            P = min(P, W);
        r[30] += P;
    }
    r[31] = d.Rentas[Indice(modo)].RedAnualidades;
    r[33] = r[29] + r[30] + r[32];
    r[34] = r[28];
    if (r[34].positive()) {
        if (r[34] < r[29]) {
            r[53] = r[29] - r[34];
            r[34] = Money();
        } else {
            r[34] -= r[29];
        }
    }
    for (int n : {32, 30}) {
        if (r[34].positive())
            r[34] = r[34] < r[n] ? Money() : r[34] - r[n];
    }
    if (r[34].positive()) {
        if (r[34] < r[31]) {
            r[61] += r[31] - r[34];
            r[34] = Money();
        } else {
            r[34] -= r[31];
        }
    }
}

// Stage 9: the personal and family minimum (arts. 56-61 LIRPF and the regional amounts of
// Illes Balears, Catalunya, Madrid and La Rioja), state column 35-39, regional 46-50.
void minimos(const Declaracion &d, Modalidad modo, Resultado &r)
{
    const Comunidad A = ComunidadDe(d.Autonomia);
    const bool baleares = A == Comunidad::Baleares;
    const std::string F = letraDe(modo);
    const bool hayConyuge = existe(d.Miembros[1]);
    const Money uno = Euros(1), medio = Money::fromUnits(5000);

    r[35] = kMinimoContribuyente;
    r[46] = kMinimoContribuyente;
    if (baleares)
        r[46] = kMinimoContribuyenteBaleares;
    if (A == Comunidad::Catalunya &&
        r[34] + r[56] - r[57] - r[26] + r[58] + r[60] - r[92] <= kMinimoCatalunyaBaseHasta)
        r[46] = kMinimoContribuyenteCatalunya;

    // Shares are applied as money × share in double, then rounded.
    auto parte = [](Money importe, Money s) { return Redondea(importe * s.toDouble()); };
    auto reparte = [](Money importe, int convivencia) {
        return convivencia > 0 ? Redondea(importe / static_cast<double>(convivencia)) : importe;
    };

    // Descendants: K counts only the children whose minimum applies in this run.
    int K = 0;
    for (int k = 2; k <= 7; ++k) {
        const MiembroFam &m = d.Miembros[k];
        if (!existe(m))
            continue;
        Money s;
        if (m.Perceptor == F || F.empty() || !hayConyuge)
            s = uno;
        else if (!esPerceptor(m.Perceptor))
            s = medio;
        else
            continue;
        if (!(m.Minusvalia > 32 || m.Edad < 25))
            continue;
        Money estatal, autonomico;
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
        Money U = kMinimoMenor3;
        estatal = reparte(estatal, m.Convivencia);
        autonomico = reparte(autonomico, m.Convivencia);
        U = reparte(U, m.Convivencia);
        r[36] += parte(estatal, s);
        r[47] += parte(autonomico, s);
        if (m.Fallecido != "Sí"sv && m.Edad < 3) {
            const Money u = parte(U, s);
            r[36] += u;
            r[47] += u;
        }
        if (m.Minusvalia > 32 && m.Abono != "Sí"sv)
            r[101] += parte(kDeduccionDescendienteDiscapacidad, s);
    }

    // Age and disability of every member.
    r[37] = Money();
    for (int k = 0; k <= 9; ++k) {
        const MiembroFam &m = d.Miembros[k];
        if (!existe(m))
            continue;
        Money s;
        if (k <= 1 || m.Perceptor == F || F.empty()) {
            s = uno;
            if ((modo == Modalidad::Declarante && k == 1) || (modo == Modalidad::Conyuge && k == 0))
                s = Money();
        } else if (!esPerceptor(m.Perceptor)) {
            s = (!hayConyuge && modo != Modalidad::Conyuge) ? uno : medio;
        } else {
            continue;
        }
        const bool esPersona = k <= 1, esAscendiente = k >= 8;
        if ((esPersona || esAscendiente) && m.Edad > 64) {
            Money a = parte(kMinimoMayor65, s);
            Money b = parte(baleares ? kMinimoMayor65Baleares : kMinimoMayor65, s);
            if (m.Edad > 74) {  // the 75-and-over part is not shared
                a += kMinimoMayor75;
                b += baleares ? kMinimoMayor75Baleares : kMinimoMayor75;
            }
            a = reparte(a, m.Convivencia);
            b = reparte(b, m.Convivencia);
            if (esPersona) {
                if ((modo == Modalidad::Declarante && k != 0) || (modo == Modalidad::Conyuge && k != 1))
                    a = b = Money();
                r[35] += a;
                r[46] += b;
            } else {
                r[37] += a;
                r[48] += b;
                if (m.Fallecido != "Sí"sv && m.Minusvalia > 32 && m.Abono != "Sí"sv)
                    r[91] = kDeduccionAscendienteDiscapacidad;
            }
        }
        if (m.Fallecido == "Sí"sv)
            continue;
        const bool aumentoDiscapacidad = (baleares || A == Comunidad::Rioja) && k < 8;
        Money a, b;
        if (m.Minusvalia > 64) {
            a = kMinimoDiscapacidad65;
            b = aumentoDiscapacidad ? kMinimoDiscapacidad65Autonomico : kMinimoDiscapacidad65;
        } else if (m.Minusvalia >= 33) {
            a = kMinimoDiscapacidad;
            b = aumentoDiscapacidad ? kMinimoDiscapacidadAutonomico : kMinimoDiscapacidad;
        }
        r[38] += parte(reparte(a, m.Convivencia), s);
        r[49] += parte(reparte(b, m.Convivencia), s);
        if (m.Ayuda == "Sí"sv || m.Minusvalia > 64) {
            a = kMinimoGastosAsistencia;
            b = (baleares && k < 8) ? kMinimoGastosAsistenciaBaleares : kMinimoGastosAsistencia;
            r[38] += parte(reparte(a, m.Convivencia), s);
            r[49] += parte(reparte(b, m.Convivencia), s);
        }
    }
    r[39] = r[35] + r[36] + r[37] + r[38];
    r[50] = r[46] + r[47] + r[48] + r[49];
}

// Stages 10 and 11: the savings base, the split of the minimum between the two bases, and
// the quotas by the scales.
void cuotas(const Declaracion &d, Modalidad modo, const Escalas &e, Resultado &r)
{
    r[40] = suelo0(r[34]);
    const Money GB = r[56] - r[57] - r[26];
    const Money CB = r[58] + r[60] - r[92];
    r[65] = Money();
    // Losses of one half of the savings base offset up to 25 % of the other half's income.
    auto compensa = [&r](Money X, Money ingresos, Money anteriores) {
        Money tope = Redondea(ingresos * kCompensacionBaseAhorro);
        if (X > tope) {
            r[65] = tope;
            tope = Money();
        } else {
            r[65] = X;
            tope -= X;
        }
        r[65] += anteriores > tope ? tope : anteriores;
    };
    if (GB.negative() && CB.positive())
        compensa(-GB, r[58] + r[60], r[26]);
    else if (GB.positive() && CB.negative())
        compensa(-CB, r[56] - r[57], r[92]);
    r[62] = suelo0(suelo0(CB) + suelo0(GB) - r[54] - r[53] - r[65]);

    if (r[34] > r[39]) {
        r[43] = r[39];
    } else {
        r[43] = suelo0(r[34]);
        if (r[62].positive())
            r[61] = min(r[62], r[39] - r[43]);
    }
    Money Q, RR;
    if (r[34] > r[50]) {
        Q = r[50];
    } else {
        Q = suelo0(r[34]);
        if (r[62].positive())
            RR = min(r[62], r[50] - Q);
    }

    if (r[40].positive()) {
        const Money AH = d.Rentas[Indice(modo)].RedAnualidadHijos;
        if (AH.positive() && AH < r[40]) {
            // Annuities paid to children are taxed apart from the rest of the base, and
            // the minimum grows with them.
            r[41] = Cuota(e, "E", AH) + Cuota(e, "E", r[34] - AH);
            r[43] += kMinimoAnualidadesHijos;
            r[44] = Cuota(e, "E", suelo0(min(r[43], r[34])));
            r[42] = Cuota(e, "A", AH) + Cuota(e, "A", r[34] - AH);
            r[45] = Cuota(e, "A", suelo0(min(Q + kMinimoAnualidadesHijos, r[34])));
        } else {
            r[41] = Cuota(e, "E", r[40]);
            r[44] = Cuota(e, "E", suelo0(r[43]));
            r[42] = Cuota(e, "A", r[40]);
            r[45] = Cuota(e, "A", Q);
        }
    }

    const Money SB = r[62];
    r[62] -= r[61];
    r[63] = r[62];
    r[66] = CuotaAhorro(SB) - CuotaAhorro(RR);
    r[67] = r[66];
}

}  // namespace

Money CuotaAhorro(Money x)
{
    // The first two limits are compared one cent above the limit (6000.01, 50000.01).
    constexpr Money centimo = Centimos(1);
    constexpr Money hasta1 = Money::fromUnits(kAhorroLimite1.units() + centimo.units());
    constexpr Money hasta2 = Money::fromUnits(kAhorroLimite2.units() + centimo.units());
    if (x < hasta1)
        return Redondea(x * kAhorroTipo1);
    if (x <= hasta2)
        return kAhorroCuota1 + Redondea((x - kAhorroLimite1) * kAhorroTipo2);
    if (x <= kAhorroLimite3)
        return kAhorroCuota2 + Redondea((x - kAhorroLimite2) * kAhorroTipo3);
    return kAhorroCuota3 + Redondea((x - kAhorroLimite3) * kAhorroTipo4);
}

void Liquidar(const Declaracion &d, Modalidad modalidad, Resultado &r, Money DeduccionConyuge)
{
    // Stage 1: set up.
    r.fill(Money());
    r[94] = DeduccionConyuge;
    const Escalas escalas = CargaTablas(d.Autonomia);
    CalculaGanancias(d, modalidad, r);
    CalculaMobiliario(d, modalidad, r);

    // Stage 2: the typed input boxes; boxes 21 and 22 also make up the special regimes.
    for (int n = 0; n < kCasillasTecleables; ++n) {
        Money v;
        if (d.Casillas[n].Entrada && LeeCasilla(d, n, v))
            r[n] = v;
    }
    for (int n : {21, 22}) {
        Money v;
        if (LeeCasilla(d, n, v))
            r[23] += v;
    }
    r[15] = r[12] - r[13] - r[14];

    const Personas p = personasDe(modalidad);
    inmobiliario(d, modalidad, p, r);
    directa(d, modalidad, p, r);
    trabajo(d, modalidad, r);
    actividades(d, modalidad, r);
    baseGeneral(r);
    reducciones(d, modalidad, p, r);
    minimos(d, modalidad, r);
    cuotas(d, modalidad, escalas, r);

    // Stage 12: gross quotas. Box 69 is not floored (a minimum larger than the base).
    r[71] = r[66];
    r[72] = r[67];
    r[69] = r[41] - r[44];
    r[70] = suelo0(r[42] - r[45]);
    r[73] = r[69] + r[71];
    r[74] = r[70] + r[72];

    // Stage 13: deductions.
    Money vivienda;
    CalculaDeducciones(d, modalidad, r, vivienda);

    // Stage 14: liquid quota, less international double taxation.
    r[88] = suelo0(r[73] - r[75] - r[77] - r[79] - r[81] - r[85]);
    r[89] = suelo0(r[74] - r[76] - r[78] - r[80] - r[82] - r[86] - r[87]);
    r[97] = r[88] + r[89];
    Money v;
    if (LeeCasilla(d, 95, v))
        r[97] -= v;
    r[97] = suelo0(r[97]);

    // Stage 15: withholdings and payments on account.
    r[105] = r[98] + r[99] + r[100] + r[102] + r[103] + r[104];
    r[90] = r[97] - r[105];

    // Stage 16: the result; negative is a refund.
    r[106] = r[90] - r[94] - r[91] - r[101];
    if (LeeCasilla(d, 84, v))
        r[106] -= v;
}

Money DeduccionDiscapacitados(const Declaracion &d, Modalidad modalidad)
{
    // For a disabled spouse (or declarant) whose own income, from an individual run, is
    // within the limit and who had no advance payment.
    Money deduccion;
    Resultado R;
    auto comprueba = [&](int miembro, Modalidad modoPrevio) {
        const MiembroFam &m = d.Miembros[miembro];
        if (m.Abono == "Sí"sv || m.Minusvalia < 33 || modalidad == modoPrevio)
            return;
        Liquidar(d, modoPrevio, R, Money());
        const Money renta = R[5] + R[4] + R[6] + R[7] - R[8] + R[12] - R[14] + R[20] + R[108] + R[23] + R[25] + R[56] -
                            R[57] + R[58] + R[60];
        if (renta <= kDeduccionConyugeRentaHasta)
            deduccion += kDeduccionConyugeDiscapacidad;
    };
    comprueba(1, Modalidad::Conyuge);
    comprueba(0, Modalidad::Declarante);
    return deduccion;
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
        c.mensaje = "Importe fuera de rango: la liquidación no cabe en el tipo de importe.";
    }
    return c;
}

}  // namespace simulador
