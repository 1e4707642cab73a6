// The printed simulation, the page a client receives: the taxpayer and the result, every box
// whole and nothing for an empty one. The PDF is read back with poppler's pdftotext and pdfinfo;
// positions are checked on the page drawn into an image, the sheet 200 twips from the left and
// 1000 from the top.
#include "CampoEdit.h"
#include "DisposicionHoja.h"
#include "ImpresionHoja.h"
#include "MensajeBox.h"
#include "PaginaExplicacion.h"
#include "Precalculo.h"
#include "Teclado.h"

#include <QAbstractButton>
#include <QAction>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QTemporaryDir>

using namespace simulador;

namespace {

QString ejecuta(const QString &programa, const QStringList &argumentos)
{
    QProcess p;
    p.start(programa, argumentos);
    return p.waitForFinished(30000) ? QString::fromUtf8(p.readAllStandardOutput()) : QString();
}

DatosPagina paginaDePrueba()
{
    return {TituloSimulacion(), QStringLiteral("sábado, 5 de diciembre de 2026"), QStringLiteral("Pérez García, Ana"),
            QStringLiteral("CONJUNTA"), false, {}};
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
    QTemporaryDir m_dir;

private slots:
    void pdfDeUnaPagina()
    {
        DatosPagina d = paginaDePrueba();
        d.casillas[106] = QStringLiteral("-1.438,24");
        d.casillas[93] = QStringLiteral("12,50");  // a box the sheet hides, printed in its place
        const QString ruta = m_dir.filePath(QStringLiteral("ana.pdf"));
        QString error;
        QVERIFY2(ExportaPdf(d, ruta, &error), qPrintable(error));

        const QString info = ejecuta(QStringLiteral("pdfinfo"), {ruta});
        QVERIFY2(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+1\\n"))), qPrintable(info));
        QVERIFY2(info.contains(QStringLiteral("(A4)")), qPrintable(info));

        // -layout keeps each line of the page on one line of text: the result's caption and its
        // amount must sit on the same row.
        const QString texto = ejecuta(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), ruta, QStringLiteral("-")});
        for (const char *linea : {"Apellidos y Nombre: Pérez García, Ana", "Kalvio Profesionales - Simulación IRPF 2021",
                                  "sábado, 5 de diciembre de 2026", "Liquidación CONJUNTA", "12,50"})
            QVERIFY2(texto.contains(QString::fromUtf8(linea)), linea);
        const QStringList lineas = texto.split(QLatin1Char('\n'));
        const auto resultado = std::find_if(lineas.begin(), lineas.end(),
                                            [](const QString &l) { return l.contains(QStringLiteral("RESULTADO DECLARACIÓN")); });
        QVERIFY(resultado != lineas.end());
        QVERIFY2(resultado->contains(QStringLiteral("-1.438,24")), qPrintable(*resultado));

        QVERIFY(!ExportaPdf(d, m_dir.filePath(QStringLiteral("no/existe/ana.pdf")), &error));
        QVERIFY(error.contains(QStringLiteral("no/existe/ana.pdf")));
    }

    void casillaImpresa_data()
    {
        QTest::addColumn<int>("casilla");
        QTest::addColumn<QString>("texto");
        QTest::addColumn<bool>("impresa");
        QTest::addColumn<int>("vecina");  // the empty box on its left, whose gap stays clean
        QTest::newRow("vacía: ni texto ni marco") << 0 << QString() << false << -1;
        QTest::newRow("solo blancos: como vacía") << 0 << QStringLiteral("   ") << false << -1;
        QTest::newRow("cero escrito: se imprime") << 0 << QStringLiteral("0,00") << true << -1;
        QTest::newRow("pesetas sin decimales") << 106 << QStringLiteral("-239.303") << true << -1;
        QTest::newRow("oculta con texto: en su sitio") << 93 << QStringLiteral("12,50") << true << -1;
        // Wider than 13 characters, in the narrow boxes of a three-column row.
        QTest::newRow("texto largo: entero y en su marco") << 41 << QStringLiteral("-12.345.678,90") << true << 40;
    }

    // The frame and the text fall inside the box's rectangle, give or take the frame's pen.
    void casillaImpresa()
    {
        QFETCH(int, casilla);
        QFETCH(QString, texto);
        QFETCH(bool, impresa);
        QFETCH(int, vecina);
        DatosPagina d = paginaDePrueba();
        d.casillas[static_cast<std::size_t>(casilla)] = texto;
        const QImage img = dibuja(d);
        const QRect caja = enImagen(casilla);
        QCOMPARE(hayTinta(img, caja.adjusted(-1, -1, 1, 1)), impresa);
        if (vecina >= 0)
            QVERIFY(!hayTinta(img, QRect(QPoint(enImagen(vecina).left(), caja.top() + 2), caja.bottomLeft() - QPoint(2, 2))));
    }

    // The explanation of a box over several pages: every line printed once, in order, none
    // lost or repeated where a page ends, each page headed and numbered.
    void explicacionPaginada()
    {
        DatosExplicacion d{paginaDePrueba(), QStringLiteral("Detalle de la casilla 106"), {}};
        // A4 less 10 mm margins is 277 mm, 15,704 twips; less the heading and subject (1,400)
        // and the foot (200), 14,104 twips hold 70 lines of 200: 150 lines take 70 + 70 + 10.
        const int lineas = 150;
        for (int i = 1; i <= lineas; ++i)
            d.texto += QStringLiteral("%1+ Término %2%3\n").arg(QString(2 * (i % 5), u' ')).arg(i).arg(QStringLiteral("1.234,56"), 20);
        const QString ruta = m_dir.filePath(QStringLiteral("detalle.pdf"));
        {
            QPdfWriter pdf(ruta);
            pdf.setPageSize(QPageSize(QPageSize::A4));
            pdf.setPageMargins(QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter);
            QPainter p(&pdf);
            QCOMPARE(DibujaExplicacion(p, pdf, QRectF(0, 0, pdf.width(), pdf.height()), d), 3);
        }
        const QString texto = ejecuta(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), ruta, QStringLiteral("-")});
        QCOMPARE(texto.count(QStringLiteral("Detalle de la casilla 106")), 3);
        QVERIFY(texto.contains(QStringLiteral("Página 3 de 3")));
        QCOMPARE(texto.count(QStringLiteral("Apellidos y Nombre: Pérez García, Ana")), 3);
        const QRegularExpression termino(QStringLiteral("Término (\\d+) +1\\.234,56"));
        int esperado = 1;
        for (auto m = termino.globalMatch(texto); m.hasNext(); ++esperado)
            QCOMPARE(m.next().captured(1).toInt(), esperado);
        QCOMPARE(esperado, lineas + 1);
    }

    // The main window reaches the about box, the print dialog and the file dialog of "Exportar
    // PDF"; cancelling either dialog says nothing. The export writes what the boxes show.
    void botonesDeLaVentana()
    {
        Precalculo p;
        InstalaImpresion(p);
        QStringList abiertos;  // each dialog's class and title; cuandoAbra then cancels it
        const auto anota = [&abiertos] {
            cuandoAbra<QDialog>([&abiertos](QDialog *w) { abiertos << w->metaObject()->className() + (':' + w->windowTitle()); });
        };
        anota();
        p.findChild<QAbstractButton *>("CmOp1")->click();  // " Acerca de ... "
        anota();
        p.findChild<QAbstractButton *>("CmOp4")->click();  // " Imprimir "
        anota();
        p.findChild<QAction *>(QStringLiteral("ExportarPdf"))->trigger();
        QCOMPARE(abiertos, (QStringList{"AcercaDe:Acerca de ...", "QPrintDialog:Imprimir", "QFileDialog:Exportar PDF"}));
        QVERIFY(MensajeBox::textos().isEmpty());

        p.casilla(106)->setText(QStringLiteral("-1.438,24"));
        const QString ruta = m_dir.filePath(QStringLiteral("ventana.pdf"));
        QVERIFY(ExportaPdfEn(p, ruta));
        const QString texto = ejecuta(QStringLiteral("pdftotext"), {ruta, QStringLiteral("-")});
        QVERIFY(texto.contains(QStringLiteral("-1.438,24")));
        QVERIFY(texto.contains(QStringLiteral("Liquidación CONJUNTA")));
    }
};

QTEST_MAIN(ImpresionTest)
#include "ImpresionTest.moc"
