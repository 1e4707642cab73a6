#include "Declaracion.h"

#include "TablaCasillas.h"

namespace simulador {

Declaracion::Declaracion()
{
    for (int n = 0; n < kCasillasTecleables; ++n)
        Casillas[n].Entrada = EsEntrada(n);
}

const CampoSumado *BuscaSumado(Money DatosRenta::*campo)
{
    for (const CampoSumado &s : kCamposSumados) {
        if (s.campo == campo)
            return &s;
    }
    return nullptr;
}

void RehaceSiNoTrabajo(std::array<DatosRenta, 3> &rentas)
{
    const DatosRenta &a = rentas[1];
    const DatosRenta &b = rentas[2];
    // Geographic mobility (art. 19.2.f LIRPF) and its companion yes/no count only for a
    // person who has employment income.
    for (std::string DatosRenta::*si : {&DatosRenta::TrabMovilidad, &DatosRenta::TrabOpcion2}) {
        const bool aplica = (a.TrabIngresos.positive() && a.*si == "Sí") || (b.TrabIngresos.positive() && b.*si == "Sí");
        rentas[0].*si = aplica ? "Sí" : "No";
    }
}

void RehaceTotales(Declaracion &d)
{
    DatosRenta &t = d.Rentas[0];
    for (const CampoSumado &s : kCamposSumados)
        t.*s.campo = d.Rentas[1].*s.campo + d.Rentas[2].*s.campo;
    RehaceSiNoTrabajo(d.Rentas);
}

}  // namespace simulador
