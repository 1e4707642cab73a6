#include "CampoEdit.h"

#include "Herramientas.h"
#include "ListaCampo.h"
#include "MaquinaCalculadora.h"
#include "MensajeBox.h"
#include "TextoImporte.h"
#include "TextoQt.h"

#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

using namespace simulador;

const QColor CampoEdit::kBlanco(0xFF, 0xFF, 0xFF);
const QColor CampoEdit::kVerdeClaro(0xC0, 0xFF, 0xC0);

CampoEdit::CampoEdit(int ayuda, const QString &dato, const QString &codigo, const QString &lista, QWidget *parent)
    : QLineEdit(parent), m_def(DefineCampo(ayuda, deQt(dato), deQt(codigo), deQt(lista))), m_definido(true)
{
    iniciaAspecto();
}

CampoEdit::CampoEdit(QWidget *parent) : QLineEdit(parent)
{
    m_def.lista = "@";
    iniciaAspecto();
}

void CampoEdit::iniciaAspecto()
{
    // A thin drawn border instead of the style's frame, so a 15-pixel box still shows its text.
    setFrame(false);
    setTextMargins(2, 0, 2, 0);
    setFondo(kBlanco);
    // Text dropped or pasted from a menu would skip the key filter.
    setAcceptDrops(false);
    setContextMenuPolicy(Qt::NoContextMenu);
}

QString CampoEdit::dato() const { return aQt(m_def.dato); }
QString CampoEdit::codigo() const { return aQt(m_def.codigo); }
QString CampoEdit::especLista() const { return aQt(m_def.lista); }

void CampoEdit::setFondo(const QColor &color)
{
    m_fondo = color;
    QPalette p = palette();
    p.setColor(QPalette::Base, color);
    p.setColor(QPalette::Text, Qt::black);
    p.setColor(QPalette::Disabled, QPalette::Base, color);
    p.setColor(QPalette::Disabled, QPalette::Text, Qt::black);
    setPalette(p);
}

void CampoEdit::enviaTab(bool atras)
{
    // Posted, not sent: the move happens after the key or focus event that asked for it,
    // from whichever field has the focus by then.
    QCoreApplication::postEvent(this, new QKeyEvent(QEvent::KeyPress, atras ? Qt::Key_Backtab : Qt::Key_Tab,
                                                    atras ? Qt::ShiftModifier : Qt::NoModifier));
}

void CampoEdit::focusInEvent(QFocusEvent *e)
{
    QLineEdit::focusInEvent(e);
    if (m_protegido) {
        enviaTab();
        return;
    }
    if (m_definido)
        setText(aQt(FormateaCampo(m_def.codigo, deQt(text()), false)));
    selectAll();
    // A click puts the caret where it lands once the focus is in, which would undo the
    // selection: what is typed next would then go into the old amount instead of over it.
    m_seleccionaAlSoltar = e->reason() == Qt::MouseFocusReason;
    if (m_lista)
        m_lista->muestra(this);
    emit entrado();
}

void CampoEdit::focusOutEvent(QFocusEvent *e)
{
    if (m_definido && m_fondo == kBlanco && !m_protegido)
        setText(aQt(FormateaCampo(m_def.codigo, deQt(text()), true)));
    QLineEdit::focusOutEvent(e);
}

void CampoEdit::keyPressEvent(QKeyEvent *e)
{
    const Qt::KeyboardModifiers mods = e->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    const int key = e->key();
    if (key == Qt::Key_PageUp || key == Qt::Key_PageDown ||
        (mods == Qt::ControlModifier && (key == Qt::Key_Home || key == Qt::Key_End))) {
        e->ignore();  // the screen's: on to the parent widget
        return;
    }
    if (mods == Qt::NoModifier) {
        if (key == Qt::Key_Down && m_lista && m_lista->isVisible() && m_lista->campo() == this) {
            m_lista->setFocus();
            return;
        }
        if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Down) {
            if (m_alMover && !m_alMover(Movimiento::Siguiente))
                return;
            emit confirmado();
            enviaTab();
            return;
        }
        if (key == Qt::Key_Up) {
            if (!m_alMover || m_alMover(Movimiento::Anterior))
                enviaTab(true);
            return;
        }
        if (key == Qt::Key_F4) {
            calculadoraCampo();
            return;
        }
    }
    if (key == Qt::Key_E && mods == Qt::ControlModifier) {
        Herramientas::conversorEuro(window());
        return;
    }
    if (key == Qt::Key_Backspace && mods == Qt::NoModifier) {
        filtraTecla(kTeclaRetroceso);
        return;
    }
    if (key == Qt::Key_Escape) {
        if (m_lista && m_lista->isVisible() && m_lista->campo() == this) {
            m_lista->hide();  // Esc closes the open pop-up list, not the screen
            return;
        }
        filtraTecla(kTeclaEscape);
        e->ignore();  // Esc still reaches the screen (the cancel button of a dialog)
        return;
    }
    if (e->matches(QKeySequence::Paste)) {
        pega(QGuiApplication::clipboard()->text(QClipboard::Clipboard));
        return;
    }
    const QString t = e->text();
    if (!t.isEmpty() && t.at(0).unicode() >= 32 && t.at(0).unicode() != 127) {
        // Ctrl alone is the edit control's (select all, copy, undo: it never inserts text
        // with Ctrl held); Alt, Ctrl+Alt or Meta with a character would insert it: dropped.
        if (e->modifiers() & (Qt::AltModifier | Qt::MetaModifier))
            return;
        if (!(mods & Qt::ControlModifier)) {
            for (const uint c : t.toUcs4())
                filtraTecla(c);
            return;
        }
    }
    QLineEdit::keyPressEvent(e);
}

void CampoEdit::mouseReleaseEvent(QMouseEvent *e)
{
    if (e->button() == Qt::MiddleButton && QGuiApplication::clipboard()->supportsSelection()) {
        pega(QGuiApplication::clipboard()->text(QClipboard::Selection));
        return;
    }
    QLineEdit::mouseReleaseEvent(e);
    // Only a plain click selects the whole text: a drag over part of it keeps that part.
    if (m_seleccionaAlSoltar && e->button() == Qt::LeftButton) {
        m_seleccionaAlSoltar = false;
        if (!hasSelectedText())
            selectAll();
    }
}

void CampoEdit::pega(const QString &texto)
{
    for (const uint c : aQt(TeclasDePegado(m_definido ? m_def.codigo : std::string(), deQt(texto))).toUcs4())
        if (c >= 32)
            filtraTecla(c);
}

void CampoEdit::inputMethodEvent(QInputMethodEvent *e)
{
    // What an input method commits (a dead key's accent, a composed letter) would be inserted
    // past the filter: the edit control gets only the text being composed, the filter the rest.
    QInputMethodEvent compuesto(e->preeditString(), e->attributes());
    QLineEdit::inputMethodEvent(&compuesto);
    for (const uint c : e->commitString().toUcs4())
        if (c >= 32)
            filtraTecla(c);
    e->accept();
}

bool CampoEdit::filtraTecla(char32_t tecla)
{
    EstadoTexto estado;
    const QString actual = text();
    estado.texto = deQt(actual);
    // Positions count characters; QLineEdit counts UTF-16 units, the same for Spanish text.
    estado.cursor = cursorPosition();
    if (hasSelectedText()) {
        estado.selInicio = selectionStart();
        estado.selLargo = static_cast<int>(selectedText().size());
    }
    const ResultadoTecla r = TeclaCampo(m_definido ? m_def.codigo : std::string(), estado, tecla,
                                        m_def.maxLength.value_or(0));
    const QString nuevo = aQt(r.texto);
    if (nuevo == actual && r.selLargo > 0)
        return r.aceptada;  // nothing happened: the selection stays as it was
    if (nuevo != actual) {
        setText(nuevo);
        emit textEdited(nuevo);  // typed by the user, as QLineEdit says of its own edits
    }
    setCursorPosition(r.cursor);
    return r.aceptada;
}

void CampoEdit::calculadoraCampo()
{
    if (!Herramientas::hayCalculadora() || !AdmiteCalculadora(m_def.codigo))
        return;
    const QString texto = text();
    const QString valor = LeeImporte(deQt(texto), EstiloImporte::Pantalla).ok() ? texto : QStringLiteral("0");
    const QColor antes = m_fondo;
    setFondo(kVerdeClaro);
    const std::optional<QString> resultado = Herramientas::calculadora(valor, window());
    setFondo(antes);
    if (resultado) {
        const ResultadoCampo r = ResultadoEnCampo(deQt(*resultado), m_def.codigo);
        if (!r.ok) {
            MensajeBox::informacion(window(), aQt(r.mensaje));
        } else if (aQt(r.texto) != text()) {
            setText(aQt(r.texto));
            emit textEdited(text());
        }
    }
    emit calculadoraCerrada();
}

void CampoEdit::paintEvent(QPaintEvent *e)
{
    QLineEdit::paintEvent(e);
    QPainter p(this);
    p.setPen(hasFocus() ? QColor(0x00, 0x00, 0xC0) : QColor(0x80, 0x80, 0x80));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}
