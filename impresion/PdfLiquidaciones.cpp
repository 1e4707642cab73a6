#include "PdfLiquidaciones.h"

#include "FicheroPrivado.h"
#include "PaginaSimulacion.h"

#include <QGuiApplication>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <memory>

#include <stdlib.h>

namespace {

// Without a session (a script, cron) there is no XDG_RUNTIME_DIR and Qt falls back to
// $TMPDIR/runtime-<user>: a name anyone can guess in a shared folder, whose mode Qt changes
// (a link planted there would have it change the mode of another folder). A private folder
// of our own is made with mkdtemp instead, for the run only, and removed at the end.
class CarpetaDeEjecucion {
public:
    // True when the variable is set, by the session or here; false with the reason otherwise.
    bool prepara(std::string &error)
    {
        if (!qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR"))
            return true;
        const char *tmpdir = std::getenv("TMPDIR");
        int e = 0;
        for (const std::string &base : {std::string(tmpdir && tmpdir[0] == '/' ? tmpdir : ""), std::string("/tmp")}) {
            if (base.empty())
                continue;
            std::string plantilla = base + "/irpf2021-XXXXXX";
            if (mkdtemp(plantilla.data())) {
                m_ruta = plantilla;
                qputenv("XDG_RUNTIME_DIR", QByteArray::fromStdString(m_ruta));
                return true;
            }
            e = errno;
        }
        error = "No se ha podido crear una carpeta temporal privada para el PDF: " + simulador::MotivoError(e) + ".";
        return false;
    }
    ~CarpetaDeEjecucion()
    {
        if (m_ruta.empty())
            return;
        qunsetenv("XDG_RUNTIME_DIR");
        std::error_code ec;
        std::filesystem::remove_all(m_ruta, ec);  // links inside are removed, never followed
    }

private:
    std::string m_ruta;
};

}  // namespace

bool EscribePdfLiquidaciones(const std::string &ruta, const std::string &nombre,
                             const std::vector<simulador::Liquidacion> &paginas, std::string &error)
{
    // Fonts and the PDF writer need a QGuiApplication. It is made only here, so irpf2021's
    // text, JSON and CSV runs never pay for loading a platform plugin. The runtime folder is
    // declared first so that it outlives the application that uses it.
    static int argc = 1;
    static char nombrePrograma[] = "irpf2021";
    static char *argv[] = {nombrePrograma, nullptr};
    CarpetaDeEjecucion carpeta;
    std::unique_ptr<QGuiApplication> app;
    if (!QCoreApplication::instance()) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        if (!carpeta.prepara(error))
            return false;
        app = std::make_unique<QGuiApplication>(argc, argv);
    }

    std::vector<DatosPagina> datos;
    datos.reserve(paginas.size());
    for (const simulador::Liquidacion &p : paginas)
        datos.push_back(PaginaDeResultado(nombre, p.modalidad, p.casillas));
    QString motivo;
    if (ExportaPdf(datos, QString::fromStdString(ruta), &motivo))
        return true;
    error = motivo.toStdString();
    return false;
}
