// CalculaMobiliario: movable-capital items into the general part (boxes 12-14), the
// savings part (58 interest and other, 60 dividends) and the withholdings (102).
#include "Liquidar.h"

namespace simulador {

void CalculaMobiliario(const Declaracion &d, std::int16_t modalidad, Resultado &r)
{
    for (const DatosMobiliario &m : d.ListaMobiliario) {
        if (m.Titular.empty())
            break;  // an empty owner ends the list
        // An item held by both counts in full jointly and for half in each individual run.
        double divisor = m.Titular == "A" ? 2.0 : 1.0;
        if (modalidad == Conjunta)
            divisor = 1.0;
        else if ((modalidad == Declarante && m.Titular == "C") || (modalidad == Conyuge && m.Titular == "D"))
            continue;
        r[102] += Redondea(m.Retencion / divisor);
        const std::string &c = m.Clase;
        if (c == "I" || c == "D" || c == "T" || c == "O") {
            const Money V = Redondea((m.Ingreso - m.Gasto) / divisor);
            r[c == "D" ? 60 : 58] += V;
        } else if (c == "A" || c == "P" || c == "C") {
            r[12] += Redondea(m.Ingreso / divisor);
            r[14] += Redondea(m.Gasto / divisor);
            r[13] += Redondea(m.Reduccion / divisor);
        }
    }
}

}  // namespace simulador
