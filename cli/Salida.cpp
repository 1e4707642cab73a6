#include "Salida.h"

#include "Codificacion.h"
#include "Rotulos.h"
#include "TablaCasillas.h"
#include "TextoImporte.h"

#include <cstdio>

using namespace simulador;

namespace irpf2021 {

namespace {

// Every code point counts one column.
void rellenaDerecha(std::string &out, std::string_view s, std::size_t ancho)
{
    out.append(s);
    for (std::size_t w = Caracteres(s); w < ancho; ++w)
        out.push_back(' ');
}

void rellenaIzquierda(std::string &out, std::string_view s, std::size_t ancho)
{
    for (std::size_t w = Caracteres(s); w < ancho; ++w)
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

// A CSV field (RFC 4180 with ";"): quoted, its quotes doubled, when it holds ";", a quote
// or a line break, so that a name or a path holding them reads back whole.
void anadeCampoCsv(std::string &out, std::string_view texto)
{
    const std::string v = SinControles(texto, true);
    if (v.find_first_of(";\"\r\n") == std::string::npos) {
        out += v;
        return;
    }
    out.push_back('"');
    for (char c : v) {
        if (c == '"')
            out.push_back('"');
        out.push_back(c);
    }
    out.push_back('"');
}

constexpr std::string_view kFinCsv = "\r\n";

constexpr std::size_t kAnchoConcepto = 52;
constexpr std::size_t kAnchoImporte = 16;

}  // namespace

void EscribeTexto(std::string &out, const std::string &fichero, const std::string &nombre,
                  const std::vector<Liquidacion> &liquidaciones)
{
    out += kTituloPrograma;
    out += "\n";
    out += "Fichero: " + SinControles(fichero) + "\n";
    out += "Apellidos y Nombre: " + SinControles(nombre) + "\n\n";
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


namespace {

// {"fichero":…,"nombre":…, the start of every JSON line about a file.
void abreJson(std::string &out, const std::string &fichero, const std::string *nombre)
{
    out += "{\"fichero\":";
    AnadeJson(out, fichero);
    out += ",\"nombre\":";
    if (nombre)
        AnadeJson(out, *nombre);
    else
        out += "null";
}

}  // namespace

void EscribeJson(std::string &out, const std::string &fichero, const std::string &nombre,
                 const std::vector<Liquidacion> &liquidaciones)
{
    abreJson(out, fichero, &nombre);
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

void EscribeJsonError(std::string &out, const std::string &fichero, const std::string *nombre,
                      const std::string &error)
{
    abreJson(out, fichero, nombre);
    out += ",\"error\":";
    AnadeJson(out, error);
    out += "}\n";
}

void EscribeCabeceraCsv(std::string &out)
{
    out += "fichero;nombre;modo";
    for (int n = 0; n < kNumCasillas; ++n)
        out += ";Casilla " + std::to_string(n);
    out += kFinCsv;
}

void EscribeFilasCsv(std::string &out, const std::string &fichero, const std::string &nombre,
                     const std::vector<Liquidacion> &liquidaciones)
{
    for (const Liquidacion &l : liquidaciones) {
        anadeCampoCsv(out, fichero);
        out.push_back(';');
        anadeCampoCsv(out, nombre);
        out.push_back(';');
        out += NombreModalidad(l.modalidad);
        for (int n = 0; n < kNumCasillas; ++n) {
            out.push_back(';');
            out += importeCsv(l.casillas[n]);
        }
        out += kFinCsv;
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

// "Casillas tecleadas (cada una cuenta una sola vez en la tributación individual): 84
// Deducción maternidad / Familia numerosa, 1.200,00, en la liquidación del declarante."
std::string lineaReparto(const Comparativa &c)
{
    if (c.tecleadas.empty())
        return "Casillas tecleadas: ninguna.";
    std::string s = "Casillas tecleadas (cada una cuenta una sola vez en la tributación individual): ";
    for (std::size_t i = 0; i < c.tecleadas.size(); ++i) {
        const CasillaRepartida &t = c.tecleadas[i];
        if (i)
            s += "; ";
        s += std::to_string(t.numero) + " " + std::string(TablaCasillas()[static_cast<std::size_t>(t.numero)].concepto) +
             ", " + FormatoImporte(t.importe) + ", ";
        switch (t.parte) {
        case Parte::Declarante: s += "en la liquidación del declarante"; break;
        case Parte::Conyuge: s += "en la liquidación del cónyuge"; break;
        case Parte::Mitad: s += "a partes iguales entre las dos"; break;
        }
    }
    return s + ".";
}

}  // namespace

void EscribeComparativaTexto(std::string &out, const std::string &fichero, const std::string &nombre,
                             const Comparativa &c)
{
    constexpr std::size_t kConcepto = 30, kColumna = 22;
    out += "Comparativa de tributación conjunta e individual\n";
    out += "Fichero: " + SinControles(fichero) + "\n";
    out += "Apellidos y Nombre: " + SinControles(nombre) + "\n";
    if (!c.hayConyuge)
        out += "Sin cónyuge: solo se comparan la liquidación conjunta y la del declarante.\n";
    out += lineaReparto(c) + "\n\n";
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

void EscribeComparativaJson(std::string &out, const std::string &fichero, const std::string &nombre,
                            const Comparativa &c)
{
    abreJson(out, fichero, &nombre);
    out += ",\"conyuge\":";
    out += c.hayConyuge ? "true" : "false";
    out += ",\"reparto\":{";
    for (std::size_t i = 0; i < c.tecleadas.size(); ++i) {
        out += i ? ",\"" : "\"";
        out += std::to_string(c.tecleadas[i].numero) + "\":\"";
        out.push_back(LetraParte(c.tecleadas[i].parte));
        out += "\"";
    }
    out += "},\"liquidaciones\":[";
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

namespace {

// The comparison's columns in CSV: every row has all four, whether there is a spouse or not.
// Without one the spouse's stay empty and the individual side is the declarant's alone.
constexpr const char *kColumnasCsv[] = {"CONJUNTA", "DECLARANTE", "CONYUGE", "INDIVIDUAL"};

}  // namespace

void EscribeCabeceraComparativaCsv(std::string &out)
{
    out += "fichero;nombre;conyuge;mejor;diferencia;reparto";
    for (const char *col : kColumnasCsv)
        for (const FilaResumen &f : kFilasResumen)
            out += std::string(";") + f.concepto + " (" + col + ")";
    out += kFinCsv;
}

void EscribeComparativaCsv(std::string &out, const std::string &fichero, const std::string &nombre,
                           const Comparativa &c)
{
    anadeCampoCsv(out, fichero);
    out.push_back(';');
    anadeCampoCsv(out, nombre);
    out += c.hayConyuge ? ";Sí;" : ";No;";
    out += NombreMejor(c.mejor);
    out += ";" + importeCsv(c.diferencia) + ";";
    for (std::size_t i = 0; i < c.tecleadas.size(); ++i) {
        out += (i ? "," : "") + std::to_string(c.tecleadas[i].numero) + "=";
        out.push_back(LetraParte(c.tecleadas[i].parte));
    }
    const ResumenLiquidacion *resumenes[] = {&c.resumenConjunta, &c.resumenDeclarante,
                                             c.hayConyuge ? &c.resumenConyuge : nullptr, &c.resumenIndividual};
    for (const ResumenLiquidacion *r : resumenes)
        for (const FilaResumen &f : kFilasResumen)
            out += ";" + (r ? importeCsv(r->*f.campo) : std::string());
    out += kFinCsv;
}

void EscribeExplicacionTexto(std::string &out, const std::string &fichero, const std::string &nombre,
                             const Explicacion &e, int casilla)
{
    out += "Fichero: " + SinControles(fichero) + "\n";
    out += "Apellidos y Nombre: " + SinControles(nombre) + "\n";
    out += "Casilla " + std::to_string(casilla) + ", liquidación ";
    out += NombreModalidad(e.modalidad);
    out += "\n\n";
    out += SinControles(TextoExplicacion(e, e.raiz), true);
    out += "\n";
}

void EscribeExplicacionJson(std::string &out, const std::string &fichero, const std::string &nombre,
                            const Explicacion &e, int casilla)
{
    abreJson(out, fichero, &nombre);
    out += ",\"modo\":\"";
    out += NombreModalidad(e.modalidad);
    out += "\",\"casilla\":" + std::to_string(casilla) + ",\"arbol\":";
    AnadeJsonExplicacion(out, e, e.raiz);
    out += "}\n";
}

}  // namespace irpf2021
