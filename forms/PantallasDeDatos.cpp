#include "PantallasDeDatos.h"

#include "AbreLista.h"
#include "FormularioRentas.h"
#include "UnidadFam.h"

using namespace simulador;

namespace {
bool Devuelve(const DialogoDatos &pantalla, Declaracion &d)
{
    if (pantalla.declaracion() == d)
        return false;
    d = pantalla.declaracion();
    return true;
}
}  // namespace

bool AbreUnidadFam(Declaracion &d, QWidget *parent)
{
    UnidadFam pantalla(d, parent);
    pantalla.exec();
    // Not only on Accepted: rows stored before a refused birth year stay stored after "&Salir".
    return Devuelve(pantalla, d);
}

bool AbreRentas(PantallaRenta p, Declaracion &d, QWidget *parent)
{
    FormularioRentas pantalla(p, d, parent);
    if (pantalla.exec() != QDialog::Accepted)
        return false;
    return Devuelve(pantalla, d);
}

std::vector<PantallaDeDatos> PantallasDeDatos()
{
    std::vector<PantallaDeDatos> pantallas = {{0, &AbreUnidadFam}, {3, &AbreMobiliario}, {8, &AbreGanancias},
                                              {10, &AbreDCuota}};
    for (const PantallaRenta pantalla : PantallasRenta())
        pantallas.push_back({Formulario(pantalla).numero,
                             [pantalla](Declaracion &d, QWidget *padre) { return AbreRentas(pantalla, d, padre); }});
    return pantallas;
}
