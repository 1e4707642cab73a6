#include "TextoJson.h"

#include "Codificacion.h"

namespace simulador {

void AnadeJson(std::string &out, std::string_view texto)
{
    static const char kHex[] = "0123456789abcdef";
    out.push_back('"');
    for (std::size_t i = 0; i < texto.size();) {
        char32_t cp;
        const std::size_t n = SecuenciaUtf8(texto, i, cp);
        if (n == 0) {
            AnadeUtf8(out, kCaracterSustitucion);
            ++i;
            continue;
        }
        if (cp == '"' || cp == '\\') {
            out.push_back('\\');
            out.push_back(static_cast<char>(cp));
        } else if (cp < 0x20 || (cp >= 0x7F && cp <= 0x9F)) {
            // Controls (C0, DEL, C1) would drive a terminal that shows the line.
            out += "\\u00";
            out.push_back(kHex[(cp >> 4) & 0xF]);
            out.push_back(kHex[cp & 0xF]);
        } else {
            out.append(texto.substr(i, n));
        }
        i += n;
    }
    out.push_back('"');
}

}  // namespace simulador
