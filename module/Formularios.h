// The data-entry screens as data: the family unit (UnidadFam) and the six screens of two
// columns, declarant and spouse, that fill Rentas (DatosTrabajo, DatosInm, DatosDirecta,
// DatosModulos, DatosAgricolas, Reducciones).
//
// A screen is described once here, box by box, and its fill and save rules work on the
// texts of its boxes, indexed like the screen's Cmp array. The widgets only build the boxes
// from the tables and hand their texts back, so the rules are the same for every front end
// and are tested without one.
#pragma once

#include "Campos.h"
#include "Declaracion.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace simulador {

// ---------------------------------------------------------------------------------------
// UnidadFam: "Datos de la Unidad Familiar"

inline constexpr int kCajasUnidadFam = 64;
inline constexpr int kCajaNombre = 28;      // "Apellidos y Nombre"
inline constexpr int kCajaAutonomia = 29;   // "Autonomía"
inline constexpr int kMiembros = 10;

// One column of the family grid: the box of member `desde` is `primeraCaja`, the next
// member's the one after it, down to member `hasta`.
struct ColumnaFamilia {
    std::string_view titulo;
    int primeraCaja;
    int desde, hasta;
};

// The columns in the order they stand on the screen, left to right.
const std::vector<ColumnaFamilia> &ColumnasUnidadFam();
// Row captions, member 0 to 9: "Declarante", "Cónyuge", "Hijo 1º" ... "Ascendiente 2º".
const std::array<std::string_view, kMiembros> &FilasUnidadFam();
// The definition of box `caja` (0-63): help number = index, data name, code, list of values.
DefCampo DefCampoUnidadFam(int caja);

using CajasUnidadFam = std::array<std::string, kCajasUnidadFam>;

// The texts the boxes show for a declaration.
CajasUnidadFam LlenaUnidadFam(const Declaracion &d);

struct GuardadoUnidadFam {
    bool ok = true;
    int caja = -1;          // the box at fault, where the focus goes back
    std::string mensaje;    // shown with the information icon
    int almacenados = 0;    // members stored before the refusal (all ten when ok)
};

// "&Guardar". An empty or zero declarant year stores nothing. A year after 2021 stops at
// its member: the members before it are already stored (the screen stays open for the
// correction), the refused member keeps its previous record, and the name and the region
// are not stored. Otherwise all ten members, the name and the region are stored.
GuardadoUnidadFam GuardaUnidadFam(Declaracion &d, const CajasUnidadFam &cajas);

inline constexpr std::string_view kMensajeSinAnoDeclarante =
    "El año de nacimiento del contribuyente debe de estar informado.";
inline constexpr std::string_view kMensajeAnoFuturo = "El año de nacimiento no puede ser mayor que ";  // + 2021

// ---------------------------------------------------------------------------------------
// The income screens and Reducciones

enum class PantallaRenta { Trabajo, Inmuebles, Directa, Modulos, Agricolas, Reducciones };

// Where a row's pair of boxes stands on its screen.
enum class Colocacion {
    Fila,          // caption at the left, declarant box, spouse box
    TituloDebajo,  // the caption lines ("\n" between them) under the pair
    ConAnterior,   // a yes/no box right of the previous row's value box, sharing its caption
    Oculta,        // not shown; the boxes still carry the stored value through a save
};

// One row of a screen: a field of DatosRenta with a box for each person. Exactly one of
// `importe` (a "D0902" amount) and `texto` (a "Sí"/"No" list) is set.
struct CampoRenta {
    std::string_view titulo;        // may be empty (a row without caption)
    int declarante, conyuge;        // Cmp indices
    std::string_view dato, datoConyuge;  // data names of the two boxes (labels only)
    Money DatosRenta::*importe = nullptr;
    std::string DatosRenta::*texto = nullptr;
    Colocacion colocacion = Colocacion::Fila;
    int bloque = 0;                 // DatosInm: 0 "Inmuebles Arrendades", 1 "Resto Inmuebles"
};

struct FormularioRenta {
    std::string_view nombre;   // "DatosTrabajo"
    std::string_view titulo;   // window title, "Rdtos. del Trabajo"
    int numero;                // in the main workspace's screen table
    int cajas;                 // size of the Cmp array
    // DatosInm turns the grid: a row per person and a column per field, in blocks with
    // their own captions.
    bool porPersonas = false;
    std::vector<std::vector<std::string_view>> bloques;  // caption lines of each block
    std::vector<CampoRenta> campos;  // in save order, which is also the order on screen
};

inline constexpr std::string_view kCodigoImporte = "D0902";
inline constexpr std::string_view kCodigoSiNo = "LA1  ";

const FormularioRenta &Formulario(PantallaRenta p);
const std::array<PantallaRenta, 6> &PantallasRenta();
// The definition of a box: help number = index; "D0902" with "@", or "LA1  " with "****02"
// and the SINO list.
DefCampo DefCampoRenta(const CampoRenta &c, bool conyuge, int caja);

using CajasRenta = std::vector<std::string>;  // one text per Cmp index

// Amounts "#,##0.00" from entries 1 and 2; an empty yes/no shows "No".
CajasRenta LlenaRentas(const Declaracion &d, PantallaRenta p);

struct GuardadoRenta {
    bool ok = true;
    int caja = -1;
    std::string mensaje;
};

// "&Guardar": each box by itself into entry 1 (declarant) or 2 (spouse), an empty amount
// as 0; then entry 0 of the screen's fields that kCamposSumados sums at a save, and on
// DatosTrabajo RehaceSiNoTrabajo. A box holding something that is
// no amount (pasted text: the key filter lets nothing else in) stores nothing at all.
GuardadoRenta GuardaRentas(Declaracion &d, PantallaRenta p, const CajasRenta &cajas);

}  // namespace simulador
