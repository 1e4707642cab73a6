// The saved declaration: reading and writing its bytes, and where the files are kept.
//
// Reading works on the whole content at once: the text is brought to UTF-8 (Codificacion.h),
// cut into sections and entries without copying (LexicoIni.h), and taken into the
// declaration by the section tables (DisposicionFichero.h). The atomic, private writes are
// FicheroPrivado.h's.
#include "FicheroDeclaracion.h"

#include "Codificacion.h"
#include "DisposicionFichero.h"
#include "FicheroPrivado.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include <pwd.h>
#include <unistd.h>

namespace simulador {

std::string EscribeDeclaracion(const Declaracion &d) { return EscribeSecciones(d); }

namespace {

// `fichero` names the file in the messages ("el fichero «…»"), or is empty.
DeclaracionLeida leeContenido(std::string_view contenido, const std::string &fichero)
{
    const std::string elFichero = fichero.empty() ? "El fichero" : "El fichero «" + fichero + "»";
    if (std::memchr(contenido.data(), '\0', contenido.size()) != nullptr)
        throw ErrorFichero(elFichero + " no es una declaración guardada (contiene datos binarios).");
    std::string convertido;
    const std::string_view texto = TextoUtf8(contenido, convertido);
    const FicheroIni f = AnalizaIni(texto, SeccionesFichero(), kCasillasTecleables);
    // Without a single section of ours there is nothing to load: liquidating it would show
    // a declaration of zeros as if it had been read.
    if (!f.conSeccion) {
        const bool vacio = texto.find_first_not_of(" \t\r\n") == std::string_view::npos;
        throw ErrorFichero(elFichero + " no es una declaración: " +
                           (vacio ? "está vacío." : "no contiene ninguna de sus secciones ([Datos], [Trabajo], …)."));
    }
    DeclaracionLeida out;
    LeeSecciones(f, out.declaracion, out.avisos);
    // The writer ends every line with CR LF, so a last line without its end was cut short
    // (a disk that filled up, a copy that stopped): its value may be short of digits.
    // Notepad leaves the last line open too, so this is a warning, not a refusal.
    if (texto.back() != '\n') {
        const std::size_t inicio = texto.rfind('\n') + 1;  // npos + 1 is 0
        const int linea = static_cast<int>(std::count(texto.begin(), texto.end(), '\n')) + 1;
        out.avisos.push_back("El fichero parece cortado: la línea " + std::to_string(linea) + " («" +
                             MuestraLinea(texto.substr(inicio)) +
                             "») no termina; compruebe sus datos y los de las secciones que falten.");
    }
    return out;
}

const char kNombreUltima[] = "DatosCa21.Ini";

}  // namespace

DeclaracionLeida LeeDeclaracion(std::string_view contenido) { return leeContenido(contenido, {}); }

DeclaracionLeida CargaDeclaracion(const std::string &ruta)
{
    std::string contenido;
    try {
        contenido = LeeFichero(ruta, kTamanoMaximoFichero);
    } catch (const ErrorRuta &e) {
        if (e.codigo() == ENOENT)
            throw ErrorFichero("No se encuentra el fichero «" + ruta + "».");
        if (e.codigo() == EFBIG)
            throw ErrorFichero("El fichero «" + ruta + "» es demasiado grande (más de 1 MiB) para ser una declaración.");
        throw ErrorFichero("No se puede leer el fichero «" + ruta + "»: " + e.what() + ".");
    }
    return leeContenido(contenido, ruta);
}

void GuardaDeclaracion(const Declaracion &d, const std::string &ruta)
{
    const std::string bytes = EscribeDeclaracion(d);
    try {
        EscribeFichero(ruta, bytes);
    } catch (const ErrorRuta &e) {
        throw ErrorFichero("No se ha podido guardar la declaración en «" + ruta + "»: " + e.what() + ".");
    }
}

std::string CarpetaUltimaDeclaracion()
{
    // XDG_STATE_HOME only counts when absolute; without it, HOME, and without that the
    // home folder the system knows for the user.
    std::string base;
    const char *estado = std::getenv("XDG_STATE_HOME");
    if (estado && estado[0] == '/') {
        base = estado;
    } else {
        const char *home = std::getenv("HOME");
        if (!home || home[0] != '/') {
            const passwd *pw = getpwuid(getuid());
            home = pw ? pw->pw_dir : nullptr;
        }
        if (!home || home[0] != '/')
            return {};
        base = std::string(home) + "/.local/state";
    }
    return base + "/simulador-irpf2021";
}

std::string RutaUltimaDeclaracion(const std::string &carpeta)
{
    return carpeta.empty() ? std::string() : carpeta + "/" + kNombreUltima;
}

bool HayUltimaDeclaracion(const std::string &carpeta)
{
    if (carpeta.empty())
        return false;
    try {
        return CarpetaPrivada(carpeta, CarpetaPrivada::Apertura::Existente).contiene(kNombreUltima);
    } catch (const ErrorRuta &e) {
        // No folder yet (or no way to one): a first run.
        if (e.codigo() == ENOENT || e.codigo() == ENOTDIR)
            return false;
        throw ErrorFichero("No se puede leer la última declaración: " + std::string(e.what()) + ".");
    }
}

DeclaracionLeida CargaUltimaDeclaracion(const std::string &carpeta)
{
    const std::string ruta = RutaUltimaDeclaracion(carpeta);
    std::string contenido;
    try {
        contenido = CarpetaPrivada(carpeta, CarpetaPrivada::Apertura::Existente).lee(kNombreUltima, kTamanoMaximoFichero);
    } catch (const ErrorRuta &e) {
        if (e.codigo() == EFBIG)
            throw ErrorFichero("El fichero «" + ruta + "» es demasiado grande (más de 1 MiB) para ser una declaración.");
        throw ErrorFichero("No se puede leer el fichero «" + ruta + "»: " + e.what() + ".");
    }
    return leeContenido(contenido, ruta);
}

void GuardaUltimaDeclaracion(const Declaracion &d, const std::string &carpeta)
{
    const std::string bytes = EscribeDeclaracion(d);
    try {
        if (carpeta.empty())
            throw ErrorRuta(0, "no se conoce la carpeta personal del usuario (HOME)");
        CarpetaPrivada(carpeta, CarpetaPrivada::Apertura::Crea).escribe(kNombreUltima, bytes);
    } catch (const ErrorRuta &e) {
        const std::string donde =
            carpeta.empty() ? "la última declaración" : "la declaración en «" + RutaUltimaDeclaracion(carpeta) + "»";
        throw ErrorFichero("No se ha podido guardar " + donde + ": " + e.what() + ".");
    }
}

}  // namespace simulador
