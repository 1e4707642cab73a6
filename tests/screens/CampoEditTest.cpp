// The field layer the data screens reuse: a list field with the screen's pop-up list, an
// amount field of a data screen (light cyan, kept in its editing form when left), the moves.
#include "CampoEdit.h"
#include "Campos.h"
#include "Herramientas.h"
#include "ListaCampo.h"

#include <QSignalSpy>
#include <QtTest>

class CampoEditTest : public QObject {
    Q_OBJECT
private slots:
    void listaConTecladoYRaton();
    void campoDeDatosYMovimientos();
};

namespace {

struct Pantalla {
    QWidget w;
    ListaCampo *lista;
    CampoEdit *importe, *sino, *nombre;
    Pantalla()
    {
        w.resize(400, 200);
        importe = new CampoEdit(1, QStringLiteral("Importe"), QStringLiteral("D0902"), QStringLiteral("@"), &w);
        sino = new CampoEdit(2, QStringLiteral("SINO1D"), QStringLiteral("LA1  "),
                             QStringLiteral("****02") + QString::fromStdString(simulador::ListaValores("SINO")), &w);
        nombre = new CampoEdit(3, QStringLiteral("Nombre"), QStringLiteral("A35  "), QStringLiteral("@"), &w);
        lista = new ListaCampo(&w);
        int y = 10;
        for (CampoEdit *c : {importe, sino, nombre}) {
            c->setGeometry(10, y, 100, 18);
            c->setFondo(QColor(0xFF, 0xFF, 0xC0));  // the data screens' light cyan (BGR &H00FFFFC0)
            c->setLista(lista);
            y += 60;
        }
        QWidget::setTabOrder(importe, sino);
        QWidget::setTabOrder(sino, nombre);
        w.show();
        w.activateWindow();
    }
};

}  // namespace

void CampoEditTest::listaConTecladoYRaton()
{
    Pantalla p;
    QVERIFY(QTest::qWaitForWindowActive(&p.w));
    p.sino->setFocus();
    QTRY_VERIFY(p.lista->isVisible());
    QCOMPARE(p.lista->count(), 2);
    QCOMPARE(p.lista->currentRow(), 0);  // an empty field opens on the first item
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
    // Double click accepts too.
    QTRY_VERIFY(p.lista->isVisible());
    const QPoint primero = p.lista->visualItemRect(p.lista->item(0)).center();
    QTest::mouseClick(p.lista->viewport(), Qt::LeftButton, {}, primero);
    QTest::mouseDClick(p.lista->viewport(), Qt::LeftButton, {}, primero);
    QCOMPARE(p.sino->text(), QStringLiteral("No"));
}

void CampoEditTest::campoDeDatosYMovimientos()
{
    Pantalla p;
    QVERIFY(QTest::qWaitForWindowActive(&p.w));
    QSignalSpy confirmado(p.importe, &CampoEdit::confirmado);
    p.importe->setFocus();
    QTRY_COMPARE(p.importe->text(), QStringLiteral("0,00"));  // an empty amount enters as 0,00
    QTest::keyClicks(p.importe, QStringLiteral("1234.5"));
    QCOMPARE(p.importe->text(), QStringLiteral("1234,5"));
    QTest::keyClick(p.importe, Qt::Key_Return);
    QCOMPARE(confirmado.count(), 1);
    QTRY_VERIFY(p.sino->hasFocus());
    QCOMPARE(p.importe->text(), QStringLiteral("1234,5"));  // not white: not reformatted when left
    QTest::keyClick(p.sino, Qt::Key_Up);
    QTRY_VERIFY(p.importe->hasFocus());
    QCOMPARE(p.importe->text(), QStringLiteral("1234,50"));  // the editing form on entry
    // F4 with a calculator plugged in: it gets the value, its result fills the field.
    QString recibido;
    Herramientas::instala(
        [&recibido](const QString &valor, QWidget *) -> std::optional<QString> {
            recibido = valor;
            return QStringLiteral("-7,25");
        },
        {});
    QSignalSpy cerrada(p.importe, &CampoEdit::calculadoraCerrada);
    QTest::keyClick(p.importe, Qt::Key_F4);
    Herramientas::instala({}, {});
    QCOMPARE(recibido, QStringLiteral("1234,50"));
    QCOMPARE(p.importe->text(), QStringLiteral("-7,25"));
    QCOMPARE(cerrada.count(), 1);
    QCOMPARE(p.importe->fondo(), QColor(0xFF, 0xFF, 0xC0));
}

QTEST_MAIN(CampoEditTest)
#include "CampoEditTest.moc"
