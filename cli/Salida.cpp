#include "Salida.h"

#include "Codificacion.h"
#include "Rotulos.h"
#include "TablaCasillas.h"
#include "TextoImporte.h"

#include <cstdio>

using namespace simulador;

namespace irpf2021 {

namespace {

// Characters that drive a terminal: C0 controls (a tab is only a blank), DEL and C1.
bool esControl(char32_t cp) { return (cp < 0x20 && cp != '\t') || (cp >= 0x7F && cp <= 0x9F); }

void anadeEscape(std::string &out, const char *prefijo, unsigned valor)
{
    static const char kHex[] = "0123456789abcdef";
    out += prefijo;
    out.push_back(kHex[(valor >> 4) & 0xF]);
    out.push_back(kHex[valor & 0xF]);
}

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

constexpr std::size_t kAnchoConcepto = 52;
constexpr std::size_t kAnchoImporte = 16;

}  // namespace

void EscribeTexto(std::string &out, const std::string &fichero, const std::string &nombre,
                  const std::vector<Liquidacion> &liquidaciones)
{
    out += kTituloPrograma;
    out += "\n";
    out += "Fichero: " + Visible(fichero) + "\n";
    out += "Apellidos y Nombre: " + Visible(nombre) + "\n\n";
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

void AnadeJson(std::string &out, const std::string &texto)
{
    out.push_back('"');
    for (std::size_t i = 0; i < texto.size();) {
        char32_t cp;
        const std::size_t n = SecuenciaUtf8(texto, i, cp);
        if (n == 0) {
            AnadeUtf8(out, kCaracterSustitucion);
            ++i;
            continue;
        }
        if (cp == '"' || cp == '\\') {
            out.push_back('\\');
            out.push_back(static_cast<char>(cp));
        } else if (cp < 0x20 || esControl(cp)) {
            anadeEscape(out, "\\u00", cp);
        } else {
            out.append(texto, i, n);
        }
        i += n;
    }
    out.push_back('"');
}

std::string Visible(std::string_view texto)
{
    std::string out;
    out.reserve(texto.size());
    for (std::size_t i = 0; i < texto.size();) {
        char32_t cp;
        const std::size_t n = SecuenciaUtf8(texto, i, cp);
        if (n == 0) {
            anadeEscape(out, "\\x", static_cast<unsigned char>(texto[i]));
            ++i;
            continue;
        }
        if (esControl(cp))
            anadeEscape(out, "\\x", cp);
        else
            out.append(texto, i, n);
        i += n;
    }
    return out;
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
    out += "Fichero: " + Visible(fichero) + "\n";
    out += "Apellidos y Nombre: " + Visible(nombre) + "\n";
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

void EscribeComparativaJson(std::string &out, const std::string &fichero, const Comparativa &c)
{
    out += "{\"fichero\":";
    AnadeJson(out, fichero);
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
    out += "\ndiferencia;" + importeCsv(c.diferencia) + "\nreparto";
    for (const CasillaRepartida &t : c.tecleadas) {
        out += ";" + std::to_string(t.numero) + "=";
        out.push_back(LetraParte(t.parte));
    }
    out += "\n";
}

}  // namespace irpf2021
