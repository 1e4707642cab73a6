// The data-entry screens plugged into the main workspace's screen table: 0 UnidadFam,
// 1 DatosTrabajo, 2 DatosInm, 4 DatosDirecta, 5 DatosModulos, 6 DatosAgricolas,
// 9 Reducciones.
#pragma once

#include "Declaracion.h"
#include "Formularios.h"

class Precalculo;
class QWidget;

// Each opener shows its screen modally on a copy of `d` and copies back what the screen
// stored; true when that changed the declaration.
bool AbreUnidadFam(simulador::Declaracion &d, QWidget *parent);
bool AbreRentas(simulador::PantallaRenta pantalla, simulador::Declaracion &d, QWidget *parent);

// Registers the seven screens; after UnidadFam has stored the household, the name goes to
// the workspace's status line.
void RegistraFormularios(Precalculo &p);
