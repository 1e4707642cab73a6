// The saved declaration: writer, one-pass reader, and where the files are kept.
//
// Reading works on the whole content at once. The text is first brought to UTF-8 (it is
// already UTF-8, or it is Windows-1252 and converted in one go), then cut into lines and
// every "key=value" is kept as a pair of string_views into that text, filed under its
// section. The lookups that follow are linear over a few entries per section, except the
// list keys "0", "1", ..., which go through a per-section index by number so that a long
// list stays linear. Nothing is copied until a value lands in the Declaracion.
#include "FicheroDeclaracion.h"

#include "Fechas.h"
#include "FicheroPrivado.h"
#include "TablaCasillas.h"
#include "TextoImporte.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <limits>

#include <pwd.h>
#include <unistd.h>

namespace simulador {

namespace {

// ---------------------------------------------------------------------------------------
// Windows-1252 and UTF-8

// Code points of the bytes 0x80-0x9F in Windows-1252. The five bytes the code page leaves
// undefined map to the C1 control of the same value, as Windows itself converts them, so
// that they survive a read and a write unchanged. 0xA0-0xFF are Latin-1.
constexpr std::array<char32_t, 32> kBloque80 = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

void anadeUtf8(std::string &out, char32_t c)
{
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

std::string deCp1252(std::string_view s)
{
    std::string out;
    out.reserve(s.size() + s.size() / 8);
    for (char ch : s) {
        const auto b = static_cast<unsigned char>(ch);
        if (b < 0x80)
            out.push_back(ch);
        else
            anadeUtf8(out, b < 0xA0 ? kBloque80[b - 0x80] : char32_t{b});
    }
    return out;
}

// Length of the UTF-8 sequence at s[i], or 0 when it is not a well-formed one (overlong
// forms, surrogates and code points above U+10FFFF are refused). Its code point goes to cp.
std::size_t secuenciaUtf8(std::string_view s, std::size_t i, char32_t &cp)
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
        const auto b = static_cast<unsigned char>(s[i + k]);
        if ((b & 0xC0) != 0x80)
            return 0;
        cp = (cp << 6) | (b & 0x3F);
    }
    if (cp < minimo || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return 0;
    return n;
}

enum class Codificacion { Ascii, Utf8, Cp1252 };

Codificacion codificacionDe(std::string_view s)
{
    bool noAscii = false;
    for (std::size_t i = 0; i < s.size();) {
        if (static_cast<unsigned char>(s[i]) < 0x80) {
            ++i;
            continue;
        }
        noAscii = true;
        char32_t cp;
        const std::size_t n = secuenciaUtf8(s, i, cp);
        if (n == 0)
            return Codificacion::Cp1252;
        i += n;
    }
    return noAscii ? Codificacion::Utf8 : Codificacion::Ascii;
}

unsigned char byteCp1252(char32_t cp)
{
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF))
        return static_cast<unsigned char>(cp);
    for (std::size_t k = 0; k < kBloque80.size(); ++k) {
        if (kBloque80[k] == cp)
            return static_cast<unsigned char>(0x80 + k);
    }
    return '?';
}

// Appends a UTF-8 text of the declaration in Windows-1252. What the code page cannot hold
// becomes "?"; a line break or other control character would break the line structure, so
// it is written as a blank, and inside a record a "|" would shift every later field, so it
// is written as "?".
void anadeTexto(std::string &out, std::string_view s, bool enRegistro)
{
    for (std::size_t i = 0; i < s.size();) {
        char32_t cp;
        std::size_t n = secuenciaUtf8(s, i, cp);
        if (n == 0) {
            cp = '?';
            n = 1;
        }
        i += n;
        if (cp < 0x20 || cp == 0x7F)
            out.push_back(' ');
        else if (cp == '|' && enRegistro)
            out.push_back('?');
        else
            out.push_back(static_cast<char>(byteCp1252(cp)));
    }
}

// ---------------------------------------------------------------------------------------
// Sections and the line parser

enum Seccion {
    Datos,
    UnidadFamiliar,
    Trabajo,
    Mobiliario,
    Inmobiliario,
    Directas,
    Modulos,
    Agrarias,
    Reducciones,
    Ganancias,
    Deducciones,
    Autonomicas,
    Varios,
    kNumSecciones
};

constexpr std::array<std::string_view, kNumSecciones> kNombreSeccion = {
    "Datos",   "UnidadFamiliar", "Trabajo",   "Mobiliario",  "Inmobiliario", "Directas", "Modulos",
    "Agrarias", "Reducciones",   "Ganancias", "Deducciones", "Autonomicas",  "Varios",
};

constexpr std::size_t kLargoMaximoValor = 249;  // what the original 250-byte buffer held

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

// The first `n` characters of a UTF-8 text.
std::string_view primeros(std::string_view v, std::size_t n)
{
    if (v.size() <= n)
        return v;
    std::size_t caracteres = 0;
    for (std::size_t i = 0; i < v.size(); ++i) {
        if ((static_cast<unsigned char>(v[i]) & 0xC0) != 0x80 && caracteres++ == n)
            return v.substr(0, i);
    }
    return v;
}

struct Entrada {
    std::string_view clave, valor;
    int linea;
};

struct Apartado {
    std::vector<Entrada> entradas;
    // porNumero[n]: index in entradas of the first key "n", -1 when absent. A list read
    // stops at the first missing key, so a key at or above the entry count can never be
    // reached and the index needs no more slots than that (nor fewer than the boxes).
    std::vector<int> porNumero;

    const Entrada *busca(std::string_view clave) const
    {
        for (const Entrada &e : entradas) {
            if (mismoNombre(e.clave, clave))
                return &e;
        }
        return nullptr;
    }
    const Entrada *busca(std::size_t n) const
    {
        if (n >= porNumero.size() || porNumero[n] < 0)
            return nullptr;
        return &entradas[static_cast<std::size_t>(porNumero[n])];
    }
};

using Fichero = std::array<Apartado, kNumSecciones>;

std::string muestraLinea(std::string_view linea)
{
    const std::string_view corta = primeros(linea, 80);
    return corta.size() < linea.size() ? std::string(corta) + "…" : std::string(corta);
}

// Cuts the UTF-8 text into lines and files every entry under its section. Entries of a
// section that is not ours, and those before the first header, are checked and dropped.
// `conSeccion` tells whether any header of ours was seen.
Fichero analiza(std::string_view texto, bool &conSeccion)
{
    Fichero f;
    conSeccion = false;
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
            for (int s = 0; s < kNumSecciones; ++s) {
                if (mismoNombre(nombre, kNombreSeccion[s]))
                    actual = s;
            }
            conSeccion = conSeccion || actual >= 0;
            continue;
        }
        const std::size_t igual = limpia.find('=');
        const std::string_view clave =
            igual == std::string_view::npos ? std::string_view() : Recorta(limpia.substr(0, igual));
        if (clave.empty())
            throw ErrorFichero("Línea no válida en el fichero (línea " + std::to_string(numLinea) + "): «" +
                                   muestraLinea(limpia) + "»",
                               {}, {}, numLinea);
        if (actual >= 0)
            f[actual].entradas.push_back(
                {clave, primeros(Recorta(limpia.substr(igual + 1)), kLargoMaximoValor), numLinea});
    }
    for (Apartado &a : f) {
        if (a.entradas.empty())
            continue;
        a.porNumero.assign(std::max<std::size_t>(a.entradas.size(), kCasillasTecleables), -1);
        for (std::size_t i = 0; i < a.entradas.size(); ++i) {
            const long n = numeroDeClave(a.entradas[i].clave);
            if (n >= 0 && static_cast<std::size_t>(n) < a.porNumero.size() && a.porNumero[n] < 0)
                a.porNumero[n] = static_cast<int>(i);
        }
    }
    return f;
}

// ---------------------------------------------------------------------------------------
// One value, split into its "|" fields, with the place it came from for the messages

class Valor {
public:
    static constexpr std::size_t kMaxCampos = 11;  // the longest record, DatosGanancia

    // The key is a name ("Tramo") or a number (list and box keys); its text is only made
    // for a message.
    Valor(Seccion s, std::string_view clave, const Entrada *e, std::vector<std::string> &avisos)
        : Valor(s, clave, 0, e, avisos)
    {
    }
    Valor(Seccion s, std::size_t clave, const Entrada *e, std::vector<std::string> &avisos)
        : Valor(s, {}, clave, e, avisos)
    {
    }

    // A field that the value does not reach reads as empty.
    std::string_view campo(std::size_t i) const { return i < m_num ? m_campos[i] : std::string_view(); }
    std::string texto(std::size_t i) const { return std::string(campo(i)); }

    Money importe(std::size_t i) const { return leeImporte(campo(i), EstiloImporte::Fichero); }
    // The whole value as one amount in the sheet's form ([Varios]), "|" and all.
    Money importeDePantalla() const { return leeImporte(m_entero, EstiloImporte::Pantalla); }

    std::int16_t entero16(std::size_t i) const
    {
        return static_cast<std::int16_t>(entero(i, true, std::numeric_limits<std::int16_t>::min(),
                                                std::numeric_limits<std::int16_t>::max()));
    }
    std::uint8_t byte(std::size_t i) const
    {
        return static_cast<std::uint8_t>(entero(i, false, 0, std::numeric_limits<std::uint8_t>::max()));
    }

    // The texts below are kept as they are even when the screens could never have produced
    // them (the engine copes with any text); each such text leaves a warning.
    std::string siNo(std::size_t i) const
    {
        const std::string_view t = campo(i);
        if (!t.empty() && t != "Sí" && t != "No")
            avisa("Valor no válido", t, " (se espera «Sí» o «No»)", ": se trata como «No».");
        return std::string(t);
    }
    std::string deUnConjunto(std::size_t i, std::string_view conjunto, const char *que) const
    {
        const std::string_view t = campo(i);
        if (t.size() != 1 || conjunto.find(t[0]) == std::string_view::npos)
            avisa(que, t, {}, ": se trata como vacía.");
        return std::string(t);
    }
    // An empty owner ends the list for the computation of movable capital and gains, and
    // only skips the item among the deductions; the engine takes an owner that is not
    // "D", "C" or "A" for an empty one.
    std::string titular(std::size_t i, bool terminaLista) const
    {
        const std::string_view t = campo(i);
        const std::string consecuencia = terminaLista ? "el cálculo termina la lista en esta entrada."
                                                      : "el cálculo no tiene en cuenta esta entrada.";
        if (t.empty())
            m_avisos.push_back("Titular vacío " + donde() + ": " + consecuencia);
        else if (t != "A" && t != "D" && t != "C")
            avisa("Titular no válido", t, {}, ": se trata como vacío y " + consecuencia);
        return std::string(t);
    }
    std::string fecha(std::size_t i) const
    {
        const std::string_view t = campo(i);
        if (!Recorta(t).empty() && !LeeFecha(t))
            avisa("Fecha no válida", t, {}, ": se trata como vacía.");
        return std::string(t);
    }

    std::string donde() const
    {
        return "en [" + std::string(kNombreSeccion[m_seccion]) + "], clave " + clave() + ", línea " +
               std::to_string(m_linea);
    }
    void avisa(const char *que, std::string_view t, std::string_view nota, std::string_view consecuencia) const
    {
        m_avisos.push_back(std::string(que) + " «" + std::string(t) + "»" + std::string(nota) + " " + donde() +
                           std::string(consecuencia));
    }

private:
    Valor(Seccion s, std::string_view nombre, std::size_t numero, const Entrada *e, std::vector<std::string> &avisos)
        : m_seccion(s), m_nombreClave(nombre), m_numeroClave(numero), m_linea(e ? e->linea : 0), m_avisos(avisos)
    {
        if (!e)
            return;
        m_entero = e->valor;
        std::string_view v = m_entero;
        while (m_num < kMaxCampos) {
            const std::size_t barra = v.find('|');
            m_campos[m_num++] = v.substr(0, barra);
            if (barra == std::string_view::npos)
                break;
            v.remove_prefix(barra + 1);
        }
    }

    std::string clave() const
    {
        return m_nombreClave.empty() ? std::to_string(m_numeroClave) : std::string(m_nombreClave);
    }

    Money leeImporte(std::string_view texto, EstiloImporte estilo) const
    {
        const std::string_view t = Recorta(texto);
        if (t.empty())
            return Money();
        const ImporteLeido r = LeeImporte(t, estilo);
        if (r.estado == Lectura::FueraDeRango)
            falla("Importe fuera de rango", t);
        if (!r.ok())
            falla("Importe no válido", t);
        return r.valor;
    }

    [[noreturn]] void falla(const char *que, std::string_view t) const
    {
        throw ErrorFichero(std::string(que) + " «" + std::string(t) + "» " + donde() + ".",
                           std::string(kNombreSeccion[m_seccion]), clave(), m_linea);
    }

    long entero(std::size_t i, bool conSigno, long minimo, long maximo) const
    {
        const std::string_view t = Recorta(campo(i));
        std::string_view d = t;
        bool negativo = false;
        if (conSigno && !d.empty() && d.front() == '-') {
            negativo = true;
            d.remove_prefix(1);
        }
        if (t.empty())
            return 0;
        if (d.empty())
            falla("Número no válido", t);
        long n = 0;
        bool grande = false;
        for (char c : d) {
            if (c < '0' || c > '9')
                falla("Número no válido", t);
            if (!grande)
                n = n * 10 + (c - '0');
            grande = grande || n > 1000000;
        }
        if (negativo)
            n = -n;
        if (grande || n < minimo || n > maximo)
            falla("Número fuera de rango", t);
        return n;
    }

    Seccion m_seccion;
    std::string_view m_nombreClave;
    std::size_t m_numeroClave;
    int m_linea;
    std::vector<std::string> &m_avisos;
    std::string_view m_entero;
    std::array<std::string_view, kMaxCampos> m_campos{};
    std::size_t m_num = 0;
};

// Whether the grouping dots of an amount in the sheet's form stand between groups of three
// figures, counted from the decimal comma: "1.234.567,89" and "1234,5" do, "12.34" and
// "1.2.3,45" do not.
bool gruposDeTres(std::string_view t)
{
    const std::string_view entero = t.substr(0, t.find(','));
    std::size_t grupo = 0;
    bool conPuntos = false;
    for (std::size_t i = entero.size(); i-- > 0;) {
        if (entero[i] == '.') {
            if (grupo != 3)
                return false;
            grupo = 0;
            conPuntos = true;
        } else if (entero[i] >= '0' && entero[i] <= '9') {
            ++grupo;
        }
    }
    return !conPuntos || (grupo >= 1 && grupo <= 3);
}

bool esRegion(std::string_view a)
{
    static constexpr std::array<std::string_view, 16> kCodigos = {"00", "01", "02", "03", "04", "05", "06", "07",
                                                                  "08", "09", "10", "11", "12", "13", "16", "17"};
    for (std::string_view c : kCodigos) {
        if (a == c)
            return true;
    }
    return a.empty();
}

// Entry 0 of Rentas holds the declarant's and the spouse's amounts added together. Two
// amounts each within range may not add up within it: refused here, naming the section,
// rather than left to fail in RehaceTotales without saying where.
void compruebaTotales(const Fichero &f, const Declaracion &d)
{
    using R = DatosRenta;
    struct Suma {
        Seccion seccion;
        std::array<Money R::*, 5> campos;
    };
    static const Suma kSumas[] = {
        {Trabajo, {&R::TrabIngresos, &R::TrabGastos, &R::TrabRetencion, &R::TrabReduccion, &R::TrabContribEmpresa}},
        {Inmobiliario, {&R::InmIngresos, &R::InmGastos, &R::InmIntereses, &R::InmRetencion}},
        {Directas, {&R::DirIngresos, &R::DirGastos, &R::DirPagosFrac, &R::DirRetencion}},
        {Modulos, {&R::ModRdtoNeto, &R::ModGastosExtra, &R::ModPagosFrac, &R::ModRetencion}},
        {Agrarias, {&R::AgrRdtoNeto, &R::AgrGastosExtra, &R::AgrPagosFrac, &R::AgrRetencion}},
        {Reducciones, {&R::RedPlanPension, &R::RedAnualidades, &R::RedAnualidadHijos}},
    };
    for (const Suma &s : kSumas) {
        for (Money R::*campo : s.campos) {
            if (!campo)
                continue;
            try {
                (void)(d.Rentas[1].*campo + d.Rentas[2].*campo);
            } catch (const ErrorImporte &) {
                const Entrada *e = f[s.seccion].busca(std::size_t{2});
                const int linea = e ? e->linea : 0;
                throw ErrorFichero("Importe fuera de rango en [" + std::string(kNombreSeccion[s.seccion]) +
                                       "], clave 2, línea " + std::to_string(linea) +
                                       ": la suma del declarante y el cónyuge no cabe en el tipo de importe.",
                                   std::string(kNombreSeccion[s.seccion]), "2", linea);
            }
        }
    }
}

void leeFichero(const Fichero &f, DeclaracionLeida &out)
{
    Declaracion &d = out.declaracion;
    std::vector<std::string> &avisos = out.avisos;
    const auto valor = [&](Seccion s, std::size_t clave) {
        return Valor(s, clave, f[s].busca(clave), avisos);
    };

    {
        const Apartado &datos = f[Datos];
        const Entrada *nombre = datos.busca("Nombre");
        d.Nombre = nombre ? std::string(nombre->valor) : std::string();
        const Entrada *region = datos.busca("Autonomia");
        d.Autonomia = region ? std::string(region->valor) : std::string();
        if (!esRegion(d.Autonomia))
            Valor(Datos, std::string_view("Autonomia"), region, avisos)
                .avisa("Comunidad autónoma no válida", d.Autonomia, {}, ": se trata como «00».");
        d.TramoVivienda = Valor(Datos, std::string_view("Tramo"), datos.busca("Tramo"), avisos).entero16(0);
    }

    for (std::size_t r = 0; r < d.Miembros.size(); ++r) {
        const Valor v = valor(UnidadFamiliar, r);
        MiembroFam &m = d.Miembros[r];
        m.Edad = v.entero16(0);
        m.AnoNac = v.entero16(1);
        m.Minusvalia = v.byte(2);
        m.Perceptor = v.texto(3);
        if (!m.Perceptor.empty() && m.Perceptor != "D" && m.Perceptor != "C")
            v.avisa("Perceptor no válido", m.Perceptor, " (se espera «D», «C» o nada)", ": se trata como vacío.");
        m.Fallecido = v.siNo(4);
        m.Ayuda = v.siNo(5);
        m.Convivencia = v.byte(6);
        m.Abono = v.siNo(7);
    }

    for (std::size_t p = 1; p <= 2; ++p) {
        DatosRenta &x = d.Rentas[p];
        const Valor t = valor(Trabajo, p);
        x.TrabIngresos = t.importe(0);
        x.TrabGastos = t.importe(1);
        x.TrabRetencion = t.importe(2);
        x.TrabReduccion = t.importe(3);
        x.TrabContribEmpresa = t.importe(4);
        x.TrabMovilidad = t.siNo(5);
        x.TrabOpcion2 = t.siNo(6);
        const Valor i = valor(Inmobiliario, p);
        x.InmIngresos = i.importe(0);
        x.InmGastos = i.importe(1);
        x.InmRetencion = i.importe(2);
        x.InmValorCat1 = i.importe(3);
        x.InmRevisado1 = i.siNo(4);
        x.InmValorCat2 = i.importe(5);
        x.InmRevisado2 = i.siNo(6);
        x.InmIntereses = i.importe(7);
        x.InmLocal = i.siNo(8);
        // Each of the three activity sections carries Retribuciones. They are read in the
        // order written, so [Agrarias] has the last word (and, missing, makes it 0).
        const Valor di = valor(Directas, p);
        x.DirIngresos = di.importe(0);
        x.DirGastos = di.importe(1);
        x.DirPagosFrac = di.importe(2);
        x.DirRetencion = di.importe(3);
        x.DirRedRdtoNeto = di.siNo(4);
        x.Retribuciones = di.importe(5);
        x.DirRedEmprendedores = di.siNo(6);
        const Valor mo = valor(Modulos, p);
        x.ModRdtoNeto = mo.importe(0);
        x.ModGastosExtra = mo.importe(1);
        x.ModPagosFrac = mo.importe(2);
        x.ModRetencion = mo.importe(3);
        x.Retribuciones = mo.importe(4);
        const Valor ag = valor(Agrarias, p);
        x.AgrRdtoNeto = ag.importe(0);
        x.AgrGastosExtra = ag.importe(1);
        x.AgrPagosFrac = ag.importe(2);
        x.AgrRetencion = ag.importe(3);
        x.Retribuciones = ag.importe(4);
        const Valor re = valor(Reducciones, p);
        x.RedPlanPension = re.importe(0);
        x.RedAnualidades = re.importe(1);
        x.RedAnualidadHijos = re.importe(2);
    }
    compruebaTotales(f, d);

    // The lists: keys "0", "1", ... until the first one missing or empty, past 49 too.
    const auto recorre = [&](Seccion s, auto &&lee) {
        for (std::size_t n = 0;; ++n) {
            const Entrada *e = f[s].busca(n);
            if (!e || e->valor.empty())
                break;
            lee(Valor(s, n, e, avisos));
        }
    };
    recorre(Mobiliario, [&](const Valor &v) {
        DatosMobiliario m;
        m.Clase = v.deUnConjunto(0, "IDTOAPC", "Clase no válida");
        m.Titular = v.titular(1, true);
        m.Ingreso = v.importe(2);
        m.Gasto = v.importe(3);
        m.Reduccion = v.importe(4);
        m.Retencion = v.importe(5);
        d.ListaMobiliario.push_back(std::move(m));
    });
    recorre(Ganancias, [&](const Valor &v) {
        DatosGanancia g;
        g.Clase = v.deUnConjunto(0, "IOA", "Clase no válida");
        g.Titular = v.titular(1, true);
        g.FechaAdquisicion = v.fecha(2);
        g.ValorAdquisicion = v.importe(3);
        g.FechaTransmision = v.fecha(4);
        g.ValorTransmision = v.importe(5);
        g.Retencion = v.importe(6);
        g.ImporteGeneral = v.importe(7);
        g.ImporteAhorro = v.importe(8);
        g.ValorPatrimonio = v.importe(9);
        g.Reinversion = v.importe(10);
        d.ListaGanancias.push_back(std::move(g));
    });
    recorre(Deducciones, [&](const Valor &v) {
        DatosDeduccion x;
        x.Clase = v.deUnConjunto(0, "ABCDEFGH", "Clase no válida");
        x.Titular = v.titular(1, false);
        x.FechaAdquisicion = v.fecha(2);
        x.Importe = v.importe(3);
        x.PorcMinusvalia = v.importe(4);
        x.PorcDeduccion = v.importe(5);
        d.ListaDeducciones.push_back(std::move(x));
    });
    recorre(Autonomicas, [&](const Valor &v) {
        DatosAutonomica a;
        a.Texto1 = v.texto(0);
        a.Texto2 = v.texto(1);
        a.Importe1 = v.importe(2);
        a.Importe2 = v.importe(3);
        a.Importe3 = v.importe(4);
        d.ListaAutonomicas.push_back(std::move(a));
    });

    // [Varios] holds the texts shown in the boxes, so its amounts are in the sheet's form.
    for (std::size_t n = 1; n < static_cast<std::size_t>(kCasillasTecleables); ++n) {
        const Entrada *e = f[Varios].busca(n);
        if (!e || e->valor.empty())
            continue;
        const Valor v(Varios, n, e, avisos);
        v.importeDePantalla();
        // "12.34" would be read as 1.234,00: a typing slip that must not pass for an amount.
        if (!gruposDeTres(e->valor)) {
            v.avisa("Puntos de millar mal puestos", e->valor, {},
                    ": no separan grupos de tres cifras y la casilla " + std::to_string(n) + " se deja vacía.");
            continue;
        }
        d.Casillas[n].Texto = std::string(e->valor);
    }

    RehaceTotales(d);
}

// ---------------------------------------------------------------------------------------
// Writing

class Escritor {
public:
    explicit Escritor(std::string &out) : m_out(out) {}

    void seccion(Seccion s)
    {
        m_out += '[';
        m_out += kNombreSeccion[s];
        m_out += "]\r\n";
        m_campos = 0;
    }
    void clave(std::string_view k)
    {
        m_out += k;
        m_out += '=';
        m_campos = 0;
    }
    void clave(std::size_t n) { clave(std::to_string(n)); }
    Escritor &texto(std::string_view t)
    {
        separa();
        anadeTexto(m_out, t, true);
        return *this;
    }
    Escritor &importe(Money m)
    {
        separa();
        m_out += FormatoFichero(m);
        return *this;
    }
    Escritor &entero(long n)
    {
        separa();
        m_out += std::to_string(n);
        return *this;
    }
    void finLinea() { m_out += "\r\n"; }

private:
    void separa()
    {
        if (m_campos++ > 0)
            m_out += '|';
    }
    std::string &m_out;
    int m_campos = 0;
};

}  // namespace

std::string EscribeDeclaracion(const Declaracion &d)
{
    std::string out;
    out.reserve(2048 + 200 * (d.ListaMobiliario.size() + d.ListaGanancias.size() + d.ListaDeducciones.size() +
                              d.ListaAutonomicas.size()));
    Escritor w(out);

    w.seccion(Datos);
    out += "Nombre=";
    anadeTexto(out, d.Nombre, false);
    out += "\r\nAutonomia=";
    anadeTexto(out, d.Autonomia, false);
    out += "\r\nTramo=" + std::to_string(d.TramoVivienda) + "\r\n";

    w.seccion(UnidadFamiliar);
    for (std::size_t r = 0; r < d.Miembros.size(); ++r) {
        const MiembroFam &m = d.Miembros[r];
        w.clave(r);
        w.entero(m.Edad).entero(m.AnoNac).entero(m.Minusvalia).texto(m.Perceptor).texto(m.Fallecido);
        w.texto(m.Ayuda).entero(m.Convivencia).texto(m.Abono).finLinea();
    }

    const auto porPersona = [&](Seccion s, auto &&escribe) {
        w.seccion(s);
        for (std::size_t p = 1; p <= 2; ++p) {
            w.clave(p);
            escribe(d.Rentas[p]);
            w.finLinea();
        }
    };
    // Each list writes the items that have an owner, keyed by their place in the list.
    const auto lista = [&](Seccion s, const auto &items, auto &&escribe) {
        w.seccion(s);
        for (std::size_t n = 0; n < items.size(); ++n) {
            if (items[n].Titular.empty())
                continue;
            w.clave(n);
            escribe(items[n]);
            w.finLinea();
        }
    };

    porPersona(Trabajo, [&](const DatosRenta &x) {
        w.importe(x.TrabIngresos).importe(x.TrabGastos).importe(x.TrabRetencion).importe(x.TrabReduccion);
        w.importe(x.TrabContribEmpresa).texto(x.TrabMovilidad).texto(x.TrabOpcion2);
    });
    lista(Mobiliario, d.ListaMobiliario, [&](const DatosMobiliario &m) {
        w.texto(m.Clase).texto(m.Titular).importe(m.Ingreso).importe(m.Gasto).importe(m.Reduccion).importe(m.Retencion);
    });
    porPersona(Inmobiliario, [&](const DatosRenta &x) {
        w.importe(x.InmIngresos).importe(x.InmGastos).importe(x.InmRetencion).importe(x.InmValorCat1);
        w.texto(x.InmRevisado1).importe(x.InmValorCat2).texto(x.InmRevisado2).importe(x.InmIntereses).texto(x.InmLocal);
    });
    porPersona(Directas, [&](const DatosRenta &x) {
        w.importe(x.DirIngresos).importe(x.DirGastos).importe(x.DirPagosFrac).importe(x.DirRetencion);
        w.texto(x.DirRedRdtoNeto).importe(x.Retribuciones).texto(x.DirRedEmprendedores);
    });
    porPersona(Modulos, [&](const DatosRenta &x) {
        w.importe(x.ModRdtoNeto).importe(x.ModGastosExtra).importe(x.ModPagosFrac).importe(x.ModRetencion);
        w.importe(x.Retribuciones);
    });
    porPersona(Agrarias, [&](const DatosRenta &x) {
        w.importe(x.AgrRdtoNeto).importe(x.AgrGastosExtra).importe(x.AgrPagosFrac).importe(x.AgrRetencion);
        w.importe(x.Retribuciones);
    });
    porPersona(Reducciones, [&](const DatosRenta &x) {
        w.importe(x.RedPlanPension).importe(x.RedAnualidades).importe(x.RedAnualidadHijos);
    });
    lista(Ganancias, d.ListaGanancias, [&](const DatosGanancia &g) {
        w.texto(g.Clase).texto(g.Titular).texto(g.FechaAdquisicion).importe(g.ValorAdquisicion);
        w.texto(g.FechaTransmision).importe(g.ValorTransmision).importe(g.Retencion).importe(g.ImporteGeneral);
        w.importe(g.ImporteAhorro).importe(g.ValorPatrimonio).importe(g.Reinversion);
    });
    lista(Deducciones, d.ListaDeducciones, [&](const DatosDeduccion &x) {
        w.texto(x.Clase).texto(x.Titular).texto(x.FechaAdquisicion).importe(x.Importe);
        w.importe(x.PorcMinusvalia).importe(x.PorcDeduccion);
    });
    // No screen fills the regional list; whatever a read file brought is written back as
    // it came, every item, so that saving again loses nothing.
    w.seccion(Autonomicas);
    for (std::size_t n = 0; n < d.ListaAutonomicas.size(); ++n) {
        const DatosAutonomica &a = d.ListaAutonomicas[n];
        w.clave(n);
        w.texto(a.Texto1).texto(a.Texto2).importe(a.Importe1).importe(a.Importe2).importe(a.Importe3).finLinea();
    }

    w.seccion(Varios);
    for (std::size_t n = 0; n < d.Casillas.size(); ++n) {
        const Casilla &c = d.Casillas[n];
        if (!c.Entrada || c.Texto.empty())
            continue;
        w.clave(n);
        anadeTexto(out, c.Texto, false);
        w.finLinea();
    }
    return out;
}

namespace {

// `fichero` names the file in the messages ("el fichero «…»"), or is empty.
DeclaracionLeida leeContenido(std::string_view contenido, const std::string &fichero)
{
    const std::string elFichero = fichero.empty() ? "El fichero" : "El fichero «" + fichero + "»";
    if (std::memchr(contenido.data(), '\0', contenido.size()) != nullptr)
        throw ErrorFichero(elFichero + " no es una declaración guardada (contiene datos binarios).");
    std::string convertido;
    std::string_view texto = contenido;
    switch (codificacionDe(contenido)) {
    case Codificacion::Ascii:
        break;
    case Codificacion::Utf8:
        if (texto.substr(0, 3) == "\xEF\xBB\xBF")
            texto.remove_prefix(3);
        break;
    case Codificacion::Cp1252:
        convertido = deCp1252(contenido);
        texto = convertido;
        break;
    }
    bool conSeccion = false;
    const Fichero f = analiza(texto, conSeccion);
    // Without a single section of ours there is nothing to load: liquidating it would show
    // a declaration of zeros as if it had been read.
    if (!conSeccion) {
        const bool vacio = texto.find_first_not_of(" \t\r\n") == std::string_view::npos;
        throw ErrorFichero(elFichero + " no es una declaración: " +
                           (vacio ? "está vacío." : "no contiene ninguna de sus secciones ([Datos], [Trabajo], …)."));
    }
    DeclaracionLeida out;
    leeFichero(f, out);
    // The writer ends every line with CR LF, so a last line without its end was cut short
    // (a disk that filled up, a copy that stopped): its value may be short of digits.
    // Notepad leaves the last line open too, so this is a warning, not a refusal.
    if (texto.back() != '\n') {
        const std::size_t inicio = texto.rfind('\n') + 1;  // npos + 1 is 0
        const int linea = static_cast<int>(std::count(texto.begin(), texto.end(), '\n')) + 1;
        out.avisos.push_back("El fichero parece cortado: la línea " + std::to_string(linea) + " («" +
                             muestraLinea(texto.substr(inicio)) +
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
