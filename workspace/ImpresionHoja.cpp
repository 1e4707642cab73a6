#include "ImpresionHoja.h"

#include "AcercaDe.h"
#include "ImpresionSimulacion.h"
#include "MensajeBox.h"
#include "Precalculo.h"
#include "TextoQt.h"

#include <QGuiApplication>

using namespace simulador;

namespace {

// Before reading the boxes, the box being edited is left, so it is printed in its display
// form ("1.234,56"), as every command button of the window does.
void dejaCasilla(Precalculo &p)
{
    if (p.hoja() && p.hoja()->isEnabled())
        p.hoja()->setFocus();
}

void imprime(Precalculo &p)
{
    dejaCasilla(p);
    const QString error = ImprimeSimulacion(&p, [&p] { return DatosDePrecalculo(p); });
    if (!error.isEmpty())
        MensajeBox::informacion(&p, error);
}

void exportaPdf(Precalculo &p)
{
    const QString ruta = EligeFicheroPdf(&p, aQt(p.declaracion().Nombre));
    if (!ruta.isEmpty())
        ExportaPdfEn(p, ruta);
}

}  // namespace

DatosPagina DatosDePrecalculo(const Precalculo &p)
{
    DatosPagina d;
    d.titulo = TituloSimulacion();
    d.fecha = FechaImpresion(QDate::currentDate());
    d.nombre = aQt(p.declaracion().Nombre);
    d.modalidad = TextoModalidad(p.modalidad());
    d.enPesetas = p.enPesetas();
    for (int n = 0; n < kNumCasillas; ++n)
        d.casillas[static_cast<std::size_t>(n)] = p.textoCasilla(n);
    return d;
}

bool ExportaPdfEn(Precalculo &p, const QString &ruta)
{
    dejaCasilla(p);
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    QString error;
    const bool ok = ExportaPdf(DatosDePrecalculo(p), ruta, &error);
    QGuiApplication::restoreOverrideCursor();
    if (!ok)
        MensajeBox::informacion(&p, error, QStringLiteral("Exportar PDF"));
    return ok;
}

void InstalaImpresion(Precalculo &p)
{
    p.setImprimir(imprime);
    p.setExportarPdf(exportaPdf);
    p.setAcercaDe([](QWidget *padre) {
        AcercaDe acerca(padre);
        acerca.exec();
    });
}
