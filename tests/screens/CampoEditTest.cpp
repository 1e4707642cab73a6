// The field editor the screens share: a list field with the screen's pop-up list, an amount
// field of a data screen (light cyan, so kept in its editing form when left), the moves, F4.
#include "CampoEdit.h"
#include "Campos.h"
#include "Herramientas.h"
#include "ListaCampo.h"

#include <QClipboard>
#include <QInputMethodEvent>
#include <QSignalSpy>
#include <QtTest>

namespace {

struct Pantalla {
    QWidget w;
    CampoEdit *importe = new CampoEdit(1, QStringLiteral("Importe"), QStringLiteral("D0902"), QStringLiteral("@"), &w);
    CampoEdit *sino = new CampoEdit(2, QStringLiteral("SINO1D"), QStringLiteral("LA1  "),
                                    QStringLiteral("****02") + QString::fromStdString(simulador::ListaValores("SINO")), &w);
    CampoEdit *nombre = new CampoEdit(3, QStringLiteral("Nombre"), QStringLiteral("A35  "), QStringLiteral("@"), &w);
    ListaCampo *lista = new ListaCampo(&w);
    Pantalla()
    {
        w.resize(400, 200);
        int y = 10;
        for (CampoEdit *c : {importe, sino, nombre}) {
            c->setGeometry(10, y, 100, 18);
            c->setFondo(QColor(0xC0, 0xFF, 0xFF));
            c->setLista(lista);
            y += 60;
        }
        w.show();
        w.activateWindow();
    }
};

}  // namespace

class CampoEditTest : public QObject {
    Q_OBJECT
private slots:
    void listaConTecladoYRaton()
    {
        Pantalla p;
        QVERIFY(QTest::qWaitForWindowActive(&p.w));
        p.sino->setFocus();
        QTRY_VERIFY(p.lista->isVisible());
        QCOMPARE(p.lista->count(), 2);
        QCOMPARE(p.lista->currentRow(), 0);  // an empty field opens on the first item
        // Under the field, as wide as it and one pixel more; two rows of 195 twips and 30 of
        // borders, 15 twips a pixel.
        QCOMPARE(p.lista->geometry(), QRect(10, 70 + 18 + 1, 101, (2 * 195 + 30) / 15));
        QTest::keyClick(p.sino, Qt::Key_X);  // a list field is never typed
        QCOMPARE(p.sino->text(), QString());
        QTest::keyClick(p.sino, Qt::Key_Down);
        QTRY_VERIFY(p.lista->hasFocus());
        QTest::keyClick(p.lista, Qt::Key_Down);
        QTest::keyClick(p.lista, Qt::Key_Return);
        QCOMPARE(p.sino->text(), QStringLiteral("Sí"));
        QTRY_VERIFY(p.nombre->hasFocus());
        QTRY_VERIFY(!p.lista->isVisible());  // entering any field closes it
        // Back to the list field: it opens on its own value; Esc returns unchanged.
        p.sino->setFocus();
        QTRY_VERIFY(p.lista->isVisible());
        QCOMPARE(p.lista->currentRow(), 1);
        QTest::keyClick(p.sino, Qt::Key_Down);
        QTRY_VERIFY(p.lista->hasFocus());
        QTest::keyClick(p.lista, Qt::Key_Up);
        QTest::keyClick(p.lista, Qt::Key_Escape);
        QTRY_VERIFY(p.sino->hasFocus());
        QCOMPARE(p.sino->text(), QStringLiteral("Sí"));
    }

    void campoDeDatosYMovimientos()
    {
        Pantalla p;
        QVERIFY(QTest::qWaitForWindowActive(&p.w));
        QSignalSpy confirmado(p.importe, &CampoEdit::confirmado);
        p.importe->setFocus();
        QTRY_COMPARE(p.importe->text(), QStringLiteral("0,00"));  // an empty amount enters as 0,00
        QTest::keyClicks(p.importe, QStringLiteral("1234.5"));
        QTest::keyClick(p.importe, Qt::Key_Return);
        QCOMPARE(confirmado.count(), 1);
        QTRY_VERIFY(p.sino->hasFocus());
        QCOMPARE(p.importe->text(), QStringLiteral("1234,5"));  // not white: not reformatted when left
        QTest::keyClick(p.sino, Qt::Key_Up);
        QTRY_VERIFY(p.importe->hasFocus());
        QCOMPARE(p.importe->text(), QStringLiteral("1234,50"));  // the editing form on entry
        // F4: the calculator gets the value, its result fills the field to the cent (half a
        // cent away from zero), and the field gets its own colour back.
        QString recibido;
        Herramientas::instala([&](const QString &valor, QWidget *) { return std::optional(recibido = valor); }, {});
        QSignalSpy cerrada(p.importe, &CampoEdit::calculadoraCerrada);
        p.importe->setText(QStringLiteral("-7,255"));
        QTest::keyClick(p.importe, Qt::Key_F4);
        Herramientas::instala({}, {});
        QCOMPARE(recibido, QStringLiteral("-7,255"));
        QCOMPARE(p.importe->text(), QStringLiteral("-7,26"));
        QCOMPARE(cerrada.count(), 1);
        QCOMPARE(p.importe->fondo(), QColor(0xC0, 0xFF, 0xFF));

        // Pasted over the selected amount, a figure in the sheet's form replaces it whole; text
        // composed by an input method (dead keys, compose) goes through the key filter too.
        p.importe->selectAll();
        QGuiApplication::clipboard()->setText(QStringLiteral("-1.500,25"));
        QTest::keyClick(p.importe, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(p.importe->text(), QStringLiteral("-1500,25"));
        p.importe->selectAll();
        QInputMethodEvent compuesto;
        compuesto.setCommitString(QStringLiteral("é9"));
        QCoreApplication::sendEvent(p.importe, &compuesto);
        QCOMPARE(p.importe->text(), QStringLiteral("9"));
    }
};

QTEST_MAIN(CampoEditTest)
#include "CampoEditTest.moc"
