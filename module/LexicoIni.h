// The initialisation-file layout read in one pass: a UTF-8 text cut into lines, every
// "key=value" kept as a pair of string_views into that text and filed under its section.
// Nothing is copied until a value is taken.
#pragma once

#include "ErrorFichero.h"

#include <string>
#include <string_view>
#include <vector>

namespace simulador {

// What the original reader's 250-byte buffer held: longer values are cut to this many
// characters.
inline constexpr std::size_t kLargoMaximoValor = 249;

struct EntradaIni {
    std::string_view clave, valor;  // both trimmed
    int linea;                      // 1-based
};

struct ApartadoIni {
    std::vector<EntradaIni> entradas;
    // porNumero[n]: index in entradas of the first key "n", -1 when absent.
    std::vector<int> porNumero;

    // The first entry of a key, its name compared without regard to ASCII case.
    const EntradaIni *busca(std::string_view clave) const;
    // The first entry of the key "n" (plain digits, no sign, no leading zero), within the
    // slots the index was made with.
    const EntradaIni *busca(std::size_t n) const;
};

struct FicheroIni {
    std::vector<ApartadoIni> apartados;  // one per section name asked for, in that order
    bool conSeccion = false;             // whether any of those sections was seen
};

// Files the entries of `texto` under the sections named in `secciones` (names compared
// without regard to ASCII case, blanks inside the brackets ignored). Blank lines and lines
// starting with ";" are skipped; entries before the first header and those of other
// sections are checked and dropped. Each section's index by number holds at least
// `numerosMinimos` slots, and as many as it has entries: a list read stops at the first
// missing key, so a higher key can never be reached. Throws ErrorFichero on a line that is
// neither a header nor "key=value" with a key.
FicheroIni AnalizaIni(std::string_view texto, const std::vector<std::string_view> &secciones,
                      std::size_t numerosMinimos);

// A line for a message: its first 80 characters, and "…" when there was more.
std::string MuestraLinea(std::string_view linea);

}  // namespace simulador
