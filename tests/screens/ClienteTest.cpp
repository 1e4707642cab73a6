// The main workspace with clients' files, the way out and the joint-or-individual
// comparison, and what it does with bad input: damaged files, saves that fail, texts no
// screen could produce, a second session on the same last declaration.
// Offscreen; see AyudaPrecalculo.h.
#include "AyudaPrecalculo.h"
#include "Bloqueo.h"
#include "FicherosRecientes.h"
#include "ImpresionHoja.h"

#include <QAbstractItemModel>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QTableView>
#include <QTextDocumentFragment>

#include <algorithm>

using simulador::Declaracion;

// Rich text a file could bring: a font, and a link that would open.
const QByteArray kTrampa = "<font size=6 color=red>Grande</font><a href=\"http://ejemplo.invalid/\">Pulse aquí</a>";

class ClienteTest : public QObject, AyudaPrecalculo {
    Q_OBJECT

private slots:
    void init() { QVERIFY(prepara()); }
    void cleanup() { recoge(); }

    // Hand figures (the module's comparison tests): individually 1.075,35 each; jointly the
    // expenses of 2000 count once and the base falls by 3400: 5.540,03. Maternity (1.200 in
    // box 84) counts in full jointly (4.340,03) and once on the individual side, in the run
    // chosen below the table (1.075,35 − 1.200 = −124,65, or 600 off each).
    void comparativaEligeLaLiquidacion_data()
    {
        QTest::addColumn<bool>("conConyuge");
        QTest::addColumn<QByteArray>("maternidad");  // typed into box 84 first
        QTest::addColumn<int>("derecha");  // Right presses from the sheet's column, CONJUNTA
        QTest::addColumn<int>("tecla");
        QTest::addColumn<int>("modalidad");
        QTest::addColumn<QStringList>("resultados");  // the table's result row, per share of box 84
        QTest::addColumn<QString>("resultado");  // box 106 afterwards
        const QStringList dos{"5.540,03", "1.075,35", "1.075,35", "2.150,70"};
        QTest::newRow("Enter on DECLARANTE") << true << QByteArray() << 1 << int(Qt::Key_Return) << 1 << dos << "1.075,35";
        QTest::newRow("Enter on CONYUGE") << true << QByteArray() << 2 << int(Qt::Key_Return) << 2 << dos << "1.075,35";
        QTest::newRow("the sum column is no liquidation") << true << QByteArray() << 3 << int(Qt::Key_Return) << 0 << dos << "5.540,03";
        QTest::newRow("Escape changes nothing") << true << QByteArray() << 1 << int(Qt::Key_Escape) << 0 << dos << "5.540,03";
        QTest::newRow("no spouse: DECLARANTE") << false << QByteArray() << 1 << int(Qt::Key_Return) << 1
                                               << QStringList{"1.075,35", "1.075,35"} << "1.075,35";
        // The sheet applies its boxes in full to the liquidation it shows, as always.
        QTest::newRow("maternity: declarant's, spouse's, half each")
            << true << QByteArray("1200") << 1 << int(Qt::Key_Return) << 1
            << QStringList{"4.340,03", "-124,65", "1.075,35", "950,70", "4.340,03", "1.075,35", "-124,65", "950,70",
                           "4.340,03", "475,35", "475,35", "950,70"}
            << "-124,65";
    }
    void comparativaEligeLaLiquidacion()
    {
        QFETCH(bool, conConyuge);
        QFETCH(QByteArray, maternidad);
        QFETCH(int, derecha);
        QFETCH(int, tecla);
        QFETCH(int, modalidad);
        QFETCH(QStringList, resultados);
        QFETCH(QString, resultado);
        QVERIFY(arranca());
        m_w->registraPantalla(0, pareja(conConyuge));
        QTest::mouseClick(hijo<QAbstractButton>("CmOp3"), Qt::LeftButton);  // " Unidad Familiar "
        if (!maternidad.isEmpty())
            escribe(84, maternidad.constData());

        QStringList columnas, leidos;
        bool sigueAbierta = false;
        alAbrirse([&](QDialog *d) {
            auto *tabla = d->findChild<QTableView *>(QStringLiteral("tabla"));
            const QAbstractItemModel *m = tabla->model();
            auto fila = [&] {
                for (int c = 0; c < m->columnCount(); ++c)
                    leidos << m->index(5, c).data().toString();
            };
            for (int c = 0; c < m->columnCount(); ++c)
                columnas << m->headerData(c, Qt::Horizontal).toString().replace(QLatin1Char('\n'), QLatin1Char(' '));
            fila();
            if (auto *combo = d->findChild<QComboBox *>(QStringLiteral("reparto84"))) {
                combo->setFocus();
                for (int i = 0; i < 2; ++i) {
                    QTest::keyClick(combo, Qt::Key_Down);  // Cónyuge, then A partes iguales
                    fila();
                }
                tabla->setFocus();
            }
            for (int i = 0; i < derecha; ++i)
                QTest::keyClick(tabla, Qt::Key_Right);
            QTest::keyClick(tabla, Qt::Key(tecla));
            sigueAbierta = d->isVisible();
            if (sigueAbierta)
                QTest::keyClick(tabla, Qt::Key_Escape);
        });
        QTest::keyClick(m_w->focusWidget(), Qt::Key_F6);
        QCOMPARE(columnas, conConyuge ? QStringList({"CONJUNTA", "DECLARANTE", "CONYUGE", "DECLARANTE + CONYUGE"})
                                      : QStringList({"CONJUNTA", "DECLARANTE"}));
        QCOMPARE(leidos, resultados);
        QCOMPARE(sigueAbierta, derecha == 3);
        QCOMPARE(m_w->modalidad(), modalidad);
        QCOMPARE(caja(106)->text(), resultado);
    }

    void guardarComoYAbrir()
    {
        QVERIFY(arranca());
        const QString titulo = m_w->windowTitle();
        // First into a file that cannot be written (a regular file where a folder should be):
        // told, nothing changes, ready for another try.
        QVERIFY(escribeFichero(ruta("fichero"), "x"));
        QString elegido = ruta("fichero/garcia");
        eligeSiempre(&elegido);
        escribe(21, "1000");
        MensajeBox::setNextAnswer(MensajeBox::Aceptar);
        QTest::keyClick(caja(22), Qt::Key_S, Qt::ControlModifier);
        QVERIFY_DICE(QStringLiteral("Los datos siguen en la hoja"));
        QVERIFY(m_w->ficheroCliente().isEmpty() && m_w->cambiosSinGuardar());
        elegido = ruta("garcia");

        // Ctrl+S with no client's file open is "Guardar como…". Saved as a client's file: ".ini"
        // added, named in the caption (not on the printout), first of the recent files; in euros
        // even from the peseta view, where opening a file waits for the euros.
        pesetas(true);
        QCOMPARE(caja(21)->text(), QStringLiteral("166.386"));
        QVERIFY(!hijo<QAction>("Abrir")->isEnabled());
        QTest::keyClick(m_w.get(), Qt::Key_S, Qt::ControlModifier);
        pesetas(false);
        const QString cliente = ruta("garcia.ini");
        QVERIFY(contenido(cliente).contains("\r\n21=1.000,00\r\n"));
        QCOMPARE(m_w->ficheroCliente(), cliente);
        QCOMPARE(m_w->windowTitle(), titulo + QStringLiteral(" - garcia.ini"));
        QCOMPARE(DatosDePrecalculo(*m_w).titulo, titulo);
        QCOMPARE(FicherosRecientes::lista(), QStringList{cliente});
        // The list names clients' files, and the file dialogs' settings their folders: both
        // are the user's alone.
        QCOMPARE(QFileInfo(ruta("ajustes/simulador")).permissions() & 0x0777, QFile::Permissions(0x0700));
        QCOMPARE(QFileInfo(ruta("ajustes/simulador/simulador.conf")).permissions() & 0x0777, QFile::Permissions(0x0600));
        FicherosRecientes::protegeDialogos();
        QCOMPARE(QFileInfo(ruta("ajustes/QtProject.conf")).permissions() & 0x0777, QFile::Permissions(0x0600));
        QVERIFY(!m_w->cambiosSinGuardar());
        QVERIFY(m_w->modificado());  // the last declaration is still to be saved at exit
        QVERIFY(!QFile::exists(m_w->rutaFichero()));

        // A change, then the client's file again from the recent files: asked, read back.
        escribe(21, "2500");
        QVERIFY(m_w->cambiosSinGuardar());
        QVERIFY(QMetaObject::invokeMethod(hijo<QMenu>("MenuFichero"), "aboutToShow"));
        auto *reciente = hijo<QAction>("Reciente0");
        QVERIFY(reciente);
        QCOMPARE(QTextDocumentFragment::fromHtml(reciente->toolTip()).toPlainText(), QDir::toNativeSeparators(cliente));
        MensajeBox::setNextAnswer(MensajeBox::No);
        reciente->trigger();
        QCOMPARE(MensajeBox::ultimoTitulo(), QStringLiteral("Abrir"));
        QCOMPARE(caja(23)->text(), QStringLiteral("2.500,00"));  // No: nothing read
        MensajeBox::setNextAnswer(MensajeBox::Si);
        reciente->trigger();
        QCOMPARE(textos({21, 23}), QStringList({"1.000,00", "1.000,00"}));
        QVERIFY(!m_w->cambiosSinGuardar());

        // Guardar (Ctrl+S) writes the open client's file without asking for a name; Guardar
        // como… (Ctrl+Shift+S) asks, and the new file becomes the client's.
        escribe(21, "3000");
        elegido = ruta("otro.ini");
        QTest::keyClick(caja(22), Qt::Key_S, Qt::ControlModifier);
        QVERIFY(contenido(cliente).contains("\r\n21=3.000,00\r\n"));
        QVERIFY(!QFile::exists(elegido));
        QVERIFY(!m_w->cambiosSinGuardar());
        escribe(21, "4000");
        QTest::keyClick(caja(22), Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
        QVERIFY(contenido(elegido).contains("\r\n21=4.000,00\r\n"));
        QCOMPARE(m_w->windowTitle(), titulo + QStringLiteral(" - otro.ini"));

        // Ctrl+O with nothing changed asks nothing and reads the file the chooser gives.
        MensajeBox::olvidaUltimo();
        elegido = cliente;
        QTest::keyClick(caja(22), Qt::Key_O, Qt::ControlModifier);
        QCOMPARE(MensajeBox::ultimoTexto(), QString());
        QCOMPARE(textos({21, 23}), QStringList({"3.000,00", "3.000,00"}));
        QCOMPARE(m_w->windowTitle(), titulo + QStringLiteral(" - garcia.ini"));
    }

    // "Grabar al Salir" after a change: with a client's file open (saved, then changed again),
    // or after a first start where only the family form was filled in; one file or the other
    // made unwritable (the reasons are the module's to test).
    void salir_data()
    {
        QTest::addColumn<QString>("caso");
        QTest::addColumn<int>("respuesta");  // MensajeBox::Respuesta; Ninguna: Escape in the real box
        QTest::addColumn<bool>("cierra");
        QTest::addColumn<bool>("cliente");  // the client's file holds the change
        QTest::addColumn<bool>("ultima");   // DatosCa21.Ini holds it
        QTest::addColumn<QString>("mensaje");
        const int si = MensajeBox::Si;
        QTest::newRow("Sí saves both files") << "" << si << true << true << true << QString();
        QTest::newRow("Cancelar stays") << "" << int(MensajeBox::Cancelar) << false << false << false << QString();
        QTest::newRow("Escape is Cancelar") << "" << int(MensajeBox::Ninguna) << false << false << false << QString();
        QTest::newRow("only the family form on a first start is a change") << "familia" << si << true << false << true << QString();
        QTest::newRow("the client's file fails: stays, says which") << "cliente" << si << false << false << true
            << QStringLiteral("- Fichero del cliente «garcia.ini»: NO guardado. No se ha podido guardar");
        QTest::newRow("the last declaration fails: stays, says which") << "carpeta" << si << false << true << false
            << QStringLiteral("- Última declaración (DatosCa21.Ini): NO guardada. No se ha podido guardar");
        QTest::newRow("a folder open to others (told at start too)") << "abierta" << si << false << true << false
                                                                     << QStringLiteral("abierta a otros usuarios");
    }
    void salir()
    {
        QFETCH(QString, caso);
        QFETCH(int, respuesta);
        QFETCH(bool, cierra);
        QFETCH(bool, cliente);
        QFETCH(bool, ultima);
        QFETCH(QString, mensaje);
        const QString garcia = ruta("garcia.ini"), ultimaDeclaracion = this->ultima();
        if (caso == QLatin1String("abierta")) {
            QVERIFY(::chmod(QFile::encodeName(ruta("simulador-irpf2021")).constData(), 0755) == 0);
            MensajeBox::setNextAnswer(MensajeBox::Aceptar);  // told at start
        }
        if (caso == QLatin1String("familia")) {
            // No DatosCa21.Ini: the family screen opens by itself, and the household is saved.
            QVERIFY(arranca([](Precalculo &w) { w.registraPantalla(0, pareja(true)); }));
        } else {
            QVERIFY(arranca());
            if (caso.isEmpty())
                QCOMPARE(MensajeBox::ultimoTexto(), QString());  // a first run asks nothing at start
            else if (caso == QLatin1String("abierta"))
                QVERIFY_DICE(mensaje);
            eligeSiempre(&garcia);
            escribe(21, "1000");
            QTest::keyClick(caja(22), Qt::Key_S, Qt::ControlModifier);
            QVERIFY(contenido(garcia).contains("\r\n21=1.000,00\r\n"));
            escribe(21, "3000");
        }
        QVERIFY(m_w->rutaFichero().startsWith(m_tmp->path()));
        if (caso == QLatin1String("cliente") || caso == QLatin1String("carpeta")) {
            const QString camino = caso == QLatin1String("cliente") ? garcia : ultimaDeclaracion;
            QFile::remove(camino);
            QVERIFY(QDir().mkdir(camino));
        }

        if (respuesta == MensajeBox::Ninguna) {
            alAbrirse([](QDialog *d) { QTest::keyClick(d, Qt::Key_Escape); });
        } else {
            MensajeBox::setNextAnswer(MensajeBox::Respuesta(respuesta));
            if (!mensaje.isEmpty())
                cierraElMensaje();
        }
        QCOMPARE(m_w->close(), cierra);
        if (mensaje.isEmpty()) {
            QCOMPARE(MensajeBox::ultimoTitulo() + MensajeBox::ultimoTexto(),
                     QStringLiteral("Grabar al Salir¿Desea guardar la información introducida?"));
        } else {
            QVERIFY_DICE(mensaje);
        }
        const bool familia = caso == QLatin1String("familia");
        if (!familia)
            QCOMPARE(contenido(garcia).contains("\r\n21=3.000,00\r\n"), cliente);
        QCOMPARE(contenido(ultimaDeclaracion).contains(familia ? "[UnidadFamiliar]\r\n0=41|1980|" : "\r\n21=3.000,00\r\n"), ultima);
        if (!cierra)  // the data is still on the sheet
            QCOMPARE(caja(21)->text(), QStringLiteral("3.000,00"));
        else
            m_w.reset();
    }

    // A second session on the same last declaration is told at start, does not load it, and
    // at exit saves its own work only to a client's file: the first session's file is never
    // written by it.
    void segundaSesion()
    {
        const QByteArray anterior("[Varios]\r\n21=7,00\r\n");
        const QString ultima = this->ultima();
        QVERIFY(escribeFichero(ultima, anterior));
        Precalculo primera;
        primera.registraPantalla(0, pareja(true));
        MensajeBox::setNextAnswer(MensajeBox::Si);
        primera.show();
        QVERIFY(QTest::qWaitFor([&primera] { return primera.listo(); }, 3000));
        QVERIFY(!primera.segundaSesion());
        QCOMPARE(primera.textoCasilla(23), QStringLiteral("7,00"));
        QTest::mouseClick(primera.findChild<QAbstractButton *>(QStringLiteral("CmOp3")), Qt::LeftButton);  // a change

        MensajeBox::olvidaUltimo();
        MensajeBox::setNextAnswer(MensajeBox::Aceptar);
        cierraElMensaje();  // should a load question come after all
        QVERIFY(arranca());
        QVERIFY(m_w->segundaSesion());
        QVERIFY(MensajeBox::ultimoTexto().startsWith(QStringLiteral("Hay otra sesión del simulador abierta")));
        QCOMPARE(caja(23)->text(), QString());  // not loaded
        escribe(21, "2500");
        QCOMPARE(caja(23)->text(), QStringLiteral("2.500,00"));

        // Sí at exit asks for a client's file: the last declaration is refused, a cancelled
        // choice keeps the window; another file takes the work.
        QString elegido;
        eligeSiempre(&elegido);
        for (const QString &fichero : {ultima, QString()}) {
            MensajeBox::setNextAnswer(MensajeBox::Si);
            elegido = fichero;
            cierraElMensaje();
            QVERIFY(!m_w->close());
            if (!fichero.isEmpty())
                QVERIFY(MensajeBox::ultimoTexto().startsWith(QStringLiteral("«DatosCa21.Ini» es la última declaración")));
        }
        QCOMPARE(caja(23)->text(), QStringLiteral("2.500,00"));
        MensajeBox::setNextAnswer(MensajeBox::Si);
        elegido = ruta("segunda");
        QVERIFY(m_w->close());
        m_w.reset();
        QVERIFY(contenido(ruta("segunda.ini")).contains("\r\n21=2.500,00\r\n"));
        QCOMPARE(contenido(ultima), anterior);

        // The first session's own save at exit is untouched by all that.
        MensajeBox::setNextAnswer(MensajeBox::Si);
        QVERIFY(primera.close());
        QVERIFY(contenido(ultima).contains("[UnidadFamiliar]\r\n0=41|1980|"));
    }

    // simulador FICHERO: the client's file as "Abrir…" would open it, in place of the offer of
    // the last declaration; one that cannot be read is told and the start goes on without it.
    // A second session may so read the other session's last declaration, but never writes it.
    void ficheroAlInicio_data()
    {
        QTest::addColumn<QString>("fichero");
        QTest::addColumn<bool>("otraSesion");   // another session holds the last declaration
        QTest::addColumn<QString>("casilla23");  // the last declaration's 7,00 or the client's 3.000,00
        QTest::addColumn<QString>("mensaje");    // among the messages at start
        QTest::newRow("a client's file, no offer") << "garcia.ini" << false << "3.000,00" << QString();
        QTest::newRow("a missing file: told, then the offer")
            << "falta.ini" << false << "7,00" << QStringLiteral("¿Desea cargar los datos de la última declaración?");
        QTest::newRow("a client's file in a second session")
            << "garcia.ini" << true << "3.000,00" << QStringLiteral("Hay otra sesión del simulador abierta");
        QTest::newRow("the other session's last declaration: read, not written")
            << "simulador-irpf2021/DatosCa21.Ini" << true << "7,00" << QStringLiteral("Hay otra sesión del simulador abierta");
    }
    void ficheroAlInicio()
    {
        QFETCH(QString, fichero);
        QFETCH(bool, otraSesion);
        QFETCH(QString, casilla23);
        QFETCH(QString, mensaje);
        const QByteArray anterior("[Varios]\r\n21=7,00\r\n");
        const QString ultima = this->ultima();
        QVERIFY(escribeFichero(ultima, anterior));
        QVERIFY(escribeFichero(ruta("garcia.ini"), "[Varios]\r\n21=3.000,00\r\n"));
        simulador::Bloqueo otra;
        if (otraSesion)
            otra = simulador::Bloqueo::Toma(QFile::encodeName(ultima + QStringLiteral(".lock")).toStdString());
        const QString ruta = this->ruta(fichero.toUtf8().constData());
        MensajeBox::setNextAnswer(MensajeBox::Si, true);
        QVERIFY(arranca([&ruta](Precalculo &w) { w.abreAlInicio(ruta); }));
        QCOMPARE(caja(23)->text(), casilla23);
        const QStringList textos = MensajeBox::textos();
        const bool ofrecida = textos.contains(QStringLiteral("¿Desea cargar los datos de la última declaración?"));
        QCOMPARE(ofrecida, fichero == QLatin1String("falta.ini"));
        const auto dicho = [&textos](const QString &parte) {
            return std::any_of(textos.begin(), textos.end(), [&parte](const QString &t) { return t.startsWith(parte); });
        };
        QVERIFY2(mensaje.isEmpty() ? textos.isEmpty() : dicho(mensaje), qPrintable(textos.join(QLatin1Char('|'))));
        if (ofrecida) {
            QVERIFY(textos.first().contains(QStringLiteral("falta.ini")));
            QVERIFY(m_w->ficheroCliente().isEmpty());
            return;
        }
        QCOMPARE(m_w->ficheroCliente(), ruta);
        QVERIFY(m_w->windowTitle().endsWith(QStringLiteral(" - ") + QFileInfo(ruta).fileName()));
        QCOMPARE(FicherosRecientes::lista().value(0), ruta);
        // Saved under its name (Ctrl+S), except over the other session's last declaration.
        escribe(21, "2500");
        QTest::keyClick(caja(22), Qt::Key_S, Qt::ControlModifier);
        const bool deLaOtra = otraSesion && ruta == ultima;
        QCOMPARE(contenido(ruta).contains("\r\n21=2.500,00\r\n"), !deLaOtra);
        if (deLaOtra) {
            QVERIFY_DICE(QStringLiteral("«DatosCa21.Ini» es la última declaración de la otra sesión"));
            QCOMPARE(contenido(ultima), anterior);
        }
    }

    // The reader's own messages are the module's to test; here, what the window does with a
    // refused file, at start (as the last declaration) and opened over a sheet with data.
    void ficheroRechazado_data()
    {
        QTest::addColumn<QByteArray>("bytes");  // empty: a folder at the file's path
        QTest::addColumn<QString>("mensaje");
        QTest::addColumn<bool>("ilegible");  // refused by the reader, so at start too
        QTest::newRow("cut inside a section name")
            << QByteArray("[Datos]\r\nNombre=Ana\r\nAutonomia=12\r\n[UnidadFam") << QStringLiteral("Línea no válida") << true;
        QTest::newRow("a folder at its path") << QByteArray() << QStringLiteral("No se puede leer") << true;
        // Quoted as it is, and shown as plain text: no font, no link to click.
        QTest::newRow("a crafted value") << QByteArray("[Trabajo]\r\n1=") + kTrampa << QStringLiteral("Importe no válido «")
            + QString::fromUtf8(kTrampa) + QStringLiteral("»") << true;
        // Each box in range, their sum not: read, but no liquidation can be shown for it.
        QTest::newRow("read but not liquidated")
            << QByteArray("[Varios]\r\n9=-900.000.000.000.000,00\r\n21=900.000.000.000.000,00\r\n")
            << QStringLiteral("la liquidación no cabe en el tipo de importe") << false;
    }
    void ficheroRechazado()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, mensaje);
        QFETCH(bool, ilegible);
        const QString fichero = ultima();
        const bool carpeta = bytes.isEmpty();
        QVERIFY(carpeta ? QDir().mkdir(fichero) : escribeFichero(fichero, bytes));

        MensajeBox::setNextAnswer(ilegible ? MensajeBox::Si : MensajeBox::No);
        Qt::TextFormat formato = Qt::AutoText;
        alAbrirse([&formato](QDialog *d) { formato = static_cast<QMessageBox *>(d)->textFormat(), d->done(0); });
        QVERIFY(arranca());
        if (ilegible) {  // at start: asked, then told; the declaration starts empty, nothing read
            QCOMPARE(formato, Qt::PlainText);
            QVERIFY_DICE(mensaje);
            QVERIFY_DICE(QStringLiteral("declaración vacía"));
            QVERIFY(m_w->declaracion().Nombre.empty() && m_w->declaracion().Miembros == Declaracion().Miembros);
        }

        // Opened as a client's file over a sheet with data: refused, the sheet and the
        // declaration exactly as they were.
        escribe(21, "1000");
        QTRY_VERIFY(caja(22)->hasFocus());
        const QString titulo = m_w->windowTitle();
        const Declaracion antes = m_w->declaracion();
        MensajeBox::setNextAnswer(MensajeBox::Aceptar);
        QVERIFY(!m_w->abreFichero(fichero));
        QVERIFY_DICE(mensaje);
        QVERIFY(MensajeBox::ultimoTexto().endsWith(QStringLiteral("No se ha cambiado nada en la hoja.")));
        QCOMPARE(textos({21, 23}), QStringList({"1.000,00", "1.000,00"}));
        QVERIFY(m_w->declaracion() == antes);
        QCOMPARE(m_w->windowTitle(), titulo);
        QCOMPARE(m_w->ficheroCliente(), QString());
        if (!carpeta)
            QCOMPARE(contenido(fichero), bytes);  // left as it was
    }

    // A file loaded as it is, with one box listing the values no screen writes; its name on
    // the sheet as plain text.
    void ficheroRaroSeCargaYAvisa()
    {
        QVERIFY(escribeFichero(ruta("raro.ini"), "[Datos]\r\nAutonomia=14\r\nNombre=" + kTrampa + "\r\n"
                                                 "[UnidadFamiliar]\r\n0=40|1981|0||si|No|0|\r\n"
                                                 "[Ganancias]\r\n0=A|D|31-02-2021|1|01-01-2021|2\r\n"
                                                 "[Varios]\r\n21=7,00\r\n"));
        QVERIFY(arranca());
        MensajeBox::setNextAnswer(MensajeBox::Aceptar);
        QVERIFY(m_w->abreFichero(ruta("raro.ini")));
        QCOMPARE(caja(23)->text(), QStringLiteral("7,00"));
        const QStringList lineas = MensajeBox::ultimoTexto().split(QLatin1Char('\n'));
        QCOMPARE(lineas.size(), 4);  // the reader's three warnings, worded by the module
        QVERIFY(lineas[0].contains(QStringLiteral("raro.ini")) && lineas[1].contains(QStringLiteral("«14»")));
        auto *nombre = hijo<QLabel>("LbCod");
        QCOMPARE(nombre->textFormat(), Qt::PlainText);
        QCOMPARE(nombre->text(), QString::fromUtf8(kTrampa));
    }

    void casillaIlegibleNoSeGuarda_data()
    {
        QTest::addColumn<int>("accion");
        QTest::newRow("Guardar como") << 0;
        QTest::newRow("exit") << 1;
        QTest::newRow("comparison") << 2;
        QTest::newRow("Enter in the box: emptied, the sheet as it was") << 3;
    }
    void casillaIlegibleNoSeGuarda()
    {
        QFETCH(int, accion);
        QVERIFY(arranca());
        const QString c = ruta("c.ini");
        eligeSiempre(&c);
        escribe(21, "1000");
        QTRY_VERIFY(caja(22)->hasFocus());
        // Pasted (the key filter lets no such text in) and, but for Enter, left without it.
        caja(22)->setText(QStringLiteral("999999999999999999999"));
        bool indebido = false;  // the window closed, or a comparison opened
        MensajeBox::setNextAnswer(accion == 1 ? MensajeBox::Si : MensajeBox::Aceptar);
        if (accion != 3)
            m_w->hoja()->setFocus();
        if (accion == 0) {
            QVERIFY(!m_w->guardaComo(c));
        } else if (accion == 1) {
            cierraElMensaje();
            indebido = m_w->close();
            m_w->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(m_w.get()));
        } else if (accion == 2) {
            alAbrirse([&indebido](QDialog *d) { indebido = true; d->done(0); });  // closed should one open
            QTest::keyClick(m_w->hoja(), Qt::Key_F6);
        } else {
            QTest::keyClick(caja(22), Qt::Key_Return);
            QCOMPARE(MensajeBox::ultimoTitulo(), QStringLiteral("Información"));
            QCOMPARE(textos({22, 23}), QStringList({"0,00", "1.000,00"}));
            QTest::qWait(20);
            QVERIFY(caja(22)->hasFocus());  // stays
        }
        QVERIFY(!indebido);
        QVERIFY2(MensajeBox::ultimoTexto().startsWith(QStringLiteral("Importe fuera de rango en la casilla 22")),
                 qPrintable(MensajeBox::ultimoTexto()));
        QVERIFY(!QFile::exists(c));
        QVERIFY(!QFile::exists(m_w->rutaFichero()));
        QCOMPARE(m_w->modalidad(), 0);
        if (accion != 2)
            QTRY_VERIFY(caja(22)->hasFocus());
    }
};

QTEST_MAIN(ClienteTest)
#include "ClienteTest.moc"
