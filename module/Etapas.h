// The vocabulary the liquidation stages are written in, for both value types.
//
// The stages (Liquidar.cpp, Mobiliario.cpp, Ganancias.cpp, Deducciones.cpp, Escalas.cpp)
// are templates over V: Money computes the sheet, Traza (Traza.h) computes the same figures
// and records how. Every helper here has a Money form that is exactly the plain expression
// the engine always used (a name or a condition in words is never even built) and a Traza
// form that puts the words on the node. A rule lives once, in the stage; this file only
// says what a value is called.
#pragma once

#include "Cifras2021.h"
#include "Declaracion.h"
#include "Escalas.h"
#include "Resultado.h"
#include "Traza.h"

#include <string>
#include <string_view>
#include <type_traits>

namespace simulador {

template <class V>
struct CajasDe;
template <>
struct CajasDe<Money> {
    using tipo = Resultado;
};
template <>
struct CajasDe<Traza> {
    using tipo = CajasTraza;
};
// The result array a run of value type V fills.
template <class V>
using Cajas = typename CajasDe<V>::tipo;

template <class V>
inline constexpr bool kTraza = std::is_same_v<V, Traza>;

inline Money ValorDe(Money m) { return m; }
inline Money ValorDe(const Traza &t) { return t.valor(); }

inline Money suelo0(Money m) { return max(m, Money()); }

// A text given as a literal (kept where it is) or as a function that builds it (only called
// when tracing).
template <class T>
traza::Texto TextoDe(T &&t)
{
    if constexpr (std::is_array_v<std::remove_cv_t<std::remove_reference_t<T>>>)
        return traza::Texto{std::string_view(t), {}};
    else if constexpr (std::is_invocable_v<T &>)
        return traza::Texto{{}, std::string(t())};
    else
        return traza::Texto{{}, std::string(t)};
}

// Words for a value.
template <class T>
inline Money Nombra(Money m, T &&)
{
    return m;
}
template <class T>
Traza Nombra(const Traza &t, T &&texto)
{
    return traza::Nombra(t, TextoDe(texto));
}

// The branch taken and, in words with its figures, why.
template <class T>
inline Money Si(Money m, T &&)
{
    return m;
}
template <class T>
Traza Si(const Traza &t, T &&condicion)
{
    return traza::Si(t, TextoDe(condicion));
}

// A zero that says why it is zero.
template <class V, class T>
V Cero(T &&texto)
{
    if constexpr (kTraza<V>)
        return traza::Hoja(Money(), TextoDe(texto));
    else
        return Money();
}

// An amount of the rules that is not a legal figure of Cifras2021.h (a scale's row, a
// bracket limit): its words.
template <class V, class T>
V Constante(Money valor, T &&texto)
{
    if constexpr (kTraza<V>)
        return traza::Hoja(valor, TextoDe(texto));
    else
        return valor;
}

// A typed box's amount, read from its text.
template <class V>
V Tecleada(Money valor, int casilla)
{
    if constexpr (kTraza<V>)
        return traza::Tecleada(valor, casilla);
    else
        return valor;
}

// x × f and x / f, f a share, a divisor or a computed proportion, with its words.
template <class T>
inline Money Por(Money x, double f, Medida, T &&)
{
    return x * f;
}
template <class T>
Traza Por(const Traza &x, double f, Medida medida, T &&texto)
{
    return traza::Por(x, f, medida, TextoDe(texto));
}
template <class T>
inline Money Entre(Money x, double f, T &&)
{
    return x / f;
}
template <class T>
Traza Entre(const Traza &x, double f, T &&texto)
{
    return traza::Entre(x, f, TextoDe(texto));
}

// x × t / 100 for a rate t in percent: the product exact in money, the division in double.
template <class T>
inline Money PorTipo(Money x, Money tipo, T &&)
{
    return x.times(tipo) / 100.0;
}
template <class T>
Traza PorTipo(const Traza &x, Money tipo, T &&texto)
{
    return traza::PorFactor(x, PorTipo(x.valor(), tipo, 0), tipo.toDouble() / 100.0, Medida::Porcentaje,
                            TextoDe(texto));
}

// x / an amount (Money's division, in double).
inline Money Entre(Money x, Money divisor) { return x / divisor.toDouble(); }
inline Traza Entre(const Traza &x, const Traza &divisor) { return traza::EntreImporte(x, divisor); }

// A field of a person's income record (1 declarant, 2 spouse) or of the totals entry (0),
// captioned as its screen captions it. Money: the field.
template <class V>
V Dato(const Declaracion &d, Money DatosRenta::*campo, std::size_t persona);
template <>
inline Money Dato<Money>(const Declaracion &d, Money DatosRenta::*campo, std::size_t persona)
{
    return d.Rentas[persona].*campo;
}
template <>
inline Traza Dato<Traza>(const Declaracion &d, Money DatosRenta::*campo, std::size_t persona)
{
    return traza::DatoRenta(d, campo, persona);
}

// A field of an item of one of the lists.
template <class V, class T>
V DatoLista(Money valor, T &&texto)
{
    if constexpr (kTraza<V>)
        return traza::Hoja(valor, TextoDe(texto));
    else
        return valor;
}


// "Elemento 2 de Ganancias y Pérdidas Patrimoniales (clase I, del declarante)": a list item
// as its screen lists it, its class code as typed and its owner in words.
inline std::string ElementoDeLista(std::string_view lista, std::size_t i, const std::string &clase,
                                   const std::string &titular)
{
    const char *quien = titular == "D" ? "del declarante" : titular == "C" ? "del cónyuge" : titular == "A" ? "de ambos cónyuges" : nullptr;
    return "Elemento " + std::to_string(i + 1) + " de " + std::string(lista) + " (clase " + clase + ", " +
           (quien ? std::string(quien) : "titular " + titular) + ")";
}

// How much of a list item a run takes, by its owner ("D", "C", "A"): the whole jointly; in an
// individual run the whole of the person's own item, half of one held by both, nothing of
// the other person's. An owner no screen writes (an empty one ends a list) is no owner.
enum class ParteItem { NoEsTitular, Nada, Mitad, Entera };
inline ParteItem ParteDeItem(std::string_view titular, Modalidad modalidad)
{
    if (titular != "D" && titular != "C" && titular != "A")
        return ParteItem::NoEsTitular;
    if (modalidad == Modalidad::Conjunta)
        return ParteItem::Entera;
    if (titular == "A")
        return ParteItem::Mitad;
    const bool propio = (titular == "D") == (modalidad == Modalidad::Declarante);
    return propio ? ParteItem::Entera : ParteItem::Nada;
}

// The part of an item's amount a run takes (Entera or Mitad): the whole, or half of an item
// held by both, rounded to the cent.
template <class V>
V ParteDelImporte(const V &importe, ParteItem parte)
{
    const double divisor = parte == ParteItem::Mitad ? 2.0 : 1.0;
    V x = Redondea(Entre(importe, divisor, "2: elemento de ambos cónyuges, la mitad en la liquidación individual"));
    if constexpr (kTraza<V>)
        if (divisor != 1.0)
            x = Nombra(x, "La mitad que corresponde a esta liquidación individual");
    return x;
}

// The stages, one definition each, instantiated for Money and Traza.
template <class V>
void LiquidarT(const Declaracion &d, Modalidad modalidad, Cajas<V> &r, const V &DeduccionConyuge);
template <class V>
V DeduccionDiscapacitadosT(const Declaracion &d, Modalidad modalidad);
template <class V>
void CalculaMobiliarioT(const Declaracion &d, Modalidad modalidad, Cajas<V> &r);
template <class V>
void CalculaGananciasT(const Declaracion &d, Modalidad modalidad, Cajas<V> &r);
template <class V>
void CalculaDeduccionesT(const Declaracion &d, Modalidad modalidad, Cajas<V> &r, V &vivienda);
template <class V>
V CuotaT(const Escalas &escalas, std::string_view selector, const V &base);
template <class V>
V CuotaAhorroT(const V &base);

}  // namespace simulador
