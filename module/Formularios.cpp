#include "Formularios.h"

#include "TextoImporte.h"

#include <stdexcept>

namespace simulador {

namespace {

constexpr std::string_view kNo = "No";

std::string EspecSiNo() { return "****02" + ListaValores("SINO"); }

// The value a numeric box holds, read as "0" followed by its text: the leading digits count
// (a grouping dot is skipped), anything after them does not. Capped far above any year or
// percentage the boxes can take, so a pasted run of digits cannot overflow.
long LeeEntero(std::string_view texto)
{
    long v = 0;
    for (const char c : Recorta(texto)) {
        if (c == '.')
            continue;
        if (c < '0' || c > '9')
            break;
        v = v * 10 + (c - '0');
        if (v > 1000000)
            return 1000000;
    }
    return v;
}

std::uint8_t Byte(long v) { return static_cast<std::uint8_t>(v > 255 ? 255 : v); }

// ---- UnidadFam

struct ColumnaDef {
    ColumnaFamilia columna;
    std::string_view codigo;
    std::string_view lista;      // named list, empty for a typed box
    std::string_view geometria;  // "****02"
};

// clang-format off
const std::array<ColumnaDef, 7> kColumnasFamilia = {{
    {{"Año Nac.",    0,  0, 9}, "N04  ", "",          ""},
    {{"%Min.",       10, 0, 9}, "N02  ", "",          ""},
    {{"Ayuda",       36, 0, 9}, "LA1  ", "SINO",      "****02"},
    {{"Abono ant.",  54, 0, 9}, "LA1  ", "SINO",      "****02"},
    {{"Perceptor",   20, 2, 9}, "LA1  ", "FILIACION", "****03"},
    {{"Convivencia", 46, 2, 9}, "N02  ", "",          ""},
    {{"Fallec.",     30, 2, 7}, "LA1  ", "SINO",      "****02"},
}};
// clang-format on

const ColumnaDef *ColumnaDeCaja(int caja, int &miembro)
{
    for (const ColumnaDef &c : kColumnasFamilia) {
        const int r = c.columna.desde + (caja - c.columna.primeraCaja);
        if (caja >= c.columna.primeraCaja && r <= c.columna.hasta) {
            miembro = r;
            return &c;
        }
    }
    return nullptr;
}

std::string DatoFamilia(int caja, int miembro)
{
    static const char *const ayuda[] = {"SINO1A", "SINO2A", "SINO3A", "SINO1B", "SINO2B",
                                        "SINO3B", "SINO1E", "SINO2E", "SINO3E", "SINO3F"};
    static const char *const fallecido[] = {"SINO1D", "SINO2D", "SINO3D", "SINO1C", "SINO2C", "SINO3C"};
    if (caja < 10)
        return miembro == 1 ? "Edad2" : "Edad1";
    if (caja < 20)
        return "Min1";
    if (caja < 28)
        return "EstadoCivil";
    if (caja < 36)
        return fallecido[miembro - 2];
    if (caja < 46)
        return ayuda[miembro];
    if (caja < 54)
        return "Con1";
    return "Abono" + std::to_string(miembro + 1);
}

std::string EspecAutonomia() { return "150015" + ListaValores("AUTONOMIA"); }

// ---- the income screens

using R = DatosRenta;
using C = Colocacion;

CampoRenta Importe(std::string_view titulo, int d, int c, std::string_view dato, std::string_view datoC,
                   Money R::*campo, C col = C::Fila, int bloque = 0)
{
    CampoRenta f{titulo, d, c, dato, datoC};
    f.importe = campo;
    f.colocacion = col;
    f.bloque = bloque;
    return f;
}

CampoRenta SiNo(std::string_view titulo, int d, int c, std::string_view dato, std::string_view datoC,
                std::string R::*campo, C col = C::Fila, int bloque = 0)
{
    CampoRenta f{titulo, d, c, dato, datoC};
    f.texto = campo;
    f.colocacion = col;
    f.bloque = bloque;
    return f;
}

std::vector<FormularioRenta> ConstruyeFormularios()
{
    std::vector<FormularioRenta> f(6);
    // clang-format off
    f[0] = {"DatosTrabajo", "Rdtos. del Trabajo", 1, 14, false, {}, {
        Importe("Ingresos",                   0, 5, "IngresoD",    "IngresoC",    &R::TrabIngresos),
        Importe("Gastos",                     1, 6, "GastoD",      "GastoC",      &R::TrabGastos),
        Importe("Retención",                  2, 7, "RetencionD",  "RetencionC",  &R::TrabRetencion),
        Importe("Red. Especial",              3, 8, "AportacionD", "AportacionC", &R::TrabReduccion),
        Importe("Contribuciones Empr. P. P.", 4, 9, "APromotorD",  "APromotorC",  &R::TrabContribEmpresa),
        SiNo("Movilidad geográfica",  10, 11, "SINO1D", "SINO1C", &R::TrabMovilidad),
        SiNo("",                      12, 13, "SINO2D", "SINO2C", &R::TrabOpcion2),
    }};
    f[1] = {"DatosInm", "Rdtos. del Capital Inmobiliario", 2, 18, true,
            {{"Inmuebles Arrendades"}, {"Resto Inmuebles", "(excluida vivienda habitual)"}}, {
        Importe("Ingresos",               0,  7,  "IngresoD",   "IngresoC",   &R::InmIngresos),
        Importe("Intereses/Rep.",         16, 17, "IntereD",    "IntereC",    &R::InmIntereses),
        Importe("Otros gastos",           1,  8,  "GastoD",     "GastoC",     &R::InmGastos),
        Importe("Retención",              2,  9,  "RetencionD", "RetencionC", &R::InmRetencion),
        SiNo("Local",                     14, 15, "SINO3D",     "SINO3C",     &R::InmLocal),
        Importe("V.Catastral 1º    Rev.", 3,  10, "Valor1D",    "Valor1C",    &R::InmValorCat1, C::Fila, 1),
        SiNo("",                          4,  11, "SINO1D",     "SINO1C",     &R::InmRevisado1, C::ConAnterior, 1),
        Importe("V.Catastral 2º    Rev.", 5,  12, "Valor2D",    "Valor2C",    &R::InmValorCat2, C::Fila, 1),
        SiNo("",                          6,  13, "SINO2D",     "SINO2C",     &R::InmRevisado2, C::ConAnterior, 1),
    }};
    f[2] = {"DatosDirecta", "Actividades en Estimación Directa", 4, 14, false, {}, {
        Importe("Ingresos",        0, 4, "IngresoD",    "IngresoC",    &R::DirIngresos),
        Importe("Gastos",          1, 5, "GastoD",      "GastoC",      &R::DirGastos),
        Importe("P. Fraccionados", 2, 6, "RetencionD",  "RetencionC",  &R::DirPagosFrac),
        Importe("Retención",       3, 7, "AportacionD", "AportacionC", &R::DirRetencion),
        SiNo("Aplica reducción rdto. neto",          8,  9,  "SINO2D", "SINO2C", &R::DirRedRdtoNeto),
        SiNo("Aplica reducción emprendedores (20%)", 12, 13, "SINO3D", "SINO3C", &R::DirRedEmprendedores),
        Importe("", 10, 11, "SalariosD", "SalariosC", &R::Retribuciones, C::Oculta),
    }};
    f[3] = {"DatosModulos", "Act. Estimación Objetiva Empresarial", 5, 10, false, {}, {
        Importe("Rendimiento Neto",   0, 4, "IngresoD",    "IngresoC",    &R::ModRdtoNeto),
        Importe("G. Extraordinarios", 1, 5, "GastoD",      "GastoC",      &R::ModGastosExtra),
        Importe("Pagos Fraccionados", 2, 6, "RetencionD",  "RetencionC",  &R::ModPagosFrac),
        Importe("Retención",          3, 7, "AportacionD", "AportacionC", &R::ModRetencion),
        Importe("Retribuciones del conjunto de actividades\n- Reducción por creación de empleo",
                8, 9, "SalariosD", "SalariosC", &R::Retribuciones, C::TituloDebajo),
    }};
    f[4] = {"DatosAgricolas", "Actividades Agrarias-Ganaderas", 6, 10, false, {}, {
        Importe("Rendimiento Neto",       0, 4, "IngresoD",    "IngresoC",    &R::AgrRdtoNeto),
        Importe("Gastos Extraordinarios", 1, 5, "GastoD",      "GastoC",      &R::AgrGastosExtra),
        Importe("Pagos Fraccionados",     2, 6, "RetencionD",  "RetencionC",  &R::AgrPagosFrac),
        Importe("Retención",              3, 7, "AportacionD", "AportacionC", &R::AgrRetencion),
        Importe("Retribuciones del conjunto de actividades",
                8, 9, "SalarioD", "SalarioC", &R::Retribuciones, C::TituloDebajo),
    }};
    f[5] = {"Reducciones", "Reducciones de la Base General", 9, 6, false, {}, {
        Importe("Plan Pensión",    0, 3, "IngresoD", "Gastoc",   &R::RedPlanPension),
        Importe("Anualidades",     1, 4, "GastoD",   "Ingresod", &R::RedAnualidades),
        Importe("Anualidad hijos", 2, 5, "Ingresoc", "Gastod",   &R::RedAnualidadHijos),
    }};
    // clang-format on
    return f;
}

}  // namespace

// ---- UnidadFam

const std::vector<ColumnaFamilia> &ColumnasUnidadFam()
{
    static const std::vector<ColumnaFamilia> columnas = [] {
        std::vector<ColumnaFamilia> v;
        for (const ColumnaDef &c : kColumnasFamilia)
            v.push_back(c.columna);
        return v;
    }();
    return columnas;
}

const std::array<std::string_view, kMiembros> &FilasUnidadFam()
{
    static const std::array<std::string_view, kMiembros> filas = {
        "Declarante", "Cónyuge", "Hijo 1º", "Hijo 2º", "Hijo 3º",
        "Hijo 4º",    "Hijo 5º", "Hijo 6º", "Ascendiente 1º", "Ascendiente 2º"};
    return filas;
}

DefCampo DefCampoUnidadFam(int caja)
{
    if (caja == kCajaNombre)
        return DefineCampo(caja, "Nombre", "A35  ", "@");
    if (caja == kCajaAutonomia)
        return DefineCampo(caja, "Autonomia", "LA1  ", EspecAutonomia());
    int miembro = 0;
    const ColumnaDef *c = ColumnaDeCaja(caja, miembro);
    if (!c)
        throw std::out_of_range("UnidadFam has no box " + std::to_string(caja));
    const std::string lista = c->lista.empty() ? std::string("@") : std::string(c->geometria) + ListaValores(c->lista);
    return DefineCampo(caja, DatoFamilia(caja, miembro), std::string(c->codigo), lista);
}

CajasUnidadFam LlenaUnidadFam(const Declaracion &d)
{
    CajasUnidadFam cajas;
    for (int r = 0; r < kMiembros; ++r) {
        const MiembroFam &m = d.Miembros[static_cast<std::size_t>(r)];
        cajas[static_cast<std::size_t>(r)] = std::to_string(m.AnoNac);
        cajas[static_cast<std::size_t>(10 + r)] = std::to_string(m.Minusvalia);
        cajas[static_cast<std::size_t>(36 + r)] = m.Ayuda;
        cajas[static_cast<std::size_t>(54 + r)] = m.Abono;
        if (r < 2)
            continue;
        cajas[static_cast<std::size_t>(18 + r)] = m.Perceptor == "D" ? "Declarante" : m.Perceptor == "C" ? "Cónyuge" : "";
        cajas[static_cast<std::size_t>(44 + r)] = std::to_string(m.Convivencia);
        if (r <= 7)
            cajas[static_cast<std::size_t>(28 + r)] = m.Fallecido;
    }
    cajas[kCajaNombre] = d.Nombre;
    cajas[kCajaAutonomia] = TextoDeCodigo(EspecAutonomia(), d.Autonomia.empty() ? "00" : d.Autonomia);
    return cajas;
}

GuardadoUnidadFam GuardaUnidadFam(Declaracion &d, const CajasUnidadFam &cajas)
{
    GuardadoUnidadFam g;
    if (LeeEntero(cajas[0]) == 0) {
        g.ok = false;
        g.caja = 0;
        g.mensaje = kMensajeSinAnoDeclarante;
        return g;
    }
    for (int r = 0; r < kMiembros; ++r) {
        const long ano = LeeEntero(cajas[static_cast<std::size_t>(r)]);
        if (ano > kEjercicio) {
            // The refused member keeps what it had: a year that is not accepted must not
            // reach the liquidation while the screen waits for the correction.
            g.ok = false;
            g.caja = r;
            g.mensaje = std::string(kMensajeAnoFuturo) + std::to_string(kEjercicio);
            return g;
        }
        MiembroFam &m = d.Miembros[static_cast<std::size_t>(r)];
        m.AnoNac = static_cast<std::int16_t>(ano);
        // A cleared year leaves the age as it was: only a year present gives an age.
        if (ano > 0)
            m.Edad = static_cast<std::int16_t>(kEjercicio - ano);
        m.Minusvalia = Byte(LeeEntero(cajas[static_cast<std::size_t>(10 + r)]));
        if (r >= 2) {
            const std::string &perceptor = cajas[static_cast<std::size_t>(18 + r)];
            m.Perceptor = perceptor == "Declarante" ? "D" : perceptor == "Cónyuge" ? "C" : "";
            if (r <= 7)
                m.Fallecido = cajas[static_cast<std::size_t>(28 + r)];
            m.Convivencia = Byte(LeeEntero(cajas[static_cast<std::size_t>(44 + r)]));
        }
        m.Ayuda = cajas[static_cast<std::size_t>(36 + r)];
        m.Abono = cajas[static_cast<std::size_t>(54 + r)];
        g.almacenados = r + 1;
    }
    d.Nombre = cajas[kCajaNombre];
    const std::string region = CodigoDeTexto(EspecAutonomia(), cajas[kCajaAutonomia]);
    d.Autonomia = region.empty() ? "00" : region;
    return g;
}

// ---- the income screens

const FormularioRenta &Formulario(PantallaRenta p)
{
    static const std::vector<FormularioRenta> formularios = ConstruyeFormularios();
    return formularios[static_cast<std::size_t>(p)];
}

const std::array<PantallaRenta, 6> &PantallasRenta()
{
    static const std::array<PantallaRenta, 6> todas = {PantallaRenta::Trabajo,  PantallaRenta::Inmuebles,
                                                       PantallaRenta::Directa,  PantallaRenta::Modulos,
                                                       PantallaRenta::Agricolas, PantallaRenta::Reducciones};
    return todas;
}

DefCampo DefCampoRenta(const CampoRenta &c, bool conyuge, int caja)
{
    const std::string dato(conyuge ? c.datoConyuge : c.dato);
    if (c.importe)
        return DefineCampo(caja, dato, std::string(kCodigoImporte), "@");
    return DefineCampo(caja, dato, std::string(kCodigoSiNo), EspecSiNo());
}

CajasRenta LlenaRentas(const Declaracion &d, PantallaRenta p)
{
    const FormularioRenta &f = Formulario(p);
    CajasRenta cajas(static_cast<std::size_t>(f.cajas));
    for (const CampoRenta &c : f.campos)
        for (const int persona : {1, 2}) {
            const DatosRenta &r = d.Rentas[static_cast<std::size_t>(persona)];
            std::string &caja = cajas[static_cast<std::size_t>(persona == 1 ? c.declarante : c.conyuge)];
            if (c.importe)
                caja = FormatoImporte(r.*c.importe);
            else
                caja = (r.*c.texto).empty() ? std::string(kNo) : r.*c.texto;
        }
    return cajas;
}

GuardadoRenta GuardaRentas(Declaracion &d, PantallaRenta p, const CajasRenta &cajas)
{
    const FormularioRenta &f = Formulario(p);
    // Read everything first: a box that is no amount leaves Rentas exactly as it was.
    std::array<DatosRenta, 3> rentas = d.Rentas;
    for (const CampoRenta &c : f.campos)
        for (const int persona : {1, 2}) {
            const int indice = persona == 1 ? c.declarante : c.conyuge;
            const std::string &caja = cajas.at(static_cast<std::size_t>(indice));
            DatosRenta &r = rentas[static_cast<std::size_t>(persona)];
            if (c.texto) {
                r.*c.texto = caja;
                continue;
            }
            if (Recorta(caja).empty()) {
                r.*c.importe = Money();
                continue;
            }
            const ImporteLeido l = LeeImporte(caja, EstiloImporte::Pantalla);
            if (!l.ok()) {
                GuardadoRenta g;
                g.ok = false;
                g.caja = indice;
                g.mensaje = "El importe «" + caja + "» no es válido.";
                return g;
            }
            r.*c.importe = l.valor;
        }
    for (const CampoRenta &c : f.campos) {
        const CampoSumado *suma = c.importe ? BuscaSumado(c.importe) : nullptr;
        if (!suma || !suma->alGuardar)
            continue;
        try {
            rentas[0].*c.importe = rentas[1].*c.importe + rentas[2].*c.importe;
        } catch (const ErrorImporte &) {
            // Only pasted amounts far beyond a box's nine digits get here.
            GuardadoRenta g;
            g.ok = false;
            g.caja = c.declarante;
            g.mensaje = "Importe fuera de rango: la suma de «" + std::string(c.titulo) + "» no cabe en el tipo de importe.";
            return g;
        }
    }
    if (p == PantallaRenta::Trabajo)
        RehaceSiNoTrabajo(rentas);
    d.Rentas = rentas;
    return GuardadoRenta{};
}

}  // namespace simulador
