#include "FicherosRecientes.h"

#include <QFileInfo>
#include <QSettings>

namespace {

const QString kClave = QStringLiteral("ficherosRecientes");

// Named here rather than taken from the application object, so the list is the same
// whichever program (the simulator or a test) opens it.
const QString kOrganizacion = QStringLiteral("simulador");
const QString kAplicacion = QStringLiteral("simulador");

void guarda(const QStringList &l)
{
    QSettings s(kOrganizacion, kAplicacion);
    s.setValue(kClave, l);
}

}  // namespace

QStringList FicherosRecientes::lista()
{
    QSettings s(kOrganizacion, kAplicacion);
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

void FicherosRecientes::quita(const QString &ruta)
{
    QStringList l = lista();
    if (l.removeAll(QFileInfo(ruta).absoluteFilePath()) > 0)
        guarda(l);
}
