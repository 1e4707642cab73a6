// The main workspace driven as a user drives it: keys into the sheet, the selector, the
// peseta view, the questions at start and exit. Offscreen; see AyudaPrecalculo.h.
#include "AyudaPrecalculo.h"
#include "Herramientas.h"

#include <QComboBox>
#include <QRegularExpression>
#include <QLabel>
#include <QScrollBar>

class PrecalculoTest : public QObject, AyudaPrecalculo {
    Q_OBJECT

private slots:
    void init() { QVERIFY(prepara()); }
    void cleanup() { recoge(); }

    // A box left with Enter, Down or Up: the focus moves along the tab order (passing over the
    // protected and hidden boxes) to a box inside the window, and a changed amount recalculates.
    void teclaMueveYRecalcula_data()
    {
        QTest::addColumn<int>("desde");
        QTest::addColumn<QByteArray>("tecleado");
        QTest::addColumn<int>("tecla");
        QTest::addColumn<int>("hasta");
        QTest::addColumn<QString>("suma");  // box 23, the sum of the special regimes in 21 and 22
        const int abajo = Qt::Key_Down, enter = Qt::Key_Return;
        QTest::newRow("same text") << 21 << QByteArray() << abajo << 22 << QStringLiteral("marca");
        QTest::newRow("0 for 0,00") << 21 << QByteArray("0") << abajo << 22 << QStringLiteral("marca");
        QTest::newRow("emptied box counts as 0") << 21 << QByteArray("\b") << abajo << 22 << QStringLiteral("marca");
        QTest::newRow("a new amount, Down") << 21 << QByteArray("5") << abajo << 22 << QStringLiteral("5,00");
        QTest::newRow("a new amount, Enter") << 21 << QByteArray("1000") << enter << 22 << QStringLiteral("1.000,00");
        QTest::newRow("down from the first input") << 9 << QByteArray() << abajo << 21 << QStringLiteral("marca");
        QTest::newRow("hidden 59 is passed over") << 26 << QByteArray() << enter << 87 << QStringLiteral("marca");
        QTest::newRow("up goes back") << 21 << QByteArray() << int(Qt::Key_Up) << 9 << QStringLiteral("marca");
        QTest::newRow("hidden 107 and 93 passed over") << 101 << QByteArray() << abajo << 12 << QStringLiteral("marca");
        QTest::newRow("84, Tab: the first result box") << 84 << QByteArray() << int(Qt::Key_Tab) << 91 << QStringLiteral("marca");
    }
    void teclaMueveYRecalcula()
    {
        QFETCH(int, desde);
        QFETCH(QByteArray, tecleado);
        QFETCH(int, tecla);
        QFETCH(int, hasta);
        QFETCH(QString, suma);
        QVERIFY(arranca());
        // A stale text in a result box shows whether the sheet was rewritten.
        caja(23)->setText(QStringLiteral("marca"));
        escribe(desde, tecleado.constData(), Qt::Key(tecla));
        QCOMPARE(caja(23)->text(), suma);
        QTRY_VERIFY(caja(hasta)->hasFocus());
        const QPoint p = caja(hasta)->mapTo(m_w->hoja()->parentWidget(), QPoint(0, 0));
        QVERIFY(p.y() >= 0 && p.y() + caja(hasta)->height() <= m_w->hoja()->parentWidget()->height());
        if (suma != QStringLiteral("marca")) {
            QVERIFY(m_w->modificado());
            QCOMPARE(textos({21, 22}), QStringList({suma, "0,00"}));  // left: the display form
        }
    }

    // F4: the calculator's result goes into the box (green while it is open) and the sheet
    // recalculates as it closes.
    void f4Recalcula()
    {
        QVERIFY(arranca());
        escribe(21, "1000");
        caja(21)->setFocus();
        QTRY_VERIFY(caja(21)->hasFocus());
        QColor mientras;
        Herramientas::instala(
            [&](const QString &, QWidget *) {
                mientras = caja(21)->fondo();
                return std::optional<QString>(QStringLiteral("2000"));
            },
            {});
        QTest::keyClick(caja(21), Qt::Key_F4);
        Herramientas::instala({}, {});
        QCOMPARE(mientras, CampoEdit::kVerdeClaro);
        QCOMPARE(caja(21)->fondo(), CampoEdit::kBlanco);
        QCOMPARE(caja(23)->text(), QStringLiteral("2.000,00"));
    }

    void teclasDeLaHoja()
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
        // The sheet itself in focus (clicked): the arrows page it, Home goes to the top.
        m_w->hoja()->setFocus();
        QTest::keyClick(m_w->hoja(), Qt::Key_Home);
        QTest::keyClick(m_w->hoja(), Qt::Key_Down);
        QCOMPARE(barra->value(), barra->singleStep());
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
        QVERIFY(m_w->hoja()->isEnabled() && hijo<QComboBox>("Cb")->isEnabled());
        QCOMPARE(hijo<QLabel>("LbMsg")->text(), QStringLiteral("F4 - Calculadora"));
    }

    // The last declaration offered at start: Sí reads it and calculates at once; closing
    // without a change then asks nothing and leaves the file as it was; No reads nothing.
    void cargaAlEntrar()
    {
        const QString fichero = ultima();
        const QByteArray guardado("[Varios]\r\n9=1.234,50\r\n");
        QVERIFY(escribeFichero(fichero, guardado));
        MensajeBox::setNextAnswer(MensajeBox::Si);
        QVERIFY(arranca());
        QCOMPARE(MensajeBox::ultimoTexto(), QStringLiteral("¿Desea cargar los datos de la última declaración?"));
        QTRY_COMPARE(caja(9)->text(), QStringLiteral("1234,50"));  // in focus: the editing form
        QCOMPARE(caja(11)->text(), QStringLiteral("-1.234,50"));   // net real-estate income: − reductions
        QVERIFY(!m_w->modificado());
        MensajeBox::olvidaUltimo();
        m_w->close();
        m_w.reset();
        QCOMPARE(MensajeBox::ultimoTexto(), QString());
        QCOMPARE(contenido(fichero), guardado);

        MensajeBox::setNextAnswer(MensajeBox::No);
        QVERIFY(arranca());
        QCOMPARE(textos({9, 11}), QStringList({"0,00", ""}));
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

    // The task bar joins a window to its desktop entry by the name the program gives (the
    // entry's StartupWMClass) and shows the program's icon: a name that differs from the
    // entry's, or an icon Qt cannot draw (its svg engine missing), leaves a generic one.
    void identidadEnElEscritorio()
    {
        Precalculo::identificaPrograma();
        QFile entrada(QStringLiteral(ENTRADA_ESCRITORIO));
        QVERIFY(entrada.open(QIODevice::ReadOnly));
        const QRegularExpressionMatch clase =
            QRegularExpression(QStringLiteral("^StartupWMClass=(.+)$"), QRegularExpression::MultilineOption)
                .match(QString::fromUtf8(entrada.readAll()));
        QVERIFY(clase.hasMatch());
        QCOMPARE(QGuiApplication::desktopFileName(), clase.captured(1));
        const Precalculo w;
        // The form's blue heading band across the top of the drawing (y 4 to 14 of 64).
        const QImage icono = w.windowIcon().pixmap(64, 64).toImage();
        QVERIFY(!icono.isNull());
        QCOMPARE(icono.pixelColor(32, 8), QColor(0x00, 0x00, 0xC0));
    }
};

QTEST_MAIN(PrecalculoTest)
#include "PrecalculoTest.moc"
