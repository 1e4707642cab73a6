#include "Comparativa.h"

#include "TablaCasillas.h"
#include "TextoImporte.h"

namespace simulador {

namespace {

// The declaration as one individual run sees it: each typed box with the part of its
// amount that `reparto` gives to `modo`. A half share is exact: half of the ten-thousandths,
// the odd one (if any) to the declarant, so the two runs always add up to the typed amount.
Declaracion ParaIndividual(const Declaracion &d, const std::vector<CasillaRepartida> &tecleadas, Modalidad modo)
{
    Declaracion r = d;
    for (const CasillaRepartida &t : tecleadas) {
        const Money mitadConyuge = Money::fromUnits(t.importe.units() / 2);
        Money propia;
        switch (t.parte) {
        case Parte::Declarante: propia = modo == Modalidad::Declarante ? t.importe : Money(); break;
        case Parte::Conyuge: propia = modo == Modalidad::Conyuge ? t.importe : Money(); break;
        case Parte::Mitad: propia = modo == Modalidad::Conyuge ? mitadConyuge : t.importe - mitadConyuge; break;
        }
        r.Casillas[static_cast<std::size_t>(t.numero)].Texto = propia.isZero() ? std::string() : FormatoFichero(propia);
    }
    return r;
}

}  // namespace

const char *NombreParte(Parte p)
{
    switch (p) {
    case Parte::Conyuge: return "Cónyuge";
    case Parte::Mitad: return "A partes iguales";
    case Parte::Declarante: break;
    }
    return "Declarante";
}

char LetraParte(Parte p)
{
    switch (p) {
    case Parte::Conyuge: return 'C';
    case Parte::Mitad: return 'M';
    case Parte::Declarante: break;
    }
    return 'D';
}

Parte Reparto::parte(int casilla) const
{
    return casilla >= 0 && casilla < kCasillasTecleables ? m_partes[static_cast<std::size_t>(casilla)]
                                                         : Parte::Declarante;
}

bool Reparto::asigna(int casilla, Parte p)
{
    if (casilla < 0 || casilla >= kCasillasTecleables || !EsEntrada(casilla))
        return false;
    m_partes[static_cast<std::size_t>(casilla)] = p;
    return true;
}

std::string LeeReparto(std::string_view texto, Reparto &reparto)
{
    const std::string citado = "«" + std::string(texto) + "»";
    const std::size_t igual = texto.find('=');
    const std::string_view numero = texto.substr(0, igual);
    if (igual == std::string_view::npos || numero.empty() || numero.size() > 3 ||
        numero.find_first_not_of("0123456789") != std::string_view::npos)
        return citado + ": se espera CASILLA=D|C|M, por ejemplo 84=C.";
    const int casilla = std::stoi(std::string(numero));
    if (casilla >= static_cast<int>(TablaCasillas().size()))
        return citado + ": la hoja no tiene casilla " + std::to_string(casilla) + " (van de 0 a 108).";
    if (!EsEntrada(casilla)) {
        std::string lista;
        for (const CasillaDef &c : TablaCasillas())
            if (c.tipo == TipoCasilla::Entrada)
                lista += (lista.empty() ? "" : ", ") + std::to_string(c.numero);
        return citado + ": la casilla " + std::to_string(casilla) +
               " no se teclea en la hoja; se reparten las casillas tecleadas: " + lista + ".";
    }
    const std::string_view letra = texto.substr(igual + 1);
    Parte p = Parte::Declarante;
    if (letra == "D")
        p = Parte::Declarante;
    else if (letra == "C")
        p = Parte::Conyuge;
    else if (letra == "M")
        p = Parte::Mitad;
    else
        return citado + ": el reparto es D (declarante), C (cónyuge) o M (a partes iguales).";
    reparto.asigna(casilla, p);
    return {};
}

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

Comparativa Compara(const Declaracion &d, const Reparto &reparto)
{
    Comparativa c;
    c.hayConyuge = d.Miembros[1].AnoNac > 0;
    auto falla = [](std::string mensaje) {
        Comparativa fallo;
        fallo.ok = false;
        fallo.mensaje = std::move(mensaje);
        return fallo;
    };
    // The joint run first: it reads every typed box as the sheet does, so a text that is no
    // amount is reported here with its box, before the boxes are shared out.
    const Calculo conjunta = Recalcular(d, Modalidad::Conjunta);
    if (!conjunta.ok)
        return falla(conjunta.mensaje);
    c.conjunta = conjunta.resultado;
    try {
        for (int n = 0; n < kCasillasTecleables; ++n) {
            Money v;
            if (EsEntrada(n) && LeeCasilla(d, n, v) && !v.isZero())
                c.tecleadas.push_back({n, v, c.hayConyuge ? reparto.parte(n) : Parte::Declarante});
        }
        const Declaracion deDeclarante = ParaIndividual(d, c.tecleadas, Modalidad::Declarante);
        const Declaracion deConyuge = ParaIndividual(d, c.tecleadas, Modalidad::Conyuge);
        // Each run's pre-run for the other member's disability (art. 81 bis LIRPF) measures
        // that member's own income, so it is made on that member's share of the boxes.
        Liquidar(deDeclarante, Modalidad::Declarante, c.declarante,
                 DeduccionDiscapacitados(deConyuge, Modalidad::Declarante));
        Liquidar(deConyuge, Modalidad::Conyuge, c.conyuge, DeduccionDiscapacitados(deDeclarante, Modalidad::Conyuge));

        c.resumenConjunta = Resume(c.conjunta);
        c.resumenDeclarante = Resume(c.declarante);
        c.resumenConyuge = Resume(c.conyuge);
        // Without a spouse there is no spouse's return to add.
        c.resumenIndividual = c.hayConyuge ? Suma(c.resumenDeclarante, c.resumenConyuge) : c.resumenDeclarante;
        const Money resultadoConjunta = c.resumenConjunta.resultado;
        const Money individual = c.resumenIndividual.resultado;
        // The lower result is the better one: less to pay or more to get back.
        if (resultadoConjunta < individual) {
            c.mejor = Mejor::Conjunta;
            c.diferencia = individual - resultadoConjunta;
            c.veredicto = "La tributación conjunta resulta " + FormatoImporte(c.diferencia) + " € más favorable.";
        } else if (individual < resultadoConjunta) {
            c.mejor = Mejor::Individual;
            c.diferencia = resultadoConjunta - individual;
            c.veredicto = "La tributación individual resulta " + FormatoImporte(c.diferencia) + " € más favorable.";
        } else {
            c.mejor = Mejor::Igual;
            c.veredicto = "La tributación conjunta y la individual dan el mismo resultado.";
        }
    } catch (const ErrorCasilla &e) {
        return falla(e.what());
    } catch (const ErrorImporte &) {
        return falla("Importe fuera de rango: la comparación no cabe en el tipo de importe.");
    }
    return c;
}

}  // namespace simulador
