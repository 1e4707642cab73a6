// The main workspace: the sheet of 109 boxes behind its scrolling window, the liquidation
// selector, the peseta view, the section menus and the buttons. It owns the declaration
// being worked on; every figure on the sheet comes from the module's Recalcular.
//
// Data screens are plugged in by number (0 UnidadFam, 1 DatosTrabajo, 2 DatosInm,
// 3 Mobiliario, 4 DatosDirecta, 5 DatosModulos, 6 DatosAgricolas, 8 Ganancias,
// 9 Reducciones, 10 DCuota): an opener edits the declaration and returns true when the user
// saved. A number nobody registered opens nothing.
//
// The last declaration stays in "DatosCa21.Ini" in the user's private folder
// ${XDG_STATE_HOME:-$HOME/.local/state}/simulador-irpf2021 (loaded at start, saved at exit).
// Besides, a client's declaration can be opened from and saved to a file of its own
// ("Abrir…", "Guardar" Ctrl+S, "Guardar como…" Ctrl+Shift+S, the recent files); the caption
// names it. At exit, after a change, "Grabar al Salir" asks Sí / No / Cancelar: Sí writes the
// client's file (when one is open and changed) and "DatosCa21.Ini"; if either fails the
// window stays open with the data and says which; Cancelar stays.
//
// One session at a time owns "DatosCa21.Ini": a lock beside it ("DatosCa21.Ini.lock") is
// held for the window's life. A second session is told at start, does not load the last
// declaration and never writes it: at exit it offers a client's file instead.
#pragma once

#include "Bloqueo.h"
#include "Comparativa.h"
#include "Declaracion.h"
#include "DisposicionHoja.h"
#include "Money.h"

#include <QString>
#include <QWidget>

#include <array>
#include <functional>
#include <map>
#include <string>
#include <vector>

class CampoEdit;
class ListaCampo;
class QAbstractButton;
class QAction;
class QComboBox;
class QDate;
class QLabel;
class QMenu;
class QRadioButton;
class QScrollBar;

class Precalculo : public QWidget {
    Q_OBJECT
public:
    using Pantalla = std::function<bool(simulador::Declaracion &declaracion, QWidget *padre)>;

    explicit Precalculo(QWidget *parent = nullptr);

    void registraPantalla(int numero, Pantalla abre);
    void setAcercaDe(std::function<void(QWidget *)> accion) { m_acercaDe = std::move(accion); }
    void setImprimir(std::function<void(Precalculo &)> accion) { m_imprimir = std::move(accion); }
    // "Exportar PDF" in the file menu; disabled while unset.
    void setExportarPdf(std::function<void(Precalculo &)> accion);
    // The file chooser of "Abrir…" (guardar false) and "Guardar como…" (true): the chosen
    // path, or an empty text when cancelled. By default a file dialog for ".ini" files.
    using EligeFichero = std::function<QString(QWidget *padre, bool guardar, const QString &propuesta)>;
    void setEligeFichero(EligeFichero elige) { m_eligeFichero = std::move(elige); }

    // The screen a section code opens (-1 for none) and the box that takes the focus first.
    struct Apartado {
        int codigo, pantalla, foco;
    };
    static const Apartado *buscaApartado(int codigo);
    // AbreApartado: opens the data behind a section, then recalculates with the view reset.
    void abreApartado(int codigo);

    // Recalcular: the liquidation of the selected mode onto the sheet. `reiniciaVista` brings
    // the sheet to its top with the focus in box 9 first. False (after a message) when the
    // module could not take the typed boxes; the sheet then keeps what it showed.
    bool recalcula(bool reiniciaVista);

    // A client's file onto the sheet, recalculated. False (after a message) when it cannot be
    // read or liquidated: the sheet and the declaration are then exactly as they were.
    bool abreFichero(const QString &ruta);
    // The declaration on the sheet (in euros) into `ruta`, ".ini" added when it has no
    // extension; it becomes the open client's file. False (after a message) when it cannot
    // be written, or a box holds a text that is no amount (the file could not be read
    // back): the previous file and the sheet are untouched, ready for another try.
    bool guardaComo(const QString &ruta);
    // "Guardar": into the open client's file as it is named, or "Guardar como…" when none
    // is open. False when nothing was written (cancelled or failed, after a message).
    bool guarda();
    // F6: the joint and individual liquidations side by side; choosing one switches the
    // selector to it.
    void abreComparativa();

    CampoEdit *casilla(int n) const { return m_casillas[static_cast<std::size_t>(n)]; }
    QString textoCasilla(int n) const;
    int modalidad() const;
    bool enPesetas() const { return m_enPesetas; }
    bool listo() const { return m_listo; }
    bool modificado() const { return m_modificado; }
    const simulador::Declaracion &declaracion() const { return m_decl; }
    QString rutaFichero() const { return m_ruta; }        // ".../simulador-irpf2021/DatosCa21.Ini"
    QString ficheroCliente() const { return m_rutaCliente; }  // empty until one is opened or saved
    // Changes since the declaration was last read from or written to any file.
    bool cambiosSinGuardar() const { return m_sinGuardar; }
    // Another session held the last declaration's lock at start: this one leaves it alone.
    bool segundaSesion() const { return m_segundaSesion; }
    QScrollBar *barra() const { return m_vs; }
    QWidget *hoja() const { return m_hoja; }

    static QString fechaLarga(const QDate &fecha);  // "05 de marzo del 2021"

protected:
    void showEvent(QShowEvent *e) override;
    void closeEvent(QCloseEvent *e) override;
    bool eventFilter(QObject *obj, QEvent *e) override;

private:
    void construyeHoja();
    void construyeControles();
    void construyeMenus();
    void ordenTabulacion();
    void compruebaPantalla();
    void arranca();
    void construyeMenuFichero(int x, int y);
    void cargaDeclaracion();
    bool guardaCliente(const QString &destino);
    bool guardaAlSalir();
    QString escribeEn(const QString &destino);
    bool esUltimaDeclaracion(const QString &ruta) const;
    bool casillasLegibles();
    void ponCasillas(const simulador::Declaracion &d);
    void muestraAvisos(const QString &ruta, const std::vector<std::string> &avisos);
    void marcaCambio();
    void actualizaTitulo();
    void actualizaRecientes();
    bool puedeDescartarCambios();
    void accionAbrir();
    bool accionGuardarComo();
    void eligeModalidad(int modalidad);
    void muestraResultados(const std::array<simulador::Money, simulador::kNumCasillas> &r);
    void pasaCasillasADeclaracion();
    bool teclaCasilla(int n, QKeyEvent *e);
    bool teclaHoja(QKeyEvent *e);
    bool confirmaCasilla(int n);
    void entraCasilla(int n);
    void clicCabecera(int indice);
    void clicBoton(int indice);
    void inicializaCampos();
    void ponPesetas(bool pesetas);
    void seleccionaModalidad();
    void desplaza(int valor);
    void enfocaCasilla(int n);
    bool abrePantalla(int numero);
    void reiniciaDatos();

    simulador::Declaracion m_decl;
    std::array<CampoEdit *, simulador::kNumCasillas> m_casillas{};
    std::map<int, QLabel *> m_cabeceras;  // by header control index
    std::array<QString, 99> m_textosEuro;  // boxes 0-98 while pesetas are shown
    std::map<int, Pantalla> m_pantallas;
    std::function<void(QWidget *)> m_acercaDe;
    std::function<void(Precalculo &)> m_imprimir;
    std::function<void(Precalculo &)> m_exportarPdf;
    EligeFichero m_eligeFichero;

    QWidget *m_ventana = nullptr;  // PcWin
    QWidget *m_hoja = nullptr;     // Pc(0)
    QScrollBar *m_vs = nullptr;
    QComboBox *m_cb = nullptr;
    QRadioButton *m_euros = nullptr;
    QRadioButton *m_pesetas = nullptr;
    std::array<QAbstractButton *, 6> m_botones{};
    QAbstractButton *m_imEuro = nullptr;
    QLabel *m_lbMsg = nullptr;
    QLabel *m_lbKalvio = nullptr;
    QLabel *m_label1 = nullptr;
    QLabel *m_lbCod = nullptr;
    ListaCampo *m_lista = nullptr;
    QMenu *m_menu = nullptr;           // MnOpMnt
    QMenu *m_menuActividades = nullptr;  // MnAct
    QMenu *m_menuAhorro = nullptr;     // MnBLq
    std::array<QAction *, 12> m_mnMnt{};
    QAbstractButton *m_btComparativa = nullptr;
    QAbstractButton *m_btFichero = nullptr;
    QMenu *m_menuFichero = nullptr;
    QAction *m_acAbrir = nullptr;
    QAction *m_acGuardar = nullptr;
    QAction *m_acGuardarComo = nullptr;
    QAction *m_acExportarPdf = nullptr;
    QAction *m_acComparativa = nullptr;
    QAction *m_sepRecientes = nullptr;   // the recent files go after it
    std::vector<QAction *> m_recientes;

    simulador::Desplazamiento m_desp;
    simulador::Money m_valorEntrada;
    QString m_textoEntrada;
    QString m_ruta;
    QString m_rutaCliente;
    simulador::Bloqueo m_bloqueo;   // on m_ruta + ".lock", held while the window lives
    simulador::Reparto m_reparto;   // the comparison's shares, kept while the client is
    bool m_segundaSesion = false;
    bool m_primeraActivacion = true;
    bool m_listo = false;
    bool m_modificado = false;
    bool m_enPesetas = false;
    bool m_sinGuardar = false;
};
