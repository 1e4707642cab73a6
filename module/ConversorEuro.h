// The euro/peseta converter's logic: the two conversions, the texts of its two boxes and
// the codes of their key filters. The converter screen only moves texts between widgets.
#pragma once

#include "Money.h"

#include <string>
#include <string_view>

namespace simulador {

// Fixed conversion rate since 1 January 1999 (Council Regulation (EC) No 2866/98).
inline constexpr double kPesetasPorEuro = 166.386;

// Whole pesetas: the integer part (floor) of euros × 166.386 + 0.5, in double precision, so
// half a peseta goes up.
Money EuToPta(Money euros);
// Euros to the cent: pesetas ÷ 166.386 in double precision, rounded to two decimals halves
// away from zero (the "0.00" mask).
Money PtaToEu(Money pesetas);

// "#,##0": grouping dots, no decimals, halves away from zero ("83.193", "0").
std::string FormatoPesetas(Money pesetas);

// What the converter writes into the other box while the user types. An empty box counts
// as 0; a text that is not an amount, or a result out of the money type's range, leaves the
// other box empty rather than showing a made-up figure.
std::string EurosDeTextoPesetas(std::string_view textoPesetas);  // "#,##0.00"
std::string PesetasDeTextoEuros(std::string_view textoEuros);    // "#,##0"

// The codes the two boxes give the shared key filter (TeclaCampo in Campos.h): pesetas take
// digits only, up to twelve; euros a signed amount with two decimals.
inline constexpr std::string_view kCodigoPesetas = "N1200";
inline constexpr std::string_view kCodigoEuros = "D1002";

}  // namespace simulador
