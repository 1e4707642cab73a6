// What the data-entry screens share, in the data screens' frame (MarcoDatos: the euro image,
// "&Guardar" and "&Salir", the question on leaving): the boxes of the field layer on a
// light-cyan ground, one pop-up list and the title label.
//
// A screen works on its own copy of the declaration; its guardar() writes the boxes into
// that copy and accepts, or shows the module's message and puts the focus back on the box
// at fault.
#pragma once

#include "Campos.h"
#include "Declaracion.h"
#include "MarcoDatos.h"

#include <string>
#include <vector>

class CampoEdit;
class ListaCampo;
class QLabel;

class DialogoDatos : public MarcoDatos {
    Q_OBJECT
public:
    const simulador::Declaracion &declaracion() const { return m_decl; }
    CampoEdit *caja(int n) const { return m_cajas.at(static_cast<std::size_t>(n)); }
    int numCajas() const { return static_cast<int>(m_cajas.size()); }
    ListaCampo *lista() const { return m_lista; }
    // Whether leaving now would lose something typed: a box holds another value than the
    // screen's copy of the declaration gives it (compared as values, so a box merely
    // entered, "1500,00" for "1.500,00", has not changed).
    bool cambiado() const override;

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

    // What each box shows for the screen's copy of the declaration, as the screen fills them.
    virtual std::vector<std::string> textosGuardados() const = 0;
    bool eventFilter(QObject *obj, QEvent *e) override;

    simulador::Declaracion m_decl;
    std::vector<CampoEdit *> m_cajas;

private:
    ListaCampo *m_lista = nullptr;
    QLabel *m_titulo = nullptr;
};

// 15 twips to a pixel: the screens' measures were given in twips.
constexpr int Pixeles(int twips) { return (twips + 7) / 15; }
