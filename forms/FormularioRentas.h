// The six screens of two columns, "Declarante" and "Cónyuge": DatosTrabajo, DatosInm,
// DatosDirecta, DatosModulos, DatosAgricolas and Reducciones. One class: each screen is the
// module's field table for it (Formularios.h), laid out as rows of captioned pairs or, on
// DatosInm, as a row per person in two captioned blocks.
#pragma once

#include "DialogoDatos.h"
#include "Formularios.h"

class FormularioRentas : public DialogoDatos {
    Q_OBJECT
public:
    FormularioRentas(simulador::PantallaRenta pantalla, const simulador::Declaracion &decl, QWidget *parent = nullptr);

    simulador::PantallaRenta pantalla() const { return m_pantalla; }

private:
    void guardar() override;
    std::vector<std::string> textosGuardados() const override;
    QLayout *columnas(std::vector<CampoEdit *> &orden);
    QLayout *porPersonas(std::vector<CampoEdit *> &orden);

    simulador::PantallaRenta m_pantalla;
};
