#include "DelegadoLista.h"

#include "TextoQt.h"

#include <QKeyEvent>
#include <QLineEdit>

using namespace simulador;

DelegadoLista::DelegadoLista(TipoLista tipo, QObject *parent) : QStyledItemDelegate(parent), m_tipo(tipo) {}

QWidget *DelegadoLista::createEditor(QWidget *parent, const QStyleOptionViewItem &, const QModelIndex &index) const
{
    auto *le = new QLineEdit(parent);
    le->setObjectName(QStringLiteral("editorCelda"));
    le->setFrame(false);
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

bool DelegadoLista::eventFilter(QObject *object, QEvent *event)
{
    auto *le = qobject_cast<QLineEdit *>(object);
    if (le && event->type() == QEvent::FocusOut)
        return false;  // losing the focus stores nothing: the view stores on the next move or click
    if (le && event->type() == QEvent::ShortcutOverride
        && static_cast<QKeyEvent *>(event)->keyCombination() == QKeyCombination(Qt::ControlModifier, Qt::Key_E))
        return true;  // Ctrl+E is the euro converter's, not the line edit's "end of line"
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
    const QString escrito = k->text();
    if (escrito.isEmpty() || !escrito.at(0).isPrint() || (k->modifiers() & (Qt::ControlModifier | Qt::AltModifier)))
        return false;  // moves, Delete and shortcuts are the line edit's or the window's

    // The filter sees the text that stays: a selection the key replaces does not count.
    QString queda = le->text();
    if (le->hasSelectedText())
        queda.remove(le->selectionStart(), le->selectedText().size());
    const char32_t c = escrito.toUcs4().value(0);
    const Tecla t = FiltraTecla(m_tipo, le->property("columna").toInt(), deQt(queda), c);
    switch (t.accion) {
    case AccionTecla::Acepta:
        if (t.caracter == c && escrito.toUcs4().size() == 1)
            return false;
        le->insert(QString::fromUcs4(&t.caracter, 1));
        return true;
    case AccionTecla::Pita:
        emit pitido();
        return true;
    case AccionTecla::QuitaUltimo:
        le->setText(le->text().chopped(1));
        return true;
    case AccionTecla::Rechaza:
        break;
    }
    return true;
}
