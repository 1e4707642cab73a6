// Liquidar: the sixteen stages of the 2021 liquidation (Ley 35/2006 del IRPF as in force
// for 2021), one run per filing mode. Each stage reads what the earlier ones wrote into
// the result array, so the order below is part of the rules.
//
// Stages 3 to 11 live in EtapasRendimientos.cpp and EtapasCuotas.cpp. The stages are
// templates over the value type (Etapas.h): Money for the sheet, Traza for
// the explanation of a box. The words they carry (Nombra, Si, Cero) cost nothing in the
// Money run: the texts are functions only a traced run calls.
#include "Liquidar.h"

#include "Cifras2021.h"
#include "Comunidades.h"
#include "EtapasLiquidacion.h"

#include <string_view>

using namespace std::string_view_literals;

namespace simulador {

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

    const liquidacion::Personas p = liquidacion::personasDe(modalidad);
    liquidacion::RendimientosT<V>(d, modalidad, p, r);
    liquidacion::MinimosYCuotasT<V>(d, modalidad, escalas, r);

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
            return std::string(miembro == 1 ? "El cónyuge, " : "El declarante, ") + liquidacion::conDiscapacidad(m.Minusvalia) +
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
        if (!deduccion.nodo()) {
            // Why neither member gives the deduction, member by member, as a client asks it.
            auto motivo = [&](int miembro, Modalidad modoPrevio) {
                const MiembroFam &m = d.Miembros[miembro];
                std::string t = miembro == 1 ? "el cónyuge " : "el declarante ";
                if (m.Minusvalia < 33)
                    return t + "no tiene una discapacidad de al menos el 33 %";
                if (m.Abono == "Sí"sv)
                    return t + "recibe la deducción por abono anticipado";
                if (modalidad == modoPrevio)
                    return t + "es quien presenta esta liquidación";
                return t + "no da derecho a ella";
            };
            deduccion = Cero<V>("Sin deducción: " + motivo(1, Modalidad::Conyuge) + "; " + motivo(0, Modalidad::Declarante));
        }
    }
    return deduccion;
}

template void LiquidarT<Money>(const Declaracion &, Modalidad, Resultado &, const Money &);
template void LiquidarT<Traza>(const Declaracion &, Modalidad, CajasTraza &, const Traza &);
template Money DeduccionDiscapacitadosT<Money>(const Declaracion &, Modalidad);
template Traza DeduccionDiscapacitadosT<Traza>(const Declaracion &, Modalidad);

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
