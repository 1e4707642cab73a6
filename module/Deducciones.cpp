// CalculaDeducciones: the general deductions of the quota. Cultural-interest investment
// (75/76), donations (77/78, Ley 49/2002 arts. 19 and 20 with the 150-euro first tranche),
// business incentives (79/80), main residence under the transitional regime (81/82) and
// rent of the main residence (85/86), each split in a state and a regional half.
#include "Cifras2021.h"
#include "Comunidades.h"
#include "Fechas.h"
#include "Liquidar.h"

#include <array>
#include <string_view>

using namespace std::string_view_literals;

namespace simulador {

namespace {

// Donation slots: code and amount, indices 1-89 for donations and 90-98 for cultural
// interest; 0 and 99 are never used.
struct Huecos {
    std::array<char, 100> codigo{};
    std::array<Money, 100> importe{};

    void coloca(char c, int desde, Money m)
    {
        for (int i = desde; i < 99; ++i) {
            if (codigo[i] == '\0') {
                codigo[i] = c;
                importe[i] = m;
                return;
            }
        }
        // No free slot up to 98: the item is dropped.
    }

    // Cuts `exceso` from the slots whose code passes `elegible`, from slot 89 down,
    // walking once and stopping as soon as less than one euro is left to cut.
    template <typename Pred>
    void recorta(Money exceso, Pred elegible)
    {
        for (int i = 89; i >= 1 && exceso >= Euros(1); --i) {
            if (codigo[i] == '\0' || !elegible(codigo[i]))
                continue;
            if (importe[i] >= exceso) {
                importe[i] -= exceso;
                exceso = Money();
            } else {
                exceso -= importe[i];
                importe[i] = Money();
            }
        }
    }
};

bool multianualOMecenazgo(char c) { return c == 'A' || c == 'B'; }

}  // namespace

void CalculaDeducciones(const Declaracion &d, Modalidad modalidad, Resultado &r, Money &vivienda)
{
    Huecos h;
    Money ordinaria, discapacidad;
    std::optional<Fecha> ultimaVivienda;

    for (const DatosDeduccion &x : d.ListaDeducciones) {
        // Unlike the other lists, an empty owner only skips the item; so does one no
        // screen writes, read from a file.
        if (x.Titular != "D"sv && x.Titular != "C"sv && x.Titular != "A"sv)
            continue;
        double m = x.Titular == "A"sv ? 0.5 : 1.0;
        if (modalidad == Modalidad::Conjunta)
            m = 1.0;
        else if ((modalidad == Modalidad::Declarante && x.Titular == "C"sv) || (modalidad == Modalidad::Conyuge && x.Titular == "D"sv))
            continue;
        const Money importe = Redondea(x.Importe * m);
        const std::string &c = x.Clase;
        const bool plurianual = x.PorcDeduccion.positive();
        if (c == "D"sv)
            h.coloca(plurianual ? 'A' : 'B', plurianual ? 1 : 10, importe);
        else if (c == "E"sv)
            h.coloca(plurianual ? 'C' : 'D', plurianual ? 30 : 40, importe);
        else if (c == "F"sv)
            h.coloca('F', 60, importe);
        else if (c == "A"sv)
            h.coloca('Z', 90, importe);
        else if (c == "B"sv) {
            // Homes bought in 2021 have no deduction (transitional regime for purchases
            // before 2013). A date the screens could not have produced counts as empty.
            const std::optional<Fecha> f = LeeFecha(x.FechaAdquisicion);
            if (f && importe.positive()) {
                if (f->ano == kEjercicio)
                    continue;
                ultimaVivienda = f;
            }
            (x.PorcMinusvalia.positive() ? discapacidad : ordinaria) += importe;
        } else if (c == "C"sv) {
            r[85] += importe;
        } else if (c == "G"sv) {
            r[79] += Redondea(importe.times(x.PorcDeduccion) / 100.0);
        }
    }

    Money total;
    for (int i = 1; i <= 99; ++i)
        total += h.importe[i];
    if (total.positive()) {
        const Money base = r[34] + r[62];
        r[75] = Money();
        for (int i = 90; i <= 99; ++i)
            r[75] += h.importe[i];
        if (r[75].positive()) {
            r[75] = min(r[75], max(Redondea(base * kLimiteBaseDeducciones), Money()));
            r[75] = Redondea(r[75] * kDeduccionBienesCulturales);
        }
        Money S1, S2;
        for (int i = 1; i <= 89; ++i) {
            if (h.codigo[i] == '\0')
                continue;
            if (multianualOMecenazgo(h.codigo[i]))
                S1 += Redondea(h.importe[i]);
            S2 += Redondea(h.importe[i]);
        }
        const Money L1 = max(Redondea(base * kLimiteBaseMecenazgo), Money());
        if (S1 > L1)
            h.recorta(S1 - L1, multianualOMecenazgo);
        Money S3;
        for (int i = 1; i <= 89; ++i)
            if (h.codigo[i] != '\0' && multianualOMecenazgo(h.codigo[i]))
                S3 += h.importe[i];
        const Money L2 = max(Redondea(base * kLimiteBaseDeducciones) - S3, Money());
        if (S2 > L2)
            h.recorta(S2 - L2, [](char c) { return !multianualOMecenazgo(c); });

        // The first tranche is shared by all donations together.
        Money tramo = kDonativosPrimerTramo;
        for (int i = 1; i <= 89; ++i) {
            const Money a = h.importe[i];
            if (h.codigo[i] == '\0' || !a.positive())
                continue;
            double primero = 0.0, resto = 0.0;
            switch (h.codigo[i]) {
            case 'A': primero = kMecenazgoPrimerTramo; resto = kMecenazgoRestoPlurianual; break;
            case 'B': primero = kMecenazgoPrimerTramo; resto = kMecenazgoResto; break;
            case 'C': primero = kDonativoPrimerTramo; resto = kDonativoRestoPlurianual; break;
            case 'D': primero = kDonativoPrimerTramo; resto = kDonativoResto; break;
            default: continue;  // "F" gets no deduction and leaves the tranche alone
            }
            if (a > tramo)
                r[77] += Redondea((a - tramo) * resto) + Redondea(tramo * primero);
            else
                r[77] += Redondea(a * primero);
            tramo = max(tramo - a, Money());
        }
        r[77] = Redondea(r[77] * 0.5);
        r[78] = r[77];
        r[75] = Redondea(r[75] * 0.5);
        r[76] = r[75];
    }

    const Money incentivos = r[79];
    r[79] = Redondea(incentivos * 0.5);
    r[80] = incentivos - r[79];

    // Rent of the main residence: 10.05 % of up to 9040, the limit falling linearly between
    // bases of 17707.2 and 24107.2. The slope 1.4125 (9040 / 6400) takes the limit to 0
    // exactly at 24107.2, so the deduction never turns negative.
    const Money baseAlquiler = max(r[56] - r[57], Money()) + max(r[58], Money()) + max(r[60], Money()) + r[28];
    if (baseAlquiler <= kAlquilerBaseDesde)
        r[85] = min(r[85], kAlquilerBaseMaxima);
    else if (baseAlquiler > kAlquilerBaseHasta)
        r[85] = Money();
    else
        r[85] = min(r[85], max(kAlquilerBaseMaxima - Redondea((baseAlquiler - kAlquilerBaseDesde) * kAlquilerCoeficiente),
                               Money()));
    r[85] = Redondea(r[85] * kDeduccionAlquiler) / 2.0;  // not rounded again after the halving
    r[86] = r[85];

    // Main residence. Catalunya's increased rate for the regional half goes back to the
    // ordinary one for homes bought after July of a year after 2010.
    double tipoOrdinario = kDeduccionVivienda;
    if (ComunidadDe(d.Autonomia) == Comunidad::Catalunya && d.TramoVivienda == 1)
        tipoOrdinario = kDeduccionViviendaCatalunya;
    if (tipoOrdinario != kDeduccionVivienda && ultimaVivienda && ultimaVivienda->ano > 2010 &&
        ultimaVivienda->mes > 7)
        tipoOrdinario = kDeduccionVivienda;
    if (ordinaria.positive()) {
        const Money a = min(ordinaria, kViviendaBaseMaxima);
        vivienda += a;
        r[81] += Redondea(a * kDeduccionVivienda);
        r[82] += Redondea(a * tipoOrdinario);
    }
    if (discapacidad.positive()) {
        const Money a = min(discapacidad, kViviendaDiscapacidadBaseMaxima);
        vivienda += a;
        r[81] += Redondea(a * kDeduccionViviendaDiscapacidad);
        r[82] += Redondea(a * kDeduccionViviendaDiscapacidad);
    }
}

}  // namespace simulador
