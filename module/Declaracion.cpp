#include "Declaracion.h"

#include "TablaCasillas.h"

namespace simulador {

Declaracion::Declaracion()
{
    for (int n = 0; n < kCasillasTecleables; ++n)
        Casillas[n].Entrada = EsEntrada(n);
}

void RehaceTotales(Declaracion &d)
{
    DatosRenta &t = d.Rentas[0];
    const DatosRenta &a = d.Rentas[1];
    const DatosRenta &b = d.Rentas[2];
    // The amounts each screen keeps as sums in entry 0; the rest of entry 0 is not used.
    for (Money DatosRenta::*campo :
         {&DatosRenta::TrabIngresos, &DatosRenta::TrabGastos, &DatosRenta::TrabRetencion, &DatosRenta::TrabReduccion,
          &DatosRenta::TrabContribEmpresa, &DatosRenta::InmIngresos, &DatosRenta::InmGastos, &DatosRenta::InmIntereses,
          &DatosRenta::InmRetencion, &DatosRenta::DirIngresos, &DatosRenta::DirGastos, &DatosRenta::DirPagosFrac,
          &DatosRenta::DirRetencion, &DatosRenta::ModRdtoNeto, &DatosRenta::ModGastosExtra, &DatosRenta::ModPagosFrac,
          &DatosRenta::ModRetencion, &DatosRenta::AgrRdtoNeto, &DatosRenta::AgrGastosExtra, &DatosRenta::AgrPagosFrac,
          &DatosRenta::AgrRetencion, &DatosRenta::RedPlanPension, &DatosRenta::RedAnualidades,
          &DatosRenta::RedAnualidadHijos})
        t.*campo = a.*campo + b.*campo;
    // Geographic mobility (and the second yes/no of the employment screen) counts only for
    // a person who has employment income; "No" otherwise, as the employment screen stores it.
    for (std::string DatosRenta::*si : {&DatosRenta::TrabMovilidad, &DatosRenta::TrabOpcion2}) {
        const bool aplica = (a.TrabIngresos.positive() && a.*si == "Sí") || (b.TrabIngresos.positive() && b.*si == "Sí");
        t.*si = aplica ? "Sí" : "No";
    }
}

}  // namespace simulador
