// The main workspace driven as a user drives it: keys into the sheet, the selector, the
// peseta view, the questions at start and exit. Offscreen; see AyudaPrecalculo.h.
#include "AyudaPrecalculo.h"

#include <QComboBox>
#include <QLabel>
#include <QScrollBar>
#include <QSet>

class PrecalculoTest : public QObject, AyudaPrecalculo {
    Q_OBJECT

private slots:
    void init() { QVERIFY(prepara()); }
    void cleanup() { recoge(); }

    void casillaCambiadaRecalcula_data()
    {
        QTest::addColumn<QByteArray>("tecleado");
        QTest::addColumn<int>("tecla");
        QTest::addColumn<QString>("suma");  // box 23, the sum of the special regimes in 21 and 22
        QTest::newRow("same text") << QByteArray() << int(Qt::Key_Down) << QStringLiteral("marca");
        QTest::newRow("0 for 0,00") << QByteArray("0") << int(Qt::Key_Down) << QStringLiteral("marca");
        QTest::newRow("emptied box counts as 0") << QByteArray("\b") << int(Qt::Key_Down) << QStringLiteral("marca");
        QTest::newRow("a new amount, Down") << QByteArray("5") << int(Qt::Key_Down) << QStringLiteral("5,00");
        QTest::newRow("a new amount, Enter") << QByteArray("1000") << int(Qt::Key_Return) << QStringLiteral("1.000,00");
    }
    void casillaCambiadaRecalcula()
    {
        QFETCH(QByteArray, tecleado);
        QFETCH(int, tecla);
        QFETCH(QString, suma);
        QVERIFY(arranca());
        // A stale text in a result box shows whether the sheet was rewritten.
        caja(23)->setText(QStringLiteral("marca"));
        escribe(21, tecleado.constData(), Qt::Key(tecla));
        QCOMPARE(caja(23)->text(), suma);
        QTRY_VERIFY(caja(22)->hasFocus());  // the next input box in the tab order
        const bool recalcula = suma != QStringLiteral("marca");
        if (recalcula) {
            QVERIFY(m_w->modificado());
            QCOMPARE(textos({21, 22}), QStringList({suma, "0,00"}));  // left: the display form
        }
    }

    void selectorCambiaLaLiquidacion()
    {
        QVERIFY(arranca());
        int llamadas = 0;
        m_w->registraPantalla(0, [&llamadas](simulador::Declaracion &d, QWidget *) { pareja(d, true); return ++llamadas > 0; });
        QTest::mouseClick(hijo<QAbstractButton>("CmOp3"), Qt::LeftButton);
        QCOMPARE(llamadas, 1);
        // A married couple filing jointly reduces the base by 3.400 (art. 84.2.3 LIRPF); an
        // individual liquidation has no such reduction.
        QCOMPARE(caja(29)->text(), QStringLiteral("3.400,00"));
        QTRY_VERIFY(caja(9)->hasFocus());
        auto *cb = hijo<QComboBox>("Cb");
        QCOMPARE(cb->count(), 3);
        QCOMPARE(cb->itemText(2), QStringLiteral("CONYUGE"));
        cb->setCurrentIndex(1);
        QCOMPARE(m_w->modalidad(), 1);
        QCOMPARE(caja(29)->text(), QString());
        QCOMPARE(m_w->barra()->value(), 0);
        cb->setCurrentIndex(0);
        QCOMPARE(caja(29)->text(), QStringLiteral("3.400,00"));
    }

    void elFocoSaltaLasCasillasProtegidas_data()
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
    void elFocoSaltaLasCasillasProtegidas()
    {
        QFETCH(int, desde);
        QFETCH(int, tecla);
        QFETCH(int, hasta);
        QVERIFY(arranca());
        escribe(desde, "", Qt::Key(tecla));
        QTRY_VERIFY(caja(hasta)->hasFocus());
        // The box in focus lies inside the window.
        const QPoint p = caja(hasta)->mapTo(m_w->hoja()->parentWidget(), QPoint(0, 0));
        QVERIFY(p.y() >= 0 && p.y() + caja(hasta)->height() <= m_w->hoja()->parentWidget()->height());
    }

    void controlFinYControlInicio()
    {
        QVERIFY(arranca());
        QScrollBar *barra = m_w->barra();
        QTest::keyClick(caja(9), Qt::Key_End, Qt::ControlModifier);
        QTRY_VERIFY(caja(84)->hasFocus());
        QCOMPARE(barra->value(), barra->maximum());
        QTest::keyClick(caja(84), Qt::Key_PageDown);  // already at the end
        QCOMPARE(barra->value(), barra->maximum());
        // A protected box handed the focus passes it on, to the selector after the last box.
        caja(0)->setFocus();
        QTRY_VERIFY(hijo<QComboBox>("Cb")->hasFocus());
        caja(84)->setFocus();
        QTRY_VERIFY(caja(84)->hasFocus());
        QTest::keyClick(caja(84), Qt::Key_Home, Qt::ControlModifier);
        QTRY_VERIFY(caja(9)->hasFocus());
        QCOMPARE(barra->value(), 0);
        QTest::keyClick(caja(9), Qt::Key_PageDown);
        QCOMPARE(barra->value(), barra->singleStep());
        QTest::keyClick(caja(9), Qt::Key_Up);  // scrolls back to the top and stays
        QCOMPARE(barra->value(), 0);
        QVERIFY(caja(9)->hasFocus());
        // Enter in the last input box after a change: recalculates, shows the end, keeps the focus.
        escribe(84, "12");
        QCOMPARE(barra->value(), barra->maximum());
        QTest::qWait(20);
        QVERIFY(caja(84)->hasFocus());
    }

    void vistaEnPesetasYVuelta()
    {
        QVERIFY(arranca());
        escribe(21, "6.01");
        QTRY_VERIFY(caja(22)->hasFocus());
        QStringList antes;
        for (int n = 0; n < 109; ++n)
            antes << caja(n)->text();
        pesetas(true);
        // 6,01 € × 166.386 = 999,98 pesetas, shown as 1.000; 0,00 € is no amount in pesetas.
        QCOMPARE(textos({21, 22, 23}), QStringList({"1.000", "", "1.000"}));
        QVERIFY(!m_w->hoja()->isEnabled());
        QVERIFY(!hijo<QComboBox>("Cb")->isEnabled());
        QCOMPARE(hijo<QLabel>("LbMsg")->text(), QStringLiteral("Los importes en Pesetas no se podrán modificar."));
        pesetas(false);
        for (int n = 0; n < 109; ++n)
            QCOMPARE(caja(n)->text(), antes[n]);
        QVERIFY(m_w->hoja()->isEnabled());
        QCOMPARE(hijo<QLabel>("LbMsg")->text(), QStringLiteral("F4 - Calculadora"));
    }

    void preguntasAlSalirYAlEntrar()
    {
        // First run: no file, no question, the empty sheet.
        QVERIFY(arranca());
        QCOMPARE(MensajeBox::ultimoTexto(), QString());
        const QString fichero = ultima();
        escribe(9, "1234,5");
        MensajeBox::setNextAnswer(MensajeBox::Si);
        m_w->close();
        QCOMPARE(MensajeBox::ultimoTitulo(), QStringLiteral("Grabar al Salir"));
        QCOMPARE(MensajeBox::ultimoTexto(), QStringLiteral("¿Desea guardar la información introducida?"));
        m_w.reset();
        QVERIFY(QFile::exists(fichero));
        const QByteArray guardado = contenido(fichero);

        // Next start: the question, Yes, the typed box back and calculated.
        MensajeBox::olvidaUltimo();
        MensajeBox::setNextAnswer(MensajeBox::Si);
        QVERIFY(arranca());
        QCOMPARE(MensajeBox::ultimoTexto(), QStringLiteral("¿Desea cargar los datos de la última declaración?"));
        QTRY_COMPARE(caja(9)->text(), QStringLiteral("1234,50"));  // in focus: the editing form
        QCOMPARE(caja(11)->text(), QStringLiteral("-1.234,50"));   // net real-estate income: − reductions
        QVERIFY(!m_w->modificado());

        // Closing without a change asks nothing and leaves the file as it was.
        MensajeBox::olvidaUltimo();
        m_w->close();
        m_w.reset();
        QCOMPARE(MensajeBox::ultimoTexto(), QString());
        QCOMPARE(contenido(fichero), guardado);

        // No: nothing is read.
        MensajeBox::setNextAnswer(MensajeBox::No);
        QVERIFY(arranca());
        QCOMPARE(caja(9)->text(), QStringLiteral("0,00"));
        QCOMPARE(caja(11)->text(), QString());
    }

    void apartadoSinAutonomia()
    {
        QVERIFY(arranca());
        bool abierta = false;
        m_w->registraPantalla(10, [&abierta](simulador::Declaracion &, QWidget *) { return abierta = true; });
        MensajeBox::setNextAnswer(MensajeBox::Aceptar);
        m_w->abreApartado(10);
        QCOMPARE(MensajeBox::ultimoTexto(),
                 QStringLiteral("No se ha informado ninguna autonomía en la pantalla de 'Unidad Familiar'."));
        QVERIFY(!abierta);
        // The general deductions header opens screen 10 (DCuota) and recalculates on return.
        caja(23)->setText(QStringLiteral("marca"));
        QTest::mouseClick(hijo<QLabel>("LbMnt9"), Qt::LeftButton);
        QVERIFY(abierta);
        QCOMPARE(caja(23)->text(), QString());
    }

    void inicializarCampos()
    {
        QVERIFY(arranca());
        escribe(21, "1000");
        caja(108)->setText(QStringLiteral("108"));
        auto *boton = hijo<QAbstractButton>("CmOp2");
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

    void capturaDeLaVentana()
    {
        QVERIFY(arranca());
        escribe(9, "1500");
        const QImage imagen = m_w->grab().toImage();
        QCOMPARE(imagen.size(), QSize(800, 600));
        QVERIFY(imagen.save(QCoreApplication::applicationDirPath() + QStringLiteral("/precalculo.png")));
        // Not blank: the sheet, the boxes, the headers and the text give many colours.
        QSet<QRgb> colores;
        for (int y = 0; y < imagen.height(); y += 3)
            for (int x = 0; x < imagen.width(); x += 3)
                colores.insert(imagen.pixel(x, y));
        QVERIFY2(colores.size() > 20, qPrintable(QString::number(colores.size())));
    }
};

QTEST_MAIN(PrecalculoTest)
#include "PrecalculoTest.moc"
