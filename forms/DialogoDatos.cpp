#include "DialogoDatos.h"

#include "CampoEdit.h"
#include "ListaCampo.h"
#include "MensajeBox.h"
#include "TextoQt.h"

#include <QBoxLayout>
#include <QEvent>
#include <QLabel>
#include <QPushButton>

using namespace simulador;

const QColor DialogoDatos::kCian(0xC0, 0xFF, 0xFF);

namespace {
constexpr int kAltoCaja = 285;  // twips, as the sheet's boxes
}  // namespace

DialogoDatos::DialogoDatos(const QString &titulo, int numCajas, const Declaracion &decl, QWidget *parent)
    : MarcoDatos(titulo, true, parent), m_decl(decl), m_cajas(static_cast<std::size_t>(numCajas), nullptr)
{
    // Windows do not inherit their owner's font: the sheet's Arial 8.25 is set again here.
    QFont f(QStringLiteral("Arial"));
    f.setPointSizeF(8.25);
    setFont(f);

    m_titulo = new QLabel(titulo, this);
    m_titulo->setObjectName(QStringLiteral("LbTitulo"));
    QFont ft = f;
    ft.setBold(true);
    ft.setPointSizeF(10);
    m_titulo->setFont(ft);

    for (QPushButton *b : {botonGuardar(), botonSalir()}) {
        b->setMinimumWidth(Pixeles(1215));
        // The list belongs to the box it was opened for: a button taking the focus closes it.
        b->installEventFilter(this);
    }

    m_lista = new ListaCampo(this);
}

CampoEdit *DialogoDatos::nuevaCaja(const DefCampo &def, int anchoTwips)
{
    auto *c = new CampoEdit(def.ayuda, aQt(def.dato), aQt(def.codigo), aQt(def.lista), this);
    c->setObjectName(QStringLiteral("Cmp%1").arg(def.ayuda));
    c->setFondo(kCian);
    c->setFixedSize(Pixeles(anchoTwips), Pixeles(kAltoCaja));
    if (TipoDeCodigo(def.codigo) == TipoCampo::Decimal || TipoDeCodigo(def.codigo) == TipoCampo::Entero)
        c->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    c->setContextMenuPolicy(Qt::NoContextMenu);
    // Every box, list or not, goes through the list: entering any box hides the one open.
    c->setLista(m_lista);
    m_cajas.at(static_cast<std::size_t>(def.ayuda)) = c;
    return c;
}

void DialogoDatos::monta(QLayout *cuerpo, const std::vector<CampoEdit *> &orden)
{
    auto *pie = new QHBoxLayout;
    pie->addWidget(euro(), 0, Qt::AlignBottom);
    pie->addStretch(1);
    pie->addWidget(botonGuardar());
    pie->addWidget(botonSalir());

    auto *todo = new QVBoxLayout(this);
    todo->setSizeConstraint(QLayout::SetFixedSize);
    todo->setContentsMargins(12, 8, 12, 10);
    todo->setSpacing(10);
    todo->addWidget(m_titulo);
    todo->addLayout(cuerpo);
    todo->addLayout(pie);

    QWidget *anterior = nullptr;
    for (CampoEdit *c : orden) {
        if (anterior)
            setTabOrder(anterior, c);
        anterior = c;
    }
    if (anterior)
        setTabOrder(anterior, botonGuardar());
    setTabOrder(botonGuardar(), botonSalir());
    if (!orden.empty())
        orden.front()->setFocus();
}

void DialogoDatos::rechaza(const std::string &mensaje, int caja)
{
    MensajeBox::informacion(this, aQt(mensaje));
    if (caja >= 0 && caja < numCajas())
        this->caja(caja)->setFocus();
}

bool DialogoDatos::cambiado() const
{
    const std::vector<std::string> guardados = textosGuardados();
    for (int n = 0; n < numCajas(); ++n)
        if (!MismoValor(caja(n)->definicion().codigo, deQt(caja(n)->text()), guardados.at(static_cast<std::size_t>(n))))
            return true;
    return false;
}

bool DialogoDatos::eventFilter(QObject *obj, QEvent *e)
{
    if ((obj == botonGuardar() || obj == botonSalir()) && e->type() == QEvent::FocusIn)
        m_lista->hide();
    return MarcoDatos::eventFilter(obj, e);
}
