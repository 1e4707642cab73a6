// The rows of one list screen, for a QTableView.
//
// The grid always ends in an empty new-row line (header "*"): a value stored in it turns
// it into a real row, whose other cells take their column's default, and a fresh new-row
// line follows. Cells are the module's texts; how they are checked, shown and stored is
// the module's column table.
#pragma once

#include "ListaColumnas.h"

#include <QAbstractTableModel>

#include <vector>

class ModeloLista : public QAbstractTableModel {
    Q_OBJECT
public:
    ModeloLista(simulador::TipoLista tipo, std::vector<simulador::FilaLista> filas, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    // Refuses what the column's check refuses; stores dates rewritten and amounts plain.
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    // Real rows only: the new-row line stays.
    bool removeRows(int row, int count, const QModelIndex &parent = {}) override;

    simulador::TipoLista tipo() const { return m_tipo; }
    bool esFilaNueva(int fila) const { return fila >= static_cast<int>(m_filas.size()); }
    const std::vector<simulador::FilaLista> &filas() const { return m_filas; }

private:
    bool valido(const QModelIndex &index) const;

    simulador::TipoLista m_tipo;
    std::vector<simulador::FilaLista> m_filas;
    bool m_abriendoFila = false;  // between the new line's insertion and its taking the value
};
