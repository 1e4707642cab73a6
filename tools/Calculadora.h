// The desk calculator's screen: buttons and keys in, the module's state machine
// (simulador::MaquinaCalculadora) does the rest, the display label shows its text.
#pragma once

#include "MaquinaCalculadora.h"

#include <QDialog>

class QAbstractButton;
class QLabel;
class QPushButton;

class Calculadora : public QDialog {
    Q_OBJECT
public:
    // `valorCampo`: the field's value as text; "V" and "Aceptar" are enabled only when it is
    // numeric.
    explicit Calculadora(const QString &valorCampo, QWidget *parent = nullptr);

    // After exec(): the result for the field ("12", "-0,5"), or "*" when not accepted.
    QString valorIntercambio() const { return m_intercambio; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void pulsa(simulador::Pulsacion p);
    void aceptar();
    bool trataTecla(QKeyEvent *event);  // true when the key was the calculator's
    QAbstractButton *boton(simulador::Pulsacion p) const;
    void avisa(simulador::MaquinaCalculadora::Aviso aviso);

    simulador::MaquinaCalculadora m_calc;
    QString m_intercambio = QStringLiteral("*");
    QLabel *m_readout = nullptr;
    QPushButton *m_number[10] = {};
    QPushButton *m_operator[5] = {};
    QPushButton *m_pDecimal = nullptr;
    QPushButton *m_percent = nullptr;
    QPushButton *m_cancel = nullptr;
    QPushButton *m_cancelEntry = nullptr;
    QPushButton *m_importar = nullptr;
    QPushButton *m_cmOp[2] = {};  // 0 "Aceptar", 1 "Cancelar"
};
