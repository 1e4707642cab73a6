// " Imprimir " and "Exportar PDF" for a page: Qt's print dialog and the file dialog, then the
// page of PaginaSimulacion. The window that owns the page supplies it and tells the user what
// these return.
#pragma once

#include "PaginaSimulacion.h"

#include <functional>

class QPainter;
class QPrinter;
class QWidget;

// Qt's print dialog for the document `nombre`, then `dibuja` on the printer chosen, with a
// painter already begun on it. Empty when printed or cancelled (nothing is said then);
// otherwise why it was not printed.
QString Imprime(QWidget *padre, const QString &nombre, const std::function<void(QPainter &, QPrinter &)> &dibuja);

// Qt's print dialog, then the page `pagina` gives once the dialog is accepted. Empty when it was
// printed or the dialog cancelled (nothing is said then); otherwise why it was not printed.
QString ImprimeSimulacion(QWidget *padre, const std::function<DatosPagina()> &pagina);

// The file of "Exportar PDF", asked with the taxpayer's name as the proposal in the folder
// chosen last time, ".pdf" added when missing; empty when cancelled.
QString EligeFicheroPdf(QWidget *padre, const QString &contribuyente);
