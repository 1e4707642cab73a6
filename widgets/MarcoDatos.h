// The frame every data screen shares, the entry dialogs and the list grids alike: the window
// title, the euro image (a click opens the converter, and Ctrl+E where the screen takes it),
// the buttons "&Guardar" (the screen's guardar()) and "&Salir", and the question on every way
// out but Guardar ("&Salir", Escape, the window's close button): with changes, "¿Desea salir
// sin guardar los cambios?", whose No, the default, keeps the screen as it was.
//
// A screen places euro() and the buttons in its own layout, says in cambiado() whether leaving
// would lose something, and stores in guardar().
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

class MarcoDatos : public QDialog {
    Q_OBJECT
public:
    // Whether leaving now would lose something typed.
    virtual bool cambiado() const = 0;
    void reject() override;

protected:
    MarcoDatos(const QString &titulo, bool atajoEuro, QWidget *parent);

    virtual void guardar() = 0;
    QLabel *euro() const { return m_euro; }
    QPushButton *botonGuardar() const { return m_guardar; }
    QPushButton *botonSalir() const { return m_salir; }
    bool eventFilter(QObject *obj, QEvent *e) override;

private:
    QLabel *m_euro = nullptr;
    QPushButton *m_guardar = nullptr;
    QPushButton *m_salir = nullptr;
};
