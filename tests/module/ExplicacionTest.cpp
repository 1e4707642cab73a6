// The explanation of a box: its arithmetic checked node by node over thousands of
// generated households in every mode, and one tree read back as text, worked by hand.
#include "Explicacion.h"

#include "ImprimeMoney.h"
#include "Liquidar.h"
#include "TablaCasillas.h"
#include "TextoImporte.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

using namespace simulador;

namespace {

// A small deterministic generator (splitmix64): the same households on every platform.
class Azar {
public:
    explicit Azar(std::uint64_t semilla) : m_s(semilla) {}
    std::uint64_t siguiente()
    {
        std::uint64_t z = (m_s += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    int entre(int a, int b) { return a + static_cast<int>(siguiente() % static_cast<std::uint64_t>(b - a + 1)); }
    bool si(int porcentaje) { return entre(0, 99) < porcentaje; }
    template <class T, std::size_t N>
    const T &de(const T (&v)[N])
    {
        return v[static_cast<std::size_t>(entre(0, static_cast<int>(N) - 1))];
    }
    // Euros and cents up to `hasta`, zero `ceros` % of the time.
    Money importe(int hasta, int ceros = 30)
    {
        return si(ceros) ? Money() : Money::fromUnits(static_cast<std::int64_t>(entre(0, hasta)) * 10000 + entre(0, 99) * 100);
    }
    std::string fecha(int desde, int hasta)
    {
        char b[16];
        std::snprintf(b, sizeof b, "%02d-%02d-%04d", entre(1, 28), entre(1, 12), entre(desde, hasta));
        return b;
    }

private:
    std::uint64_t m_s;
};

const char *const kSiNo[] = {"Sí", "No", "No", ""};
const char *const kTitulares[] = {"D", "C", "A", "A"};

void miembro(Azar &a, MiembroFam &m, int desde, int hasta)
{
    static const int kMinusvalias[] = {0, 0, 0, 0, 20, 33, 40, 64, 65, 80};
    static const char *const kPerceptores[] = {"", "", "D", "C"};
    m.AnoNac = static_cast<std::int16_t>(a.entre(desde, hasta));
    m.Edad = static_cast<std::int16_t>(kEjercicio - m.AnoNac);
    m.Minusvalia = static_cast<std::uint8_t>(a.de(kMinusvalias));
    m.Perceptor = a.de(kPerceptores);
    m.Fallecido = a.si(5) ? "Sí" : "No";
    m.Ayuda = a.de(kSiNo);
    m.Convivencia = static_cast<std::uint8_t>(a.si(80) ? 0 : a.entre(1, 3));
    m.Abono = a.si(20) ? "Sí" : "No";
}

// Every region, couples, children, ascendants, disabilities, every list, gains across the
// 400,000 limit, typed boxes; incomes around the thresholds of the reductions.
Declaracion genera(Azar &a)
{
    static const char *const kRegiones[] = {"00", "01", "02", "03", "04", "05", "06", "07", "08", "09",
                                            "10", "11", "12", "13", "16", "17", "14", ""};
    Declaracion d;
    d.Autonomia = a.de(kRegiones);
    d.TramoVivienda = static_cast<std::int16_t>(a.entre(0, 1));
    miembro(a, d.Miembros[0], 1930, 2003);
    const bool conyuge = a.si(65);
    if (conyuge)
        miembro(a, d.Miembros[1], 1930, 2003);
    for (int k = 2, n = a.entre(0, 6); k < 2 + n; ++k)
        miembro(a, d.Miembros[k], 1990, 2021);
    for (int k = 8, n = a.entre(0, 2); k < 8 + n; ++k)
        miembro(a, d.Miembros[k], 1915, 1965);

    for (int p = 1; p <= (conyuge ? 2 : 1); ++p) {
        DatosRenta &x = d.Rentas[p];
        const int escala = a.de({8000, 20000, 60000, 150000});
        x.TrabIngresos = a.importe(escala, 35);
        x.TrabGastos = a.importe(escala / 10);
        x.TrabRetencion = a.importe(escala / 5);
        x.TrabReduccion = a.importe(500, 85);
        x.TrabContribEmpresa = a.importe(3000, 80);
        x.TrabMovilidad = a.de(kSiNo);
        if (a.si(45)) {
            x.InmIngresos = a.importe(escala / 2);
            x.InmGastos = a.importe(escala / 6);
            x.InmIntereses = a.importe(escala / 3);
            x.InmRetencion = a.importe(2000);
            x.InmLocal = a.de(kSiNo);
            x.InmValorCat1 = a.importe(300000);
            x.InmRevisado1 = a.de(kSiNo);
            x.InmValorCat2 = a.importe(300000, 60);
            x.InmRevisado2 = a.de(kSiNo);
        }
        if (a.si(35)) {
            x.DirIngresos = a.importe(escala);
            x.DirGastos = a.importe(escala / 2);
            x.DirPagosFrac = a.importe(3000);
            x.DirRetencion = a.importe(3000);
            x.DirRedRdtoNeto = a.de(kSiNo);
            x.DirRedEmprendedores = a.de(kSiNo);
        }
        if (a.si(20)) {
            x.ModRdtoNeto = a.importe(30000);
            x.ModGastosExtra = a.importe(2000);
            x.ModPagosFrac = a.importe(1000);
            x.ModRetencion = a.importe(1000);
        }
        if (a.si(20)) {
            x.AgrRdtoNeto = a.importe(30000);
            x.AgrGastosExtra = a.importe(2000);
            x.AgrPagosFrac = a.importe(1000);
            x.AgrRetencion = a.importe(1000);
        }
        x.RedPlanPension = a.importe(12000, 60);
        x.RedAnualidades = a.importe(escala / 2, 85);
        x.RedAnualidadHijos = a.importe(escala / 2, 85);
    }
    RehaceTotales(d);

    for (int i = 0, n = a.entre(0, 8); i < n; ++i) {
        static const char *const kClases[] = {"I", "D", "T", "O", "A", "P", "C", "X"};
        d.ListaMobiliario.push_back({a.de(kClases), a.de(kTitulares), a.importe(20000), a.importe(3000),
                                     a.importe(1000), a.importe(1000, 70)});
    }
    for (int i = 0, n = a.entre(0, 6); i < n; ++i) {
        static const char *const kClases[] = {"I", "O", "A", "Z"};
        DatosGanancia g;
        g.Clase = a.de(kClases);
        g.Titular = a.de(kTitulares);
        g.FechaAdquisicion = a.si(10) ? "" : a.fecha(1975, 2021);
        g.FechaTransmision = a.si(5) ? "" : a.fecha(1994, 2021);
        g.ValorAdquisicion = a.importe(300000, 5);
        g.ValorTransmision = a.importe(700000, 5);  // several of these pass 400,000 per person
        g.ValorPatrimonio = a.importe(500000, 50);
        g.Reinversion = a.importe(400000, 80);
        g.Retencion = a.importe(2000, 70);
        if (a.si(15)) {
            g.ImporteGeneral = a.importe(20000) - a.importe(20000);
            g.ImporteAhorro = a.importe(20000) - a.importe(20000);
        }
        d.ListaGanancias.push_back(g);
    }
    for (int i = 0, n = a.entre(0, 14); i < n; ++i) {
        static const char *const kClases[] = {"A", "B", "C", "D", "E", "F", "G", "H"};
        DatosDeduccion x;
        x.Clase = a.de(kClases);
        x.Titular = a.si(5) ? "" : a.de(kTitulares);
        x.FechaAdquisicion = a.si(30) ? "" : a.fecha(1990, 2021);
        x.Importe = a.importe(15000, 5);
        x.PorcMinusvalia = a.si(15) ? Money::euros(a.entre(1, 100)) : Money();
        x.PorcDeduccion = a.si(40) ? Money::euros(a.de({1, 5, 10, 20})) : Money();
        d.ListaDeducciones.push_back(x);
    }
    for (int n : kOrdenEntradas)
        if (a.si(12))
            d.Casillas[static_cast<std::size_t>(n)].Texto = FormatoImporte(a.importe(4000, 0));
    return d;
}

// Checks one node's arithmetic; returns what is wrong, empty when it adds up.
std::string compruebaNodo(const Explicacion &e, const NodoExplicacion &n, const Resultado &r)
{
    if (n.texto.empty())
        return "node without text";
    if (n.casilla >= 0 && (n.valor != r[static_cast<std::size_t>(n.casilla)] || e.casillas[static_cast<std::size_t>(n.casilla)] < 0 ||
                           &e[e.casillas[static_cast<std::size_t>(n.casilla)]] != &n))
        return "box node that is not the box";
    if (n.op == Operacion::Hoja)
        return n.hijos.empty() ? "" : "leaf with children";
    if (n.hijos.empty())
        return "operation without children";
    const auto hijo = [&](std::size_t k) -> const NodoExplicacion & { return e[n.hijos[k]]; };
    for (int h : n.hijos)
        if (h < 0 || static_cast<std::size_t>(h) >= e.nodos.size())
            return "child out of the graph";
    auto importes = [&] {
        for (int h : n.hijos)
            if (e[h].medida != Medida::Importe)
                return false;
        return n.medida == Medida::Importe;
    };
    switch (n.op) {
    case Operacion::Suma:
    case Operacion::Resta: {
        if (!importes())
            return "sum of a factor";
        Money s = hijo(0).valor;
        for (std::size_t k = 1; k < n.hijos.size(); ++k)
            s = n.op == Operacion::Suma ? s + hijo(k).valor : s - hijo(k).valor;
        return s == n.valor ? "" : "does not add up: " + TextoExacto(s);
    }
    case Operacion::Producto:
    case Operacion::Cociente: {
        long double x = hijo(0).numero();
        for (std::size_t k = 1; k < n.hijos.size(); ++k)
            x = n.op == Operacion::Producto ? x * hijo(k).numero() : x / hijo(k).numero();
        return std::fabs(static_cast<double>(x - n.numero())) <= 0.0001 ? "" : "off by more than 0.0001";
    }
    case Operacion::Minimo:
    case Operacion::Maximo: {
        if (!importes())
            return "limit of a factor";
        Money m = hijo(0).valor;
        for (std::size_t k = 1; k < n.hijos.size(); ++k)
            m = n.op == Operacion::Minimo ? min(m, hijo(k).valor) : max(m, hijo(k).valor);
        return m == n.valor ? "" : "wrong limit";
    }
    case Operacion::Redondea:
        return n.hijos.size() == 1 && Redondea(hijo(0).valor) == n.valor ? "" : "wrong rounding";
    case Operacion::Suelo0:
        return n.hijos.size() == 1 && max(hijo(0).valor, Money()) == n.valor ? "" : "wrong floor";
    case Operacion::Si:
        return n.hijos.size() == 1 && hijo(0).valor == n.valor ? "" : "branch of another value";
    case Operacion::Hoja: break;
    }
    return "";
}

}  // namespace

// Under AddressSanitizer every allocation of a traced run is recorded with its stack, ten
// times the cost: that build checks the memory of fewer households, the plain build checks
// the arithmetic of all of them.
#if defined(__SANITIZE_ADDRESS__)
#define EXPLICACION_HOGARES 400
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define EXPLICACION_HOGARES 400
#endif
#endif
#ifndef EXPLICACION_HOGARES
#define EXPLICACION_HOGARES 2000
#endif

TEST(Explicacion, EveryNodeOfEveryBoxAddsUpInEveryMode)
{
    constexpr int kHogares = EXPLICACION_HOGARES;
    Azar a(20210615);
    int conDeduccionConyuge = 0, conLimite400000 = 0, conRecorteDonativos = 0, conCompensacion = 0;
    for (int h = 0; h < kHogares; ++h) {
        const Declaracion d = genera(a);
        for (Modalidad m : kModalidades) {
            const Calculo c = Recalcular(d, m);
            const Explicacion e = ExplicaLiquidacion(d, m);
            ASSERT_TRUE(c.ok && e.ok) << "household " << h << ": " << c.mensaje;
            for (int n = 0; n < kNumCasillas; ++n) {
                ASSERT_GE(e.casillas[static_cast<std::size_t>(n)], 0) << "household " << h << " box " << n;
                ASSERT_EQ(e[e.casillas[static_cast<std::size_t>(n)]].casilla, n);
            }
            for (const NodoExplicacion &n : e.nodos) {
                const std::string fallo = compruebaNodo(e, n, c.resultado);
                ASSERT_EQ(fallo, "") << "household " << h << " mode " << NombreModalidad(m) << ": «" << n.texto
                                     << "» = " << TextoExacto(n.valor) << " (" << NombreOperacion(n.op) << ")";
                conLimite400000 += n.medida == Medida::Porcentaje && n.factor < 1.0 &&
                                   n.texto.find("límite de 400.000") != std::string::npos;
                conRecorteDonativos += n.op == Operacion::Si && n.texto.find("se recortan") != std::string::npos;
            }
            conDeduccionConyuge += c.resultado[94].positive();
            conCompensacion += c.resultado[65].positive();
        }
    }
    // The generator reaches the rules that are easiest to miss.
    EXPECT_GT(conDeduccionConyuge, 20);
    EXPECT_GT(conLimite400000, 20);
    EXPECT_GT(conRecorteDonativos, 20);
    EXPECT_GT(conCompensacion, 20);
}

TEST(Explicacion, SalaryOf14000ReadsAsWorkedByHand)
{
    // Declarant's individual liquidation, 14000 gross pay and 1000 expenses:
    //   previous net 14000 − 1000 = 13000, other expenses min(2000, 13000) = 2000;
    //   other income 0 ≤ 6500 and 13000 ≤ 13115: the full 5565 reduction;
    //   box 5 = 14000 − 1000 − 2000 − 0 − 5565 = 5435.
    Declaracion d;
    d.Miembros[0].AnoNac = 1980;
    d.Miembros[1].AnoNac = 1982;
    d.Rentas[1].TrabIngresos = M("14000");
    d.Rentas[1].TrabGastos = M("1000");
    RehaceTotales(d);
    const Explicacion e = Explica(d, Modalidad::Declarante, 5);
    ASSERT_TRUE(e.ok);
    EXPECT_EQ(TextoExplicacion(e, e.raiz),
              R"t(Rdto. Neto Reducido (casilla 5)                                                                        5.435,00
    Retribuciones dinerarias (casilla 0): Ingresos del declarante (Rdtos. del Trabajo)                14.000,00
  − Gastos deducibles (casilla 1): Gastos del declarante (Rdtos. del Trabajo)                          1.000,00
  − Otros gastos (casilla 2), el menor de:                                                             2.000,00
      Otros gastos deducibles de los rendimientos del trabajo: 2.000 € (art. 19.2.f) LIRPF)            2.000,00
      Rendimiento neto previo del trabajo                                                             13.000,00
        Ingresos del declarante (Rdtos. del Trabajo)                                                  14.000,00
      − Gastos deducibles (casilla 1): Gastos del declarante (Rdtos. del Trabajo)                      1.000,00
      − Resto reducciones (casilla 3): Red. Especial del declarante (Rdtos. del Trabajo)                   0,00
  − Resto reducciones (casilla 3): Red. Especial del declarante (Rdtos. del Trabajo)                       0,00
  − Reducción general (casilla 4)                                                                      5.565,00
    + Las otras rentas (0,00) no superan 6.500 € y el rendimiento neto previo (13.000,00) no supera 16.825 €:   5.565,00
        Reducción por obtención de rendimientos netos del trabajo: 5.565 € (art. 20 LIRPF)             5.565,00
)t");
    // In pesetas: 5435 × 166.386 = 904307.91 and 5565 × 166.386 = 925938.09.
    const std::string pesetas = TextoExplicacion(e, e.raiz, MonedaExplicacion::Pesetas);
    const std::string primera = pesetas.substr(0, pesetas.find('\n'));
    EXPECT_EQ(primera.substr(primera.size() - 8), " 904.308");
    EXPECT_NE(pesetas.find("925.938\n"), std::string::npos);

    std::string json;
    AnadeJsonExplicacion(json, e, e.casillas[2]);
    EXPECT_EQ(json, R"j({"valor":"2000.0000","texto":"Otros gastos (casilla 2)","casilla":2,"op":"min","hijos":[)j"
                    R"j({"valor":"2000.0000","texto":"Otros gastos deducibles de los rendimientos del trabajo: 2.000 € )j"
                    R"j((art. 19.2.f) LIRPF)"},{"valor":"13000.0000","texto":"Rendimiento neto previo del trabajo","op":"-",)j"
                    R"j("hijos":[{"valor":"14000.0000","texto":"Ingresos del declarante (Rdtos. del Trabajo)"},)j"
                    R"j({"valor":"1000.0000","texto":"Gastos deducibles (casilla 1): Gastos del declarante (Rdtos. del )j"
                    R"j(Trabajo)","casilla":1},{"valor":"0.0000","texto":"Resto reducciones (casilla 3): Red. Especial )j"
                    R"j(del declarante (Rdtos. del Trabajo)","casilla":3}]}]})j");

    // A limit of a limit reads as one list: 5000 contributed, the 8000 cap and 30 % of the
    // net pay 14000 − 1000 − 2000 = 11000, 3300; the smallest, 3300.
    d.Rentas[1].RedPlanPension = M("5000");
    RehaceTotales(d);
    const Explicacion plan = Explica(d, Modalidad::Declarante, 30);
    ASSERT_TRUE(plan.ok);
    const NodoExplicacion &limite = plan[plan[plan.raiz].hijos.at(0)];
    EXPECT_EQ(limite.op, Operacion::Minimo);
    ASSERT_EQ(limite.hijos.size(), 3u);
    EXPECT_EQ(plan[limite.hijos[0]].valor, M("5000"));
    EXPECT_EQ(plan[limite.hijos[1]].valor, M("8000"));
    EXPECT_EQ(plan[limite.hijos[2]].valor, M("3300"));

    // The disabled spouse's own liquidation gives no deduction for the spouse, and says why.
    d.Miembros[1].Minusvalia = 33;
    RehaceTotales(d);
    const Explicacion propia = Explica(d, Modalidad::Conyuge, 94);
    ASSERT_TRUE(propia.ok);
    EXPECT_NE(TextoExplicacion(propia, propia.raiz)
                  .find("Sin deducción: el cónyuge es quien presenta esta liquidación; el declarante no tiene una "
                        "discapacidad de al menos el 33 %"),
              std::string::npos);

    // A typed box that is not an amount explains nothing and says why, as the sheet would.
    d.Casillas[9].Texto = "12,3,4";
    const Explicacion mal = Explica(d, Modalidad::Declarante, 5);
    EXPECT_FALSE(mal.ok);
    EXPECT_EQ(mal.casillaError, 9);
    EXPECT_EQ(mal.mensaje, Recalcular(d, Modalidad::Declarante).mensaje);
    EXPECT_TRUE(mal.nodos.empty());
    EXPECT_FALSE(Explica(Declaracion(), Modalidad::Conjunta, 109).ok);
}

TEST(Explicacion, StepsNearTheTopReadInTaxWords)
{
    // Pay of 16000 with 1000 of expenses: a previous net of 15000 between 13115 and 16825,
    // so the employment reduction is lessened, 5565 − 1.5 × (15000 − 13115) = 2737.50; and
    // a bank account held by both spouses, 1001 of interest, half of it (500.50) in the
    // declarant's own liquidation. No step of these boxes, down to the grandchildren, may
    // read as a bare operation.
    Declaracion d;
    d.Miembros[0].AnoNac = 1980;
    d.Miembros[1].AnoNac = 1982;
    d.Rentas[1].TrabIngresos = M("16000");
    d.Rentas[1].TrabGastos = M("1000");
    d.ListaMobiliario.push_back({"I", "A", M("1001"), Money(), Money(), Money()});
    RehaceTotales(d);
    const std::vector<std::string> genericos = {"Suma", "Diferencia", "Producto", "Cociente", "El menor de",
                                                "El mayor de", "Redondeo al céntimo", "Sin bajar de cero"};
    for (const int casilla : {4, 5, 41, 58, 63}) {
        const Explicacion e = Explica(d, Modalidad::Declarante, casilla);
        ASSERT_TRUE(e.ok);
        std::vector<std::pair<int, int>> pendientes = {{e.raiz, 0}};
        while (!pendientes.empty()) {
            const auto [i, nivel] = pendientes.back();
            pendientes.pop_back();
            const NodoExplicacion &n = e[i];
            EXPECT_TRUE(std::find(genericos.begin(), genericos.end(), n.texto) == genericos.end() &&
                        n.texto.rfind("Importe de ", 0) != 0)
                << "casilla " << casilla << ": «" << n.texto << "» " << FormatoImporte(n.valor);
            if (nivel < 2)
                for (const int h : n.hijos)
                    pendientes.push_back({h, nivel + 1});
        }
    }
    const Explicacion e = Explica(d, Modalidad::Declarante, 4);
    EXPECT_EQ(e[e.raiz].valor, M("2737.50"));
    const Explicacion mobiliario = Explica(d, Modalidad::Declarante, 58);
    const std::string texto = TextoExplicacion(mobiliario, mobiliario.raiz);
    EXPECT_NE(texto.find("Elemento 1 de Capital Mobiliario (clase I, de ambos cónyuges)"), std::string::npos) << texto;
}
