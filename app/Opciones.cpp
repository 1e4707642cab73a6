#include "Opciones.h"

#include "Codificacion.h"

#ifndef SIMULADOR_VERSION
#define SIMULADOR_VERSION ""
#endif

Opciones LeeOpciones(int argc, const char *const argv[])
{
    Opciones o;
    bool soloFicheros = false;  // after "--" a name starting with '-' is a file
    auto error = [&o](std::string texto) {
        o.accion = Opciones::Accion::Error;
        o.error = std::move(texto);
        return o;
    };
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (!soloFicheros && a == "--") {
            soloFicheros = true;
        } else if (!soloFicheros && (a == "-h" || a == "--help")) {
            o.accion = Opciones::Accion::Ayuda;
            return o;
        } else if (!soloFicheros && a == "--version") {
            o.accion = Opciones::Accion::Version;
            return o;
        } else if (!soloFicheros && a.size() > 1 && a[0] == '-') {
            return error("opción desconocida: «" + simulador::SinControles(a) + "»");
        } else if (!o.fichero.empty()) {
            return error("se abre un solo FICHERO cada vez");
        } else if (a.empty()) {
            return error("el nombre del fichero está vacío");
        } else {
            o.fichero = a;
        }
    }
    return o;
}

std::string TextoAyuda()
{
    return "Uso: simulador [FICHERO]\n"
           "     simulador --help | --version\n"
           "Simulador de la declaración del IRPF 2021 para profesionales.\n"
           "\n"
           "Sin FICHERO ofrece la última declaración guardada al salir; con FICHERO abre al\n"
           "empezar esa declaración de un cliente, como «Abrir…». Si no se puede leer, lo\n"
           "dice y empieza como sin él.\n"
           "\n"
           "  -h, --help   muestra esta ayuda y termina\n"
           "  --version    muestra la versión y termina\n"
           "  --           lo que sigue es el FICHERO, aunque empiece por «-»\n"
           "\n"
           "Para liquidar declaraciones desde la línea de órdenes, véase irpf2021(1).\n"
           "Las teclas, los ficheros y cada opción en detalle: «man simulador».\n";
}

std::string TextoVersion() { return std::string("simulador ") + SIMULADOR_VERSION + " (IRPF, ejercicio 2021)\n"; }
