// A new folder of the test's own under the temporary folder (mkdtemp: private, and no name
// someone could plant first, as tests run side by side), removed with everything in it at
// the end.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

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
    std::string operator/(const std::string &nombre) const { return (m_ruta / nombre).string(); }

private:
    std::filesystem::path m_ruta;
};
