// The data screens by their number in the main window's screen table: 0 UnidadFam,
// 1 DatosTrabajo, 2 DatosInm, 3 Mobiliario, 4 DatosDirecta, 5 DatosModulos, 6 DatosAgricolas,
// 8 Ganancias, 9 Reducciones, 10 DCuota. The program hands them to the window at start.
#pragma once

#include "Declaracion.h"
#include "Formularios.h"

#include <functional>
#include <vector>

class QWidget;

// Each opener shows its screen modally on a copy of `d` and copies back what the screen
// stored; true when that changed the declaration.
bool AbreUnidadFam(simulador::Declaracion &d, QWidget *parent);
bool AbreRentas(simulador::PantallaRenta pantalla, simulador::Declaracion &d, QWidget *parent);

struct PantallaDeDatos {
    int numero;
    std::function<bool(simulador::Declaracion &d, QWidget *parent)> abre;
};
std::vector<PantallaDeDatos> PantallasDeDatos();
