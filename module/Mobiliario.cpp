// CalculaMobiliario: movable-capital items into the general part (boxes 12-14), the
// savings part (58 interest and other, 60 dividends) and the withholdings (102).
#include "Etapas.h"
#include "Liquidar.h"
#include "ListaColumnas.h"

#include <string>
#include <string_view>

using namespace std::string_view_literals;

namespace simulador {

namespace {

// "Elemento 3 de Capital Mobiliario (clase D, de ambos cónyuges)": an item as its list shows it.
std::string elemento(const DatosMobiliario &m, std::size_t i)
{
    return ElementoDeLista(Lista(TipoLista::Mobiliario).titulo, i, m.Clase, m.Titular);
}

}  // namespace

template <class V>
void CalculaMobiliarioT(const Declaracion &d, Modalidad modalidad, Cajas<V> &r)
{
    for (std::size_t i = 0; i < d.ListaMobiliario.size(); ++i) {
        const DatosMobiliario &m = d.ListaMobiliario[i];
        // An empty owner ends the list; so does one no screen writes, read from a file.
        const ParteItem cuota = ParteDeItem(m.Titular, modalidad);
        if (cuota == ParteItem::NoEsTitular)
            break;
        if (cuota == ParteItem::Nada)
            continue;
        auto campo = [&](Money valor, const char *nombre) {
            return DatoLista<V>(valor, [&] { return std::string(nombre) + " del " + elemento(m, i); });
        };
        auto parte = [&](const V &importe) { return ParteDelImporte(importe, cuota); };
        r[102] += parte(campo(m.Retencion, "Retención"));
        const std::string &c = m.Clase;
        if (c == "I"sv || c == "D"sv || c == "T"sv || c == "O"sv) {
            const V neto = parte(Nombra(campo(m.Ingreso, "Ingreso") - campo(m.Gasto, "Gasto"),
                                      [&] { return "Rendimiento neto del " + elemento(m, i); }));
            r[c == "D"sv ? 60 : 58] += neto;
        } else if (c == "A"sv || c == "P"sv || c == "C"sv) {
            r[12] += parte(campo(m.Ingreso, "Ingreso"));
            r[14] += parte(campo(m.Gasto, "Gasto"));
            r[13] += parte(campo(m.Reduccion, "Reducción"));
        }
    }
}

template void CalculaMobiliarioT<Money>(const Declaracion &, Modalidad, Resultado &);
template void CalculaMobiliarioT<Traza>(const Declaracion &, Modalidad, CajasTraza &);

void CalculaMobiliario(const Declaracion &d, Modalidad modalidad, Resultado &r)
{
    CalculaMobiliarioT<Money>(d, modalidad, r);
}

}  // namespace simulador
