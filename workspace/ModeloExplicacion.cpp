#include "ModeloExplicacion.h"

#include "TextoQt.h"

using namespace simulador;

ModeloExplicacion::ModeloExplicacion(Explicacion e, MonedaExplicacion moneda, QObject *parent)
    : QAbstractItemModel(parent), m_e(std::move(e)), m_moneda(moneda), m_lectura(m_e)
{
}

ModeloExplicacion::Item *ModeloExplicacion::item(const QModelIndex &i) const
{
    return i.isValid() ? static_cast<Item *>(i.internalPointer()) : &m_raiz;
}

ModeloExplicacion::Item &ModeloExplicacion::lee(Item &it) const
{
    if (!it.leido) {
        it.leido = true;
        if (it.nodo < 0) {
            it.hijos.resize(m_e.raiz >= 0 ? 1 : 0);
        } else {
            it.terminos = m_lectura.terminos(it.nodo);
            it.hijos.resize(it.terminos ? it.terminos->hijos.size() : 0);
        }
    }
    return it;
}

QModelIndex ModeloExplicacion::index(int row, int column, const QModelIndex &parent) const
{
    if (column < 0 || column >= NumColumnas || (parent.isValid() && parent.column() != 0))
        return {};
    Item &p = lee(*item(parent));
    if (row < 0 || static_cast<std::size_t>(row) >= p.hijos.size())
        return {};
    std::unique_ptr<Item> &h = p.hijos[static_cast<std::size_t>(row)];
    if (!h) {
        h = std::make_unique<Item>();
        h->padre = &p;
        h->fila = row;
        h->nodo = p.nodo < 0 ? m_e.raiz : p.terminos->hijos[static_cast<std::size_t>(row)];
    }
    return createIndex(row, column, h.get());
}

QModelIndex ModeloExplicacion::parent(const QModelIndex &child) const
{
    if (!child.isValid())
        return {};
    Item *p = item(child)->padre;
    return p == &m_raiz ? QModelIndex() : createIndex(p->fila, 0, p);
}

int ModeloExplicacion::rowCount(const QModelIndex &parent) const
{
    if (parent.isValid() && parent.column() != 0)
        return 0;
    return static_cast<int>(lee(*item(parent)).hijos.size());
}

int ModeloExplicacion::columnCount(const QModelIndex &) const { return NumColumnas; }

QVariant ModeloExplicacion::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    const Item &it = *item(index);
    const NodoExplicacion &n = m_e[it.nodo];
    if (role == Qt::TextAlignmentRole)
        return index.column() == Importe ? QVariant(Qt::AlignRight | Qt::AlignVCenter) : QVariant();
    if (role == Qt::ToolTipRole && index.column() == Concepto)  // a long concept is cut in its column
        return ConsejoPlano(aQt(ConceptoNodo(n)));
    if (role != Qt::DisplayRole)
        return {};
    if (index.column() == Importe)
        return aQt(CifraNodo(n, m_moneda));
    const std::string_view signo = it.padre->terminos ? SignoHijo(it.padre->terminos->op, static_cast<std::size_t>(it.fila)) : "";
    return aQt(signo) + aQt(ConceptoNodo(n));
}

QVariant ModeloExplicacion::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal)
        return {};
    if (role == Qt::TextAlignmentRole && section == Importe)
        return QVariant(Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole)
        return {};
    return section == Concepto ? QStringLiteral("Concepto") : QStringLiteral("Importe");
}
