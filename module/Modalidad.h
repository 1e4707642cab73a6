// The filing modes: the joint liquidation of the couple and the individual ones of the
// declarant and of the spouse. The order is the sheet selector's and the index of Rentas
// whose amounts a run takes (0 the couple's totals, 1 the declarant, 2 the spouse).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace simulador {

enum class Modalidad : std::int16_t { Conjunta = 0, Declarante = 1, Conyuge = 2 };

inline constexpr std::array<Modalidad, 3> kModalidades = {Modalidad::Conjunta, Modalidad::Declarante,
                                                          Modalidad::Conyuge};

constexpr std::size_t Indice(Modalidad m) { return static_cast<std::size_t>(m); }

// The selector's index back to a mode; nothing for an index out of 0-2.
constexpr std::optional<Modalidad> ModalidadDeIndice(int i)
{
    if (i < 0 || i >= static_cast<int>(kModalidades.size()))
        return std::nullopt;
    return kModalidades[static_cast<std::size_t>(i)];
}

// "CONJUNTA", "DECLARANTE", "CONYUGE": the selector's text, the printout's and the command line's.
constexpr std::string_view NombreModalidad(Modalidad m)
{
    constexpr std::array<std::string_view, 3> kNombres = {"CONJUNTA", "DECLARANTE", "CONYUGE"};
    return kNombres[Indice(m)];
}

}  // namespace simulador
