// The euro/peseta converter: two boxes, one per currency, the one chosen with the options
// converting into the other while the user types, and a printed reference table.
#pragma once

#include <QDialog>

class QLineEdit;
class QRadioButton;

class Euro : public QDialog {
    Q_OBJECT
public:
    explicit Euro(QWidget *parent = nullptr);

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void eligeSentido(int indice);  // 0 from pesetas, 1 from euros
    void convierte(int indice);     // the text of box `indice` changed
    bool filtraTecla(int indice, QKeyEvent *event);

    QLineEdit *m_cmp[2] = {};     // 0 pesetas, 1 euros
    QRadioButton *m_op[2] = {};   // 0 "Pesetas", 1 "Euros"
};
