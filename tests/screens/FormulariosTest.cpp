// The data-entry screens driven by keyboard, alone and from the main workspace: a first
// start that begins with the household, the income screens and their sums, typing and
// clicking into the fields of every kind of screen, the ways out of a screen, and the
// restart that finds everything again. Offscreen; a fresh temporary folder per test through
// XDG_STATE_HOME keeps the saved declaration away from the real one.
#include "CampoEdit.h"
#include "FormularioRentas.h"
#include "Herramientas.h"
#include "ListaCampo.h"
#include "MensajeBox.h"
#include "PantallaLista.h"
#include "PantallasDeDatos.h"
#include "Precalculo.h"
#include "TextoQt.h"
#include "UnidadFam.h"
#include "VistaLista.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <functional>
#include <optional>
#include <memory>

using namespace simulador;

namespace {

// An empty last declaration in its private folder under `estado`: the start then asks
// whether to load it instead of opening the family screen.
bool ultimaGuardada(const QString &estado)
{
    QDir(estado).mkdir(QStringLiteral("simulador-irpf2021"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QFile vacio(QDir(estado).filePath(QStringLiteral("simulador-irpf2021/DatosCa21.Ini")));
    return vacio.open(QIODevice::WriteOnly);
}

// Runs `paso` on the next modal data screen once it is shown and active.
void cuandoAbra(std::function<void(DialogoDatos *)> paso, int intentos = 200)
{
    QTimer::singleShot(10, [paso = std::move(paso), intentos]() mutable {
        auto *d = qobject_cast<DialogoDatos *>(QApplication::activeModalWidget());
        if (!d || !d->isVisible()) {
            if (intentos > 0)
                cuandoAbra(std::move(paso), intentos - 1);
            return;
        }
        d->activateWindow();
        if (QTest::qWaitForWindowActive(d))
            paso(d);
        if (d->isVisible())
            d->done(QDialog::Rejected);  // a failed step must not leave the test waiting on the screen
    });
}

// Plays `guion` into the widget that has the focus: characters as keys, "~x" Alt+x, "^x"
// Ctrl+x, "\n" Enter, "\x1b" Escape, "|" F2, "$" the window's close button, and "@" a click
// on `otro` and a click back into what `campo` gives, as a user comes back to a field.
void teclea(const QString &guion, const std::function<QWidget *()> &campo = {}, QWidget *otro = nullptr)
{
    for (qsizetype i = 0; i < guion.size(); ++i) {
        QWidget *f = QApplication::focusWidget();
        QVERIFY(f);
        const char c = guion.at(i).toLatin1();
        switch (c) {
        case '@':
            QTest::mouseClick(otro, Qt::LeftButton);
            QTRY_VERIFY(!campo()->hasFocus());
            QTest::mouseClick(campo(), Qt::LeftButton);
            QTRY_VERIFY(campo()->hasFocus());
            break;
        case '~': QTest::keyClick(f, guion.at(++i).toLatin1(), Qt::AltModifier); break;
        case '^': QTest::keyClick(f, guion.at(++i).toLatin1(), Qt::ControlModifier); break;
        case '\n':
            QTest::keyClick(f, Qt::Key_Return);
            QCoreApplication::processEvents();  // the move to the next field is posted
            break;
        case '\x1b': QTest::keyClick(f, Qt::Key_Escape); break;
        case '|': QTest::keyClick(f, Qt::Key_F2); break;
        case '$': f->window()->close(); break;
        default: QTest::keyClick(f, c);
        }
    }
}

// Where the typing and leaving tests work.
enum Donde { Hoja, Rentas, Familia, Rejilla };

// A data or list screen on its own, shown and active, with the focus on its first field (a
// list screen: on the amount cell of its first row).
std::unique_ptr<QDialog> muestra(Donde donde, const Declaracion &d)
{
    std::unique_ptr<QDialog> p;
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

// Focus on the box and type over its selected text, as a user does.
void escribe(CampoEdit *c, const char *texto)
{
    c->setFocus();
    QTest::keyClicks(c, QString::fromLatin1(texto));
}

// Enter leaves the box for `siguiente`, down the column.
void escribeYEnter(DialogoDatos *d, int caja, const char *texto, int siguiente)
{
    escribe(d->caja(caja), texto);
    QTest::keyClick(d->caja(caja), Qt::Key_Return);
    QTRY_VERIFY(d->caja(siguiente)->hasFocus());
}

// Down from a list box goes into its list; Enter there takes the item under the cursor.
void eligeEnLista(DialogoDatos *d, CampoEdit *c, int bajadas)
{
    QTest::keyClick(c, Qt::Key_Down);
    QTRY_VERIFY(d->lista()->hasFocus());
    for (int i = 0; i < bajadas; ++i)
        QTest::keyClick(d->lista(), Qt::Key_Down);
    QTest::keyClick(d->lista(), Qt::Key_Return);
}

void pulsa(DialogoDatos *d, const char *boton) { QTest::mouseClick(d->findChild<QPushButton *>(boton), Qt::LeftButton); }
void guarda(DialogoDatos *d) { pulsa(d, "CmOp1"); }
void salir(DialogoDatos *d) { pulsa(d, "CmOp0"); }

// The main window with the data screens registered, once its sheet takes input; null if it never does.
std::unique_ptr<Precalculo> arranca()
{
    auto w = std::make_unique<Precalculo>();
    for (const PantallaDeDatos &p : PantallasDeDatos())
        w->registraPantalla(p.numero, p.abre);
    w->show();
    w->activateWindow();
    // The sheet's focus child, not hasFocus(): offscreen, the window a modal screen leaves is
    // not made active again, as a desktop's window manager does.
    if (!QTest::qWaitFor([&w] { return w->listo() && w->focusWidget() == w->casilla(9); }, 5000))
        return nullptr;
    return w;
}

}  // namespace

class FormulariosTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { m_tmpOriginal = QDir::tempPath(); }
    void init();
    void cleanup() { MensajeBox::setNextAnswer(MensajeBox::Ninguna); }
    void primerArranqueHogarYRentasHastaReiniciar();
    void anoDeNacimientoRechazado_data();
    void anoDeNacimientoRechazado();
    void tecleoEnCadaPantalla_data();
    void tecleoEnCadaPantalla();
    void salirDeUnaPantalla_data();
    void salirDeUnaPantalla();
    void listaSiNoConElTeclado();
    void cadaApartadoAbreSuPantalla_data();
    void cadaApartadoAbreSuPantalla();
    void calculadoraYConversor();
    void pantallasCabenEnLaVentana();

private:
    QString m_tmpOriginal;
    std::unique_ptr<QTemporaryDir> m_tmp;
};

void FormulariosTest::init()
{
    m_tmp.reset();
    m_tmp = std::make_unique<QTemporaryDir>(QDir(m_tmpOriginal).filePath(QStringLiteral("formularios-XXXXXX")));
    QVERIFY(m_tmp->isValid());
    qputenv("XDG_STATE_HOME", m_tmp->path().toLocal8Bit());
    MensajeBox::setNextAnswer(MensajeBox::Ninguna);
    MensajeBox::olvidaUltimo();
}

void FormulariosTest::primerArranqueHogarYRentasHastaReiniciar()
{
    // No saved file: the family screen comes first, before the sheet takes any input.
    bool antesDeLaHoja = false;
    cuandoAbra([&antesDeLaHoja](DialogoDatos *d) {
        QCOMPARE(d->windowTitle(), QStringLiteral("Datos de la Unidad Familiar"));
        auto *w = qobject_cast<Precalculo *>(d->parentWidget());
        antesDeLaHoja = w && !w->listo();
        escribe(d->caja(kCajaNombre), "Garcia Lopez, Ana");
        escribeYEnter(d, 0, "1970", 1);
        escribeYEnter(d, 1, "1972", 2);
        escribe(d->caja(2), "2012");
        // The child's minimum goes to the spouse: the third item of the FILIACION list.
        d->caja(20)->setFocus();
        QTRY_VERIFY(d->lista()->isVisible());
        eligeEnLista(d, d->caja(20), 2);
        QCOMPARE(d->caja(20)->text(), QStringLiteral("Cónyuge"));
        d->caja(kCajaAutonomia)->setText(QStringLiteral("Madrid"));
        guarda(d);
    });
    std::unique_ptr<Precalculo> w = arranca();
    QVERIFY(w);
    QVERIFY(antesDeLaHoja);
    QCOMPARE(w->findChild<QLabel *>("LbCod")->text(), QStringLiteral("Garcia Lopez, Ana"));

    // Employment income from its header; the sheet recalculates on return.
    cuandoAbra([](DialogoDatos *d) {
        escribeYEnter(d, 0, "30000", 1);
        escribe(d->caja(5), "12000,5");
        guarda(d);
    });
    QTest::mouseClick(w->findChild<QLabel *>("LbMnt0"), Qt::LeftButton);
    QCOMPARE(w->textoCasilla(0), QStringLiteral("42.000,50"));  // 30.000 + 12.000,50
    // The household is in the liquidation too: a married couple filing jointly reduces the
    // base by 3.400 (art. 84.2.3 LIRPF).
    QCOMPARE(w->textoCasilla(29), QStringLiteral("3.400,00"));
    QVERIFY(w->modificado());

    // Save on exit, start again, load: the household and the income are back on the screens.
    MensajeBox::setNextAnswer(MensajeBox::Si);
    w->close();
    w.reset();
    QVERIFY(QFile::exists(QDir(m_tmp->path()).filePath("simulador-irpf2021/DatosCa21.Ini")));
    MensajeBox::setNextAnswer(MensajeBox::Si);
    w = arranca();
    QVERIFY(w);
    QCOMPARE(w->textoCasilla(0), QStringLiteral("42.000,50"));
    QStringList vistos;
    cuandoAbra([&vistos](DialogoDatos *d) {
        vistos << d->caja(0)->text() << d->caja(20)->text() << d->caja(kCajaAutonomia)->text();
    });
    QTest::mouseClick(w->findChild<QAbstractButton *>("CmOp3"), Qt::LeftButton);
    QCOMPARE(vistos, (QStringList{"1970", "Cónyuge", "Madrid"}));
    vistos.clear();
    cuandoAbra([&vistos](DialogoDatos *d) {
        vistos << d->caja(0)->text() << d->caja(5)->text() << d->caja(10)->text() << d->caja(13)->text();
    });
    w->abreApartado(0);
    // Box 0 has the focus, so it shows its editing form.
    QCOMPARE(vistos, (QStringList{"30000,00", "12.000,50", "No", "No"}));
    MensajeBox::setNextAnswer(MensajeBox::No);
    w->close();
}

void FormulariosTest::anoDeNacimientoRechazado_data()
{
    QTest::addColumn<int>("fila");
    QTest::addColumn<QString>("ano");
    QTest::addColumn<QString>("mensaje");
    QTest::addColumn<int>("almacenados");
    QTest::newRow("declarant without a year")
        << 0 << QString() << QStringLiteral("El año de nacimiento del contribuyente debe de estar informado.") << 0;
    QTest::newRow("child 4 born in 2022")
        << 5 << QStringLiteral("2022") << QStringLiteral("El año de nacimiento no puede ser mayor que 2021") << 5;
}

// The screen stays open on the box at fault; "&Salir" then asks, as the refused year is not
// stored, and keeps the rows stored before it.
void FormulariosTest::anoDeNacimientoRechazado()
{
    QFETCH(int, fila);
    QFETCH(QString, ano);
    QFETCH(QString, mensaje);
    QFETCH(int, almacenados);
    Declaracion d;
    d.Miembros[5].AnoNac = 2015;
    bool enfocada = false;
    bool abierta = false;
    QString visto, titulo;
    cuandoAbra([&](DialogoDatos *p) {
        for (int r = 0; r < 6; ++r)
            p->caja(r)->setText(QString::number(1960 + 10 * r));
        p->caja(fila)->setText(ano);
        MensajeBox::setNextAnswer(MensajeBox::Aceptar);
        guarda(p);
        visto = MensajeBox::ultimoTexto();
        titulo = MensajeBox::ultimoTitulo();
        abierta = p->isVisible();
        enfocada = QTest::qWaitFor([&] { return p->caja(fila)->hasFocus(); }, 1000);
        MensajeBox::setNextAnswer(MensajeBox::Si);
        salir(p);
    });
    const bool cambia = AbreUnidadFam(d, nullptr);
    QCOMPARE(visto, mensaje);
    QCOMPARE(titulo, QStringLiteral("Información"));
    QCOMPARE(MensajeBox::ultimoTexto(), aQt(kPreguntaSalirSinGuardar));
    QVERIFY(abierta);
    QVERIFY(enfocada);
    QCOMPARE(cambia, almacenados > 0);
    for (int r = 0; r < almacenados; ++r)
        QCOMPARE(int(d.Miembros[r].AnoNac), 1960 + 10 * r);
    QCOMPARE(int(d.Miembros[5].AnoNac), 2015);  // the refused row keeps what it had
}

void FormulariosTest::tecleoEnCadaPantalla_data()
{
    QTest::addColumn<int>("donde");
    QTest::addColumn<int>("caja");      // the box, or the column of the list's first row
    QTest::addColumn<QString>("antes");  // what a sheet box holds first
    QTest::addColumn<QString>("teclas");
    QTest::addColumn<QString>("queda");  // the field afterwards (a sheet box in its display form)
    // A click elsewhere and one back must select the whole text, as Tab does: 1500 typed then
    // replaces 1.200,00 (not 15.001.200,00). A refused key keeps the selection; Alt and Ctrl
    // combinations type nothing.
    QTest::newRow("click back into a sheet box") << int(Hoja) << 9 << "1.200,00" << "@1500\n" << "1.500,00";
    QTest::newRow("refused key over a sheet box") << int(Hoja) << 84 << "1.200,00" << "x1500\n" << "1.500,00";
    QTest::newRow("alt and ctrl over a sheet box") << int(Hoja) << 22 << "" << "~q~w~.^q7\n" << "7,00";
    QTest::newRow("click back into an income box") << int(Rentas) << 0 << "" << "@22000\n" << "22000";
    QTest::newRow("letters over a birth year") << int(Familia) << 0 << "" << "ab~1^21975\n" << "1975";
    QTest::newRow("click back into a list cell") << int(Rejilla) << 2 << "" << "|@x~71500\n" << "1500";
}

void FormulariosTest::tecleoEnCadaPantalla()
{
    QFETCH(int, donde);
    QFETCH(int, caja);
    QFETCH(QString, antes);
    QFETCH(QString, teclas);
    QFETCH(QString, queda);
    Declaracion d;
    d.Autonomia = "09";  // Catalunya: the deductions list shows its housing box, a place to click
    d.ListaDeducciones = {DatosDeduccion{"B", "A", "", M("500"), {}, {}}};
    std::unique_ptr<Precalculo> w;
    std::unique_ptr<QDialog> p;
    std::function<QWidget *()> campo;
    QWidget *otro = nullptr;
    std::function<QString()> valor;
    if (donde == Hoja) {
        MensajeBox::setNextAnswer(MensajeBox::No);  // a saved file, not loaded: no family screen
        QVERIFY(ultimaGuardada(m_tmp->path()));
        w = arranca();
        QVERIFY(w);
        w->casilla(caja)->setText(antes);
        campo = [&w, caja] { return w->casilla(caja); };
        otro = w->casilla(12);
        valor = [&w, caja] { return aQt(FormateaCampo("D1002", deQt(w->textoCasilla(caja)), true)); };
    } else {
        p = muestra(Donde(donde), d);
        QVERIFY(p);
        if (auto *l = qobject_cast<PantallaLista *>(p.get())) {
            campo = [l] { return l->vista()->editorAbierto(); };
            otro = l->findChild<QCheckBox *>("Tramo");
            valor = [l, caja] { return l->vista()->model()->index(0, caja).data(Qt::EditRole).toString(); };
        } else {
            auto *dd = static_cast<DialogoDatos *>(p.get());
            campo = [dd, caja] { return dd->caja(caja); };
            otro = dd->caja(caja + 1);
            valor = [dd, caja] { return dd->caja(caja)->text(); };
        }
    }
    if (donde != Rejilla) {
        campo()->setFocus();
        QTRY_VERIFY(campo()->hasFocus());
    }
    MensajeBox::olvidaUltimo();
    MensajeBox::setNextAnswer(MensajeBox::Aceptar);  // a wrong figure must not wait on its message
    teclea(teclas, campo, otro);
    QCOMPARE(valor(), queda);
    QCOMPARE(MensajeBox::ultimoTexto(), QString());
    if (w) {
        MensajeBox::setNextAnswer(MensajeBox::No);
        w->close();
    }
}

void FormulariosTest::salirDeUnaPantalla_data()
{
    QTest::addColumn<int>("donde");
    QTest::addColumn<QString>("teclas");  // typed first, then the way out
    QTest::addColumn<QString>("salida");
    QTest::addColumn<int>("respuesta");    // to "¿Desea salir sin guardar los cambios?"
    QTest::addColumn<bool>("pregunta");    // whether it was asked
    QTest::addColumn<bool>("abierta");     // whether the screen is still there
    QTest::addColumn<QString>("queda");    // the first field (the list's first income cell)
    const int si = MensajeBox::Si, no = MensajeBox::No;
    // The declarant's income is 1.500,00. Entering boxes shows their editing form
    // ("1500,00"), which is no change.
    QTest::newRow("income boxes only entered") << int(Rentas) << "\n\n" << "\x1b" << si << false << false << "1500,00";
    QTest::newRow("income typed, Escape, No") << int(Rentas) << "99" << "\x1b" << no << true << true << "99";
    QTest::newRow("income typed, Alt+S, Si") << int(Rentas) << "99" << "~s" << si << true << false << "99";
    QTest::newRow("income typed back to its value") << int(Rentas) << "1500\n" << "~s" << si << false << false << "1500";
    QTest::newRow("name typed, window closed, No") << int(Familia) << "Ana" << "$" << no << true << true << "Ana";
    // Escape with a pop-up list open closes only the list.
    QTest::newRow("region list open, Escape") << int(Familia) << "Ana\n" << "\x1b" << si << false << true << "Ana";
    // Escape in a cell drops only that edit: the cell gets its value back, the rows stay.
    QTest::newRow("cell being typed, Escape") << int(Rejilla) << "77" << "\x1b" << si << false << true << "500";
    QTest::newRow("cell stored, Escape, No") << int(Rejilla) << "77\n" << "\x1b" << no << true << true << "77";
    QTest::newRow("cell stored, Salir, Si") << int(Rejilla) << "77\n" << "~s" << si << true << false << "77";
    QTest::newRow("cell typed back to its value") << int(Rejilla) << "500\n" << "\x1b" << si << false << false << "500";
}

void FormulariosTest::salirDeUnaPantalla()
{
    QFETCH(int, donde);
    QFETCH(QString, teclas);
    QFETCH(QString, salida);
    QFETCH(int, respuesta);
    QFETCH(bool, pregunta);
    QFETCH(bool, abierta);
    QFETCH(QString, queda);
    Declaracion d;
    d.Rentas[1].TrabIngresos = M("1500");
    d.ListaDeducciones = {DatosDeduccion{"B", "A", "", M("500"), {}, {}}};
    std::unique_ptr<QDialog> p = muestra(Donde(donde), d);
    QVERIFY(p);
    auto *lista = qobject_cast<PantallaLista *>(p.get());
    auto *datos = qobject_cast<DialogoDatos *>(p.get());
    teclea(teclas);
    const QString texto = aQt(kPreguntaSalirSinGuardar);
    MensajeBox::setNextAnswer(MensajeBox::Respuesta(respuesta));
    MensajeBox::olvidaUltimo();
    const auto preguntado = [&] { return MensajeBox::ultimoTexto() == texto; };
    teclea(salida);
    QTRY_COMPARE(preguntado(), pregunta);  // Alt+S clicks after a short animation
    QTRY_COMPARE(p->isVisible(), abierta);
    if (!abierta)
        QCOMPARE(p->result(), int(QDialog::Rejected));
    if (datos) {
        QVERIFY(!datos->lista()->isVisible());
        QCOMPARE(datos->caja(donde == Familia ? kCajaNombre : 0)->text(), queda);
    } else {
        QVERIFY(!lista->vista()->editorAbierto());
        QCOMPARE(lista->vista()->model()->rowCount(), 2);  // the item and the new-row line
        QCOMPARE(lista->vista()->model()->index(0, 2).data(Qt::EditRole).toString(), queda);
    }
}

// A yes/no box opens its list under it; Down goes into the list, Enter takes the item and
// moves to the next box, Escape in the list goes back to the box unchanged.
void FormulariosTest::listaSiNoConElTeclado()
{
    Declaracion d;
    d.Rentas[1].TrabIngresos = M("100");
    cuandoAbra([](DialogoDatos *p) {
        CampoEdit *mov = p->caja(10);
        mov->setFocus();
        QTRY_VERIFY(p->lista()->isVisible());
        QCOMPARE(p->lista()->currentItem()->text(), QStringLiteral("No"));
        QTest::keyClicks(mov, QStringLiteral("x"));  // list boxes are chosen, never typed
        QCOMPARE(mov->text(), QStringLiteral("No"));
        QTest::keyClick(mov, Qt::Key_Down);
        QTRY_VERIFY(p->lista()->hasFocus());
        QTest::keyClick(p->lista(), Qt::Key_Down);
        QTest::keyClick(p->lista(), Qt::Key_Escape);
        QTRY_VERIFY(mov->hasFocus());
        QCOMPARE(mov->text(), QStringLiteral("No"));
        eligeEnLista(p, mov, 1);
        QCOMPARE(mov->text(), QStringLiteral("Sí"));
        QTRY_VERIFY(p->caja(12)->hasFocus());  // the next box of the declarant's column
        // A button taking the focus closes the list.
        QTRY_VERIFY(p->lista()->isVisible());
        p->findChild<QPushButton *>("CmOp1")->setFocus();
        QTRY_VERIFY(!p->lista()->isVisible());
        guarda(p);
    });
    QVERIFY(AbreRentas(PantallaRenta::Trabajo, d, nullptr));
    QCOMPARE(d.Rentas[1].TrabMovilidad, std::string("Sí"));
}

void FormulariosTest::cadaApartadoAbreSuPantalla_data()
{
    // How the user gets there: a section header, a menu item, the family button, or a
    // section code no control carries.
    QTest::addColumn<QString>("desde");
    QTest::addColumn<QString>("titulo");
    const QString inmuebles = QStringLiteral("Rdtos. del Capital Inmobiliario");
    const QString familia = QStringLiteral("Datos de la Unidad Familiar");
    const QString agricolas = QStringLiteral("Actividades Agrarias-Ganaderas");
    QTest::newRow("employment header") << QStringLiteral("LbMnt0") << QStringLiteral("Rdtos. del Trabajo");
    QTest::newRow("real-estate header") << QStringLiteral("LbMnt1") << inmuebles;
    QTest::newRow("family minimum header") << QStringLiteral("LbMnt6") << familia;
    QTest::newRow("reductions header") << QStringLiteral("LbMnt7") << QStringLiteral("Reducciones de la Base General");
    QTest::newRow("family menu item") << QStringLiteral("MnMnt6") << familia;
    QTest::newRow("direct estimation sub-menu")
        << QStringLiteral("MnAct0") << QStringLiteral("Actividades en Estimación Directa");
    QTest::newRow("modules sub-menu") << QStringLiteral("MnAct1") << QStringLiteral("Act. Estimación Objetiva Empresarial");
    QTest::newRow("agriculture sub-menu") << QStringLiteral("MnAct2") << agricolas;
    QTest::newRow("family button") << QStringLiteral("CmOp3") << familia;
    QTest::newRow("code 11") << QStringLiteral("11") << inmuebles;
    QTest::newRow("code 33") << QStringLiteral("33") << agricolas;
}

void FormulariosTest::cadaApartadoAbreSuPantalla()
{
    QFETCH(QString, desde);
    QFETCH(QString, titulo);
    // A saved file (not loaded: the answer is No), so the start does not open the family screen.
    MensajeBox::setNextAnswer(MensajeBox::No);
    QVERIFY(ultimaGuardada(m_tmp->path()));
    std::unique_ptr<Precalculo> w = arranca();
    QVERIFY(w);
    QString visto;
    bool conFoco = false;
    cuandoAbra([&](DialogoDatos *p) {
        visto = p->windowTitle();
        // The focus reaches the screen's first box with the window's activation, which a
        // busy machine may deliver after the screen reports itself active: wait for it.
        conFoco = QTest::qWaitFor([p] {
            QWidget *f = QApplication::focusWidget();
            return f && p->isAncestorOf(f);
        }, 2000);
    });
    bool esCodigo = false;
    const int codigo = desde.toInt(&esCodigo);
    if (esCodigo)
        w->abreApartado(codigo);
    else if (auto *a = w->findChild<QAction *>(desde))
        a->trigger();
    else if (auto *b = w->findChild<QAbstractButton *>(desde))
        QTest::mouseClick(b, Qt::LeftButton);
    else if (auto *l = w->findChild<QLabel *>(desde))
        QTest::mouseClick(l, Qt::LeftButton);
    QCOMPARE(visto, titulo);
    QVERIFY(conFoco);
    QTRY_VERIFY(w->focusWidget() == w->casilla(9));  // the view reset after the screen
    MensajeBox::setNextAnswer(MensajeBox::No);
    w->close();
}

// F4 fills the box from the calculator, negative results included; Ctrl+E, in a box or
// anywhere on the screen, and a click on the euro image open the converter. "&Guardar"
// stores the declarant's box and the spouse's typed one, each with its entry 0.
void FormulariosTest::calculadoraYConversor()
{
    QString recibido;
    int conversor = 0;
    Herramientas::instala(
        [&recibido](const QString &valor, QWidget *) -> std::optional<QString> {
            recibido = valor;
            return QStringLiteral("-12,5");
        },
        [&conversor](QWidget *) { ++conversor; });
    Declaracion d;
    d.Rentas[1].RedAnualidades = M("250");
    cuandoAbra([&conversor](DialogoDatos *p) {
        p->caja(1)->setFocus();
        QTRY_VERIFY(p->caja(1)->hasFocus());
        QTest::keyClick(p->caja(1), Qt::Key_F4);
        QCOMPARE(p->caja(1)->text(), QStringLiteral("-12,50"));  // to the cent
        QCOMPARE(p->caja(1)->fondo(), DialogoDatos::kCian);  // back from the calculator's green
        QTest::keyClick(p->caja(1), Qt::Key_E, Qt::ControlModifier);
        QCOMPARE(conversor, 1);
        auto *salir = p->findChild<QPushButton *>("CmOp0");
        salir->setFocus();
        QTRY_VERIFY(salir->hasFocus());
        QTest::keyClick(salir, Qt::Key_E, Qt::ControlModifier);
        QCOMPARE(conversor, 2);
        QTest::mouseClick(p->findChild<QLabel *>("ImEuro"), Qt::LeftButton);
        QCOMPARE(conversor, 3);
        escribe(p->caja(3), "2000,25");
        guarda(p);
    });
    const bool cambia = AbreRentas(PantallaRenta::Reducciones, d, nullptr);
    Herramientas::instala({}, {});
    QVERIFY(cambia);
    QCOMPARE(recibido, QStringLiteral("250,00"));  // the box's editing form
    QCOMPARE(d.Rentas[1].RedAnualidades, M("-12.5"));
    QCOMPARE(d.Rentas[0].RedAnualidades, M("-12.5"));
    QCOMPARE(d.Rentas[2].RedPlanPension, M("2000.25"));
    QCOMPARE(d.Rentas[0].RedPlanPension, M("2000.25"));
    QCOMPARE(d.Rentas[1].RedPlanPension, Money());
}

// The program runs on an 800 × 600 screen: every data screen must fit on it.
void FormulariosTest::pantallasCabenEnLaVentana()
{
    Declaracion d;
    d.Rentas[1].InmIngresos = M("7200");
    d.Rentas[2].Retribuciones = M("15000");
    std::vector<std::unique_ptr<DialogoDatos>> pantallas;
    pantallas.push_back(std::make_unique<UnidadFam>(d));
    for (const PantallaRenta p : PantallasRenta())
        pantallas.push_back(std::make_unique<FormularioRentas>(p, d));
    for (const auto &p : pantallas) {
        p->show();
        QVERIFY(QTest::qWaitForWindowExposed(p.get()));
        QVERIFY2(p->width() <= 800 && p->height() <= 600, qPrintable(p->objectName()));
        // Every pop-up list opens whole inside its screen, the lowest ones included.
        for (int n = 0; n < p->numCajas(); ++n) {
            CampoEdit *c = p->caja(n);
            if (c->especLista() == QStringLiteral("@") || !c->isVisible())
                continue;
            p->activateWindow();
            c->setFocus();
            QTRY_VERIFY(p->lista()->isVisible());
            QVERIFY2(p->rect().contains(p->lista()->geometry()),
                     qPrintable(p->objectName() + QStringLiteral(" box %1").arg(n)));
        }
        p->close();
    }
}

QTEST_MAIN(FormulariosTest)
#include "FormulariosTest.moc"
