// One list screen: Mobiliario, Ganancias or DCuota, told apart by the module's column table,
// in the data screens' frame (MarcoDatos).
//
// Works on a copy of the declaration: "&Guardar" stores the rows into the copy's list (and,
// on DCuota, the regional housing flag) and accepts; "&Salir", Escape out of a cell and the
// window's close button leave the copy untouched, after asking when something changed. The
// caller reads declaracion() after Accepted.
#pragma once

#include "Declaracion.h"
#include "ListaColumnas.h"
#include "MarcoDatos.h"

class QCheckBox;
class QLabel;
class ModeloLista;
class VistaLista;

class PantallaLista : public MarcoDatos {
    Q_OBJECT
public:
    PantallaLista(simulador::TipoLista tipo, const simulador::Declaracion &decl, QWidget *parent = nullptr);

    const simulador::Declaracion &declaracion() const { return m_decl; }
    VistaLista *vista() const { return m_vista; }
    // Whether leaving now would lose something: "&Guardar" would store other rows than the
    // screen opened with (a row added, deleted or set to another value), the housing box
    // is not as it opened, or the cell being typed in holds other text than it had.
    bool cambiado() const override;

private:
    void guardar() override;
    void eliminar();
    void muestraAyuda(const QModelIndex &actual);

    simulador::TipoLista m_tipo;
    simulador::Declaracion m_decl;
    ModeloLista *m_modelo = nullptr;
    VistaLista *m_vista = nullptr;
    QLabel *m_ayuda = nullptr;
    QCheckBox *m_tramo = nullptr;  // DCuota only
    bool m_tramoInicial = false;
};
