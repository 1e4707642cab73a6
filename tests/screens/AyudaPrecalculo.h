// What the main-window tests share: a fresh folder per test for XDG_STATE_HOME and the user's
// settings (the saved declaration and the recent files never touch the real ones), the window
// started as a user finds it, typing into a box, and answering a box not answered in advance.
#ifndef AYUDAPRECALCULO_H
#define AYUDAPRECALCULO_H

#include "CampoEdit.h"
#include "MensajeBox.h"
#include "Precalculo.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <memory>

#include <sys/stat.h>

inline QByteArray contenido(const QString &ruta)
{
    QFile f(ruta);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(no se puede leer)");
}

inline bool escribeFichero(const QString &ruta, const QByteArray &bytes)
{
    QFile f(ruta);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// A family screen that stores two salaries of 30000 (2000 of expenses, 4000 withheld each),
// or the declarant's alone, and says it saved.
inline Precalculo::Pantalla pareja(bool conConyuge)
{
    return [conConyuge](simulador::Declaracion &d, QWidget *) {
        d.Miembros[0].AnoNac = 1980;
        d.Miembros[0].Edad = 41;
        if (conConyuge) {
            d.Miembros[1].AnoNac = 1982;
            d.Miembros[1].Edad = 39;
        }
        for (int p = 1; p <= (conConyuge ? 2 : 1); ++p) {
            d.Rentas[p].TrabIngresos = simulador::Money::euros(30000);
            d.Rentas[p].TrabGastos = simulador::Money::euros(2000);
            d.Rentas[p].TrabRetencion = simulador::Money::euros(4000);
        }
        simulador::RehaceTotales(d);
        return true;
    };
}

class AyudaPrecalculo {
protected:
    bool prepara()
    {
        m_tmp = std::make_unique<QTemporaryDir>();
        qputenv("XDG_STATE_HOME", m_tmp->path().toLocal8Bit());
        for (QSettings::Format f : {QSettings::NativeFormat, QSettings::IniFormat})
            QSettings::setPath(f, QSettings::UserScope, ruta("ajustes"));
        MensajeBox::setNextAnswer(MensajeBox::Ninguna);
        MensajeBox::olvidaUltimo();
        return m_tmp->isValid();
    }

    void recoge()
    {
        m_vigilante.reset();
        if (m_w) {
            MensajeBox::setNextAnswer(MensajeBox::No);
            m_w->close();
            m_w.reset();
        }
        MensajeBox::setNextAnswer(MensajeBox::Ninguna);
        m_tmp.reset();  // before the next test makes its own, which must not lie inside this one
        qputenv("XDG_STATE_HOME", m_estadoOriginal);
    }

    // Into m_w, once ready with the focus on the first input box. `antes` runs on the window
    // before it is shown, which is when its start-up work begins.
    bool arranca(const std::function<void(Precalculo &)> &antes = {})
    {
        m_w = std::make_unique<Precalculo>();
        if (antes)
            antes(*m_w);
        m_w->show();
        if (!QTest::qWaitFor([this] { return m_w->listo(); }, 3000))
            return false;
        // Again once started: a message box at start takes the activation with it.
        m_w->activateWindow();
        return QTest::qWaitForWindowActive(m_w.get()) && QTest::qWaitFor([this] { return caja(9)->hasFocus(); }, 3000);
    }
    CampoEdit *caja(int n) const { return m_w->casilla(n); }
    QStringList textos(std::initializer_list<int> casillas) const
    {
        QStringList t;
        for (int n : casillas)
            t << caja(n)->text();
        return t;
    }
    template <class T> T *hijo(const char *nombre) const { return m_w->findChild<T *>(QLatin1String(nombre)); }
    QString ruta(const char *nombre) const { return m_tmp->path() + QLatin1Char('/') + QLatin1String(nombre); }
    // The last declaration's path, its private folder made as the program makes it.
    QString ultima() const
    {
        ::mkdir(QFile::encodeName(ruta("simulador-irpf2021")).constData(), 0700);
        return ruta("simulador-irpf2021/DatosCa21.Ini");
    }
    void pesetas(bool si) { hijo<QAbstractButton>(si ? "Option1_1" : "Option1_0")->click(); }
    bool dice(const QString &parte) const { return MensajeBox::ultimoTexto().contains(parte); }
    // The file chooser answers `*elegido` (an empty text: cancelled).
    void eligeSiempre(const QString *elegido)
    {
        m_w->setEligeFichero([elegido](QWidget *, bool, const QString &) { return *elegido; });
    }

    // Focus on the box, type over its selected text as a user would, then leave it by `tecla`.
    void escribe(int n, const char *texto, Qt::Key tecla = Qt::Key_Return)
    {
        caja(n)->setFocus();
        QTRY_VERIFY(caja(n)->hasFocus());
        QTest::keyClicks(caja(n), QString::fromLatin1(texto));
        QTest::keyClick(caja(n), tecla);
    }

    // Runs `accion` on the next modal window once it is up (a box not answered in advance).
    void alAbrirse(std::function<void(QDialog *)> accion)
    {
        m_vigilante = std::make_unique<QTimer>();
        m_vigilante->setInterval(10);
        QTimer *t = m_vigilante.get();
        QObject::connect(t, &QTimer::timeout, t, [t, accion] {
            auto *d = qobject_cast<QDialog *>(QApplication::activeModalWidget());
            if (d && d->isVisible()) {
                t->stop();
                accion(d);
            }
        });
        t->start();
    }
    void cierraElMensaje() { alAbrirse([](QDialog *d) { d->done(0); }); }

    QByteArray m_estadoOriginal = qgetenv("XDG_STATE_HOME");
    std::unique_ptr<QTemporaryDir> m_tmp;
    std::unique_ptr<QTimer> m_vigilante;
    std::unique_ptr<Precalculo> m_w;
};

// The last message box said `parte` (its text is printed when it did not).
#define QVERIFY_DICE(parte) QVERIFY2(dice(parte), qPrintable(MensajeBox::ultimoTexto()))

#endif
