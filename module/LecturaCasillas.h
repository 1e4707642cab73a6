// The texts typed into the sheet's input boxes, read as the liquidation reads them. One
// reader serves the engine and the check a screen makes before saving, so both name the
// same box with the same words.
#pragma once

#include "Declaracion.h"
#include "Money.h"

#include <optional>
#include <stdexcept>
#include <string>

namespace simulador {

// A typed box whose text is not an amount, or is one out of the money type's range.
class ErrorCasilla : public std::runtime_error {
public:
    ErrorCasilla(int casilla, const std::string &mensaje) : std::runtime_error(mensaje), m_casilla(casilla) {}
    int casilla() const { return m_casilla; }

private:
    int m_casilla;
};

// Box `n`'s text as money: false, and `valor` untouched, when the text is blank. Throws
// ErrorCasilla, with the message for the user, when the text is not an amount.
bool LeeCasilla(const Declaracion &d, int n, Money &valor);

struct CasillaIlegible {
    int casilla;
    std::string mensaje;  // in Spanish, the liquidation's own words
};

// The first box whose text would stop a liquidation, in the order the engine reads them:
// the input boxes 0-106, then the boxes its stages read by number whatever their kind
// (21, 22, 95, 84). Nothing when every text reads. Computes no liquidation.
std::optional<CasillaIlegible> CompruebaCasillas(const Declaracion &d);

}  // namespace simulador
