// One list screen: Mobiliario, Ganancias or DCuota, told apart by the module's column table.
//
// Works on a copy of the declaration: "&Guardar" stores the rows into the copy's list (and,
// on DCuota, the regional housing flag) and accepts; "&Salir", Escape out of a cell and the
// window's close button leave the copy untouched, after asking when something changed. The
// caller reads declaracion() after Accepted.
#pragma once

#include "Declaracion.h"
#include "ListaColumnas.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class ModeloLista;
class VistaLista;

class PantallaLista : public QDialog {
    Q_OBJECT
public:
    PantallaLista(simulador::TipoLista tipo, const simulador::Declaracion &decl, QWidget *parent = nullptr);

    const simulador::Declaracion &declaracion() const { return m_decl; }
    VistaLista *vista() const { return m_vista; }
    // Whether leaving now would lose something: "&Guardar" would store other rows than the
    // screen opened with (a row added, deleted or set to another value), the housing box
    // is not as it opened, or the cell being typed in holds other text than it had.
    bool cambiado() const;

    // Every way out but "&Guardar": with changes, asks first (No, the default, stays).
    void reject() override;

protected:
    bool eventFilter(QObject *object, QEvent *event) override;

private:
    void guardar();
    void eliminar();
    void muestraAyuda(const QModelIndex &actual);

    simulador::TipoLista m_tipo;
    simulador::Declaracion m_decl;
    ModeloLista *m_modelo = nullptr;
    VistaLista *m_vista = nullptr;
    QLabel *m_ayuda = nullptr;
    QLabel *m_euro = nullptr;
    QCheckBox *m_tramo = nullptr;  // DCuota only
    bool m_tramoInicial = false;
};
