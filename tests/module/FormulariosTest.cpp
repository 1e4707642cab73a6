// The data-entry screens' rules on box texts: UnidadFam's checks and partial store, the
// income screens' sums and yes/no rules. Expected figures are worked out by hand.
#include "Formularios.h"

#include "ImprimeMoney.h"

#include <gtest/gtest.h>

#include <set>
#include <tuple>

using namespace simulador;

namespace {

// A household as a user types it: declarant 1970, spouse 1972, one child of 2010 whose
// minimum the spouse applies, Madrid.
CajasUnidadFam Hogar()
{
    CajasUnidadFam c{};
    c[0] = "1970";
    c[1] = "1972";
    c[2] = "2010";
    c[12] = "33";  // the child's disability
    c[20] = "Cónyuge";
    c[30] = "No";
    c[38] = "Sí";
    c[46] = "2";
    c[54] = "No";
    c[kCajaNombre] = "García López, Ana";
    c[kCajaAutonomia] = "Madrid";
    return c;
}

CajasRenta Vacias(PantallaRenta p) { return CajasRenta(static_cast<std::size_t>(Formulario(p).cajas)); }

}  // namespace

TEST(UnidadFam, EveryBoxIsDefinedOnce)
{
    std::set<int> cajas = {kCajaNombre, kCajaAutonomia};
    for (const ColumnaFamilia &c : ColumnasUnidadFam())
        for (int r = c.desde; r <= c.hasta; ++r)
            EXPECT_TRUE(cajas.insert(c.primeraCaja + r - c.desde).second) << c.titulo << " member " << r;
    EXPECT_EQ(cajas.size(), 64u);
    EXPECT_EQ(*cajas.rbegin(), 63);
    for (int caja : cajas)
        EXPECT_EQ(DefCampoUnidadFam(caja).ayuda, caja);
    EXPECT_THROW(DefCampoUnidadFam(64), std::out_of_range);
}

TEST(UnidadFam, SaveStoresTheHouseholdAndFillShowsItBack)
{
    Declaracion d;
    d.Miembros[2].Edad = 7;  // overwritten: the child has a year now
    const GuardadoUnidadFam g = GuardaUnidadFam(d, Hogar());
    ASSERT_TRUE(g.ok) << g.mensaje;
    EXPECT_EQ(g.almacenados, 10);
    // Ages in 2021: 2021 - 1970 = 51, 2021 - 1972 = 49, 2021 - 2010 = 11.
    EXPECT_EQ(d.Miembros[0].Edad, 51);
    EXPECT_EQ(d.Miembros[1].Edad, 49);
    const MiembroFam &hijo = d.Miembros[2];
    EXPECT_EQ(std::make_tuple(int(hijo.Edad), int(hijo.AnoNac), int(hijo.Minusvalia), hijo.Perceptor, hijo.Ayuda,
                              int(hijo.Convivencia)),
              std::make_tuple(11, 2010, 33, std::string("C"), std::string("Sí"), 2));
    EXPECT_EQ(d.Miembros[3].AnoNac, 0);
    EXPECT_EQ(d.Nombre, "García López, Ana");
    EXPECT_EQ(d.Autonomia, "12");

    CajasUnidadFam vuelta = LlenaUnidadFam(d);
    EXPECT_EQ(vuelta[20], "Cónyuge");
    EXPECT_EQ(vuelta[kCajaAutonomia], "Madrid");
    EXPECT_EQ(vuelta[3], "0");  // no year: the box shows 0
    EXPECT_EQ(vuelta[47], "0");
    // What the screen shows stores the same declaration again.
    Declaracion otra = d;
    ASSERT_TRUE(GuardaUnidadFam(otra, vuelta).ok);
    EXPECT_EQ(otra, d);

    // A zero or cleared year leaves no member, and the age it had stays (49 and 11 above).
    vuelta[1] = "0";
    vuelta[2] = "";
    ASSERT_TRUE(GuardaUnidadFam(d, vuelta).ok);
    EXPECT_EQ(d.Miembros[1].AnoNac, 0);
    EXPECT_EQ(d.Miembros[1].Edad, 49);
    EXPECT_EQ(d.Miembros[2].AnoNac, 0);
    EXPECT_EQ(d.Miembros[2].Edad, 11);
}

TEST(UnidadFam, RegionAndPerceptorTexts)
{
    // Box 20 is the child's perceptor; the rest are region texts.
    struct Caso {
        int caja;
        const char *texto, *codigo;
    };
    for (const Caso &c : {Caso{kCajaAutonomia, " ", "00"}, Caso{kCajaAutonomia, "", "00"},
                          Caso{kCajaAutonomia, "La Rioja", "16"}, Caso{kCajaAutonomia, "lles Balears", "04"},
                          Caso{kCajaAutonomia, "Valencia", "17"}, Caso{20, "Declarante", "D"},
                          Caso{20, "Cónyuge", "C"}, Caso{20, " ", ""}, Caso{20, "", ""}}) {
        Declaracion d;
        CajasUnidadFam cajas = Hogar();
        cajas[static_cast<std::size_t>(c.caja)] = c.texto;
        ASSERT_TRUE(GuardaUnidadFam(d, cajas).ok);
        EXPECT_EQ(c.caja == 20 ? d.Miembros[2].Perceptor : d.Autonomia, c.codigo) << c.texto;
    }
    Declaracion vacia;
    vacia.Autonomia.clear();
    EXPECT_EQ(LlenaUnidadFam(vacia)[kCajaAutonomia], " ");  // the blank choice of the list
}

TEST(UnidadFam, BirthYearMessagesAndThePartialStore)
{
    const std::string sinAno = "El año de nacimiento del contribuyente debe de estar informado.";
    const std::string futuro = "El año de nacimiento no puede ser mayor que 2021";
    struct Caso {
        int fila;  // also the box where the focus goes back
        const char *ano;
        const std::string &mensaje;
        int almacenados;
    };
    for (const Caso &c : {Caso{0, "", sinAno, 0}, Caso{0, "0", sinAno, 0}, Caso{0, "2022", futuro, 0},
                          Caso{5, "2022", futuro, 5}}) {
        const std::string nombre = "row " + std::to_string(c.fila) + " year '" + c.ano + "'";
        Declaracion d;
        d.Miembros[5].AnoNac = 2015;
        d.Miembros[5].Edad = 6;
        d.Nombre = "antes";
        CajasUnidadFam cajas = Hogar();
        cajas[static_cast<std::size_t>(c.fila)] = c.ano;
        const GuardadoUnidadFam g = GuardaUnidadFam(d, cajas);
        EXPECT_FALSE(g.ok) << nombre;
        EXPECT_EQ(g.caja, c.fila) << nombre;
        EXPECT_EQ(g.mensaje, c.mensaje) << nombre;
        EXPECT_EQ(g.almacenados, c.almacenados) << nombre;
        // Rows before the refused one are stored, the refused one and the rest are not,
        // and neither are the name and the region.
        EXPECT_EQ(d.Miembros[0].AnoNac, c.almacenados > 0 ? 1970 : 0) << nombre;
        EXPECT_EQ(d.Miembros[2].Perceptor, c.almacenados > 2 ? "C" : "") << nombre;
        EXPECT_EQ(d.Miembros[5].AnoNac, 2015) << nombre;
        EXPECT_EQ(d.Miembros[5].Edad, 6) << nombre;
        EXPECT_EQ(d.Nombre, "antes") << nombre;
        EXPECT_EQ(d.Autonomia, "00") << nombre;
    }
}

TEST(Rentas, EveryScreenUsesEachBoxOnce)
{
    for (const PantallaRenta p : PantallasRenta()) {
        const FormularioRenta &f = Formulario(p);
        std::set<int> cajas;
        for (const CampoRenta &c : f.campos) {
            EXPECT_NE(c.importe == nullptr, c.texto == nullptr) << f.nombre << " " << c.titulo;
            EXPECT_TRUE(cajas.insert(c.declarante).second) << f.nombre << " box " << c.declarante;
            EXPECT_TRUE(cajas.insert(c.conyuge).second) << f.nombre << " box " << c.conyuge;
        }
        EXPECT_EQ(static_cast<int>(cajas.size()), f.cajas) << f.nombre;
        EXPECT_EQ(*cajas.rbegin(), f.cajas - 1) << f.nombre;
    }
}

TEST(Rentas, SaveIntoEntriesOneAndTwoAndTheSums)
{
    Declaracion d;
    d.Rentas[0].InmIngresos = M("99");  // not a Σ field of DatosInm: entry 0 is left alone
    CajasRenta inm = Vacias(PantallaRenta::Inmuebles);
    inm[7] = "1.234,56";  // spouse's Ingresos, declarant's left empty
    inm[2] = "100";       // Retención
    inm[9] = " 50,5 ";
    inm[14] = "Sí";
    ASSERT_TRUE(GuardaRentas(d, PantallaRenta::Inmuebles, inm).ok);
    EXPECT_EQ(d.Rentas[1].InmIngresos, Money());
    EXPECT_EQ(d.Rentas[2].InmIngresos, M("1234.56"));
    EXPECT_EQ(d.Rentas[0].InmIngresos, M("99"));
    EXPECT_EQ(d.Rentas[0].InmRetencion, M("150.5"));  // 100 + 50,5
    EXPECT_EQ(d.Rentas[1].InmLocal, "Sí");
    EXPECT_EQ(d.Rentas[2].InmLocal, "");

    CajasRenta trabajo = Vacias(PantallaRenta::Trabajo);
    trabajo[0] = "20.000,00";
    trabajo[5] = "12.500,75";
    trabajo[4] = "-300";  // the calculator may leave a negative amount
    trabajo[9] = "1.000";
    ASSERT_TRUE(GuardaRentas(d, PantallaRenta::Trabajo, trabajo).ok);
    EXPECT_EQ(d.Rentas[0].TrabIngresos, M("32500.75"));   // 20.000 + 12.500,75
    EXPECT_EQ(d.Rentas[0].TrabContribEmpresa, M("700"));  // -300 + 1.000

    CajasRenta red = Vacias(PantallaRenta::Reducciones);
    red[5] = "2.400";  // only the spouse's "Anualidad hijos"
    ASSERT_TRUE(GuardaRentas(d, PantallaRenta::Reducciones, red).ok);
    EXPECT_EQ(d.Rentas[1].RedAnualidadHijos, Money());
    EXPECT_EQ(d.Rentas[2].RedAnualidadHijos, M("2400"));
    EXPECT_EQ(d.Rentas[0].RedAnualidadHijos, M("2400"));
}

TEST(Rentas, MobilityCountsOnlyWithEmploymentIncome)
{
    // Boxes 0/5 employment income, 10/11 mobility, 13 the spouse's TrabOpcion2, each of the
    // declarant and the spouse.
    struct Caso {
        const char *ingresoD, *siD, *ingresoC, *siC, *opcionC;
        const char *movilidad;
    };
    for (const Caso &c : {Caso{"", "Sí", "", "No", "No", "No"},       // declarant Sí without income
                          Caso{"10", "Sí", "", "No", "No", "Sí"},     // declarant Sí with income
                          Caso{"10", "No", "0,01", "Sí", "No", "Sí"},  // spouse Sí with income
                          Caso{"10", "No", "0", "Sí", "No", "No"},     // spouse Sí, only the declarant earns
                          Caso{"-5", "Sí", "", "No", "No", "No"},     // negative income
                          Caso{"", "No", "1", "No", "Sí", "No"}}) {    // TrabOpcion2 follows its own boxes
        Declaracion d;
        CajasRenta t = Vacias(PantallaRenta::Trabajo);
        t[0] = c.ingresoD;
        t[5] = c.ingresoC;
        t[10] = c.siD;
        t[11] = c.siC;
        t[12] = "No";
        t[13] = c.opcionC;
        const std::string nombre = std::string(c.ingresoD) + "/" + c.siD + " " + c.ingresoC + "/" + c.siC;
        ASSERT_TRUE(GuardaRentas(d, PantallaRenta::Trabajo, t).ok);
        EXPECT_EQ(d.Rentas[0].TrabMovilidad, c.movilidad) << nombre;
        EXPECT_EQ(d.Rentas[0].TrabOpcion2, c.opcionC) << nombre;
        EXPECT_EQ(d.Rentas[1].TrabMovilidad, c.siD) << nombre;
    }
}

TEST(Rentas, RetribucionesIsSharedByTheActivityScreens)
{
    Declaracion d;
    CajasRenta agr = Vacias(PantallaRenta::Agricolas);
    agr[8] = "800";
    agr[9] = "900";
    ASSERT_TRUE(GuardaRentas(d, PantallaRenta::Agricolas, agr).ok);
    CajasRenta mod = Vacias(PantallaRenta::Modulos);
    mod[8] = "100";
    ASSERT_TRUE(GuardaRentas(d, PantallaRenta::Modulos, mod).ok);
    EXPECT_EQ(d.Rentas[1].Retribuciones, M("100"));
    EXPECT_EQ(d.Rentas[2].Retribuciones, Money());
    EXPECT_EQ(d.Rentas[0].Retribuciones, Money());  // never summed

    // DatosDirecta does not show it, yet saving its unchanged boxes keeps it.
    d.Rentas[2].Retribuciones = M("1234.5");
    ASSERT_TRUE(GuardaRentas(d, PantallaRenta::Directa, LlenaRentas(d, PantallaRenta::Directa)).ok);
    EXPECT_EQ(d.Rentas[1].Retribuciones, M("100"));
    EXPECT_EQ(d.Rentas[2].Retribuciones, M("1234.5"));
    EXPECT_EQ(d.Rentas[2].DirRedRdtoNeto, "No");  // shown as "No" when empty, so stored as "No"
}

TEST(Rentas, FillShowsAmountsAndNoForAnEmptyYesNo)
{
    Declaracion d;
    d.Rentas[1].TrabIngresos = M("1234567.891");
    d.Rentas[2].TrabGastos = M("-0.005");
    d.Rentas[2].TrabMovilidad = "Sí";
    const CajasRenta c = LlenaRentas(d, PantallaRenta::Trabajo);
    EXPECT_EQ(c[0], "1.234.567,89");
    EXPECT_EQ(c[6], "-0,01");  // halves away from zero
    EXPECT_EQ(c[5], "0,00");
    EXPECT_EQ(c[10], "No");  // never entered
    EXPECT_EQ(c[11], "Sí");
}

TEST(Rentas, APastedTextThatIsNoAmountStoresNothing)
{
    Declaracion d;
    d.Rentas[1].ModRdtoNeto = M("10");
    const Declaracion antes = d;
    CajasRenta m = Vacias(PantallaRenta::Modulos);
    m[0] = "20";
    m[6] = "12a";
    const GuardadoRenta g = GuardaRentas(d, PantallaRenta::Modulos, m);
    EXPECT_FALSE(g.ok);
    EXPECT_EQ(g.caja, 6);
    EXPECT_EQ(d, antes);
    // Two amounts that each fit but whose sum does not (the money type ends near 9.2e14).
    m[6] = "900000000000000";
    m[2] = "900000000000000";
    const GuardadoRenta suma = GuardaRentas(d, PantallaRenta::Modulos, m);
    EXPECT_FALSE(suma.ok);
    EXPECT_EQ(suma.caja, 2);
    EXPECT_EQ(d, antes);
}
