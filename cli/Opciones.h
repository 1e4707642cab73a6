// irpf2021's command line read into what to do: which files, which modes, which output.
#pragma once

#include "Comparativa.h"
#include "Modalidad.h"

#include <string>
#include <vector>

namespace irpf2021 {

enum class Formato { Texto, Json, Csv };

// What a run does: the help or the version answer at once; the rest read files.
enum class Accion { Ayuda, Version, Liquidar, Comparar, Explicar, Pdf };

struct Opciones {
    Accion accion = Accion::Liquidar;
    std::vector<simulador::Modalidad> modos = {simulador::Modalidad::Conjunta};
    Formato formato = Formato::Texto;
    std::vector<std::string> ficheros;  // "-" is the standard input
    simulador::Reparto reparto;         // --comparar: who takes each typed box
    std::vector<int> casillas;          // --explicar: the boxes, in the order asked
    std::string pdf;                    // --pdf: the file to write
};

// The command line read, or why it cannot be: `error` is one Spanish phrase without the
// program's name ("modo desconocido: «separada»"), empty when `opciones` holds.
struct LecturaOpciones {
    Opciones opciones;
    std::string error;
};

LecturaOpciones LeeOpciones(int argc, const char *const *argv);

// "73,74" into box numbers, each 0-108; false, and nothing taken, for anything else.
bool LeeCasillas(const std::string &texto, std::vector<int> &casillas);

// The standard input's name in the command line and in every output.
inline constexpr const char *kEntradaEstandar = "-";

}  // namespace irpf2021
