// The euro converter and the calculator driven as a user would: keys into the focused
// widget, modal dialogs answered from a timer.
#include "../../tools/Calculadora.h"  // the screens, not the module headers of the same name
#include "../../tools/Euro.h"
#include "AbreHerramientas.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

#include <functional>

namespace {

// Runs `f` on the modal dialog that the next exec() opens.
void alAbrir(std::function<void(QWidget *)> f)
{
    QTimer::singleShot(0, [f] { f(QApplication::activeModalWidget()); });
}

// Types each character into whatever has the focus, as the keyboard does.
void teclea(QWidget *dialogo, const QString &teclas)
{
    for (QChar c : teclas) {
        QWidget *foco = dialogo->focusWidget() ? dialogo->focusWidget() : dialogo;
        QTest::keyClick(foco, c.toLatin1());
    }
}

void pulsaTecla(QWidget *dialogo, Qt::Key tecla)
{
    QTest::keyClick(dialogo->focusWidget() ? dialogo->focusWidget() : dialogo, tecla);
}

}  // namespace

class HerramientasTest : public QObject {
    Q_OBJECT
private slots:
    void calculadoraDevuelveElValor_data();
    void calculadoraDevuelveElValor();
    void divisionPorCeroAvisa();
    void botonesYAyudas();
    void euroConvierteEnAmbosSentidos();
};

void HerramientasTest::calculadoraDevuelveElValor_data()
{
    QTest::addColumn<QString>("valor");
    QTest::addColumn<QString>("teclas");
    QTest::addColumn<int>("cierre");
    QTest::addColumn<QString>("esperado");
    QTest::addColumn<bool>("sigueAbierto");  // the closing key is ignored; Escape then cancels
    // Results by hand: 7 + 5 = 12; 2 + 3 pending, completed by Aceptar; 1.234,50 + 1.
    QTest::newRow("Enter accepts 7+5") << "0" << "7+5=" << int(Qt::Key_Return) << "12" << false;
    QTest::newRow("Insert completes 2+3") << "0" << "2+3" << int(Qt::Key_Insert) << "5" << false;
    QTest::newRow("negative result") << "0" << "-3x2" << int(Qt::Key_Enter) << "-6" << false;
    QTest::newRow("V imports the field") << "1.234,50" << "v+1" << int(Qt::Key_Return) << "1235,5" << false;
    QTest::newRow("decimals") << "0" << "7/2" << int(Qt::Key_Insert) << "3,5" << false;
    QTest::newRow("Escape cancels") << "0" << "7+5=" << int(Qt::Key_Escape) << "*" << false;
    // With no field value (the main window's calculator) Insert and Enter do nothing.
    QTest::newRow("no value: Insert stays") << "" << "7v" << int(Qt::Key_Insert) << "*" << true;
    QTest::newRow("no value: Enter stays") << "abc" << "7" << int(Qt::Key_Return) << "*" << true;
}

void HerramientasTest::calculadoraDevuelveElValor()
{
    QFETCH(QString, valor);
    QFETCH(QString, teclas);
    QFETCH(int, cierre);
    QFETCH(QString, esperado);
    QFETCH(bool, sigueAbierto);
    bool siguioAbierto = false;
    alAbrir([&](QWidget *d) {
        teclea(d, teclas);
        pulsaTecla(d, Qt::Key(cierre));
        siguioAbierto = d->isVisible();
        if (siguioAbierto)
            pulsaTecla(d, Qt::Key_Escape);
    });
    QCOMPARE(AbreCalculadora(valor, nullptr), esperado);
    QCOMPARE(siguioAbierto, sigueAbierto);
}

void HerramientasTest::divisionPorCeroAvisa()
{
    QString titulo, texto, pantalla;
    QMessageBox::Icon icono = QMessageBox::NoIcon;
    alAbrir([&](QWidget *d) {
        teclea(d, QStringLiteral("8/0"));
        alAbrir([&](QWidget *m) {
            auto *caja = qobject_cast<QMessageBox *>(m);
            if (!caja)
                return;
            titulo = caja->windowTitle();
            texto = caja->text();
            icono = caja->icon();
            caja->buttons().first()->click();
        });
        teclea(d, QStringLiteral("="));
        pantalla = d->findChild<QLabel *>(QStringLiteral("Readout"))->text();
        d->findChild<QPushButton *>(QStringLiteral("CmOp1"))->click();
    });
    QCOMPARE(AbreCalculadora(QStringLiteral("0"), nullptr), QStringLiteral("*"));
    QCOMPARE(titulo, QStringLiteral("Calculadora"));
    QCOMPARE(texto, QStringLiteral("No se puede dividir por cero."));
    QCOMPARE(icono, QMessageBox::Warning);
    QCOMPARE(pantalla, QStringLiteral("8"));  // the left operand stays
}

void HerramientasTest::botonesYAyudas()
{
    Calculadora c(QStringLiteral("abc"));
    QCOMPARE(c.windowTitle(), QStringLiteral("Calculadora"));
    QVERIFY(!c.findChild<QPushButton *>(QStringLiteral("Importar"))->isEnabled());
    QVERIFY(!c.findChild<QPushButton *>(QStringLiteral("CmOp0"))->isEnabled());
    const std::pair<const char *, const char *> ayudas[] = {
        {"CmOp0", " Ins - Exportar el valor al campo "}, {"CmOp1", " Esc - Cancelar"},
        {"Importar", " V - Importar valor del campo "},  {"Percent", " P - Porcentaje "},
        {"Cancel", " C - Borrar "},                      {"CancelEntry", " E - Borrar último "},
        {"Operator4", " I - Igual a ... "},
    };
    for (const auto &[nombre, ayuda] : ayudas)
        QCOMPARE(c.findChild<QPushButton *>(QString::fromLatin1(nombre))->toolTip(), QString::fromUtf8(ayuda));

    // Mouse clicks: 9 x 3 = 27, then the euro image opens the converter, closed with Salir.
    for (const char *b : {"Number9", "Operator2", "Number3", "Operator4"})
        QTest::mouseClick(c.findChild<QPushButton *>(QString::fromLatin1(b)), Qt::LeftButton);
    QCOMPARE(c.findChild<QLabel *>(QStringLiteral("Readout"))->text(), QStringLiteral("27"));
    QString tituloEuro;
    alAbrir([&](QWidget *e) {
        tituloEuro = e->windowTitle();
        e->findChild<QPushButton *>(QStringLiteral("Command1"))->click();
    });
    c.findChild<QToolButton *>(QStringLiteral("ImEuro"))->click();
    QCOMPARE(tituloEuro, QStringLiteral("  €  -  Bienvenidos al Euro"));
}

void HerramientasTest::euroConvierteEnAmbosSentidos()
{
    Euro e;
    e.show();
    QVERIFY(QTest::qWaitForWindowActive(&e));
    auto *pesetas = e.findChild<QLineEdit *>(QStringLiteral("Cmp0"));
    auto *euros = e.findChild<QLineEdit *>(QStringLiteral("Cmp1"));
    QVERIFY(e.findChild<QRadioButton *>(QStringLiteral("Op0"))->isChecked());
    QVERIFY(pesetas->isEnabled() && !euros->isEnabled());

    // 1000 ptas / 166,386 = 6,0101 → 6,01; the letter is dropped.
    teclea(&e, QStringLiteral("10a00"));
    QCOMPARE(pesetas->text(), QStringLiteral("1000"));
    QCOMPARE(euros->text(), QStringLiteral("6,01"));

    // Switching clears both boxes; 1,01 € × 166,386 = 168,05 → 168, and the sign follows.
    QTest::mouseClick(e.findChild<QRadioButton *>(QStringLiteral("Op1")), Qt::LeftButton);
    QCOMPARE(pesetas->text(), QStringLiteral("0"));
    QCOMPARE(euros->text(), QStringLiteral("0,00"));
    QVERIFY(euros->isEnabled() && !pesetas->isEnabled());
    // A refused letter and Alt+9 leave the selected 0,00 to be typed over.
    QTest::keyClick(euros, Qt::Key_9, Qt::AltModifier);
    teclea(&e, QStringLiteral("x1.01"));
    QCOMPARE(euros->text(), QStringLiteral("1,01"));
    QCOMPARE(pesetas->text(), QStringLiteral("168"));
    teclea(&e, QStringLiteral("-"));
    QCOMPARE(pesetas->text(), QStringLiteral("-168"));

    // Opening again starts from pesetas with both boxes reset.
    e.hide();
    e.show();
    QVERIFY(e.findChild<QRadioButton *>(QStringLiteral("Op0"))->isChecked());
    QCOMPARE(pesetas->text(), QStringLiteral("0"));
    QCOMPARE(euros->text(), QStringLiteral("0,00"));
}

QTEST_MAIN(HerramientasTest)
#include "HerramientasTest.moc"
