// The failure of a saved declaration's file.
#pragma once

#include <stdexcept>
#include <string>
#include <utility>

namespace simulador {

// A file that cannot be read or written, or a value that cannot be taken. `seccion`,
// `clave` and `linea` (1-based, 0 when unknown) say where; the message is in Spanish and
// names them.
class ErrorFichero : public std::runtime_error {
public:
    ErrorFichero(const std::string &mensaje, std::string seccion = {}, std::string clave = {}, int linea = 0)
        : std::runtime_error(mensaje), m_seccion(std::move(seccion)), m_clave(std::move(clave)), m_linea(linea)
    {
    }
    const std::string &seccion() const { return m_seccion; }
    const std::string &clave() const { return m_clave; }
    int linea() const { return m_linea; }

private:
    std::string m_seccion, m_clave;
    int m_linea;
};

}  // namespace simulador
