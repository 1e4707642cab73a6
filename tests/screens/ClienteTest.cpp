// The main workspace with clients' files and the joint-or-individual comparison, and what
// it does with bad input: damaged files, saves that fail, texts no screen could produce.
// Offscreen; TMPDIR and the user's settings point into a fresh folder per test.
#include "CampoEdit.h"
#include "Declaracion.h"
#include "FicherosRecientes.h"
#include "MensajeBox.h"
#include "Precalculo.h"
#include "VentanaComparativa.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <functional>
#include <memory>

using simulador::Declaracion;

class ClienteTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { m_tmpdirOriginal = qgetenv("TMPDIR"); }
    void init();
    void cleanup();
    void comparativaEligeLaLiquidacion_data();
    void comparativaEligeLaLiquidacion();
    void guardarComoYAbrir();
    void ficheroDanado_data();
    void ficheroDanado();
    void avisosEnUnSoloMensaje();
    void guardadoFallido_data();
    void guardadoFallido();
    void casillaIlegibleNoSeGuarda_data();
    void casillaIlegibleNoSeGuarda();

private:
    std::unique_ptr<Precalculo> arranca();
    CampoEdit *caja(int n) const { return m_w->casilla(n); }
    void escribe(int n, const char *texto);
    QString ruta(const QString &nombre) const { return m_tmp->path() + QLatin1Char('/') + nombre; }
    // Runs `accion` on the next modal window once it is up (a box not answered in advance).
    void alAbrirse(std::function<void(QDialog *)> accion);
    void cierraElMensaje()
    {
        alAbrirse([](QDialog *d) { d->done(0); });
    }

    QByteArray m_tmpdirOriginal;
    std::unique_ptr<QTemporaryDir> m_tmp;
    std::unique_ptr<QTimer> m_vigilante;
    std::unique_ptr<Precalculo> m_w;
};

namespace {

QByteArray contenido(const QString &ruta)
{
    QFile f(ruta);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(no se puede leer)");
}

bool escribeFichero(const QString &ruta, const QByteArray &bytes)
{
    QFile f(ruta);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// Two salaries of 30000 (2000 of expenses, 4000 withheld each), or the declarant's alone.
void pareja(Declaracion &d, bool conConyuge)
{
    d.Miembros[0].AnoNac = 1980;
    d.Miembros[0].Edad = 41;
    const int personas = conConyuge ? 2 : 1;
    if (conConyuge) {
        d.Miembros[1].AnoNac = 1982;
        d.Miembros[1].Edad = 39;
    }
    for (int p = 1; p <= personas; ++p) {
        d.Rentas[p].TrabIngresos = simulador::Money::euros(30000);
        d.Rentas[p].TrabGastos = simulador::Money::euros(2000);
        d.Rentas[p].TrabRetencion = simulador::Money::euros(4000);
    }
    simulador::RehaceTotales(d);
}

}  // namespace

void ClienteTest::init()
{
    m_tmp = std::make_unique<QTemporaryDir>();
    QVERIFY(m_tmp->isValid());
    qputenv("TMPDIR", m_tmp->path().toLocal8Bit());
    for (QSettings::Format f : {QSettings::NativeFormat, QSettings::IniFormat})
        QSettings::setPath(f, QSettings::UserScope, m_tmp->path() + QStringLiteral("/ajustes"));
    MensajeBox::setNextAnswer(MensajeBox::Ninguna);
    MensajeBox::olvidaUltimo();
}

void ClienteTest::cleanup()
{
    m_vigilante.reset();
    if (m_w) {
        MensajeBox::setNextAnswer(MensajeBox::No);
        m_w->close();
        m_w.reset();
    }
    MensajeBox::setNextAnswer(MensajeBox::Ninguna);
    // The next folder must not be made inside this one, which goes with it.
    m_tmp.reset();
    qputenv("TMPDIR", m_tmpdirOriginal);
}

std::unique_ptr<Precalculo> ClienteTest::arranca()
{
    auto w = std::make_unique<Precalculo>();
    w->show();
    if (!QTest::qWaitFor([&w] { return w->listo(); }, 3000))
        return nullptr;
    // Again once started: a message box at start takes the activation with it.
    w->activateWindow();
    if (!QTest::qWaitForWindowActive(w.get()))
        return nullptr;
    if (!QTest::qWaitFor([&w] { return w->casilla(9)->hasFocus(); }, 3000))
        return nullptr;
    return w;
}

void ClienteTest::escribe(int n, const char *texto)
{
    caja(n)->setFocus();
    QTRY_VERIFY(caja(n)->hasFocus());
    QTest::keyClicks(caja(n), QString::fromLatin1(texto));
}

void ClienteTest::alAbrirse(std::function<void(QDialog *)> accion)
{
    m_vigilante = std::make_unique<QTimer>();
    m_vigilante->setInterval(10);
    connect(m_vigilante.get(), &QTimer::timeout, this, [this, accion] {
        auto *d = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (!d || !d->isVisible())
            return;
        m_vigilante->stop();
        accion(d);
    });
    m_vigilante->start();
}

void ClienteTest::comparativaEligeLaLiquidacion_data()
{
    QTest::addColumn<bool>("conConyuge");
    QTest::addColumn<int>("derecha");  // Right presses from the sheet's column, CONJUNTA
    QTest::addColumn<int>("tecla");
    QTest::addColumn<int>("modalidad");
    QTest::addColumn<QString>("resultado");  // box 106 afterwards
    // Hand figures (the module's comparison tests): individually 1.075,35 each; jointly the
    // expenses of 2000 count once and the base falls by 3400: 5.540,03.
    QTest::newRow("Enter on DECLARANTE") << true << 1 << int(Qt::Key_Return) << 1 << QStringLiteral("1.075,35");
    QTest::newRow("Enter on CONYUGE") << true << 2 << int(Qt::Key_Return) << 2 << QStringLiteral("1.075,35");
    QTest::newRow("the sum column is no liquidation") << true << 3 << int(Qt::Key_Return) << 0 << QStringLiteral("5.540,03");
    QTest::newRow("Escape changes nothing") << true << 1 << int(Qt::Key_Escape) << 0 << QStringLiteral("5.540,03");
    QTest::newRow("no spouse: DECLARANTE") << false << 1 << int(Qt::Key_Return) << 1 << QStringLiteral("1.075,35");
}

void ClienteTest::comparativaEligeLaLiquidacion()
{
    QFETCH(bool, conConyuge);
    QFETCH(int, derecha);
    QFETCH(int, tecla);
    QFETCH(int, modalidad);
    QFETCH(QString, resultado);
    m_w = arranca();
    QVERIFY(m_w);
    m_w->registraPantalla(0, [conConyuge](Declaracion &d, QWidget *) {
        pareja(d, conConyuge);
        return true;
    });
    QTest::mouseClick(m_w->findChild<QAbstractButton *>(QStringLiteral("CmOp3")), Qt::LeftButton);
    const QString conjunta = conConyuge ? QStringLiteral("5.540,03") : QStringLiteral("1.075,35");
    QCOMPARE(caja(106)->text(), conjunta);

    QStringList columnas, resultados;
    QString veredicto;
    bool sigueAbierta = false;
    alAbrirse([&](QDialog *d) {
        auto *tabla = d->findChild<QTableView *>(QStringLiteral("tabla"));
        const QAbstractItemModel *m = tabla->model();
        for (int c = 0; c < m->columnCount(); ++c) {
            columnas << m->headerData(c, Qt::Horizontal).toString().replace(QLatin1Char('\n'), QLatin1Char(' '));
            resultados << m->index(5, c).data().toString();
        }
        veredicto = d->findChild<QLabel *>(QStringLiteral("veredicto"))->text();
        for (int i = 0; i < derecha; ++i)
            QTest::keyClick(tabla, Qt::Key_Right);
        QTest::keyClick(tabla, Qt::Key(tecla));
        sigueAbierta = d->isVisible();
        if (sigueAbierta)
            QTest::keyClick(tabla, Qt::Key_Escape);
    });
    QTest::keyClick(caja(9), Qt::Key_F6);
    QVERIFY(!columnas.isEmpty());  // the window was opened
    if (conConyuge) {
        QCOMPARE(columnas, QStringList({"CONJUNTA", "DECLARANTE", "CONYUGE", "DECLARANTE + CONYUGE"}));
        QCOMPARE(resultados, QStringList({"5.540,03", "1.075,35", "1.075,35", "2.150,70"}));
        QCOMPARE(veredicto, QStringLiteral("La tributación individual resulta 3.389,33 € más favorable."));
    } else {
        QCOMPARE(columnas, QStringList({"CONJUNTA", "DECLARANTE"}));
        QCOMPARE(resultados, QStringList({"1.075,35", "1.075,35"}));
        QCOMPARE(veredicto, QStringLiteral("La tributación conjunta y la individual dan el mismo resultado."));
    }
    QCOMPARE(sigueAbierta, derecha == 3);
    QCOMPARE(m_w->modalidad(), modalidad);
    QCOMPARE(caja(106)->text(), resultado);
}

void ClienteTest::guardarComoYAbrir()
{
    m_w = arranca();
    QVERIFY(m_w);
    const QString titulo = m_w->windowTitle();
    QString elegido;
    m_w->setEligeFichero([&elegido](QWidget *, bool, const QString &) { return elegido; });
    escribe(21, "1000");
    QTest::keyClick(caja(21), Qt::Key_Return);

    // Saved as a client's file: ".ini" added, named in the caption, first of the recent files;
    // in euros even from the peseta view, where opening a file waits for the euros.
    elegido = ruta(QStringLiteral("garcia"));
    m_w->findChild<QRadioButton *>(QStringLiteral("Option1_1"))->click();
    QCOMPARE(caja(21)->text(), QStringLiteral("166.386"));
    QVERIFY(!m_w->findChild<QAction *>(QStringLiteral("Abrir"))->isEnabled());
    QTest::keyClick(m_w.get(), Qt::Key_S, Qt::ControlModifier);
    m_w->findChild<QRadioButton *>(QStringLiteral("Option1_0"))->click();
    const QString cliente = ruta(QStringLiteral("garcia.ini"));
    const QByteArray guardado = contenido(cliente);
    QVERIFY(guardado.contains("\r\n21=1.000,00\r\n"));
    QCOMPARE(m_w->ficheroCliente(), cliente);
    QCOMPARE(m_w->windowTitle(), titulo + QStringLiteral(" - garcia.ini"));
    QCOMPARE(FicherosRecientes::lista(), QStringList{cliente});
    QVERIFY(!m_w->cambiosSinGuardar());
    QVERIFY(m_w->modificado());  // the last declaration is still to be saved at exit
    QVERIFY(!QFile::exists(m_w->rutaFichero()));

    // A change, then the client's file again from the recent files: asked, read back.
    escribe(21, "2500");
    QTest::keyClick(caja(21), Qt::Key_Return);
    QCOMPARE(caja(23)->text(), QStringLiteral("2.500,00"));
    QVERIFY(m_w->cambiosSinGuardar());
    auto *menu = m_w->findChild<QMenu *>(QStringLiteral("MenuFichero"));
    QVERIFY(QMetaObject::invokeMethod(menu, "aboutToShow"));
    auto *reciente = m_w->findChild<QAction *>(QStringLiteral("Reciente0"));
    QVERIFY(reciente);
    QCOMPARE(reciente->toolTip(), QDir::toNativeSeparators(cliente));
    MensajeBox::setNextAnswer(MensajeBox::No);
    reciente->trigger();
    QCOMPARE(MensajeBox::ultimoTitulo(), QStringLiteral("Abrir"));
    QCOMPARE(caja(23)->text(), QStringLiteral("2.500,00"));  // No: nothing read
    MensajeBox::setNextAnswer(MensajeBox::Si);
    reciente->trigger();
    QCOMPARE(caja(21)->text(), QStringLiteral("1.000,00"));
    QCOMPARE(caja(23)->text(), QStringLiteral("1.000,00"));
    QVERIFY(!m_w->cambiosSinGuardar());

    // Ctrl+O with nothing changed asks nothing and reads the file the chooser gives.
    MensajeBox::olvidaUltimo();
    elegido = cliente;
    QTest::keyClick(caja(9), Qt::Key_O, Qt::ControlModifier);
    QCOMPARE(MensajeBox::ultimoTexto(), QString());
    QCOMPARE(m_w->windowTitle(), titulo + QStringLiteral(" - garcia.ini"));

    // At exit the last declaration is saved as before.
    MensajeBox::setNextAnswer(MensajeBox::Si);
    m_w->close();
    QCOMPARE(MensajeBox::ultimoTitulo(), QStringLiteral("Grabar al Salir"));
    QVERIFY(contenido(ruta(QStringLiteral("DatosCa21.Ini"))).contains("\r\n21=1.000,00\r\n"));
    QCOMPARE(contenido(cliente), guardado);  // only "Guardar como…" writes a client's file
    m_w.reset();
}

void ClienteTest::ficheroDanado_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("mensaje");
    QTest::newRow("cut inside a section name")
        << QByteArray("[Datos]\r\nNombre=Ana\r\nAutonomia=12\r\n[UnidadFam") << QStringLiteral("Línea no válida");
    QTest::newRow("a line without key")
        << QByteArray("[Datos]\r\nNombre=Ana\r\nesto no es una clave\r\n") << QStringLiteral("Línea no válida");
    QTest::newRow("binary") << QByteArray("[Datos]\r\nNombre=\0\x01\x02", 19) << QStringLiteral("datos binarios");
    QTest::newRow("over 1 MiB") << QByteArray(1024 * 1024 + 1, 'a') << QStringLiteral("demasiado grande");
    QTest::newRow("amount out of range")
        << QByteArray("[Trabajo]\r\n1=99999999999999999999|0|0|0|0|No|No\r\n") << QStringLiteral("fuera de rango");
    QTest::newRow("a folder at its path") << QByteArray() << QStringLiteral("No se puede leer");
}

void ClienteTest::ficheroDanado()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, mensaje);
    const QString danado = ruta(QStringLiteral("DatosCa21.Ini"));
    const bool carpeta = bytes.isEmpty();
    QVERIFY(carpeta ? QDir().mkdir(danado) : escribeFichero(danado, bytes));

    // At start: asked, then told; the sheet starts empty.
    MensajeBox::setNextAnswer(MensajeBox::Si);
    cierraElMensaje();
    m_w = arranca();
    QVERIFY(m_w);
    QVERIFY2(MensajeBox::ultimoTexto().contains(mensaje), qPrintable(MensajeBox::ultimoTexto()));
    QVERIFY(MensajeBox::ultimoTexto().contains(QStringLiteral("declaración vacía")));
    const Declaracion &d = m_w->declaracion();  // its boxes hold the sheet's empty texts
    QVERIFY(d.Miembros == Declaracion().Miembros && d.Rentas == Declaracion().Rentas);
    QVERIFY(d.ListaMobiliario.empty() && d.ListaGanancias.empty() && d.ListaDeducciones.empty());
    QCOMPARE(caja(11)->text(), QString());

    // Opened as a client's file over a sheet with data: refused, the sheet as it was.
    escribe(21, "1000");
    QTest::keyClick(caja(21), Qt::Key_Return);
    QTRY_VERIFY(caja(22)->hasFocus());
    const QString titulo = m_w->windowTitle();
    MensajeBox::setNextAnswer(MensajeBox::Aceptar);
    QVERIFY(!m_w->abreFichero(danado));
    QVERIFY(MensajeBox::ultimoTexto().contains(mensaje));
    QCOMPARE(caja(21)->text(), QStringLiteral("1.000,00"));
    QCOMPARE(caja(23)->text(), QStringLiteral("1.000,00"));
    QCOMPARE(m_w->windowTitle(), titulo);
    QCOMPARE(m_w->ficheroCliente(), QString());

    // Not saved at exit: the damaged file stays as it was.
    MensajeBox::setNextAnswer(MensajeBox::No);
    m_w->close();
    m_w.reset();
    if (carpeta)
        QVERIFY(QFileInfo(danado).isDir());
    else
        QCOMPARE(contenido(danado), bytes);
}

void ClienteTest::avisosEnUnSoloMensaje()
{
    const QString fichero = ruta(QStringLiteral("raro.ini"));
    QVERIFY(escribeFichero(fichero, "[Datos]\r\nAutonomia=14\r\n"
                                    "[UnidadFamiliar]\r\n0=40|1981|0||si|No|0|\r\n"
                                    "[Ganancias]\r\n0=A|D|31-02-2021|1|01-01-2021|2\r\n"
                                    "[Varios]\r\n21=7,00\r\n"));
    m_w = arranca();
    QVERIFY(m_w);
    MensajeBox::setNextAnswer(MensajeBox::Aceptar);
    QVERIFY(m_w->abreFichero(fichero));
    // Loaded as it is, then one box listing the three values no screen writes.
    QCOMPARE(caja(23)->text(), QStringLiteral("7,00"));
    const QStringList lineas = MensajeBox::ultimoTexto().split(QLatin1Char('\n'));
    QCOMPARE(lineas.size(), 4);
    QVERIFY(lineas[0].contains(QStringLiteral("raro.ini")));
    QVERIFY(lineas[1].startsWith(QStringLiteral("Comunidad autónoma no válida «14»")));
    QVERIFY(lineas[2].startsWith(QStringLiteral("Valor no válido «si»")));
    QVERIFY(lineas[3].startsWith(QStringLiteral("Fecha no válida «31-02-2021»")));
}

void ClienteTest::guardadoFallido_data()
{
    QTest::addColumn<bool>("carpeta");
    QTest::newRow("a folder at the file's path") << true;
    QTest::newRow("the temporary folder under a regular file") << false;
}

void ClienteTest::guardadoFallido()
{
    QFETCH(bool, carpeta);
    // A regular file where a folder should be, for the client's file and perhaps TMPDIR.
    QVERIFY(escribeFichero(ruta(QStringLiteral("fichero")), "x"));
    if (carpeta) {
        QVERIFY(QDir().mkdir(ruta(QStringLiteral("DatosCa21.Ini"))));
        MensajeBox::setNextAnswer(MensajeBox::No);  // not loaded
    } else {
        qputenv("TMPDIR", ruta(QStringLiteral("fichero/tmp")).toLocal8Bit());
    }
    m_w = arranca();
    QVERIFY(m_w);
    QString elegido = ruta(QStringLiteral("fichero/cliente.ini"));
    m_w->setEligeFichero([&elegido](QWidget *, bool, const QString &) { return elegido; });
    escribe(21, "1000");
    QTest::keyClick(caja(21), Qt::Key_Return);

    // Guardar como into it: told, nothing changes.
    MensajeBox::setNextAnswer(MensajeBox::Aceptar);
    QTest::keyClick(caja(22), Qt::Key_S, Qt::ControlModifier);
    QVERIFY(MensajeBox::ultimoTexto().startsWith(QStringLiteral("No se ha podido guardar")));
    QCOMPARE(m_w->ficheroCliente(), QString());
    QVERIFY(m_w->cambiosSinGuardar());

    // At exit: told, and the window stays with the data on it.
    MensajeBox::setNextAnswer(MensajeBox::Si);
    cierraElMensaje();
    QVERIFY(!m_w->close());
    QVERIFY(MensajeBox::ultimoTexto().startsWith(QStringLiteral("No se ha podido guardar")));
    QVERIFY(m_w->isVisible());
    QCOMPARE(caja(21)->text(), QStringLiteral("1.000,00"));
    QVERIFY(m_w->rutaFichero().startsWith(m_tmp->path()));

    // Another file takes it; No at the next exit closes. (Offscreen, the closed box leaves
    // no window active.)
    m_w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_w.get()));
    elegido = ruta(QStringLiteral("cliente"));
    QTest::keyClick(caja(22), Qt::Key_S, Qt::ControlModifier);
    QVERIFY(QFile::exists(ruta(QStringLiteral("cliente.ini"))));
    MensajeBox::setNextAnswer(MensajeBox::No);
    QVERIFY(m_w->close());
}

void ClienteTest::casillaIlegibleNoSeGuarda_data()
{
    QTest::addColumn<int>("accion");
    QTest::newRow("Guardar como") << 0;
    QTest::newRow("exit") << 1;
    QTest::newRow("comparison") << 2;
}

void ClienteTest::casillaIlegibleNoSeGuarda()
{
    QFETCH(int, accion);
    m_w = arranca();
    QVERIFY(m_w);
    m_w->setEligeFichero([this](QWidget *, bool, const QString &) { return ruta(QStringLiteral("c.ini")); });
    escribe(21, "1000");
    QTest::keyClick(caja(21), Qt::Key_Return);
    // Pasted (the key filter lets no such text in) and left without Enter.
    caja(22)->setText(QStringLiteral("999999999999999999999"));
    m_w->hoja()->setFocus();
    bool indebido = false;  // the window closed, or a comparison opened
    switch (accion) {
    case 0:
        MensajeBox::setNextAnswer(MensajeBox::Aceptar);
        QVERIFY(m_w->guardaComo(ruta(QStringLiteral("c.ini"))) == false);
        break;
    case 1:
        MensajeBox::setNextAnswer(MensajeBox::Si);
        cierraElMensaje();
        indebido = m_w->close();
        m_w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_w.get()));
        break;
    default:
        MensajeBox::setNextAnswer(MensajeBox::Aceptar);
        alAbrirse([&indebido](QDialog *d) {  // closed should one open
            indebido = true;
            d->done(0);
        });
        QTest::keyClick(m_w->hoja(), Qt::Key_F6);
        break;
    }
    QVERIFY(!indebido);
    QVERIFY2(MensajeBox::ultimoTexto().startsWith(QStringLiteral("Importe fuera de rango en la casilla 22")),
             qPrintable(MensajeBox::ultimoTexto()));
    QVERIFY(!QFile::exists(ruta(QStringLiteral("c.ini"))));
    QVERIFY(!QFile::exists(m_w->rutaFichero()));
    QCOMPARE(m_w->modalidad(), 0);
    if (accion != 2)
        QTRY_VERIFY(caja(22)->hasFocus());
}

QTEST_MAIN(ClienteTest)
#include "ClienteTest.moc"
