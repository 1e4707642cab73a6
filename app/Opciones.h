// simulador's command line, read before any window exists: --help and --version answer on
// the terminal even where no display can be opened, and a mistyped option never reaches Qt.
// Standard C++ only.
#pragma once

#include <string>

struct Opciones {
    enum class Accion { Abrir, Ayuda, Version, Error };
    Accion accion = Accion::Abrir;
    std::string fichero;  // the client's file to open at start; empty: offer the last declaration
    std::string error;    // with Accion::Error: what was wrong, one line
};

Opciones LeeOpciones(int argc, const char *const argv[]);

// The texts printed for --help and --version, each ending in a new line.
std::string TextoAyuda();
std::string TextoVersion();
