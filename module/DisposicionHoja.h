// Where everything lies on the sheet of 109 boxes: section headers, column headings, row
// captions and boxes, as rectangles in sheet pixels (15 twips a pixel). The screen builds
// its widgets from this table and the printout draws the same page from it, so a position
// lives here and nowhere else.
#pragma once

#include <string>
#include <vector>

namespace simulador {

inline constexpr int kAnchoHoja = 743;   // 11145 twips
inline constexpr int kAltoHoja = 1000;   // 15000 twips
inline constexpr int kTwipsPorPixel = 15;

struct Rectangulo {
    int x = 0, y = 0, ancho = 0, alto = 0;
    int derecha() const { return x + ancho; }
    int abajo() const { return y + alto; }
};

enum class TipoElemento {
    Cabecera,    // a section header (dark blue); numero: its header control index, -1 for a plain one
    Encabezado,  // a column heading over boxes
    Concepto,    // a row caption
    Casilla,     // a box; numero: the box number
};

enum class Alineacion { Izquierda, Centro, Derecha };

struct ElementoHoja {
    TipoElemento tipo;
    int seccion;        // 1-16
    int numero;         // see TipoElemento; -1 for headings and captions
    std::string texto;  // caption text, exactly as shown; empty for boxes
    Rectangulo r;
    bool visible;       // false: exists but is never shown
    // How the text sits in its rectangle. A heading over several columns is spaced to be
    // read from the right: its last word ends over the last column.
    Alineacion alineacion = Alineacion::Izquierda;
};

struct DisposicionHoja {
    int ancho = kAnchoHoja;
    int alto = kAltoHoja;
    // Headers, headings and captions first, then the 109 boxes in number order.
    std::vector<ElementoHoja> elementos;
    const ElementoHoja &casilla(int numero) const;
    bool enHoja(int numero) const;  // false for the boxes that lie beyond the right edge
};

const DisposicionHoja &Disposicion();

// The header control a section's header is ("LbMnt" index): the headers that open data
// or carry a sub-menu; -1 for sections 9, 12, 15 and 16, whose headers are plain captions.
int CabeceraDeSeccion(int seccion);

// The scroll bar that moves the sheet behind its window, in pixels. The steps come from the
// twips of the original window: large = H / 5, small = (H + 30) / 20, H = sheet − window.
struct Desplazamiento {
    int maximo = 0;
    int grande = 0;
    int pequeno = 0;
};
Desplazamiento ParametrosDesplazamiento(int altoHoja, int altoVentana);

// The scroll value that brings a box at `top` (sheet pixels, `alto` high) into the window,
// moving from `valor` in small steps: up while the box's bottom is less than 250 twips below
// the window's top, down while it is less than 100 twips above the window's bottom.
int DesplazaHastaVer(int valor, const Desplazamiento &d, int top, int alto, int altoVentana);

}  // namespace simulador
