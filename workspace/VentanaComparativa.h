// "Comparativa": the joint and the individual liquidations of a household side by side,
// as the module's Compara worked them out, and the sentence saying which is better.
// Choosing a column (double click, Enter or "Ver en la hoja") closes the window with that
// liquidation chosen; the caller switches the sheet's selector to it. The column
// "DECLARANTE + CONYUGE" is a sum, not a liquidation of the sheet, so it cannot be chosen.
//
// Below the table, each typed box with an amount ("reparto<N>", with a spouse only) chooses
// the individual run it counts in: Declarante, Cónyuge or A partes iguales. The table and
// the verdict are worked out again at once.
#pragma once

#include "Comparativa.h"

#include <QDialog>

class QLabel;
class QPushButton;
class QTableView;

class VentanaComparativa : public QDialog {
    Q_OBJECT
public:
    // `c`: Compara of `declaracion` with the shares to start from. `modalidad`: the
    // liquidation the sheet shows, the column current at opening.
    VentanaComparativa(const simulador::Declaracion &declaracion, const simulador::Comparativa &c, int modalidad,
                       QWidget *parent = nullptr);

    // The liquidation chosen (0 CONJUNTA, 1 DECLARANTE, 2 CONYUGE); read after Accepted.
    int modalidadElegida() const { return m_elegida; }
    // The shares as left, however the window closed.
    const simulador::Reparto &reparto() const { return m_reparto; }
    // The column titles, in their order on screen.
    static QStringList columnas(bool hayConyuge);

private:
    void columnaActual(int columna);
    void elige(int columna);
    QWidget *construyeReparto(const simulador::Comparativa &c);
    bool reparte(int casilla, simulador::Parte parte);

    simulador::Declaracion m_declaracion;
    simulador::Reparto m_reparto;
    QTableView *m_tabla = nullptr;
    QPushButton *m_ver = nullptr;
    QLabel *m_veredicto = nullptr;
    int m_elegida = -1;
};
