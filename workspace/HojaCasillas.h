// The sheet of 109 boxes ("Pc") behind its fixed window ("PcWin"), with the scroll bar
// ("Vs") that pages it: built from the module's layout, it shows results, keeps the euro
// texts while the peseta view is on, and interprets the sheet's keys.
//
// A key on a box is interpreted once. The box (CampoEdit) owns typing, Enter, Down, Up, F4
// and Ctrl+E; before it moves on it asks this sheet, which confirms the box (a changed
// amount recalculates), keeps the focus in the last input box and scrolls to the top from
// the first one. Paging and Ctrl+Home / Ctrl+End are not the box's: it lets them go on to
// this widget's keyPressEvent, which also takes the keys pressed on the sheet itself.
//
// Where a box comes from is asked by F1 on it, or by a double click on a result box (a
// double click on an input box stays the edit control's: it selects a word).
#pragma once

#include "DisposicionHoja.h"
#include "Liquidar.h"
#include "Money.h"

#include <QFont>
#include <QString>
#include <QWidget>

#include <array>
#include <functional>

class CampoEdit;
class QScrollBar;

class HojaCasillas : public QWidget {
    Q_OBJECT
public:
    explicit HojaCasillas(QWidget *parent = nullptr);
    static QFont fuente(bool negrita = false);  // the sheet's Arial 8.25, the window's too

    CampoEdit *casilla(int n) const { return m_casillas[static_cast<std::size_t>(n)]; }
    QWidget *lamina() const { return m_lamina; }  // the sheet that moves behind the window
    QScrollBar *barra() const { return m_vs; }
    // The box that had the focus last (the current one while the focus is in a box); -1
    // before any.
    int casillaActual() const { return m_actual; }

    // What a changed box confirmed with Enter or Down, and F4, start: the liquidation onto
    // the sheet. False when the module could not take the typed boxes (it has said why).
    void setRecalcula(std::function<bool()> recalcula) { m_recalcula = std::move(recalcula); }

    void desplaza(int valor);
    void enfocaCasilla(int n);  // when the box can take the focus
    void alInicio();            // the sheet's top, the focus in the first input box
    void dejaCasilla();         // the box being edited is left (and formatted)

    void ponTextos(const simulador::Declaracion &d);   // boxes 1-106 from a declaration
    void pasaA(simulador::Declaracion &d) const;        // the typed texts, in euros even in pesetas
    void muestraResultados(const simulador::Resultado &r);
    void limpia();                                      // boxes 0-106 emptied

    // The peseta view: boxes 0-98 converted, nothing editable; off, the euro texts come back.
    void ponPesetas(bool pesetas);
    bool enPesetas() const { return m_enPesetas; }

signals:
    void cambiada();                          // the user changed a box's text
    void cabeceraPulsada(int indice);         // a section header ("LbMnt" index) clicked
    // A right click on the sheet: on a box, that box; elsewhere, the current box.
    void menuPedido(const QPoint &global, int casilla);
    void explicacionPedida(int casilla);      // F1 on a box, a double click on a result box
    void vistaCambiada(bool enPesetas);

protected:
    void keyPressEvent(QKeyEvent *e) override;
    bool eventFilter(QObject *obj, QEvent *e) override;

private:
    void construye();
    CampoEdit *creaCasilla(int n, const QRect &r, bool visible);
    bool alMover(int n, bool atras);
    bool confirmaCasilla(int n);
    void entraCasilla(int n);
    int numeroDe(const QObject *obj) const;  // the box's number; -1 for anything else

    std::array<CampoEdit *, simulador::kNumCasillas> m_casillas{};
    std::array<QString, 99> m_textosEuro;  // boxes 0-98 while pesetas are shown
    std::function<bool()> m_recalcula;
    QWidget *m_ventana = nullptr;  // PcWin
    QWidget *m_lamina = nullptr;   // Pc(0)
    QScrollBar *m_vs = nullptr;
    simulador::Desplazamiento m_desp;
    simulador::Money m_valorEntrada;  // the box's amount when it took the focus
    QString m_textoEntrada;
    bool m_enPesetas = false;
    int m_actual = -1;
};
