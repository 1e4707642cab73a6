// The main workspace with clients' files, the way out and the joint-or-individual
// comparison, and what it does with bad input: damaged files, saves that fail, texts no
// screen could produce, a second session on the same last declaration.
// Offscreen; see AyudaPrecalculo.h.
#include "AyudaPrecalculo.h"
#include "FicherosRecientes.h"
#include "ImpresionHoja.h"

#include <QAbstractItemModel>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QTableView>

using simulador::Declaracion;

class ClienteTest : public QObject, AyudaPrecalculo {
    Q_OBJECT

private slots:
    void init() { QVERIFY(prepara()); }
    void cleanup() { recoge(); }

    void comparativaEligeLaLiquidacion_data()
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
    void comparativaEligeLaLiquidacion()
    {
        QFETCH(bool, conConyuge);
        QFETCH(int, derecha);
        QFETCH(int, tecla);
        QFETCH(int, modalidad);
        QFETCH(QString, resultado);
        QVERIFY(arranca());
        m_w->registraPantalla(0, [conConyuge](Declaracion &d, QWidget *) {
            pareja(d, conConyuge);
            return true;
        });
        QTest::mouseClick(hijo<QAbstractButton>("CmOp3"), Qt::LeftButton);
        QCOMPARE(caja(106)->text(), conConyuge ? QStringLiteral("5.540,03") : QStringLiteral("1.075,35"));

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
        QCOMPARE(columnas, conConyuge ? QStringList({"CONJUNTA", "DECLARANTE", "CONYUGE", "DECLARANTE + CONYUGE"})
                                      : QStringList({"CONJUNTA", "DECLARANTE"}));
        QCOMPARE(resultados, conConyuge ? QStringList({"5.540,03", "1.075,35", "1.075,35", "2.150,70"})
                                        : QStringList({"1.075,35", "1.075,35"}));
        QCOMPARE(veredicto, conConyuge ? QStringLiteral("La tributación individual resulta 3.389,33 € más favorable.")
                                       : QStringLiteral("La tributación conjunta y la individual dan el mismo resultado."));
        QCOMPARE(sigueAbierta, derecha == 3);
        QCOMPARE(m_w->modalidad(), modalidad);
        QCOMPARE(caja(106)->text(), resultado);
    }

    // Maternity (1.200 in box 84) on the sheet of two salaries: jointly 5.540,03 − 1.200; on the
    // individual side it counts once, in the run chosen below the table (1.075,35 − 1.200 =
    // −124,65, or 600 off each), so individual filing stays 3.389,33 better, as without it.
    void comparativaRepartoDeCasillas()
    {
        QVERIFY(arranca());
        m_w->registraPantalla(0, [](Declaracion &d, QWidget *) {
            pareja(d, true);
            return true;
        });
        QTest::mouseClick(hijo<QAbstractButton>("CmOp3"), Qt::LeftButton);
        escribe(84, "1200");
        QStringList etiquetas;
        QList<QStringList> resultados;
        QString veredicto;
        alAbrirse([&](QDialog *d) {
            auto *tabla = d->findChild<QTableView *>(QStringLiteral("tabla"));
            auto fila = [tabla] {
                QStringList r;
                for (int c = 0; c < tabla->model()->columnCount(); ++c)
                    r << tabla->model()->index(5, c).data().toString();
                return r;
            };
            for (int c = 0; c < 3; ++c)
                if (auto *l = d->findChild<QLabel *>(QStringLiteral("reparto84_%1").arg(c)))
                    etiquetas << l->text();
            auto *combo = d->findChild<QComboBox *>(QStringLiteral("reparto84"));
            resultados << fila();
            if (combo) {
                combo->setFocus();
                QTest::keyClick(combo, Qt::Key_Down);  // Cónyuge
                resultados << fila();
                QTest::keyClick(combo, Qt::Key_Down);  // A partes iguales
                resultados << fila();
            }
            veredicto = d->findChild<QLabel *>(QStringLiteral("veredicto"))->text();
            tabla->setFocus();
            QTest::keyClick(tabla, Qt::Key_Right);  // DECLARANTE, onto the sheet
            QTest::keyClick(tabla, Qt::Key_Return);
        });
        QTest::keyClick(caja(84), Qt::Key_F6);
        QCOMPARE(etiquetas, QStringList({"84", "Deducción maternidad / Familia numerosa", "1.200,00"}));
        QCOMPARE(resultados, QList<QStringList>({{"4.340,03", "-124,65", "1.075,35", "950,70"},
                                                 {"4.340,03", "1.075,35", "-124,65", "950,70"},
                                                 {"4.340,03", "475,35", "475,35", "950,70"}}));
        QCOMPARE(veredicto, QStringLiteral("La tributación individual resulta 3.389,33 € más favorable."));
        // The sheet applies its boxes in full to the liquidation it shows, as always.
        QCOMPARE(m_w->modalidad(), 1);
        QCOMPARE(caja(106)->text(), QStringLiteral("-124,65"));
    }

    void guardarComoYAbrir()
    {
        QVERIFY(arranca());
        const QString titulo = m_w->windowTitle();
        QString elegido;
        m_w->setEligeFichero([&elegido](QWidget *, bool, const QString &) { return elegido; });
        escribe(21, "1000");

        // Ctrl+S with no client's file open is "Guardar como…". Saved as a client's file: ".ini"
        // added, named in the caption (not on the printout), first of the recent files; in euros
        // even from the peseta view, where opening a file waits for the euros.
        elegido = ruta("garcia");
        pesetas(true);
        QCOMPARE(caja(21)->text(), QStringLiteral("166.386"));
        QVERIFY(!hijo<QAction>("Abrir")->isEnabled());
        QTest::keyClick(m_w.get(), Qt::Key_S, Qt::ControlModifier);
        pesetas(false);
        const QString cliente = ruta("garcia.ini");
        const QByteArray guardado = contenido(cliente);
        QVERIFY(guardado.contains("\r\n21=1.000,00\r\n"));
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
        QCOMPARE(reciente->toolTip(), QDir::toNativeSeparators(cliente));
        MensajeBox::setNextAnswer(MensajeBox::No);
        reciente->trigger();
        QCOMPARE(MensajeBox::ultimoTitulo(), QStringLiteral("Abrir"));
        QCOMPARE(caja(23)->text(), QStringLiteral("2.500,00"));  // No: nothing read
        MensajeBox::setNextAnswer(MensajeBox::Si);
        reciente->trigger();
        QCOMPARE(textos({21, 23}), QStringList({"1.000,00", "1.000,00"}));
        QVERIFY(!m_w->cambiosSinGuardar());

        // Ctrl+O with nothing changed asks nothing and reads the file the chooser gives.
        MensajeBox::olvidaUltimo();
        elegido = cliente;
        QTest::keyClick(caja(9), Qt::Key_O, Qt::ControlModifier);
        QCOMPARE(MensajeBox::ultimoTexto(), QString());
        QCOMPARE(m_w->windowTitle(), titulo + QStringLiteral(" - garcia.ini"));

        // Guardar (Ctrl+S) writes the open client's file without asking for a name; Guardar
        // como… (Ctrl+Shift+S) asks, and the new file becomes the client's.
        escribe(21, "3000");
        elegido = ruta("otro.ini");
        QTest::keyClick(caja(22), Qt::Key_S, Qt::ControlModifier);
        QVERIFY(contenido(cliente).contains("\r\n21=3.000,00\r\n"));
        QVERIFY(!QFile::exists(elegido));
        QVERIFY(!m_w->cambiosSinGuardar());
        QTest::keyClick(caja(22), Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
        QVERIFY(contenido(elegido).contains("\r\n21=3.000,00\r\n"));
        QCOMPARE(m_w->windowTitle(), titulo + QStringLiteral(" - otro.ini"));
    }

    // "Grabar al Salir" after a change: with a client's file open (saved, then changed again),
    // or after a first start where only the family form was filled in.
    void salir_data()
    {
        QTest::addColumn<bool>("familia");
        QTest::addColumn<int>("respuesta");  // MensajeBox::Respuesta; Ninguna: Escape in the real box
        QTest::addColumn<QString>("rota");   // the file whose path is made a folder, so its save fails
        QTest::addColumn<bool>("cierra");
        QTest::addColumn<bool>("cliente");   // the client's file holds the change
        QTest::addColumn<bool>("ultima");    // DatosCa21.Ini written
        QTest::addColumn<QString>("mensaje");
        QTest::newRow("Sí saves the client's file and the last declaration")
            << false << int(MensajeBox::Si) << QString() << true << true << true << QString();
        QTest::newRow("Cancelar stays") << false << int(MensajeBox::Cancelar) << QString() << false << false << false
                                        << QString();
        QTest::newRow("Escape is Cancelar") << false << int(MensajeBox::Ninguna) << QString() << false << false << false
                                            << QString();
        QTest::newRow("the client's file fails: stays, says which")
            << false << int(MensajeBox::Si) << QStringLiteral("garcia.ini") << false << false << true
            << QStringLiteral("- Fichero del cliente «garcia.ini»: NO guardado. No se ha podido guardar");
        QTest::newRow("the last declaration fails: stays, says which")
            << false << int(MensajeBox::Si) << QStringLiteral("DatosCa21.Ini") << false << true << false
            << QStringLiteral("- Última declaración (DatosCa21.Ini): NO guardada. No se ha podido guardar");
        QTest::newRow("only the family form on a first start is a change")
            << true << int(MensajeBox::Si) << QString() << true << false << true << QString();
    }
    void salir()
    {
        QFETCH(bool, familia);
        QFETCH(int, respuesta);
        QFETCH(QString, rota);
        QFETCH(bool, cierra);
        QFETCH(bool, cliente);
        QFETCH(bool, ultima);
        QFETCH(QString, mensaje);
        const QString garcia = ruta("garcia.ini"), ultimaDeclaracion = this->ultima();
        if (familia) {
            // No DatosCa21.Ini: the family screen opens by itself, and the household is saved.
            QVERIFY(arranca([](Precalculo &w) {
                w.registraPantalla(0, [](Declaracion &d, QWidget *) {
                    pareja(d, true);
                    return true;
                });
            }));
        } else {
            QVERIFY(arranca());
            m_w->setEligeFichero([&garcia](QWidget *, bool, const QString &) { return garcia; });
            escribe(21, "1000");
            QTest::keyClick(caja(22), Qt::Key_S, Qt::ControlModifier);
            QVERIFY(contenido(garcia).contains("\r\n21=1.000,00\r\n"));
            escribe(21, "3000");
        }
        if (!rota.isEmpty()) {
            const QString camino = rota == QLatin1String("garcia.ini") ? garcia : ultimaDeclaracion;
            QFile::remove(camino);
            QVERIFY(QDir().mkdir(camino));
        }

        QStringList botones;
        if (respuesta == MensajeBox::Ninguna) {
            alAbrirse([&botones](QDialog *d) {
                for (QAbstractButton *b : static_cast<QMessageBox *>(d)->buttons())
                    botones << b->text();
                QTest::keyClick(d, Qt::Key_Escape);
            });
        } else {
            MensajeBox::setNextAnswer(MensajeBox::Respuesta(respuesta));
            if (!mensaje.isEmpty())
                cierraElMensaje();
        }
        QCOMPARE(m_w->close(), cierra);
        if (respuesta == MensajeBox::Ninguna) {
            botones.sort();
            QCOMPARE(botones, QStringList({"&No", "&Sí", "Cancelar"}));
        } else if (mensaje.isEmpty()) {
            QCOMPARE(MensajeBox::ultimoTitulo(), QStringLiteral("Grabar al Salir"));
        } else {
            QVERIFY2(MensajeBox::ultimoTexto().contains(mensaje), qPrintable(MensajeBox::ultimoTexto()));
        }
        if (!familia)
            QCOMPARE(contenido(garcia).contains("\r\n21=3.000,00\r\n"), cliente);
        QCOMPARE(QFileInfo(ultimaDeclaracion).isFile(), ultima);
        if (familia)
            QVERIFY(contenido(ultimaDeclaracion).contains("[UnidadFamiliar]\r\n0=41|1980|"));
        else if (ultima)
            QVERIFY(contenido(ultimaDeclaracion).contains("\r\n21=3.000,00\r\n"));
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
        MensajeBox::setNextAnswer(MensajeBox::Si);
        QVERIFY(arranca());
        QVERIFY(!m_w->segundaSesion());
        QCOMPARE(caja(23)->text(), QStringLiteral("7,00"));
        escribe(21, "1000");

        Precalculo segunda;
        QString elegido;
        segunda.setEligeFichero([&elegido](QWidget *, bool, const QString &) { return elegido; });
        MensajeBox::olvidaUltimo();
        MensajeBox::setNextAnswer(MensajeBox::Aceptar);
        cierraElMensaje();  // should a load question come after all
        segunda.show();
        QVERIFY(QTest::qWaitFor([&segunda] { return segunda.listo(); }, 3000));
        QVERIFY(segunda.segundaSesion());
        QCOMPARE(MensajeBox::ultimoTitulo(), QStringLiteral("Información"));
        QVERIFY2(MensajeBox::ultimoTexto().startsWith(QStringLiteral("Hay otra sesión del simulador abierta")),
                 qPrintable(MensajeBox::ultimoTexto()));
        QCOMPARE(segunda.textoCasilla(23), QString());  // not loaded
        segunda.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&segunda));
        segunda.casilla(21)->setFocus();
        QTRY_VERIFY(segunda.casilla(21)->hasFocus());
        QTest::keyClicks(segunda.casilla(21), QStringLiteral("2500"));
        QTest::keyClick(segunda.casilla(21), Qt::Key_Return);
        QCOMPARE(segunda.textoCasilla(23), QStringLiteral("2.500,00"));

        // Sí at exit asks for a client's file: the last declaration is refused, a cancelled
        // choice keeps the window; another file takes the work.
        MensajeBox::setNextAnswer(MensajeBox::Si);
        elegido = ultima;
        cierraElMensaje();
        QVERIFY(!segunda.close());
        QVERIFY2(MensajeBox::ultimoTexto().startsWith(QStringLiteral("«DatosCa21.Ini» es la última declaración de la otra")),
                 qPrintable(MensajeBox::ultimoTexto()));
        MensajeBox::setNextAnswer(MensajeBox::Si);
        elegido.clear();
        QVERIFY(!segunda.close());
        QCOMPARE(segunda.textoCasilla(23), QStringLiteral("2.500,00"));
        MensajeBox::setNextAnswer(MensajeBox::Si);
        elegido = ruta("segunda");
        QVERIFY(segunda.close());
        QVERIFY(contenido(ruta("segunda.ini")).contains("\r\n21=2.500,00\r\n"));
        QCOMPARE(contenido(ultima), anterior);

        // The first session's own save at exit is untouched by all that.
        MensajeBox::setNextAnswer(MensajeBox::Si);
        QVERIFY(m_w->close());
        QVERIFY(contenido(ultima).contains("\r\n21=1.000,00\r\n"));
        m_w.reset();
    }

    void ficheroDanado_data()
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
        QTest::newRow("only a byte-order mark") << QByteArray("\xEF\xBB\xBF") << QStringLiteral("no es una declaración");
        QTest::newRow("a folder at its path") << QByteArray() << QStringLiteral("No se puede leer");
    }
    void ficheroDanado()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, mensaje);
        const QString danado = ultima();
        const bool carpeta = bytes.isEmpty();
        QVERIFY(carpeta ? QDir().mkdir(danado) : escribeFichero(danado, bytes));

        // At start: asked, then told; the sheet starts empty.
        MensajeBox::setNextAnswer(MensajeBox::Si);
        cierraElMensaje();
        QVERIFY(arranca());
        QVERIFY2(MensajeBox::ultimoTexto().contains(mensaje), qPrintable(MensajeBox::ultimoTexto()));
        QVERIFY(MensajeBox::ultimoTexto().contains(QStringLiteral("declaración vacía")));
        const Declaracion &d = m_w->declaracion();  // its boxes hold the sheet's empty texts
        QVERIFY(d.Miembros == Declaracion().Miembros && d.Rentas == Declaracion().Rentas);
        QVERIFY(d.ListaMobiliario.empty() && d.ListaGanancias.empty() && d.ListaDeducciones.empty());
        QCOMPARE(caja(11)->text(), QString());

        // Opened as a client's file over a sheet with data: refused, the sheet as it was.
        escribe(21, "1000");
        QTRY_VERIFY(caja(22)->hasFocus());
        const QString titulo = m_w->windowTitle();
        MensajeBox::setNextAnswer(MensajeBox::Aceptar);
        QVERIFY(!m_w->abreFichero(danado));
        QVERIFY(MensajeBox::ultimoTexto().contains(mensaje));
        QCOMPARE(textos({21, 23}), QStringList({"1.000,00", "1.000,00"}));
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

    void avisosEnUnSoloMensaje()
    {
        const QString fichero = ruta("raro.ini");
        QVERIFY(escribeFichero(fichero, "[Datos]\r\nAutonomia=14\r\n"
                                        "[UnidadFamiliar]\r\n0=40|1981|0||si|No|0|\r\n"
                                        "[Ganancias]\r\n0=A|D|31-02-2021|1|01-01-2021|2\r\n"
                                        "[Varios]\r\n21=7,00\r\n"));
        QVERIFY(arranca());
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

    // Texts from a file are shown as they are, never as rich text (no font, no link to
    // click): a crafted name on the sheet, a crafted value quoted by the message refusing it.
    void textosDeFicheroComoTextoLlano()
    {
        const QByteArray trampa = "<font size=6 color=red>Grande</font><a href=\"http://ejemplo.invalid/\">Pulse aquí</a>";
        QVERIFY(arranca());
        QVERIFY(escribeFichero(ruta("nombre.ini"), "[Datos]\r\nNombre=" + trampa + "\r\n"));
        QVERIFY(m_w->abreFichero(ruta("nombre.ini")));
        auto *nombre = hijo<QLabel>("LbCod");
        QCOMPARE(nombre->textFormat(), Qt::PlainText);
        QCOMPARE(nombre->text(), QString::fromUtf8(trampa));

        QVERIFY(escribeFichero(ruta("valor.ini"), "[Trabajo]\r\n1=" + trampa + "\r\n"));
        Qt::TextFormat formato = Qt::AutoText;
        QString texto;
        alAbrirse([&](QDialog *d) {
            if (auto *caja = qobject_cast<QMessageBox *>(d))
                formato = caja->textFormat(), texto = caja->text();
            d->done(0);
        });
        QVERIFY(!m_w->abreFichero(ruta("valor.ini")));
        QCOMPARE(formato, Qt::PlainText);
        QVERIFY2(texto.startsWith(QStringLiteral("Importe no válido «") + QString::fromUtf8(trampa) + QStringLiteral("»")),
                 qPrintable(texto));
    }

    void guardadoFallido_data()
    {
        QTest::addColumn<int>("caso");
        QTest::addColumn<QString>("motivo");  // of the refused save at exit
        QTest::newRow("a folder at the file's path") << 0 << QStringLiteral("es una carpeta");
        QTest::newRow("the state folder under a regular file") << 1 << QStringLiteral("no es una carpeta");
        QTest::newRow("a read-only last declaration") << 2 << QStringLiteral("es de solo lectura y no se sustituye");
        QTest::newRow("a folder open to others (told at start too)") << 3 << QStringLiteral("abierta a otros usuarios");
    }
    void guardadoFallido()
    {
        QFETCH(int, caso);
        QFETCH(QString, motivo);
        // A regular file where a folder should be, for the client's file and perhaps the last
        // declaration's.
        QVERIFY(escribeFichero(ruta("fichero"), "x"));
        const QString anterior = ultima();
        const QByteArray protegido("[Datos]\r\nNombre=Ana\r\n");
        MensajeBox::setNextAnswer(MensajeBox::No);  // not loaded
        if (caso == 0) {
            QVERIFY(QDir().mkdir(anterior));
        } else if (caso == 1) {
            qputenv("XDG_STATE_HOME", ruta("fichero/estado").toLocal8Bit());
        } else if (caso == 2) {
            QVERIFY(escribeFichero(anterior, protegido));
            QVERIFY(QFile::setPermissions(anterior, QFile::ReadOwner));
        } else {
            QVERIFY(::chmod(QFile::encodeName(ruta("simulador-irpf2021")).constData(), 0755) == 0);
            MensajeBox::setNextAnswer(MensajeBox::Aceptar);
        }
        QVERIFY(arranca());
        if (caso == 3)
            QVERIFY2(MensajeBox::ultimoTexto().contains(motivo), qPrintable(MensajeBox::ultimoTexto()));
        QString elegido = ruta("fichero/cliente.ini");
        m_w->setEligeFichero([&elegido](QWidget *, bool, const QString &) { return elegido; });
        escribe(21, "1000");

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
        QVERIFY2(MensajeBox::ultimoTexto().contains(motivo), qPrintable(MensajeBox::ultimoTexto()));
        QVERIFY(m_w->isVisible());
        QCOMPARE(caja(21)->text(), QStringLiteral("1.000,00"));
        QVERIFY(m_w->rutaFichero().startsWith(m_tmp->path()));

        // Another file takes it; No at the next exit closes. (Offscreen, the closed box leaves
        // no window active.)
        m_w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_w.get()));
        elegido = ruta("cliente");
        QTest::keyClick(caja(22), Qt::Key_S, Qt::ControlModifier);
        QVERIFY(QFile::exists(ruta("cliente.ini")));
        MensajeBox::setNextAnswer(MensajeBox::No);
        QVERIFY(m_w->close());
        if (caso == 2)
            QCOMPARE(contenido(anterior), protegido);
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
        m_w->setEligeFichero([this](QWidget *, bool, const QString &) { return ruta("c.ini"); });
        escribe(21, "1000");
        QTRY_VERIFY(caja(22)->hasFocus());
        // Pasted (the key filter lets no such text in) and, but for Enter, left without it.
        caja(22)->setText(QStringLiteral("999999999999999999999"));
        bool indebido = false;  // the window closed, or a comparison opened
        MensajeBox::setNextAnswer(accion == 1 ? MensajeBox::Si : MensajeBox::Aceptar);
        if (accion != 3)
            m_w->hoja()->setFocus();
        if (accion == 0) {
            QVERIFY(!m_w->guardaComo(ruta("c.ini")));
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
        QVERIFY(!QFile::exists(ruta("c.ini")));
        QVERIFY(!QFile::exists(m_w->rutaFichero()));
        QCOMPARE(m_w->modalidad(), 0);
        if (accion != 2)
            QTRY_VERIFY(caja(22)->hasFocus());
    }
};

QTEST_MAIN(ClienteTest)
#include "ClienteTest.moc"
