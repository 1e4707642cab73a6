#include "ImpresionSimulacion.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QStandardPaths>

namespace {

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

QString Imprime(QWidget *padre, const QString &nombre, const std::function<void(QPainter &, QPrinter &)> &dibuja)
{
    QPrinter impresora(QPrinter::HighResolution);
    impresora.setDocName(nombre);
    QPrintDialog dialogo(&impresora, padre);
    dialogo.setWindowTitle(QStringLiteral("Imprimir"));
    // Qt's "print to file" writes the PDF in place and readable by everyone; "Exportar PDF"
    // writes it whole or not at all, private to the user.
    dialogo.setOption(QAbstractPrintDialog::PrintToFile, false);
    if (dialogo.exec() != QDialog::Accepted)
        return {};

    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    QPainter pintor;
    const bool ok = pintor.begin(&impresora);
    if (ok) {
        dibuja(pintor, impresora);
        pintor.end();
    }
    QGuiApplication::restoreOverrideCursor();
    return ok ? QString() : QStringLiteral("No se ha podido imprimir en «%1».").arg(impresora.printerName());
}

QString ImprimeSimulacion(QWidget *padre, const std::function<DatosPagina()> &pagina)
{
    return Imprime(padre, QStringLiteral("Simulación IRPF 2021"), [&pagina](QPainter &p, QPrinter &impresora) {
        DibujaPagina(p, QRectF(QPointF(0, 0), impresora.pageRect(QPrinter::DevicePixel).size()), pagina());
    });
}

QString EligeFicheroPdf(QWidget *padre, const QString &contribuyente)
{
    // The folder chosen last time, while the program runs; the documents folder at first.
    static QString carpeta = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString propuesta = QDir(carpeta).filePath(nombreFichero(contribuyente));
    QString ruta = QFileDialog::getSaveFileName(padre, QStringLiteral("Exportar PDF"), propuesta,
                                                QStringLiteral("Documentos PDF (*.pdf)"));
    if (ruta.isEmpty())
        return {};
    if (!ruta.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive))
        ruta += QStringLiteral(".pdf");
    carpeta = QFileInfo(ruta).absolutePath();
    return ruta;
}
