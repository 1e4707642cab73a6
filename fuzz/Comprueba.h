// What the fuzz targets share: a failed property stops the run with the reason, so that
// libFuzzer keeps the input that broke it.
#pragma once

#include <cstdio>
#include <cstdlib>

#define COMPRUEBA(condicion, ...)                                                                  \
    do {                                                                                           \
        if (!(condicion)) {                                                                        \
            std::fprintf(stderr, "Propiedad rota en %s:%d: %s\n", __FILE__, __LINE__, #condicion); \
            std::fprintf(stderr, __VA_ARGS__);                                                     \
            std::fputc('\n', stderr);                                                              \
            std::abort();                                                                          \
        }                                                                                          \
    } while (0)
