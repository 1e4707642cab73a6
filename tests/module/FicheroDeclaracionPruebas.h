// Helpers shared by the tests of the saved declaration, of the kept damaged inputs and of
// the lock.
#pragma once

#include "FicheroDeclaracion.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>

namespace simulador {

inline std::string leeBytes(const std::filesystem::path &p)
{
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The message of the ErrorFichero that f throws, or "(no error)".
inline std::string mensajeDe(const std::function<void()> &f)
{
    try {
        f();
    } catch (const ErrorFichero &e) {
        return e.what();
    }
    return "(no error)";
}

// A new folder of the test's own (mkdtemp: private, and no name someone could plant first),
// removed with everything in it at the end.
class CarpetaPrivada {
public:
    CarpetaPrivada()
    {
        std::string plantilla = (std::filesystem::temp_directory_path() / "simulador-XXXXXX").string();
        if (mkdtemp(plantilla.data()))
            m_ruta = plantilla;
    }
    ~CarpetaPrivada()
    {
        std::error_code ec;
        std::filesystem::remove_all(m_ruta, ec);
    }
    CarpetaPrivada(const CarpetaPrivada &) = delete;
    CarpetaPrivada &operator=(const CarpetaPrivada &) = delete;
    const std::filesystem::path &ruta() const { return m_ruta; }

private:
    std::filesystem::path m_ruta;
};

}  // namespace simulador
