#include "PdfLiquidaciones.h"

#include "PaginaSimulacion.h"
#include "TextoQt.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>

#include <memory>

#include <unistd.h>

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
        // Without a session (a script, cron) Qt falls back to a runtime folder of its own and
        // says so on standard error, which scripts would read as a failure: give it one.
        if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
            const QString dir = QDir::tempPath() + QStringLiteral("/runtime-irpf2021-") + QString::number(getuid());
            if (QDir().mkpath(dir) &&
                QFile::setPermissions(dir, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner))
                qputenv("XDG_RUNTIME_DIR", QFile::encodeName(dir));
        }
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
