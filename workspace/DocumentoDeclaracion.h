// The declaration being worked on and its files: the last declaration, kept in "DatosCa21.Ini"
// in the user's private folder ${XDG_STATE_HOME:-$HOME/.local/state}/simulador-irpf2021
// (offered at start, saved at exit), and the client's file opened or saved by the user
// ("Abrir…", "Guardar", "Guardar como…", the recent files).
//
// One session at a time owns "DatosCa21.Ini": a lock beside it ("DatosCa21.Ini.lock") is held
// while this object lives. A second session is told at start, does not load the last
// declaration and never writes it: at exit it offers a client's file instead.
//
// At exit, after a change, "Grabar al Salir" asks Sí / No / Cancelar: Sí writes the client's
// file (when one is open and changed) and "DatosCa21.Ini"; if either fails the window stays
// open with the data and says which; Cancelar stays. A file that cannot be read, or a
// declaration the engine cannot liquidate, leaves the sheet and the declaration as they were.
#pragma once

#include "Bloqueo.h"
#include "Comparativa.h"
#include "Declaracion.h"
#include "Modalidad.h"

#include <QObject>
#include <QString>

#include <functional>
#include <string>
#include <vector>

class HojaCasillas;
class QAction;
class QMenu;
class QWidget;

class DocumentoDeclaracion : public QObject {
    Q_OBJECT
public:
    // `ventana` parents the questions and messages and takes the file keys; `hoja` shows
    // the declaration's boxes; `modalidad` is the liquidation it shows.
    DocumentoDeclaracion(HojaCasillas &hoja, QWidget *ventana, std::function<simulador::Modalidad()> modalidad);

    // "Abrir…" (Ctrl+O), "Guardar" (Ctrl+S), "Guardar como…" (Ctrl+Shift+S), the recent files,
    // and a separator after which the window may add its own items.
    QMenu *menuFichero() const { return m_menuFichero; }

    // The file chooser of "Abrir…" (guardar false) and "Guardar como…" (true): the chosen
    // path, or an empty text when cancelled. By default a file dialog for ".ini" files.
    using EligeFichero = std::function<QString(QWidget *padre, bool guardar, const QString &propuesta)>;
    void setEligeFichero(EligeFichero elige) { m_eligeFichero = std::move(elige); }

    // At start: the private folder and its lock, then the last declaration, offered when
    // there is one. SinUltima: a first run (or a folder refused), to be started with the family.
    // With `fichero` (simulador FICHERO) that client's file is opened as "Abrir…" would, in
    // place of the offer, after the lock: a second session may read "DatosCa21.Ini" so, but
    // never writes it. A file that cannot be opened is told, and the start goes on without it.
    enum class Inicio { SegundaSesion, UltimaOfrecida, SinUltima, FicheroAbierto };
    Inicio inicia(const QString &fichero = {});

    // See Precalculo::abreFichero, Precalculo::guardaComo and Precalculo::guarda.
    bool abre(const QString &ruta);
    bool guardaComo(const QString &ruta);
    bool guarda();
    // The question at exit and the saves it asks for: true when the window may close.
    bool puedeCerrar();

    void marcaCambio();
    void reinicia();  // an empty declaration, as at start

    simulador::Declaracion &datos() { return m_decl; }
    const simulador::Declaracion &declaracion() const { return m_decl; }
    simulador::Reparto &reparto() { return m_reparto; }  // the comparison's, kept with the client
    QString rutaFichero() const { return m_ruta; }
    QString ficheroCliente() const { return m_rutaCliente; }
    bool modificado() const { return m_modificado; }
    bool cambiosSinGuardar() const { return m_sinGuardar; }
    bool segundaSesion() const { return m_segundaSesion; }

signals:
    void clienteCambiado();  // another client's file is open (or the first one)
    void sustituida();       // the declaration was replaced by a client's file

private:
    void construyeMenu();
    void actualizaRecientes();
    void accionAbrir();
    bool accionGuardarComo();
    bool puedeDescartarCambios();
    void cargaUltima();
    bool guardaCliente(const QString &destino);
    bool guardaAlSalir();
    QString escribeEn(const QString &destino);
    bool esUltimaDeclaracion(const QString &ruta) const;
    bool tomaCasillas();
    void muestraAvisos(const QString &ruta, const std::vector<std::string> &avisos);
    void ponCliente(const QString &ruta);

    HojaCasillas &m_hoja;
    QWidget *m_ventana;
    std::function<simulador::Modalidad()> m_modalidad;
    EligeFichero m_eligeFichero;
    QMenu *m_menuFichero = nullptr;
    QAction *m_acAbrir = nullptr;
    QAction *m_sepRecientes = nullptr;  // the recent files go after it
    std::vector<QAction *> m_recientes;
    simulador::Declaracion m_decl;
    simulador::Reparto m_reparto;
    QString m_ruta;         // ".../simulador-irpf2021/DatosCa21.Ini"
    QString m_rutaCliente;  // empty until one is opened or saved
    simulador::Bloqueo m_bloqueo;  // on m_ruta + ".lock"
    bool m_segundaSesion = false;
    bool m_modificado = false;  // changes since start: asked about at exit
    bool m_sinGuardar = false;  // changes since the declaration was last read or written
};
