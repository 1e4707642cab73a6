// The main workspace driven as a user drives it: keys into the sheet, the selector, the
// peseta view, the questions at start and exit. Offscreen; the temporary folder is a fresh
// one per test through TMPDIR, so the saved declaration never touches the real one.
#include "CampoEdit.h"
#include "MensajeBox.h"
#include "Precalculo.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QRadioButton>
#include <QScrollBar>
#include <QSet>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

class PrecalculoTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { m_tmpdirOriginal = qgetenv("TMPDIR"); }
    void init();
    void cleanup();
    void enterEnUnaCasillaCambiadaRecalcula();
    void casillaSinCambiosNoRecalcula_data();
    void casillaSinCambiosNoRecalcula();
    void importeFueraDeRangoDejaLaHoja();
    void selectorCambiaLaLiquidacion();
    void elFocoSaltaLasCasillasProtegidas_data();
    void elFocoSaltaLasCasillasProtegidas();
    void controlFinYControlInicio();
    void vistaEnPesetasYVuelta();
    void preguntasAlSalirYAlEntrar();
    void apartadoSinAutonomia();
    void inicializarCampos();
    void capturaDeLaVentana();

private:
    std::unique_ptr<Precalculo> arranca();
    CampoEdit *caja(int n) const { return m_w->casilla(n); }
    void escribe(int n, const char *texto);

    QByteArray m_tmpdirOriginal;
    std::unique_ptr<QTemporaryDir> m_tmp;
    std::unique_ptr<Precalculo> m_w;
};

void PrecalculoTest::init()
{
    m_tmp = std::make_unique<QTemporaryDir>();
    QVERIFY(m_tmp->isValid());
    qputenv("TMPDIR", m_tmp->path().toLocal8Bit());
    MensajeBox::setNextAnswer(MensajeBox::Ninguna);
    MensajeBox::olvidaUltimo();
}

void PrecalculoTest::cleanup()
{
    if (m_w) {
        MensajeBox::setNextAnswer(MensajeBox::No);
        m_w->close();
        m_w.reset();
    }
    MensajeBox::setNextAnswer(MensajeBox::Ninguna);
    // The next test's folder must not be made inside this one, which goes with it.
    m_tmp.reset();
    qputenv("TMPDIR", m_tmpdirOriginal);
}

std::unique_ptr<Precalculo> PrecalculoTest::arranca()
{
    auto w = std::make_unique<Precalculo>();
    w->show();
    w->activateWindow();
    if (!QTest::qWaitForWindowActive(w.get()))
        return nullptr;
    if (!QTest::qWaitFor([&w] { return w->listo() && w->casilla(9)->hasFocus(); }, 2000))
        return nullptr;
    return w;
}

// Focus on the box, type over its selected text as a user would.
void PrecalculoTest::escribe(int n, const char *texto)
{
    caja(n)->setFocus();
    QTRY_VERIFY(caja(n)->hasFocus());
    QTest::keyClicks(caja(n), QString::fromLatin1(texto));
}

void PrecalculoTest::enterEnUnaCasillaCambiadaRecalcula()
{
    m_w = arranca();
    QVERIFY(m_w);
    escribe(21, "1000");
    QCOMPARE(caja(21)->text(), QStringLiteral("1000"));
    QTest::keyClick(caja(21), Qt::Key_Return);
    // Box 23 is the sum of the special regimes typed in 21 and 22.
    QCOMPARE(caja(23)->text(), QStringLiteral("1.000,00"));
    QTRY_VERIFY(caja(22)->hasFocus());  // the next input box in the tab order
    QCOMPARE(caja(21)->text(), QStringLiteral("1.000,00"));  // left: the display form
    QCOMPARE(caja(22)->text(), QStringLiteral("0,00"));
    QVERIFY(m_w->modificado());
}

void PrecalculoTest::casillaSinCambiosNoRecalcula_data()
{
    QTest::addColumn<QString>("tecleado");
    QTest::addColumn<bool>("recalcula");
    QTest::newRow("same text") << QString() << false;
    QTest::newRow("0 for 0,00") << QStringLiteral("0") << false;
    QTest::newRow("emptied box counts as 0") << QStringLiteral("\b") << false;
    QTest::newRow("a new amount") << QStringLiteral("5") << true;
}

void PrecalculoTest::casillaSinCambiosNoRecalcula()
{
    QFETCH(QString, tecleado);
    QFETCH(bool, recalcula);
    m_w = arranca();
    QVERIFY(m_w);
    // A stale text in a result box shows whether the sheet was rewritten.
    caja(23)->setText(QStringLiteral("marca"));
    caja(21)->setFocus();
    QTRY_VERIFY(caja(21)->hasFocus());
    for (const QChar c : tecleado)
        QTest::keyClick(caja(21), c == QLatin1Char('\b') ? Qt::Key_Backspace : Qt::Key(c.unicode()));
    QTest::keyClick(caja(21), Qt::Key_Down);
    QCOMPARE(caja(23)->text(), recalcula ? QStringLiteral("5,00") : QStringLiteral("marca"));
    QTRY_VERIFY(caja(22)->hasFocus());
}

void PrecalculoTest::importeFueraDeRangoDejaLaHoja()
{
    m_w = arranca();
    QVERIFY(m_w);
    escribe(21, "1000");
    QTest::keyClick(caja(21), Qt::Key_Return);
    QTRY_VERIFY(caja(22)->hasFocus());
    // Pasted, not typed: the key filter would never let 21 digits in.
    caja(22)->setText(QStringLiteral("999999999999999999999"));
    MensajeBox::setNextAnswer(MensajeBox::Aceptar);
    QTest::keyClick(caja(22), Qt::Key_Return);
    QVERIFY(MensajeBox::ultimoTexto().contains(QStringLiteral("fuera de rango")));
    QCOMPARE(MensajeBox::ultimoTitulo(), QStringLiteral("Información"));
    QCOMPARE(caja(22)->text(), QStringLiteral("0,00"));
    QCOMPARE(caja(23)->text(), QStringLiteral("1.000,00"));
    QTest::qWait(20);
    QVERIFY(caja(22)->hasFocus());
}

void PrecalculoTest::selectorCambiaLaLiquidacion()
{
    m_w = arranca();
    QVERIFY(m_w);
    int llamadas = 0;
    m_w->registraPantalla(0, [&llamadas](simulador::Declaracion &d, QWidget *) {
        ++llamadas;
        d.Miembros[0].AnoNac = 1970;
        d.Miembros[0].Edad = 51;
        d.Miembros[1].AnoNac = 1972;
        d.Miembros[1].Edad = 49;
        return true;
    });
    QTest::mouseClick(m_w->findChild<QAbstractButton *>(QStringLiteral("CmOp3")), Qt::LeftButton);
    QCOMPARE(llamadas, 1);
    // A married couple filing jointly reduces the base by 3.400 (art. 84.2.3 LIRPF); an
    // individual liquidation has no such reduction.
    QCOMPARE(caja(29)->text(), QStringLiteral("3.400,00"));
    QTRY_VERIFY(caja(9)->hasFocus());
    auto *cb = m_w->findChild<QComboBox *>(QStringLiteral("Cb"));
    QCOMPARE(cb->count(), 3);
    QCOMPARE(cb->itemText(2), QStringLiteral("CONYUGE"));
    cb->setCurrentIndex(1);
    QCOMPARE(m_w->modalidad(), 1);
    QCOMPARE(caja(29)->text(), QString());
    QCOMPARE(m_w->barra()->value(), 0);
    cb->setCurrentIndex(0);
    QCOMPARE(caja(29)->text(), QStringLiteral("3.400,00"));
}

void PrecalculoTest::elFocoSaltaLasCasillasProtegidas_data()
{
    QTest::addColumn<int>("desde");
    QTest::addColumn<int>("tecla");
    QTest::addColumn<int>("hasta");
    QTest::newRow("down from the first input") << 9 << int(Qt::Key_Down) << 21;
    QTest::newRow("hidden 59 is passed over") << 26 << int(Qt::Key_Return) << 87;
    QTest::newRow("up goes back") << 21 << int(Qt::Key_Up) << 9;
    QTest::newRow("hidden 107 and 93 passed over") << 101 << int(Qt::Key_Down) << 12;
    QTest::newRow("last input box to the first result box") << 84 << int(Qt::Key_Tab) << 91;
}

void PrecalculoTest::elFocoSaltaLasCasillasProtegidas()
{
    QFETCH(int, desde);
    QFETCH(int, tecla);
    QFETCH(int, hasta);
    m_w = arranca();
    QVERIFY(m_w);
    caja(desde)->setFocus();
    QTRY_VERIFY(caja(desde)->hasFocus());
    QTest::keyClick(caja(desde), Qt::Key(tecla));
    QTRY_VERIFY(caja(hasta)->hasFocus());
    // The box in focus lies inside the window.
    const QPoint p = caja(hasta)->mapTo(m_w->hoja()->parentWidget(), QPoint(0, 0));
    QVERIFY(p.y() >= 0);
    QVERIFY(p.y() + caja(hasta)->height() <= m_w->hoja()->parentWidget()->height());
}

void PrecalculoTest::controlFinYControlInicio()
{
    m_w = arranca();
    QVERIFY(m_w);
    QTest::keyClick(caja(9), Qt::Key_End, Qt::ControlModifier);
    QTRY_VERIFY(caja(84)->hasFocus());
    QCOMPARE(m_w->barra()->value(), m_w->barra()->maximum());
    QTest::keyClick(caja(84), Qt::Key_PageDown);  // already at the end
    QCOMPARE(m_w->barra()->value(), m_w->barra()->maximum());
    // A protected box handed the focus passes it on, to the selector after the last box.
    caja(0)->setFocus();
    QTRY_VERIFY(m_w->findChild<QComboBox *>(QStringLiteral("Cb"))->hasFocus());
    caja(84)->setFocus();
    QTRY_VERIFY(caja(84)->hasFocus());
    QTest::keyClick(caja(84), Qt::Key_Home, Qt::ControlModifier);
    QTRY_VERIFY(caja(9)->hasFocus());
    QCOMPARE(m_w->barra()->value(), 0);
    QTest::keyClick(caja(9), Qt::Key_PageDown);
    QCOMPARE(m_w->barra()->value(), m_w->barra()->singleStep());
    QTest::keyClick(caja(9), Qt::Key_Up);  // scrolls back to the top and stays
    QCOMPARE(m_w->barra()->value(), 0);
    QVERIFY(caja(9)->hasFocus());
    // Enter in the last input box after a change: recalculates, shows the end, keeps the focus.
    escribe(84, "12");
    QTest::keyClick(caja(84), Qt::Key_Return);
    QCOMPARE(m_w->barra()->value(), m_w->barra()->maximum());
    QTest::qWait(20);
    QVERIFY(caja(84)->hasFocus());
}

void PrecalculoTest::vistaEnPesetasYVuelta()
{
    m_w = arranca();
    QVERIFY(m_w);
    escribe(21, "6.01");
    QTest::keyClick(caja(21), Qt::Key_Return);
    QTRY_VERIFY(caja(22)->hasFocus());
    QStringList antes;
    for (int n = 0; n < 109; ++n)
        antes << caja(n)->text();
    m_w->findChild<QRadioButton *>(QStringLiteral("Option1_1"))->click();
    // 6,01 € × 166.386 = 999,98 pesetas, shown as 1.000; 0,00 € is no amount in pesetas.
    QCOMPARE(caja(21)->text(), QStringLiteral("1.000"));
    QCOMPARE(caja(23)->text(), QStringLiteral("1.000"));
    QCOMPARE(caja(22)->text(), QString());
    QVERIFY(!m_w->hoja()->isEnabled());
    QVERIFY(!m_w->findChild<QComboBox *>(QStringLiteral("Cb"))->isEnabled());
    QCOMPARE(m_w->findChild<QLabel *>(QStringLiteral("LbMsg"))->text(),
             QStringLiteral("Los importes en Pesetas no se podrán modificar."));
    m_w->findChild<QRadioButton *>(QStringLiteral("Option1_0"))->click();
    for (int n = 0; n < 109; ++n)
        QCOMPARE(caja(n)->text(), antes[n]);
    QVERIFY(m_w->hoja()->isEnabled());
    QCOMPARE(m_w->findChild<QLabel *>(QStringLiteral("LbMsg"))->text(), QStringLiteral("F4 - Calculadora"));
}

void PrecalculoTest::preguntasAlSalirYAlEntrar()
{
    // First run: no file, no question, the empty sheet.
    m_w = arranca();
    QVERIFY(m_w);
    QCOMPARE(MensajeBox::ultimoTexto(), QString());
    const QString ruta = m_tmp->path() + QStringLiteral("/DatosCa21.Ini");
    QCOMPARE(m_w->rutaFichero(), ruta);
    escribe(9, "1234,5");
    QTest::keyClick(caja(9), Qt::Key_Return);
    MensajeBox::setNextAnswer(MensajeBox::Si);
    m_w->close();
    QCOMPARE(MensajeBox::ultimoTitulo(), QStringLiteral("Grabar al Salir"));
    QCOMPARE(MensajeBox::ultimoTexto(), QStringLiteral("¿Desea guardar la información introducida?"));
    m_w.reset();
    QVERIFY(QFile::exists(ruta));

    // Next start: the question, Yes, the typed box back and calculated.
    MensajeBox::olvidaUltimo();
    MensajeBox::setNextAnswer(MensajeBox::Si);
    m_w = arranca();
    QVERIFY(m_w);
    QCOMPARE(MensajeBox::ultimoTexto(), QStringLiteral("¿Desea cargar los datos de la última declaración?"));
    QTRY_COMPARE(caja(9)->text(), QStringLiteral("1234,50"));  // in focus: the editing form
    QCOMPARE(caja(11)->text(), QStringLiteral("-1.234,50"));   // net real-estate income: − reductions
    QVERIFY(!m_w->modificado());

    // Closing without a change asks nothing and leaves the file as it was.
    QFile f(ruta);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray contenido = f.readAll();
    f.close();
    MensajeBox::olvidaUltimo();
    m_w->close();
    m_w.reset();
    QCOMPARE(MensajeBox::ultimoTexto(), QString());
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), contenido);
    f.close();

    // No: nothing is read.
    MensajeBox::setNextAnswer(MensajeBox::No);
    m_w = arranca();
    QVERIFY(m_w);
    QCOMPARE(caja(9)->text(), QStringLiteral("0,00"));
    QCOMPARE(caja(11)->text(), QString());
}

void PrecalculoTest::apartadoSinAutonomia()
{
    m_w = arranca();
    QVERIFY(m_w);
    bool abierta = false;
    m_w->registraPantalla(10, [&abierta](simulador::Declaracion &, QWidget *) { return abierta = true; });
    MensajeBox::setNextAnswer(MensajeBox::Aceptar);
    m_w->abreApartado(10);
    QCOMPARE(MensajeBox::ultimoTexto(),
             QStringLiteral("No se ha informado ninguna autonomía en la pantalla de 'Unidad Familiar'."));
    QVERIFY(!abierta);
    // The general deductions header opens screen 10 (DCuota) and recalculates on return.
    caja(23)->setText(QStringLiteral("marca"));
    QLabel *cabecera = m_w->findChild<QLabel *>(QStringLiteral("LbMnt9"));
    QVERIFY(cabecera);
    QCOMPARE(cabecera->toolTip(), QStringLiteral(" Modificar los Datos "));
    QTest::mouseClick(cabecera, Qt::LeftButton);
    QVERIFY(abierta);
    QCOMPARE(caja(23)->text(), QString());
}

void PrecalculoTest::inicializarCampos()
{
    m_w = arranca();
    QVERIFY(m_w);
    escribe(21, "1000");
    QTest::keyClick(caja(21), Qt::Key_Return);
    caja(108)->setText(QStringLiteral("108"));
    auto *boton = m_w->findChild<QAbstractButton *>(QStringLiteral("CmOp2"));
    QCOMPARE(boton->toolTip(), QStringLiteral(" Inicializar Campos "));
    MensajeBox::setNextAnswer(MensajeBox::No);
    QTest::mouseClick(boton, Qt::LeftButton);
    QCOMPARE(MensajeBox::ultimoTexto(), QStringLiteral("¿Inicializar el contenido de los campos?"));
    QCOMPARE(caja(23)->text(), QStringLiteral("1.000,00"));
    MensajeBox::setNextAnswer(MensajeBox::Si);
    QTest::mouseClick(boton, Qt::LeftButton);
    for (int n = 0; n <= 106; ++n)
        QCOMPARE(caja(n)->text(), QString());
    QCOMPARE(caja(108)->text(), QStringLiteral("108"));  // no recalculation follows
}

void PrecalculoTest::capturaDeLaVentana()
{
    m_w = arranca();
    QVERIFY(m_w);
    escribe(9, "1500");
    QTest::keyClick(caja(9), Qt::Key_Return);
    const QImage imagen = m_w->grab().toImage();
    QCOMPARE(imagen.size(), QSize(800, 600));
    const QString ruta = QCoreApplication::applicationDirPath() + QStringLiteral("/precalculo.png");
    QVERIFY(imagen.save(ruta));
    // The whole sheet too, beyond what the window shows.
    QVERIFY(m_w->hoja()->grab().save(QCoreApplication::applicationDirPath() + QStringLiteral("/precalculo-hoja.png")));
    // Not blank: the sheet, the boxes, the headers and the text give many colours.
    QSet<QRgb> colores;
    for (int y = 0; y < imagen.height(); y += 3)
        for (int x = 0; x < imagen.width(); x += 3)
            colores.insert(imagen.pixel(x, y));
    QVERIFY2(colores.size() > 20, qPrintable(QString::number(colores.size())));
}

QTEST_MAIN(PrecalculoTest)
#include "PrecalculoTest.moc"
