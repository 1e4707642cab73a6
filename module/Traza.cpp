#include "Traza.h"

#include "Formularios.h"
#include "TablaCasillas.h"
#include "TextoImporte.h"

#include <cmath>
#include <cstdio>

namespace simulador {

using traza::Hijos;
using traza::Nodo;
using traza::PNodo;
using traza::Texto;

namespace {

std::shared_ptr<Nodo> nuevo(Money valor, Operacion op)
{
    auto n = std::make_shared<Nodo>();
    n->valor = valor;
    n->op = op;
    return n;
}

// The node of an operand: an unnamed constant becomes a leaf of its own.
PNodo nodoDe(const Traza &t)
{
    if (t.nodo())
        return t.nodo();
    return nuevo(t.valor(), Operacion::Hoja);
}

bool ceroSinNombre(const Traza &t) { return !t.nodo() && t.isZero(); }

Traza operacion(Money valor, Operacion op, const Traza &a, const Traza &b)
{
    auto n = nuevo(valor, op);
    n->hijos = {nodoDe(a), nodoDe(b)};
    return Traza(valor, std::move(n));
}

std::shared_ptr<Nodo> factor(double f, Medida medida)
{
    auto n = nuevo(Money(), Operacion::Hoja);
    // The display value; the arithmetic uses `factor`. A factor too large for the money
    // type shows as 0 rather than failing the explanation.
    if (std::isfinite(f) && std::fabs(f) < 1e14)
        n->valor = Money::fromDouble(f);
    n->factor = f;
    n->medida = medida;
    return n;
}

Traza producto(const Traza &x, Money valor, PNodo f)
{
    auto n = nuevo(valor, Operacion::Producto);
    n->hijos = {nodoDe(x), std::move(f)};
    return Traza(valor, std::move(n));
}

// "8.000", "17.707,20": a legal amount as the law writes it.
std::string importeLegal(Money m)
{
    std::string s = FormatoImporte(m);
    if (s.size() > 3 && s.compare(s.size() - 3, 3, ",00") == 0)
        s.resize(s.size() - 3);
    return s;
}

}  // namespace

std::string traza::Palabras(const Nodo &n)
{
    std::string s;
    s.reserve(96);
    if (!n.nombre.empty()) {
        s += n.nombre.vista();
        if (n.origen == Nodo::Origen::Texto && n.texto.empty())
            return s;
        s += ": ";
    }
    switch (n.origen) {
    case Nodo::Origen::Cifra:
        s.append(n.concepto).append(": ").append(importeLegal(n.valor)).append(" € (").append(n.articulo).append(")");
        break;
    case Nodo::Origen::Coeficiente:
        s.append(n.concepto).append(": ").append(n.medida == Medida::Porcentaje ? Porcentaje(n.factor) : Numero(n.factor));
        if (!n.articulo.empty())
            s.append(" (").append(n.articulo).append(")");
        break;
    case Nodo::Origen::Tecleada: {
        s.append("Importe tecleado en la casilla ").append(std::to_string(n.tecleada)).append(" de la hoja");
        const std::string_view concepto = TablaCasillas()[static_cast<std::size_t>(n.tecleada)].concepto;
        if (!concepto.empty())
            s.append(" (").append(concepto).append(")");
        break;
    }
    case Nodo::Origen::Texto: s += n.texto.vista(); break;
    }
    return s;
}

// ---- leaves and named values

Traza::Traza(const Cifra &c) : m_valor(c.valor())
{
    auto n = nuevo(c.valor(), Operacion::Hoja);
    n->origen = Nodo::Origen::Cifra;
    n->concepto = c.concepto;
    n->articulo = c.articulo;
    m_nodo = std::move(n);
}

namespace traza {

Traza Nombra(const Traza &t, Texto texto)
{
    const PNodo &o = t.nodo();
    if (!o) {
        auto n = nuevo(t.valor(), Operacion::Hoja);
        n->nombre = std::move(texto);
        return Traza(t.valor(), std::move(n));
    }
    if (o->corrida == nullptr && o->origen != Nodo::Origen::Tecleada && o->nombre.empty() &&
        (!o->nombrado() || (o->op == Operacion::Hoja && o->medida == Medida::Importe))) {
        // An unnamed step takes the name; a leaf keeps its words after it.
        auto n = std::make_shared<Nodo>(*o);
        n->publico = -1;
        n->nombre = std::move(texto);
        return Traza(t.valor(), std::move(n));
    }
    auto n = nuevo(t.valor(), Operacion::Suma);
    n->nombre = std::move(texto);
    n->hijos = {o};
    return Traza(t.valor(), std::move(n));
}

Traza Si(const Traza &t, Texto condicion)
{
    auto n = nuevo(t.valor(), Operacion::Si);
    n->nombre = std::move(condicion);
    n->hijos = {nodoDe(t)};
    return Traza(t.valor(), std::move(n));
}

Traza Hoja(Money valor, Texto texto)
{
    auto n = nuevo(valor, Operacion::Hoja);
    n->texto = std::move(texto);
    return Traza(valor, std::move(n));
}

Traza Tecleada(Money valor, int casilla)
{
    auto n = nuevo(valor, Operacion::Hoja);
    n->origen = Nodo::Origen::Tecleada;
    n->tecleada = casilla;
    return Traza(valor, std::move(n));
}

PNodo Factor(double f, Medida medida, Texto texto)
{
    auto n = factor(f, medida);
    n->texto = std::move(texto);
    return n;
}

Traza Por(const Traza &x, double f, Medida medida, Texto texto)
{
    const Money v = x.valor() * f;
    if (f == 1.0 && v == x.valor())
        return x;
    return producto(x, v, Factor(f, medida, std::move(texto)));
}

Traza Entre(const Traza &x, double f, Texto texto)
{
    const Money v = x.valor() / f;
    if (f == 1.0 && v == x.valor())
        return x;
    auto n = nuevo(v, Operacion::Cociente);
    n->hijos = {nodoDe(x), Factor(f, Medida::Numero, std::move(texto))};
    return Traza(v, std::move(n));
}

Traza Producto(const Traza &x, Money valor, Hijos factores)
{
    auto n = nuevo(valor, Operacion::Producto);
    n->hijos.push_back(nodoDe(x));
    for (const PNodo &f : factores)
        n->hijos.push_back(f);
    return Traza(valor, std::move(n));
}

Traza EntreImporte(const Traza &x, const Traza &divisor)
{
    const Money v = x.valor() / divisor.toDouble();
    auto n = nuevo(v, Operacion::Cociente);
    n->hijos = {nodoDe(x), nodoDe(divisor)};
    return Traza(v, std::move(n));
}

}  // namespace traza

// ---- arithmetic: every value is Money's own

Traza operator+(const Traza &a, const Traza &b)
{
    const Money v = a.valor() + b.valor();
    if (ceroSinNombre(b))
        return a;
    if (ceroSinNombre(a))
        return b;
    return operacion(v, Operacion::Suma, a, b);
}

Traza operator-(const Traza &a, const Traza &b)
{
    const Money v = a.valor() - b.valor();
    if (ceroSinNombre(b))
        return a;
    return operacion(v, Operacion::Resta, a, b);
}

Traza operator-(const Traza &a)
{
    const Money v = -a.valor();
    return producto(a, v, traza::Factor(-1.0, Medida::Numero, Texto{"Cambio de signo", {}}));
}

Traza &Traza::operator+=(const Traza &o) { return *this = *this + o; }
Traza &Traza::operator-=(const Traza &o) { return *this = *this - o; }

Traza Traza::times(const Traza &o) const
{
    return operacion(m_valor.times(o.m_valor), Operacion::Producto, *this, o);
}

Traza operator*(const Traza &a, double f)
{
    const Money v = a.valor() * f;
    if (f == 1.0 && v == a.valor())
        return a;
    return producto(a, v, factor(f, Medida::Numero));
}

Traza operator*(const Traza &a, const Coeficiente &c)
{
    const Money v = a.valor() * c.valor;
    auto f = factor(c.valor, c.valor < 1.0 ? Medida::Porcentaje : Medida::Numero);
    f->origen = Nodo::Origen::Coeficiente;
    f->concepto = c.concepto;
    f->articulo = c.articulo;
    return producto(a, v, std::move(f));
}

Traza operator/(const Traza &a, double f)
{
    return traza::Entre(a, f, Texto());
}

Traza min(const Traza &a, const Traza &b)
{
    return operacion(min(a.valor(), b.valor()), Operacion::Minimo, a, b);
}

Traza max(const Traza &a, const Traza &b)
{
    return operacion(max(a.valor(), b.valor()), Operacion::Maximo, a, b);
}

Traza Redondea(const Traza &a)
{
    const Money v = Redondea(a.valor());
    if (v == a.valor())
        return a;
    auto n = nuevo(v, Operacion::Redondea);
    n->hijos = {nodoDe(a)};
    return Traza(v, std::move(n));
}

Traza suelo0(const Traza &a)
{
    const Money v = max(a.valor(), Money());
    if (v == a.valor())
        return a;
    auto n = nuevo(v, Operacion::Suelo0);
    n->hijos = {nodoDe(a)};
    return Traza(v, std::move(n));
}

// ---- the boxes of a traced run

CajasTraza::Ref &CajasTraza::Ref::operator=(const Traza &t)
{
    auto n = nuevo(t.valor(), Operacion::Hoja);
    n->casilla = m_n;
    n->corrida = &m_c;
    if (t.nodo())
        n->hijos = {t.nodo()};
    m_c.m_v[static_cast<std::size_t>(m_n)] = Traza(t.valor(), std::move(n));
    return *this;
}

void CajasTraza::fill(const Traza &t)
{
    for (int n = 0; n < kNumCasillas; ++n)
        (*this)[n] = t;
}

// ---- words

std::string Importe(Money m) { return FormatoImporte(m); }

std::string Cantidad(Money m) { return importeLegal(m) + " €"; }

std::string Numero(double f)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.6f", f);
    std::string s(buf);
    while (s.back() == '0')
        s.pop_back();
    if (s.back() == '.')
        s.pop_back();
    for (char &c : s)
        if (c == '.')
            c = ',';
    return s == "-0" ? "0" : s;
}

std::string Porcentaje(double factor) { return Numero(factor * 100.0) + " %"; }

const char *DePersona(int persona) { return persona == 1 ? "del declarante" : "del cónyuge"; }

namespace {

// The captions of a field of DatosRenta as its screen shows it: "Ingresos" on "Rdtos. del
// Trabajo", for the declarant, the spouse and the two together. A caption that runs on into
// a companion box's ("V.Catastral 1º    Rev.") is cut at the gap. Made once: the leaves
// point into these texts.
struct TextosCampo {
    Money DatosRenta::*campo;
    std::string declarante, conyuge, unidad, total;
};

const TextosCampo &textosCampo(Money DatosRenta::*campo)
{
    static const std::vector<TextosCampo> textos = [] {
        std::vector<TextosCampo> v;
        for (PantallaRenta p : PantallasRenta()) {
            const FormularioRenta &f = Formulario(p);
            for (const CampoRenta &c : f.campos) {
                if (!c.importe || c.titulo.empty())
                    continue;
                std::string t(c.titulo.substr(0, c.titulo.find("  ")));
                for (char &ch : t)
                    if (ch == '\n')
                        ch = ' ';
                const std::string pantalla = " (" + std::string(f.titulo) + ")";
                v.push_back({c.importe, t + " " + DePersona(1) + pantalla, t + " " + DePersona(2) + pantalla,
                             t + " de la unidad familiar" + pantalla, t + " de la unidad familiar" + pantalla + ", importe total"});
            }
        }
        v.push_back({nullptr, "Dato del declarante", "Dato del cónyuge", "Dato de la unidad familiar",
                     "Dato de la unidad familiar, importe total"});
        return v;
    }();
    for (const TextosCampo &t : textos)
        if (t.campo == campo)
            return t;
    return textos.back();
}

Texto fijo(const std::string &s) { return Texto{s, {}}; }

}  // namespace

Traza traza::DatoRenta(const Declaracion &d, Money DatosRenta::*campo, std::size_t persona)
{
    const TextosCampo &t = textosCampo(campo);
    const Money v = d.Rentas[persona].*campo;
    if (persona != 0)
        return traza::Hoja(v, fijo(persona == 1 ? t.declarante : t.conyuge));
    // The totals entry is the sum of both persons' fields when the screens saved it so;
    // a file may carry another total, which then stands by itself.
    const Money a = d.Rentas[1].*campo, b = d.Rentas[2].*campo;
    std::int64_t suma = 0;
    if (__builtin_add_overflow(a.units(), b.units(), &suma) || Money::fromUnits(suma) != v)
        return traza::Hoja(v, fijo(t.total));
    if (a.isZero() != b.isZero())  // one person's amount is the couple's
        return traza::Hoja(v, fijo(a.isZero() ? t.conyuge : t.declarante));
    if (a.isZero())
        return traza::Hoja(v, fijo(t.unidad));
    auto n = nuevo(v, Operacion::Suma);
    n->nombre = fijo(t.unidad);
    n->hijos = {traza::Hoja(a, fijo(t.declarante)).nodo(), traza::Hoja(b, fijo(t.conyuge)).nodo()};
    return Traza(v, std::move(n));
}

}  // namespace simulador
