// The field machinery shared by every screen: what a field definition code means, which
// keys a field takes, how its value is shown while edited and when left, and the value
// lists of the pop-up list fields.
//
// A field is declared by a five-character code (type letter, digits, blanks) followed by a
// list definition: "@" for an ordinary field, or four characters of width ("****" or
// twips), two of visible rows and the values as shown|stored pairs. Nothing here knows a
// widget: texts are UTF-8, caret positions count characters, so the sheet, the data
// screens and the tests all obey the same rules.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace simulador {

enum class TipoCampo {
    Entero,        // "N": whole number, grouped when left
    Digitos,       // "n": digit string, shown as typed
    Decimal,       // "D": amount, filtered keys, grouped when left
    DecimalLibre,  // "S": amount, any key
    Texto,         // "A"
    Fecha,         // "F": completed to day-month-year when formatted
    Lista,         // "L": chosen from the pop-up list, never typed
    Libre,         // "M"
    Otro,          // any other letter: no filter, no format
};

TipoCampo TipoDeCodigo(std::string_view codigo);

// The typing limit a code gives: 0 means none; nothing for a letter that leaves the
// field's own limit alone. Throws std::invalid_argument when the digit positions the
// letter needs are not digits (codes are constants of the screens, never user input).
std::optional<int> MaxLength(std::string_view codigo);
// Decimal places of a "D" or "S" code (characters 4-5), 0 for any other letter.
int Decimales(std::string_view codigo);

struct DefCampo {
    int ayuda = 0;             // help number; on the sheet, the box number
    std::string dato;          // data name ("Cmp9", "Edad1", "Autonomia")
    std::string codigo;        // five characters, "D1002"
    std::string lista = "@";   // list definition
    std::optional<int> maxLength;
    std::string tag() const { return codigo + lista; }
};

DefCampo DefineCampo(int ayuda, std::string dato, std::string codigo, std::string lista);

// Named value lists ("SINO", "PERCEPTOR", "PERCEPTOR1", "FILIACION", "AUTONOMIA"), looked
// up without regard to case; an unknown name gives an empty list.
std::string ListaValores(std::string_view nombre);

struct EspecLista {
    bool anchoDelCampo = true;  // "****": as wide as the field plus 15 twips
    int anchoTwips = 0;         // otherwise the width in twips
    int filas = 0;              // visible rows: the list is filas × 195 + 30 twips high
    std::vector<std::string> mostrados;  // what the list shows and the field receives
    std::vector<std::string> guardados;  // what the owning screen keeps in its data
};

// The list of a list definition; nothing for "@" (or anything shorter than the six
// characters of width and rows).
std::optional<EspecLista> LeeEspecLista(std::string_view especificacion);
// The item a list opens on: the one shown exactly as the field's text, else the first.
int ElementoInicial(const EspecLista &lista, std::string_view textoCampo);
// Shown text for a stored value, and the reverse; empty when the list has no such item.
std::string TextoDeCodigo(std::string_view especificacion, std::string_view codigo);
std::string CodigoDeTexto(std::string_view especificacion, std::string_view texto);

// A field's text with its caret and selection, positions in characters.
struct EstadoTexto {
    std::string texto;
    int cursor = 0;
    int selInicio = 0;
    int selLargo = 0;
};

struct ResultadoTecla {
    bool aceptada = false;  // false: the key itself was dropped (the text may still change)
    std::string texto;      // the field's text after the key
    int cursor = 0;         // the caret after the key
    // The selection after the key: a key dropped (or Esc) without touching text or caret
    // leaves the one there was, so that typing on replaces it; any other key ends it.
    int selInicio = 0;
    int selLargo = 0;
};

inline constexpr char32_t kTeclaRetroceso = 8;
inline constexpr char32_t kTeclaIntro = 13;
inline constexpr char32_t kTeclaEscape = 27;

// One typed character in a field of `codigo` (the part after the code is ignored).
// `maxLength` 0 means no limit; a rewrite by the filter itself (sign, "0,00") is not limited.
ResultadoTecla TeclaCampo(std::string_view codigo, const EstadoTexto &estado, char32_t tecla, int maxLength = 0);

// The keys a paste types into a field of `codigo`. Key by key, a grouping dot would become
// the decimal comma ("1.500" typed as 1,50) and a leading minus would toggle the sign of the
// amount it replaces; so an amount in the sheet's form ("1.500,00", "-300") pasted into an
// amount field is typed as its editing form with the sign last ("1500,00", "300-"), and a
// whole number with grouping dots into a number field without them. Any other text is
// typed as it comes.
std::string TeclasDePegado(std::string_view codigo, std::string_view texto);

// The editing form (agrupado false: "1234,50") or the display form (true: "1.234,50").
// A text that is not a number is left as it is.
std::string FormateaCampo(std::string_view codigo, std::string_view texto, bool agrupado);
// Whether two texts of a field of `codigo` hold the same value: compared in the display
// form, so "1500,00" and "1.500,00", or "" and "0,00" in an amount field, are one value.
bool MismoValor(std::string_view codigo, std::string_view a, std::string_view b);
// A date typed as digits only completed to "dd-mm", "dd-mm-yy" or "dd-mm-yyyy".
std::string NormalizaFecha(std::string_view texto);

// Asked when a data or list screen is left with changes that were not stored (answer No
// by default: the screen stays open as it was).
inline constexpr std::string_view kTituloSalir = "Salir";
inline constexpr std::string_view kPreguntaSalirSinGuardar = "¿Desea salir sin guardar los cambios?";

inline constexpr std::string_view kPantallaPrecalculo = "Precalculo";
// True for a box of the main sheet the user may not type in; false on every other screen.
bool CampoProtegido(std::string_view pantalla, int indice);

}  // namespace simulador
