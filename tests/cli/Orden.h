// Runs irpf2021 (or any shell command) for the command-line tests and keeps what it wrote on
// each stream and its exit status.
#pragma once

#include "../CarpetaPrivada.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include <sys/wait.h>
#include <unistd.h>

inline std::string LeeFichero(const std::string &ruta)  // "" when there is no such file
{
    std::ifstream in(ruta, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

struct Ejecucion {
    std::string salida, errores;  // standard output and standard error
    int estado = -1;              // exit status; -1 when the program did not exit by itself (a crash)
};

// Runs `orden` with sh. Standard error is kept apart unless `orden` redirects it itself.
inline Ejecucion EjecutaOrden(const std::string &orden)
{
    static const CarpetaPrivada carpeta;
    const std::string errores = carpeta / "errores";
    Ejecucion e;
    FILE *p = popen(("{ " + orden + "\n} 2>'" + errores + "'").c_str(), "r");
    if (!p)
        return e;
    char buf[4096];
    for (std::size_t n; (n = fread(buf, 1, sizeof buf, p)) > 0;)
        e.salida.append(buf, n);
    const int st = pclose(p);
    e.estado = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
    e.errores = LeeFichero(errores);
    return e;
}

// irpf2021 run in tests/data, so that the paths it writes are the short ones of the tests.
inline Ejecucion Irpf2021(const std::string &argumentos)
{
    return EjecutaOrden("cd '" DATOS_DIR "' && '" IRPF2021_BIN "' " + argumentos);
}
