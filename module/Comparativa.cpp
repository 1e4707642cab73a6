#include "Comparativa.h"

#include "TextoImporte.h"

namespace simulador {

ResumenLiquidacion Resume(const Resultado &r)
{
    return {r[34], r[62], r[73] + r[74], r[88] + r[89], r[105], r[106]};
}

ResumenLiquidacion Suma(const ResumenLiquidacion &a, const ResumenLiquidacion &b)
{
    return {a.baseGeneral + b.baseGeneral,   a.baseAhorro + b.baseAhorro,   a.cuotaIntegra + b.cuotaIntegra,
            a.cuotaLiquida + b.cuotaLiquida, a.retenciones + b.retenciones, a.resultado + b.resultado};
}

const char *NombreMejor(Mejor m)
{
    switch (m) {
    case Mejor::Conjunta: return "CONJUNTA";
    case Mejor::Individual: return "INDIVIDUAL";
    case Mejor::Igual: break;
    }
    return "IGUAL";
}

Comparativa Compara(const Declaracion &d)
{
    Comparativa c;
    c.hayConyuge = d.Miembros[1].AnoNac > 0;
    Resultado *destino[] = {&c.conjunta, &c.declarante, &c.conyuge};
    for (Modalidad modo : {Modalidad::Conjunta, Modalidad::Declarante, Modalidad::Conyuge}) {
        const Calculo calculo = Recalcular(d, modo);
        if (!calculo.ok) {
            Comparativa fallo;
            fallo.ok = false;
            fallo.mensaje = calculo.mensaje;
            return fallo;
        }
        *destino[Indice(modo)] = calculo.resultado;
    }
    try {
        c.resumenConjunta = Resume(c.conjunta);
        c.resumenDeclarante = Resume(c.declarante);
        c.resumenConyuge = Resume(c.conyuge);
        // Without a spouse there is no spouse's return to add.
        c.resumenIndividual =
            c.hayConyuge ? Suma(c.resumenDeclarante, c.resumenConyuge) : c.resumenDeclarante;
        const Money conjunta = c.resumenConjunta.resultado;
        const Money individual = c.resumenIndividual.resultado;
        // The lower result is the better one: less to pay or more to get back.
        if (conjunta < individual) {
            c.mejor = Mejor::Conjunta;
            c.diferencia = individual - conjunta;
            c.veredicto = "La tributación conjunta resulta " + FormatoImporte(c.diferencia) + " € más favorable.";
        } else if (individual < conjunta) {
            c.mejor = Mejor::Individual;
            c.diferencia = conjunta - individual;
            c.veredicto = "La tributación individual resulta " + FormatoImporte(c.diferencia) + " € más favorable.";
        } else {
            c.mejor = Mejor::Igual;
            c.veredicto = "La tributación conjunta y la individual dan el mismo resultado.";
        }
    } catch (const ErrorImporte &) {
        Comparativa fallo;
        fallo.ok = false;
        fallo.mensaje = "Importe fuera de rango: la comparación no cabe en el tipo de importe.";
        return fallo;
    }
    return c;
}

}  // namespace simulador
