// The three list screens driven from the keyboard, offscreen.
#include "AbreLista.h"
#include "DelegadoLista.h"
#include "Herramientas.h"
#include "Liquidar.h"
#include "MensajeBox.h"
#include "ModeloLista.h"
#include "PantallaLista.h"
#include "VistaLista.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

using namespace simulador;

namespace {

// One item in each list, the fields each screen needs filled (records in declaration order).
Declaracion declaracionBase()
{
    Declaracion d;
    d.ListaMobiliario = {DatosMobiliario{"I", "D", M("100"), {}, {}, {}}};
    d.ListaGanancias = {DatosGanancia{"O", "D", "01-03-2015", M("10000"), "01-06-2021", M("12000"), {}, {}, {}, {}, {}}};
    d.ListaDeducciones = {DatosDeduccion{"B", "A", "", M("500"), {}, {}}};
    return d;
}

// Types as a person does: ASCII through key clicks, other characters as text events.
void teclea(const QString &texto)
{
    for (QChar c : texto) {
        QWidget *w = QApplication::focusWidget();
        QVERIFY(w);
        if (c.unicode() < 128)
            QTest::keyClick(w, c.toLatin1());
        else
            QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

void pulsa(Qt::Key tecla, Qt::KeyboardModifiers mod = {}) { QTest::keyClick(QApplication::focusWidget(), tecla, mod); }

// Fills cell after cell, Enter moving on; the last one is left open when `cierra` is false.
void rellena(const QStringList &celdas, bool cierra = true)
{
    for (int c = 0; c < celdas.size(); ++c) {
        teclea(celdas[c]);
        if (cierra || c + 1 < celdas.size())
            pulsa(Qt::Key_Return);
    }
}

void vaA(PantallaLista &p, int fila, int col)
{
    p.vista()->setFocus();
    p.vista()->setCurrentIndex(p.vista()->model()->index(fila, col));
}

QString celda(const PantallaLista &p, int fila, int col, int rol = Qt::EditRole)
{
    return p.vista()->model()->index(fila, col).data(rol).toString();
}

QPushButton *boton(const PantallaLista &p, const char *nombre) { return p.findChild<QPushButton *>(nombre); }

// One struct per data table, so that a row reads as one line.
// nueva: on the new-row line (row 1), the whole line once the cell is left; rows 0 leave it empty.
struct CasoTeclas { TipoLista tipo; int fila, col; QString teclas, queda, visible; int pitidos; QStringList nueva; };
struct CasoObligatoria { TipoLista tipo; int col; QString mensaje; };
struct CasoGuardar { TipoLista tipo; QStringList fila; QString ultima; };  // ultima: the last cell as shown
struct CasoTramo { QString autonomia; int antes; bool visible, marcado; };

}  // namespace

class ListasTest : public QObject {
    Q_OBJECT

private:
    // A screen shown and active, with the message boxes answered "Sí" and recorded.
    std::unique_ptr<PantallaLista> abre(TipoLista tipo, const Declaracion &d = declaracionBase())
    {
        MensajeBox::setNextAnswer(MensajeBox::Si, true);
        MensajeBox::olvidaUltimo();
        auto p = std::make_unique<PantallaLista>(tipo, d);
        p->show();
        QApplication::setActiveWindow(p.get());
        if (!QTest::qWaitForWindowActive(p.get()))
            qWarning("window not active");  // the key presses that follow then fail
        return p;
    }

private slots:
    void modelo()
    {
        ModeloLista m(TipoLista::Ganancias, FilasDeLista(declaracionBase(), TipoLista::Ganancias));
        QAbstractItemModelTester tester(&m, QAbstractItemModelTester::FailureReportingMode::QtTest);
        QSignalSpy filas(&m, &QAbstractItemModel::rowsInserted);
        QCOMPARE(m.rowCount(), 2);
        QVERIFY(m.setData(m.index(1, 3), QStringLiteral("5")));  // the new-row line takes a value
        QCOMPARE(filas.count(), 1);
        QCOMPARE(m.rowCount(), 3);
        QCOMPARE(m.headerData(1, Qt::Vertical).toString(), QStringLiteral("2"));
        QCOMPARE(m.headerData(2, Qt::Vertical).toString(), QStringLiteral("*"));
        QVERIFY(!m.setData(m.index(0, 2), QStringLiteral("31-02-2021")));
        QVERIFY(!m.removeRows(2, 1));  // the new-row line stays
        QVERIFY(m.removeRows(0, 2));
        QCOMPARE(m.rowCount(), 1);
    }

    void teclasPorColumna_data()
    {
        QTest::addColumn<CasoTeclas>("c");
        const auto mob = TipoLista::Mobiliario, gan = TipoLista::Ganancias, ded = TipoLista::DCuota;
        QTest::newRow("clase en minuscula") << CasoTeclas{mob, 0, 0, "d", "D", "D", 0, {}};
        QTest::newRow("signo y segunda coma no entran") << CasoTeclas{mob, 0, 2, "-1234,5,3", "1234,53", "1.234,53", 0, {}};
        QTest::newRow("base del ahorro negativa") << CasoTeclas{gan, 0, 10, "-7,5", "-7,5", "-7,50", 0, {}};
        QTest::newRow("base general negativa") << CasoTeclas{gan, 0, 9, "-300", "-300", "-300,00", 0, {}};
        QTest::newRow("fecha de ocho cifras") << CasoTeclas{gan, 0, 2, "01012020", "01-01-2020", "01-01-2020", 0, {}};
        QTest::newRow("clase i pita") << CasoTeclas{ded, 0, 0, "i", "B", "B", 1, {}};
        QTest::newRow("minusvalia solo tres cifras") << CasoTeclas{ded, 0, 5, "3.3,3a4", "333", "333", 2, {}};
        // A value typed on the new-row line adds an item with the list's defaults.
        QTest::newRow("nueva de mobiliario por el importe")
            << CasoTeclas{mob, 1, 2, "100", "100", "100,00", 0, {"I", "A", "100", "", "", ""}};
        QTest::newRow("nueva de mobiliario por la clase")
            << CasoTeclas{mob, 1, 0, "p", "P", "P", 0, {"P", "A", "", "", "", ""}};
        QTest::newRow("nueva de ganancias")
            << CasoTeclas{gan, 1, 3, "5", "5", "5,00", 0, {"A", "A", "", "5", "", "", "", "", "", "", ""}};
        QTest::newRow("nueva de deducciones")
            << CasoTeclas{ded, 1, 3, "1-1-2000", "1-1-2000", "1-1-2000", 0, {"B", "A", "", "1-1-2000", "", ""}};
    }

    void teclasPorColumna()
    {
        QFETCH(CasoTeclas, c);
        auto p = abre(c.tipo);  // one item, so row 1 is the new-row line
        QSignalSpy pitos(p->vista()->delegado(), &DelegadoLista::pitido);
        vaA(*p, c.fila, c.col);
        rellena({c.teclas});
        QCOMPARE(celda(*p, c.fila, c.col), c.queda);
        QCOMPARE(celda(*p, c.fila, c.col, Qt::DisplayRole), c.visible);
        QCOMPARE(pitos.count(), c.pitidos);
        QVERIFY(MensajeBox::textos().isEmpty());
        QCOMPARE(p->vista()->model()->rowCount(), c.nueva.isEmpty() ? 2 : 3);
        QStringList hay;
        for (int col = 0; col < c.nueva.size(); ++col)
            hay << celda(*p, c.fila, col);
        QCOMPARE(hay, c.nueva);
        // Enter moved on to the next column, from the last one to the next row.
        const int ultima = p->vista()->model()->columnCount() - 1;
        QCOMPARE(p->vista()->currentIndex(),
                 p->vista()->model()->index(c.col == ultima ? c.fila + 1 : c.fila, c.col == ultima ? 0 : c.col + 1));
    }

    void fechas()
    {
        auto p = abre(TipoLista::Ganancias);
        vaA(*p, 0, 2);
        rellena({"31022021"});
        QCOMPARE(MensajeBox::textos(), QStringList{"Fecha incorrecta."});
        QVERIFY(p->vista()->editorAbierto());
        QCOMPARE(p->vista()->editorAbierto()->text(), QStringLiteral("31-02-2021"));
        // Neither a move key nor a click elsewhere leaves the refused cell.
        pulsa(Qt::Key_Down);
        pulsa(Qt::Key_PageDown);  // moved by the grid itself, not by the editor
        QTest::mouseClick(p->vista()->viewport(), Qt::LeftButton, {},
                          p->vista()->visualRect(p->vista()->model()->index(0, 5)).center());
        QCOMPARE(MensajeBox::textos().size(), 4);
        QCOMPARE(p->vista()->currentIndex(), p->vista()->model()->index(0, 2));
        QVERIFY(p->vista()->editorAbierto());
        QCOMPARE(celda(*p, 0, 2), QStringLiteral("01-03-2015"));
        // Single-digit day and month with dashes are a date as typed.
        pulsa(Qt::Key_A, Qt::ControlModifier);
        teclea("1-2-2021");
        pulsa(Qt::Key_Tab);
        QCOMPARE(celda(*p, 0, 2), QStringLiteral("1-2-2021"));
        QCOMPARE(MensajeBox::textos().size(), 4);
    }

    void celdasObligatorias_data()
    {
        QTest::addColumn<CasoObligatoria>("c");
        const auto mob = TipoLista::Mobiliario, gan = TipoLista::Ganancias, ded = TipoLista::DCuota;
        QTest::newRow("clase") << CasoObligatoria{mob, 0, "La clase debe de estar informada."};
        QTest::newRow("titular") << CasoObligatoria{mob, 1, "El titular debe de estar informado."};
        QTest::newRow("clase de bien") << CasoObligatoria{gan, 0, "La clase de bien debe de estar informada."};
        QTest::newRow("titular del bien") << CasoObligatoria{gan, 1, "El titular del bien debe de estar informado."};
        QTest::newRow("clase de deduccion") << CasoObligatoria{ded, 0, "La clase de deducción debe de estar informada."};
        QTest::newRow("titular de la deduccion")
            << CasoObligatoria{ded, 1, "El titular de la deducción debe de estar informado."};
    }

    void celdasObligatorias()
    {
        QFETCH(CasoObligatoria, c);
        const int col = c.col;
        auto p = abre(c.tipo);
        const QString antes = celda(*p, 0, col);
        vaA(*p, 0, col);
        pulsa(Qt::Key_F2);
        pulsa(Qt::Key_A, Qt::ControlModifier);
        pulsa(Qt::Key_Backspace);
        pulsa(Qt::Key_Return);
        QCOMPARE(MensajeBox::textos(), QStringList{c.mensaje});
        QVERIFY(p->vista()->editorAbierto());
        QCOMPARE(celda(*p, 0, col), antes);
        // Guardar cannot get past it either. Escape drops the refused edit, giving the cell
        // its value back; a second Escape leaves, asking nothing as nothing changed.
        boton(*p, "CmOp1")->click();
        QVERIFY(p->isVisible());
        const QStringList vistos = MensajeBox::textos();
        pulsa(Qt::Key_Escape);
        QVERIFY(p->isVisible());
        QVERIFY(!p->vista()->editorAbierto());
        pulsa(Qt::Key_Escape);
        QCOMPARE(p->result(), int(QDialog::Rejected));
        QVERIFY(!p->isVisible());
        QCOMPARE(MensajeBox::textos(), vistos);
    }

    void eliminar()
    {
        Declaracion d = declaracionBase();
        for (const char *clase : {"D", "T"})
            d.ListaMobiliario.push_back(DatosMobiliario{clase, "D", M("100"), {}, {}, {}});
        auto p = abre(TipoLista::Mobiliario, d);
        const auto clases = [&p] {
            QString s;
            for (int f = 0; f + 1 < p->vista()->model()->rowCount(); ++f)
                s += celda(*p, f, 0);
            return s;
        };
        // Delete removes a selected row at once, asking nothing.
        vaA(*p, 1, 2);
        pulsa(Qt::Key_Delete);
        QCOMPARE(clases(), QStringLiteral("IDT"));  // no row selected: nothing
        pulsa(Qt::Key_Space, Qt::ShiftModifier);
        pulsa(Qt::Key_Delete);
        QCOMPARE(clases(), QStringLiteral("IT"));
        QVERIFY(MensajeBox::textos().isEmpty());
        // Eliminar asks; No keeps the row.
        MensajeBox::setNextAnswer(MensajeBox::No, true);
        vaA(*p, 1, 3);
        pulsa(Qt::Key_E, Qt::AltModifier);  // a mnemonic clicks after a short animation
        QTRY_COMPARE(MensajeBox::textos(), QStringList{"¿Desea eliminar el registro?"});
        QCOMPARE(clases(), QStringLiteral("IT"));
        QVERIFY(p->vista()->selectionModel()->selectedRows().isEmpty());
        MensajeBox::setNextAnswer(MensajeBox::Si, true);
        boton(*p, "CmOp2")->click();
        QCOMPARE(clases(), QStringLiteral("I"));
        // On the empty new-row line there is nothing to ask about.
        vaA(*p, 1, 0);
        boton(*p, "CmOp2")->click();
        QCOMPARE(MensajeBox::textos().size(), 2);
        boton(*p, "CmOp1")->click();
        QCOMPARE(p->declaracion().ListaMobiliario.size(), std::size_t(1));
    }

    void guardarYReabrir_data()
    {
        QTest::addColumn<CasoGuardar>("c");
        // Distinct figures in the columns whose record fields come in another order.
        QTest::newRow("mobiliario") << CasoGuardar{TipoLista::Mobiliario, {"c", "", "1000", "", "4", "3"}, "3,00"};
        QTest::newRow("ganancias") << CasoGuardar{
            TipoLista::Ganancias, {"i", "c", "01021990", "10", "", "11", "13", "12", "14", "", "-16,25"}, "-16,25"};
        QTest::newRow("deducciones") << CasoGuardar{TipoLista::DCuota, {"", "d", "20", "010105", "1", "33"}, "33"};
    }

    void guardarYReabrir()
    {
        QFETCH(CasoGuardar, c);
        auto p = abre(c.tipo);
        vaA(*p, 1, 0);
        rellena(c.fila, false);
        // The last cell is still being edited when Guardar is pressed.
        QVERIFY(p->vista()->editorAbierto());
        pulsa(Qt::Key_G, Qt::AltModifier);
        QTRY_COMPARE(p->result(), int(QDialog::Accepted));
        // Which record field each column fills is the module's test; here the whole way
        // through the screen: saved, reopened, each figure back in the column it was typed in.
        const Declaracion &d = p->declaracion();
        QCOMPARE(FilasDeLista(d, c.tipo).size(), std::size_t(2));
        PantallaLista otra(c.tipo, d);
        QCOMPARE(celda(otra, 1, c.fila.size() - 1, Qt::DisplayRole), c.ultima);
        for (int col = 0; col < c.fila.size(); ++col)
            if (!c.fila[col].isEmpty())
                QCOMPARE(celda(otra, 1, col, Qt::DisplayRole), celda(*p, 1, col, Qt::DisplayRole));
    }

    // The entry points copy back only what was saved.
    void abreYSale()
    {
        MensajeBox::setNextAnswer(MensajeBox::Si, true);
        Declaracion d = declaracionBase();
        // Types 77 as the first item's income, then leaves by `sale`.
        const auto escribeY = [](std::function<void(PantallaLista *)> sale) {
            QTimer::singleShot(0, [sale] {
                auto *p = qobject_cast<PantallaLista *>(QApplication::activeModalWidget());
                QVERIFY(p);
                QVERIFY(QTest::qWaitForWindowActive(p));
                vaA(*p, 0, 2);
                rellena({"77"});
                sale(p);
            });
        };
        escribeY([](PantallaLista *) { pulsa(Qt::Key_Escape); });
        QVERIFY(!AbreMobiliario(d, nullptr));
        QCOMPARE(d, declaracionBase());
        escribeY([](PantallaLista *p) { boton(*p, "CmOp1")->click(); });
        QVERIFY(AbreMobiliario(d, nullptr));
        QCOMPARE(d.ListaMobiliario[0].Ingreso, M("77"));
    }

    void tramo_data()
    {
        QTest::addColumn<CasoTramo>("c");
        QTest::newRow("cataluna con tramo") << CasoTramo{"09", 1, true, true};
        QTest::newRow("cataluna sin tramo") << CasoTramo{"09", 0, true, false};
        QTest::newRow("otra region lo borra") << CasoTramo{"01", 1, false, false};
    }

    void tramo()
    {
        QFETCH(CasoTramo, c);
        Declaracion d = declaracionBase();
        d.Autonomia = c.autonomia.toStdString();
        d.TramoVivienda = static_cast<std::int16_t>(c.antes);
        auto p = abre(TipoLista::DCuota, d);
        auto *tramo = p->findChild<QCheckBox *>("Tramo");
        QVERIFY(tramo);
        QCOMPARE(tramo->isVisible(), c.visible);
        QCOMPARE(tramo->isChecked(), c.marcado);
        boton(*p, "CmOp1")->click();
        QCOMPARE(p->declaracion().TramoVivienda, std::int16_t(c.marcado ? 1 : 0));
    }

    void ayudaYEuro()
    {
        int abierto = 0;
        Herramientas::instala({}, [&abierto](QWidget *) { ++abierto; });
        auto p = abre(TipoLista::Mobiliario);
        auto *ayuda = p->findChild<QLabel *>("LbValor");
        vaA(*p, 0, 1);
        QVERIFY(ayuda->text().endsWith(QStringLiteral("C - Cónyuge")));
        vaA(*p, 0, 5);
        QCOMPARE(ayuda->text(), QStringLiteral("Informar la retencion"));
        pulsa(Qt::Key_E, Qt::ControlModifier);
        QCOMPARE(abierto, 1);
        auto g = abre(TipoLista::Ganancias);
        pulsa(Qt::Key_E, Qt::ControlModifier);  // no shortcut on this screen
        QCOMPARE(abierto, 1);
        QTest::mouseClick(g->findChild<QLabel *>("ImEuro"), Qt::LeftButton);
        QCOMPARE(abierto, 2);
        Herramientas::instala({}, {});
    }

    // One item typed on each screen reaches the sheet. Expected boxes by hand, joint mode:
    // interest 1000 − 100 expenses → box 58 = 900, its withholding 190 → box 102;
    // other assets bought 2015 for 10000, sold 2021 for 12000 → gain 2000 in box 56 (no
    // pre-1997 reduction), its withholding 50 → box 103; rent 5000 with a base of
    // 2000 + 900, under 17707.20 → 5000 × 10.05 % = 502.50, half each → 85 = 86 = 251.25.
    void casillas()
    {
        Declaracion d;
        const auto escribe = [&d, this](TipoLista tipo, const QStringList &fila) {
            auto p = abre(tipo, d);
            vaA(*p, 0, 0);
            rellena(fila);
            boton(*p, "CmOp1")->click();
            d = p->declaracion();
        };
        escribe(TipoLista::Mobiliario, {"i", "d", "1000", "100", "", "190"});
        escribe(TipoLista::Ganancias, {"o", "d", "01032015", "10000", "01062021", "12000", "", "", "50"});
        escribe(TipoLista::DCuota, {"c", "d", "5000"});
        const Calculo c = Recalcular(d, simulador::Modalidad::Conjunta);
        QVERIFY(c.ok);
        QCOMPARE(c.resultado[58], M("900"));
        QCOMPARE(c.resultado[102], M("190"));
        QCOMPARE(c.resultado[56], M("2000"));
        QCOMPARE(c.resultado[103], M("50"));
        QCOMPARE(c.resultado[85], M("251.25"));
        QCOMPARE(c.resultado[86], M("251.25"));
    }
};

QTEST_MAIN(ListasTest)
#include "ListasTest.moc"
