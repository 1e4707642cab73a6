// Speed of the main workspace, measured with QBENCHMARK; built, never run by ctest
// (QT_QPA_PLATFORM=offscreen precalculo_bench). enterRecalcula: Enter in a changed box to the
// repainted window; arranque: a new window shown to its first painted sheet.
#include "CampoEdit.h"
#include "Precalculo.h"

#include <QTemporaryDir>
#include <QtTest>

class PrecalculoBench : public QObject {
    Q_OBJECT
    QTemporaryDir m_tmp;

private slots:
    // An empty temporary folder: no saved declaration, no question at start.
    void initTestCase()
    {
        QVERIFY(m_tmp.isValid());
        qputenv("XDG_STATE_HOME", m_tmp.path().toLocal8Bit());
    }

    void enterRecalcula()
    {
        Precalculo w;
        w.show();
        w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w) && QTest::qWaitFor([&w] { return w.listo(); }));
        // Box 84 keeps the focus after Enter, so every round is a confirmed change in place.
        CampoEdit *c = w.casilla(84);
        c->setFocus();
        QVERIFY(QTest::qWaitFor([c] { return c->hasFocus(); }));
        int i = 0;
        QBENCHMARK {
            c->setText(QString::number(1000 + (i++ % 2)));
            QTest::keyClick(c, Qt::Key_Return);
            w.repaint();
        }
    }

    void arranque()
    {
        QBENCHMARK {
            Precalculo w;
            w.show();
            QVERIFY(QTest::qWaitFor([&w] { return w.listo(); }));
            w.repaint();
        }
    }
};

QTEST_MAIN(PrecalculoBench)
#include "PrecalculoBench.moc"
