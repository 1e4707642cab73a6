#include "Salida.h"

#include "TablaCasillas.h"
#include "TextoImporte.h"

#include <cstdio>

using namespace simulador;

namespace irpf2021 {

namespace {

// Display width of a UTF-8 text: every code point counts one column.
std::size_t anchura(std::string_view s)
{
    std::size_t n = 0;
    for (unsigned char c : s)
        n += (c & 0xC0) != 0x80;
    return n;
}

void rellenaDerecha(std::string &out, std::string_view s, std::size_t ancho)
{
    out.append(s);
    for (std::size_t w = anchura(s); w < ancho; ++w)
        out.push_back(' ');
}

void rellenaIzquierda(std::string &out, std::string_view s, std::size_t ancho)
{
    for (std::size_t w = anchura(s); w < ancho; ++w)
        out.push_back(' ');
    out.append(s);
}

std::string concepto(const CasillaDef &c)
{
    std::string s(c.concepto);
    switch (c.columna) {
    case Columna::Base: s += " (base)"; break;
    case Columna::Estatal: s += " (estatal)"; break;
    case Columna::Autonomica: s += " (autonómica)"; break;
    case Columna::Unica: break;
    }
    return s;
}

// The exact value with a decimal comma and no grouping, as a Spanish spreadsheet reads it.
std::string importeCsv(Money m)
{
    std::string s = TextoExacto(m);
    s[s.find('.')] = ',';
    while (s.back() == '0')
        s.pop_back();
    if (s.back() == ',')
        s.pop_back();
    return s;
}

constexpr std::size_t kAnchoConcepto = 52;
constexpr std::size_t kAnchoImporte = 16;

}  // namespace

void EscribeTexto(std::string &out, const std::string &fichero, const std::string &nombre,
                  const std::vector<Liquidacion> &liquidaciones)
{
    out += "Kalvio Profesionales - Simulación IRPF 2021\n";
    out += "Fichero: " + fichero + "\n";
    out += "Apellidos y Nombre: " + nombre + "\n\n";
    rellenaDerecha(out, "", kAnchoConcepto + 5);
    for (const Liquidacion &l : liquidaciones)
        rellenaIzquierda(out, NombreModalidad(l.modalidad), kAnchoImporte);
    out += "\n";
    for (const SeccionDef &s : TablaSecciones()) {
        out += "\n";
        out += Recorta(s.cabecera);
        out += "\n";
        for (const CasillaDef &c : TablaCasillas()) {
            if (c.seccion != s.numero || !c.visible || !c.enHoja)
                continue;
            char numero[8];
            std::snprintf(numero, sizeof numero, "%4d ", c.numero);
            out += numero;
            rellenaDerecha(out, concepto(c), kAnchoConcepto);
            for (const Liquidacion &l : liquidaciones)
                rellenaIzquierda(out, FormatoResultado(l.casillas[c.numero]), kAnchoImporte);
            while (out.back() == ' ')  // no trailing blanks where the last amounts are empty
                out.pop_back();
            out += "\n";
        }
    }
    out += "\n";
}

void EscribeJson(std::string &out, const std::string &fichero, const std::vector<Liquidacion> &liquidaciones)
{
    out += "{\"fichero\":";
    AnadeJson(out, fichero);
    out += ",\"liquidaciones\":[";
    for (std::size_t i = 0; i < liquidaciones.size(); ++i) {
        if (i)
            out.push_back(',');
        out += "{\"modo\":\"";
        out += NombreModalidad(liquidaciones[i].modalidad);
        out += "\",\"casillas\":[";
        for (int n = 0; n < kNumCasillas; ++n) {
            if (n)
                out.push_back(',');
            out.push_back('"');
            AnadeTextoExacto(out, liquidaciones[i].casillas[n]);
            out.push_back('"');
        }
        out += "]}";
    }
    out += "]}\n";
}

void EscribeJsonError(std::string &out, const std::string &fichero, const std::string &error)
{
    out += "{\"fichero\":";
    AnadeJson(out, fichero);
    out += ",\"error\":";
    AnadeJson(out, error);
    out += "}\n";
}

void EscribeCsv(std::string &out, const std::vector<Liquidacion> &liquidaciones)
{
    out += "casilla;concepto";
    for (const Liquidacion &l : liquidaciones) {
        out.push_back(';');
        out += NombreModalidad(l.modalidad);
    }
    out += "\n";
    for (const CasillaDef &c : TablaCasillas()) {
        out += std::to_string(c.numero);
        out.push_back(';');
        out += c.concepto.empty() ? std::string() : concepto(c);
        for (const Liquidacion &l : liquidaciones) {
            out.push_back(';');
            out += importeCsv(l.casillas[c.numero]);
        }
        out += "\n";
    }
}

namespace {

struct ColumnaComparativa {
    const char *titulo;
    const ResumenLiquidacion *resumen;
};

// Without a spouse only the joint and the declarant's liquidations apply.
std::vector<ColumnaComparativa> columnas(const Comparativa &c)
{
    std::vector<ColumnaComparativa> v = {{"CONJUNTA", &c.resumenConjunta}, {"DECLARANTE", &c.resumenDeclarante}};
    if (c.hayConyuge) {
        v.push_back({"CONYUGE", &c.resumenConyuge});
        v.push_back({"DECLARANTE + CONYUGE", &c.resumenIndividual});
    }
    return v;
}

}  // namespace

void EscribeComparativaTexto(std::string &out, const std::string &fichero, const std::string &nombre,
                             const Comparativa &c)
{
    constexpr std::size_t kConcepto = 30, kColumna = 22;
    out += "Comparativa de tributación conjunta e individual\n";
    out += "Fichero: " + fichero + "\n";
    out += "Apellidos y Nombre: " + nombre + "\n";
    if (!c.hayConyuge)
        out += "Sin cónyuge: solo se comparan la liquidación conjunta y la del declarante.\n";
    out += "\n";
    const auto cols = columnas(c);
    rellenaDerecha(out, "", kConcepto);
    for (const ColumnaComparativa &col : cols)
        rellenaIzquierda(out, col.titulo, kColumna);
    out += "\n";
    for (const FilaResumen &f : kFilasResumen) {
        rellenaDerecha(out, f.concepto, kConcepto);
        for (const ColumnaComparativa &col : cols)
            rellenaIzquierda(out, FormatoImporte(col.resumen->*f.campo), kColumna);
        out += "\n";
    }
    out += "\n" + c.veredicto + "\n\n";
}

void EscribeComparativaJson(std::string &out, const std::string &fichero, const Comparativa &c)
{
    out += "{\"fichero\":";
    AnadeJson(out, fichero);
    out += ",\"conyuge\":";
    out += c.hayConyuge ? "true" : "false";
    out += ",\"liquidaciones\":[";
    const ResumenLiquidacion *resumenes[] = {&c.resumenConjunta, &c.resumenDeclarante, &c.resumenConyuge};
    for (Modalidad m : kModalidades) {
        if (m != Modalidad::Conjunta)
            out.push_back(',');
        out += "{\"modo\":\"";
        out += NombreModalidad(m);
        out += "\"";
        for (const FilaResumen &f : kFilasResumen) {
            out += ",\"";
            out += f.clave;
            out += "\":\"";
            AnadeTextoExacto(out, resumenes[Indice(m)]->*f.campo);
            out += "\"";
        }
        out += "}";
    }
    out += "],\"mejor\":\"";
    out += NombreMejor(c.mejor);
    out += "\",\"diferencia\":\"";
    AnadeTextoExacto(out, c.diferencia);
    out += "\",\"veredicto\":";
    AnadeJson(out, c.veredicto);
    out += "}\n";
}

void EscribeComparativaCsv(std::string &out, const Comparativa &c)
{
    const auto cols = columnas(c);
    out += "concepto";
    for (const ColumnaComparativa &col : cols) {
        out.push_back(';');
        out += col.titulo;
    }
    out += "\n";
    for (const FilaResumen &f : kFilasResumen) {
        out += f.concepto;
        for (const ColumnaComparativa &col : cols) {
            out.push_back(';');
            out += importeCsv(col.resumen->*f.campo);
        }
        out += "\n";
    }
    out += "mejor;";
    out += NombreMejor(c.mejor);
    out += "\ndiferencia;" + importeCsv(c.diferencia) + "\n";
}

}  // namespace irpf2021
