// Texts the program shows in more than one place: the caption that heads the window, the
// printout, the about box and the command line's sheet.
#pragma once

#include <string_view>

namespace simulador {

inline constexpr std::string_view kTituloPrograma = "Kalvio Profesionales - Simulación IRPF 2021";

}  // namespace simulador
