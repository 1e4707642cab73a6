// "Datos de la Unidad Familiar": the taxpayer's name, the region and a row per member of
// the household (declarant, spouse, six children, two ascendants).
//
// Works on a copy of the declaration, which only "&Guardar" writes. A birth year after 2021
// stops the store at its row with the screen still open: the rows above it are stored in the
// copy by then, so the copy is what the caller takes back however the screen is closed,
// "&Salir" included, and "&Salir" loses only the edits that were never stored. So the
// question on leaving compares the boxes with the copy: it is asked while a box holds
// something the copy does not (the refused year, the rows after it, the name, the region).
#pragma once

#include "DialogoDatos.h"

class UnidadFam : public DialogoDatos {
    Q_OBJECT
public:
    explicit UnidadFam(const simulador::Declaracion &decl, QWidget *parent = nullptr);

signals:
    void almacenado();  // something went into declaracion(): all of it, or the rows before a refusal

private:
    void guardar() override;
    std::vector<std::string> textosGuardados() const override;
};
