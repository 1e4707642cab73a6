// What the main window says: its status line, its questions and its messages about the
// declaration's files, each text written once. Texts quoted from files or from the module
// (a file's fault, a box that does not read) come in as arguments and are never altered.
#pragma once

#include "ListaColumnas.h"

#include <string>
#include <string_view>
#include <vector>

namespace simulador {

// The status line: the maker's name, then what the keys do (euros) or why nothing can be
// typed (pesetas).
inline constexpr std::string_view kRotuloEstado = "Kalvio Profesionales";
inline constexpr std::string_view kEstadoEuros = "F4 - Calculadora";
inline constexpr std::string_view kEstadoPesetas = "Los importes en Pesetas no se podrán modificar.";

inline constexpr std::string_view kAvisoResolucion =
    "Para trabajar con este programa la resolución de la pantalla de su monitor ha de ser de 800x600 "
    "píxeles. Utilice la opción de 'Configuración' del apartado 'Propiedades de la Pantalla'.";

// Another session owns the last declaration: this one never loads nor writes it (it starts
// empty, or with the client's file named on the command line).
inline constexpr std::string_view kAvisoSegundaSesion =
    "Hay otra sesión del simulador abierta con la última declaración (DatosCa21.Ini), que esa sesión "
    "guardará al salir.\n\nEsta sesión no carga ni sobrescribe esa "
    "declaración. Para conservar lo que introduzca aquí, guárdelo en un fichero de cliente («Guardar "
    "como…», Ctrl+Mayús+S); al salir se le ofrecerá hacerlo.";

struct Pregunta {
    std::string_view titulo;
    std::string_view texto;
};
inline constexpr Pregunta kPreguntaCargar = {kTituloInformacion, "¿Desea cargar los datos de la última declaración?"};
inline constexpr Pregunta kPreguntaInicializar = {kTituloInformacion, "¿Inicializar el contenido de los campos?"};
inline constexpr Pregunta kPreguntaDescartar = {
    "Abrir", "La información introducida no se ha guardado en ningún fichero y se perderá. ¿Desea continuar?"};
inline constexpr std::string_view kTituloGrabarAlSalir = "Grabar al Salir";
// The question at exit after a change. A second session adds where its work will go:
// `cliente` is the open client's file name, empty when none is open.
std::string PreguntaAlSalir(bool segundaSesion, std::string_view cliente);

// At start: the last declaration's folder is not the user's private one (`motivo`, the
// module's words), or its file is damaged.
std::string MensajeCarpetaRechazada(std::string_view motivo);
std::string MensajeUltimaIlegible(std::string_view motivo);

// A file loaded as it is, with values no screen can produce: one line per warning, at most
// 20 of them (more would not fit in a message box on the screen). Empty without warnings.
std::string MensajeAvisos(std::string_view fichero, const std::vector<std::string> &avisos);

// A client's file that could not be opened or liquidated: the sheet is as it was.
std::string MensajeNoAbierto(std::string_view motivo);
// A save refused because a box holds a text that is no amount (`motivo` names the box).
std::string MensajeCasillaNoGuardada(std::string_view motivo);
// A client's file that could not be written.
std::string MensajeNoEscrito(std::string_view motivo);
// A second session asked to save over the other session's last declaration.
std::string MensajeUltimaDeOtraSesion(std::string_view fichero);

// What a save at exit could not write. `cliente` is the client's file name when one was to
// be written (empty otherwise); each error is empty when that file was written.
std::string MensajeFalloAlSalir(std::string_view cliente, std::string_view errorCliente,
                                std::string_view errorUltima);

}  // namespace simulador
