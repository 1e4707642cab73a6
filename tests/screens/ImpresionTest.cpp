// The printed simulation: the page a client receives by e-mail. It must hold the taxpayer and
// the result, print every box whole and nothing at all for an empty one. The PDF is read back
// with poppler's pdftotext and pdfinfo; positions are checked on the page drawn into an image
// at a tenth of a pixel a twip, where the sheet starts 200 twips from the left and 1000 from
// the top.
#include "CampoEdit.h"
#include "DisposicionHoja.h"
#include "ImpresionHoja.h"
#include "MensajeBox.h"
#include "PaginaSimulacion.h"
#include "Precalculo.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

using namespace simulador;

namespace {

QString ejecuta(const QString &programa, const QStringList &argumentos)
{
    QProcess p;
    p.start(programa, argumentos);
    if (!p.waitForFinished(30000))
        return {};
    return QString::fromUtf8(p.readAllStandardOutput());
}

DatosPagina paginaDePrueba()
{
    DatosPagina d;
    d.titulo = TituloSimulacion();
    d.fecha = QStringLiteral("sábado, 5 de diciembre de 2026");
    d.nombre = QStringLiteral("Pérez García, Ana");
    d.modalidad = QStringLiteral("CONJUNTA");
    return d;
}

// 144 dpi: ten twips a pixel, so the page (about 11,500 × 16,000 twips) is drawn unscaled.
QImage dibuja(const DatosPagina &d)
{
    QImage img(1300, 1800, QImage::Format_RGB32);
    img.setDotsPerMeterX(5670);
    img.setDotsPerMeterY(5670);
    img.fill(Qt::white);
    QPainter p(&img);
    DibujaPagina(p, QRectF(img.rect()), d);
    return img;
}

// A box's rectangle on that image.
QRect enImagen(int casilla)
{
    const Rectangulo &r = Disposicion().casilla(casilla).r;
    return {(200 + r.x * kTwipsPorPixel) / 10, (1000 + r.y * kTwipsPorPixel) / 10, r.ancho * kTwipsPorPixel / 10,
            r.alto * kTwipsPorPixel / 10};
}

bool hayTinta(const QImage &img, const QRect &zona)
{
    for (int y = zona.top(); y <= zona.bottom(); ++y)
        for (int x = zona.left(); x <= zona.right(); ++x)
            if (qGray(img.pixel(x, y)) < 200)
                return true;
    return false;
}

}  // namespace

class ImpresionTest : public QObject {
    Q_OBJECT
private slots:
    void pdfDeUnaPagina();
    void casillaImpresa_data();
    void casillaImpresa();
    void textoLargoSeImprimeEntero();
    void botonesDeLaVentana();

private:
    QTemporaryDir m_dir;
};

void ImpresionTest::pdfDeUnaPagina()
{
    DatosPagina d = paginaDePrueba();
    d.casillas[106] = QStringLiteral("-1.438,24");
    d.casillas[5] = QStringLiteral("49.507,50");
    const QString ruta = m_dir.filePath(QStringLiteral("ana.pdf"));
    QString error;
    QVERIFY2(ExportaPdf(d, ruta, &error), qPrintable(error));

    const QString info = ejecuta(QStringLiteral("pdfinfo"), {ruta});
    QVERIFY2(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+1\\n"))), qPrintable(info));
    QVERIFY2(info.contains(QStringLiteral("(A4)")), qPrintable(info));

    // -layout keeps each line of the page on one line of text: the result's caption and its
    // amount must sit on the same row.
    const QString texto = ejecuta(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), ruta, QStringLiteral("-")});
    QVERIFY(texto.contains(QStringLiteral("Apellidos y Nombre: Pérez García, Ana")));
    QVERIFY(texto.contains(QStringLiteral("Kalvio Profesionales - Simulación IRPF 2021")));
    QVERIFY(texto.contains(QStringLiteral("sábado, 5 de diciembre de 2026")));
    QVERIFY(texto.contains(QStringLiteral("Liquidación CONJUNTA")));
    const QStringList lineas = texto.split(QLatin1Char('\n'));
    const auto resultado = std::find_if(lineas.begin(), lineas.end(),
                                        [](const QString &l) { return l.contains(QStringLiteral("RESULTADO DECLARACIÓN")); });
    QVERIFY(resultado != lineas.end());
    QVERIFY2(resultado->contains(QStringLiteral("-1.438,24")), qPrintable(*resultado));

    QVERIFY(!ExportaPdf(d, m_dir.filePath(QStringLiteral("no/existe/ana.pdf")), &error));
    QVERIFY(error.contains(QStringLiteral("no/existe/ana.pdf")));
}

void ImpresionTest::casillaImpresa_data()
{
    QTest::addColumn<int>("casilla");
    QTest::addColumn<QString>("texto");
    QTest::addColumn<bool>("impresa");
    QTest::newRow("vacía: ni texto ni marco") << 0 << QString() << false;
    QTest::newRow("solo blancos: como vacía") << 0 << QStringLiteral("   ") << false;
    QTest::newRow("cero escrito: se imprime") << 0 << QStringLiteral("0,00") << true;
    QTest::newRow("pesetas sin decimales") << 106 << QStringLiteral("-239.303") << true;
    QTest::newRow("oculta con texto: en su sitio") << 93 << QStringLiteral("12,50") << true;
}

void ImpresionTest::casillaImpresa()
{
    QFETCH(int, casilla);
    QFETCH(QString, texto);
    QFETCH(bool, impresa);
    DatosPagina d = paginaDePrueba();
    d.casillas[static_cast<std::size_t>(casilla)] = texto;
    // The frame and the text fall inside the box's rectangle, give or take the frame's pen.
    const QImage img = dibuja(d);
    QCOMPARE(hayTinta(img, enImagen(casilla).adjusted(-1, -1, 1, 1)), impresa);
    if (impresa) {
        const QString ruta = m_dir.filePath(QStringLiteral("casilla.pdf"));
        QVERIFY(ExportaPdf(d, ruta, nullptr));
        QVERIFY(ejecuta(QStringLiteral("pdftotext"), {ruta, QStringLiteral("-")}).contains(texto));
    }
}

// Wider than 13 characters, in the narrow boxes of a three-column row: the text is printed
// whole and stays inside its frame, leaving the gap to the box on its left clean.
void ImpresionTest::textoLargoSeImprimeEntero()
{
    DatosPagina d = paginaDePrueba();
    d.casillas[41] = QStringLiteral("-12.345.678,90");
    const QImage img = dibuja(d);
    const QRect caja = enImagen(41);
    QVERIFY(hayTinta(img, caja));
    const QRect izquierda = enImagen(40);
    QVERIFY(!hayTinta(img, QRect(QPoint(izquierda.left(), caja.top() + 2), QPoint(caja.left() - 2, caja.bottom() - 2))));

    const QString ruta = m_dir.filePath(QStringLiteral("largo.pdf"));
    QVERIFY(ExportaPdf(d, ruta, nullptr));
    QVERIFY(ejecuta(QStringLiteral("pdftotext"), {ruta, QStringLiteral("-")}).contains(QStringLiteral("-12.345.678,90")));
}

// The main window reaches the about box, the print dialog and the file dialog of "Exportar
// PDF"; cancelling either dialog says nothing. The export writes what the boxes show.
void ImpresionTest::botonesDeLaVentana()
{
    Precalculo p;
    InstalaImpresion(p);
    auto boton = [&](const QString &ayuda) {
        for (QAbstractButton *b : p.findChildren<QAbstractButton *>())
            if (b->toolTip() == ayuda)
                return b;
        return static_cast<QAbstractButton *>(nullptr);
    };
    QString abierto, titulo;
    auto cierraModal = [&] {
        QTimer::singleShot(0, [&] {
            if (auto *w = qobject_cast<QDialog *>(QApplication::activeModalWidget())) {
                abierto = QString::fromLatin1(w->metaObject()->className());
                titulo = w->windowTitle();
                w->reject();
            }
        });
    };

    QAbstractButton *acerca = boton(QStringLiteral(" Acerca de ... "));
    QVERIFY(acerca);
    cierraModal();
    acerca->click();
    QCOMPARE(abierto, QStringLiteral("AcercaDe"));

    QAbstractButton *imprimir = boton(QStringLiteral(" Imprimir "));
    QVERIFY(imprimir);
    MensajeBox::olvidaUltimo();
    abierto.clear();
    cierraModal();
    imprimir->click();
    QVERIFY(abierto.contains(QStringLiteral("PrintDialog")));
    QVERIFY(MensajeBox::ultimoTexto().isEmpty());

    QAction *exportar = p.findChild<QAction *>(QStringLiteral("ExportarPdf"));
    QVERIFY(exportar && exportar->isEnabled());
    abierto.clear();
    cierraModal();
    exportar->trigger();
    QCOMPARE(abierto, QStringLiteral("QFileDialog"));
    QCOMPARE(titulo, QStringLiteral("Exportar PDF"));
    QVERIFY(MensajeBox::ultimoTexto().isEmpty());

    p.casilla(106)->setText(QStringLiteral("-1.438,24"));
    p.casilla(9)->setText(QStringLiteral("0,00"));
    const QString ruta = m_dir.filePath(QStringLiteral("ventana.pdf"));
    QVERIFY(ExportaPdfEn(p, ruta));
    const QString texto = ejecuta(QStringLiteral("pdftotext"), {ruta, QStringLiteral("-")});
    QVERIFY(texto.contains(QStringLiteral("-1.438,24")));
    QVERIFY(texto.contains(QStringLiteral("0,00")));
    QVERIFY(texto.contains(QStringLiteral("Liquidación CONJUNTA")));
}

QTEST_MAIN(ImpresionTest)
#include "ImpresionTest.moc"
