// The data-entry screens driven by keyboard, alone and from the main window: a first start
// that begins with the household, the income screens and their sums, typing and clicking into
// the fields of every kind of screen and the ways out of a screen.
#include "CampoEdit.h"
#include "FormularioRentas.h"
#include "Herramientas.h"
#include "ListaCampo.h"
#include "MensajeBox.h"
#include "PantallaLista.h"
#include "PantallasDeDatos.h"
#include "Precalculo.h"
#include "Teclado.h"
#include "TextoQt.h"
#include "UnidadFam.h"
#include "VistaLista.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>

using namespace simulador;

namespace {

// Focus on the box and type over its selected text, as a user does.
void escribe(CampoEdit *c, const char *texto)
{
    c->setFocus();
    QTRY_VERIFY(c->hasFocus());
    QTest::keyClicks(c, QString::fromLatin1(texto));
}

void guarda(MarcoDatos *d) { QTest::mouseClick(d->findChild<QPushButton *>("CmOp1"), Qt::LeftButton); }

// The main window's sheet, an income screen, the household, the deductions list.
enum Donde { Hoja, Rentas, Familia, Rejilla };
struct CasoAno { int fila; QString ano, mensaje; int almacenados; };
// caja: the box (a list: the column in its first row) typed into and read afterwards (queda);
// salida: the way out, if any; respuesta: to "¿Desea salir sin guardar los cambios?";
// pregunta: whether it was asked; abierta: whether the screen stays; antes: a sheet box's text.
struct CasoPantalla {
    Donde donde;
    int caja;
    QString teclas, salida;
    MensajeBox::Respuesta respuesta;
    bool pregunta, abierta;
    QString queda, antes = {};
};

// A data or list screen on its own, shown and active, the focus on its first field or cell.
std::unique_ptr<MarcoDatos> muestra(Donde donde, const Declaracion &d)
{
    std::unique_ptr<MarcoDatos> p;
    if (donde == Rentas)
        p = std::make_unique<FormularioRentas>(PantallaRenta::Trabajo, d);
    else if (donde == Familia)
        p = std::make_unique<UnidadFam>(d);
    else
        p = std::make_unique<PantallaLista>(TipoLista::DCuota, d);
    p->show();
    p->activateWindow();
    if (!QTest::qWaitForWindowActive(p.get()))
        return nullptr;
    if (auto *l = qobject_cast<PantallaLista *>(p.get())) {
        l->vista()->setFocus();
        l->vista()->setCurrentIndex(l->vista()->model()->index(0, 2));
    }
    return p;
}

// The main window with the data screens, once its sheet takes input; null if it never does.
// Without `hogar` the household screen, which a first start opens by itself, is left out.
std::unique_ptr<Precalculo> arranca(bool hogar = false)
{
    auto w = std::make_unique<Precalculo>();
    for (const PantallaDeDatos &p : PantallasDeDatos())
        if (hogar || p.numero != 0)
            w->registraPantalla(p.numero, p.abre);
    w->show();
    w->activateWindow();
    // The sheet's focus child, not hasFocus(): offscreen, the window a modal screen leaves is
    // not made active again, as a desktop's window manager does.
    if (!QTest::qWaitFor([&w] { return w->listo() && w->focusWidget() == w->casilla(9); }, 5000))
        return nullptr;
    return w;
}

void cierra(Precalculo &w)
{
    MensajeBox::setNextAnswer(MensajeBox::No);  // not saved at exit
    w.close();
}

}  // namespace

class FormulariosTest : public QObject {
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> m_estado;  // XDG_STATE_HOME: the last declaration, fresh each test

private slots:
    void init()
    {
        m_estado = std::make_unique<QTemporaryDir>();
        QVERIFY(m_estado->isValid());
        qputenv("XDG_STATE_HOME", m_estado->path().toLocal8Bit());
        MensajeBox::olvidaUltimo();
    }
    void cleanup() { MensajeBox::setNextAnswer(MensajeBox::Ninguna); }

    // A first start: no saved file, so the household screen comes first, before the sheet
    // takes any input. Then the employment income from its header and a screen by its section
    // code: each opens with the focus in one of its boxes, and on return the sheet
    // recalculates and takes the focus back.
    void primerArranqueHogarYRentas()
    {
        bool antesDeLaHoja = false;
        cuandoAbra<DialogoDatos>([&antesDeLaHoja](DialogoDatos *d) {
            auto *w = qobject_cast<Precalculo *>(d->parentWidget());
            antesDeLaHoja = w && !w->listo() && d->windowTitle() == QStringLiteral("Datos de la Unidad Familiar");
            escribe(d->caja(kCajaNombre), "Garcia Lopez, Ana");
            escribe(d->caja(0), "1970");
            escribe(d->caja(1), "1972");
            guarda(d);
        });
        std::unique_ptr<Precalculo> w = arranca(true);
        QVERIFY(w);
        QVERIFY(antesDeLaHoja);
        QCOMPARE(w->findChild<QLabel *>("LbCod")->text(), QStringLiteral("Garcia Lopez, Ana"));
        // The screen's own focus child: which window the platform calls active may still change
        // on a loaded machine, the box that has the screen's focus does not.
        QStringList conFoco;
        const auto enfocada = [&conFoco](DialogoDatos *d) {
            if (qobject_cast<CampoEdit *>(d->focusWidget()) && d->isAncestorOf(d->focusWidget()))
                conFoco << d->windowTitle();
        };
        cuandoAbra<DialogoDatos>([&enfocada](DialogoDatos *d) {
            enfocada(d);
            escribe(d->caja(0), "30000");
            escribe(d->caja(5), "12000,5");
            guarda(d);
        });
        QTest::mouseClick(w->findChild<QLabel *>("LbMnt0"), Qt::LeftButton);
        QCOMPARE(w->textoCasilla(0), QStringLiteral("42.000,50"));  // 30.000 + 12.000,50
        // The household is in the liquidation too: a married couple filing jointly reduces the
        // base by 3.400 (art. 84.2.3 LIRPF).
        QCOMPARE(w->textoCasilla(29), QStringLiteral("3.400,00"));
        cuandoAbra<DialogoDatos>(enfocada);
        w->abreApartado(33);
        QCOMPARE(conFoco, (QStringList{"Rdtos. del Trabajo", "Actividades Agrarias-Ganaderas"}));
        QTRY_VERIFY(w->focusWidget() == w->casilla(9));
        cierra(*w);
    }

    // The screen stays open on the box at fault; "&Salir" then asks, as the refused year is
    // not stored, and keeps the rows stored before it.
    void anoDeNacimientoRechazado_data()
    {
        QTest::addColumn<CasoAno>("c");
        QTest::newRow("declarant without a year")
            << CasoAno{0, "", "El año de nacimiento del contribuyente debe de estar informado.", 0};
        QTest::newRow("child 4 born in 2022") << CasoAno{5, "2022", "El año de nacimiento no puede ser mayor que 2021", 5};
    }

    void anoDeNacimientoRechazado()
    {
        QFETCH(CasoAno, c);
        Declaracion d;
        d.Miembros[5].AnoNac = 2015;
        bool enfocada = false;  // still open, on the box at fault
        cuandoAbra<DialogoDatos>([&](DialogoDatos *p) {
            for (int r = 0; r < 6; ++r)
                p->caja(r)->setText(r == c.fila ? c.ano : QString::number(1960 + 10 * r));
            MensajeBox::setNextAnswer(MensajeBox::Aceptar);
            guarda(p);
            enfocada = p->isVisible() && p->focusWidget() == p->caja(c.fila);
            MensajeBox::setNextAnswer(MensajeBox::Si);
            QTest::mouseClick(p->findChild<QPushButton *>("CmOp0"), Qt::LeftButton);
        });
        QCOMPARE(AbreUnidadFam(d, nullptr), c.almacenados > 0);
        QCOMPARE(MensajeBox::textos(), (QStringList{c.mensaje, aQt(kPreguntaSalirSinGuardar)}));
        QVERIFY(enfocada);
        for (int r = 0; r < c.almacenados; ++r)
            QCOMPARE(int(d.Miembros[r].AnoNac), 1960 + 10 * r);
        QCOMPARE(int(d.Miembros[5].AnoNac), 2015);  // the refused row keeps what it had
    }

    void tecleoYSalida_data()
    {
        QTest::addColumn<CasoPantalla>("c");
        const auto si = MensajeBox::Si, no = MensajeBox::No;
        // A click elsewhere ("@") and one back must select the whole text, as Tab does: what is
        // typed then replaces 1.500,00 or 1.200,00. A refused key keeps the selection; Alt and
        // Ctrl combinations type nothing. A sheet box is read in its display form.
        QTest::newRow("click back into a sheet box")
            << CasoPantalla{Hoja, 9, "@1500\n", "", si, false, true, "1.500,00", "1.200,00"};
        QTest::newRow("refused key over a sheet box")
            << CasoPantalla{Hoja, 84, "x1500\n", "", si, false, true, "1.500,00", "1.200,00"};
        QTest::newRow("alt and ctrl over a sheet box") << CasoPantalla{Hoja, 22, "~q~w~.^q7\n", "", si, false, true, "7,00"};
        QTest::newRow("click back into an income box") << CasoPantalla{Rentas, 0, "@22000\n", "", si, false, true, "22000"};
        QTest::newRow("letters over a birth year") << CasoPantalla{Familia, 0, "ab~1^21975\n", "", si, false, true, "1975"};
        QTest::newRow("click back into a list cell") << CasoPantalla{Rejilla, 2, "|@x~71500\n", "", si, false, true, "1500"};
        // The declarant's income is 1.500,00. Entering boxes shows their editing form
        // ("1500,00"), which is no change.
        QTest::newRow("income boxes only entered") << CasoPantalla{Rentas, 0, "\n\n", "\x1b", si, false, false, "1500,00"};
        QTest::newRow("income typed, Escape, No") << CasoPantalla{Rentas, 0, "99", "\x1b", no, true, true, "99"};
        QTest::newRow("income typed, Alt+S, Si") << CasoPantalla{Rentas, 0, "99", "~s", si, true, false, "99"};
        QTest::newRow("income typed back to its value") << CasoPantalla{Rentas, 0, "1500\n", "~s", si, false, false, "1500"};
        QTest::newRow("name typed, window closed, No") << CasoPantalla{Familia, kCajaNombre, "Ana", "$", no, true, true, "Ana"};
        // Escape with a pop-up list open closes only the list.
        QTest::newRow("region list open, Escape") << CasoPantalla{Familia, kCajaNombre, "Ana\n", "\x1b", si, false, true, "Ana"};
        // Escape in a cell drops only that edit: the cell gets its value back, the rows stay.
        QTest::newRow("cell being typed, Escape") << CasoPantalla{Rejilla, 2, "77", "\x1b", si, false, true, "500"};
        QTest::newRow("cell stored, Escape, No") << CasoPantalla{Rejilla, 2, "77\n", "\x1b", no, true, true, "77"};
        QTest::newRow("cell stored, Salir, Si") << CasoPantalla{Rejilla, 2, "77\n", "~s", si, true, false, "77"};
        QTest::newRow("cell typed back to its value") << CasoPantalla{Rejilla, 2, "500\n", "\x1b", si, false, false, "500"};
    }

    void tecleoYSalida()
    {
        QFETCH(CasoPantalla, c);
        Declaracion d;
        d.Autonomia = "09";  // Catalunya: the deductions list shows its housing box, a place to click
        d.Rentas[1].TrabIngresos = M("1500");
        d.ListaDeducciones = {DatosDeduccion{"B", "A", "", M("500"), {}, {}}};
        std::unique_ptr<Precalculo> w = c.donde == Hoja ? arranca() : nullptr;
        std::unique_ptr<MarcoDatos> p = c.donde == Hoja ? nullptr : muestra(c.donde, d);
        QVERIFY(w || p);
        auto *datos = qobject_cast<DialogoDatos *>(p.get());
        VistaLista *vista = c.donde == Rejilla ? static_cast<PantallaLista *>(p.get())->vista() : nullptr;
        const auto caja = [&](int n) { return w ? w->casilla(n) : datos->caja(n); };
        const auto campo = [&]() -> QWidget * { return vista ? vista->editorAbierto() : caja(c.caja); };
        QWidget *otro = vista ? static_cast<QWidget *>(p->findChild<QCheckBox *>("Tramo")) : caja(w ? 12 : c.caja + 1);
        if (w)
            caja(c.caja)->setText(c.antes);
        if (!vista) {
            campo()->setFocus();
            QTRY_VERIFY(campo()->hasFocus());
        }
        // Every box answered: one that should not come would otherwise wait for a click.
        MensajeBox::setNextAnswer(c.respuesta, true);
        teclea(c.teclas + c.salida, campo, otro);
        // Alt+S clicks after a short animation.
        QTRY_COMPARE(MensajeBox::textos(), c.pregunta ? QStringList{aQt(kPreguntaSalirSinGuardar)} : QStringList());
        QTRY_COMPARE(w ? w->isVisible() : p->isVisible(), c.abierta);
        if (p && !c.abierta)
            QCOMPARE(p->result(), int(QDialog::Rejected));
        if (datos)
            QVERIFY(!datos->lista()->isVisible());
        if (vista)  // the cell closed, the item and the new-row line
            QVERIFY(!vista->editorAbierto() && vista->model()->rowCount() == 2);
        QCOMPARE(w      ? aQt(FormateaCampo("D1002", deQt(w->textoCasilla(c.caja)), true))
                 : vista ? vista->model()->index(0, c.caja).data(Qt::EditRole).toString()
                         : datos->caja(c.caja)->text(),
                 c.queda);
        if (w)
            cierra(*w);
    }

    // The program runs on an 800 × 600 screen: every data screen must fit on it, and every
    // pop-up list opens whole inside its screen, the lowest ones included. On each, Ctrl+E in
    // a box or on a button and a click on the euro image open the converter, once each.
    void pantallasCabenEnLaVentana()
    {
        int conversor = 0;
        Herramientas::instala({}, [&conversor](QWidget *) { ++conversor; });
        Declaracion d;
        d.Rentas[1].InmIngresos = M("7200");
        d.Rentas[2].Retribuciones = M("15000");
        std::vector<std::unique_ptr<DialogoDatos>> pantallas;
        pantallas.push_back(std::make_unique<UnidadFam>(d));
        for (const PantallaRenta p : PantallasRenta())
            pantallas.push_back(std::make_unique<FormularioRentas>(p, d));
        for (const auto &p : pantallas) {
            p->show();
            p->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(p.get()));
            QVERIFY2(p->width() <= 800 && p->height() <= 600, qPrintable(p->objectName()));
            QTest::keyClick(p->focusWidget(), Qt::Key_E, Qt::ControlModifier);  // the first box
            QTest::mouseClick(p->findChild<QLabel *>("ImEuro"), Qt::LeftButton);
            for (int n = 0; n < p->numCajas(); ++n) {
                CampoEdit *c = p->caja(n);
                if (c->especLista() == QStringLiteral("@") || !c->isVisible())
                    continue;
                c->setFocus();
                QTRY_VERIFY(p->lista()->isVisible());
                QVERIFY2(p->rect().contains(p->lista()->geometry()),
                         qPrintable(p->objectName() + QStringLiteral(" box %1").arg(n)));
            }
            auto *guardar = p->findChild<QPushButton *>("CmOp1");
            guardar->setFocus();
            QTRY_VERIFY(!p->lista()->isVisible());  // a button taking the focus closes the list
            QTest::keyClick(guardar, Qt::Key_E, Qt::ControlModifier);
            p->close();
        }
        Herramientas::instala({}, {});
        QCOMPARE(conversor, 3 * int(pantallas.size()));
    }
};

QTEST_MAIN(FormulariosTest)
#include "FormulariosTest.moc"
