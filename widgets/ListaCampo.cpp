#include "ListaCampo.h"

#include "CampoEdit.h"
#include "TextoQt.h"

#include <QKeyEvent>

using namespace simulador;

namespace {
// The list's measures were given in twips: 15 to a pixel, rows of 195, 30 of borders.
constexpr int kTwips = 15;
}  // namespace

ListaCampo::ListaCampo(QWidget *pantalla) : QListWidget(pantalla)
{
    hide();
    setObjectName(QStringLiteral("LsCmp"));
    setUniformItemSizes(true);
    connect(this, &QListWidget::itemDoubleClicked, this, [this] { acepta(); });
}

void ListaCampo::muestra(CampoEdit *campo)
{
    if (isVisible())
        hide();
    const std::optional<EspecLista> lista = LeeEspecLista(deQt(campo->especLista()));
    if (!lista)
        return;
    clear();
    QWidget *pantalla = parentWidget();
    const QPoint bajo = campo->mapTo(pantalla, QPoint(0, campo->height() + 15 / kTwips));
    const QRect rc(campo->mapTo(pantalla, QPoint(0, 0)), campo->size());
    const int alto = (lista->filas * 195 + 30) / kTwips;
    int ancho = lista->anchoDelCampo ? campo->width() + 1 : lista->anchoTwips / kTwips;
    int x = bajo.x();
    if (!lista->anchoDelCampo && x + ancho > pantalla->width())
        x = rc.right() + 1 + 1 - ancho;  // right edge 15 twips right of the field's
    for (const std::string &s : lista->mostrados)
        addItem(aQt(s));
    setCurrentRow(ElementoInicial(*lista, deQt(campo->text())));
    setGeometry(x, bajo.y(), ancho, alto);
    m_campo = campo;
    show();
    raise();
}

void ListaCampo::acepta()
{
    if (!m_campo)
        return;
    if (QListWidgetItem *item = currentItem(); item && item->text() != m_campo->text()) {
        m_campo->setText(item->text());
        emit m_campo->textEdited(item->text());
    }
    m_campo->setFocus();
    m_campo->enviaTab();
}

void ListaCampo::keyPressEvent(QKeyEvent *e)
{
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
        acepta();
        return;
    }
    if (e->key() == Qt::Key_Escape) {
        if (m_campo)
            m_campo->setFocus();
        return;
    }
    QListWidget::keyPressEvent(e);
}
