// The saved declaration's layout, described once: one table per section, in the order the
// sections are written, with the record field each "|" field of a value goes to and its
// kind. The same tables drive the reader, the writer and the check of the sums that loading
// rebuilds. The layout itself is told in FicheroDeclaracion.h.
#pragma once

#include "Declaracion.h"
#include "LexicoIni.h"

#include <string>
#include <string_view>
#include <vector>

namespace simulador {

// The section names, in the order they are written: the sections AnalizaIni files entries
// under, so that its apartados follow the tables.
const std::vector<std::string_view> &SeccionesFichero();

// The declaration in an analysed file, with a warning for each value the screens could
// never have produced; entry 0 of Rentas is rebuilt. Throws ErrorFichero on an amount or a
// whole number that cannot be taken, and on sums of the two persons beyond the money type.
void LeeSecciones(const FicheroIni &f, Declaracion &d, std::vector<std::string> &avisos);

// Every section of `d`, Windows-1252, lines ended by CR LF.
std::string EscribeSecciones(const Declaracion &d);

}  // namespace simulador
