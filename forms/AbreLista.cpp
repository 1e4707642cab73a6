#include "AbreLista.h"

#include "PantallaLista.h"

namespace {
bool abre(simulador::TipoLista tipo, simulador::Declaracion &d, QWidget *parent)
{
    PantallaLista pantalla(tipo, d, parent);
    if (pantalla.exec() != QDialog::Accepted)
        return false;
    d = pantalla.declaracion();
    return true;
}
}  // namespace

bool AbreMobiliario(simulador::Declaracion &d, QWidget *parent) { return abre(simulador::TipoLista::Mobiliario, d, parent); }
bool AbreGanancias(simulador::Declaracion &d, QWidget *parent) { return abre(simulador::TipoLista::Ganancias, d, parent); }
bool AbreDCuota(simulador::Declaracion &d, QWidget *parent) { return abre(simulador::TipoLista::DCuota, d, parent); }
