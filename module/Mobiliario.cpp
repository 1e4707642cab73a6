// CalculaMobiliario: movable-capital items into the general part (boxes 12-14), the
// savings part (58 interest and other, 60 dividends) and the withholdings (102).
#include "Liquidar.h"
#include <string_view>

using namespace std::string_view_literals;

namespace simulador {

void CalculaMobiliario(const Declaracion &d, Modalidad modalidad, Resultado &r)
{
    for (const DatosMobiliario &m : d.ListaMobiliario) {
        // An empty owner ends the list; so does one no screen writes, read from a file.
        if (m.Titular != "D"sv && m.Titular != "C"sv && m.Titular != "A"sv)
            break;
        // An item held by both counts in full jointly and for half in each individual run.
        double divisor = m.Titular == "A"sv ? 2.0 : 1.0;
        if (modalidad == Modalidad::Conjunta)
            divisor = 1.0;
        else if ((modalidad == Modalidad::Declarante && m.Titular == "C"sv) || (modalidad == Modalidad::Conyuge && m.Titular == "D"sv))
            continue;
        r[102] += Redondea(m.Retencion / divisor);
        const std::string &c = m.Clase;
        if (c == "I"sv || c == "D"sv || c == "T"sv || c == "O"sv) {
            const Money V = Redondea((m.Ingreso - m.Gasto) / divisor);
            r[c == "D"sv ? 60 : 58] += V;
        } else if (c == "A"sv || c == "P"sv || c == "C"sv) {
            r[12] += Redondea(m.Ingreso / divisor);
            r[14] += Redondea(m.Gasto / divisor);
            r[13] += Redondea(m.Reduccion / divisor);
        }
    }
}

}  // namespace simulador
