// What the screen tests share: keys typed into whatever has the focus, as a user types them,
// and a step run on the next modal window once it is up.
#pragma once

#include <QApplication>
#include <QDialog>
#include <QInputMethodEvent>
#include <QTimer>
#include <QtTest>

#include <functional>

// Plays `guion`: characters as keys, "~x" Alt+x, "^x" Ctrl+x, "\n" Enter, "\x1b" Escape,
// "|" F2, "#" Insert, "%x" x committed by an input method (a dead key's letter), "$" the window's close button, and "@" a click on `otro` and a click back
// into what `campo` gives, as a user comes back to a field.
inline void teclea(const QString &guion, const std::function<QWidget *()> &campo = {}, QWidget *otro = nullptr)
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
        case '#': QTest::keyClick(f, Qt::Key_Insert); break;
        case '%': {
            QInputMethodEvent compuesto;
            compuesto.setCommitString(guion.at(++i));
            QCoreApplication::sendEvent(f, &compuesto);
            break;
        }
        case '$': f->window()->close(); break;
        default: QTest::keyClick(f, c);
        }
    }
}

// Runs `paso` on the next modal window of type T once it is shown and active, then closes it
// if the step did not, so that a failed step does not leave the test waiting on it.
template <class T> void cuandoAbra(std::function<void(T *)> paso, int intentos = 200)
{
    QTimer::singleShot(10, [paso = std::move(paso), intentos]() mutable {
        auto *d = qobject_cast<T *>(QApplication::activeModalWidget());
        if (!d || !d->isVisible()) {
            if (intentos > 0)
                cuandoAbra<T>(std::move(paso), intentos - 1);
            return;
        }
        d->activateWindow();
        if (QTest::qWaitForWindowActive(d))
            paso(d);
        if (d->isVisible())
            d->done(QDialog::Rejected);
    });
}
