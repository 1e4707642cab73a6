#include "FicherosRecientes.h"

#include "FicheroPrivado.h"

#include <QFile>
#include <QFileInfo>
#include <QSettings>

namespace {

const QString kClave = QStringLiteral("ficherosRecientes");

// Named here rather than taken from the application object, so the list is the same
// whichever program (the simulator or a test) opens it.
const QString kOrganizacion = QStringLiteral("simulador");
const QString kAplicacion = QStringLiteral("simulador");

// The list names clients' files, but QSettings makes its folder and file readable by every
// user (0755 and 0644; it keeps the mode of a file that exists). So the folder is made 0700
// and the file 0600 before QSettings touches them. False when either is not the user's own
// real folder or file (a link, another user's): then the list is neither read nor kept.
bool ajustesPrivados(const QSettings &s)
{
    const QFileInfo f(s.fileName());
    try {
        const simulador::CarpetaPrivada carpeta(QFile::encodeName(f.absolutePath()).toStdString(),
                                                simulador::CarpetaPrivada::Apertura::CreaYCorrige);
        carpeta.preparaFichero(QFile::encodeName(f.fileName()).toStdString());
        return true;
    } catch (const simulador::ErrorRuta &) {
        return false;
    }
}

void guarda(const QStringList &l)
{
    QSettings s(kOrganizacion, kAplicacion);
    if (ajustesPrivados(s))
        s.setValue(kClave, l);
}

}  // namespace

QStringList FicherosRecientes::lista()
{
    QSettings s(kOrganizacion, kAplicacion);
    if (!ajustesPrivados(s))
        return {};
    QStringList l = s.value(kClave).toStringList();
    l.removeAll(QString());
    while (l.size() > kMaximo)
        l.removeLast();
    return l;
}

void FicherosRecientes::anade(const QString &ruta)
{
    const QString absoluta = QFileInfo(ruta).absoluteFilePath();
    QStringList l = lista();
    l.removeAll(absoluta);
    l.prepend(absoluta);
    while (l.size() > kMaximo)
        l.removeLast();
    guarda(l);
}

void FicherosRecientes::protegeDialogos()
{
    const QFileInfo f(QSettings(QSettings::UserScope, QStringLiteral("QtProject")).fileName());
    try {
        simulador::PreparaFicheroPrivado(QFile::encodeName(f.absolutePath()).toStdString(),
                                         QFile::encodeName(f.fileName()).toStdString());
    } catch (const simulador::ErrorRuta &) {
        // A link or another user's file there: left alone, as Qt itself would.
    }
}

void FicherosRecientes::quita(const QString &ruta)
{
    QStringList l = lista();
    if (l.removeAll(QFileInfo(ruta).absoluteFilePath()) > 0)
        guarda(l);
}
