// One field of a screen: an edit box driven by a field definition of the module (code and
// list definition). It filters keys with TeclaCampo, shows the editing form on focus and
// the display form when left (white fields only), turns Enter, Down and Up into moves along
// the focus chain and opens the screen's pop-up list for list fields. Paging and Ctrl+Home /
// Ctrl+End are the screen's keys, not the field's: they go on to the widget holding it. F4
// opens the calculator on the field's value and Ctrl+E the euro converter (Herramientas.h).
//
// Nothing reaches the text around the filter: typed characters, text an input method
// composes, pasted text (keys or the middle button; an amount as its editing form, see
// TeclasDePegado) go through it one by one, drops are not taken, and a key with Alt or
// Ctrl held is a command, never typing (an Alt+letter naming a button is that button's
// shortcut and never gets here).
//
// The screen wires its own behaviour through the signals and through setAlMover, which
// may hold a move (the main sheet confirms a box and recalculates before the focus leaves).
#pragma once

#include "Campos.h"

#include <QColor>
#include <QLineEdit>

#include <functional>

class ListaCampo;

class CampoEdit : public QLineEdit {
    Q_OBJECT
public:
    // A field defined as DefineCampo does: help number, data name, code and list definition.
    CampoEdit(int ayuda, const QString &dato, const QString &codigo, const QString &lista, QWidget *parent = nullptr);
    // A field without definition: takes every key, is never formatted, has no length limit.
    explicit CampoEdit(QWidget *parent = nullptr);

    const simulador::DefCampo &definicion() const { return m_def; }
    int ayuda() const { return m_def.ayuda; }
    QString dato() const;
    QString codigo() const;
    QString especLista() const;

    // The screen's pop-up list, shown under this field when it is a list field.
    void setLista(ListaCampo *lista) { m_lista = lista; }
    // A protected field passes the focus on to the next field as soon as it gets it.
    void setProtegido(bool protegido) { m_protegido = protegido; }
    bool protegido() const { return m_protegido; }
    // The background; only white fields take their display form when left.
    void setFondo(const QColor &color);
    QColor fondo() const { return m_fondo; }

    // The focus moves to the next (or previous) field once the current event is over.
    void enviaTab(bool atras = false);

    // Enter and Down move to the next field, Up to the previous one, unless the screen's hook
    // says false: the focus then stays. Unset: every move goes ahead.
    enum class Movimiento { Siguiente, Anterior };
    using AlMover = std::function<bool(Movimiento)>;
    void setAlMover(AlMover alMover) { m_alMover = std::move(alMover); }

    static const QColor kBlanco;       // input fields
    static const QColor kVerdeClaro;   // while the calculator is open

signals:
    void entrado();              // the field took the focus and shows its editing form
    void confirmado();           // Enter or Down, the move allowed, just before it happens
    void calculadoraCerrada();   // F4: the calculator closed and may have changed the text

protected:
    void focusInEvent(QFocusEvent *e) override;
    void focusOutEvent(QFocusEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;
    void inputMethodEvent(QInputMethodEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;
    void paintEvent(QPaintEvent *e) override;

private:
    void iniciaAspecto();
    void calculadoraCampo();
    bool filtraTecla(char32_t tecla);
    void pega(const QString &texto);  // pasted text, character by character through the filter

    simulador::DefCampo m_def;
    bool m_definido = false;
    bool m_protegido = false;
    bool m_seleccionaAlSoltar = false;  // focus came with a mouse press: select on its release
    QColor m_fondo = kBlanco;
    ListaCampo *m_lista = nullptr;
    AlMover m_alMover;
};
