// "Detalle de la casilla N" opened from the sheet as a user opens it (F1, a double click, the
// right-button menu), checked against the sheet it explains and against the module's own
// rendering of the same explanation. Offscreen; see AyudaPrecalculo.h.
#include "AyudaPrecalculo.h"
#include "DetalleCasilla.h"
#include "Campos.h"
#include "Explicacion.h"
#include "TablaCasillas.h"
#include "Teclado.h"

#include <QAbstractItemModelTester>
#include <QClipboard>
#include <QComboBox>
#include <QMenu>
#include <QPrintDialog>
#include <QPushButton>
#include <QTextDocumentFragment>
#include <QTreeView>

using namespace simulador;

class DetalleCasillaTest : public QObject, AyudaPrecalculo {
    Q_OBJECT

    enum Via { F1, DobleClic, MenuCasilla, MenuBoton };

    DetalleCasilla *abierta() const
    {
        DetalleCasilla *w = m_w->findChild<DetalleCasilla *>();
        return w && w->isVisible() ? w : nullptr;
    }

    // A box's text as the sheet shows it once left: F1 is pressed in a box in its editing form.
    QString mostrado(int n) const
    {
        const CampoEdit *c = caja(n);
        return c->hasFocus() ? QString::fromStdString(FormateaCampo(c->definicion().codigo, c->text().toStdString(), true))
                             : c->text();
    }

    // The section menu's first item, on the box the menu was opened for.
    void primeraDelMenu()
    {
        auto *menu = hijo<QMenu>("MnOpMnt");
        QTRY_VERIFY(menu->isVisible());
        QCOMPARE(menu->actions().first()->text(), QStringLiteral("¿De dónde sale esta casilla?"));
        menu->actions().first()->trigger();
        menu->hide();
    }

private slots:
    void init() { QVERIFY(prepara()); }
    void cleanup() { recoge(); }

    // The window shows the box as the sheet does (its root's amount is the box's text, in the
    // mode selected and in pesetas in the peseta view), the box and its terms open, and
    // "Copiar" gives exactly the module's text of that explanation.
    void abreDesdeLaHoja_data()
    {
        QTest::addColumn<int>("via");
        QTest::addColumn<int>("casilla");
        QTest::addColumn<int>("modalidad");
        QTest::addColumn<bool>("pesetas");
        // 21 is typed without Enter: F1 first takes it into the sheet, as Enter would.
        QTest::newRow("F1 on a typed box") << int(F1) << 21 << 0 << false;
        QTest::newRow("F1 on a result box that takes the focus") << int(F1) << 91 << 0 << false;
        QTest::newRow("double click on the result, declarant's") << int(DobleClic) << 106 << 1 << false;
        QTest::newRow("right click on a box, menu") << int(MenuCasilla) << 97 << 0 << false;
        QTest::newRow("menu button on the current box") << int(MenuBoton) << 21 << 0 << false;
        QTest::newRow("right click in pesetas on a typed box") << int(MenuCasilla) << 21 << 0 << true;
        QTest::newRow("right click in pesetas, spouse's") << int(MenuCasilla) << 90 << 2 << true;
    }
    void abreDesdeLaHoja()
    {
        QFETCH(int, via);
        QFETCH(int, casilla);
        QFETCH(int, modalidad);
        QFETCH(bool, pesetas);
        QVERIFY(arranca([](Precalculo &w) { w.registraPantalla(0, pareja(true)); }));
        hijo<QComboBox>("Cb")->setCurrentIndex(modalidad);
        caja(21)->setFocus();
        QTRY_VERIFY(caja(21)->hasFocus());
        QTest::keyClicks(caja(21), QStringLiteral("1250"));
        if (pesetas) {
            QTest::keyClick(caja(21), Qt::Key_Return);
            this->pesetas(true);
        }
        switch (via) {
        case F1:
            caja(casilla)->setFocus();
            QTRY_VERIFY(caja(casilla)->hasFocus());
            QTest::keyClick(caja(casilla), Qt::Key_F1);
            break;
        case DobleClic: QTest::mouseDClick(caja(casilla), Qt::LeftButton); break;
        case MenuCasilla:
            QTest::mouseClick(caja(casilla), Qt::RightButton);
            primeraDelMenu();
            break;
        case MenuBoton:
            hijo<QAbstractButton>("CmOp5")->click();
            primeraDelMenu();
            break;
        }
        QTRY_VERIFY(abierta());
        DetalleCasilla *w = abierta();
        QCOMPARE(w->windowTitle(), QStringLiteral("Detalle de la casilla %1").arg(casilla));
        // 23 = 21 + 22; 1.250 € × 166,386 = 207.982,5 pesetas, the half rounded up.
        QCOMPARE(caja(23)->text(), pesetas ? QStringLiteral("207.983") : QStringLiteral("1.250,00"));

        QAbstractItemModel *modelo = w->arbol()->model();
        QAbstractItemModelTester revisor(modelo, QAbstractItemModelTester::FailureReportingMode::QtTest);
        const QModelIndex raiz = modelo->index(0, 0);
        QCOMPARE(modelo->rowCount(), 1);
        QCOMPARE(modelo->index(0, 1).data().toString(), mostrado(casilla));
        if (EsEntrada(casilla))
            QCOMPARE(modelo->rowCount(raiz), 0);  // a leaf saying where it was typed
        for (int i = 0; i < modelo->rowCount(raiz); ++i) {
            const QModelIndex termino = modelo->index(i, 0, raiz);
            QVERIFY(w->arbol()->isExpanded(raiz));
            QVERIFY(w->arbol()->isExpanded(termino) || modelo->rowCount(termino) == 0);
            for (int j = 0; j < modelo->rowCount(termino); ++j)
                QVERIFY(!w->arbol()->isExpanded(modelo->index(j, 0, termino)));
        }

        QGuiApplication::clipboard()->clear();
        w->findChild<QPushButton *>(QStringLiteral("Copiar"))->click();
        const Modalidad m = *ModalidadDeIndice(modalidad);
        const Explicacion e = Explica(m_w->declaracion(), m, casilla);
        const MonedaExplicacion moneda = pesetas ? MonedaExplicacion::Pesetas : MonedaExplicacion::Euros;
        QCOMPARE(QGuiApplication::clipboard()->text(), QString::fromStdString(TextoExplicacion(e, e.raiz, moneda)));
        // A concept cut in its column reads whole, as written, in its tool tip.
        QCOMPARE(QTextDocumentFragment::fromHtml(raiz.data(Qt::ToolTipRole).toString()).toPlainText(),
                 QString::fromStdString(ConceptoNodo(e[e.raiz])));

        QTest::keyClick(w->arbol(), Qt::Key_Escape);
        QTRY_VERIFY(!m_w->findChild<DetalleCasilla *>());
    }

    // A double click on an input box is the edit control's: it opens nothing.
    void dobleClicEnCasillaTecleada()
    {
        QVERIFY(arranca());
        QTest::mouseDClick(caja(21), Qt::LeftButton);
        QTest::qWait(50);
        QVERIFY(!m_w->findChild<DetalleCasilla *>());
    }

    // A box holding a text that is no amount (only a paste brings one): the module's message,
    // no window.
    void cajaQueNoEsImporte()
    {
        QVERIFY(arranca());
        caja(21)->setText(QStringLiteral("12a"));
        MensajeBox::setNextAnswer(MensajeBox::Aceptar);
        QTest::keyClick(caja(91), Qt::Key_F1);
        QVERIFY(!m_w->findChild<DetalleCasilla *>());
        const Explicacion e = Explica(m_w->declaracion(), Modalidad::Conjunta, 91);
        QVERIFY(!e.ok);
        QCOMPARE(MensajeBox::ultimoTexto(), QString::fromStdString(e.mensaje));
    }

    // "Imprimir" offers Qt's print dialog; cancelled, it says nothing and the window stays.
    void imprimirAbreElDialogo()
    {
        QVERIFY(arranca([](Precalculo &w) { w.registraPantalla(0, pareja(false)); }));
        m_w->explicaCasilla(106);
        QTRY_VERIFY(abierta());
        QString titulo;
        cuandoAbra<QPrintDialog>([&titulo](QPrintDialog *d) { titulo = d->windowTitle(); });
        abierta()->findChild<QPushButton *>(QStringLiteral("Imprimir"))->click();
        QCOMPARE(titulo, QStringLiteral("Imprimir"));
        QVERIFY(MensajeBox::textos().isEmpty());
        QVERIFY(abierta());
    }
};

QTEST_MAIN(DetalleCasillaTest)
#include "DetalleCasillaTest.moc"
