#include "LexicoIni.h"

#include "Codificacion.h"
#include "TextoImporte.h"

#include <algorithm>

namespace simulador {

namespace {

bool mismoNombre(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z')
            x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z')
            y = static_cast<char>(y - 'A' + 'a');
        if (x != y)
            return false;
    }
    return true;
}

// The number a list key or a box key stands for: plain decimal digits, no sign, no
// leading zero (the reader matches key texts, so "07" is not key "7"). -1 otherwise.
long numeroDeClave(std::string_view k)
{
    if (k.empty() || k.size() > 9 || (k.size() > 1 && k[0] == '0'))
        return -1;
    long n = 0;
    for (char c : k) {
        if (c < '0' || c > '9')
            return -1;
        n = n * 10 + (c - '0');
    }
    return n;
}

}  // namespace

const EntradaIni *ApartadoIni::busca(std::string_view clave) const
{
    for (const EntradaIni &e : entradas) {
        if (mismoNombre(e.clave, clave))
            return &e;
    }
    return nullptr;
}

const EntradaIni *ApartadoIni::busca(std::size_t n) const
{
    if (n >= porNumero.size() || porNumero[n] < 0)
        return nullptr;
    return &entradas[static_cast<std::size_t>(porNumero[n])];
}

std::string MuestraLinea(std::string_view linea)
{
    const std::string_view corta = PrimerosCaracteres(linea, 80);
    return corta.size() < linea.size() ? std::string(corta) + "…" : std::string(corta);
}

FicheroIni AnalizaIni(std::string_view texto, const std::vector<std::string_view> &secciones,
                      std::size_t numerosMinimos)
{
    FicheroIni f;
    f.apartados.resize(secciones.size());
    int actual = -1;
    int numLinea = 0;
    std::size_t pos = 0;
    while (pos < texto.size()) {
        std::size_t fin = texto.find('\n', pos);
        if (fin == std::string_view::npos)
            fin = texto.size();
        std::string_view linea = texto.substr(pos, fin - pos);
        pos = fin + 1;
        ++numLinea;
        if (!linea.empty() && linea.back() == '\r')
            linea.remove_suffix(1);
        const std::string_view limpia = Recorta(linea);
        if (limpia.empty() || limpia.front() == ';')
            continue;
        if (limpia.front() == '[' && limpia.back() == ']' && limpia.size() >= 2) {
            const std::string_view nombre = Recorta(limpia.substr(1, limpia.size() - 2));
            actual = -1;
            for (std::size_t s = 0; s < secciones.size(); ++s) {
                if (mismoNombre(nombre, secciones[s]))
                    actual = static_cast<int>(s);
            }
            f.conSeccion = f.conSeccion || actual >= 0;
            continue;
        }
        const std::size_t igual = limpia.find('=');
        const std::string_view clave =
            igual == std::string_view::npos ? std::string_view() : Recorta(limpia.substr(0, igual));
        if (clave.empty())
            throw ErrorFichero("Línea no válida en el fichero (línea " + std::to_string(numLinea) + "): «" +
                                   MuestraLinea(limpia) + "»",
                               {}, {}, numLinea);
        if (actual >= 0)
            f.apartados[static_cast<std::size_t>(actual)].entradas.push_back(
                {clave, PrimerosCaracteres(Recorta(limpia.substr(igual + 1)), kLargoMaximoValor), numLinea});
    }
    for (ApartadoIni &a : f.apartados) {
        if (a.entradas.empty())
            continue;
        a.porNumero.assign(std::max(a.entradas.size(), numerosMinimos), -1);
        for (std::size_t i = 0; i < a.entradas.size(); ++i) {
            const long n = numeroDeClave(a.entradas[i].clave);
            if (n >= 0 && static_cast<std::size_t>(n) < a.porNumero.size() && a.porNumero[n] < 0)
                a.porNumero[n] = static_cast<int>(i);
        }
    }
    return f;
}

}  // namespace simulador
