#include "PdfLiquidaciones.h"

#include "PaginaSimulacion.h"
#include "TextoQt.h"

#include <QGuiApplication>

#include <memory>

bool EscribePdfLiquidaciones(const std::string &ruta, const std::string &nombre, const std::vector<PaginaPdf> &paginas,
                             std::string &error)
{
    // Fonts and the PDF writer need a QGuiApplication. It is made only here, so irpf2021's
    // text, JSON and CSV runs never pay for loading a platform plugin.
    static int argc = 1;
    static char nombrePrograma[] = "irpf2021";
    static char *argv[] = {nombrePrograma, nullptr};
    std::unique_ptr<QGuiApplication> app;
    if (!QCoreApplication::instance()) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        app = std::make_unique<QGuiApplication>(argc, argv);
    }

    std::vector<DatosPagina> datos;
    datos.reserve(paginas.size());
    for (const PaginaPdf &p : paginas)
        datos.push_back(PaginaDeResultado(nombre, p.modalidad, p.casillas));
    QString motivo;
    if (ExportaPdf(datos, QString::fromStdString(ruta), &motivo))
        return true;
    error = deQt(motivo);
    return false;
}
