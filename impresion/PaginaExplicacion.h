// The printed explanation of a box: on every page the heading of the other printouts
// (caption, date, taxpayer, liquidation, currency), the subject ("Detalle de la casilla 90")
// with the page number, then the lines of the tree as the copied text has them, in Courier
// New so that the amounts keep their column. As many pages as the tree takes; a tree wider
// than the page is scaled down, never up, as the sheet's page is.
#pragma once

#include "PaginaSimulacion.h"

#include <QRectF>
#include <QString>

class QPagedPaintDevice;
class QWidget;

struct DatosExplicacion {
    DatosPagina cabecera;  // its box texts are not printed
    QString asunto;        // "Detalle de la casilla 90"
    QString texto;         // TextoExplicacion: one line of the tree a line
};

// Every page into `dispositivo`, the painter `p` begun on it, each in `areaImprimible`
// (device coordinates), newPage between them. The number of pages.
int DibujaExplicacion(QPainter &p, QPagedPaintDevice &dispositivo, const QRectF &areaImprimible,
                      const DatosExplicacion &datos);

// Qt's print dialog, then the pages. Empty when printed or cancelled; otherwise why not.
QString ImprimeExplicacion(QWidget *padre, const DatosExplicacion &datos);
