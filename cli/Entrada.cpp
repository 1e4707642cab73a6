#include "Entrada.h"

#include "FicheroPrivado.h"
#include "Opciones.h"

#include <cerrno>

#include <unistd.h>

using namespace simulador;

namespace irpf2021 {

namespace {

// The standard input whole, up to one byte past the limit a declaration may have, so that
// a larger input is told from one of exactly the limit without reading an endless pipe.
std::string leeEntradaEstandar()
{
    std::string bytes;
    char buf[1 << 16];
    while (bytes.size() <= kTamanoMaximoFichero) {
        const ssize_t n = read(STDIN_FILENO, buf, sizeof buf);
        if (n == 0)
            break;
        if (n < 0) {
            if (errno == EINTR)
                continue;
            throw ErrorFichero("No se puede leer la entrada estándar: " + MotivoError(errno) + ".");
        }
        bytes.append(buf, static_cast<std::size_t>(n));
    }
    if (bytes.size() > kTamanoMaximoFichero)
        throw ErrorFichero("La entrada estándar es demasiado grande (más de 1 MiB) para ser una declaración.");
    return bytes;
}

}  // namespace

DeclaracionLeida LeeDeclaracionDe(const std::string &ruta)
{
    if (ruta == kEntradaEstandar)
        return LeeDeclaracion(leeEntradaEstandar());
    return CargaDeclaracion(ruta);
}

}  // namespace irpf2021
