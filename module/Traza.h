// The traced amount: a Money that remembers how it was reached.
//
// The liquidation stages are written once, generic over their value type (Etapas.h). Run
// with Money they are the engine; run with Traza every operation also records a node (its
// value computed by the very Money operation the engine uses, so both runs agree by
// construction) and the boxes remember which node each assignment gave them. Explicacion.cpp
// turns the recorded graph into the explanation of a box. Nodes are shared: a value used in
// ten places is one node with ten parents.
#pragma once

#include "Cifras2021.h"
#include "Declaracion.h"
#include "Money.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace simulador {

// What a node of an explanation does with its children.
enum class Operacion : std::uint8_t {
    Hoja,      // no children: a typed box, a data field, a legal figure, a rate
    Suma,      // +
    Resta,     // the first minus the rest
    Producto,  // *
    Cociente,  // the first divided by the rest
    Minimo,    // the smallest child
    Maximo,    // the largest child
    Redondea,  // the child rounded to the cent, halves away from zero
    Suelo0,    // the child, or 0 when it is negative
    Si,        // one child, the branch taken; the text says the condition
};

// How a leaf's value reads: an amount, or a factor (a rate as a percentage, or a plain
// number such as a divisor).
enum class Medida : std::uint8_t { Importe, Porcentaje, Numero };

namespace traza {

struct Nodo;
using PNodo = std::shared_ptr<const Nodo>;

// A node's words: a literal (static storage, nothing to copy) or a text of its own.
struct Texto {
    std::string_view fijo;
    std::string propio;

    bool empty() const { return fijo.empty() && propio.empty(); }
    std::string_view vista() const { return propio.empty() ? fijo : std::string_view(propio); }
};

// The children of a node, up to three without an allocation of their own (nearly every
// step has one, two or three operands).
class Hijos {
public:
    Hijos() = default;
    Hijos(std::initializer_list<PNodo> l)
    {
        for (const PNodo &p : l)
            push_back(p);
    }
    void push_back(PNodo p)
    {
        if (m_fuera.empty() && m_n < m_dentro.size()) {
            m_dentro[m_n++] = std::move(p);
            return;
        }
        if (m_fuera.empty())
            for (std::size_t i = 0; i < m_n; ++i)
                m_fuera.push_back(std::move(m_dentro[i]));
        m_fuera.push_back(std::move(p));
        ++m_n;
    }
    std::size_t size() const { return m_n; }
    bool empty() const { return m_n == 0; }
    const PNodo &operator[](std::size_t i) const { return datos()[i]; }
    const PNodo *begin() const { return datos(); }
    const PNodo *end() const { return datos() + m_n; }

private:
    const PNodo *datos() const { return m_fuera.empty() ? m_dentro.data() : m_fuera.data(); }
    std::array<PNodo, 3> m_dentro;
    std::vector<PNodo> m_fuera;
    std::size_t m_n = 0;
};

struct Nodo {
    Money valor;
    Operacion op = Operacion::Hoja;
    Medida medida = Medida::Importe;
    double factor = 0.0;        // a factor leaf's exact value (valor is only its display)
    // The words, composed only for the nodes that reach an explanation: a name given to the
    // value (empty: a step of the arithmetic nobody named), then what the leaf is (its own
    // text, a legal figure or rate with its article, or the box its amount was typed in).
    Texto nombre;
    Texto texto;
    enum class Origen : std::uint8_t { Texto, Cifra, Coeficiente, Tecleada } origen = Origen::Texto;
    std::string_view concepto, articulo;  // a legal figure's or rate's (literals of Cifras2021.h)
    int tecleada = -1;
    int casilla = -1;           // an assignment to this box of the run `corrida`...
    const void *corrida = nullptr;
    Hijos hijos;                // ...whose only child is the value assigned
    mutable int publico = -1;   // its node in the explanation made from this run, once made

    bool nombrado() const
    {
        return !nombre.empty() || !texto.empty() || origen != Origen::Texto;
    }
};

// The words of a node, in full.
std::string Palabras(const Nodo &n);

}  // namespace traza

class Traza {
public:
    Traza() = default;  // zero, unnamed
    Traza(const Cifra &c);  // NOLINT(google-explicit-constructor): a legal figure reads as itself
    Traza(Money valor, traza::PNodo nodo) : m_valor(valor), m_nodo(std::move(nodo)) {}

    Money valor() const { return m_valor; }
    const traza::PNodo &nodo() const { return m_nodo; }

    bool positive() const { return m_valor.positive(); }
    bool negative() const { return m_valor.negative(); }
    bool isZero() const { return m_valor.isZero(); }
    double toDouble() const { return m_valor.toDouble(); }

    Traza &operator+=(const Traza &o);
    Traza &operator-=(const Traza &o);
    Traza times(const Traza &o) const;

private:
    Money m_valor;
    traza::PNodo m_nodo;
};

Traza operator+(const Traza &a, const Traza &b);
Traza operator-(const Traza &a, const Traza &b);
Traza operator-(const Traza &a);
Traza operator*(const Traza &a, double factor);
Traza operator*(const Traza &a, const Coeficiente &c);
Traza operator/(const Traza &a, double divisor);
Traza min(const Traza &a, const Traza &b);
Traza max(const Traza &a, const Traza &b);
Traza Redondea(const Traza &a);
Traza suelo0(const Traza &a);

inline bool operator==(const Traza &a, const Traza &b) { return a.valor() == b.valor(); }
inline bool operator!=(const Traza &a, const Traza &b) { return a.valor() != b.valor(); }
inline bool operator<(const Traza &a, const Traza &b) { return a.valor() < b.valor(); }
inline bool operator<=(const Traza &a, const Traza &b) { return a.valor() <= b.valor(); }
inline bool operator>(const Traza &a, const Traza &b) { return a.valor() > b.valor(); }
inline bool operator>=(const Traza &a, const Traza &b) { return a.valor() >= b.valor(); }
inline bool operator==(const Traza &a, Money b) { return a.valor() == b; }
inline bool operator!=(const Traza &a, Money b) { return a.valor() != b; }
inline bool operator<(const Traza &a, Money b) { return a.valor() < b; }
inline bool operator<=(const Traza &a, Money b) { return a.valor() <= b; }
inline bool operator>(const Traza &a, Money b) { return a.valor() > b; }
inline bool operator>=(const Traza &a, Money b) { return a.valor() >= b; }

namespace traza {

// A named value: an unnamed step takes the name, anything else is wrapped in a node that
// carries it (a box keeps being the box).
Traza Nombra(const Traza &t, Texto texto);
// The branch taken, under the condition that chose it.
Traza Si(const Traza &t, Texto condicion);
// Leaves.
Traza Hoja(Money valor, Texto texto);
Traza Tecleada(Money valor, int casilla);
// x × f and x / f with a named factor; the value is Money's own x * f or x / f.
Traza Por(const Traza &x, double f, Medida medida, Texto texto);
Traza Entre(const Traza &x, double f, Texto texto);
// A factor leaf: a rate, a share, a proportion.
PNodo Factor(double f, Medida medida, Texto texto);
// x × the factors, where `valor` is what the engine computes for it (a product the engine
// evaluates in double in its own order).
Traza Producto(const Traza &x, Money valor, Hijos factores);
inline Traza PorFactor(const Traza &x, Money valor, double f, Medida medida, Texto texto)
{
    return Producto(x, valor, {Factor(f, medida, std::move(texto))});
}
// x / an amount, in double as Money's own division.
Traza EntreImporte(const Traza &x, const Traza &divisor);
// A field of a person's income record (1 declarant, 2 spouse) or of the totals entry (0),
// captioned as its screen captions it; the totals entry as the sum of both when it is one.
Traza DatoRenta(const Declaracion &d, Money DatosRenta::*campo, std::size_t persona);

}  // namespace traza

// Words the explanations write their figures in.
// "8.000 €", "17.707,20 €": a legal amount as the law writes it.
std::string Cantidad(Money m);
// "12.450,00": an amount in a text.
std::string Importe(Money m);
inline std::string Importe(const Traza &t) { return Importe(t.valor()); }
// "1,5", "2", "0,496734": a factor in Spanish notation, up to six decimals.
std::string Numero(double f);
// "12 %", "10,05 %": a factor as a percentage.
std::string Porcentaje(double factor);
// "del declarante", "del cónyuge".
const char *DePersona(int persona);

// The result array of a traced run. Assigning box n records that the value is box n's from
// then on; reading it gives that record, so the explanation can tell the box's final value
// (a box node) from one it held on the way (an intermediate step).
class CajasTraza {
public:
    class Ref {
    public:
        Ref(CajasTraza &c, int n) : m_c(c), m_n(n) {}
        Ref &operator=(const Traza &t);
        Ref &operator=(const Ref &o) { return *this = static_cast<Traza>(o); }
        Ref &operator=(const Cifra &c) { return *this = Traza(c); }
        Ref &operator+=(const Traza &t) { return *this = get() + t; }
        Ref &operator-=(const Traza &t) { return *this = get() - t; }
        operator Traza() const { return get(); }  // NOLINT(google-explicit-constructor)
        const Traza &get() const { return m_c.m_v[static_cast<std::size_t>(m_n)]; }
        Money valor() const { return get().valor(); }
        bool positive() const { return get().positive(); }
        bool negative() const { return get().negative(); }
        bool isZero() const { return get().isZero(); }
        double toDouble() const { return get().toDouble(); }

    private:
        CajasTraza &m_c;
        int m_n;
    };

    Ref operator[](int n) { return Ref(*this, n); }
    const Traza &operator[](int n) const { return m_v[static_cast<std::size_t>(n)]; }
    void fill(const Traza &t);

private:
    std::array<Traza, kNumCasillas> m_v;
};

}  // namespace simulador
