// The whole path of a file into a liquidation: load, Recalcular in the three modes, and
// the command line's three ways of writing the result. A file may be refused and a
// liquidation may fail, each with a message, but nothing crashes or lets an exception
// out, and a failed liquidation hands back no half-filled boxes.
#include "Comprueba.h"
#include "FicheroDeclaracion.h"
#include "Liquidar.h"
#include "Salida.h"

#include <cstdint>

using namespace simulador;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *datos, std::size_t tamano)
{
    if (tamano > kTamanoMaximoFichero)
        return 0;
    DeclaracionLeida leida;
    try {
        leida = LeeDeclaracion(std::string_view(reinterpret_cast<const char *>(datos), tamano));
    } catch (const ErrorFichero &) {
        return 0;
    }
    std::vector<Liquidacion> liquidaciones;
    for (Modalidad modo : {Modalidad::Conjunta, Modalidad::Declarante, Modalidad::Conyuge}) {
        const Calculo c = Recalcular(leida.declaracion, modo);
        if (!c.ok) {
            COMPRUEBA(!c.mensaje.empty(), "a failure without a message");
            for (const Money &m : c.resultado)
                COMPRUEBA(m.isZero(), "a failed liquidation left boxes filled");
            continue;
        }
        liquidaciones.push_back({modo, c.resultado});
    }
    std::string salida;
    irpf2021::EscribeTexto(salida, "f.ini", leida.declaracion.Nombre, liquidaciones);
    irpf2021::EscribeJson(salida, "f.ini", liquidaciones);
    irpf2021::EscribeCsv(salida, liquidaciones);
    return 0;
}
