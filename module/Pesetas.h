// The sheet's peseta view: each euro box shown as whole pesetas, read-only.
#pragma once

#include "Money.h"

#include <string>
#include <string_view>

namespace simulador {

// 166.386 pesetas to the euro (Council Regulation (EC) No 2866/98), kept as a fraction so
// the conversion is exact.
inline constexpr long long kPesetasPorEuroMiles = 166386;

// An amount in pesetas with the "#,###" format: whole pesetas, halves away from zero,
// grouped, empty for zero. A text of four or more characters ending in "001" or "999" gets
// "000" in their place (1.999 shows as 1.000, 12.001 as 12.000).
std::string TextoPesetas(Money euros);

// The peseta text of a box that shows `textoEuros`: a blank text stays as it is, and so
// does a text that is not an amount.
std::string PesetasDeTexto(std::string_view textoEuros);

}  // namespace simulador
