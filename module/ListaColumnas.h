// The three itemised lists as grids: one row per item, one column per field.
//
// Mobiliario (movable-capital items), Ganancias (capital gains and losses) and DCuota
// (deductions from the quota) are the same screen over three column tables. Everything a
// column decides lives here, so the screens only ask: which keys a cell takes, what a new
// row holds, which texts a cell must not be left with, how a cell is shown, and how rows
// become the records the engine reads. Cells are held as text: letters and dates as typed,
// amounts in the file's plain form ("1234,5"), empty when nothing was typed.
#pragma once

#include "Comunidades.h"
#include "Declaracion.h"
#include "Money.h"

#include <string>
#include <string_view>
#include <vector>

namespace simulador {

enum class TipoLista { Mobiliario, Ganancias, DCuota };

enum class TipoColumna {
    Letra,    // one letter out of a set (class, owner), upper-cased as typed
    Importe,  // an amount: digits and one decimal comma
    Fecha,    // a date, any key; ddmmyy and ddmmyyyy gain their dashes when the cell is left
    Entero,   // digits only (the disability percentage of DCuota)
};

struct ColumnaLista {
    std::string_view titulo;       // caption, blanks included: they size the column
    TipoColumna tipo;
    std::string_view letras;       // Letra: the letters accepted
    int limite;                    // a key is refused once the cell holds this many characters; 0 none
    bool soloCifras;               // Importe: digits and one comma, not before the first digit
    bool signo;                    // Importe: a leading minus is taken too (the gains' two bases)
    std::string_view ayuda;        // help text, lines separated by '\n'
    std::string_view defecto;      // what an empty cell of a new row takes
    std::string_view obligatoria;  // message when the cell is left empty; empty when it may be
};

struct DefinicionLista {
    std::string_view titulo;  // window title
    std::vector<ColumnaLista> columnas;
    bool atajoEuro;           // Ctrl+E opens the euro converter (not on Ganancias)
};

const DefinicionLista &Lista(TipoLista p);

inline constexpr std::string_view kTituloInformacion = "Información";
inline constexpr std::string_view kTituloEliminar = "Eliminar";
inline constexpr std::string_view kPreguntaEliminar = "¿Desea eliminar el registro?";
inline constexpr std::string_view kFechaIncorrecta = "Fecha incorrecta.";
inline constexpr std::string_view kTituloTramo = "% Aumentados (Tramo autonómico vivienda)";

// The increased regional rate for the main residence exists only in Catalunya.
inline bool TramoAplicable(const Declaracion &d) { return ComunidadDe(d.Autonomia) == Comunidad::Catalunya; }

// Keys as the filters see them: a typed character, or Backspace.
inline constexpr char32_t kRetroceso = 8;

enum class AccionTecla {
    Acepta,      // insert `caracter` (the key, upper-cased in letter columns)
    Rechaza,     // drop the key silently
    Pita,        // drop the key with a beep
    QuitaUltimo, // drop the key and remove the cell's last character
};

struct Tecla {
    AccionTecla accion = AccionTecla::Rechaza;
    char32_t caracter = 0;
};

// One key typed into a cell of column `columna` holding `celda` (UTF-8, the text that stays
// when the key is typed: a selection it replaces is not counted).
Tecla FiltraTecla(TipoLista p, int columna, std::string_view celda, char32_t tecla);

// ddmmyy → dd-mm-yy and ddmmyyyy → dd-mm-yyyy when the text holds no "/" nor "-";
// anything else comes back unchanged.
std::string ReescribeFecha(std::string_view texto);

// The check made when an edited cell is about to be stored. `texto` is what the cell will
// hold (a date rewritten, an amount in plain form), also when the check fails: the screen
// leaves it in the cell with the message.
struct Comprobacion {
    bool ok = true;
    std::string texto;
    std::string_view mensaje;
};
Comprobacion CompruebaCelda(TipoLista p, int columna, std::string_view texto);

// The amount a cell stands for: its leading number ("12," is 12; "-" and "" are 0).
Money ImporteCelda(std::string_view celda);

// The cell as the grid shows it: amounts as "1.234,50" (nothing when empty), others as held.
std::string TextoVisible(TipoLista p, int columna, std::string_view celda);

using FilaLista = std::vector<std::string>;  // one text per column

// A new row: every cell at its column's default.
FilaLista FilaNueva(TipoLista p);

// The screen's list as rows, blank records (no class and no owner) left out.
std::vector<FilaLista> FilasDeLista(const Declaracion &d, TipoLista p);
// The rows back into the screen's list, one record per row, empty amounts as 0. No rows
// leave the list empty.
void GuardaFilas(Declaracion &d, TipoLista p, const std::vector<FilaLista> &filas);
// Whether storing `filas` would change the screen's list: a row added or deleted, or a
// cell holding another value ("" and "0" are one amount; "A" and "a" two letters).
bool FilasCambiadas(const Declaracion &d, TipoLista p, const std::vector<FilaLista> &filas);

}  // namespace simulador
