// The amount parser on any text, in the sheet's form and the file's. It never crashes or
// wraps: a text is an amount, not one, or out of range. An amount it accepts comes back
// unchanged through the file's form, and to the cent through the sheet's form.
#include "Comprueba.h"
#include "Money.h"
#include "TextoImporte.h"

#include <cstdint>

using namespace simulador;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *datos, std::size_t tamano)
{
    if (tamano == 0)
        return 0;
    // The first byte chooses the form; the rest is the text.
    const EstiloImporte estilo = datos[0] & 1 ? EstiloImporte::Fichero : EstiloImporte::Pantalla;
    const std::string texto(reinterpret_cast<const char *>(datos) + 1, tamano - 1);
    const ImporteLeido l = LeeImporte(texto, estilo);
    if (!l.ok()) {
        COMPRUEBA(l.valor.isZero(), "a refused text left a value");
        return 0;
    }
    const Money v = l.valor;
    const std::string fichero = FormatoFichero(v);
    const ImporteLeido f = LeeImporte(fichero, EstiloImporte::Fichero);
    COMPRUEBA(f.ok() && f.valor == v, "«%s» → «%s» does not read back", texto.c_str(), fichero.c_str());

    // The sheet shows cents; an amount whose cents do not fit the money type cannot be shown.
    Money centimos;
    try {
        centimos = Redondea(v);
    } catch (const ErrorImporte &) {
        return 0;
    }
    const std::string pantalla = FormatoImporte(centimos);
    const ImporteLeido p = LeeImporte(pantalla, EstiloImporte::Pantalla);
    COMPRUEBA(p.ok() && p.valor == centimos, "«%s» → «%s» does not read back", texto.c_str(), pantalla.c_str());
    COMPRUEBA(FormatoResultado(centimos).empty() == centimos.isZero(), "«%s»: zero shown or non-zero hidden",
              texto.c_str());
    return 0;
}
