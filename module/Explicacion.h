// "¿De dónde sale?": the explanation of a box of the liquidation.
//
// For a declaration, a filing mode and a box, the tree of how the box was reached: each
// node a value (exact, as the box's), a text in Spanish saying what it is, and an operation
// over its children or nothing (a leaf). A child that is another box is that box's node,
// shared: the explanation is a graph in which every box appears once, however many boxes
// use it, so a deep box never multiplies its sub-trees. The figures come from the engine's
// own stages run with a traced value (Etapas.h), never from a copy of the rules, and add up
// by construction: + and − exactly, × and ÷ to the ten-thousandth, the rounding exactly, a
// box node to the box.
#pragma once

#include "Declaracion.h"
#include "Modalidad.h"
#include "Money.h"
#include "Traza.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace simulador {

struct NodoExplicacion {
    Money valor;                   // a factor leaf: its value rounded to four decimals, for display
    std::string texto;             // "Cuota Diferencial (casilla 90)", "Tramo 2 de la escala estatal: ..."
    Operacion op = Operacion::Hoja;
    int casilla = -1;              // a node for a box: its number; -1 for any other node
    std::vector<int> hijos;        // indices into Explicacion::nodos, in the operation's order
    Medida medida = Medida::Importe;
    double factor = 0.0;           // Porcentaje or Numero: the exact factor (0.6 for 60 %)
    // A step nobody named, worded after the rounding or floor it feeds ("Cuota de la base
    // dentro del tramo, antes de redondear"): readings show its terms under that parent.
    bool paso = false;

    // The value the arithmetic of the parent uses: the amount, or the exact factor.
    double numero() const { return medida == Medida::Importe ? valor.toDouble() : factor; }
};

struct Explicacion {
    // Failure, as Recalcular reports it: a typed box that is not an amount, or an amount
    // out of range. Then there are no nodes.
    bool ok = true;
    int casillaError = -1;
    std::string mensaje;

    Modalidad modalidad = Modalidad::Conjunta;
    std::vector<NodoExplicacion> nodos;  // a graph: a box's node is shared by all its users
    int raiz = -1;                       // Explica: the node of the box asked for
    std::array<int, kNumCasillas> casillas;  // the node of each box reached, -1 for the rest

    Explicacion() { casillas.fill(-1); }
    const NodoExplicacion &operator[](int i) const { return nodos[static_cast<std::size_t>(i)]; }
};

// The explanation of box `casilla` (0-108) in `modalidad`: `raiz` is its node, and every box
// it uses has its node in `casillas`. A number out of 0-108 fails with a message.
Explicacion Explica(const Declaracion &d, Modalidad modalidad, int casilla);
// Every box of the liquidation in `modalidad`; `raiz` is box 106's node.
Explicacion ExplicaLiquidacion(const Declaracion &d, Modalidad modalidad);

// "+", "-", "*", "/", "min", "max", "redondea", "suelo0", "si"; "" for a leaf.
std::string_view NombreOperacion(Operacion op);

// ---- renderings shared by the sheet's window and the command line

enum class MonedaExplicacion { Euros, Pesetas };

// The amount column of a node: "1.234,56" (or whole pesetas, "0" for zero), a rate as
// "60 %", any other factor as a number ("2", "1,15625").
std::string CifraNodo(const NodoExplicacion &n, MonedaExplicacion moneda = MonedaExplicacion::Euros);
// The concept column: the node's text and, when the text does not say it, what it does with
// its children ("Otros gastos (casilla 2), el menor de:").
std::string ConceptoNodo(const NodoExplicacion &n);
// How child `i` enters a parent that does `padre`: "+ ", "− ", "× ", "÷ " or two blanks.
std::string_view SignoHijo(Operacion padre, std::size_t i);

// Which terms a reading shows under a node, one rule for the copied text and the sheet's
// window: none under a zero made of zeros only (its terms say nothing more); under a
// rounding, a floor or a condition over a step nobody named, that step's terms straight
// away ("redondeado al céntimo:" then "6.000,00", "× 60 %"); otherwise the node's children.
class LecturaExplicacion {
public:
    explicit LecturaExplicacion(const Explicacion &e);
    // The node whose children are shown under `nodo`, in order, entering as its operation
    // says (SignoHijo); nullptr when nothing is shown under it.
    const NodoExplicacion *terminos(int nodo);

private:
    bool nada(int nodo);
    const Explicacion &m_e;
    std::vector<signed char> m_nada;  // -1 not known yet
};

// Both renderings detail a box once, where it first appears, and give only its number and
// value wherever it appears again: the full expansion of box 106 of a large household
// repeats boxes 34 and 62 so often that it runs to thousands of nodes, while its graph has
// a few hundred.

// The tree under `nodo` as indented text, one node a line: the concept, then the amount
// ("1.234,56", or whole pesetas) in a column at the right; a child's sign says how it enters
// its parent. A box met again reads "(detallada arriba)".
std::string TextoExplicacion(const Explicacion &e, int nodo, MonedaExplicacion moneda = MonedaExplicacion::Euros);

// The tree under `nodo` as one JSON value:
//   {"valor": "2406.5000", "texto": "…", "casilla": 73, "op": "+", "hijos": [NODE, …]}
// "casilla" only on a box's node, "op" and "hijos" only on a node with children; a box met
// again carries "repetida": true instead of "op" and "hijos". Amounts exact with four
// decimals; a factor exact, with at least four decimals ("0.6000", "1.15625").
void AnadeJsonExplicacion(std::string &out, const Explicacion &e, int nodo);

}  // namespace simulador
