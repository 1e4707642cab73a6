// What the data-entry screens share: the boxes of the field layer on a light-cyan ground,
// one pop-up list, the title label, the euro image and the two buttons "&Guardar" (stores,
// then closes) and "&Salir" (the cancel button: Escape does the same, storing nothing).
//
// A screen works on its own copy of the declaration; its guardar() writes the boxes into
// that copy and accepts, or shows the module's message and puts the focus back on the box
// at fault. Every other way out ("&Salir", Escape, the window's close button) asks first
// when leaving would lose something typed.
#pragma once

#include "Campos.h"
#include "Declaracion.h"

#include <QDialog>

#include <string>
#include <vector>

class CampoEdit;
class ListaCampo;
class QBoxLayout;
class QLabel;
class QPushButton;

class DialogoDatos : public QDialog {
    Q_OBJECT
public:
    const simulador::Declaracion &declaracion() const { return m_decl; }
    CampoEdit *caja(int n) const { return m_cajas.at(static_cast<std::size_t>(n)); }
    int numCajas() const { return static_cast<int>(m_cajas.size()); }
    ListaCampo *lista() const { return m_lista; }
    // Whether leaving now would lose something typed: a box holds another value than the
    // screen's copy of the declaration gives it (compared as values, so a box merely
    // entered, "1500,00" for "1.500,00", has not changed).
    bool cambiado() const;
    // With changes, asks "¿Desea salir sin guardar los cambios?" first; No (the default)
    // keeps the screen open as it was.
    void reject() override;

    static const QColor kCian;  // the ground of every data-entry box

protected:
    DialogoDatos(const QString &titulo, int numCajas, const simulador::Declaracion &decl, QWidget *parent);

    // Box `def.ayuda` of the screen, named "Cmp<n>" for the tests, with the screen's list.
    CampoEdit *nuevaCaja(const simulador::DefCampo &def, int anchoTwips);
    // Puts the title label above `cuerpo` and the euro image and the buttons below it; the
    // tab order then runs through `orden` and on to the buttons.
    void monta(QLayout *cuerpo, const std::vector<CampoEdit *> &orden);
    // Shows a refusal of the module and gives the focus back to the box at fault.
    void rechaza(const std::string &mensaje, int caja);

    virtual void guardar() = 0;
    // What each box shows for the screen's copy of the declaration, as the screen fills them.
    virtual std::vector<std::string> textosGuardados() const = 0;
    bool eventFilter(QObject *obj, QEvent *e) override;

    simulador::Declaracion m_decl;
    std::vector<CampoEdit *> m_cajas;

private:
    void abreEuro();

    ListaCampo *m_lista = nullptr;
    QLabel *m_titulo = nullptr;
    QLabel *m_euro = nullptr;
    QPushButton *m_guardar = nullptr;
    QPushButton *m_salir = nullptr;
};

// 15 twips to a pixel: the screens' measures were given in twips.
constexpr int Pixeles(int twips) { return (twips + 7) / 15; }
