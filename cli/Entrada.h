// Where irpf2021 reads a declaration from: a file, or the standard input when it is named "-".
#pragma once

#include "FicheroDeclaracion.h"

#include <string>

namespace irpf2021 {

// The declaration of `ruta`, read as the desktop program loads a file; "-" reads the whole
// standard input, as bytes, through the same reader. Throws simulador::ErrorFichero.
simulador::DeclaracionLeida LeeDeclaracionDe(const std::string &ruta);

}  // namespace irpf2021
