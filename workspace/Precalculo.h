// The main window: the sheet (HojaCasillas), the liquidation selector, the peseta view, the
// section menus, the file menu and the buttons, wired to the declaration and its files
// (DocumentoDeclaracion). It holds no figure: every figure on the sheet comes from the
// module's Recalcular, in the mode the selector shows.
//
// Data screens are plugged in by number (module/Hoja.h, PantallaDatos: 0 UnidadFam,
// 1 DatosTrabajo, 2 DatosInm, 3 Mobiliario, 4 DatosDirecta, 5 DatosModulos, 6 DatosAgricolas,
// 8 Ganancias, 9 Reducciones, 10 DCuota): an opener edits the declaration and returns true
// when the user saved. A number nobody registered opens nothing.
#pragma once

#include "Declaracion.h"
#include "DocumentoDeclaracion.h"
#include "Modalidad.h"

#include <QString>
#include <QWidget>

#include <array>
#include <functional>
#include <map>
#include <vector>

class CampoEdit;
class HojaCasillas;
class QAbstractButton;
class QAction;
class QComboBox;
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
    using EligeFichero = DocumentoDeclaracion::EligeFichero;
    void setEligeFichero(EligeFichero elige) { m_documento->setEligeFichero(std::move(elige)); }

    // simulador FICHERO: that client's file is opened at start instead of offering the last
    // declaration (see DocumentoDeclaracion::inicia). Set before the window is first shown.
    void abreAlInicio(const QString &ruta) { m_ficheroInicial = ruta; }
    // The desktop entry every window belongs to (the task bar matches it with the entry's
    // StartupWMClass) and the program's icon on every window. Once, after the QApplication.
    static void identificaPrograma();

    // AbreApartado: opens the data behind a section, then recalculates with the view reset.
    void abreApartado(int codigo);

    // A client's file onto the sheet, recalculated. False (after a message) when it cannot be
    // read or liquidated: the sheet and the declaration are then exactly as they were.
    bool abreFichero(const QString &ruta) { return m_documento->abre(ruta); }
    // The declaration on the sheet (in euros) into `ruta`, ".ini" added when it has no
    // extension; it becomes the open client's file. False (after a message) when it cannot
    // be written, or a box holds a text that is no amount (the file could not be read
    // back): the previous file and the sheet are untouched, ready for another try.
    bool guardaComo(const QString &ruta) { return m_documento->guardaComo(ruta); }
    // "Guardar": into the open client's file as it is named, or "Guardar como…" when none
    // is open. False when nothing was written (cancelled or failed, after a message).
    bool guarda() { return m_documento->guarda(); }
    // F6: the joint and individual liquidations side by side; choosing one switches the
    // selector to it.
    void abreComparativa();
    // "Detalle de la casilla N" for box `n`, in the liquidation and the currency the sheet
    // shows, after the sheet has taken what is typed in its boxes (as Enter would).
    void explicaCasilla(int n);

    CampoEdit *casilla(int n) const;
    QString textoCasilla(int n) const;
    int modalidad() const;
    bool enPesetas() const;
    bool listo() const { return m_listo; }
    const simulador::Declaracion &declaracion() const { return m_documento->declaracion(); }
    bool modificado() const { return m_documento->modificado(); }
    QString rutaFichero() const { return m_documento->rutaFichero(); }        // ".../DatosCa21.Ini"
    QString ficheroCliente() const { return m_documento->ficheroCliente(); }  // empty until one is opened or saved
    // Changes since the declaration was last read from or written to any file.
    bool cambiosSinGuardar() const { return m_documento->cambiosSinGuardar(); }
    // Another session held the last declaration's lock at start: this one leaves it alone.
    bool segundaSesion() const { return m_documento->segundaSesion(); }
    QScrollBar *barra() const;
    QWidget *hoja() const;  // the sheet that moves behind its window

protected:
    void showEvent(QShowEvent *e) override;
    void closeEvent(QCloseEvent *e) override;
    bool eventFilter(QObject *obj, QEvent *e) override;

private:
    void construyeControles();
    void construyeMenuFichero();
    void construyeMenus();
    void ordenTabulacion();
    void arranca();
    void actualizaTitulo();
    void vistaCambiada(bool pesetas);
    void seleccionaModalidad();
    void eligeModalidad(int modalidad);
    simulador::Modalidad modalidadActual() const;
    bool recalcula(bool reiniciaVista);
    void clicCabecera(int indice);
    void clicBoton(int indice);
    void muestraMenu(const QPoint &global, int casilla);
    void inicializaCampos();
    bool abrePantalla(int numero);

    HojaCasillas *m_hoja = nullptr;
    DocumentoDeclaracion *m_documento = nullptr;
    std::map<int, Pantalla> m_pantallas;
    std::function<void(QWidget *)> m_acercaDe;
    std::function<void(Precalculo &)> m_imprimir;
    std::function<void(Precalculo &)> m_exportarPdf;

    QComboBox *m_cb = nullptr;
    QRadioButton *m_euros = nullptr;
    QRadioButton *m_pesetas = nullptr;
    std::array<QAbstractButton *, 6> m_botones{};  // CmOp: 0 Salir, 1 about, 2 clear, 3 family, 4 print, 5 menu
    QAbstractButton *m_btComparativa = nullptr;
    QAbstractButton *m_btFichero = nullptr;
    QLabel *m_lbMsg = nullptr;
    QLabel *m_lbCod = nullptr;
    QMenu *m_menu = nullptr;             // MnOpMnt
    QMenu *m_menuActividades = nullptr;  // MnAct
    QMenu *m_menuAhorro = nullptr;       // MnBLq
    QAction *m_acExportarPdf = nullptr;
    QAction *m_acComparativa = nullptr;
    QAction *m_acExplica = nullptr;  // the section menu's first item, on m_casillaMenu
    int m_casillaMenu = -1;

    QString m_ficheroInicial;
    bool m_primeraActivacion = true;
    bool m_listo = false;
};
