// F4 on a box of the sheet with the real calculator: its result fills the box and the sheet
// recalculates; Cancelar leaves both as they were.
#include "AyudaPrecalculo.h"
#include "AbreHerramientas.h"
#include "Herramientas.h"

class CalculadoraHojaTest : public QObject, AyudaPrecalculo {
    Q_OBJECT
private slots:
    void init()
    {
        QVERIFY(prepara());
        InstalaHerramientas();
    }
    void cleanup()
    {
        Herramientas::instala({}, {});
        recoge();
    }

    void f4LlenaLaCasillaYRecalcula_data()
    {
        QTest::addColumn<QString>("teclas");
        QTest::addColumn<bool>("acepta");
        QTest::addColumn<QStringList>("esperado");  // boxes 21 and 23 afterwards
        // "V" imports the box's 1000; × 2 = 2000 with Aceptar. Box 23 (special regimes) is
        // box 21 + box 22.
        QTest::newRow("aceptar") << "v*2" << true << QStringList{"2.000,00", "2.000,00"};
        QTest::newRow("cancelar") << "v*2" << false << QStringList{"1.000,00", "1.000,00"};
    }
    void f4LlenaLaCasillaYRecalcula()
    {
        QFETCH(QString, teclas);
        QFETCH(bool, acepta);
        QFETCH(QStringList, esperado);
        QVERIFY(arranca());
        escribe(21, "1000");
        QTRY_COMPARE(caja(23)->text(), QStringLiteral("1.000,00"));

        caja(21)->setFocus();
        QTRY_VERIFY(caja(21)->hasFocus());
        QColor mientras;
        alAbrirse([&](QDialog *d) {
            mientras = caja(21)->fondo();  // light green while the calculator is open
            QWidget *foco = d->focusWidget() ? d->focusWidget() : d;
            QTest::keyClicks(foco, teclas);
            QTest::keyClick(foco, acepta ? Qt::Key_Return : Qt::Key_Escape);
        });
        QTest::keyClick(caja(21), Qt::Key_F4);
        QCOMPARE(mientras, CampoEdit::kVerdeClaro);
        QCOMPARE(caja(21)->fondo(), CampoEdit::kBlanco);
        caja(9)->setFocus();  // leaving the box shows its display form
        QTRY_COMPARE(textos({21, 23}), esperado);
    }
};

QTEST_MAIN(CalculadoraHojaTest)
#include "CalculadoraHojaTest.moc"
