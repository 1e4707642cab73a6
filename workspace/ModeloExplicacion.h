// The explanation of a box as an item model, for the tree of "Detalle de la casilla N".
//
// The module's explanation is a graph: a box used by several boxes is one shared node. A
// view needs a tree, so the model's items are paths: one item per (parent item, child
// index), made only when the view asks for it. A box met again under another box is
// expandable there too, and costs nothing until it is opened: the full expansion of box 106
// of a large household runs to thousands of rows, and none of them is built unless shown.
//
// A row reads as the line of the copied text (TextoExplicacion): the sign the term enters
// its parent with and the concept, then the amount; the terms under a row are the ones the
// text shows (LecturaExplicacion).
#pragma once

#include "Explicacion.h"

#include <QAbstractItemModel>

#include <memory>
#include <vector>

class ModeloExplicacion : public QAbstractItemModel {
    Q_OBJECT
public:
    enum Columna { Concepto, Importe, NumColumnas };

    // `e` must be a successful explanation; its root is the model's one top-level row.
    ModeloExplicacion(simulador::Explicacion e, simulador::MonedaExplicacion moneda, QObject *parent = nullptr);

    const simulador::Explicacion &explicacion() const { return m_e; }
    simulador::MonedaExplicacion moneda() const { return m_moneda; }

    QModelIndex index(int row, int column, const QModelIndex &parent = {}) const override;
    QModelIndex parent(const QModelIndex &child) const override;
    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    struct Item {
        Item *padre = nullptr;
        int fila = 0;
        int nodo = -1;  // -1: the invisible root above the box asked for
        bool leido = false;
        const simulador::NodoExplicacion *terminos = nullptr;  // whose children are shown, once read
        std::vector<std::unique_ptr<Item>> hijos;               // null until the view asks
    };

    Item *item(const QModelIndex &i) const;
    Item &lee(Item &it) const;  // its terms known and its children's slots made

    simulador::Explicacion m_e;
    simulador::MonedaExplicacion m_moneda;
    mutable simulador::LecturaExplicacion m_lectura;  // on m_e: declared after it
    mutable Item m_raiz;
};
