// One value of a saved declaration, split into its "|" fields, with the place it came from
// for the messages. Each way of taking a field says what the file may hold there: amounts
// and whole numbers that cannot be taken stop the reading (ErrorFichero); texts the
// screens could never have produced are kept as they are, since the engine copes with any
// text, and each leaves a warning that names section, key and line.
#pragma once

#include "ErrorFichero.h"
#include "LexicoIni.h"
#include "Money.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace simulador {

class ValorFichero {
public:
    static constexpr std::size_t kMaxCampos = 11;  // the longest record, DatosGanancia

    // The key is a name ("Tramo") or a number (list and box keys); its text is only made
    // for a message. A missing entry (nullptr) reads as an empty value.
    ValorFichero(std::string_view seccion, std::string_view clave, const EntradaIni *e,
                 std::vector<std::string> &avisos)
        : ValorFichero(seccion, clave, 0, e, avisos)
    {
    }
    ValorFichero(std::string_view seccion, std::size_t clave, const EntradaIni *e, std::vector<std::string> &avisos)
        : ValorFichero(seccion, {}, clave, e, avisos)
    {
    }

    // A field that the value does not reach reads as empty.
    std::string_view campo(std::size_t i) const { return i < m_num ? m_campos[i] : std::string_view(); }
    std::string texto(std::size_t i) const { return std::string(campo(i)); }
    // The whole value, "|" and all.
    std::string_view completo() const { return m_completo; }

    Money importe(std::size_t i) const;
    // The whole value as one amount in the sheet's form ([Varios]).
    Money importeDePantalla() const;
    std::int16_t entero16(std::size_t i) const;
    std::uint8_t byte(std::size_t i) const;

    std::string siNo(std::size_t i) const;
    std::string fecha(std::size_t i) const;
    // One letter of `letras`.
    std::string clase(std::size_t i, std::string_view letras) const;
    // Who applies a family member's minimum: "D", "C" or nothing.
    std::string perceptor(std::size_t i) const;
    // An empty owner ends the list for the computation of movable capital and gains
    // (`terminaLista`), and only skips the item among the deductions; the engine takes an
    // owner that is not "D", "C" or "A" for an empty one.
    std::string titular(std::size_t i, bool terminaLista) const;
    // The whole value as a region code; empty is no region.
    std::string region() const;

    // "en [Trabajo], clave 2, línea 17"
    std::string donde() const;
    // "<que> «<t>»<nota> <donde><consecuencia>"
    void avisa(const char *que, std::string_view t, std::string_view nota, std::string_view consecuencia) const;

private:
    ValorFichero(std::string_view seccion, std::string_view nombre, std::size_t numero, const EntradaIni *e,
                 std::vector<std::string> &avisos);

    std::string clave() const;
    Money leeImporte(std::string_view texto, bool dePantalla) const;
    [[noreturn]] void falla(const char *que, std::string_view t) const;
    long entero(std::size_t i, bool conSigno, long minimo, long maximo) const;

    std::string_view m_seccion;
    std::string_view m_nombreClave;
    std::size_t m_numeroClave;
    int m_linea;
    std::vector<std::string> &m_avisos;
    std::string_view m_completo;
    std::array<std::string_view, kMaxCampos> m_campos{};
    std::size_t m_num = 0;
};

}  // namespace simulador
