#include "TextoJson.h"

namespace simulador {

void AnadeJson(std::string &out, std::string_view texto)
{
    static const char kHex[] = "0123456789abcdef";
    out.push_back('"');
    for (std::size_t i = 0; i < texto.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(texto[i]);
        if (c == '"' || c == '\\') {
            out.push_back('\\');
            out.push_back(static_cast<char>(c));
        } else if (c < 0x20) {
            out += "\\u00";
            out.push_back(kHex[c >> 4]);
            out.push_back(kHex[c & 0xF]);
        } else if (c < 0x80) {
            out.push_back(static_cast<char>(c));
        } else {
            // Copy a well-formed UTF-8 sequence; anything else is replaced.
            const std::size_t largo = (c & 0xE0) == 0xC0 ? 2 : (c & 0xF0) == 0xE0 ? 3 : (c & 0xF8) == 0xF0 ? 4 : 0;
            bool valida = largo > 0 && i + largo <= texto.size();
            for (std::size_t k = 1; valida && k < largo; ++k)
                valida = (static_cast<unsigned char>(texto[i + k]) & 0xC0) == 0x80;
            if (valida) {
                out.append(texto.substr(i, largo));
                i += largo - 1;
            } else {
                out += "\xEF\xBF\xBD";
            }
        }
    }
    out.push_back('"');
}

}  // namespace simulador
