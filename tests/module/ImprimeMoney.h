// Lets GoogleTest print amounts as "1234.5600" instead of raw bytes.
#pragma once

#include "Money.h"

#include <ostream>

namespace simulador {
inline void PrintTo(const Money &m, std::ostream *os) { *os << TextoExacto(m); }
}  // namespace simulador
