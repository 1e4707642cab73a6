// The euro/peseta converter: two boxes, one per currency, the one chosen with the options
// converting into the other while the user types, and a printed reference table. The boxes
// are fields like the screens' (CampoEdit), with the module's codes for pesetas and euros.
#pragma once

#include <QDialog>

class CampoEdit;
class QRadioButton;

class Euro : public QDialog {
    Q_OBJECT
public:
    explicit Euro(QWidget *parent = nullptr);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void eligeSentido(int indice);  // 0 from pesetas, 1 from euros
    void convierte(int indice);     // the text of box `indice` changed

    CampoEdit *m_cmp[2] = {};     // 0 pesetas, 1 euros
    QRadioButton *m_op[2] = {};   // 0 "Pesetas", 1 "Euros"
};
