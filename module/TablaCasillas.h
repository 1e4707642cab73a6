// The box table of the sheet: what each of the 109 numbered boxes is. The box number is
// the key shared by the sheet, the engine's result array, the saved file and the printout.
#pragma once

#include <array>
#include <string_view>

namespace simulador {

enum class TipoCasilla { Entrada, Resultado };        // white input box / light-yellow result box
enum class Columna { Unica, Base, Estatal, Autonomica };  // where a row has several boxes

struct CasillaDef {
    int numero;
    TipoCasilla tipo;
    int seccion;               // 1-16, top to bottom of the sheet
    std::string_view concepto; // caption of the row ("" for the boxes nobody sees)
    Columna columna;
    bool visible;              // false: exists on the sheet but is never shown
    bool enHoja;               // false: lies beyond the sheet's right edge
};

struct SeccionDef {
    int numero;                   // 1-16
    std::string_view cabecera;    // header caption, exactly as shown
};

const std::array<CasillaDef, 109> &TablaCasillas();
const std::array<SeccionDef, 16> &TablaSecciones();

inline bool EsEntrada(int casilla) { return TablaCasillas()[casilla].tipo == TipoCasilla::Entrada; }

// The input boxes in their tab order, then the editable result boxes that follow them.
inline constexpr std::array<int, 11> kOrdenEntradas = {9, 21, 22, 96, 32, 92, 26, 59, 87, 95, 84};
inline constexpr std::array<int, 9> kOrdenTrasEntradas = {91, 94, 101, 107, 93, 12, 13, 14, 25};
// Boxes the user may type into on the sheet; every other box passes the focus on.
inline constexpr std::array<int, 19> kCasillasEditables = {9,  12, 13, 14, 21, 22, 25, 26, 32, 59,
                                                           84, 87, 91, 92, 93, 94, 95, 96, 101};

}  // namespace simulador
