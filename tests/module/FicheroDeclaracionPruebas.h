// Helpers shared by the tests of the saved declaration, of the kept damaged inputs and of
// the lock.
#pragma once

#include "../CarpetaPrivada.h"
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

}  // namespace simulador
