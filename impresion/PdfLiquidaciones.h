// irpf2021 --pdf: the printed page of each liquidation written to a PDF by a program that has
// no window. The interface is standard C++ so that the command line stays free of Qt types.
#pragma once

#include "Liquidar.h"

#include <cstdint>
#include <string>
#include <vector>

// One A4 page per entry, in order, the same page " Imprimir " gives. Qt's GUI layer is started
// here when the program has none yet, on the offscreen platform unless QT_QPA_PLATFORM names
// another, so it runs in a script without a display. False with the reason in `error`.
bool EscribePdfLiquidaciones(const std::string &ruta, const std::string &nombre,
                             const std::vector<simulador::Liquidacion> &paginas, std::string &error);
