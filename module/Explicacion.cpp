#include "Explicacion.h"

#include "Codificacion.h"
#include "Etapas.h"
#include "Liquidar.h"
#include "Pesetas.h"
#include "TablaCasillas.h"
#include "TextoImporte.h"
#include "TextoJson.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace simulador {

namespace {

using traza::Nodo;
using traza::PNodo;

// "Total Cuota General, estatal (casilla 69)": the row caption, the column where the row
// has several boxes, the number.
std::string componeTextoCasilla(int n)
{
    const CasillaDef &c = TablaCasillas()[static_cast<std::size_t>(n)];
    if (c.concepto.empty())
        return "Casilla " + std::to_string(n);
    std::string s(c.concepto);
    const bool cuotas = c.seccion == 9 || c.seccion == 11;
    switch (c.columna) {
    case Columna::Base: s += ", base"; break;
    case Columna::Estatal: s += cuotas ? ", cuota estatal" : (c.seccion == 13 ? ", parte estatal" : ", estatal"); break;
    case Columna::Autonomica:
        s += cuotas ? ", cuota autonómica" : (c.seccion == 13 ? ", parte autonómica" : ", autonómica");
        break;
    case Columna::Unica: break;
    }
    return s + " (casilla " + std::to_string(n) + ")";
}

const std::string &textoCasilla(int n)
{
    static const std::array<std::string, kNumCasillas> textos = [] {
        std::array<std::string, kNumCasillas> t;
        for (int i = 0; i < kNumCasillas; ++i)
            t[static_cast<std::size_t>(i)] = componeTextoCasilla(i);
        return t;
    }();
    return textos[static_cast<std::size_t>(n)];
}

// "Importe provisional de la casilla 5 (Rdto. Neto Reducido)": a value a box held on the way.
std::string provisional(int n)
{
    const std::string_view c = TablaCasillas()[static_cast<std::size_t>(n)].concepto;
    std::string s = "Importe provisional de la casilla " + std::to_string(n);
    return c.empty() ? s : s + " (" + std::string(c) + ")";
}

std::string_view textoOperacion(Operacion op)
{
    switch (op) {
    case Operacion::Suma: return "Suma";
    case Operacion::Resta: return "Diferencia";
    case Operacion::Producto: return "Producto";
    case Operacion::Cociente: return "Cociente";
    case Operacion::Minimo: return "El menor de";
    case Operacion::Maximo: return "El mayor de";
    case Operacion::Redondea: return "Redondeo al céntimo";
    case Operacion::Suelo0: return "Sin bajar de cero";
    case Operacion::Si: return "Condición";
    case Operacion::Hoja: return "Importe";
    }
    return "";
}

// The recorded graph of one traced run turned into the public one: box assignments
// resolved (a box's final value is its node, an earlier value an ordinary step), chains of
// sums and differences flattened, zero terms that say nothing dropped.
class Conversor {
public:
    // Each node of the run remembers its public node: a run is converted once.
    Conversor(const CajasTraza &cajas, Explicacion &e) : m_cajas(cajas), m_e(e) { m_e.nodos.reserve(512); }

    int casilla(int n)
    {
        int &idx = m_e.casillas[static_cast<std::size_t>(n)];
        if (idx >= 0)
            return idx;
        const Traza &t = m_cajas[n];
        NodoExplicacion b;
        b.valor = t.valor();
        b.casilla = n;
        b.texto = textoCasilla(n);
        const Nodo *a = t.nodo().get();  // the final assignment
        int previa = n;
        const Nodo *x = a->hijos.empty() ? nullptr : resuelve(a->hijos[0].get(), previa);
        if (!x || (x->corrida != nullptr && !esFinal(x))) {
            // A value nobody computed: the zero every run starts from.
            if (b.valor.isZero())
                b.texto += EsEntrada(n) ? ": sin importe tecleado en la hoja" : ": sin importe en esta liquidación";
        } else if (x->corrida != nullptr) {
            b.op = Operacion::Suma;  // another box's value, as it is
            b.hijos = {casilla(x->casilla)};
        } else if (x->op == Operacion::Hoja) {
            // A leaf: the box says where its value comes from in the same line.
            if (x->tecleada == n)
                b.texto += ": importe tecleado en la hoja";
            else if (x->nombrado())
                b.texto += ": " + traza::Palabras(*x);
        } else if (sinNombre(x) && x->op != Operacion::Si) {
            b.hijos = hijos(*x, TablaCasillas()[static_cast<std::size_t>(n)].concepto);
            b.op = b.hijos.empty() ? Operacion::Hoja : x->op;
            if (b.op == Operacion::Suma && b.hijos.size() == 1) {
                // A sum of one leaf: the box says where its value comes from in the same line.
                const NodoExplicacion &h = m_e[b.hijos[0]];
                if (h.op == Operacion::Hoja && h.casilla < 0 && h.medida == Medida::Importe && h.valor == b.valor) {
                    b.texto += ": " + h.texto;
                    b.op = Operacion::Hoja;
                    b.hijos.clear();
                }
            }
        } else {
            b.op = Operacion::Suma;
            b.hijos = {convierte(x, previa)};
        }
        return idx = anade(std::move(b));
    }

private:
    bool esFinal(const Nodo *n) const
    {
        return n->corrida == &m_cajas && m_cajas[n->casilla].nodo().get() == n;
    }

    // What a node stands for: an earlier value of a box is the value it was given.
    // `casilla` keeps the last such box, to word an unnamed step by it.
    const Nodo *resuelve(const Nodo *n, int &casilla) const
    {
        while (n->corrida != nullptr && !esFinal(n) && !n->hijos.empty()) {
            casilla = n->casilla;
            n = n->hijos[0].get();
        }
        return n;
    }

    int anade(NodoExplicacion n)
    {
        m_e.nodos.push_back(std::move(n));
        return static_cast<int>(m_e.nodos.size()) - 1;
    }

    bool sinNombre(const Nodo *n) const { return n->corrida == nullptr && !n->nombrado(); }

    // A term of a sum or difference that adds nothing and says nothing: a zero that is not
    // a box nor a branch taken (whose condition says why something is zero).
    bool vacio(int i) const
    {
        const NodoExplicacion &n = m_e[i];
        return n.casilla < 0 && n.op != Operacion::Si && n.valor.isZero() && n.medida == Medida::Importe;
    }

    // The zero a box held before anything was added to it.
    bool inicial(const Nodo *n) const { return n->corrida != nullptr && !esFinal(n) && n->hijos.empty() && n->valor.isZero(); }

    void sumandos(const Nodo *n, std::vector<int> &out)
    {
        for (const PNodo &h : n->hijos) {
            int previa = -1;
            const Nodo *r = resuelve(h.get(), previa);
            if (inicial(r))
                continue;
            if (r->op == Operacion::Suma && sinNombre(r))
                sumandos(r, out);
            else
                out.push_back(convierte(r, previa));
        }
    }

    void terminos(const Nodo *n, std::vector<int> &out)
    {
        for (std::size_t i = 0; i < n->hijos.size(); ++i) {
            int previa = -1;
            const Nodo *r = resuelve(n->hijos[i].get(), previa);
            if (i > 0 && inicial(r))
                continue;
            if (i == 0 && r->op == Operacion::Resta && sinNombre(r))
                terminos(r, out);
            else
                out.push_back(convierte(r, previa));
        }
    }

    // The terms of a limit: a limit of a limit nobody named is one list, "the smallest of
    // the contributions, 8.000 € and 30 % of the income" rather than a limit inside a limit.
    void limites(const Nodo *n, std::vector<int> &out)
    {
        for (const PNodo &h : n->hijos) {
            int previa = -1;
            const Nodo *r = resuelve(h.get(), previa);
            if (r->op == n->op && sinNombre(r) && previa < 0)
                limites(r, out);
            else
                out.push_back(convierte(r, previa));
        }
    }

    // `palabras`: what the node is, to word an unnamed step under a rounding or a floor.
    std::vector<int> hijos(const Nodo &n, std::string_view palabras = {})
    {
        std::vector<int> v;
        v.reserve(n.hijos.size());
        if (n.op == Operacion::Minimo || n.op == Operacion::Maximo) {
            limites(&n, v);
        } else if (n.op == Operacion::Suma) {
            sumandos(&n, v);
            quitaVacios(v, 0);
        } else if (n.op == Operacion::Resta) {
            terminos(&n, v);
            quitaVacios(v, 1);
        } else {
            const bool ajuste = (n.op == Operacion::Redondea || n.op == Operacion::Suelo0) && n.hijos.size() == 1;
            for (const PNodo &h : n.hijos) {
                int previa = -1;
                const Nodo *r = resuelve(h.get(), previa);
                if (ajuste && !palabras.empty() && previa < 0 && sinNombre(r) && r->op != Operacion::Hoja &&
                    r->op != Operacion::Si && r->publico < 0)
                    v.push_back(convierte(r, previa,
                                          std::string(palabras) + (n.op == Operacion::Redondea ? ", antes de redondear"
                                                                                               : ", antes de limitar a cero")));
                else
                    v.push_back(convierte(r, previa));
            }
        }
        return v;
    }

    // Zero terms from position `desde` on go; a sum of nothing but zeros keeps them, as they
    // say why it is zero.
    void quitaVacios(std::vector<int> &v, std::size_t desde)
    {
        if (desde >= v.size())
            return;
        auto fin = std::remove_if(v.begin() + static_cast<std::ptrdiff_t>(desde), v.end(), [this](int i) { return vacio(i); });
        if (desde > 0 || fin != v.begin())
            v.erase(fin, v.end());
    }

    // `paso`: the words of an unnamed step under a rounding or a floor (see hijos).
    int convierte(const Nodo *n, int casillaPrevia, std::string paso = {})
    {
        if (n->corrida != nullptr) {
            if (esFinal(n))
                return casilla(n->casilla);
            // An earlier value of a box given as a constant (the zero every run starts from).
            if (n->publico >= 0)
                return n->publico;
            NodoExplicacion h;
            h.valor = n->valor;
            h.texto = provisional(n->casilla);
            return n->publico = anade(std::move(h));
        }
        if (n->publico >= 0)
            return n->publico;
        NodoExplicacion x;
        x.valor = n->valor;
        x.op = n->op;
        x.medida = n->medida;
        x.factor = n->factor;
        if (n->nombrado())
            x.texto = traza::Palabras(*n);
        if (x.texto.empty() && !paso.empty()) {
            x.texto = std::move(paso);
            x.paso = true;
        }
        if (x.texto.empty()) {
            if (n->op != Operacion::Hoja && casillaPrevia >= 0)
                x.texto = provisional(casillaPrevia);
            else if (n->op != Operacion::Hoja)
                x.texto = std::string(textoOperacion(n->op));
            else if (n->medida == Medida::Importe)
                x.texto = "Importe de " + FormatoImporte(n->valor);
            else
                x.texto = "Factor";
        }
        if (n->op != Operacion::Hoja) {
            x.hijos = hijos(*n, n->nombrado() ? std::string_view(x.texto) : std::string_view());
            if (x.hijos.empty())  // a sum of a box's starting zero alone
                x.op = Operacion::Hoja;
            if ((n->op == Operacion::Suma || n->op == Operacion::Resta) && x.hijos.size() == 1) {
                const NodoExplicacion &h = m_e[x.hijos[0]];
                // A sum or difference of one term that nobody named is that term...
                if (!n->nombrado() && h.valor == n->valor)
                    return n->publico = x.hijos[0];
                // ...and a name given to a step nobody else named names the step.
                if (n->op == Operacion::Suma && h.casilla < 0 && h.op != Operacion::Hoja && h.op != Operacion::Si &&
                    h.valor == n->valor && (h.texto == textoOperacion(h.op) || h.texto.rfind("Importe provisional", 0) == 0)) {
                    x.op = h.op;
                    std::vector<int> nietos = h.hijos;
                    x.hijos = std::move(nietos);
                }
            }
        }
        return n->publico = anade(std::move(x));
    }

    const CajasTraza &m_cajas;
    Explicacion &m_e;
};

// Runs the traced liquidation and converts the boxes `pide` asks for. Recalcular first: a
// declaration that does not liquidate does not explain, and fails with its words.
template <class Pide>
Explicacion explica(const Declaracion &d, Modalidad modalidad, Pide &&pide)
{
    Explicacion e;
    e.modalidad = modalidad;
    const Calculo c = Recalcular(d, modalidad);
    if (!c.ok) {
        e.ok = false;
        e.casillaError = c.casilla;
        e.mensaje = c.mensaje;
        return e;
    }
    try {
        CajasTraza cajas;
        LiquidarT<Traza>(d, modalidad, cajas, DeduccionDiscapacitadosT<Traza>(d, modalidad));
        Conversor conv(cajas, e);
        pide(conv, e);
    } catch (const ErrorImporte &) {
        // The traced run computes what Recalcular did; only the words of an amount at the
        // very edge of the range could still overflow.
        e = Explicacion();
        e.modalidad = modalidad;
        e.ok = false;
        e.mensaje = kMensajeFueraDeRango;
    }
    return e;
}

}  // namespace

Explicacion Explica(const Declaracion &d, Modalidad modalidad, int casilla)
{
    if (casilla < 0 || casilla >= kNumCasillas) {
        Explicacion e;
        e.modalidad = modalidad;
        e.ok = false;
        e.mensaje = "No existe la casilla " + std::to_string(casilla) + ": las casillas van de la 0 a la 108.";
        return e;
    }
    return explica(d, modalidad, [casilla](Conversor &conv, Explicacion &e) { e.raiz = conv.casilla(casilla); });
}

Explicacion ExplicaLiquidacion(const Declaracion &d, Modalidad modalidad)
{
    return explica(d, modalidad, [](Conversor &conv, Explicacion &e) {
        for (int n = 0; n < kNumCasillas; ++n)
            conv.casilla(n);
        e.raiz = e.casillas[106];
    });
}

std::string_view NombreOperacion(Operacion op)
{
    switch (op) {
    case Operacion::Suma: return "+";
    case Operacion::Resta: return "-";
    case Operacion::Producto: return "*";
    case Operacion::Cociente: return "/";
    case Operacion::Minimo: return "min";
    case Operacion::Maximo: return "max";
    case Operacion::Redondea: return "redondea";
    case Operacion::Suelo0: return "suelo0";
    case Operacion::Si: return "si";
    case Operacion::Hoja: return "";
    }
    return "";
}

// ---- text

std::string CifraNodo(const NodoExplicacion &n, MonedaExplicacion moneda)
{
    switch (n.medida) {
    case Medida::Porcentaje: return Porcentaje(n.factor);
    case Medida::Numero: return Numero(n.factor);
    case Medida::Importe: break;
    }
    if (moneda == MonedaExplicacion::Pesetas) {
        const std::string p = TextoPesetas(n.valor);
        return p.empty() ? "0" : p;
    }
    return FormatoImporte(n.valor);
}

std::string_view SignoHijo(Operacion padre, std::size_t i)
{
    switch (padre) {
    case Operacion::Suma: return "+ ";
    case Operacion::Resta: return i == 0 ? "  " : "− ";
    case Operacion::Producto: return i == 0 ? "  " : "× ";
    case Operacion::Cociente: return i == 0 ? "  " : "÷ ";
    default: return "  ";
    }
}

std::string ConceptoNodo(const NodoExplicacion &n)
{
    std::string_view cola;
    if (n.texto == textoOperacion(n.op)) {
        cola = n.op == Operacion::Hoja ? "" : ":";
    } else {
        switch (n.op) {
        case Operacion::Minimo: cola = ", el menor de:"; break;
        case Operacion::Maximo: cola = ", el mayor de:"; break;
        case Operacion::Redondea: cola = ", redondeado al céntimo:"; break;
        case Operacion::Suelo0: cola = ", sin bajar de cero:"; break;
        case Operacion::Si: cola = ":"; break;
        default: break;
        }
    }
    return n.texto + std::string(cola);
}

LecturaExplicacion::LecturaExplicacion(const Explicacion &e) : m_e(e), m_nada(e.nodos.size(), -1) {}

const NodoExplicacion *LecturaExplicacion::terminos(int nodo)
{
    const NodoExplicacion &n = m_e[nodo];
    if (n.hijos.empty() || nada(nodo))
        return nullptr;
    if (n.hijos.size() == 1 && (n.op == Operacion::Redondea || n.op == Operacion::Suelo0 || n.op == Operacion::Si)) {
        const NodoExplicacion &h = m_e[n.hijos[0]];
        if (h.casilla < 0 && (h.paso || h.texto == textoOperacion(h.op)) &&
            (h.op == Operacion::Suma || h.op == Operacion::Resta || h.op == Operacion::Producto || h.op == Operacion::Cociente))
            return &h;
    }
    return &n;
}

bool LecturaExplicacion::nada(int nodo)
{
    // Memoised: a box's node is shared, and an all-zero sub-graph walked afresh at every use
    // would cost as much as its full expansion.
    signed char &m = m_nada[static_cast<std::size_t>(nodo)];
    if (m < 0) {
        const NodoExplicacion &n = m_e[nodo];
        bool cero = n.medida != Medida::Importe || (n.valor.isZero() && n.op != Operacion::Si);
        for (std::size_t k = 0; cero && k < n.hijos.size(); ++k)
            cero = nada(n.hijos[k]);
        m = cero ? 1 : 0;
    }
    return m == 1;
}

namespace {

// Amounts stand in one column after the longest concept, up to this width; a longer
// concept pushes its own amount further.
constexpr std::size_t kAnchoMaximo = 100;

class Escritor {
public:
    Escritor(const Explicacion &e, MonedaExplicacion moneda)
        : m_e(e), m_moneda(moneda), m_lectura(e), m_vista(e.nodos.size(), false)
    {
    }

    void escribe(int i, std::size_t nivel, std::string_view prefijo)
    {
        const NodoExplicacion &n = m_e[i];
        const bool repetida = n.casilla >= 0 && !n.hijos.empty() && m_vista[static_cast<std::size_t>(i)];
        std::string linea(2 * nivel, ' ');
        linea += prefijo;
        linea += repetida ? n.texto + " (detallada arriba)" : ConceptoNodo(n);
        m_lineas.push_back({std::move(linea), CifraNodo(n, m_moneda)});
        const NodoExplicacion *terminos = repetida ? nullptr : m_lectura.terminos(i);
        if (!terminos)
            return;
        if (n.casilla >= 0)
            m_vista[static_cast<std::size_t>(i)] = true;
        for (std::size_t k = 0; k < terminos->hijos.size(); ++k)
            escribe(terminos->hijos[k], nivel + 1, SignoHijo(terminos->op, k));
    }

    std::string texto() const
    {
        std::size_t ancho = 0;
        for (const auto &l : m_lineas)
            ancho = std::max(ancho, std::min(Caracteres(l.first), kAnchoMaximo));
        std::size_t anchoCifra = 0;
        for (const auto &l : m_lineas)
            anchoCifra = std::max(anchoCifra, Caracteres(l.second));
        std::string out;
        for (const auto &l : m_lineas) {
            out += l.first;
            const std::size_t w = Caracteres(l.first);
            out.append((w < ancho ? ancho - w : 0) + 2 + anchoCifra - Caracteres(l.second), ' ');
            out += l.second;
            out += '\n';
        }
        return out;
    }

private:
    const Explicacion &m_e;
    MonedaExplicacion m_moneda;
    LecturaExplicacion m_lectura;
    std::vector<bool> m_vista;
    std::vector<std::pair<std::string, std::string>> m_lineas;  // concept, amount
};

void anadeFactor(std::string &out, double f)
{
    const Money m = std::isfinite(f) && std::fabs(f) < 1e14 ? Money::fromDouble(f) : Money();
    if (m.toDouble() == f) {
        AnadeTextoExacto(out, m);
        return;
    }
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.17g", f);
    out += buf;
}

// A box is written in full where it first appears; later it is its value, its number and
// "repetida": true, as the text's "(detallada arriba)".
void anadeJson(std::string &out, const Explicacion &e, int i, std::vector<bool> &vista)
{
    const NodoExplicacion &n = e[i];
    out += "{\"valor\":\"";
    if (n.medida == Medida::Importe)
        AnadeTextoExacto(out, n.valor);
    else
        anadeFactor(out, n.factor);
    out += "\",\"texto\":";
    AnadeJson(out, n.texto);
    if (n.casilla >= 0)
        out += ",\"casilla\":" + std::to_string(n.casilla);
    if (!n.hijos.empty()) {
        if (n.casilla >= 0 && vista[static_cast<std::size_t>(i)]) {
            out += ",\"repetida\":true}";
            return;
        }
        if (n.casilla >= 0)
            vista[static_cast<std::size_t>(i)] = true;
        out += ",\"op\":\"";
        out += NombreOperacion(n.op);
        out += "\",\"hijos\":[";
        for (std::size_t k = 0; k < n.hijos.size(); ++k) {
            if (k)
                out.push_back(',');
            anadeJson(out, e, n.hijos[k], vista);
        }
        out.push_back(']');
    }
    out.push_back('}');
}

}  // namespace

std::string TextoExplicacion(const Explicacion &e, int nodo, MonedaExplicacion moneda)
{
    Escritor w(e, moneda);
    w.escribe(nodo, 0, "");
    return w.texto();
}

void AnadeJsonExplicacion(std::string &out, const Explicacion &e, int nodo)
{
    std::vector<bool> vista(e.nodos.size(), false);
    anadeJson(out, e, nodo, vista);
}

}  // namespace simulador
