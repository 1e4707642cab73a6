// The sheet's geometry and its peseta view. Peseta figures are worked out by hand at
// 166.386 pesetas to the euro; scroll steps from the twips of the original window.
#include "DisposicionHoja.h"
#include "Pesetas.h"
#include "TablaCasillas.h"
#include "TextoImporte.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

using namespace simulador;

TEST(Pesetas, WholePesetasWithTheTailRule)
{
    struct Caso {
        const char *euros, *pesetas;
    };
    // clang-format off
    for (const Caso &c : {
             Caso{"1", "166"}, Caso{"-1", "-166"}, Caso{"0", ""}, Caso{"1000000", "166.386.000"},
             Caso{"6.01", "1.000"},          // 999.98 rounds up
             Caso{"12.0142", "1.000"},       // 1998.9947 → 1.999 → tail rule
             Caso{"72.13", "12.000"},        // 12001.42 → 12.001 → tail rule
             Caso{"6.0042", "999"},          // 999.0148: three characters, no tail rule
             Caso{"1234.56", "205.414"},     // 205413.50016 rounds up
         })
        EXPECT_EQ(TextoPesetas(M(c.euros)), c.pesetas) << c.euros;
    // clang-format on
    EXPECT_EQ(PesetasDeTexto("1.234,56"), "205.414");
    EXPECT_EQ(PesetasDeTexto("-1,00"), "-166");
    EXPECT_EQ(PesetasDeTexto(""), "");
    EXPECT_EQ(PesetasDeTexto("  "), "  ");
    EXPECT_EQ(PesetasDeTexto("abc"), "abc");
}

namespace {

bool seSolapan(const Rectangulo &a, const Rectangulo &b)
{
    return a.x < b.derecha() && b.x < a.derecha() && a.y < b.abajo() && b.y < a.abajo();
}

}  // namespace

TEST(DisposicionHoja, EveryBoxOnceVisibleOnesInsideTheSheet)
{
    const DisposicionHoja &h = Disposicion();
    const std::set<int> ocultas = {51, 52, 55, 59, 64, 68, 83, 93, 107};
    for (int n = 0; n < 109; ++n) {
        const ElementoHoja &e = h.casilla(n);
        ASSERT_EQ(e.tipo, TipoElemento::Casilla);
        ASSERT_EQ(e.numero, n);
        EXPECT_EQ(e.visible, ocultas.count(n) == 0) << n;
    }
    for (int n : {51, 52, 55, 64, 68})
        EXPECT_FALSE(h.enHoja(n)) << n;
    std::vector<const ElementoHoja *> visibles;
    for (const ElementoHoja &e : h.elementos) {
        if (!e.visible)
            continue;
        EXPECT_GE(e.r.x, 0);
        EXPECT_GE(e.r.y, 0);
        EXPECT_LE(e.r.derecha(), kAnchoHoja) << e.texto << e.numero;
        EXPECT_LE(e.r.abajo(), kAltoHoja) << e.texto << e.numero;
        for (const ElementoHoja *o : visibles)
            EXPECT_FALSE(seSolapan(e.r, o->r)) << "«" << e.texto << "» " << e.numero << " / «" << o->texto << "» "
                                               << o->numero;
        visibles.push_back(&e);
    }
    // Hidden boxes on the sheet get free places too: the printout shows them when they hold text.
    for (int n : {59, 83, 93, 107})
        for (const ElementoHoja *o : visibles)
            EXPECT_FALSE(seSolapan(h.casilla(n).r, o->r)) << n;
}

TEST(DisposicionHoja, SectionsInReadingOrderWithTheirHeaders)
{
    std::vector<const ElementoHoja *> cabeceras;
    for (const ElementoHoja &e : Disposicion().elementos)
        if (e.tipo == TipoElemento::Cabecera)
            cabeceras.push_back(&e);
    ASSERT_EQ(cabeceras.size(), TablaSecciones().size());
    std::sort(cabeceras.begin(), cabeceras.end(),
              [](auto *a, auto *b) { return a->r.y != b->r.y ? a->r.y < b->r.y : a->r.x < b->r.x; });
    for (std::size_t i = 0; i < cabeceras.size(); ++i) {
        EXPECT_EQ(cabeceras[i]->seccion, static_cast<int>(i) + 1);
        EXPECT_EQ(cabeceras[i]->texto, TablaSecciones()[i].cabecera);
    }
}

TEST(DisposicionHoja, CaptionsLeftOfTheirBoxesColumnsInOrder)
{
    const DisposicionHoja &h = Disposicion();
    for (int n = 0; n < 109; ++n) {
        const ElementoHoja &c = h.casilla(n);
        if (!c.visible)
            continue;
        const CasillaDef &def = TablaCasillas()[static_cast<std::size_t>(n)];
        // The nearest caption to the left on the same row is the box's own.
        const ElementoHoja *concepto = nullptr;
        for (const ElementoHoja &e : h.elementos)
            if (e.tipo == TipoElemento::Concepto && e.r.y == c.r.y && e.r.derecha() <= c.r.x &&
                (!concepto || e.r.x > concepto->r.x))
                concepto = &e;
        ASSERT_NE(concepto, nullptr) << n;
        EXPECT_EQ(concepto->texto, def.concepto) << n;
        EXPECT_EQ(c.seccion, def.seccion) << n;
    }
    // Base left of state, state left of regional, on one row.
    for (auto [base, estatal, autonomica] : {std::tuple{40, 41, 42}, {43, 44, 45}, {63, 66, 67}}) {
        EXPECT_EQ(h.casilla(base).r.y, h.casilla(autonomica).r.y);
        EXPECT_LT(h.casilla(base).r.x, h.casilla(estatal).r.x);
        EXPECT_LT(h.casilla(estatal).r.x, h.casilla(autonomica).r.x);
    }
    for (auto [estatal, autonomica] : {std::pair{35, 46}, {39, 50}, {69, 70}, {73, 74}, {75, 76}, {85, 86}}) {
        EXPECT_EQ(h.casilla(estatal).r.y, h.casilla(autonomica).r.y);
        EXPECT_LT(h.casilla(estatal).r.x, h.casilla(autonomica).r.x);
    }
}

TEST(DisposicionHoja, ScrollStepsAndScrollingIntoView)
{
    // H = 1000 − 486 = 514 px = 7710 twips; large 7710 / 5 = 1542 twips (102.8 px),
    // small (7710 + 30) / 20 = 387 twips (25.8 px).
    const Desplazamiento d = ParametrosDesplazamiento(kAltoHoja, 486);
    EXPECT_EQ(d.maximo, 514);
    EXPECT_EQ(d.grande, 103);
    EXPECT_EQ(d.pequeno, 26);
    struct Caso {
        const char *nombre;
        int valor, top;
        int esperado;
    };
    // clang-format off
    for (const Caso &c : {
             // bottom 915 − v must be ≤ 486 − 100/15 = 479.33 → v ≥ 435.67 → 17 steps of 26 = 442
             Caso{"box low on the sheet", 0, 900, 442},
             // bottom 1005 − v would need v ≥ 525.67 > 514: stops at the end
             Caso{"box below the end", 0, 990, 514},
             // bottom 35 − v must be ≥ 250/15 = 16.67 → v ≤ 18.33: 514 − 19·26 = 20, then below 1 → 0
             Caso{"box at the top", 514, 20, 0},
             Caso{"box in view", 100, 300, 100},
         })
        EXPECT_EQ(DesplazaHastaVer(c.valor, d, c.top, 15, 486), c.esperado) << c.nombre;
    // clang-format on
}
