// The command line's three ways of writing liquidations: the sheet as text, JSON Lines and
// a Spanish spreadsheet's CSV (RFC 4180 with ";" and a decimal comma); and the explanation
// of a box as text or JSON.
#pragma once

#include "Codificacion.h"
#include "Comparativa.h"
#include "Explicacion.h"
#include "Liquidar.h"
#include "TextoJson.h"

#include <string>
#include <string_view>
#include <vector>

namespace irpf2021 {

// Each appends to `out`. `nombre` is the taxpayer's name as the file holds it.
void EscribeTexto(std::string &out, const std::string &fichero, const std::string &nombre,
                  const std::vector<simulador::Liquidacion> &liquidaciones);
void EscribeJson(std::string &out, const std::string &fichero, const std::string &nombre,
                 const std::vector<simulador::Liquidacion> &liquidaciones);
// A file that failed; `nombre` is null when the file could not be read at all.
void EscribeJsonError(std::string &out, const std::string &fichero, const std::string *nombre,
                      const std::string &error);

// The CSV of a batch is one table: the header once, then a row per file and mode, so a
// spreadsheet takes a whole batch of clients in one import.
void EscribeCabeceraCsv(std::string &out);
void EscribeFilasCsv(std::string &out, const std::string &fichero, const std::string &nombre,
                     const std::vector<simulador::Liquidacion> &liquidaciones);

// The joint-or-individual comparison of one file; in CSV, one row per file.
void EscribeComparativaTexto(std::string &out, const std::string &fichero, const std::string &nombre,
                             const simulador::Comparativa &c);
void EscribeComparativaJson(std::string &out, const std::string &fichero, const std::string &nombre,
                            const simulador::Comparativa &c);
void EscribeCabeceraComparativaCsv(std::string &out);
void EscribeComparativaCsv(std::string &out, const std::string &fichero, const std::string &nombre,
                           const simulador::Comparativa &c);

// The explanation of box `e.raiz` of one file in one mode: a heading and the indented
// tree, or one JSON line {"fichero","nombre","modo","casilla","arbol"}.
void EscribeExplicacionTexto(std::string &out, const std::string &fichero, const std::string &nombre,
                             const simulador::Explicacion &e, int casilla);
void EscribeExplicacionJson(std::string &out, const std::string &fichero, const std::string &nombre,
                            const simulador::Explicacion &e, int casilla);

// JSON string literal, quotes included; control characters (C0, DEL, C1) escaped as
// \u001b, invalid UTF-8 bytes become U+FFFD. The module's, shared with its explanations.
using simulador::AnadeJson;

// Texts from a file or the command line reach the terminal through the module's SinControles.
using simulador::SinControles;

}  // namespace irpf2021
