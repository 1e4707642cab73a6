// simulador: the desktop simulator. Creating and showing the main workspace is the start;
// here each screen and tool is plugged into it.
#include "AbreHerramientas.h"
#include "FicherosRecientes.h"
#include "ImpresionHoja.h"
#include "Opciones.h"
#include "PantallasDeDatos.h"
#include "Precalculo.h"

#include <QApplication>
#include <QFile>
#include <QLibraryInfo>
#include <QTranslator>

#include <cstdio>

namespace {

// --help and --version: status 1 when the text could not be written (a full disk, a closed
// standard output), so a script does not take a lost answer for one.
int Escribe(const std::string &texto)
{
    const bool escrito = std::fputs(texto.c_str(), stdout) >= 0 && std::fflush(stdout) == 0 && !std::ferror(stdout);
    if (escrito)
        return 0;
    std::fputs("simulador: no se ha podido escribir la salida estándar.\n", stderr);
    return 1;
}

}  // namespace

int main(int argc, char *argv[])
{
    // Read before any QApplication exists: it would need a display to answer --help.
    const Opciones opciones = LeeOpciones(argc, argv);
    switch (opciones.accion) {
    case Opciones::Accion::Ayuda: return Escribe(TextoAyuda());
    case Opciones::Accion::Version: return Escribe(TextoVersion());
    case Opciones::Accion::Error:
        std::fprintf(stderr, "simulador: %s\nPruebe «simulador --help» para más información.\n", opciones.error.c_str());
        return 2;
    case Opciones::Accion::Abrir: break;
    }

    // Qt sees only the program's name: a file named like one of its options ("-reverse"),
    // given after "--", must stay a file.
    int argcQt = 1;
    char *argvQt[] = {argv[0], nullptr};
    QApplication app(argcQt, argvQt);
    Precalculo::identificaPrograma();
    // On X11 the class of a window's WM_CLASS is the application's name, and the task bar
    // finds the desktop entry by it (StartupWMClass), as Wayland does by the entry's name.
    // The user's settings are named apart and do not move with it.
    QApplication::setApplicationName(QGuiApplication::desktopFileName());
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
    if (!opciones.fichero.empty())
        ventana.abreAlInicio(QFile::decodeName(QByteArray::fromStdString(opciones.fichero)));
    ventana.show();
    return QApplication::exec();
}
