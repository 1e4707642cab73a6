#include "DisposicionFichero.h"

#include "Codificacion.h"
#include "ErrorFichero.h"
#include "TextoImporte.h"
#include "ValorFichero.h"

#include <cstdint>
#include <tuple>
#include <utility>

namespace simulador {

namespace {

// ---------------------------------------------------------------------------------------
// The tables

// How a field is written and what reading it checks (see ValorFichero).
enum class Tipo {
    Texto,
    SiNo,
    Fecha,
    Clase,          // one of the section's letters
    Perceptor,
    Titular,        // an item without a valid owner ends the list for the calculation
    TitularSuelto,  // an item without a valid owner is left out of the calculation alone
    Importe,        // "1234,5", "0"
    Entero,         // 16 bits, signed
    Byte,           // 0 to 255
    Completo,       // [Datos]: the whole value, a "|" in it kept
    Region,         // [Datos]: the whole value, a region code
};

// One "|" field of a value: its kind and the record field it comes from and goes to, the
// member pointer of the kind's type. Amounts and whole numbers are told by that type; a
// text names its kind.
template <typename R>
struct Campo {
    Tipo tipo;
    std::string R::*texto = nullptr;
    Money R::*importe = nullptr;
    std::int16_t R::*entero = nullptr;
    std::uint8_t R::*byte = nullptr;
    std::string_view letras = {};  // Clase

    Campo(Tipo t, std::string R::*m, std::string_view l = {}) : tipo(t), texto(m), letras(l) {}
    Campo(Money R::*m) : tipo(Tipo::Importe), importe(m) {}
    Campo(std::int16_t R::*m) : tipo(Tipo::Entero), entero(m) {}
    Campo(std::uint8_t R::*m) : tipo(Tipo::Byte), byte(m) {}
};

// [Datos]: keys by name, one field each.
struct SeccionDatos {
    std::string_view nombre;
    std::vector<std::pair<std::string_view, Campo<Declaracion>>> claves;
};
// [UnidadFamiliar]: keys "0" to "9", the entries of Miembros.
struct SeccionFamilia {
    std::string_view nombre;
    std::vector<Campo<MiembroFam>> campos;
};
// The per-person sections: keys "1" and "2", entries 1 and 2 of Rentas, each section a
// part of the record. Entry 0 is not written: loading rebuilds it.
struct SeccionRentas {
    std::string_view nombre;
    std::vector<Campo<DatosRenta>> campos;
};
// An item list: keys "0", "1", ..., the item's place in the list.
template <typename R>
struct SeccionLista {
    std::string_view nombre;
    std::vector<R> Declaracion::*lista;
    std::vector<Campo<R>> campos;
};
// [Varios]: key = box number, value = the input box's text as shown.
struct SeccionCasillas {
    std::string_view nombre;
};

// The file, section by section in the order they are written.
const auto &Disposicion()
{
    using T = Tipo;
    using R = DatosRenta;
    using Mob = DatosMobiliario;
    using Gan = DatosGanancia;
    using Ded = DatosDeduccion;
    // clang-format off
    static const auto tabla = std::make_tuple(
        SeccionDatos{"Datos", {
            {"Nombre", {T::Completo, &Declaracion::Nombre}},
            {"Autonomia", {T::Region, &Declaracion::Autonomia}},
            {"Tramo", &Declaracion::TramoVivienda}}},
        SeccionFamilia{"UnidadFamiliar", {
            &MiembroFam::Edad, &MiembroFam::AnoNac, &MiembroFam::Minusvalia, {T::Perceptor, &MiembroFam::Perceptor},
            {T::SiNo, &MiembroFam::Fallecido}, {T::SiNo, &MiembroFam::Ayuda}, &MiembroFam::Convivencia,
            {T::SiNo, &MiembroFam::Abono}}},
        SeccionRentas{"Trabajo", {
            &R::TrabIngresos, &R::TrabGastos, &R::TrabRetencion, &R::TrabReduccion, &R::TrabContribEmpresa,
            {T::SiNo, &R::TrabMovilidad}, {T::SiNo, &R::TrabOpcion2}}},
        // Reduccion before Retencion, the reverse of the record.
        SeccionLista<Mob>{"Mobiliario", &Declaracion::ListaMobiliario, {
            {T::Clase, &Mob::Clase, "IDTOAPC"}, {T::Titular, &Mob::Titular},
            &Mob::Ingreso, &Mob::Gasto, &Mob::Reduccion, &Mob::Retencion}},
        SeccionRentas{"Inmobiliario", {
            &R::InmIngresos, &R::InmGastos, &R::InmRetencion, &R::InmValorCat1, {T::SiNo, &R::InmRevisado1},
            &R::InmValorCat2, {T::SiNo, &R::InmRevisado2}, &R::InmIntereses, {T::SiNo, &R::InmLocal}}},
        // Each of the three activity sections carries Retribuciones. They are read in the
        // order written, so [Agrarias] has the last word (and, missing, makes it 0).
        SeccionRentas{"Directas", {
            &R::DirIngresos, &R::DirGastos, &R::DirPagosFrac, &R::DirRetencion, {T::SiNo, &R::DirRedRdtoNeto},
            &R::Retribuciones, {T::SiNo, &R::DirRedEmprendedores}}},
        SeccionRentas{"Modulos", {
            &R::ModRdtoNeto, &R::ModGastosExtra, &R::ModPagosFrac, &R::ModRetencion, &R::Retribuciones}},
        SeccionRentas{"Agrarias", {
            &R::AgrRdtoNeto, &R::AgrGastosExtra, &R::AgrPagosFrac, &R::AgrRetencion, &R::Retribuciones}},
        SeccionRentas{"Reducciones", {&R::RedPlanPension, &R::RedAnualidades, &R::RedAnualidadHijos}},
        SeccionLista<Gan>{"Ganancias", &Declaracion::ListaGanancias, {
            {T::Clase, &Gan::Clase, "IOA"}, {T::Titular, &Gan::Titular}, {T::Fecha, &Gan::FechaAdquisicion},
            &Gan::ValorAdquisicion, {T::Fecha, &Gan::FechaTransmision}, &Gan::ValorTransmision, &Gan::Retencion,
            &Gan::ImporteGeneral, &Gan::ImporteAhorro, &Gan::ValorPatrimonio, &Gan::Reinversion}},
        SeccionLista<Ded>{"Deducciones", &Declaracion::ListaDeducciones, {
            {T::Clase, &Ded::Clase, "ABCDEFGH"}, {T::TitularSuelto, &Ded::Titular},
            {T::Fecha, &Ded::FechaAdquisicion}, &Ded::Importe, &Ded::PorcMinusvalia, &Ded::PorcDeduccion}},
        // No screen fills the regional list; whatever a read file brought is written back
        // as it came, every item, so that saving again loses nothing.
        SeccionLista<DatosAutonomica>{"Autonomicas", &Declaracion::ListaAutonomicas, {
            {T::Texto, &DatosAutonomica::Texto1}, {T::Texto, &DatosAutonomica::Texto2}, &DatosAutonomica::Importe1,
            &DatosAutonomica::Importe2, &DatosAutonomica::Importe3}},
        SeccionCasillas{"Varios"});
    // clang-format on
    return tabla;
}

// f(section, its index in the file) for every section, in the order they are written.
template <typename F>
void paraCada(F &&f)
{
    std::apply(
        [&](const auto &...s) {
            std::size_t i = 0;
            (f(s, i++), ...);
        },
        Disposicion());
}

// The field of a list's records whose emptiness leaves an item out of the file, if any.
template <typename R>
std::string R::*titularDe(const SeccionLista<R> &s)
{
    for (const Campo<R> &c : s.campos) {
        if (c.tipo == Tipo::Titular || c.tipo == Tipo::TitularSuelto)
            return c.texto;
    }
    return nullptr;
}

// ---------------------------------------------------------------------------------------
// Reading

template <typename R>
void leeCampo(const ValorFichero &v, std::size_t i, const Campo<R> &c, R &r)
{
    switch (c.tipo) {
    case Tipo::Texto: r.*c.texto = v.texto(i); break;
    case Tipo::SiNo: r.*c.texto = v.siNo(i); break;
    case Tipo::Fecha: r.*c.texto = v.fecha(i); break;
    case Tipo::Clase: r.*c.texto = v.clase(i, c.letras); break;
    case Tipo::Perceptor: r.*c.texto = v.perceptor(i); break;
    case Tipo::Titular: r.*c.texto = v.titular(i, true); break;
    case Tipo::TitularSuelto: r.*c.texto = v.titular(i, false); break;
    case Tipo::Importe: r.*c.importe = v.importe(i); break;
    case Tipo::Entero: r.*c.entero = v.entero16(i); break;
    case Tipo::Byte: r.*c.byte = v.byte(i); break;
    case Tipo::Completo: r.*c.texto = std::string(v.completo()); break;
    case Tipo::Region: r.*c.texto = v.region(); break;
    }
}

template <typename R>
void leeRegistro(const ValorFichero &v, const std::vector<Campo<R>> &campos, R &r)
{
    for (std::size_t i = 0; i < campos.size(); ++i)
        leeCampo(v, i, campos[i], r);
}

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

// The passes of the reader, each over the sections it concerns: [Datos] and the family;
// then the income of one person across all its sections before the other's; the sums of
// the two; the lists; the boxes.
class Lector {
public:
    Lector(const FicheroIni &f, Declaracion &d, std::vector<std::string> &avisos) : m_f(f), m_d(d), m_avisos(avisos) {}

    void lee()
    {
        paraCada([this](const auto &s, std::size_t i) { cabecera(s, m_f.apartados[i]); });
        for (std::size_t p = 1; p <= 2; ++p)
            paraCada([this, p](const auto &s, std::size_t i) { persona(s, m_f.apartados[i], p); });
        paraCada([this](const auto &s, std::size_t i) { sumas(s, m_f.apartados[i]); });
        paraCada([this](const auto &s, std::size_t i) { lista(s, m_f.apartados[i]); });
        paraCada([this](const auto &s, std::size_t i) { casillas(s, m_f.apartados[i]); });
        RehaceTotales(m_d);
    }

private:
    template <typename S>
    void cabecera(const S &, const ApartadoIni &)
    {
    }
    void cabecera(const SeccionDatos &s, const ApartadoIni &a)
    {
        for (const auto &[clave, campo] : s.claves)
            leeCampo(ValorFichero(s.nombre, clave, a.busca(clave), m_avisos), 0, campo, m_d);
    }
    void cabecera(const SeccionFamilia &s, const ApartadoIni &a)
    {
        for (std::size_t r = 0; r < m_d.Miembros.size(); ++r)
            leeRegistro(ValorFichero(s.nombre, r, a.busca(r), m_avisos), s.campos, m_d.Miembros[r]);
    }

    template <typename S>
    void persona(const S &, const ApartadoIni &, std::size_t)
    {
    }
    void persona(const SeccionRentas &s, const ApartadoIni &a, std::size_t p)
    {
        leeRegistro(ValorFichero(s.nombre, p, a.busca(p), m_avisos), s.campos, m_d.Rentas[p]);
    }

    // Entry 0 of Rentas holds the declarant's and the spouse's amounts added together. Two
    // amounts each within range may not add up within it: refused here, naming the
    // section, rather than left to fail in RehaceTotales without saying where.
    template <typename S>
    void sumas(const S &, const ApartadoIni &)
    {
    }
    void sumas(const SeccionRentas &s, const ApartadoIni &a)
    {
        for (const Campo<DatosRenta> &c : s.campos) {
            if (!c.importe || !BuscaSumado(c.importe))
                continue;
            try {
                (void)(m_d.Rentas[1].*c.importe + m_d.Rentas[2].*c.importe);
            } catch (const ErrorImporte &) {
                const EntradaIni *e = a.busca(std::size_t{2});
                const int linea = e ? e->linea : 0;
                throw ErrorFichero("Importe fuera de rango en [" + std::string(s.nombre) + "], clave 2, línea " +
                                       std::to_string(linea) +
                                       ": la suma del declarante y el cónyuge no cabe en el tipo de importe.",
                                   std::string(s.nombre), "2", linea);
            }
        }
    }

    // Keys "0", "1", ... until the first one missing or empty, past 49 too.
    template <typename S>
    void lista(const S &, const ApartadoIni &)
    {
    }
    template <typename R>
    void lista(const SeccionLista<R> &s, const ApartadoIni &a)
    {
        for (std::size_t n = 0;; ++n) {
            const EntradaIni *e = a.busca(n);
            if (!e || e->valor.empty())
                break;
            R x;
            leeRegistro(ValorFichero(s.nombre, n, e, m_avisos), s.campos, x);
            (m_d.*s.lista).push_back(std::move(x));
        }
    }

    // [Varios] holds the texts shown in the boxes, so its amounts are in the sheet's form.
    template <typename S>
    void casillas(const S &, const ApartadoIni &)
    {
    }
    void casillas(const SeccionCasillas &s, const ApartadoIni &a)
    {
        for (std::size_t n = 1; n < static_cast<std::size_t>(kCasillasTecleables); ++n) {
            const EntradaIni *e = a.busca(n);
            if (!e || e->valor.empty())
                continue;
            const ValorFichero v(s.nombre, n, e, m_avisos);
            v.importeDePantalla();
            // "12.34" would be read as 1.234,00: a typing slip that must not pass for an amount.
            if (!gruposDeTres(e->valor)) {
                v.avisa("Puntos de millar mal puestos", e->valor, {},
                        ": no separan grupos de tres cifras y la casilla " + std::to_string(n) + " se deja vacía.");
                continue;
            }
            m_d.Casillas[n].Texto = std::string(e->valor);
        }
    }

    const FicheroIni &m_f;
    Declaracion &m_d;
    std::vector<std::string> &m_avisos;
};

// ---------------------------------------------------------------------------------------
// Writing

// Appends a UTF-8 text of the declaration in Windows-1252. What the code page cannot hold
// becomes "?"; a line break or other control character would break the line structure, so
// it is written as a blank, and inside a record a "|" would shift every later field, so it
// is written as "?".
void anadeTexto(std::string &out, std::string_view s, bool enRegistro)
{
    for (const char32_t cp : DecodificaUtf8(s)) {
        if (cp < 0x20 || cp == 0x7F)
            out.push_back(' ');
        else if (cp == '|' && enRegistro)
            out.push_back('?');
        else
            out.push_back(ByteCp1252(cp));
    }
}

class Escritor {
public:
    Escritor(std::string &out, const Declaracion &d) : m_out(out), m_d(d) {}

    void operator()(const SeccionDatos &s)
    {
        cabecera(s.nombre);
        for (const auto &[clave, c] : s.claves) {
            m_out += clave;
            m_out += '=';
            campo(c, m_d);
            m_out += "\r\n";
        }
    }
    void operator()(const SeccionFamilia &s)
    {
        cabecera(s.nombre);
        for (std::size_t r = 0; r < m_d.Miembros.size(); ++r)
            linea(std::to_string(r), m_d.Miembros[r], s.campos);
    }
    void operator()(const SeccionRentas &s)
    {
        cabecera(s.nombre);
        for (std::size_t p = 1; p <= 2; ++p)
            linea(std::to_string(p), m_d.Rentas[p], s.campos);
    }
    // The items that have an owner (every item of a list without one), keyed by their place.
    template <typename R>
    void operator()(const SeccionLista<R> &s)
    {
        cabecera(s.nombre);
        const std::string R::*titular = titularDe(s);
        const std::vector<R> &items = m_d.*s.lista;
        for (std::size_t n = 0; n < items.size(); ++n) {
            if (!titular || !(items[n].*titular).empty())
                linea(std::to_string(n), items[n], s.campos);
        }
    }
    void operator()(const SeccionCasillas &s)
    {
        cabecera(s.nombre);
        for (std::size_t n = 0; n < m_d.Casillas.size(); ++n) {
            const Casilla &c = m_d.Casillas[n];
            if (!c.Entrada || c.Texto.empty())
                continue;
            m_out += std::to_string(n) + "=";
            anadeTexto(m_out, c.Texto, false);
            m_out += "\r\n";
        }
    }

private:
    void cabecera(std::string_view nombre)
    {
        m_out += '[';
        m_out += nombre;
        m_out += "]\r\n";
    }

    template <typename R>
    void linea(std::string_view clave, const R &r, const std::vector<Campo<R>> &campos)
    {
        m_out += clave;
        m_out += '=';
        for (std::size_t i = 0; i < campos.size(); ++i) {
            if (i > 0)
                m_out += '|';
            campo(campos[i], r);
        }
        m_out += "\r\n";
    }

    template <typename R>
    void campo(const Campo<R> &c, const R &r)
    {
        if (c.importe)
            m_out += FormatoFichero(r.*c.importe);
        else if (c.entero)
            m_out += std::to_string(r.*c.entero);
        else if (c.byte)
            m_out += std::to_string(r.*c.byte);
        else
            anadeTexto(m_out, r.*c.texto, c.tipo != Tipo::Completo && c.tipo != Tipo::Region);
    }

    std::string &m_out;
    const Declaracion &m_d;
};

}  // namespace

const std::vector<std::string_view> &SeccionesFichero()
{
    static const std::vector<std::string_view> nombres = [] {
        std::vector<std::string_view> v;
        paraCada([&v](const auto &s, std::size_t) { v.push_back(s.nombre); });
        return v;
    }();
    return nombres;
}

void LeeSecciones(const FicheroIni &f, Declaracion &d, std::vector<std::string> &avisos) { Lector(f, d, avisos).lee(); }

std::string EscribeSecciones(const Declaracion &d)
{
    std::string out;
    out.reserve(2048 + 200 * (d.ListaMobiliario.size() + d.ListaGanancias.size() + d.ListaDeducciones.size() +
                              d.ListaAutonomicas.size()));
    Escritor w(out, d);
    paraCada([&w](const auto &s, std::size_t) { w(s); });
    return out;
}

}  // namespace simulador
