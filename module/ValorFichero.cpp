#include "ValorFichero.h"

#include "Comunidades.h"
#include "Fechas.h"
#include "TextoImporte.h"

#include <limits>

namespace simulador {

ValorFichero::ValorFichero(std::string_view seccion, std::string_view nombre, std::size_t numero,
                           const EntradaIni *e, std::vector<std::string> &avisos)
    : m_seccion(seccion), m_nombreClave(nombre), m_numeroClave(numero), m_linea(e ? e->linea : 0), m_avisos(avisos)
{
    if (!e)
        return;
    m_completo = e->valor;
    std::string_view v = m_completo;
    while (m_num < kMaxCampos) {
        const std::size_t barra = v.find('|');
        m_campos[m_num++] = v.substr(0, barra);
        if (barra == std::string_view::npos)
            break;
        v.remove_prefix(barra + 1);
    }
}

Money ValorFichero::importe(std::size_t i) const { return leeImporte(campo(i), false); }

Money ValorFichero::importeDePantalla() const { return leeImporte(m_completo, true); }

std::int16_t ValorFichero::entero16(std::size_t i) const
{
    return static_cast<std::int16_t>(
        entero(i, true, std::numeric_limits<std::int16_t>::min(), std::numeric_limits<std::int16_t>::max()));
}

std::uint8_t ValorFichero::byte(std::size_t i) const
{
    return static_cast<std::uint8_t>(entero(i, false, 0, std::numeric_limits<std::uint8_t>::max()));
}

std::string ValorFichero::siNo(std::size_t i) const
{
    const std::string_view t = campo(i);
    if (!t.empty() && t != "Sí" && t != "No")
        avisa("Valor no válido", t, " (se espera «Sí» o «No»)", ": se trata como «No».");
    return std::string(t);
}

std::string ValorFichero::fecha(std::size_t i) const
{
    const std::string_view t = campo(i);
    if (!Recorta(t).empty() && !LeeFecha(t))
        avisa("Fecha no válida", t, {}, ": se trata como vacía.");
    return std::string(t);
}

std::string ValorFichero::clase(std::size_t i, std::string_view letras) const
{
    const std::string_view t = campo(i);
    if (t.size() != 1 || letras.find(t[0]) == std::string_view::npos)
        avisa("Clase no válida", t, {}, ": se trata como vacía.");
    return std::string(t);
}

std::string ValorFichero::perceptor(std::size_t i) const
{
    const std::string_view t = campo(i);
    if (!t.empty() && t != "D" && t != "C")
        avisa("Perceptor no válido", t, " (se espera «D», «C» o nada)", ": se trata como vacío.");
    return std::string(t);
}

std::string ValorFichero::titular(std::size_t i, bool terminaLista) const
{
    const std::string_view t = campo(i);
    const std::string consecuencia =
        terminaLista ? "el cálculo termina la lista en esta entrada." : "el cálculo no tiene en cuenta esta entrada.";
    if (t.empty())
        m_avisos.push_back("Titular vacío " + donde() + ": " + consecuencia);
    else if (t != "A" && t != "D" && t != "C")
        avisa("Titular no válido", t, {}, ": se trata como vacío y " + consecuencia);
    return std::string(t);
}

std::string ValorFichero::region() const
{
    // An empty code (no key, or nothing after "=") is no region and is not warned about.
    if (!m_completo.empty() && !BuscaComunidad(m_completo))
        avisa("Comunidad autónoma no válida", m_completo, {}, ": se trata como «00».");
    return std::string(m_completo);
}

std::string ValorFichero::donde() const
{
    return "en [" + std::string(m_seccion) + "], clave " + clave() + ", línea " + std::to_string(m_linea);
}

void ValorFichero::avisa(const char *que, std::string_view t, std::string_view nota,
                         std::string_view consecuencia) const
{
    m_avisos.push_back(std::string(que) + " «" + std::string(t) + "»" + std::string(nota) + " " + donde() +
                       std::string(consecuencia));
}

std::string ValorFichero::clave() const
{
    return m_nombreClave.empty() ? std::to_string(m_numeroClave) : std::string(m_nombreClave);
}

Money ValorFichero::leeImporte(std::string_view texto, bool dePantalla) const
{
    const std::string_view t = Recorta(texto);
    if (t.empty())
        return Money();
    const ImporteLeido r = LeeImporte(t, dePantalla ? EstiloImporte::Pantalla : EstiloImporte::Fichero);
    if (r.estado == Lectura::FueraDeRango)
        falla("Importe fuera de rango", t);
    if (!r.ok())
        falla("Importe no válido", t);
    return r.valor;
}

void ValorFichero::falla(const char *que, std::string_view t) const
{
    throw ErrorFichero(std::string(que) + " «" + std::string(t) + "» " + donde() + ".", std::string(m_seccion),
                       clave(), m_linea);
}

long ValorFichero::entero(std::size_t i, bool conSigno, long minimo, long maximo) const
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

}  // namespace simulador
