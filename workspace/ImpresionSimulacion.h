// The main window's printing: " Imprimir ", "Exportar PDF" and the about box, plugged into
// Precalculo through its hooks. The page itself is PaginaSimulacion's.
#pragma once

#include "PaginaSimulacion.h"

class Precalculo;

// What the page shows for the sheet as it stands: the program's caption (not the client's
// file name the window title adds), today's date, the taxpayer's name, the liquidation
// selected and the box texts exactly as shown (pesetas too).
DatosPagina DatosDePrecalculo(const Precalculo &p);

// " Imprimir ": Qt's print dialog, then the page. Cancelling prints nothing and says nothing.
void ImprimeSimulacion(Precalculo &p);

// "Exportar PDF": asks for the file (the taxpayer's name as default), then writes the page.
void ExportaPdfDesde(Precalculo &p);
// The same without the file dialog; false after telling the user why.
bool ExportaPdfEn(Precalculo &p, const QString &ruta);

// Wires " Imprimir ", "Exportar PDF" and " Acerca de ... " of the main window.
void InstalaImpresion(Precalculo &p);
