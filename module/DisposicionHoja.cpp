#include "DisposicionHoja.h"

#include "TablaCasillas.h"

#include <algorithm>
#include <stdexcept>

namespace simulador {

namespace {

// The sheet is laid out in bands. A band holds one section across the whole width, or two
// sections side by side (left, right), so that sixteen sections and 84 rows fit in 1000
// pixels while the sections still read in order, left before right, top to bottom.
constexpr int kMargen = 8;       // left and right margin
constexpr int kSeparacion = 7;   // between the two halves
constexpr int kMitad = (kAnchoHoja - 2 * kMargen - kSeparacion) / 2;  // 360
constexpr int kCompleto = kAnchoHoja - 2 * kMargen;                    // 727
constexpr int kIzquierda = kMargen;
constexpr int kDerecha = kMargen + kMitad + kSeparacion;
constexpr int kPaso = 16;        // row pitch
constexpr int kAlto = 15;        // height of a box, a caption or a header
constexpr int kAnchoCasilla = 94;
constexpr int kAnchoCasillaTres = 88;  // rows of three columns, so their caption still fits
constexpr int kHueco = 3;        // between boxes of one row
constexpr int kHuecoConcepto = 4;  // between a caption and its first box
constexpr int kEntreBandas = 2;
constexpr int kArriba = 4;
constexpr int kFueraDeHoja = kAnchoHoja + 10;  // boxes beyond the right edge start here

int anchoCasilla(int columnas) { return columnas >= 3 ? kAnchoCasillaTres : kAnchoCasilla; }

// Sheet pixels of the box in column `col` (0 = rightmost) of a block `ancho` wide at `x`
// whose rows hold `columnas` boxes.
int xColumna(int x, int ancho, int col, int columnas = 1)
{
    return x + ancho - (col + 1) * anchoCasilla(columnas) - col * kHueco;
}

class Constructor {
public:
    explicit Constructor(DisposicionHoja &h) : m_h(h) {}

    void cabecera(int seccion, int x, int ancho, int fila)
    {
        m_h.elementos.push_back({TipoElemento::Cabecera, seccion, CabeceraDeSeccion(seccion),
                                 std::string(TablaSecciones()[static_cast<std::size_t>(seccion - 1)].cabecera),
                                 {x, y(fila), ancho, kAlto}, true});
    }

    // A row of boxes, listed left to right, under the caption of the first box's row.
    void fila(int x, int ancho, int fila, std::initializer_list<int> casillas)
    {
        const int n = static_cast<int>(casillas.size());
        const CasillaDef &def = TablaCasillas()[static_cast<std::size_t>(*casillas.begin())];
        const int primera = xColumna(x, ancho, n - 1, n);
        m_h.elementos.push_back({TipoElemento::Concepto, def.seccion, -1, std::string(def.concepto),
                                 {x, y(fila), primera - kHuecoConcepto - x, kAlto}, true});
        int col = n - 1;
        for (int c : casillas)
            casilla(c, {xColumna(x, ancho, col--, n), y(fila), anchoCasilla(n), kAlto});
    }

    // A column heading over columns `colIzquierda` to `colDerecha` (counted from the right)
    // of a block whose rows hold `columnas` boxes.
    // A heading of one word is centred over its column; one of several, right-aligned, may
    // reach left over the caption column (`desdeBloque`) when it is longer than its columns.
    void encabezado(int seccion, int x, int ancho, int fila, int columnas, int colIzquierda, int colDerecha,
                    const char *texto, bool desdeBloque = false)
    {
        const int izq = desdeBloque ? x : xColumna(x, ancho, colIzquierda, columnas);
        const int der = xColumna(x, ancho, colDerecha, columnas) + anchoCasilla(columnas);
        const Alineacion a = colIzquierda == colDerecha ? Alineacion::Centro : Alineacion::Derecha;
        m_h.elementos.push_back(
            {TipoElemento::Encabezado, seccion, -1, texto, {izq, y(fila), der - izq, kAlto}, true, a});
    }

    // A box nobody sees: on the sheet but hidden, or beyond its right edge.
    void oculta(int c, int x, int fila) { casilla(c, {x, y(fila), kAnchoCasilla, kAlto}); }

    void siguienteBanda(int filas) { m_base += filas * kPaso + kEntreBandas; }

    void casilla(int c, Rectangulo r) { m_cajas[static_cast<std::size_t>(c)] = r; }

    void termina()
    {
        for (int c = 0; c < 109; ++c) {
            const CasillaDef &def = TablaCasillas()[static_cast<std::size_t>(c)];
            const Rectangulo &r = m_cajas[static_cast<std::size_t>(c)];
            if (r.ancho == 0)
                throw std::logic_error("Casilla sin posición en la hoja: " + std::to_string(c));
            m_h.elementos.push_back({TipoElemento::Casilla, def.seccion, c, {}, r, def.visible && def.enHoja});
        }
    }

private:
    int y(int fila) const { return m_base + fila * kPaso; }

    DisposicionHoja &m_h;
    int m_base = kArriba;
    Rectangulo m_cajas[109] = {};
};

DisposicionHoja construye()
{
    DisposicionHoja h;
    Constructor b(h);
    const int I = kIzquierda, D = kDerecha, M = kMitad;

    // Employment | real estate.
    b.cabecera(1, I, M, 0);
    b.cabecera(2, D, M, 0);
    for (int i = 0; i < 6; ++i) {
        b.fila(I, M, i + 1, {i});
        b.fila(D, M, i + 1, {6 + i});
    }
    b.siguienteBanda(7);

    // Movable capital | activities (the general reduction and the entrepreneurs' one before the total).
    b.cabecera(3, I, M, 0);
    b.cabecera(4, D, M, 0);
    for (int i = 0; i < 4; ++i)
        b.fila(I, M, i + 1, {12 + i});
    {
        int f = 1;
        for (int c : {16, 17, 19, 18, 108, 20})
            b.fila(D, M, f++, {c});
    }
    b.siguienteBanda(7);

    // Special regimes | gains of the general part.
    b.cabecera(5, I, M, 0);
    b.cabecera(6, D, M, 0);
    for (int i = 0; i < 4; ++i)
        b.fila(I, M, i + 1, {21 + i});
    b.fila(D, M, 1, {25});
    b.fila(D, M, 2, {96});
    b.fila(D, M, 3, {27});
    b.siguienteBanda(5);

    // Reductions of the base | personal and family minimum (state, regional).
    b.cabecera(7, I, M, 0);
    for (int i = 0; i < 7; ++i)
        b.fila(I, M, i + 1, {28 + i});
    b.cabecera(8, D, M, 0);
    b.encabezado(8, D, M, 1, 2, 1, 0, "Cuota Estatal       Cuota Autónomica");
    for (int i = 0; i < 5; ++i)
        b.fila(D, M, i + 2, {35 + i, 46 + i});
    b.oculta(51, kFueraDeHoja, 2);
    b.oculta(52, kFueraDeHoja, 3);
    b.siguienteBanda(8);

    // General quota (base, state, regional) | savings base.
    b.cabecera(9, I, M, 0);
    b.encabezado(9, I, M, 1, 3, 1, 0, "Cuota Estatal       Cuota Autónomica");
    b.fila(I, M, 2, {40, 41, 42});
    b.fila(I, M, 3, {43, 44, 45});
    b.oculta(59, xColumna(I, M, 0), 5);
    b.oculta(55, kFueraDeHoja, 2);
    b.oculta(64, kFueraDeHoja, 3);
    b.oculta(68, kFueraDeHoja, 4);
    b.cabecera(10, D, M, 0);
    {
        int f = 1;
        for (int c : {56, 57, 26, 65, 58, 60, 92, 53, 54, 61})
            b.fila(D, M, f++, {c});
    }
    b.siguienteBanda(11);

    // Savings quota | whole quota (state, regional).
    b.cabecera(11, I, M, 0);
    b.fila(I, M, 1, {62});
    b.encabezado(11, I, M, 2, 3, 2, 0, "  BASE AHORRO          Cuota Estatal    Cuota Autónomica", true);
    b.fila(I, M, 3, {63, 66, 67});
    b.oculta(93, xColumna(I, M, 1), 4);
    b.oculta(107, xColumna(I, M, 0), 4);
    b.cabecera(12, D, M, 0);
    b.encabezado(12, D, M, 1, 2, 1, 0, "ESTATAL        AUTONÓMICA");
    b.fila(D, M, 2, {69, 70});
    b.fila(D, M, 3, {71, 72});
    b.fila(D, M, 4, {73, 74});
    b.siguienteBanda(5);

    // General deductions: two pairs of columns across the whole width.
    b.cabecera(13, I, kCompleto, 0);
    for (int x : {I, D}) {
        b.encabezado(13, x, M, 1, 2, 1, 1, "Parte Estatal");
        b.encabezado(13, x, M, 1, 2, 0, 0, "P. Autonómica");
    }
    b.fila(I, M, 2, {75, 76});
    b.fila(D, M, 2, {77, 78});
    b.fila(I, M, 3, {79, 80});
    b.fila(D, M, 3, {81, 82});
    b.fila(I, M, 4, {85, 86});
    b.oculta(83, xColumna(D, M, 1), 4);
    b.siguienteBanda(5);

    // Regional deductions | liquid quota and result of the self-assessment.
    b.cabecera(14, I, M, 0);
    b.fila(I, M, 1, {87});
    b.cabecera(15, D, M, 0);
    {
        int f = 1;
        for (int c : {88, 89, 95, 97})
            b.fila(D, M, f++, {c});
    }
    b.siguienteBanda(5);

    // Withholdings on the left; differential quota, family deductions and the result on the right.
    b.cabecera(16, I, kCompleto, 0);
    {
        int f = 1;
        for (int c : {98, 99, 100, 102, 103, 104, 105})
            b.fila(I, M, f++, {c});
        f = 1;
        for (int c : {90, 91, 94, 101, 84, 106})
            b.fila(D, M, f++, {c});
    }
    b.termina();
    return h;
}

}  // namespace

const ElementoHoja &DisposicionHoja::casilla(int numero) const
{
    // Boxes are the last 109 elements, in number order.
    return elementos[elementos.size() - 109 + static_cast<std::size_t>(numero)];
}

bool DisposicionHoja::enHoja(int numero) const { return casilla(numero).r.x < ancho; }

const DisposicionHoja &Disposicion()
{
    static const DisposicionHoja h = construye();
    return h;
}

int CabeceraDeSeccion(int seccion)
{
    switch (seccion) {
    case 1: return 0;
    case 2: return 1;
    case 3: return 2;
    case 4: return 3;
    case 5: return 4;
    case 6: return 5;
    case 7: return 7;
    case 8: return 6;
    case 10: return 8;
    case 11: return 35;
    case 13: return 9;
    case 14: return 10;
    default: return -1;
    }
}

Desplazamiento ParametrosDesplazamiento(int altoHoja, int altoVentana)
{
    const int h = std::max(0, altoHoja - altoVentana) * kTwipsPorPixel;
    const auto aPixeles = [](int twips) { return (twips + kTwipsPorPixel / 2) / kTwipsPorPixel; };
    return {h / kTwipsPorPixel, aPixeles(h / 5), aPixeles((h + 30) / 20)};
}

int DesplazaHastaVer(int valor, const Desplazamiento &d, int top, int alto, int altoVentana)
{
    for (;;) {
        const int abajoTwips = (top - valor + alto) * kTwipsPorPixel;
        int nuevo = valor;
        if (abajoTwips < 250)
            nuevo = valor - d.pequeno < 1 ? 0 : valor - d.pequeno;
        else if (abajoTwips + 100 > altoVentana * kTwipsPorPixel)
            nuevo = std::min(valor + d.pequeno, d.maximo);
        if (nuevo == valor)
            return valor;
        valor = nuevo;
    }
}

}  // namespace simulador
