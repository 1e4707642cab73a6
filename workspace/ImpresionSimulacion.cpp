#include "ImpresionSimulacion.h"

#include "AcercaDe.h"
#include "MensajeBox.h"
#include "Precalculo.h"
#include "TextoQt.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QStandardPaths>

using namespace simulador;

namespace {

// Before reading the boxes, the box being edited is left, so it is printed in its display
// form ("1.234,56"), as every command button of the window does.
void dejaCasilla(Precalculo &p)
{
    if (p.hoja() && p.hoja()->isEnabled())
        p.hoja()->setFocus();
}

// "Simulación IRPF 2021 - Pérez García, Ana.pdf"; characters a file name cannot hold on the
// professionals' machines (or on the client's, once sent) become blanks.
QString nombreFichero(const QString &contribuyente)
{
    QString limpio;
    for (const QChar c : contribuyente.simplified())
        limpio += QStringLiteral("\\/:*?\"<>|").contains(c) ? QChar(u' ') : c;
    limpio = limpio.simplified();
    return QStringLiteral("Simulación IRPF 2021") + (limpio.isEmpty() ? QString() : QStringLiteral(" - ") + limpio) +
           QStringLiteral(".pdf");
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

void ImprimeSimulacion(Precalculo &p)
{
    dejaCasilla(p);
    QPrinter impresora(QPrinter::HighResolution);
    impresora.setDocName(QStringLiteral("Simulación IRPF 2021"));
    QPrintDialog dialogo(&impresora, &p);
    dialogo.setWindowTitle(QStringLiteral("Imprimir"));
    // Qt's "print to file" writes the PDF in place and readable by everyone; "Exportar PDF"
    // writes it whole or not at all, private to the user.
    dialogo.setOption(QAbstractPrintDialog::PrintToFile, false);
    if (dialogo.exec() != QDialog::Accepted)
        return;

    QApplication::setOverrideCursor(Qt::WaitCursor);
    QPainter pintor;
    const bool ok = pintor.begin(&impresora);
    if (ok) {
        const QRectF area(QPointF(0, 0), impresora.pageRect(QPrinter::DevicePixel).size());
        DibujaPagina(pintor, area, DatosDePrecalculo(p));
        pintor.end();
    }
    QApplication::restoreOverrideCursor();
    if (!ok)
        MensajeBox::informacion(&p, QStringLiteral("No se ha podido imprimir en «%1».").arg(impresora.printerName()));
}

bool ExportaPdfEn(Precalculo &p, const QString &ruta)
{
    dejaCasilla(p);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QString error;
    const bool ok = ExportaPdf(DatosDePrecalculo(p), ruta, &error);
    QApplication::restoreOverrideCursor();
    if (!ok)
        MensajeBox::informacion(&p, error, QStringLiteral("Exportar PDF"));
    return ok;
}

void ExportaPdfDesde(Precalculo &p)
{
    // The folder chosen last time, while the program runs; the documents folder at first.
    static QString carpeta = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString propuesta = QDir(carpeta).filePath(nombreFichero(aQt(p.declaracion().Nombre)));
    QString ruta = QFileDialog::getSaveFileName(&p, QStringLiteral("Exportar PDF"), propuesta,
                                                QStringLiteral("Documentos PDF (*.pdf)"));
    if (ruta.isEmpty())
        return;
    if (!ruta.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive))
        ruta += QStringLiteral(".pdf");
    carpeta = QFileInfo(ruta).absolutePath();
    ExportaPdfEn(p, ruta);
}

void InstalaImpresion(Precalculo &p)
{
    p.setImprimir(ImprimeSimulacion);
    p.setExportarPdf(ExportaPdfDesde);
    p.setAcercaDe([](QWidget *padre) {
        AcercaDe acerca(padre);
        acerca.exec();
    });
}
