// The saved declaration: the initialisation-file layout in which the last declaration is
// kept between runs ("DatosCa21.Ini") and in which clients' files are kept.
//
// Layout, in this order, lines ended by CR LF, text in Windows-1252:
//   [Datos]            Nombre=, Autonomia=, Tramo=
//   [UnidadFamiliar]   0..9 = Edad|AnoNac|Minusvalia|Perceptor|Fallecido|Ayuda|Convivencia|Abono
//   [Trabajo]          1, 2 (declarant, spouse)
//   [Mobiliario]       0.. = Clase|Titular|Ingreso|Gasto|Reduccion|Retencion
//   [Inmobiliario] [Directas] [Modulos] [Agrarias] [Reducciones]   1, 2
//   [Ganancias]        0.. = Clase|Titular|FechaAdq|ValorAdq|FechaTrans|ValorTrans|Retencion|
//                            ImporteGeneral|ImporteAhorro|ValorPatrimonio|Reinversion
//   [Deducciones]      0.. = Clase|Titular|FechaAdquisicion|Importe|PorcMinusvalia|PorcDeduccion
//   [Autonomicas]      0.. = Texto1|Texto2|Importe1|Importe2|Importe3 (filled by no screen)
//   [Varios]           box number = the input box's text as shown ("1.234,56")
// Amounts in the records are written without grouping with a decimal comma ("1234,5", "0").
#pragma once

#include "Declaracion.h"
#include "ErrorFichero.h"

#include <string>
#include <string_view>
#include <vector>

namespace simulador {

struct DeclaracionLeida {
    Declaracion declaracion;
    // Values the screens could never have produced (a date, a list code, a region or a
    // yes/no text), kept as they are; one Spanish line each, naming section, key and line.
    std::vector<std::string> avisos;
};

inline constexpr std::size_t kTamanoMaximoFichero = 1024 * 1024;  // larger files are refused

// The file's bytes for a declaration (Windows-1252, CR LF).
std::string EscribeDeclaracion(const Declaracion &d);
// A declaration from a file's bytes, Windows-1252 or UTF-8. Entry 0 of Rentas is rebuilt.
// Throws ErrorFichero on a malformed or out-of-range amount or whole number, and on a file
// with no section of ours (an empty file is no declaration).
DeclaracionLeida LeeDeclaracion(std::string_view contenido);

// A client's file, at a path the user chose. Throws ErrorFichero when it is missing,
// unreadable, larger than kTamanoMaximoFichero or malformed.
DeclaracionLeida CargaDeclaracion(const std::string &ruta);
// Writes a client's file atomically, keeping its mode (see EscribeFichero in
// FicheroPrivado.h): a failed save leaves the previous file intact. Throws ErrorFichero.
void GuardaDeclaracion(const Declaracion &d, const std::string &ruta);

// The last declaration, "DatosCa21.Ini", kept between runs in a private folder of the
// user's: ${XDG_STATE_HOME:-$HOME/.local/state}/simulador-irpf2021 (empty when the user has
// no home folder). The folder is made 0700 at the first save; a folder or file that is not
// the user's own real one, or that others can enter, is refused and nothing is read or
// written there.
std::string CarpetaUltimaDeclaracion();
std::string RutaUltimaDeclaracion(const std::string &carpeta);
// False when there is no folder or no file yet; throws ErrorFichero on a refused folder.
bool HayUltimaDeclaracion(const std::string &carpeta);
DeclaracionLeida CargaUltimaDeclaracion(const std::string &carpeta);
// Written 0600 and atomically; a read-only file is not replaced. Throws ErrorFichero.
void GuardaUltimaDeclaracion(const Declaracion &d, const std::string &carpeta);

}  // namespace simulador
