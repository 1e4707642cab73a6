// The command line's three ways of writing liquidations: the sheet as text, JSON Lines and
// a Spanish spreadsheet's CSV.
#pragma once

#include "Comparativa.h"
#include "Liquidar.h"

#include <string>
#include <string_view>
#include <vector>

namespace irpf2021 {

// Each appends to `out`.
void EscribeTexto(std::string &out, const std::string &fichero, const std::string &nombre,
                  const std::vector<simulador::Liquidacion> &liquidaciones);
void EscribeJson(std::string &out, const std::string &fichero,
                 const std::vector<simulador::Liquidacion> &liquidaciones);
void EscribeJsonError(std::string &out, const std::string &fichero, const std::string &error);
void EscribeCsv(std::string &out, const std::vector<simulador::Liquidacion> &liquidaciones);

// The joint-or-individual comparison of one file.
void EscribeComparativaTexto(std::string &out, const std::string &fichero, const std::string &nombre,
                             const simulador::Comparativa &c);
void EscribeComparativaJson(std::string &out, const std::string &fichero, const simulador::Comparativa &c);
void EscribeComparativaCsv(std::string &out, const simulador::Comparativa &c);

// JSON string literal, quotes included; control characters (C0, DEL, C1) escaped as
// \u001b, invalid UTF-8 bytes become U+FFFD.
void AnadeJson(std::string &out, const std::string &texto);

// A text from a file or from the command line, made harmless for a terminal: control
// characters (C0 but the tab, DEL, C1), which could retitle the window or clear the screen,
// and bytes that are not UTF-8 are written as visible escapes such as \x1b.
std::string Visible(std::string_view texto);

}  // namespace irpf2021
