// "Detalle de la casilla N": where a box of the sheet comes from, as a tree of concepts and
// amounts (ModeloExplicacion), in the liquidation the sheet shows and in its currency. The
// box and its terms are open; deeper terms open on demand (Right, +, a click). "Copiar" puts
// the tree on the clipboard as indented text, "Imprimir" prints it; Escape or "Cerrar"
// closes it.
//
// The window is window-modal and deletes itself on closing: while it is up, the sheet it
// explains cannot change under it.
#pragma once

#include "Declaracion.h"
#include "Explicacion.h"
#include "Modalidad.h"
#include "PaginaSimulacion.h"

#include <QDialog>

class ModeloExplicacion;
class QTreeView;

class DetalleCasilla : public QDialog {
    Q_OBJECT
public:
    // The box's explanation and its window, opened; nullptr after the module's message when
    // the box cannot be explained (a typed box that is no amount).
    static DetalleCasilla *abre(QWidget *padre, const simulador::Declaracion &d, simulador::Modalidad modalidad,
                                int casilla, simulador::MonedaExplicacion moneda);

    // `e` a successful explanation; `cabecera` heads the printout.
    DetalleCasilla(simulador::Explicacion e, int casilla, simulador::MonedaExplicacion moneda, DatosPagina cabecera,
                   QWidget *parent = nullptr);

    QTreeView *arbol() const { return m_arbol; }
    QString texto() const;  // the tree as indented text: what "Copiar" puts and "Imprimir" prints

private:
    void copia();
    void imprime();

    ModeloExplicacion *m_modelo = nullptr;
    QTreeView *m_arbol = nullptr;
    DatosPagina m_cabecera;
};
