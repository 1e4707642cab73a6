#include "DocumentoDeclaracion.h"

#include "FicheroDeclaracion.h"
#include "FicheroPrivado.h"
#include "FicherosRecientes.h"
#include "HojaCasillas.h"
#include "LecturaCasillas.h"
#include "Liquidar.h"
#include "MensajeBox.h"
#include "MensajesHoja.h"
#include "TextoQt.h"

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QStandardPaths>

using namespace simulador;

namespace {

// The private folder of the last declaration, from the path of its file (no file system
// lookup: the module checks the folder itself when it reads or writes); empty without one.
std::string carpetaDe(const QString &ruta) { return ruta.isEmpty() ? std::string() : deQt(QFileInfo(ruta).path()); }

QString nombreDe(const QString &ruta) { return QFileInfo(ruta).fileName(); }

QString eligeConDialogo(QWidget *padre, bool guardar, const QString &propuesta)
{
    QFileDialog d(padre, guardar ? QStringLiteral("Guardar como") : QStringLiteral("Abrir"), propuesta,
                  QStringLiteral("Declaraciones (*.ini *.Ini *.INI);;Todos los ficheros (*)"));
    d.setAcceptMode(guardar ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    d.setFileMode(guardar ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (guardar)
        d.setDefaultSuffix(QStringLiteral("ini"));
    if (d.exec() != QDialog::Accepted || d.selectedFiles().isEmpty())
        return {};
    return d.selectedFiles().constFirst();
}

QString documentos() { return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation); }

}  // namespace

DocumentoDeclaracion::DocumentoDeclaracion(HojaCasillas &hoja, QWidget *ventana, std::function<Modalidad()> modalidad)
    : QObject(ventana), m_hoja(hoja), m_ventana(ventana), m_modalidad(std::move(modalidad)),
      m_eligeFichero(eligeConDialogo)
{
    construyeMenu();
    // Opening a file would change the sheet: it waits for the euros. Saving works, in euros.
    connect(&m_hoja, &HojaCasillas::vistaCambiada, this, [this](bool pesetas) { m_acAbrir->setEnabled(!pesetas); });
}

void DocumentoDeclaracion::construyeMenu()
{
    m_menuFichero = new QMenu(m_ventana);
    m_menuFichero->setObjectName(QStringLiteral("MenuFichero"));
    m_menuFichero->setToolTipsVisible(true);
    // The actions live on the window too, so their keys work from any box of the sheet.
    auto accion = [this](const QString &texto, const char *nombre, const QKeySequence &tecla, auto haz) {
        auto *a = new QAction(texto, m_ventana);
        a->setObjectName(QLatin1String(nombre));
        a->setShortcut(tecla);
        connect(a, &QAction::triggered, this, haz);
        m_ventana->addAction(a);
        m_menuFichero->addAction(a);
        return a;
    };
    m_acAbrir = accion(QStringLiteral("&Abrir…"), "Abrir", QKeySequence(Qt::CTRL | Qt::Key_O), [this] { accionAbrir(); });
    accion(QStringLiteral("&Guardar"), "Guardar", QKeySequence(Qt::CTRL | Qt::Key_S), [this] { guarda(); });
    accion(QStringLiteral("Guardar &como…"), "GuardarComo", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S),
           [this] { accionGuardarComo(); });
    m_sepRecientes = m_menuFichero->addSeparator();
    m_menuFichero->addSeparator();
    connect(m_menuFichero, &QMenu::aboutToShow, this, &DocumentoDeclaracion::actualizaRecientes);
}

void DocumentoDeclaracion::actualizaRecientes()
{
    for (QAction *a : m_recientes)
        delete a;
    m_recientes.clear();
    const QStringList lista = FicherosRecientes::lista();
    // The action after the separator: the recent files go between the two separators.
    const QList<QAction *> acciones = m_menuFichero->actions();
    QAction *antes = acciones.value(acciones.indexOf(m_sepRecientes) + 1);
    if (lista.isEmpty()) {
        auto *a = new QAction(QStringLiteral("(sin ficheros recientes)"), m_menuFichero);
        a->setEnabled(false);
        m_menuFichero->insertAction(antes, a);
        m_recientes.push_back(a);
        return;
    }
    for (int i = 0; i < lista.size(); ++i) {
        const QString ruta = lista[i];
        // "&" marks the access key: doubled, a file's name shows it as is.
        QString nombre = nombreDe(ruta).replace(QLatin1Char('&'), QStringLiteral("&&"));
        auto *a = new QAction(QStringLiteral("&%1 %2").arg(i + 1).arg(nombre), m_menuFichero);
        a->setObjectName(QStringLiteral("Reciente%1").arg(i));
        a->setToolTip(ConsejoPlano(QDir::toNativeSeparators(ruta)));
        a->setEnabled(!m_hoja.enPesetas());
        connect(a, &QAction::triggered, this, [this, ruta] {
            if (puedeDescartarCambios())
                abre(ruta);
        });
        m_menuFichero->insertAction(antes, a);
        m_recientes.push_back(a);
    }
}

void DocumentoDeclaracion::reinicia()
{
    m_decl = Declaracion();
    m_reparto = Reparto();
}

void DocumentoDeclaracion::marcaCambio()
{
    m_modificado = true;
    m_sinGuardar = true;
}

DocumentoDeclaracion::Inicio DocumentoDeclaracion::inicia(const QString &fichero)
{
    m_ruta = aQt(RutaUltimaDeclaracion(CarpetaUltimaDeclaracion()));
    bool hay = false, carpetaValida = true;
    try {
        // The private folder is made at start, so that the lock beside the file guards a
        // first run as well.
        const CarpetaPrivada carpeta(carpetaDe(m_ruta), CarpetaPrivada::Apertura::Crea);
        hay = HayUltimaDeclaracion(carpeta.ruta());
    } catch (const std::runtime_error &e) {
        // A folder that is not the user's own private one: not read, and not written at exit.
        carpetaValida = false;
        MensajeBox::informacion(m_ventana, aQt(MensajeCarpetaRechazada(e.what())));
    }
    // Held until the window goes. A lock that cannot be tried at all (a refused folder, a
    // link or someone else's file at its name) leaves this session working as the only one.
    if (carpetaValida)
        m_bloqueo = Bloqueo::Toma(deQt(m_ruta + QStringLiteral(".lock")));
    m_segundaSesion = m_bloqueo.estado() == Bloqueo::Estado::Ocupado;
    if (m_segundaSesion)
        MensajeBox::informacion(m_ventana, aQt(kAvisoSegundaSesion));
    if (!fichero.isEmpty() && abre(fichero))
        return Inicio::FicheroAbierto;
    if (m_segundaSesion)
        return Inicio::SegundaSesion;
    if (!hay)
        return Inicio::SinUltima;
    cargaUltima();
    return Inicio::UltimaOfrecida;
}

void DocumentoDeclaracion::cargaUltima()
{
    if (!MensajeBox::pregunta(m_ventana, aQt(kPreguntaCargar.titulo), aQt(kPreguntaCargar.texto)))
        return;
    try {
        DeclaracionLeida leida = CargaUltimaDeclaracion(carpetaDe(m_ruta));
        m_decl = std::move(leida.declaracion);
        m_hoja.ponTextos(m_decl);
        muestraAvisos(m_ruta, leida.avisos);
    } catch (const ErrorFichero &e) {
        // A damaged file leaves the empty declaration of a first run, and stays on disk as
        // it is: only a save the user agrees to at exit replaces it.
        reinicia();
        MensajeBox::informacion(m_ventana, aQt(MensajeUltimaIlegible(e.what())));
    }
}

void DocumentoDeclaracion::muestraAvisos(const QString &ruta, const std::vector<std::string> &avisos)
{
    if (!avisos.empty())
        MensajeBox::informacion(m_ventana, aQt(MensajeAvisos(deQt(nombreDe(ruta)), avisos)));
}

bool DocumentoDeclaracion::abre(const QString &ruta)
{
    DeclaracionLeida leida;
    try {
        leida = CargaDeclaracion(deQt(ruta));
    } catch (const ErrorFichero &e) {
        if (!QFileInfo::exists(ruta))
            FicherosRecientes::quita(ruta);
        MensajeBox::informacion(m_ventana, aQt(MensajeNoAbierto(e.what())));
        return false;
    }
    // Liquidated before anything changes: a declaration the engine cannot liquidate would
    // leave another client's results beside this one's boxes. The same run is then shown.
    const Calculo calculo = Recalcular(leida.declaracion, m_modalidad());
    if (!calculo.ok) {
        MensajeBox::informacion(m_ventana, aQt(MensajeNoAbierto(calculo.mensaje)));
        return false;
    }
    m_hoja.ponPesetas(false);
    m_decl = std::move(leida.declaracion);
    m_reparto = Reparto();
    m_hoja.ponTextos(m_decl);
    ponCliente(ruta);
    emit sustituida();
    // The sheet changed: the question at exit offers to keep it as the last declaration.
    m_modificado = true;
    m_sinGuardar = false;
    m_hoja.alInicio();
    m_hoja.muestraResultados(calculo.resultado);
    muestraAvisos(ruta, leida.avisos);
    return true;
}

void DocumentoDeclaracion::ponCliente(const QString &ruta)
{
    m_rutaCliente = QFileInfo(ruta).absoluteFilePath();
    FicherosRecientes::anade(m_rutaCliente);
    emit clienteCambiado();
}

bool DocumentoDeclaracion::puedeDescartarCambios()
{
    m_hoja.dejaCasilla();
    return !m_sinGuardar ||
           MensajeBox::pregunta(m_ventana, aQt(kPreguntaDescartar.titulo), aQt(kPreguntaDescartar.texto), true);
}

void DocumentoDeclaracion::accionAbrir()
{
    if (m_hoja.enPesetas() || !puedeDescartarCambios())
        return;
    QString propuesta = m_rutaCliente;
    if (propuesta.isEmpty()) {
        const QStringList recientes = FicherosRecientes::lista();
        propuesta = recientes.isEmpty() ? documentos() : QFileInfo(recientes.constFirst()).absolutePath();
    }
    const QString ruta = m_eligeFichero ? m_eligeFichero(m_ventana, false, propuesta) : QString();
    if (!ruta.isEmpty())
        abre(ruta);
}

bool DocumentoDeclaracion::accionGuardarComo()
{
    // The box being edited is left first, so it is written in its display form.
    m_hoja.dejaCasilla();
    const QString propuesta = m_rutaCliente.isEmpty() ? documentos() : m_rutaCliente;
    const QString ruta = m_eligeFichero ? m_eligeFichero(m_ventana, true, propuesta) : QString();
    return !ruta.isEmpty() && guardaComo(ruta);
}

bool DocumentoDeclaracion::guarda()
{
    if (m_rutaCliente.isEmpty())
        return accionGuardarComo();
    m_hoja.dejaCasilla();
    return guardaCliente(m_rutaCliente);
}

bool DocumentoDeclaracion::guardaComo(const QString &ruta)
{
    QString destino = ruta;
    if (QFileInfo(destino).suffix().isEmpty())
        destino += QStringLiteral(".ini");
    return guardaCliente(destino);
}

bool DocumentoDeclaracion::tomaCasillas()
{
    // The boxes into the declaration, checked as the liquidation would read them: the key
    // filters let only amounts into a box, but a paste can bring any text. Such a file could
    // not be read back, so the save is refused and the box named.
    m_hoja.pasaA(m_decl);
    const std::optional<CasillaIlegible> ilegible = CompruebaCasillas(m_decl);
    if (!ilegible)
        return true;
    MensajeBox::informacion(m_ventana, aQt(MensajeCasillaNoGuardada(ilegible->mensaje)));
    m_hoja.enfocaCasilla(ilegible->casilla);
    return false;
}

QString DocumentoDeclaracion::escribeEn(const QString &destino)
{
    try {
        GuardaDeclaracion(m_decl, deQt(destino));
    } catch (const ErrorFichero &e) {
        return aQt(e.what());
    }
    return {};
}

bool DocumentoDeclaracion::esUltimaDeclaracion(const QString &ruta) const
{
    // The same name in the same folder, however the folder was reached. The name itself is
    // not resolved: a save replaces a link at that name, never what it points to.
    const QFileInfo a(ruta), b(m_ruta);
    if (a.fileName() != b.fileName())
        return false;
    const QString carpeta = QFileInfo(a.absolutePath()).canonicalFilePath();
    return !carpeta.isEmpty() && carpeta == QFileInfo(b.absolutePath()).canonicalFilePath();
}

bool DocumentoDeclaracion::guardaCliente(const QString &destino)
{
    if (m_segundaSesion && esUltimaDeclaracion(destino)) {
        MensajeBox::informacion(m_ventana, aQt(MensajeUltimaDeOtraSesion(deQt(nombreDe(destino)))));
        return false;
    }
    if (!tomaCasillas())
        return false;
    if (const QString error = escribeEn(destino); !error.isEmpty()) {
        MensajeBox::informacion(m_ventana, aQt(MensajeNoEscrito(deQt(error))));
        return false;
    }
    ponCliente(destino);
    m_sinGuardar = false;
    return true;
}

bool DocumentoDeclaracion::guardaAlSalir()
{
    // A second session never writes the last declaration: the other one owns it.
    if (m_segundaSesion)
        return guarda();
    if (!tomaCasillas())
        return false;
    // Both files are tried, so one that fails does not stop the other; the message names
    // each. An open client's file with nothing new since it was written is left as it is.
    const bool conCliente = !m_rutaCliente.isEmpty() && m_sinGuardar;
    QString errorCliente;
    if (conCliente) {
        errorCliente = escribeEn(m_rutaCliente);
        if (errorCliente.isEmpty())
            m_sinGuardar = false;
    }
    std::string errorUltima;
    try {
        GuardaUltimaDeclaracion(m_decl, carpetaDe(m_ruta));
    } catch (const ErrorFichero &e) {
        errorUltima = e.what();
    }
    if (errorCliente.isEmpty() && errorUltima.empty())
        return true;
    MensajeBox::informacion(m_ventana, aQt(MensajeFalloAlSalir(conCliente ? deQt(nombreDe(m_rutaCliente)) : std::string(),
                                                               deQt(errorCliente), errorUltima)));
    return false;
}

bool DocumentoDeclaracion::puedeCerrar()
{
    // Leave the box being edited first, so it is saved in its display form; the files keep
    // euros even when the peseta view is on.
    m_hoja.dejaCasilla();
    m_hoja.ponPesetas(false);
    // A second session answers only for its own work, which is lost unless some file has it.
    if (!(m_segundaSesion ? m_sinGuardar : m_modificado))
        return true;
    const QString cliente = m_rutaCliente.isEmpty() ? QString() : nombreDe(m_rutaCliente);
    const MensajeBox::Respuesta r = MensajeBox::preguntaConCancelar(
        m_ventana, aQt(kTituloGrabarAlSalir), aQt(PreguntaAlSalir(m_segundaSesion, deQt(cliente))));
    // Cancelar, or a save that failed or was cancelled, keeps the window and the data on it.
    return r == MensajeBox::No || (r == MensajeBox::Si && guardaAlSalir());
}
