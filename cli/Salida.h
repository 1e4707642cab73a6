// The command line's three ways of writing liquidations: the sheet as text, JSON Lines and
// a Spanish spreadsheet's CSV.
#pragma once

#include "Comparativa.h"
#include "Liquidar.h"
#include "TextoJson.h"

#include <string>
#include <vector>

namespace irpf2021 {

struct Liquidacion {
    simulador::Modalidad modalidad;
    simulador::Resultado casillas;
};

// Each appends to `out`.
void EscribeTexto(std::string &out, const std::string &fichero, const std::string &nombre,
                  const std::vector<Liquidacion> &liquidaciones);
void EscribeJson(std::string &out, const std::string &fichero, const std::vector<Liquidacion> &liquidaciones);
void EscribeJsonError(std::string &out, const std::string &fichero, const std::string &error);
void EscribeCsv(std::string &out, const std::vector<Liquidacion> &liquidaciones);

// The joint-or-individual comparison of one file.
void EscribeComparativaTexto(std::string &out, const std::string &fichero, const std::string &nombre,
                             const simulador::Comparativa &c);
void EscribeComparativaJson(std::string &out, const std::string &fichero, const simulador::Comparativa &c);
void EscribeComparativaCsv(std::string &out, const simulador::Comparativa &c);

// JSON string literal, quotes included; invalid UTF-8 bytes become U+FFFD.
using simulador::AnadeJson;

}  // namespace irpf2021
