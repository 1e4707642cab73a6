// The cell editor of the list screens: a line edit whose typed keys, and pasted text, go
// through the module's filter for the column, and whose leaving keys are handed to the view.
#pragma once

#include "ListaColumnas.h"

#include <QLineEdit>
#include <QPointer>
#include <QStyledItemDelegate>

class DelegadoLista : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit DelegadoLista(simulador::TipoLista tipo, QObject *parent = nullptr);

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    void setEditorData(QWidget *editor, const QModelIndex &index) const override;

    QLineEdit *editor() const { return m_editor; }  // the open editor, if any

signals:
    void pitido();                              // a key was refused with a beep
    void sale(QWidget *editor, int tecla);      // Enter, Tab, Backtab, Up or Down in the editor
    void cancela();                             // Escape in the editor: drop this edit

protected:
    bool eventFilter(QObject *object, QEvent *event) override;

private:
    void escribe(QLineEdit *le, char32_t c);
    void pega(QLineEdit *le, const QString &texto);

    simulador::TipoLista m_tipo;
    mutable QPointer<QLineEdit> m_editor;
};
