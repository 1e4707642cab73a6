// CalculaDeducciones: the general deductions of the quota. Cultural-interest investment
// (75/76), donations (77/78, Ley 49/2002 arts. 19 and 20 with the 150-euro first tranche),
// business incentives (79/80), main residence under the transitional regime (81/82) and
// rent of the main residence (85/86), each split in a state and a regional half.
#include "Cifras2021.h"
#include "Comunidades.h"
#include "Etapas.h"
#include "Fechas.h"
#include "Liquidar.h"
#include "ListaColumnas.h"

#include <array>
#include <string>
#include <string_view>

using namespace std::string_view_literals;

namespace simulador {

namespace {

// Donation slots: code and amount, indices 1-89 for donations and 90-98 for cultural
// interest; 0 and 99 are never used.
template <class V>
struct Huecos {
    std::array<char, 100> codigo{};
    std::array<V, 100> importe{};

    void coloca(char c, int desde, const V &m)
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
    template <typename Pred, typename T>
    void recorta(V exceso, Pred elegible, T &&limite)
    {
        for (int i = 89; i >= 1 && exceso >= Euros(1); --i) {
            if (codigo[i] == '\0' || !elegible(codigo[i]))
                continue;
            if (importe[i] >= exceso) {
                importe[i] = Si(importe[i] - exceso, limite);
                exceso = V();
            } else {
                exceso -= importe[i];
                importe[i] = Si(Cero<V>("Donativo que queda fuera del límite"), limite);
            }
        }
    }
};

bool multianualOMecenazgo(char c) { return c == 'A' || c == 'B'; }

// "Elemento 4 de Deducciones de la Cuota (clase E, del declarante)".
std::string elemento(const DatosDeduccion &x, std::size_t i)
{
    return ElementoDeLista(Lista(TipoLista::DCuota).titulo, i, x.Clase, x.Titular);
}

}  // namespace

template <class V>
void CalculaDeduccionesT(const Declaracion &d, Modalidad modalidad, Cajas<V> &r, V &vivienda)
{
    Huecos<V> h;
    V ordinaria, discapacidad;
    std::optional<Fecha> ultimaVivienda;

    for (std::size_t i = 0; i < d.ListaDeducciones.size(); ++i) {
        const DatosDeduccion &x = d.ListaDeducciones[i];
        // Unlike the other lists, an empty owner only skips the item; so does one no
        // screen writes, read from a file.
        const ParteItem parte = ParteDeItem(x.Titular, modalidad);
        if (parte == ParteItem::NoEsTitular || parte == ParteItem::Nada)
            continue;
        const double m = parte == ParteItem::Mitad ? 0.5 : 1.0;
        const V importe = Redondea(Por(DatoLista<V>(x.Importe, [&] { return "Importe del " + elemento(x, i); }), m,
                                       Medida::Porcentaje, "50 %: deducción de ambos cónyuges, la mitad en la liquidación individual"));
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
            r[79] += Redondea(PorTipo(importe, x.PorcDeduccion, [&] {
                return "Porcentaje de deducción del " + elemento(x, i) + ": " + Porcentaje(x.PorcDeduccion.toDouble() / 100.0);
            }));
        }
    }

    Money total;
    for (int i = 1; i <= 99; ++i)
        total += ValorDe(h.importe[i]);
    if (total.positive()) {
        const V base = Nombra(r[34] + r[62], "Base liquidable general y del ahorro, base de los límites");
        r[75] = V();
        for (int i = 90; i <= 99; ++i)
            r[75] += h.importe[i];
        if (r[75].positive()) {
            r[75] = min(Nombra(V(r[75]), "Inversiones en bienes de interés cultural"),
                        Nombra(suelo0(Redondea(base * kLimiteBaseDeducciones)),
                               [] { return "Límite del " + Porcentaje(kLimiteBaseDeducciones.valor) + " de la base"; }));
            r[75] = Redondea(r[75] * kDeduccionBienesCulturales);
        }
        V S1, S2;
        for (int i = 1; i <= 89; ++i) {
            if (h.codigo[i] == '\0')
                continue;
            if (multianualOMecenazgo(h.codigo[i]))
                S1 += Redondea(h.importe[i]);
            S2 += Redondea(h.importe[i]);
        }
        const V L1 = suelo0(Redondea(base * kLimiteBaseMecenazgo));
        if (S1 > L1)
            h.recorta(Nombra(S1 - L1, [&] { return "Exceso sobre el " + Porcentaje(kLimiteBaseMecenazgo) + " de la base"; }),
                      multianualOMecenazgo, [&] {
                return "Los donativos a actividades prioritarias de mecenazgo (" + Importe(S1) + ") superan el " +
                       Porcentaje(kLimiteBaseMecenazgo) + " de la base (" + Importe(L1) + "): se recortan desde el último";
            });
        V S3;
        for (int i = 1; i <= 89; ++i)
            if (h.codigo[i] != '\0' && multianualOMecenazgo(h.codigo[i]))
                S3 += h.importe[i];
        const V L2 = suelo0(Redondea(base * kLimiteBaseDeducciones) - S3);
        if (S2 > L2)
            h.recorta(Nombra(S2 - L2, [&] { return "Exceso sobre el " + Porcentaje(kLimiteBaseDeducciones) + " de la base"; }),
                      [](char c) { return !multianualOMecenazgo(c); },
                      [&] {
                          return "Los donativos (" + Importe(S2) + ") superan lo que queda del " +
                                 Porcentaje(kLimiteBaseDeducciones) + " de la base (" + Importe(L2) +
                                 "): se recortan desde el último";
                      });

        // The first tranche is shared by all donations together.
        V tramo = kDonativosPrimerTramo;
        for (int i = 1; i <= 89; ++i) {
            const V a = h.importe[i];
            if (h.codigo[i] == '\0' || !a.positive())
                continue;
            const Coeficiente *primero = nullptr, *resto = nullptr;
            switch (h.codigo[i]) {
            case 'A': primero = &kMecenazgoPrimerTramo; resto = &kMecenazgoRestoPlurianual; break;
            case 'B': primero = &kMecenazgoPrimerTramo; resto = &kMecenazgoResto; break;
            case 'C': primero = &kDonativoPrimerTramo; resto = &kDonativoRestoPlurianual; break;
            case 'D': primero = &kDonativoPrimerTramo; resto = &kDonativoResto; break;
            default: continue;  // "F" gets no deduction and leaves the tranche alone
            }
            if (a > tramo)
                r[77] += Nombra(Redondea(Nombra(a - tramo, "Donativo por encima del primer tramo") * *resto),
                                "Deducción por la parte del donativo por encima del primer tramo") +
                         Nombra(Redondea(Nombra(tramo, "Primer tramo que queda") * *primero),
                                "Deducción por la parte del donativo dentro del primer tramo");
            else
                r[77] += Nombra(Redondea(a * *primero), "Deducción por el donativo, dentro del primer tramo");
            tramo = suelo0(tramo - a);
        }
        r[77] = Redondea(Por(Nombra(V(r[77]), "Deducción total por donativos"), 0.5, Medida::Porcentaje,
                             "50 %: la mitad es la parte estatal"));
        r[78] = r[77];
        r[75] = Redondea(Por(Nombra(V(r[75]), "Deducción total por inversiones en bienes de interés cultural"), 0.5,
                             Medida::Porcentaje, "50 %: la mitad es la parte estatal"));
        r[76] = r[75];
    }

    const V incentivos = Nombra(V(r[79]), "Deducción total por incentivos a la inversión empresarial");
    r[79] = Redondea(Por(incentivos, 0.5, Medida::Porcentaje, "50 %: la mitad es la parte estatal"));
    r[80] = incentivos - r[79];

    // Rent of the main residence: 10.05 % of up to 9040, the limit falling linearly between
    // bases of 17707.2 and 24107.2. The slope 1.4125 (9040 / 6400) takes the limit to 0
    // exactly at 24107.2, so the deduction never turns negative.
    const V baseAlquiler = Nombra(suelo0(r[56] - r[57]) + suelo0(V(r[58])) + suelo0(V(r[60])) + r[28],
                                  "Base imponible para la deducción por alquiler");
    if (baseAlquiler <= kAlquilerBaseDesde)
        r[85] = Si(Nombra(min(Nombra(V(r[85]), "Cantidades pagadas por el alquiler"), kAlquilerBaseMaxima),
                          "Cantidades pagadas con derecho a deducción"),
                   [&] {
            return "La base imponible (" + Importe(baseAlquiler) + ") no supera " + Cantidad(kAlquilerBaseDesde) +
                   ": base máxima de " + Cantidad(kAlquilerBaseMaxima);
        });
    else if (baseAlquiler > kAlquilerBaseHasta)
        r[85] = Si(Cero<V>("Sin deducción por alquiler"), [&] {
            return "La base imponible (" + Importe(baseAlquiler) + ") supera " + Cantidad(kAlquilerBaseHasta);
        });
    else
        r[85] = Si(Nombra(min(Nombra(V(r[85]), "Cantidades pagadas por el alquiler"),
                       Nombra(suelo0(kAlquilerBaseMaxima -
                                     Nombra(Redondea(Nombra(baseAlquiler - kAlquilerBaseDesde,
                                                            [&] { return "Exceso de la base sobre " + Cantidad(kAlquilerBaseDesde); }) *
                                                     kAlquilerCoeficiente),
                                            "Disminución de la base máxima por el exceso")),
                              "Base máxima disminuida")),
                          "Cantidades pagadas con derecho a deducción"),
                   [&] {
                       return "La base imponible (" + Importe(baseAlquiler) +
                              ") está entre " + Cantidad(kAlquilerBaseDesde) + " y " + Cantidad(kAlquilerBaseHasta) +
                              ": la base máxima disminuye";
                   });
    r[85] = Entre(Nombra(Redondea(r[85] * kDeduccionAlquiler), "Deducción total por alquiler de la vivienda habitual"), 2.0,
                  "2: la mitad es la parte estatal");  // not rounded again after the halving
    r[86] = r[85];

    // Main residence. Catalunya's increased rate for the regional half goes back to the
    // ordinary one for homes bought after July of a year after 2010.
    const Coeficiente *tipoOrdinario = &kDeduccionVivienda;
    if (ComunidadDe(d.Autonomia) == Comunidad::Catalunya && d.TramoVivienda == 1)
        tipoOrdinario = &kDeduccionViviendaCatalunya;
    if (tipoOrdinario != &kDeduccionVivienda && ultimaVivienda && ultimaVivienda->ano > 2010 &&
        ultimaVivienda->mes > 7)
        tipoOrdinario = &kDeduccionVivienda;
    if (ordinaria.positive()) {
        const V a = Nombra(min(Nombra(ordinaria, "Inversión en vivienda habitual"), kViviendaBaseMaxima),
                           "Inversión en vivienda habitual con derecho a deducción, hasta la base máxima");
        vivienda += a;
        r[81] += Nombra(Redondea(a * kDeduccionVivienda), "Deducción por la inversión en vivienda habitual");
        r[82] += Nombra(Redondea(a * *tipoOrdinario), "Deducción por la inversión en vivienda habitual");
    }
    if (discapacidad.positive()) {
        const V a = Nombra(min(Nombra(discapacidad, "Obras de adecuación de la vivienda por discapacidad"),
                               kViviendaDiscapacidadBaseMaxima),
                           "Obras de adecuación con derecho a deducción, hasta la base máxima");
        vivienda += a;
        r[81] += Nombra(Redondea(a * kDeduccionViviendaDiscapacidad), "Deducción por obras de adecuación por discapacidad");
        r[82] += Nombra(Redondea(a * kDeduccionViviendaDiscapacidad), "Deducción por obras de adecuación por discapacidad");
    }
}

template void CalculaDeduccionesT<Money>(const Declaracion &, Modalidad, Resultado &, Money &);
template void CalculaDeduccionesT<Traza>(const Declaracion &, Modalidad, CajasTraza &, Traza &);

void CalculaDeducciones(const Declaracion &d, Modalidad modalidad, Resultado &r, Money &vivienda)
{
    CalculaDeduccionesT<Money>(d, modalidad, r, vivienda);
}

}  // namespace simulador
