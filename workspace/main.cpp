// simulador: the desktop simulator. Creating and showing the main workspace is the start.
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

    Precalculo ventana;
    ventana.show();
    return QApplication::exec();
}
