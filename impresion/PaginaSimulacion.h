// The printed simulation: one page with a heading (window caption, date, taxpayer's name, a
// rule) over the sheet as the screen shows it, every caption and every non-empty box at its
// sheet position. The printer, "Exportar PDF" and irpf2021 --pdf all draw it with DibujaPagina,
// so the three never drift apart.
//
// The page is laid out in twips, as the sheet's geometry is (DisposicionHoja, 15 twips a
// pixel): the heading in the first 1000 twips, the sheet 200 twips from the left and 1000 from
// the top. The whole page is then scaled down, never up, to fit the printable area: a sheet
// cut at the bottom would drop the result lines, which are what the client reads.
#pragma once

#include "Liquidar.h"

#include <QDate>
#include <QRectF>
#include <QString>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

class QFont;
class QPainter;

// Every printed page: the heading in the first 1000 twips, text from 200 twips on the left.
constexpr double kMargenPagina = 200;
constexpr double kAltoCabecera = 1000;

struct DatosPagina {
    QString titulo;      // the main window's caption
    QString fecha;       // FechaImpresion of the day
    QString nombre;      // the taxpayer, as saved ("Apellidos, Nombre")
    QString modalidad;   // "CONJUNTA", "DECLARANTE" or "CONYUGE": which liquidation the boxes hold
    bool enPesetas = false;
    std::array<QString, simulador::kNumCasillas> casillas;  // box texts as shown; "" = not printed
};

// The caption of the main window, which heads the page when there is no window to ask.
QString TituloSimulacion();

// "sábado, 5 de diciembre de 2026": weekday, day without a leading zero, month, year, in
// Spanish whatever the machine's locale says.
QString FechaImpresion(const QDate &fecha);

// "CONJUNTA", "DECLARANTE", "CONYUGE": the selector's text for a liquidation mode.
QString TextoModalidad(int modalidad);

// The page of one liquidation computed without a window (irpf2021 --pdf): the boxes in the
// sheet's euro form (FormatoResultado), today's date.
DatosPagina PaginaDeResultado(const std::string &nombre, simulador::Modalidad modalidad, const simulador::Resultado &r);

// The printouts' fonts, sized in twips (page units), not in points: the painter's transform
// scales the whole page, and a point size would be applied a second time by the device.
QFont FuenteImpresion(const QString &familia, double puntos, bool negrita = false);

// The heading of every printed page (caption, date, taxpayer, which liquidation and which
// currency, a rule), between `izquierda` and `derecha` in twips. The box texts are not read.
void DibujaCabecera(QPainter &p, double izquierda, double derecha, const DatosPagina &d);

// Draws the page into `areaImprimible` (device coordinates of the painter). Fonts are set in
// page units, so the result does not depend on the device's resolution.
void DibujaPagina(QPainter &p, const QRectF &areaImprimible, const DatosPagina &datos);

// A4 PDF, one page per entry, vector text (selectable, searchable). False with a Spanish
// reason in `error` when the file cannot be written.
bool ExportaPdf(const std::vector<DatosPagina> &paginas, const QString &ruta, QString *error);
inline bool ExportaPdf(const DatosPagina &datos, const QString &ruta, QString *error)
{
    return ExportaPdf(std::vector<DatosPagina>{datos}, ruta, error);
}
