// Entry points of the list screens for the main window's screen table: each shows its
// screen modally on a copy of `d` and copies the result back only when the user saved.
#pragma once

#include "Declaracion.h"

class QWidget;

bool AbreMobiliario(simulador::Declaracion &d, QWidget *parent);  // screen 3
bool AbreGanancias(simulador::Declaracion &d, QWidget *parent);   // screen 8
bool AbreDCuota(simulador::Declaracion &d, QWidget *parent);      // screen 10
