// The euro converter and the calculator driven as a user would: keys into the focused
// widget, modal dialogs answered from a timer.
#include "AbreHerramientas.h"
#include "Calculadora.h"
#include "Herramientas.h"
#include "MensajeBox.h"
#include "Teclado.h"

#include <QLineEdit>
#include <QRadioButton>
#include <QToolButton>

class HerramientasTest : public QObject {
    Q_OBJECT
private slots:
    void calculadoraDevuelveElValor_data()
    {
        QTest::addColumn<QString>("valor");
        QTest::addColumn<QString>("teclas");  // "#" is Insert, "\n" Enter
        QTest::addColumn<QString>("esperado");
        QTest::addColumn<bool>("sigueAbierto");  // the closing key is ignored; the step then closes it
        QTest::addColumn<QString>("aviso");
        // Results by hand: 7 + 5 = 12; 2 + 3 pending, completed by Aceptar; 1.234,50 + 1.
        QTest::newRow("Enter accepts 7+5") << "0" << "7+5=\n" << "12" << false << "";
        QTest::newRow("Insert completes 2+3") << "0" << "2+3#" << "5" << false << "";
        QTest::newRow("V imports the field") << "1.234,50" << "v+1\n" << "1235,5" << false << "";
        QTest::newRow("Escape cancels") << "0" << "7+5=\x1b" << "*" << false << "";
        // Said before the display changes: the left operand stays, and is what Aceptar takes.
        QTest::newRow("division by zero") << "0" << "8/0=#" << "8" << false << "No se puede dividir por cero.";
        // With no field value (the main window's calculator) Insert and Enter do nothing.
        QTest::newRow("no value: Insert stays") << "" << "7v#" << "*" << true << "";
        QTest::newRow("no value: Enter stays") << "abc" << "7\n" << "*" << true << "";
    }

    void calculadoraDevuelveElValor()
    {
        QFETCH(QString, valor);
        QFETCH(QString, teclas);
        QFETCH(QString, esperado);
        QFETCH(bool, sigueAbierto);
        QFETCH(QString, aviso);
        bool siguioAbierto = false;
        MensajeBox::olvidaUltimo();
        MensajeBox::setNextAnswer(MensajeBox::Aceptar, true);
        cuandoAbra<QDialog>([&](QDialog *d) {
            teclea(teclas);
            siguioAbierto = d->isVisible();
        });
        QCOMPARE(AbreCalculadora(valor, nullptr), esperado);
        QCOMPARE(siguioAbierto, sigueAbierto);
        QCOMPARE(MensajeBox::textos(), aviso.isEmpty() ? QStringList() : QStringList{aviso});
        QCOMPARE(MensajeBox::ultimoTitulo(), aviso.isEmpty() ? QString() : QStringLiteral("Calculadora"));
    }

    // Opened from the calculator's euro image.
    void euroConvierteEnAmbosSentidos()
    {
        InstalaHerramientas();
        bool anidado = false;
        QString titulo;
        cuandoAbra<QDialog>([&](QDialog *e) {
            titulo = e->windowTitle();
            auto *pesetas = e->findChild<QLineEdit *>(QStringLiteral("Cmp0"));
            auto *euros = e->findChild<QLineEdit *>(QStringLiteral("Cmp1"));
            QVERIFY(pesetas->isEnabled() && !euros->isEnabled());
            // 1000 ptas / 166,386 = 6,0101 → 6,01; the letter is dropped.
            teclea(QStringLiteral("10a00"));
            QCOMPARE(euros->text(), QStringLiteral("6,01"));
            // Switching clears both boxes; 1,01 € × 166,386 = 168,05 → 168, and the sign follows.
            QTest::mouseClick(e->findChild<QRadioButton *>(QStringLiteral("Op1")), Qt::LeftButton);
            QCOMPARE(pesetas->text() + euros->text(), QStringLiteral("00,00"));
            QVERIFY(euros->isEnabled() && !pesetas->isEnabled());
            // A refused letter, Alt+9 and Ctrl+E leave the selected 0,00 to be typed over; Ctrl+E
            // asks for the converter already open, and no second one opens over it.
            QTimer::singleShot(0, [&anidado, e] {
                if ((anidado = QApplication::activeModalWidget() != e))
                    QApplication::activeModalWidget()->close();
            });
            teclea(QStringLiteral("x~9^e1.01"));
            QCOMPARE(pesetas->text(), QStringLiteral("168"));
            teclea(QStringLiteral("-"));
            QCOMPARE(pesetas->text(), QStringLiteral("-168"));
        });
        Calculadora(QStringLiteral("0")).findChild<QToolButton *>(QStringLiteral("ImEuro"))->click();
        Herramientas::instala({}, {});
        QCOMPARE(titulo, QStringLiteral("  €  -  Bienvenidos al Euro"));
        QVERIFY(!anidado);
    }
};

QTEST_MAIN(HerramientasTest)
#include "HerramientasTest.moc"
