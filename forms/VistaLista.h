// The grid of a list screen: a QTableView that checks a cell before storing it.
//
// Every way of leaving an edited cell (Enter, Tab, the arrows, a click on another cell, the
// buttons) goes through commitData, where the module's check runs; a refused cell shows its
// message and keeps the focus with what was typed, the date already rewritten. Merely
// losing the focus (a message box, another window) stores nothing and leaves the cell open.
#pragma once

#include "ListaColumnas.h"

#include <QPointer>
#include <QTableView>

class DelegadoLista;
class ModeloLista;
class QLineEdit;

class VistaLista : public QTableView {
    Q_OBJECT
public:
    VistaLista(ModeloLista *modelo, QWidget *parent = nullptr);

    DelegadoLista *delegado() const { return m_delegado; }
    ModeloLista *modelo() const { return m_modelo; }
    // Stores the cell being edited, if any; false when its check refused it.
    bool terminaEdicion();
    // The editor of the cell being edited, or nullptr.
    QLineEdit *editorAbierto() const;
    // The selected whole rows, highest first, the new-row line left out.
    QList<int> filasSeleccionadas() const;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void commitData(QWidget *editor) override;
    void closeEditor(QWidget *editor, QAbstractItemDelegate::EndEditHint hint) override;

private:
    void sale(QWidget *editor, int tecla);
    void mueve(int tecla);

    ModeloLista *m_modelo;
    DelegadoLista *m_delegado;
    QPointer<QWidget> m_rechazado;  // editor whose check just failed: it must stay open
    bool m_avisando = false;         // a message is up: the focus it takes commits nothing
};
