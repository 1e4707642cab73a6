#include "MensajesHoja.h"

namespace simulador {

namespace {

constexpr std::size_t kMaxAvisos = 20;
constexpr std::string_view kEmpiezaVacia = "\n\nSe empieza con una declaración vacía.";
constexpr std::string_view kUltimaDeOtra =
    "\n\nLa última declaración (DatosCa21.Ini) es de la otra sesión abierta del simulador y no se modifica: ";

std::string junta(std::string_view a, std::string_view b)
{
    std::string s(a);
    s += b;
    return s;
}

std::string entreComillas(std::string_view texto) { return junta(junta("«", texto), "»"); }

}  // namespace

std::string PreguntaAlSalir(bool segundaSesion, std::string_view cliente)
{
    std::string s = "¿Desea guardar la información introducida?";
    if (segundaSesion) {
        s += kUltimaDeOtra;
        s += cliente.empty() ? "se le pedirá un fichero de cliente."
                             : "se guarda en el fichero del cliente " + entreComillas(cliente) + ".";
    }
    return s;
}

std::string MensajeCarpetaRechazada(std::string_view motivo) { return junta(motivo, kEmpiezaVacia); }

std::string MensajeUltimaIlegible(std::string_view motivo)
{
    return junta(MensajeCarpetaRechazada(motivo), " El fichero no se modifica salvo que decida guardar al salir.");
}

std::string MensajeAvisos(std::string_view fichero, const std::vector<std::string> &avisos)
{
    if (avisos.empty())
        return {};
    std::string s = "El fichero " + entreComillas(fichero) +
                    " contiene datos que las pantallas no pueden producir; se han cargado así, revíselos:";
    for (std::size_t i = 0; i < avisos.size() && i < kMaxAvisos; ++i)
        s += "\n" + avisos[i];
    if (avisos.size() > kMaxAvisos)
        s += "\n… y " + std::to_string(avisos.size() - kMaxAvisos) + " avisos más.";
    return s;
}

std::string MensajeNoAbierto(std::string_view motivo) { return junta(motivo, "\n\nNo se ha cambiado nada en la hoja."); }

std::string MensajeCasillaNoGuardada(std::string_view motivo)
{
    return junta(motivo, "\n\nNo se ha guardado la declaración: corrija la casilla y vuelva a intentarlo.");
}

std::string MensajeNoEscrito(std::string_view motivo)
{
    return junta(motivo, "\n\nLos datos siguen en la hoja: puede intentarlo de nuevo o elegir otro fichero.");
}

std::string MensajeUltimaDeOtraSesion(std::string_view fichero)
{
    return entreComillas(fichero) + " es la última declaración de la otra sesión abierta del simulador: esta sesión "
                                    "no la sobrescribe. Elija otro fichero.";
}

std::string MensajeFalloAlSalir(std::string_view cliente, std::string_view errorCliente,
                                std::string_view errorUltima)
{
    std::string s;
    if (cliente.empty()) {
        s = junta(errorUltima, "\n");
    } else {
        s = "No se ha podido guardar todo al salir:\n- Fichero del cliente " + entreComillas(cliente) + ": ";
        s += errorCliente.empty() ? "guardado." : junta("NO guardado. ", errorCliente);
        s += "\n- Última declaración (DatosCa21.Ini): ";
        s += errorUltima.empty() ? "guardada." : junta("NO guardada. ", errorUltima);
        s += "\n";
    }
    return s + "\nEl programa sigue abierto para que no se pierdan los datos: puede guardarlos en otro fichero con "
               "«Guardar como…» (Ctrl+Mayús+S) o volver a salir y responder No para salir sin guardar.";
}

}  // namespace simulador
