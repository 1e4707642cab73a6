#include "ListaColumnas.h"

#include "Codificacion.h"
#include "Fechas.h"
#include "TextoImporte.h"

#include <algorithm>
#include <cstddef>

namespace simulador {

namespace {

using T = TipoColumna;

// clang-format off
const DefinicionLista kMobiliario{"Capital Mobiliario", {
    {"Clase", T::Letra, "IDTOAPC", 2, false, false,
     "I - Intereses de cuentas (base del ahorro)\nD - Dividendos \nT - Letras del tesoro\n"
     "O - Otros rendimentos (base del ahorro)\nA - Arrendamientos de bienes muebles\n"
     "P - Propiedad intelectual / D. Imagen\nC - Intereses de cuentas (base general)",
     "I", "La clase debe de estar informada."},
    {"Titular", T::Letra, "ADC", 2, false, false,
     "Informar el titular del derecho:\n\nA - Ambos\nD - Declarante\nC - Cónyuge",
     "A", "El titular debe de estar informado."},
    {"Ingreso        ", T::Importe, "", 13, true, false, "Informar el ingreso", "", ""},
    {"Gasto         ", T::Importe, "", 13, true, false, "Informar el gasto", "", ""},
    {"Reducción    ", T::Importe, "", 13, true, false, "Informar la reducción", "", ""},
    {"Retención      ", T::Importe, "", 13, true, false, "Informar la retencion", "", ""},
}, true};

// Class and owner take any number of letters here; the dates stop at ten characters.
const DefinicionLista kGanancias{"Ganancias y Pérdidas Patrimoniales", {
    {"Clase", T::Letra, "IOA", 0, false, false,
     "Informar el tipo de bien:\n\nI - Inmuebles, O - Otros, A - Acciones",
     "A", "La clase de bien debe de estar informada."},
    {"Titular", T::Letra, "ADC", 0, false, false,
     "Informar el titular del bien:\n\nA - Ambos, D - Declarante, C - Cónyuge",
     "A", "El titular del bien debe de estar informado."},
    {"F.Adquisición", T::Fecha, "", 10, false, false,
     "Informar la fecha de adquisición:\n\nen formato (dd-mm-aaaa)", "", ""},
    {"V. Adquisición", T::Importe, "", 13, true, false,
     "Informar el valor de adquisición:\n\n"
     "En inmuebles se aplica automáticamente los índices de corrección monetaria", "", ""},
    {"F.Transmisión", T::Fecha, "", 10, false, false,
     "Informar la fecha de transmisión:\n\nen formato (dd-mm-aaaa)", "", ""},
    {"V. Transmisión", T::Importe, "", 13, true, false, "", "", ""},
    {"V. Reinversión", T::Importe, "", 13, true, false,
     "Informar el valor de la reinversión si es vivienda habitual", "", ""},
    {"   I.P. 2005", T::Importe, "", 13, true, false,
     "En caso de acciones informar la valoración a efectos del I.Patrimonio del 2005", "", ""},
    {"  Retención   ", T::Importe, "", 13, true, false,
     "Informar la retención en caso de premios o fondos de inversión", "", ""},
    // A loss goes into either base as a negative amount: the two base columns take a sign.
    {"Base General  ", T::Importe, "", 13, true, true,
     "Informar el importe que se desee incorporar a la base general", "", ""},
    {"Base Ahorro   ", T::Importe, "", 13, false, true,
     "Informar el importe que se desee incorporar a la base del ahorro", "", ""},
}, false};

constexpr std::string_view kAyudaVivienda = "Informar sólo en caso de deducción por \nvivienda habitual.";

// "H" is accepted although no deduction uses it: the engine passes over such an item.
const DefinicionLista kDCuota{"Deducciones de la Cuota", {
    {"Clase", T::Letra, "ABCDEFGH", 2, false, false,
     "A - Inversión en bienes de interés cultural\nB - Vivienda habitual\nC - Alquiler vivienda habitual\n"
     "D - Donaciones actividades de mecenazgo (15% limite de base)\n"
     "E - Donaciones a entidades de la Ley 49/2002\n"
     "F - Donaciones a fundaciones no comprendidades en la anterior Ley 49/2002\n"
     "G - Incentivos inversión empresarial",
     "B", "La clase de deducción debe de estar informada."},
    {"Titular", T::Letra, "ADC", 2, false, false,
     "Informar el titular del derecho a la deducción:\n\nA - Ambos\nD - Declarante\nC - Cónyuge",
     "A", "El titular de la deducción debe de estar informado."},
    {"Importe        ", T::Importe, "", 13, true, false, "Informar el importe de la inversión o gasto", "", ""},
    {"F. Adquisición", T::Fecha, "", 11, false, false, kAyudaVivienda, "", ""},
    {"% Deducción   ", T::Importe, "", 6, true, false,
     "Informar en caso de donaciones \nplurianuales el valor 1.\n\n"
     "Informar en caso de incentivos a la inversión\nempresarial el porcentaje que proceda", "", ""},
    {"% Minusvalía    ", T::Entero, "", 3, false, false, kAyudaVivienda, "", ""},
}, true};
// clang-format on

bool esCifra(char32_t c) { return c >= U'0' && c <= U'9'; }

char32_t mayuscula(char32_t c) { return c >= U'a' && c <= U'z' ? c - (U'a' - U'A') : c; }


// Where each column's cell goes in the screen's record. Columns 4 and 5 of Mobiliario and
// 6 and 7 of Ganancias hold the record's fields in the reverse of the record's order.
template <typename R>
struct Campo {
    std::string R::*texto = nullptr;
    Money R::*importe = nullptr;
};

template <typename R>
Campo<R> txt(std::string R::*c)
{
    return {c, nullptr};
}
template <typename R>
Campo<R> imp(Money R::*c)
{
    return {nullptr, c};
}

const std::vector<Campo<DatosMobiliario>> &camposMobiliario()
{
    using R = DatosMobiliario;
    static const std::vector<Campo<R>> c{txt(&R::Clase), txt(&R::Titular), imp(&R::Ingreso),
                                         imp(&R::Gasto), imp(&R::Reduccion), imp(&R::Retencion)};
    return c;
}

const std::vector<Campo<DatosGanancia>> &camposGanancias()
{
    using R = DatosGanancia;
    static const std::vector<Campo<R>> c{
        txt(&R::Clase),          txt(&R::Titular),        txt(&R::FechaAdquisicion), imp(&R::ValorAdquisicion),
        txt(&R::FechaTransmision), imp(&R::ValorTransmision), imp(&R::Reinversion),    imp(&R::ValorPatrimonio),
        imp(&R::Retencion),      imp(&R::ImporteGeneral), imp(&R::ImporteAhorro)};
    return c;
}

const std::vector<Campo<DatosDeduccion>> &camposDCuota()
{
    using R = DatosDeduccion;
    static const std::vector<Campo<R>> c{txt(&R::Clase),   txt(&R::Titular),          imp(&R::Importe),
                                         txt(&R::FechaAdquisicion), imp(&R::PorcDeduccion), imp(&R::PorcMinusvalia)};
    return c;
}

template <typename R>
std::vector<FilaLista> filas(const std::vector<R> &lista, const std::vector<Campo<R>> &campos)
{
    std::vector<FilaLista> r;
    for (const R &x : lista) {
        if (Recorta(x.Clase).empty() && Recorta(x.Titular).empty())
            continue;
        FilaLista f;
        for (const Campo<R> &c : campos)
            f.push_back(c.texto ? x.*c.texto : FormatoFichero(x.*c.importe));
        r.push_back(std::move(f));
    }
    return r;
}

template <typename R>
std::vector<R> registros(const std::vector<FilaLista> &filas, const std::vector<Campo<R>> &campos)
{
    std::vector<R> r;
    for (const FilaLista &f : filas) {
        R x;
        for (std::size_t i = 0; i < campos.size() && i < f.size(); ++i) {
            if (campos[i].texto)
                x.*campos[i].texto = f[i];
            else
                x.*campos[i].importe = ImporteCelda(f[i]);
        }
        r.push_back(std::move(x));
    }
    return r;
}

}  // namespace

const DefinicionLista &Lista(TipoLista p)
{
    switch (p) {
    case TipoLista::Ganancias: return kGanancias;
    case TipoLista::DCuota: return kDCuota;
    case TipoLista::Mobiliario: break;
    }
    return kMobiliario;
}

Tecla FiltraTecla(TipoLista p, int columna, std::string_view celda, char32_t tecla)
{
    const ColumnaLista &c = Lista(p).columnas.at(static_cast<std::size_t>(columna));
    if (tecla == kRetroceso)
        return {AccionTecla::Acepta, tecla};

    // First filter: what the column's kind lets in.
    switch (c.tipo) {
    case TipoColumna::Letra:
        tecla = mayuscula(tecla);
        if (tecla > 0x7F || c.letras.find(static_cast<char>(tecla)) == std::string_view::npos)
            return {AccionTecla::Pita, 0};
        break;
    case TipoColumna::Importe:
        if (c.soloCifras && !esCifra(tecla) && !(tecla == U',' && !celda.empty() && celda.find(',') == celda.npos) &&
            !(c.signo && tecla == U'-' && celda.empty()))
            return {AccionTecla::Rechaza, 0};
        break;
    case TipoColumna::Entero:
        if (tecla == U'.' || tecla == U',')
            return {AccionTecla::Pita, 0};
        if (!esCifra(tecla))
            return {AccionTecla::Rechaza, 0};
        break;
    case TipoColumna::Fecha:
        break;
    }

    // Second filter: the shape of an amount, then the length.
    if (c.tipo == TipoColumna::Importe) {
        if (std::count(celda.begin(), celda.end(), ',') >= 2)
            return {AccionTecla::QuitaUltimo, 0};
        if (!esCifra(tecla) && tecla != U',' && !(c.signo && tecla == U'-' && celda.empty()))
            return {AccionTecla::Rechaza, 0};
    }
    // Characters, not bytes: a date cell may hold any key, accented ones included.
    if (c.limite > 0 && Caracteres(celda) >= static_cast<std::size_t>(c.limite))
        return {AccionTecla::Rechaza, 0};
    return {AccionTecla::Acepta, tecla};
}

std::string ReescribeFecha(std::string_view texto)
{
    std::string s(texto);
    const bool ascii = std::all_of(s.begin(), s.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    if (!ascii || s.find('/') != s.npos || s.find('-') != s.npos)
        return s;
    if (s.size() == 6 || s.size() == 8)
        return s.substr(0, 2) + "-" + s.substr(2, 2) + "-" + s.substr(4);
    return s;
}

Comprobacion CompruebaCelda(TipoLista p, int columna, std::string_view texto)
{
    const ColumnaLista &c = Lista(p).columnas.at(static_cast<std::size_t>(columna));
    Comprobacion r;
    const std::string_view recortado = Recorta(texto);
    switch (c.tipo) {
    case TipoColumna::Letra:
        r.texto = std::string(texto);
        if (recortado.empty() && !c.obligatoria.empty()) {
            r.ok = false;
            r.mensaje = c.obligatoria;
        }
        break;
    case TipoColumna::Fecha:
        r.texto = ReescribeFecha(recortado);
        if (!r.texto.empty() && !LeeFecha(r.texto)) {
            r.ok = false;
            r.mensaje = kFechaIncorrecta;
        }
        break;
    case TipoColumna::Importe:
    case TipoColumna::Entero:
        // Held in plain form, so that "12," and "012" are stored and shown as 12.
        if (!recortado.empty())
            r.texto = FormatoFichero(ImporteCelda(recortado));
        break;
    }
    return r;
}

Money ImporteCelda(std::string_view celda)
{
    // The keys let through a lone "-", a trailing comma or, in the savings column, a second
    // comma: the amount is the number the cell starts with, as a cell that was never
    // finished is read by whoever looks at it.
    const std::string_view s = Recorta(celda);
    std::size_t fin = 0;
    if (fin < s.size() && s[fin] == '-')
        ++fin;
    bool coma = false;
    while (fin < s.size() && ((s[fin] >= '0' && s[fin] <= '9') || (s[fin] == ',' && !coma))) {
        coma = coma || s[fin] == ',';
        ++fin;
    }
    const ImporteLeido leido = LeeImporte(s.substr(0, fin), EstiloImporte::Pantalla);
    return leido.ok() ? leido.valor : Money();
}

std::string TextoVisible(TipoLista p, int columna, std::string_view celda)
{
    const ColumnaLista &c = Lista(p).columnas.at(static_cast<std::size_t>(columna));
    if (c.tipo != TipoColumna::Importe)
        return std::string(celda);
    if (Recorta(celda).empty())
        return {};
    return FormatoImporte(ImporteCelda(celda));
}

FilaLista FilaNueva(TipoLista p)
{
    FilaLista f;
    for (const ColumnaLista &c : Lista(p).columnas)
        f.emplace_back(c.defecto);
    return f;
}

std::vector<FilaLista> FilasDeLista(const Declaracion &d, TipoLista p)
{
    switch (p) {
    case TipoLista::Ganancias: return filas(d.ListaGanancias, camposGanancias());
    case TipoLista::DCuota: return filas(d.ListaDeducciones, camposDCuota());
    case TipoLista::Mobiliario: break;
    }
    return filas(d.ListaMobiliario, camposMobiliario());
}

void GuardaFilas(Declaracion &d, TipoLista p, const std::vector<FilaLista> &f)
{
    switch (p) {
    case TipoLista::Ganancias: d.ListaGanancias = registros(f, camposGanancias()); return;
    case TipoLista::DCuota: d.ListaDeducciones = registros(f, camposDCuota()); return;
    case TipoLista::Mobiliario: d.ListaMobiliario = registros(f, camposMobiliario()); return;
    }
}

bool FilasCambiadas(const Declaracion &d, TipoLista p, const std::vector<FilaLista> &filas)
{
    Declaracion guardada = d;
    GuardaFilas(guardada, p, filas);
    return FilasDeLista(guardada, p) != FilasDeLista(d, p);
}

}  // namespace simulador
