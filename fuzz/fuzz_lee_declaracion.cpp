// The saved-declaration reader on any bytes. It may refuse a file, with an ErrorFichero
// that says why, but it never crashes, hangs or lets another exception out. Whatever it
// accepts must survive a save: the bytes written read back without error, and from then
// on saving and loading again changes nothing (nothing lost, nothing shifted). The first
// save may tidy what no screen writes (a control character becomes a blank, then trimmed;
// an item without owner is dropped), so the comparison starts from the saved bytes.
#include "Codificacion.h"
#include "Comprueba.h"
#include "FicheroDeclaracion.h"

#include <algorithm>
#include <cstdint>

using namespace simulador;

namespace {

// True for bytes the reader takes for UTF-8: something beyond ASCII, all of it well formed.
// The writer writes Windows-1252, and a text whose every such byte run happens to be UTF-8
// too ("Ã±") reads back as the UTF-8 character: a limit of telling the two apart without a
// mark, which no screen-typed declaration reaches (a lone "ñ", "é" or "Sí" settles it).
bool pareceUtf8(std::string_view s)
{
    const bool noAscii = std::any_of(s.begin(), s.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
    return noAscii && EsUtf8(s);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *datos, std::size_t tamano)
{
    // CargaDeclaracion refuses larger files before reading them.
    if (tamano > kTamanoMaximoFichero)
        return 0;
    const std::string_view contenido(reinterpret_cast<const char *>(datos), tamano);
    DeclaracionLeida leida;
    try {
        leida = LeeDeclaracion(contenido);
    } catch (const ErrorFichero &e) {
        COMPRUEBA(*e.what() != '\0', "an error without a message");
        return 0;
    }
    const std::string primera = EscribeDeclaracion(leida.declaracion);
    DeclaracionLeida releida;
    try {
        releida = LeeDeclaracion(primera);
    } catch (const ErrorFichero &e) {
        COMPRUEBA(false, "a saved file does not load again: %s", e.what());
    }
    const std::string segunda = EscribeDeclaracion(releida.declaracion);
    if (pareceUtf8(primera) || pareceUtf8(segunda))
        return 0;
    DeclaracionLeida tercera;
    try {
        tercera = LeeDeclaracion(segunda);
    } catch (const ErrorFichero &e) {
        COMPRUEBA(false, "a saved file does not load again: %s", e.what());
    }
    COMPRUEBA(tercera.declaracion == releida.declaracion && EscribeDeclaracion(tercera.declaracion) == segunda,
              "a save and a load changed the declaration:\n%s", segunda.c_str());
    return 0;
}
