// simulador: the desktop simulator. Creating and showing the main workspace is the start;
// here each screen and tool is plugged into it.
#include "AbreHerramientas.h"
#include "FicherosRecientes.h"
#include "ImpresionHoja.h"
#include "PantallasDeDatos.h"
#include "Precalculo.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("simulador"));
    // Qt's own dialogs in Spanish (Sí/No), when the translation is installed.
    QTranslator qtEs;
    if (qtEs.load(QStringLiteral("qtbase_es"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtEs);
    FicherosRecientes::protegeDialogos();

    // F4 in any amount field opens the calculator on it; Ctrl+E and the euro images the
    // euro converter.
    InstalaHerramientas();

    Precalculo ventana;
    for (const PantallaDeDatos &p : PantallasDeDatos())
        ventana.registraPantalla(p.numero, p.abre);
    InstalaImpresion(ventana);  // " Imprimir ", " Acerca de ... " and "Exportar PDF"
    ventana.show();
    return QApplication::exec();
}
