// How the main sheet is driven, as far as no screen is needed to decide it: which data screen
// each section opens and which box takes the focus first, what a click on a section header
// does, the section menu with its two sub-menus, and the order the focus follows through
// the 109 boxes. The window builds its menus and its tab chain from these tables.
#pragma once

#include "Declaracion.h"
#include "TablaCasillas.h"

#include <array>
#include <optional>
#include <string_view>

namespace simulador {

// The data screens the window opens, by the number each is registered under.
enum class PantallaDatos {
    Ninguna = -1,
    UnidadFam = 0,
    DatosTrabajo = 1,
    DatosInm = 2,
    Mobiliario = 3,
    DatosDirecta = 4,
    DatosModulos = 5,
    DatosAgricolas = 6,
    Ganancias = 8,
    Reducciones = 9,
    DCuota = 10,
};

// AbreApartado's table: a section code (a header's index, or a menu item's 30-32 and 80-81),
// the screen it opens and the box that takes the focus before the screen is shown.
struct Apartado {
    int codigo;
    PantallaDatos pantalla;
    int foco;
};
// Nothing for a code the table does not hold: such a code opens nothing.
std::optional<Apartado> BuscaApartado(int codigo);

// Why section `codigo` cannot open for this declaration (the message for the user), or
// nothing: the regional deductions need a region chosen on the family screen first.
std::optional<std::string_view> ApartadoCerrado(int codigo, const Declaracion &d);

// A click on section header `indice` ("LbMnt" index), and the section menu's item of the
// same index: headers 3 (activities) and 8 (savings base) pop up a sub-menu, 4, 10 and 11
// do nothing (and their menu items are hidden), every other header opens its section.
enum class AccionCabecera { Ninguna, MenuActividades, MenuAhorro, AbreApartado };
AccionCabecera AccionDeCabecera(int indice);

// The section menu ("MnOpMnt"): one item per header index 0-11, captioned as its header.
inline constexpr int kOpcionesMenuApartados = 12;
// Header `indice`'s caption, exactly as the sheet shows it; empty for an index no header has.
std::string_view RotuloCabecera(int indice);

// The sub-menus' items and the section code each opens.
struct OpcionMenu {
    std::string_view rotulo;
    int codigo;
};
inline constexpr std::array<OpcionMenu, 3> kMenuActividades = {{
    {"Empresarial Directa", 30},
    {"Módulos Empresariales", 31},
    {"Agrícolas - Ganaderas", 32},
}};
inline constexpr std::array<OpcionMenu, 2> kMenuAhorro = {{
    {"Capital Mobiliario", 80},
    {"Ganancias y Pérdidas", 81},
}};

// Every box in the order the focus follows: the input boxes, then the editable result boxes,
// then the rest in number order (they pass the focus on). The selector and the buttons
// close the chain after them.
std::array<int, kNumCasillas> OrdenTabulacion();
// The first input box (the focus at start and after a view reset) and the last one.
inline constexpr int kPrimeraEntrada = kOrdenEntradas.front();
inline constexpr int kUltimaEntrada = kOrdenEntradas.back();

}  // namespace simulador
