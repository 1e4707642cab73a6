#include "RegistraFormularios.h"

#include "FormularioRentas.h"
#include "Precalculo.h"
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

void RegistraFormularios(Precalculo &p)
{
    p.registraPantalla(0, &AbreUnidadFam);
    for (const PantallaRenta pantalla : PantallasRenta())
        p.registraPantalla(Formulario(pantalla).numero,
                           [pantalla](Declaracion &d, QWidget *padre) { return AbreRentas(pantalla, d, padre); });
}
