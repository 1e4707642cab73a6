// The autonomous communities of the common regime, by the two-digit code a declaration keeps
// in `Autonomia`: "01" Andalucía to "17" Valencia, and "00" for none. There is no "14" or
// "15". The liquidation asks which community a code is through ComunidadDe, never by
// comparing code texts of its own.
#pragma once

#include <cstdint>
#include <string_view>

namespace simulador {

enum class Comunidad : std::uint8_t {
    Ninguna,
    Andalucia,
    Aragon,
    Asturias,
    Baleares,
    Canarias,
    Cantabria,
    CastillaLaMancha,
    CastillaLeon,
    Catalunya,
    Extremadura,
    Galicia,
    Madrid,
    Murcia,
    Rioja,
    Valencia,
};

struct DatosComunidad {
    Comunidad comunidad;
    std::string_view codigo;  // as the declaration and its file keep it
    std::string_view nombre;
};

// Every code a declaration may hold, "00" first.
inline constexpr DatosComunidad kComunidades[] = {
    {Comunidad::Ninguna, "00", "Ninguna"},
    {Comunidad::Andalucia, "01", "Andalucía"},
    {Comunidad::Aragon, "02", "Aragón"},
    {Comunidad::Asturias, "03", "Asturias"},
    {Comunidad::Baleares, "04", "Illes Balears"},
    {Comunidad::Canarias, "05", "Canarias"},
    {Comunidad::Cantabria, "06", "Cantabria"},
    {Comunidad::CastillaLaMancha, "07", "Castilla-La Mancha"},
    {Comunidad::CastillaLeon, "08", "Castilla y León"},
    {Comunidad::Catalunya, "09", "Catalunya"},
    {Comunidad::Extremadura, "10", "Extremadura"},
    {Comunidad::Galicia, "11", "Galicia"},
    {Comunidad::Madrid, "12", "Madrid"},
    {Comunidad::Murcia, "13", "Murcia"},
    {Comunidad::Rioja, "16", "La Rioja"},
    {Comunidad::Valencia, "17", "Valencia"},
};

// The entry of `codigo`, compared exactly (case and spaces count); nullptr for any other text.
constexpr const DatosComunidad *BuscaComunidad(std::string_view codigo)
{
    for (const DatosComunidad &c : kComunidades) {
        if (c.codigo == codigo)
            return &c;
    }
    return nullptr;
}

// The community a liquidation applies: Ninguna for "00" and for a code that is none of the
// list (the empty text included), which take the state amounts and the default scale.
constexpr Comunidad ComunidadDe(std::string_view codigo)
{
    const DatosComunidad *c = BuscaComunidad(codigo);
    return c ? c->comunidad : Comunidad::Ninguna;
}

}  // namespace simulador
