// The three list screens driven from the keyboard: what the grid adds to the module's column
// table (the filter in each cell, the new-row line, the moves, refusals, deleting, saving).
#include "AbreLista.h"
#include "DelegadoLista.h"
#include "Herramientas.h"
#include "MensajeBox.h"
#include "ModeloLista.h"
#include "PantallaLista.h"
#include "Teclado.h"
#include "TextoQt.h"
#include "VistaLista.h"

#include <QAbstractItemModelTester>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>

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

void pulsa(Qt::Key tecla, Qt::KeyboardModifiers mod = {}) { QTest::keyClick(QApplication::focusWidget(), tecla, mod); }

void vaA(PantallaLista &p, int fila, int col)
{
    p.vista()->setFocus();
    p.vista()->setCurrentIndex(p.vista()->model()->index(fila, col));
}

QString celda(const PantallaLista &p, int fila, int col, int rol = Qt::EditRole)
{
    return p.vista()->model()->index(fila, col).data(rol).toString();
}


// Whether a vertical headerDataChanged named `fila`.
bool renumerada(const QSignalSpy &cabeceras, int fila)
{
    return std::any_of(cabeceras.begin(), cabeceras.end(), [fila](const QList<QVariant> &a) {
        return a.at(0).value<Qt::Orientation>() == Qt::Vertical && a.at(1).toInt() <= fila && fila <= a.at(2).toInt();
    });
}

// nueva: on the new-row line (row 1), the whole line once the cell is left; rows 0 leave it empty.
struct CasoTeclas { TipoLista tipo; int fila, col; QString teclas, queda, visible; int pitidos; QStringList nueva; };
struct CasoRechazo { TipoLista tipo; int col; QString teclas, queda, mensaje; };
// ultima: the last cell as shown; autonomia: the region, where the deductions' housing box
// shows only in Catalunya ("09"); guarda: "&Guardar", or else Escape.
struct CasoGuardar { TipoLista tipo; QStringList fila; QString ultima, autonomia = "09"; bool guarda = true; };

}  // namespace

class ListasTest : public QObject {
    Q_OBJECT

    // A screen shown and active, with every message box answered "Sí" and recorded.
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
    // Row numbers are header data: a view redraws them only when told that the new-row line
    // "*" became row 2, or that the rows under a deleted one moved up.
    void modelo()
    {
        ModeloLista m(TipoLista::Ganancias, FilasDeLista(declaracionBase(), TipoLista::Ganancias));
        QAbstractItemModelTester tester(&m, QAbstractItemModelTester::FailureReportingMode::QtTest);
        QSignalSpy cabeceras(&m, &QAbstractItemModel::headerDataChanged);
        QVERIFY(m.setData(m.index(1, 3), QStringLiteral("5")));  // the new-row line takes a value
        QCOMPARE(m.headerData(1, Qt::Vertical).toString(), QStringLiteral("2"));
        QCOMPARE(m.headerData(2, Qt::Vertical).toString(), QStringLiteral("*"));
        QVERIFY(renumerada(cabeceras, 1));
        QVERIFY(!m.setData(m.index(0, 2), QStringLiteral("31-02-2021")));
        QVERIFY(!m.removeRows(2, 1));  // the new-row line stays
        cabeceras.clear();
        QVERIFY(m.removeRows(0, 1));
        QVERIFY(renumerada(cabeceras, 0));
        QCOMPARE(m.headerData(0, Qt::Vertical).toString(), QStringLiteral("1"));
    }

    void teclasPorColumna_data()
    {
        QTest::addColumn<CasoTeclas>("c");
        const auto mob = TipoLista::Mobiliario, gan = TipoLista::Ganancias, ded = TipoLista::DCuota;
        QTest::newRow("refused class beeps") << CasoTeclas{ded, 0, 0, "i", "B", "B", 1, {}};
        QTest::newRow("date rewritten when left") << CasoTeclas{gan, 0, 2, "01012020", "01-01-2020", "01-01-2020", 0, {}};
        // From the last column Enter goes on to the first of the next row.
        // Letters composed by an input method are refused like typed ones.
        QTest::newRow("loss in the general base") << CasoTeclas{gan, 0, 9, "-3%x%é00", "-300", "-300,00", 0, {}};
        QTest::newRow("last column, amount shown") << CasoTeclas{gan, 0, 10, "-7,5", "-7,5", "-7,50", 0, {}};
        // A value typed on the new-row line adds an item with the list's defaults.
        QTest::newRow("new row by its class") << CasoTeclas{mob, 1, 0, "p", "P", "P", 0, {"P", "A", "", "", "", ""}};
    }

    void teclasPorColumna()
    {
        QFETCH(CasoTeclas, c);
        auto p = abre(c.tipo);  // one item, so row 1 is the new-row line
        QSignalSpy pitos(p->vista()->delegado(), &DelegadoLista::pitido);
        vaA(*p, c.fila, c.col);
        // The help of the current column under the grid; Ctrl+E where the list takes it.
        QCOMPARE(p->findChild<QLabel *>("LbValor")->text(), aQt(Lista(c.tipo).columnas[std::size_t(c.col)].ayuda));
        int euro = 0;
        Herramientas::instala({}, [&euro](QWidget *) { ++euro; });
        pulsa(Qt::Key_E, Qt::ControlModifier);
        Herramientas::instala({}, {});
        QCOMPARE(euro, int(Lista(c.tipo).atajoEuro));
        teclea(c.teclas + QLatin1Char('\n'));
        QCOMPARE(celda(*p, c.fila, c.col), c.queda);
        QCOMPARE(celda(*p, c.fila, c.col, Qt::DisplayRole), c.visible);
        QCOMPARE(pitos.count(), c.pitidos);
        QVERIFY(MensajeBox::textos().isEmpty());
        QCOMPARE(p->vista()->model()->rowCount(), c.nueva.isEmpty() ? 2 : 3);
        QStringList hay;
        for (int col = 0; col < c.nueva.size(); ++col)
            hay << celda(*p, c.fila, col);
        QCOMPARE(hay, c.nueva);
        const bool ultima = c.col == p->vista()->model()->columnCount() - 1;
        QCOMPARE(p->vista()->currentIndex(), p->vista()->model()->index(c.fila + ultima, ultima ? 0 : c.col + 1));
    }

    void celdaRechazada_data()
    {
        QTest::addColumn<CasoRechazo>("c");
        QTest::newRow("impossible date") << CasoRechazo{TipoLista::Ganancias, 2, "31022021", "31-02-2021", "Fecha incorrecta."};
        QTest::newRow("class emptied") << CasoRechazo{TipoLista::Mobiliario, 0, "", "", "La clase debe de estar informada."};
    }

    // A refused cell keeps the focus with what was typed, and says why at every try to leave
    // it; Escape drops the edit, and a second Escape leaves without a question.
    void celdaRechazada()
    {
        QFETCH(CasoRechazo, c);
        auto p = abre(c.tipo);
        const QString antes = celda(*p, 0, c.col);
        vaA(*p, 0, c.col);
        teclea(QStringLiteral("|^a"));
        pulsa(Qt::Key_Backspace);
        teclea(c.teclas + QLatin1Char('\n'));
        QCOMPARE(p->vista()->editorAbierto()->text(), c.queda);
        pulsa(Qt::Key_Down);
        pulsa(Qt::Key_PageDown);  // moved by the grid itself, not by the editor
        QTest::mouseClick(p->vista()->viewport(), Qt::LeftButton, {},
                          p->vista()->visualRect(p->vista()->model()->index(0, 5)).center());
        p->findChild<QPushButton *>("CmOp1")->click();
        QCOMPARE(MensajeBox::textos(), QStringList(5, c.mensaje));
        QCOMPARE(p->vista()->currentIndex(), p->vista()->model()->index(0, c.col));
        QVERIFY(p->vista()->editorAbierto());
        QCOMPARE(celda(*p, 0, c.col), antes);
        pulsa(Qt::Key_Escape);
        QVERIFY(p->isVisible() && !p->vista()->editorAbierto());
        pulsa(Qt::Key_Escape);
        QCOMPARE(p->result(), int(QDialog::Rejected));
        QCOMPARE(MensajeBox::textos().size(), 5);
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
        // Eliminar asks first (answered Sí), but not on the empty new-row line.
        vaA(*p, 1, 3);
        pulsa(Qt::Key_E, Qt::AltModifier);  // a mnemonic clicks after a short animation
        QTRY_COMPARE(clases(), QStringLiteral("I"));
        vaA(*p, 1, 0);
        p->findChild<QPushButton *>("CmOp2")->click();
        QCOMPARE(MensajeBox::textos(), QStringList{"¿Desea eliminar el registro?"});
        p->findChild<QPushButton *>("CmOp1")->click();
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
        QTest::newRow("deducciones, Aragón") << CasoGuardar{TipoLista::DCuota, {"", "d", "20"}, "20,00", "02"};
        QTest::newRow("left by Escape, Sí") << CasoGuardar{TipoLista::DCuota, {"", "d", "20"}, "20,00", "09", false};
    }

    // Through the entry point, which copies back only what was saved: saved with the last cell
    // still being edited, and reopened. The deductions' housing box, ticked at first, is
    // unticked in Catalunya and cleared where hidden; the other lists leave the flag alone.
    void guardarYReabrir()
    {
        QFETCH(CasoGuardar, c);
        Declaracion d = declaracionBase();
        d.Autonomia = c.autonomia.toStdString();
        d.TramoVivienda = 1;
        const Declaracion antes = d;
        QStringList fila;  // the new row as the grid shows it
        MensajeBox::setNextAnswer(MensajeBox::Si, true);
        cuandoAbra<PantallaLista>([&](PantallaLista *p) {
            vaA(*p, 1, 0);
            teclea(c.fila.join(QLatin1Char('\n')));
            QVERIFY(p->vista()->editorAbierto());
            auto *tramo = p->findChild<QCheckBox *>("Tramo");
            const bool conTramo = tramo && tramo->isVisible();
            QCOMPARE(conTramo, c.tipo == TipoLista::DCuota && c.autonomia == "09");
            if (conTramo)
                tramo->click();
            teclea(c.guarda ? QStringLiteral("~g") : QStringLiteral("\x1b\x1b"));
            QTRY_VERIFY(!p->isVisible());
            for (int col = 0; col < c.fila.size(); ++col)
                fila << celda(*p, 1, col, Qt::DisplayRole);
        });
        const auto abre = c.tipo == TipoLista::Mobiliario ? &AbreMobiliario
                          : c.tipo == TipoLista::Ganancias ? &AbreGanancias : &AbreDCuota;
        QCOMPARE(abre(d, nullptr), c.guarda);
        QCOMPARE(d == antes, !c.guarda);
        if (!c.guarda)
            return;
        QCOMPARE(fila.last(), c.ultima);
        PantallaLista otra(c.tipo, d);  // reopened: each figure back in its column
        for (int col = 0; col < c.fila.size(); ++col)
            if (!c.fila[col].isEmpty())
                QCOMPARE(celda(otra, 1, col, Qt::DisplayRole), fila[col]);
        QCOMPARE(d.TramoVivienda, std::int16_t(c.tipo != TipoLista::DCuota));
    }
};

QTEST_MAIN(ListasTest)
#include "ListasTest.moc"
