#include "Hoja.h"

#include "Comunidades.h"
#include "DisposicionHoja.h"

namespace simulador {

namespace {

using P = PantallaDatos;

// Codes 33 and 11 have no control on the sheet; 4 and 10 open no screen (10 only moves the
// focus, after the region check).
// clang-format off
constexpr Apartado kApartados[] = {
    {0, P::DatosTrabajo, 10},    {1, P::DatosInm, 0},         {2, P::Mobiliario, 13},
    {80, P::Mobiliario, 13},     {5, P::Ganancias, 31},       {81, P::Ganancias, 31},
    {6, P::UnidadFam, 31},       {7, P::Reducciones, 44},     {9, P::DCuota, 76},
    {30, P::DatosDirecta, 22},   {31, P::DatosModulos, 22},   {32, P::DatosAgricolas, 22},
    {33, P::DatosAgricolas, 22}, {11, P::DatosInm, 22},       {4, P::Ninguna, 23},
    {10, P::Ninguna, 76},
};
// clang-format on

constexpr int kApartadoAutonomicas = 10;

}  // namespace

std::optional<Apartado> BuscaApartado(int codigo)
{
    for (const Apartado &a : kApartados) {
        if (a.codigo == codigo)
            return a;
    }
    return std::nullopt;
}

std::optional<std::string_view> ApartadoCerrado(int codigo, const Declaracion &d)
{
    // Only "00" itself: the family screen writes no other code for "no region".
    if (codigo == kApartadoAutonomicas && d.Autonomia == kComunidades[0].codigo)
        return "No se ha informado ninguna autonomía en la pantalla de 'Unidad Familiar'.";
    return std::nullopt;
}

AccionCabecera AccionDeCabecera(int indice)
{
    switch (indice) {
    case 3: return AccionCabecera::MenuActividades;
    case 4:
    case 10:
    case 11: return AccionCabecera::Ninguna;
    case 8: return AccionCabecera::MenuAhorro;
    default: return AccionCabecera::AbreApartado;
    }
}

std::string_view RotuloCabecera(int indice)
{
    for (const SeccionDef &s : TablaSecciones()) {
        if (CabeceraDeSeccion(s.numero) == indice)
            return s.cabecera;
    }
    return {};
}

std::array<int, kNumCasillas> OrdenTabulacion()
{
    std::array<int, kNumCasillas> orden{};
    std::array<bool, kNumCasillas> puesta{};
    std::size_t i = 0;
    auto pon = [&](int n) {
        if (!puesta[static_cast<std::size_t>(n)]) {
            puesta[static_cast<std::size_t>(n)] = true;
            orden[i++] = n;
        }
    };
    for (int n : kOrdenEntradas)
        pon(n);
    for (int n : kOrdenTrasEntradas)
        pon(n);
    for (int n = 0; n < kNumCasillas; ++n)
        pon(n);
    return orden;
}

}  // namespace simulador
