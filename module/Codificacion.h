// Text encodings: the program's texts are UTF-8, saved declarations are Windows-1252 (or
// UTF-8, when a user edited one with a modern editor). Every reading of UTF-8 in the
// program goes through SecuenciaUtf8, so there is one notion of a well-formed text.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace simulador {

inline constexpr char32_t kCaracterSustitucion = 0xFFFD;

// Length of the UTF-8 sequence at s[i], or 0 when it is not a well-formed one (overlong
// forms, surrogates and code points above U+10FFFF are refused). Its code point goes to cp.
std::size_t SecuenciaUtf8(std::string_view s, std::size_t i, char32_t &cp);
// Whether every byte of `s` belongs to a well-formed UTF-8 sequence.
bool EsUtf8(std::string_view s);

void AnadeUtf8(std::string &out, char32_t cp);
// Code points of a text; a byte that starts no well-formed sequence becomes U+FFFD.
std::u32string DecodificaUtf8(std::string_view s);
std::string CodificaUtf8(std::u32string_view s);

// Characters of a UTF-8 text, as an edit control or a terminal column counts them.
std::size_t Caracteres(std::string_view s);
// The first `n` characters of a UTF-8 text, never cutting one in two.
std::string_view PrimerosCaracteres(std::string_view s, std::size_t n);

// A text from a file or from the command line, made harmless for a terminal: control
// characters (C0 but the tab, DEL, C1), which could retitle the window or clear the screen,
// and bytes that are not UTF-8 are written as visible escapes such as \x1b. With
// `conSaltos`, CR and LF stay as they are: a CSV field or a tree of many lines carries them.
std::string SinControles(std::string_view texto, bool conSaltos = false);

// Windows-1252 bytes as UTF-8. The five bytes the code page leaves undefined become the C1
// control of the same value, as Windows itself converts them, so that they survive a read
// and a write unchanged.
std::string DeCp1252(std::string_view s);
// The Windows-1252 byte of a code point; "?" for what the code page cannot hold.
char ByteCp1252(char32_t cp);

// A file's bytes as UTF-8 text: as they are when they are ASCII or well-formed UTF-8 (a
// byte-order mark dropped), else read as Windows-1252 into `convertido`, which the result
// then points into.
std::string_view TextoUtf8(std::string_view bytes, std::string &convertido);

}  // namespace simulador
