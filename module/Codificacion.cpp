#include "Codificacion.h"

#include <array>

namespace simulador {

namespace {

// Code points of the bytes 0x80-0x9F in Windows-1252; 0xA0-0xFF are Latin-1.
constexpr std::array<char32_t, 32> kBloque80 = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

bool esContinuacion(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

}  // namespace

std::size_t SecuenciaUtf8(std::string_view s, std::size_t i, char32_t &cp)
{
    const auto b0 = static_cast<unsigned char>(s[i]);
    if (b0 < 0x80) {
        cp = b0;
        return 1;
    }
    std::size_t n;
    char32_t minimo;
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        n = 2, minimo = 0x80, cp = b0 & 0x1F;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        n = 3, minimo = 0x800, cp = b0 & 0x0F;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        n = 4, minimo = 0x10000, cp = b0 & 0x07;
    } else {
        return 0;
    }
    if (i + n > s.size())
        return 0;
    for (std::size_t k = 1; k < n; ++k) {
        if (!esContinuacion(s[i + k]))
            return 0;
        cp = (cp << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
    }
    if (cp < minimo || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return 0;
    return n;
}

bool EsUtf8(std::string_view s)
{
    for (std::size_t i = 0; i < s.size();) {
        char32_t cp;
        const std::size_t n = SecuenciaUtf8(s, i, cp);
        if (n == 0)
            return false;
        i += n;
    }
    return true;
}

void AnadeUtf8(std::string &out, char32_t c)
{
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (c >> 18)));
        out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

std::u32string DecodificaUtf8(std::string_view s)
{
    std::u32string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size();) {
        char32_t cp;
        std::size_t n = SecuenciaUtf8(s, i, cp);
        if (n == 0) {
            cp = kCaracterSustitucion;
            n = 1;
        }
        out.push_back(cp);
        i += n;
    }
    return out;
}

std::string CodificaUtf8(std::u32string_view s)
{
    std::string out;
    out.reserve(s.size());
    for (char32_t c : s)
        AnadeUtf8(out, c);
    return out;
}

namespace {

bool EsControl(char32_t cp) { return (cp < 0x20 && cp != '\t') || (cp >= 0x7F && cp <= 0x9F); }

void AnadeEscape(std::string &out, unsigned valor)
{
    static const char kHex[] = "0123456789abcdef";
    out += "\\x";
    out.push_back(kHex[(valor >> 4) & 0xF]);
    out.push_back(kHex[valor & 0xF]);
}

}  // namespace

std::string SinControles(std::string_view texto, bool conSaltos)
{
    std::string out;
    out.reserve(texto.size());
    for (std::size_t i = 0; i < texto.size();) {
        char32_t cp;
        const std::size_t n = SecuenciaUtf8(texto, i, cp);
        if (n == 0) {
            AnadeEscape(out, static_cast<unsigned char>(texto[i]));
            ++i;
            continue;
        }
        if (EsControl(cp) && !(conSaltos && (cp == '\r' || cp == '\n')))
            AnadeEscape(out, cp);
        else
            out.append(texto, i, n);
        i += n;
    }
    return out;
}

std::size_t Caracteres(std::string_view s)
{
    std::size_t n = 0;
    for (char c : s)
        n += !esContinuacion(c);
    return n;
}

std::string_view PrimerosCaracteres(std::string_view s, std::size_t n)
{
    if (s.size() <= n)
        return s;
    std::size_t caracteres = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (!esContinuacion(s[i]) && caracteres++ == n)
            return s.substr(0, i);
    }
    return s;
}

std::string DeCp1252(std::string_view s)
{
    std::string out;
    out.reserve(s.size() + s.size() / 8);
    for (char ch : s) {
        const auto b = static_cast<unsigned char>(ch);
        if (b < 0x80)
            out.push_back(ch);
        else
            AnadeUtf8(out, b < 0xA0 ? kBloque80[b - 0x80] : char32_t{b});
    }
    return out;
}

char ByteCp1252(char32_t cp)
{
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF))
        return static_cast<char>(cp);
    for (std::size_t k = 0; k < kBloque80.size(); ++k) {
        if (kBloque80[k] == cp)
            return static_cast<char>(0x80 + k);
    }
    return '?';
}

std::string_view TextoUtf8(std::string_view bytes, std::string &convertido)
{
    if (!EsUtf8(bytes)) {
        convertido = DeCp1252(bytes);
        return convertido;
    }
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF")
        bytes.remove_prefix(3);
    return bytes;
}

}  // namespace simulador
