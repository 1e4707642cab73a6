#include "VistaLista.h"

#include "DelegadoLista.h"
#include "MensajeBox.h"
#include "ModeloLista.h"
#include "TextoQt.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>

#include <algorithm>

using namespace simulador;

VistaLista::VistaLista(ModeloLista *modelo, QWidget *parent)
    : QTableView(parent), m_modelo(modelo), m_delegado(new DelegadoLista(modelo->tipo(), this))
{
    setObjectName(QStringLiteral("Dg"));
    setModel(modelo);
    setItemDelegate(m_delegado);
    setSelectionBehavior(SelectItems);
    setSelectionMode(ExtendedSelection);
    // Typing into a cell starts editing it, as in a spreadsheet; F2 or a double click too.
    setEditTriggers(AnyKeyPressed | EditKeyPressed | DoubleClicked);
    setTabKeyNavigation(true);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    // The captions carry blanks on purpose: they give the columns their widths.
    const QFontMetrics fm = horizontalHeader()->fontMetrics();
    for (int c = 0; c < modelo->columnCount(); ++c)
        setColumnWidth(c, fm.horizontalAdvance(modelo->headerData(c, Qt::Horizontal).toString()) + 16);
    connect(m_delegado, &DelegadoLista::sale, this, &VistaLista::sale);
    // Escape drops only the edit under way: the cell shows its stored value again and the
    // screen stays, with every row (Escape once more, out of the cell, leaves the screen).
    connect(m_delegado, &DelegadoLista::cancela, this, [this] {
        if (QLineEdit *le = editorAbierto()) {
            m_rechazado = nullptr;
            QTableView::closeEditor(le, QAbstractItemDelegate::RevertModelCache);
        }
    });
}

QLineEdit *VistaLista::editorAbierto() const { return state() == EditingState ? m_delegado->editor() : nullptr; }

bool VistaLista::terminaEdicion()
{
    QLineEdit *le = editorAbierto();
    if (!le)
        return true;
    commitData(le);
    if (m_rechazado == le) {
        m_rechazado = nullptr;
        le->setFocus();
        return false;
    }
    closeEditor(le, QAbstractItemDelegate::NoHint);
    return true;
}

QList<int> VistaLista::filasSeleccionadas() const
{
    QList<int> filas;
    for (const QModelIndex &ix : selectionModel()->selectedRows())
        if (!m_modelo->esFilaNueva(ix.row()))
            filas << ix.row();
    std::sort(filas.begin(), filas.end(), std::greater<int>());
    return filas;
}

void VistaLista::commitData(QWidget *editor)
{
    auto *le = qobject_cast<QLineEdit *>(editor);
    if (m_avisando || !le)
        return;
    const QString texto = le->text();
    if (texto == le->property("original").toString())
        return;
    const Comprobacion c = CompruebaCelda(m_modelo->tipo(), le->property("columna").toInt(), deQt(texto));
    const QString nuevo = aQt(c.texto);
    if (c.ok) {
        le->setText(nuevo);
        QTableView::commitData(editor);
        return;
    }
    // Refused: the cell keeps what was typed (a date with its dashes already) and the focus.
    if (nuevo != texto)
        le->setText(nuevo);
    m_rechazado = editor;
    m_avisando = true;
    MensajeBox::informacion(this, aQt(c.mensaje));
    m_avisando = false;
}

void VistaLista::closeEditor(QWidget *editor, QAbstractItemDelegate::EndEditHint hint)
{
    if (m_avisando)
        return;
    if (editor && editor == m_rechazado) {
        // Left by a click or a move of the current cell: go back to the refused cell.
        m_rechazado = nullptr;
        const QModelIndex ix = m_modelo->index(editor->property("fila").toInt(), editor->property("columna").toInt());
        if (currentIndex() != ix)
            selectionModel()->setCurrentIndex(ix, QItemSelectionModel::ClearAndSelect);
        editor->setFocus();
        return;
    }
    QTableView::closeEditor(editor, hint);
}

void VistaLista::sale(QWidget *editor, int tecla)
{
    if (editor != editorAbierto() || !terminaEdicion())
        return;
    mueve(tecla);
}

// Enter and Tab go to the next column, from the last column to the first of the next row;
// Backtab goes back the same way; Up and Down change row in the same column.
void VistaLista::mueve(int tecla)
{
    const QModelIndex actual = currentIndex();
    if (!actual.isValid())
        return;
    int fila = actual.row(), col = actual.column();
    const int ultima = m_modelo->columnCount() - 1;
    switch (tecla) {
    case Qt::Key_Up: fila = std::max(fila - 1, 0); break;
    case Qt::Key_Down: fila = std::min(fila + 1, m_modelo->rowCount() - 1); break;
    case Qt::Key_Backtab:
        if (col > 0)
            --col;
        else if (fila > 0) {
            --fila;
            col = ultima;
        }
        break;
    default:
        if (col < ultima)
            ++col;
        else if (fila + 1 < m_modelo->rowCount()) {
            ++fila;
            col = 0;
        }
        break;
    }
    selectionModel()->setCurrentIndex(m_modelo->index(fila, col), QItemSelectionModel::ClearAndSelect);
}

void VistaLista::keyPressEvent(QKeyEvent *event)
{
    const bool sinModificador = !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier));
    if (state() != EditingState) {
        if (event->key() == Qt::Key_Delete && sinModificador) {
            // A selected row goes at once, without a question (Eliminar asks).
            const QList<int> filas = filasSeleccionadas();
            for (int f : filas)
                m_modelo->removeRows(f, 1);
            if (!filas.isEmpty())
                selectionModel()->clearSelection();
            event->accept();
            return;
        }
        if (event->key() == Qt::Key_Space && event->modifiers() == Qt::ShiftModifier && currentIndex().isValid()) {
            selectRow(currentIndex().row());
            event->accept();
            return;
        }
        if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && sinModificador) {
            mueve(event->key());
            event->accept();
            return;
        }
    }
    QTableView::keyPressEvent(event);
}

void VistaLista::mousePressEvent(QMouseEvent *event)
{
    // A click on another cell first stores the one being edited; a refused cell keeps the
    // focus and the click is dropped, so its message is shown once.
    if (editorAbierto() && !terminaEdicion()) {
        event->accept();
        return;
    }
    QTableView::mousePressEvent(event);
}
