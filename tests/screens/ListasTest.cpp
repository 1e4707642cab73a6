// The three list screens driven from the keyboard, offscreen.
#include "AbreLista.h"
#include "AvisoLista.h"
#include "DelegadoLista.h"
#include "Liquidar.h"
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

Q_DECLARE_METATYPE(simulador::TipoLista)

namespace {

// One item in each list, every field filled.
Declaracion declaracionBase()
{
    Declaracion d;
    DatosMobiliario m;
    m.Clase = "I";
    m.Titular = "D";
    m.Ingreso = M("100");
    d.ListaMobiliario = {m};
    DatosGanancia g;
    g.Clase = "O";
    g.Titular = "D";
    g.FechaAdquisicion = "01-03-2015";
    g.ValorAdquisicion = M("10000");
    g.FechaTransmision = "01-06-2021";
    g.ValorTransmision = M("12000");
    d.ListaGanancias = {g};
    DatosDeduccion x;
    x.Clase = "B";
    x.Titular = "A";
    x.Importe = M("500");
    d.ListaDeducciones = {x};
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

void pulsa(Qt::Key tecla, Qt::KeyboardModifiers mod = Qt::NoModifier)
{
    QTest::keyClick(QApplication::focusWidget(), tecla, mod);
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

QLineEdit *editor(const PantallaLista &p)
{
    return p.vista()->editorAbierto();
}

QPushButton *boton(const PantallaLista &p, const char *nombre) { return p.findChild<QPushButton *>(nombre); }

}  // namespace

class ListasTest : public QObject {
    Q_OBJECT

private:
    // A screen shown and active, with the message boxes answered "Sí" and recorded.
    std::unique_ptr<PantallaLista> abre(TipoLista tipo, const Declaracion &d = declaracionBase())
    {
        AvisoLista::respuestaAutomatica(true);
        AvisoLista::mostrados().clear();
        auto p = std::make_unique<PantallaLista>(tipo, d);
        p->show();
        QApplication::setActiveWindow(p.get());
        if (!QTest::qWaitForWindowActive(p.get()))
            qWarning("window not active");
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
        QTest::addColumn<TipoLista>("tipo");
        QTest::addColumn<int>("col");
        QTest::addColumn<QString>("teclas");
        QTest::addColumn<QString>("queda");
        QTest::addColumn<QString>("visible");
        QTest::addColumn<int>("pitidos");
        const auto mob = TipoLista::Mobiliario, gan = TipoLista::Ganancias, ded = TipoLista::DCuota;
        QTest::newRow("clase en minuscula") << mob << 0 << "d" << "D" << "D" << 0;
        QTest::newRow("signo y segunda coma no entran") << mob << 2 << "-1234,5,3" << "1234,53" << "1.234,53" << 0;
        QTest::newRow("base del ahorro negativa") << gan << 10 << "-7,5" << "-7,5" << "-7,50" << 0;
        QTest::newRow("fecha de ocho cifras") << gan << 2 << "01012020" << "01-01-2020" << "01-01-2020" << 0;
        QTest::newRow("clase i pita") << ded << 0 << "i" << "B" << "B" << 1;
        QTest::newRow("minusvalia solo tres cifras") << ded << 5 << "3.3,3a4" << "333" << "333" << 2;
    }

    void teclasPorColumna()
    {
        QFETCH(TipoLista, tipo);
        QFETCH(int, col);
        QFETCH(QString, teclas);
        QFETCH(QString, queda);
        QFETCH(QString, visible);
        QFETCH(int, pitidos);
        auto p = abre(tipo);
        QSignalSpy pitos(p->vista()->delegado(), &DelegadoLista::pitido);
        vaA(*p, 0, col);
        teclea(teclas);
        pulsa(Qt::Key_Return);
        QCOMPARE(celda(*p, 0, col), queda);
        QCOMPARE(celda(*p, 0, col, Qt::DisplayRole), visible);
        QCOMPARE(pitos.count(), pitidos);
        QVERIFY(AvisoLista::mostrados().isEmpty());
        // Enter moved on to the next column, from the last one to the next row.
        const int ultima = p->vista()->model()->columnCount() - 1;
        QCOMPARE(p->vista()->currentIndex(), p->vista()->model()->index(col == ultima ? 1 : 0, col == ultima ? 0 : col + 1));
    }

    void filaNueva_data()
    {
        QTest::addColumn<TipoLista>("tipo");
        QTest::addColumn<int>("col");
        QTest::addColumn<QString>("teclas");
        QTest::addColumn<QStringList>("fila");
        QTest::newRow("mobiliario por el importe") << TipoLista::Mobiliario << 2 << "100"
                                                   << QStringList{"I", "A", "100", "", "", ""};
        QTest::newRow("mobiliario por la clase") << TipoLista::Mobiliario << 0 << "p"
                                                 << QStringList{"P", "A", "", "", "", ""};
        QTest::newRow("ganancias") << TipoLista::Ganancias << 3 << "5"
                                   << QStringList{"A", "A", "", "5", "", "", "", "", "", "", ""};
        QTest::newRow("deducciones") << TipoLista::DCuota << 3 << "1-1-2000"
                                     << QStringList{"B", "A", "", "1-1-2000", "", ""};
    }

    void filaNueva()
    {
        QFETCH(TipoLista, tipo);
        QFETCH(int, col);
        QFETCH(QString, teclas);
        QFETCH(QStringList, fila);
        auto p = abre(tipo);
        vaA(*p, 1, col);  // the empty line below the only item
        teclea(teclas);
        pulsa(Qt::Key_Return);
        QCOMPARE(p->vista()->model()->rowCount(), 3);
        QStringList hay;
        for (int c = 0; c < fila.size(); ++c)
            hay << celda(*p, 1, c);
        QCOMPARE(hay, fila);
        QCOMPARE(p->vista()->model()->headerData(2, Qt::Vertical).toString(), QStringLiteral("*"));
        QCOMPARE(p->vista()->currentIndex().row(), 1);
    }

    void fechas()
    {
        auto p = abre(TipoLista::Ganancias);
        vaA(*p, 0, 2);
        teclea("31022021");
        pulsa(Qt::Key_Return);
        QCOMPARE(AvisoLista::mostrados(), QStringList{"Fecha incorrecta."});
        QVERIFY(editor(*p));
        QCOMPARE(editor(*p)->text(), QStringLiteral("31-02-2021"));
        // Neither a move key nor a click elsewhere leaves the refused cell.
        pulsa(Qt::Key_Down);
        pulsa(Qt::Key_PageDown);  // moved by the grid itself, not by the editor
        QTest::mouseClick(p->vista()->viewport(), Qt::LeftButton, {},
                          p->vista()->visualRect(p->vista()->model()->index(0, 5)).center());
        QCOMPARE(AvisoLista::mostrados().size(), 4);
        QCOMPARE(p->vista()->currentIndex(), p->vista()->model()->index(0, 2));
        QVERIFY(editor(*p));
        QCOMPARE(celda(*p, 0, 2), QStringLiteral("01-03-2015"));
        // Single-digit day and month with dashes are a date as typed.
        pulsa(Qt::Key_A, Qt::ControlModifier);
        teclea("1-2-2021");
        pulsa(Qt::Key_Tab);
        QCOMPARE(celda(*p, 0, 2), QStringLiteral("1-2-2021"));
        QCOMPARE(AvisoLista::mostrados().size(), 4);
    }

    void celdasObligatorias_data()
    {
        QTest::addColumn<TipoLista>("tipo");
        QTest::addColumn<int>("col");
        QTest::addColumn<QString>("mensaje");
        QTest::newRow("clase") << TipoLista::Mobiliario << 0 << "La clase debe de estar informada.";
        QTest::newRow("titular") << TipoLista::Mobiliario << 1 << "El titular debe de estar informado.";
        QTest::newRow("clase de bien") << TipoLista::Ganancias << 0 << "La clase de bien debe de estar informada.";
        QTest::newRow("titular del bien") << TipoLista::Ganancias << 1 << "El titular del bien debe de estar informado.";
        QTest::newRow("clase de deduccion") << TipoLista::DCuota << 0 << "La clase de deducción debe de estar informada.";
        QTest::newRow("titular de la deduccion") << TipoLista::DCuota << 1
                                                  << "El titular de la deducción debe de estar informado.";
    }

    void celdasObligatorias()
    {
        QFETCH(TipoLista, tipo);
        QFETCH(int, col);
        QFETCH(QString, mensaje);
        auto p = abre(tipo);
        const QString antes = celda(*p, 0, col);
        vaA(*p, 0, col);
        pulsa(Qt::Key_F2);
        pulsa(Qt::Key_A, Qt::ControlModifier);
        pulsa(Qt::Key_Backspace);
        pulsa(Qt::Key_Return);
        QCOMPARE(AvisoLista::mostrados(), QStringList{mensaje});
        QVERIFY(editor(*p));
        QCOMPARE(celda(*p, 0, col), antes);
        // Guardar cannot get past it either; Escape leaves without saving.
        boton(*p, "guardar")->click();
        QVERIFY(p->isVisible());
        pulsa(Qt::Key_Escape);
        QCOMPARE(p->result(), int(QDialog::Rejected));
        QVERIFY(!p->isVisible());
    }

    void eliminar()
    {
        Declaracion d = declaracionBase();
        DatosMobiliario m = d.ListaMobiliario[0];
        for (const char *clase : {"D", "T"}) {
            m.Clase = clase;
            d.ListaMobiliario.push_back(m);
        }
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
        QVERIFY(AvisoLista::mostrados().isEmpty());
        // Eliminar asks; No keeps the row.
        AvisoLista::respuestaAutomatica(false);
        vaA(*p, 1, 3);
        pulsa(Qt::Key_E, Qt::AltModifier);  // a mnemonic clicks after a short animation
        QTRY_COMPARE(AvisoLista::mostrados(), QStringList{"¿Desea eliminar el registro?"});
        QCOMPARE(clases(), QStringLiteral("IT"));
        QVERIFY(p->vista()->selectionModel()->selectedRows().isEmpty());
        AvisoLista::respuestaAutomatica(true);
        boton(*p, "eliminar")->click();
        QCOMPARE(clases(), QStringLiteral("I"));
        // On the empty new-row line there is nothing to ask about.
        vaA(*p, 1, 0);
        boton(*p, "eliminar")->click();
        QCOMPARE(AvisoLista::mostrados().size(), 2);
        boton(*p, "guardar")->click();
        QCOMPARE(p->declaracion().ListaMobiliario.size(), std::size_t(1));
    }

    void guardarYReabrir_data()
    {
        QTest::addColumn<TipoLista>("tipo");
        QTest::addColumn<QStringList>("fila");
        QTest::addColumn<QString>("ultima");  // the last cell, left open when saving, as shown
        // Distinct figures in the columns whose record fields come in another order.
        QTest::newRow("mobiliario") << TipoLista::Mobiliario << QStringList{"c", "", "1000", "", "4", "3"} << "3,00";
        QTest::newRow("ganancias") << TipoLista::Ganancias
                                   << QStringList{"i", "c", "01021990", "10", "", "11", "13", "12", "14", "", "-16,25"}
                                   << "-16,25";
        QTest::newRow("deducciones") << TipoLista::DCuota << QStringList{"", "d", "20", "010105", "1", "33"} << "33";
    }

    void guardarYReabrir()
    {
        QFETCH(TipoLista, tipo);
        QFETCH(QStringList, fila);
        QFETCH(QString, ultima);
        auto p = abre(tipo);
        vaA(*p, 1, 0);
        for (int c = 0; c < fila.size(); ++c) {
            teclea(fila[c]);
            if (c + 1 < fila.size())
                pulsa(Qt::Key_Return);
        }
        // The last cell is still being edited when Guardar is pressed.
        QVERIFY(editor(*p));
        pulsa(Qt::Key_G, Qt::AltModifier);
        QTRY_COMPARE(p->result(), int(QDialog::Accepted));
        // Which record field each column fills is the module's test; here the whole way
        // through the screen: saved, reopened, each figure back in the column it was typed in.
        const Declaracion &d = p->declaracion();
        QCOMPARE(FilasDeLista(d, tipo).size(), std::size_t(2));
        PantallaLista otra(tipo, d);
        QCOMPARE(celda(otra, 1, fila.size() - 1, Qt::DisplayRole), ultima);
        for (int c = 0; c < fila.size(); ++c)
            if (!fila[c].isEmpty())
                QCOMPARE(celda(otra, 1, c, Qt::DisplayRole), celda(*p, 1, c, Qt::DisplayRole));
    }

    // The entry points copy back only what was saved.
    void abreYSale()
    {
        AvisoLista::respuestaAutomatica(true);
        Declaracion d = declaracionBase();
        // Types 77 as the first item's income, then leaves by `sale`.
        const auto escribeY = [](std::function<void(PantallaLista *)> sale) {
            QTimer::singleShot(0, [sale] {
                auto *p = qobject_cast<PantallaLista *>(QApplication::activeModalWidget());
                QVERIFY(p);
                QVERIFY(QTest::qWaitForWindowActive(p));
                vaA(*p, 0, 2);
                teclea("77");
                pulsa(Qt::Key_Return);
                sale(p);
            });
        };
        escribeY([](PantallaLista *) { pulsa(Qt::Key_Escape); });
        QVERIFY(!AbreMobiliario(d, nullptr));
        QCOMPARE(d, declaracionBase());
        escribeY([](PantallaLista *p) { boton(*p, "guardar")->click(); });
        QVERIFY(AbreMobiliario(d, nullptr));
        QCOMPARE(d.ListaMobiliario[0].Ingreso, M("77"));
    }

    void tramo_data()
    {
        QTest::addColumn<QString>("autonomia");
        QTest::addColumn<int>("antes");
        QTest::addColumn<bool>("visible");
        QTest::addColumn<bool>("marcado");
        QTest::newRow("cataluna con tramo") << "09" << 1 << true << true;
        QTest::newRow("cataluna sin tramo") << "09" << 0 << true << false;
        QTest::newRow("otra region lo borra") << "01" << 1 << false << false;
    }

    void tramo()
    {
        QFETCH(QString, autonomia);
        QFETCH(int, antes);
        QFETCH(bool, visible);
        QFETCH(bool, marcado);
        Declaracion d = declaracionBase();
        d.Autonomia = autonomia.toStdString();
        d.TramoVivienda = static_cast<std::int16_t>(antes);
        auto p = abre(TipoLista::DCuota, d);
        auto *tramo = p->findChild<QCheckBox *>("Tramo");
        QVERIFY(tramo);
        QCOMPARE(tramo->isVisible(), visible);
        QCOMPARE(tramo->isChecked(), marcado);
        boton(*p, "guardar")->click();
        QCOMPARE(p->declaracion().TramoVivienda, std::int16_t(marcado ? 1 : 0));
    }

    void ayudaYEuro()
    {
        int abierto = 0;
        PantallaLista::abreEuro = [&abierto](QWidget *) { ++abierto; };
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
        PantallaLista::abreEuro = nullptr;
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
            for (const QString &v : fila) {
                teclea(v);
                pulsa(Qt::Key_Return);
            }
            boton(*p, "guardar")->click();
            d = p->declaracion();
        };
        escribe(TipoLista::Mobiliario, {"i", "d", "1000", "100", "", "190"});
        escribe(TipoLista::Ganancias, {"o", "d", "01032015", "10000", "01062021", "12000", "", "", "50"});
        escribe(TipoLista::DCuota, {"c", "d", "5000"});
        const Calculo c = Recalcular(d, Conjunta);
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
