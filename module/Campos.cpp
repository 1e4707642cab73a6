#include "Campos.h"

#include "Codificacion.h"
#include "Int128.h"
#include "Money.h"
#include "TablaCasillas.h"
#include "TextoImporte.h"

#include <algorithm>
#include <cctype>
#include <stdexcept>

namespace simulador {

namespace {

int dosDigitos(std::string_view codigo, std::size_t desde)
{
    if (codigo.size() < desde + 2 || !std::isdigit(static_cast<unsigned char>(codigo[desde])) ||
        !std::isdigit(static_cast<unsigned char>(codigo[desde + 1])))
        throw std::invalid_argument("Código de campo no válido: " + std::string(codigo));
    return (codigo[desde] - '0') * 10 + (codigo[desde + 1] - '0');
}

bool esDigito(char32_t c) { return c >= U'0' && c <= U'9'; }

std::vector<std::string> parte(std::string_view s, char sep)
{
    std::vector<std::string> piezas;
    std::size_t desde = 0;
    for (;;) {
        const std::size_t p = s.find(sep, desde);
        piezas.emplace_back(s.substr(desde, p == std::string_view::npos ? std::string_view::npos : p - desde));
        if (p == std::string_view::npos)
            return piezas;
        desde = p + 1;
    }
}

// The key as the edit control would take it: replaces the selection, or goes in at the
// caret; refused when the field is full.
ResultadoTecla inserta(const std::u32string &t, const EstadoTexto &e, char32_t tecla, int maxLength)
{
    const int largo = static_cast<int>(t.size());
    const int inicio = std::clamp(e.selLargo > 0 ? e.selInicio : e.cursor, 0, largo);
    const int quitar = e.selLargo > 0 ? std::min(e.selLargo, largo - inicio) : 0;
    std::u32string n = t;
    if (tecla == kTeclaRetroceso) {
        if (quitar > 0)
            n.erase(inicio, quitar);
        else if (inicio > 0)
            n.erase(inicio - 1, 1);
        return {true, CodificaUtf8(n), quitar > 0 ? inicio : std::max(0, inicio - 1)};
    }
    if (tecla < 32)  // Esc and the other control characters change nothing
        return {true, CodificaUtf8(t), e.cursor};
    if (maxLength > 0 && largo - quitar + 1 > maxLength)
        return {false, CodificaUtf8(t), e.cursor};
    n.erase(inicio, quitar);
    n.insert(n.begin() + inicio, tecla);
    return {true, CodificaUtf8(n), inicio + 1};
}

ResultadoTecla rechaza(const std::u32string &t, int cursor) { return {false, CodificaUtf8(t), cursor}; }

ResultadoTecla teclaDecimal(std::string_view codigo, const std::u32string &t, const EstadoTexto &e, char32_t tecla,
                            int maxLength)
{
    if (esDigito(tecla) || tecla == kTeclaRetroceso || tecla == kTeclaEscape)
        return inserta(t, e, tecla, maxLength);
    if (tecla == U'.')
        tecla = U',';
    if (tecla == U',') {
        const std::size_t coma = t.find(U',');
        if (coma != std::u32string::npos)  // typing the separator again jumps to the decimals
            return rechaza(t, static_cast<int>(coma) + 1);
        if (t.empty()) {
            const std::u32string cero = U"0," + std::u32string(static_cast<std::size_t>(Decimales(codigo)), U'0');
            return rechaza(cero, 2);
        }
        return inserta(t, e, tecla, maxLength);
    }
    if (tecla == U'-') {
        // The sign is a toggle on the whole amount, wherever the caret is.
        if (t.find(U'-') != std::u32string::npos)
            return rechaza(t.substr(1), std::max(0, e.cursor - 1));
        if (!t.empty())
            return rechaza(U"-" + t, e.cursor + 1);
        return rechaza(t, e.cursor);
    }
    return rechaza(t, e.cursor);
}

// "#,##0.00" and its kin on the exact amount: `decimales` places, halves away from zero.
std::string formateaNumero(Money m, int decimales, bool agrupado)
{
    decimales = std::clamp(decimales, 0, 4);
    std::int64_t divisor = 1;
    for (int i = decimales; i < 4; ++i)
        divisor *= 10;
    const Int128 v = m.units();
    Int128 a = v < 0 ? -v : v;
    a = (a + divisor / 2) / divisor;  // halves away from zero
    Int128 escala = 1;
    for (int i = 0; i < decimales; ++i)
        escala *= 10;
    const unsigned long long entero = static_cast<unsigned long long>(a / escala);
    unsigned long long frac = static_cast<unsigned long long>(a % escala);
    std::string d = std::to_string(entero);
    std::string s;
    if (agrupado) {
        const std::size_t primer = d.size() % 3 == 0 ? 3 : d.size() % 3;
        s.append(d, 0, primer);
        for (std::size_t i = primer; i < d.size(); i += 3)
            s.append(".").append(d, i, 3);
    } else {
        s = d;
    }
    if (decimales > 0) {
        std::string f = std::to_string(frac);
        s += "," + std::string(static_cast<std::size_t>(decimales) - f.size(), '0') + f;
    }
    return (v < 0 && a != 0 ? "-" : "") + s;
}

}  // namespace

TipoCampo TipoDeCodigo(std::string_view codigo)
{
    switch (codigo.empty() ? '\0' : codigo[0]) {
    case 'N': return TipoCampo::Entero;
    case 'n': return TipoCampo::Digitos;
    case 'D': return TipoCampo::Decimal;
    case 'S': return TipoCampo::DecimalLibre;
    case 'A': return TipoCampo::Texto;
    case 'F': return TipoCampo::Fecha;
    case 'L': return TipoCampo::Lista;
    case 'M': return TipoCampo::Libre;
    default: return TipoCampo::Otro;
    }
}

std::optional<int> MaxLength(std::string_view codigo)
{
    switch (TipoDeCodigo(codigo)) {
    case TipoCampo::Lista:
    case TipoCampo::Libre: return 0;
    case TipoCampo::Entero:
    case TipoCampo::Digitos:
    case TipoCampo::Fecha:
    case TipoCampo::Texto: return dosDigitos(codigo, 1);
    case TipoCampo::Decimal:
    case TipoCampo::DecimalLibre: return dosDigitos(codigo, 1) + dosDigitos(codigo, 3) + 1;
    case TipoCampo::Otro: break;
    }
    return std::nullopt;
}

int Decimales(std::string_view codigo)
{
    const TipoCampo t = TipoDeCodigo(codigo);
    return t == TipoCampo::Decimal || t == TipoCampo::DecimalLibre ? dosDigitos(codigo, 3) : 0;
}

DefCampo DefineCampo(int ayuda, std::string dato, std::string codigo, std::string lista)
{
    DefCampo d;
    d.ayuda = ayuda;
    d.dato = std::move(dato);
    d.maxLength = MaxLength(codigo);
    d.codigo = std::move(codigo);
    d.lista = std::move(lista);
    return d;
}

std::string ListaValores(std::string_view nombre)
{
    std::string n(nombre);
    std::transform(n.begin(), n.end(), n.begin(), [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    static const std::string perceptor1 = "Declarante|D-Declarante|Cónyuge|C-Cónyuge|Hijo 1|1-Hijo|Hijo 2|2-Hijo|"
                                          "Hijo 3|3-Hijo|Hijo 4|4-Hijo|Hijo 5|5-Hijo|Hijo 6|6-Hijo";
    if (n == "SINO")
        return "No|No|Sí|Sí";
    if (n == "PERCEPTOR1")
        return perceptor1;
    if (n == "PERCEPTOR")
        return " |.|" + perceptor1;
    if (n == "FILIACION")
        return " |.|Declarante|D-Declarante|Cónyuge|C-Cónyuge";
    if (n == "AUTONOMIA")
        return " |00|Andalucia|01|Aragón|02|Asturias|03|lles Balears|04|Canarias|05|Cantabria|06|"
               "Castilla-La Mancha|07|Castilla y León|08|Catalunya|09|Extremadura|10|Galicia|11|Madrid|12|"
               "Murcia|13|La Rioja|16|Valencia|17";
    return {};
}

std::optional<EspecLista> LeeEspecLista(std::string_view especificacion)
{
    if (especificacion.size() < 6 || especificacion == "@")
        return std::nullopt;
    EspecLista l;
    const std::string_view ancho = especificacion.substr(0, 4);
    l.anchoDelCampo = ancho == "****";
    if (!l.anchoDelCampo)
        l.anchoTwips = dosDigitos(ancho, 0) * 100 + dosDigitos(ancho, 2);
    l.filas = dosDigitos(especificacion, 4);
    const std::vector<std::string> piezas = parte(especificacion.substr(6), '|');
    for (std::size_t i = 0; i < piezas.size(); i += 2) {
        l.mostrados.push_back(piezas[i]);
        l.guardados.push_back(i + 1 < piezas.size() ? piezas[i + 1] : std::string());
    }
    // "a|b|" ends in an empty piece that is no item.
    if (!l.mostrados.empty() && l.mostrados.back().empty() && l.guardados.back().empty() && piezas.size() % 2 == 1) {
        l.mostrados.pop_back();
        l.guardados.pop_back();
    }
    return l;
}

int ElementoInicial(const EspecLista &lista, std::string_view textoCampo)
{
    const auto it = std::find(lista.mostrados.begin(), lista.mostrados.end(), textoCampo);
    return it == lista.mostrados.end() ? 0 : static_cast<int>(it - lista.mostrados.begin());
}

std::string TextoDeCodigo(std::string_view especificacion, std::string_view codigo)
{
    const std::optional<EspecLista> l = LeeEspecLista(especificacion);
    if (!l)
        return {};
    const auto it = std::find(l->guardados.begin(), l->guardados.end(), codigo);
    return it == l->guardados.end() ? std::string() : l->mostrados[static_cast<std::size_t>(it - l->guardados.begin())];
}

std::string CodigoDeTexto(std::string_view especificacion, std::string_view texto)
{
    const std::optional<EspecLista> l = LeeEspecLista(especificacion);
    if (!l)
        return {};
    const auto it = std::find(l->mostrados.begin(), l->mostrados.end(), texto);
    return it == l->mostrados.end() ? std::string() : l->guardados[static_cast<std::size_t>(it - l->mostrados.begin())];
}

namespace {
ResultadoTecla filtra(std::string_view codigo, const EstadoTexto &estado, char32_t tecla, int maxLength)
{
    // Carets count characters, as an edit control does: the key works on code points.
    const std::u32string t = DecodificaUtf8(estado.texto);
    // Enter never reaches the text, whatever the field: it is a move (NavegaCampo).
    if (tecla == kTeclaIntro)
        return rechaza(t, estado.cursor);
    switch (TipoDeCodigo(codigo)) {
    case TipoCampo::Entero:
    case TipoCampo::Digitos:
        if (esDigito(tecla) || tecla == kTeclaRetroceso || tecla == kTeclaEscape)
            return inserta(t, estado, tecla, maxLength);
        return rechaza(t, estado.cursor);
    case TipoCampo::Decimal: return teclaDecimal(codigo, t, estado, tecla, maxLength);
    case TipoCampo::Lista: return rechaza(t, estado.cursor);
    default: return inserta(t, estado, tecla, maxLength);
    }
}
}  // namespace

ResultadoTecla TeclaCampo(std::string_view codigo, const EstadoTexto &estado, char32_t tecla, int maxLength)
{
    ResultadoTecla r = filtra(codigo, estado, tecla, maxLength);
    // A stray letter (or Esc) over a selected amount must not cost the selection: the
    // figure typed next still replaces the whole amount instead of landing inside it.
    if ((!r.aceptada || tecla < 32) && r.texto == estado.texto && r.cursor == estado.cursor) {
        r.selInicio = estado.selInicio;
        r.selLargo = estado.selLargo;
    }
    return r;
}

std::string TeclasDePegado(std::string_view codigo, std::string_view texto)
{
    const TipoCampo tipo = TipoDeCodigo(codigo);
    std::string_view t = Recorta(texto);
    const bool negativo = !t.empty() && t.front() == '-';
    if (negativo)
        t.remove_prefix(1);
    const std::size_t coma = t.find(',');
    const std::string_view entero = t.substr(0, coma);
    const std::string_view decimales = coma == std::string_view::npos ? std::string_view() : t.substr(coma + 1);
    const auto soloDigitos = [](std::string_view s) {
        return std::all_of(s.begin(), s.end(), [](unsigned char c) { return std::isdigit(c) != 0; });
    };
    // Grouping dots only between groups of three figures: "12.34" is no amount of the sheet.
    bool valido = !entero.empty() && soloDigitos(decimales) && (coma == std::string_view::npos || !decimales.empty());
    std::string cifras;
    for (std::size_t desde = 0; valido && desde <= entero.size();) {
        const std::size_t punto = std::min(entero.find('.', desde), entero.size());
        const std::string_view grupo = entero.substr(desde, punto - desde);
        valido = soloDigitos(grupo) && !grupo.empty() && (desde == 0 ? grupo.size() <= 3 || punto == entero.size()
                                                                      : grupo.size() == 3);
        cifras.append(grupo);
        desde = punto + 1;
    }
    if (!valido || (tipo != TipoCampo::Decimal && tipo != TipoCampo::Entero) ||
        (tipo == TipoCampo::Entero && (negativo || coma != std::string_view::npos)))
        return std::string(texto);
    if (coma != std::string_view::npos)
        cifras.append(",").append(decimales);
    return negativo ? cifras + "-" : cifras;
}

bool MismoValor(std::string_view codigo, std::string_view a, std::string_view b)
{
    return a == b || FormateaCampo(codigo, a, true) == FormateaCampo(codigo, b, true);
}

std::string FormateaCampo(std::string_view codigo, std::string_view texto, bool agrupado)
{
    const TipoCampo tipo = TipoDeCodigo(codigo);
    int decimales = 0;
    switch (tipo) {
    case TipoCampo::Entero: break;
    case TipoCampo::Decimal:
    case TipoCampo::DecimalLibre: decimales = Decimales(codigo); break;
    case TipoCampo::Fecha: return NormalizaFecha(texto);
    default: return std::string(texto);
    }
    if (texto.empty())
        return decimales == 0 ? "0" : "0," + std::string(static_cast<std::size_t>(decimales), '0');
    const ImporteLeido l = LeeImporte(texto, EstiloImporte::Pantalla);
    if (!l.ok())
        return std::string(texto);
    return formateaNumero(l.valor, decimales, agrupado);
}

std::string NormalizaFecha(std::string_view texto)
{
    std::string t(Recorta(texto));
    if (t.find_first_of("/-.") != std::string::npos || t.size() < 3 || t.size() > 8 ||
        !std::all_of(t.begin(), t.end(), [](unsigned char c) { return std::isdigit(c) != 0; }))
        return t;
    if (t.size() % 2 == 1)
        t.insert(0, "0");
    if (t.size() == 4)
        return t.substr(0, 2) + "-" + t.substr(2);
    return t.substr(0, 2) + "-" + t.substr(2, 2) + "-" + t.substr(4);
}

bool CampoProtegido(std::string_view pantalla, int indice)
{
    if (pantalla != kPantallaPrecalculo)
        return false;
    return std::find(kCasillasEditables.begin(), kCasillasEditables.end(), indice) == kCasillasEditables.end();
}

}  // namespace simulador
