#include "DelegadoLista.h"

#include "TextoQt.h"

#include <QClipboard>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>

using namespace simulador;

DelegadoLista::DelegadoLista(TipoLista tipo, QObject *parent) : QStyledItemDelegate(parent), m_tipo(tipo) {}

QWidget *DelegadoLista::createEditor(QWidget *parent, const QStyleOptionViewItem &, const QModelIndex &index) const
{
    auto *le = new QLineEdit(parent);
    le->setObjectName(QStringLiteral("editorCelda"));
    le->setFrame(false);
    // Every character goes through the column's filter: no drops, no paste from a menu.
    le->setAcceptDrops(false);
    le->setContextMenuPolicy(Qt::NoContextMenu);
    le->setProperty("fila", index.row());
    le->setProperty("columna", index.column());
    if (Lista(m_tipo).columnas[static_cast<std::size_t>(index.column())].tipo == TipoColumna::Importe)
        le->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_editor = le;
    return le;
}

void DelegadoLista::setEditorData(QWidget *editor, const QModelIndex &index) const
{
    auto *le = qobject_cast<QLineEdit *>(editor);
    if (!le)
        return;
    const QString texto = index.data(Qt::EditRole).toString();
    le->setText(texto);
    // What the cell held: leaving it untouched stores and checks nothing.
    le->setProperty("original", texto);
}

// One character as if typed, through the column's filter.
void DelegadoLista::escribe(QLineEdit *le, char32_t c)
{
    // The filter sees the text that stays: a selection the key replaces does not count.
    QString queda = le->text();
    if (le->hasSelectedText())
        queda.remove(le->selectionStart(), le->selectedText().size());
    const Tecla t = FiltraTecla(m_tipo, le->property("columna").toInt(), deQt(queda), c);
    switch (t.accion) {
    case AccionTecla::Acepta: le->insert(QString::fromUcs4(&t.caracter, 1)); break;
    case AccionTecla::Pita: emit pitido(); break;
    case AccionTecla::QuitaUltimo: le->setText(le->text().chopped(1)); break;
    case AccionTecla::Rechaza: break;
    }
}

void DelegadoLista::pega(QLineEdit *le, const QString &texto)
{
    for (const char32_t c : texto.toUcs4())
        if (c >= 32)
            escribe(le, c);
}

bool DelegadoLista::eventFilter(QObject *object, QEvent *event)
{
    auto *le = qobject_cast<QLineEdit *>(object);
    if (le && event->type() == QEvent::FocusOut)
        return false;  // losing the focus stores nothing: the view stores on the next move or click
    if (le && event->type() == QEvent::ShortcutOverride
        && static_cast<QKeyEvent *>(event)->keyCombination() == QKeyCombination(Qt::ControlModifier, Qt::Key_E))
        return true;  // Ctrl+E is the euro converter's, not the line edit's "end of line"
    // A click back into the cell selects what it holds, as Tab does in the fields: the
    // press puts the caret where it lands, so the whole text is selected on the release
    // (unless the drag selected part of it).
    if (le && event->type() == QEvent::FocusIn)
        le->setProperty("seleccionaAlSoltar", static_cast<QFocusEvent *>(event)->reason() == Qt::MouseFocusReason);
    if (le && event->type() == QEvent::MouseButtonRelease) {
        const Qt::MouseButton boton = static_cast<QMouseEvent *>(event)->button();
        if (boton == Qt::MiddleButton) {
            if (QGuiApplication::clipboard()->supportsSelection())
                pega(le, QGuiApplication::clipboard()->text(QClipboard::Selection));
            return true;
        }
        if (boton == Qt::LeftButton && le->property("seleccionaAlSoltar").toBool()) {
            le->setProperty("seleccionaAlSoltar", false);
            if (!le->hasSelectedText())
                le->selectAll();
        }
    }
    if (le && event->type() == QEvent::InputMethod) {
        // What an input method commits would be inserted past the column's filter: the line
        // edit gets only the text being composed, the filter the rest.
        auto *im = static_cast<QInputMethodEvent *>(event);
        if (im->commitString().isEmpty())
            return false;
        QInputMethodEvent compuesto(im->preeditString(), im->attributes());
        QCoreApplication::sendEvent(le, &compuesto);
        pega(le, im->commitString());
        return true;
    }
    if (!le || event->type() != QEvent::KeyPress)
        return QStyledItemDelegate::eventFilter(object, event);
    auto *k = static_cast<QKeyEvent *>(event);
    const int tecla = k->key();
    switch (tecla) {
    case Qt::Key_Escape:
        emit cancela();
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Up:
    case Qt::Key_Down:
        emit sale(le, tecla);
        return true;
    case Qt::Key_Backspace:
        return false;
    default:
        break;
    }
    if (k->matches(QKeySequence::Paste)) {
        pega(le, QGuiApplication::clipboard()->text(QClipboard::Clipboard));
        return true;
    }
    const QString escrito = k->text();
    if (escrito.isEmpty() || !escrito.at(0).isPrint())
        return false;  // moves, Delete and shortcuts are the line edit's or the window's
    // A character with Alt or Meta held would be inserted by the line edit: a combination
    // is never typing (an Alt+letter naming a button is its shortcut and never gets here).
    // With Ctrl alone the line edit inserts nothing and keeps its commands (select all...).
    if (k->modifiers() & (Qt::AltModifier | Qt::MetaModifier))
        return true;
    if (k->modifiers() & Qt::ControlModifier)
        return false;
    pega(le, escrito);
    return true;
}
