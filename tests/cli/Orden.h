// Runs a shell command for the command-line tests and keeps what it printed and its status.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/wait.h>

struct Ejecucion {
    std::string salida;  // standard output
    int estado = -1;     // exit status; -1 when the program did not exit by itself (a crash)
};

inline Ejecucion EjecutaOrden(const std::string &orden)
{
    Ejecucion e;
    FILE *p = popen(orden.c_str(), "r");
    if (!p)
        return e;
    char buf[4096];
    for (std::size_t n; (n = fread(buf, 1, sizeof buf, p)) > 0;)
        e.salida.append(buf, n);
    const int st = pclose(p);
    e.estado = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
    return e;
}

// A new folder of the test's own under the temporary folder (tests run side by side), with a
// trailing "/"; empty if it cannot be made.
inline std::string CarpetaPropia(const std::string &prefijo)
{
    std::string plantilla = std::string(std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "/tmp") + "/" + prefijo + "-XXXXXX";
    return mkdtemp(plantilla.data()) ? plantilla + "/" : std::string();
}
