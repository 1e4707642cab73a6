// The pop-up list of a screen: one per screen, shown under the list field that has the
// focus. Double click or Enter copies the chosen item into the field and moves on; Esc
// goes back to the field unchanged.
#pragma once

#include <QListWidget>
#include <QPointer>

class CampoEdit;

class ListaCampo : public QListWidget {
    Q_OBJECT
public:
    // `pantalla` is the widget the list floats over (the screen's top widget).
    explicit ListaCampo(QWidget *pantalla);

    // MuestraLista: hides the list, then opens it under `campo` when it is a list field.
    void muestra(CampoEdit *campo);
    // AceptaLista: the selected item into the field, the focus back to it, then on to the next field.
    void acepta();
    CampoEdit *campo() const { return m_campo; }

protected:
    void keyPressEvent(QKeyEvent *e) override;

private:
    QPointer<CampoEdit> m_campo;
};
