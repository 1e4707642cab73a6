#include "HojaCasillas.h"

#include "CampoEdit.h"
#include "Campos.h"
#include "Hoja.h"
#include "ListaCampo.h"
#include "Pesetas.h"
#include "TablaCasillas.h"
#include "TextoImporte.h"
#include "TextoQt.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QScrollBar>

#include <algorithm>

using namespace simulador;

namespace {

// The viewing window of the original form, 11205 × 7290 twips, and the scroll bar beside it.
constexpr int kAnchoVentana = 747;
constexpr int kAltoVentana = 486;
constexpr int kAnchoBarra = 17;
constexpr int kSeparacionBarra = 1;

const QColor kFondoHoja(0xD3, 0xE7, 0xFA);
const QColor kAmarillo(0xFF, 0xFF, 0xC0);
const QColor kAzulCabecera(0x00, 0x00, 0xC0);
const QColor kGrisConcepto(0xC0, 0xC0, 0xC0);
const char *const kPropiedadCabecera = "lbMnt";
constexpr int kUltimaEnPesetas = 98;  // boxes 99-108 keep their euro texts in the peseta view

void pinta(QWidget *w, const QColor &fondo, const QColor &texto)
{
    QPalette p = w->palette();
    p.setColor(QPalette::Window, fondo);
    p.setColor(QPalette::WindowText, texto);
    p.setColor(QPalette::Disabled, QPalette::WindowText, texto);
    w->setPalette(p);
    w->setAutoFillBackground(true);
}

}  // namespace

QFont HojaCasillas::fuente(bool negrita)
{
    QFont f(QStringLiteral("Arial"));
    f.setPointSizeF(8.25);
    f.setBold(negrita);
    return f;
}

HojaCasillas::HojaCasillas(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("HojaCasillas"));
    setFixedSize(kAnchoVentana + kSeparacionBarra + kAnchoBarra, kAltoVentana);
    setFont(fuente());
    construye();

    m_vs = new QScrollBar(Qt::Vertical, this);
    m_vs->setObjectName(QStringLiteral("Vs"));
    m_vs->setGeometry(kAnchoVentana + kSeparacionBarra, 0, kAnchoBarra, kAltoVentana);
    m_vs->setFocusPolicy(Qt::NoFocus);
    m_vs->installEventFilter(this);
    m_desp = ParametrosDesplazamiento(Disposicion().alto, kAltoVentana);
    m_vs->setRange(0, m_desp.maximo);
    m_vs->setPageStep(m_desp.grande);
    m_vs->setSingleStep(m_desp.pequeno);
    connect(m_vs, &QScrollBar::valueChanged, this, [this](int v) { m_lamina->move(0, -v); });

    // The input boxes, then the editable result boxes, then the rest: the chain Tab follows.
    const std::array<int, kNumCasillas> orden = OrdenTabulacion();
    for (std::size_t i = 1; i < orden.size(); ++i)
        QWidget::setTabOrder(casilla(orden[i - 1]), casilla(orden[i]));
}

void HojaCasillas::construye()
{
    m_ventana = new QWidget(this);
    m_ventana->setObjectName(QStringLiteral("PcWin"));
    m_ventana->setGeometry(0, 0, kAnchoVentana, kAltoVentana);
    m_ventana->installEventFilter(this);

    const DisposicionHoja &d = Disposicion();
    m_lamina = new QWidget(m_ventana);
    m_lamina->setObjectName(QStringLiteral("Pc"));
    m_lamina->setGeometry(0, 0, d.ancho, d.alto);
    m_lamina->setFocusPolicy(Qt::ClickFocus);
    pinta(m_lamina, kFondoHoja, Qt::black);
    m_lamina->installEventFilter(this);

    for (const ElementoHoja &e : d.elementos) {
        const QRect r(e.r.x, e.r.y, e.r.ancho, e.r.alto);
        if (e.tipo == TipoElemento::Casilla) {
            m_casillas[static_cast<std::size_t>(e.numero)] = creaCasilla(e.numero, r, e.visible);
            continue;
        }
        auto *l = new QLabel(aQt(e.texto), m_lamina);
        l->setGeometry(r);
        l->setVisible(e.visible);
        l->installEventFilter(this);
        if (e.tipo == TipoElemento::Cabecera) {
            l->setFont(fuente(true));
            pinta(l, kAzulCabecera, Qt::white);
            if (e.numero >= 0) {
                l->setObjectName(QStringLiteral("LbMnt%1").arg(e.numero));
                l->setCursor(Qt::PointingHandCursor);
                l->setToolTip(QStringLiteral(" Modificar los Datos "));
                l->setProperty(kPropiedadCabecera, e.numero);
            }
        } else {
            pinta(l, kGrisConcepto, Qt::black);
            const Qt::Alignment h = e.alineacion == Alineacion::Centro    ? Qt::AlignHCenter
                                    : e.alineacion == Alineacion::Derecha ? Qt::AlignRight
                                                                          : Qt::AlignLeft;
            l->setAlignment(h | Qt::AlignVCenter);
            l->setIndent(e.alineacion == Alineacion::Centro ? 0 : 3);
        }
    }
    auto *lista = new ListaCampo(this);
    for (CampoEdit *c : m_casillas)
        c->setLista(lista);
}

CampoEdit *HojaCasillas::creaCasilla(int n, const QRect &r, bool visible)
{
    // Boxes 0-102 carry the sheet's field definition; 103-108 have none.
    CampoEdit *c = n <= 102 ? new CampoEdit(n, QStringLiteral("Cmp%1").arg(n), QStringLiteral("D1002"),
                                            QStringLiteral("@"), m_lamina)
                            : new CampoEdit(m_lamina);
    c->setObjectName(QStringLiteral("Cmp%1").arg(n));
    c->setGeometry(r);
    c->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    c->setFondo(EsEntrada(n) ? CampoEdit::kBlanco : kAmarillo);
    c->setProtegido(CampoProtegido(kPantallaPrecalculo, n));
    c->setContextMenuPolicy(Qt::NoContextMenu);
    c->setVisible(visible);
    c->installEventFilter(this);  // the focus scrolls it into view; a right click opens the menu
    c->setAlMover([this, n](CampoEdit::Movimiento m) { return alMover(n, m == CampoEdit::Movimiento::Anterior); });
    // Only what the user changes counts: the program's own rewrites of a box (the editing
    // form on focus, results, the peseta view) change no data.
    connect(c, &QLineEdit::textEdited, this, &HojaCasillas::cambiada);
    connect(c, &CampoEdit::entrado, this, [this, n] { entraCasilla(n); });
    connect(c, &CampoEdit::calculadoraCerrada, this, [this] {
        if (m_recalcula)
            m_recalcula();
    });
    return c;
}

int HojaCasillas::numeroDe(const QObject *obj) const
{
    const auto it = std::find(m_casillas.begin(), m_casillas.end(), obj);
    return it == m_casillas.end() ? -1 : static_cast<int>(it - m_casillas.begin());
}

void HojaCasillas::desplaza(int valor) { m_vs->setValue(std::clamp(valor, 0, m_desp.maximo)); }

void HojaCasillas::enfocaCasilla(int n)
{
    CampoEdit *c = casilla(n);
    if (c->isEnabled() && c->isVisibleTo(window()))
        c->setFocus(Qt::OtherFocusReason);
}

void HojaCasillas::alInicio()
{
    desplaza(0);
    enfocaCasilla(kPrimeraEntrada);
}

void HojaCasillas::dejaCasilla()
{
    if (m_lamina->isEnabled())
        m_lamina->setFocus();
}

void HojaCasillas::ponTextos(const Declaracion &d)
{
    // Box 0 is never typed; a file's [Varios] starts at box 1.
    for (int n = 1; n < kCasillasTecleables; ++n) {
        const QString t = aQt(d.Casillas[static_cast<std::size_t>(n)].Texto);
        if (casilla(n)->text() != t)
            casilla(n)->setText(t);
    }
}

void HojaCasillas::pasaA(Declaracion &d) const
{
    for (int n = 0; n < kCasillasTecleables; ++n) {
        const QString t =
            m_enPesetas && n <= kUltimaEnPesetas ? m_textosEuro[static_cast<std::size_t>(n)] : casilla(n)->text();
        d.Casillas[static_cast<std::size_t>(n)].Texto = deQt(t);
    }
}

void HojaCasillas::muestraResultados(const Resultado &r)
{
    for (int n = 0; n < kNumCasillas; ++n) {
        const QString t = aQt(FormatoResultado(r[static_cast<std::size_t>(n)]));
        if (casilla(n)->text() != t)
            casilla(n)->setText(t);
    }
    // The box being edited stays in its editing form, all selected, ready to be typed over.
    for (CampoEdit *c : m_casillas) {
        if (c->hasFocus() && !c->protegido()) {
            c->setText(aQt(FormateaCampo(c->definicion().codigo, deQt(c->text()), false)));
            c->selectAll();
        }
    }
}

void HojaCasillas::limpia()
{
    for (int n = 0; n < kCasillasTecleables; ++n)
        casilla(n)->clear();
}

void HojaCasillas::ponPesetas(bool pesetas)
{
    if (pesetas == m_enPesetas)
        return;
    m_enPesetas = pesetas;
    m_lamina->setEnabled(!pesetas);
    for (int n = 0; n <= kUltimaEnPesetas; ++n) {
        auto &euros = m_textosEuro[static_cast<std::size_t>(n)];
        if (pesetas) {
            euros = casilla(n)->text();
            casilla(n)->setText(aQt(PesetasDeTexto(deQt(euros))));
        } else {
            casilla(n)->setText(euros);
        }
    }
    emit vistaCambiada(pesetas);
}

void HojaCasillas::entraCasilla(int n)
{
    // The value at entry: what an unchanged Enter compares with.
    const ImporteLeido l = LeeImporte(deQt(casilla(n)->text()), EstiloImporte::Pantalla);
    if (l.ok())
        m_valorEntrada = l.valor;
    m_textoEntrada = casilla(n)->text();
}

bool HojaCasillas::confirmaCasilla(int n)
{
    CampoEdit *c = casilla(n);
    if (Recorta(deQt(c->text())).empty())
        c->setText(QStringLiteral("0"));
    // A text that is no amount (only a paste can bring one) goes to the module too, which
    // names the box and says what is wrong with it.
    const ImporteLeido l = LeeImporte(deQt(c->text()), EstiloImporte::Pantalla);
    if ((!l.ok() || l.valor != m_valorEntrada) && m_recalcula && !m_recalcula()) {
        // The sheet stays as it was: the box gets back its text at entry and keeps the focus.
        c->setText(m_textoEntrada);
        c->selectAll();
        return false;
    }
    if (l.ok())
        m_valorEntrada = l.valor;
    return true;
}

bool HojaCasillas::alMover(int n, bool atras)
{
    if (atras) {
        if (n != kPrimeraEntrada)
            return true;
        desplaza(0);  // above the first input box there is only the top of the sheet
        return false;
    }
    if (!confirmaCasilla(n))
        return false;
    if (n == kUltimaEntrada) {  // the last input box: show the result lines and stay
        desplaza(m_desp.maximo);
        return false;
    }
    return true;
}

void HojaCasillas::keyPressEvent(QKeyEvent *e)
{
    // Here from the sheet itself, or from a box that left the key to it (it keeps Home, End,
    // Up and Down without Ctrl). Ctrl+Home and Ctrl+End from a box move the focus as well.
    const bool desdeCasilla = qobject_cast<CampoEdit *>(QApplication::focusWidget()) != nullptr;
    const bool control = (e->modifiers() & Qt::ControlModifier) != 0;
    switch (e->key()) {
    case Qt::Key_Down:
    case Qt::Key_PageDown: desplaza(m_vs->value() + m_desp.pequeno); break;
    case Qt::Key_Up:
    case Qt::Key_PageUp: desplaza(m_vs->value() - m_desp.pequeno); break;
    case Qt::Key_Home:
        desplaza(0);
        if (desdeCasilla && control)
            enfocaCasilla(kPrimeraEntrada);
        break;
    case Qt::Key_End:
        desplaza(m_desp.maximo);
        if (desdeCasilla && control)
            enfocaCasilla(kUltimaEntrada);
        break;
    default: QWidget::keyPressEvent(e); break;
    }
}

bool HojaCasillas::eventFilter(QObject *obj, QEvent *e)
{
    auto *w = qobject_cast<QWidget *>(obj);
    switch (e->type()) {
    case QEvent::FocusIn:
        if (auto *c = qobject_cast<CampoEdit *>(obj)) {  // into view before the box takes the focus
            const ElementoHoja &el = Disposicion().casilla(c->ayuda());
            desplaza(DesplazaHastaVer(m_vs->value(), m_desp, el.r.y, el.r.alto, kAltoVentana));
            m_actual = numeroDe(c);
        }
        break;
    case QEvent::KeyPress: {
        const auto *k = static_cast<QKeyEvent *>(e);
        const int n = numeroDe(obj);
        if (n >= 0 && k->key() == Qt::Key_F1 && k->modifiers() == Qt::NoModifier) {
            emit explicacionPedida(n);
            return true;
        }
        break;
    }
    case QEvent::MouseButtonDblClick: {
        const int n = numeroDe(obj);
        if (n >= 0 && !EsEntrada(n) && static_cast<QMouseEvent *>(e)->button() == Qt::LeftButton) {
            emit explicacionPedida(n);
            return true;
        }
        break;
    }
    case QEvent::MouseButtonPress: {
        auto *m = static_cast<QMouseEvent *>(e);
        if (obj == m_vs) {  // the scroll bar never keeps the focus
            dejaCasilla();
            break;
        }
        if (m->button() == Qt::RightButton && w && (w == m_lamina || w->parentWidget() == m_lamina) &&
            !w->property(kPropiedadCabecera).isValid()) {
            const int n = numeroDe(w);
            emit menuPedido(m->globalPosition().toPoint(), n >= 0 ? n : m_actual);
            return true;
        }
        break;
    }
    case QEvent::MouseButtonRelease: {
        auto *m = static_cast<QMouseEvent *>(e);
        const QVariant cabecera = w ? w->property(kPropiedadCabecera) : QVariant();
        if (cabecera.isValid() && m->button() == Qt::LeftButton && w->rect().contains(m->position().toPoint())) {
            emit cabeceraPulsada(cabecera.toInt());
            return true;
        }
        break;
    }
    case QEvent::Wheel:
        if (obj == m_ventana) {
            QCoreApplication::sendEvent(m_vs, e);
            return true;
        }
        break;
    default: break;
    }
    return QWidget::eventFilter(obj, e);
}
