// The sheet on paper: what the printed page shows for the main window as it stands, and the
// window's " Imprimir ", "Exportar PDF" and " Acerca de ... " plugged into its hooks.
#pragma once

#include "PaginaSimulacion.h"

class Precalculo;

// The program's caption (not the client's file name the window title adds), today's date,
// the taxpayer's name, the liquidation selected and the box texts exactly as shown (pesetas
// too).
DatosPagina DatosDePrecalculo(const Precalculo &p);

// "Exportar PDF" without the file dialog; false after telling the user why.
bool ExportaPdfEn(Precalculo &p, const QString &ruta);

// Wires " Imprimir ", "Exportar PDF" and " Acerca de ... " of the main window.
void InstalaImpresion(Precalculo &p);
