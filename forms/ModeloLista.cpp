#include "ModeloLista.h"

#include "TextoQt.h"

using namespace simulador;

bool ModeloLista::valido(const QModelIndex &index) const
{
    return index.isValid() && index.model() == this && index.row() < rowCount() && index.column() < columnCount();
}

ModeloLista::ModeloLista(TipoLista tipo, std::vector<FilaLista> filas, QObject *parent)
    : QAbstractTableModel(parent), m_tipo(tipo), m_filas(std::move(filas))
{
}

int ModeloLista::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_filas.size()) + (m_abriendoFila ? 2 : 1);
}

int ModeloLista::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(Lista(m_tipo).columnas.size());
}

QVariant ModeloLista::data(const QModelIndex &index, int role) const
{
    if (!valido(index))
        return {};
    const int col = index.column();
    if (role == Qt::TextAlignmentRole) {
        const bool importe = Lista(m_tipo).columnas[static_cast<std::size_t>(col)].tipo == TipoColumna::Importe;
        return QVariant::fromValue(Qt::AlignVCenter | (importe ? Qt::AlignRight : Qt::AlignLeft));
    }
    if (role != Qt::DisplayRole && role != Qt::EditRole)
        return {};
    if (esFilaNueva(index.row()))
        return QString();
    const std::string &celda = m_filas[static_cast<std::size_t>(index.row())][static_cast<std::size_t>(col)];
    return role == Qt::EditRole ? aQt(celda) : aQt(TextoVisible(m_tipo, col, celda));
}

QVariant ModeloLista::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Horizontal) {
        const auto &columnas = Lista(m_tipo).columnas;
        if (section < 0 || section >= static_cast<int>(columnas.size()))
            return {};
        return aQt(columnas[static_cast<std::size_t>(section)].titulo);
    }
    return esFilaNueva(section) ? QStringLiteral("*") : QString::number(section + 1);
}

Qt::ItemFlags ModeloLista::flags(const QModelIndex &index) const
{
    if (!valido(index))
        return Qt::NoItemFlags;
    return Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsEditable;
}

bool ModeloLista::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::EditRole || !valido(index))
        return false;
    const int fila = index.row(), col = index.column();
    const Comprobacion c = CompruebaCelda(m_tipo, col, deQt(value.toString()));
    if (!c.ok || fila > static_cast<int>(m_filas.size()))
        return false;
    if (esFilaNueva(fila)) {
        // A new empty line is added below, then the line being edited becomes the row: the
        // cell being edited (and the view's current cell) stays on the row just made.
        beginInsertRows({}, fila + 1, fila + 1);
        m_abriendoFila = true;
        endInsertRows();
        FilaLista nueva = FilaNueva(m_tipo);
        nueva[static_cast<std::size_t>(col)] = c.texto;
        m_filas.push_back(std::move(nueva));
        m_abriendoFila = false;
        emit dataChanged(this->index(fila, 0), this->index(fila, columnCount() - 1));
        emit headerDataChanged(Qt::Vertical, fila, fila);
        return true;
    }
    m_filas[static_cast<std::size_t>(fila)][static_cast<std::size_t>(col)] = c.texto;
    emit dataChanged(index, index);
    return true;
}

bool ModeloLista::removeRows(int row, int count, const QModelIndex &parent)
{
    if (parent.isValid() || row < 0 || count < 1 || row + count > static_cast<int>(m_filas.size()))
        return false;
    beginRemoveRows(parent, row, row + count - 1);
    m_filas.erase(m_filas.begin() + row, m_filas.begin() + row + count);
    endRemoveRows();
    // Row numbers below the deleted ones changed.
    emit headerDataChanged(Qt::Vertical, row, static_cast<int>(m_filas.size()));
    return true;
}
