#include "Precalculo.h"

#include "CampoEdit.h"
#include "Comparativa.h"
#include "DetalleCasilla.h"
#include "Fechas.h"
#include "Herramientas.h"
#include "Hoja.h"
#include "HojaCasillas.h"
#include "Liquidar.h"
#include "MensajeBox.h"
#include "MensajesHoja.h"
#include "Rotulos.h"
#include "TextoQt.h"
#include "VentanaComparativa.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDate>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QToolButton>

using namespace simulador;

namespace {

// The form of the original, in pixels (15 twips each); the sheet's window 150 twips from
// the left and 465 from the top.
constexpr int kAnchoForm = 800;
constexpr int kAltoForm = 600;
constexpr QPoint kPosicionHoja(10, 31);

// A small printer drawn in place of a picture: no font on the machine is sure to have one.
QIcon iconoImpresora()
{
    QPixmap pm(24, 24);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::white);
    p.drawRect(7, 2, 10, 8);     // the sheet going in
    p.setBrush(QColor(0x80, 0x80, 0x80));
    p.drawRect(2, 9, 20, 9);     // the body
    p.setBrush(Qt::white);
    p.drawRect(6, 15, 12, 7);    // the sheet coming out
    p.drawLine(8, 18, 16, 18);
    return QIcon(pm);
}

QToolButton *botonGrande(QWidget *padre, const QString &ayuda, int x)
{
    auto *b = new QToolButton(padre);
    b->setToolTip(ayuda);
    QFont f = b->font();
    f.setPointSize(14);
    b->setFont(f);
    b->setGeometry(x, 552, 38, 38);
    return b;
}

}  // namespace

Precalculo::Precalculo(QWidget *parent) : QWidget(parent)
{
    // Form_Initialize, then Form_Load.
    QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
    if (const QScreen *s = QGuiApplication::primaryScreen(); s && s->geometry().height() < kAltoForm)
        MensajeBox::informacion(nullptr, aQt(kAvisoResolucion));
    setObjectName(QStringLiteral("Precalculo"));
    setWindowTitle(aQt(kTituloPrograma));
    setFixedSize(kAnchoForm, kAltoForm);
    setFont(HojaCasillas::fuente());
    m_hoja = new HojaCasillas(this);
    m_hoja->move(kPosicionHoja);
    m_documento = new DocumentoDeclaracion(*m_hoja, this, [this] { return modalidadActual(); });
    m_hoja->setRecalcula([this] { return recalcula(false); });
    connect(m_hoja, &HojaCasillas::cambiada, m_documento, &DocumentoDeclaracion::marcaCambio);
    connect(m_hoja, &HojaCasillas::cabeceraPulsada, this, &Precalculo::clicCabecera);
    connect(m_hoja, &HojaCasillas::menuPedido, this, &Precalculo::muestraMenu);
    connect(m_hoja, &HojaCasillas::explicacionPedida, this, &Precalculo::explicaCasilla);
    connect(m_hoja, &HojaCasillas::vistaCambiada, this, &Precalculo::vistaCambiada);
    connect(m_documento, &DocumentoDeclaracion::clienteCambiado, this, &Precalculo::actualizaTitulo);
    // The family-unit screen and a client's file bring the taxpayer's name: the status line
    // shows whose declaration this is.
    connect(m_documento, &DocumentoDeclaracion::sustituida, this,
            [this] { m_lbCod->setText(aQt(declaracion().Nombre)); });
    construyeControles();
    construyeMenus();
    ordenTabulacion();
    if (const QScreen *s = screen(); s && s->geometry().height() >= kAltoForm)
        move(s->geometry().x() + (s->geometry().width() - frameGeometry().width()) / 2, s->geometry().y() + 50 / 15);
}

void Precalculo::identificaPrograma()
{
    QGuiApplication::setDesktopFileName(QStringLiteral("simulador-irpf2021"));
    // The drawing the desktop menu shows, built in; Qt draws it with its svg icon engine
    // (libqt6svg6), a dependency of the package.
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/simulador-irpf2021.svg")));
}

void Precalculo::construyeControles()
{
    auto *lbRenta = new QLabel(QStringLiteral("&Renta"), this);
    lbRenta->setObjectName(QStringLiteral("LbRenta"));
    lbRenta->setGeometry(10, 6, 40, 18);
    m_cb = new QComboBox(this);
    m_cb->setObjectName(QStringLiteral("Cb"));
    m_cb->setGeometry(52, 4, 130, 22);
    m_cb->installEventFilter(this);
    lbRenta->setBuddy(m_cb);

    // Command buttons: 0 Salir, 1 about, 2 clear, 3 family unit, 4 print, 5 section menu.
    auto *salir = new QPushButton(QStringLiteral("&Salir"), this);
    salir->setGeometry(700, 557, 90, 28);
    m_botones[0] = salir;
    auto *entrada = new QPushButton(QStringLiteral("Entrada datos"), this);
    entrada->setGeometry(196, 3, 110, 25);
    m_botones[5] = entrada;
    // Beside the selector, since choosing a column of the comparison switches it.
    auto *comparativa = new QPushButton(QStringLiteral("Comparativa"), this);
    comparativa->setObjectName(QStringLiteral("Comparativa"));
    comparativa->setToolTip(QStringLiteral(" Conjunta o individual (F6) "));
    comparativa->setGeometry(312, 3, 100, 25);
    connect(comparativa, &QAbstractButton::clicked, this, &Precalculo::abreComparativa);
    m_btComparativa = comparativa;
    m_acComparativa = new QAction(QStringLiteral("Comparativa"), this);
    m_acComparativa->setShortcut(Qt::Key_F6);
    connect(m_acComparativa, &QAction::triggered, this, &Precalculo::abreComparativa);
    addAction(m_acComparativa);
    construyeMenuFichero();
    struct Icono {
        int indice;
        const char *glifo;
        const char *ayuda;
    };
    int x = 10;
    for (const Icono &i : {Icono{3, "\u2302", " Unidad Familiar "}, Icono{4, "", " Imprimir "},
                           Icono{2, "\u2327", " Inicializar Campos "}, Icono{1, "?", " Acerca de ... "}}) {
        QToolButton *b = botonGrande(this, QString::fromUtf8(i.ayuda), x);
        if (i.indice == 4) {
            b->setIcon(iconoImpresora());
            b->setIconSize(QSize(24, 24));
        } else {
            b->setText(QString::fromUtf8(i.glifo));
        }
        x += 42;
        m_botones[static_cast<std::size_t>(i.indice)] = b;
    }
    for (int i = 0; i < 6; ++i) {
        m_botones[static_cast<std::size_t>(i)]->setObjectName(QStringLiteral("CmOp%1").arg(i));
        connect(m_botones[static_cast<std::size_t>(i)], &QAbstractButton::clicked, this, [this, i] { clicBoton(i); });
    }
    QToolButton *euro = botonGrande(this, QStringLiteral(" Euro "), x + 8);
    euro->setObjectName(QStringLiteral("ImEuro"));
    euro->setText(QStringLiteral("€"));
    connect(euro, &QAbstractButton::clicked, this, [this] { Herramientas::conversorEuro(this); });

    // Status line, about 550 twips above the bottom; the options 30 twips lower.
    const int linea = 524;
    auto *label1 = new QLabel(aQt(kRotuloEstado), this);
    label1->setObjectName(QStringLiteral("Label1"));
    label1->setFont(HojaCasillas::fuente(true));
    label1->setGeometry(10, linea, 150, 18);
    m_lbMsg = new QLabel(aQt(kEstadoEuros), this);
    m_lbMsg->setObjectName(QStringLiteral("LbMsg"));
    m_lbMsg->setGeometry(170, linea, 250, 18);
    m_euros = new QRadioButton(QStringLiteral("EUROS"), this);
    m_euros->setObjectName(QStringLiteral("Option1_0"));
    m_euros->setGeometry(430, linea + 2, 70, 18);
    m_euros->setChecked(true);
    m_pesetas = new QRadioButton(QStringLiteral(" PESETAS"), this);
    m_pesetas->setObjectName(QStringLiteral("Option1_1"));
    m_pesetas->setGeometry(500, linea + 2, 80, 18);
    connect(m_pesetas, &QRadioButton::toggled, m_hoja, &HojaCasillas::ponPesetas);
    const QDate hoy = QDate::currentDate();
    auto *lbKalvio = new QLabel(QStringLiteral(" ") + aQt(FechaLarga({hoy.day(), hoy.month(), hoy.year()})), this);
    lbKalvio->setObjectName(QStringLiteral("LbKalvio"));
    lbKalvio->setGeometry(590, linea, 200, 18);
    lbKalvio->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_lbCod = new QLabel(this);
    m_lbCod->setObjectName(QStringLiteral("LbCod"));
    m_lbCod->setTextFormat(Qt::PlainText);  // the taxpayer's name, as typed or read from a file
    m_lbCod->setGeometry(424, 6, 266, 18);
}

void Precalculo::construyeMenuFichero()
{
    m_acExportarPdf = new QAction(QStringLiteral("&Exportar PDF…"), this);
    m_acExportarPdf->setObjectName(QStringLiteral("ExportarPdf"));
    m_acExportarPdf->setEnabled(false);
    connect(m_acExportarPdf, &QAction::triggered, this, [this] {
        if (m_exportarPdf)
            m_exportarPdf(*this);
    });
    m_documento->menuFichero()->addAction(m_acExportarPdf);
    auto *fichero = new QPushButton(QStringLiteral("&Fichero"), this);
    fichero->setObjectName(QStringLiteral("Fichero"));
    fichero->setGeometry(700, 3, 90, 25);
    fichero->setMenu(m_documento->menuFichero());
    m_btFichero = fichero;
}

void Precalculo::setExportarPdf(std::function<void(Precalculo &)> accion)
{
    m_exportarPdf = std::move(accion);
    m_acExportarPdf->setEnabled(static_cast<bool>(m_exportarPdf));
}

void Precalculo::construyeMenus()
{
    m_menu = new QMenu(this);
    m_menu->setObjectName(QStringLiteral("MnOpMnt"));
    m_acExplica = m_menu->addAction(QStringLiteral("¿De dónde sale esta casilla?"));
    m_acExplica->setObjectName(QStringLiteral("Explica"));
    connect(m_acExplica, &QAction::triggered, this, [this] { explicaCasilla(m_casillaMenu); });
    m_menu->addSeparator();
    auto subMenu = [this](const char *nombre, const auto &opciones) {
        auto *m = new QMenu(this);
        m->setObjectName(QLatin1String(nombre));
        for (std::size_t i = 0; i < opciones.size(); ++i) {
            QAction *a = m->addAction(aQt(opciones[i].rotulo));
            a->setObjectName(QStringLiteral("%1%2").arg(QLatin1String(nombre)).arg(i));
            connect(a, &QAction::triggered, this, [this, codigo = opciones[i].codigo] { abreApartado(codigo); });
        }
        return m;
    };
    m_menuActividades = subMenu("MnAct", kMenuActividades);
    m_menuAhorro = subMenu("MnBLq", kMenuAhorro);
    // One item per header, captioned as the header; the two sub-menus stand at theirs.
    for (int i = 0; i < kOpcionesMenuApartados; ++i) {
        const AccionCabecera accion = AccionDeCabecera(i);
        QAction *a = nullptr;
        if (accion == AccionCabecera::MenuActividades) {
            a = m_menu->addMenu(m_menuActividades);
        } else if (accion == AccionCabecera::MenuAhorro) {
            a = m_menu->addMenu(m_menuAhorro);
        } else {
            a = m_menu->addAction(QString());
            connect(a, &QAction::triggered, this, [this, i] { clicCabecera(i); });
        }
        a->setText(aQt(RotuloCabecera(i)));
        a->setVisible(accion != AccionCabecera::Ninguna);
        a->setObjectName(QStringLiteral("MnMnt%1").arg(i));
    }
}

void Precalculo::ordenTabulacion()
{
    // The boxes chain themselves; the selector and the buttons close the chain.
    std::vector<QWidget *> orden = {casilla(OrdenTabulacion().back()), m_cb, m_euros, m_pesetas,
                                    m_botones[5], m_btComparativa, m_btFichero};
    for (int i : {3, 4, 2, 1, 0})
        orden.push_back(m_botones[static_cast<std::size_t>(i)]);
    for (std::size_t i = 1; i < orden.size(); ++i)
        QWidget::setTabOrder(orden[i - 1], orden[i]);
}

void Precalculo::registraPantalla(int numero, Pantalla abre) { m_pantallas[numero] = std::move(abre); }

CampoEdit *Precalculo::casilla(int n) const { return m_hoja->casilla(n); }

QString Precalculo::textoCasilla(int n) const { return casilla(n)->text(); }

int Precalculo::modalidad() const { return std::max(0, m_cb->currentIndex()); }

Modalidad Precalculo::modalidadActual() const { return ModalidadDeIndice(modalidad()).value_or(Modalidad::Conjunta); }

bool Precalculo::enPesetas() const { return m_hoja->enPesetas(); }

QScrollBar *Precalculo::barra() const { return m_hoja->barra(); }

QWidget *Precalculo::hoja() const { return m_hoja->lamina(); }

void Precalculo::showEvent(QShowEvent *e)
{
    QWidget::showEvent(e);
    // Form_Activate: the start-up work runs once, after the window is on the screen.
    if (m_primeraActivacion) {
        m_primeraActivacion = false;
        QMetaObject::invokeMethod(this, [this] { arranca(); }, Qt::QueuedConnection);
    }
}

void Precalculo::arranca()
{
    m_documento->reinicia();
    m_hoja->desplaza(0);
    // A first run starts with the family. What that screen stores is in no file yet, so it
    // counts as a change: leaving asks whether to keep it.
    if (m_documento->inicia(m_ficheroInicial) == DocumentoDeclaracion::Inicio::SinUltima)
        abrePantalla(static_cast<int>(PantallaDatos::UnidadFam));
    else
        m_listo = true;
    // Filling the selector is its first click: it calculates only once ready, that is with
    // a declaration offered at start (or in a second session).
    for (Modalidad m : kModalidades)
        m_cb->addItem(aQt(NombreModalidad(m)));
    connect(m_cb, &QComboBox::currentIndexChanged, this, &Precalculo::seleccionaModalidad);
    seleccionaModalidad();
    m_hoja->alInicio();
    m_listo = true;
}

void Precalculo::seleccionaModalidad()
{
    if (!m_listo) {
        m_listo = true;
        return;
    }
    recalcula(true);
}

void Precalculo::actualizaTitulo()
{
    const QString titulo = aQt(kTituloPrograma);
    const QString cliente = ficheroCliente();
    setWindowTitle(cliente.isEmpty() ? titulo : titulo + QStringLiteral(" - ") + QFileInfo(cliente).fileName());
}

void Precalculo::vistaCambiada(bool pesetas)
{
    (pesetas ? m_pesetas : m_euros)->setChecked(true);
    for (QWidget *w : {static_cast<QWidget *>(m_botones[2]), static_cast<QWidget *>(m_botones[3]),
                       static_cast<QWidget *>(m_cb), static_cast<QWidget *>(m_btComparativa)})
        w->setEnabled(!pesetas);
    // Comparing ends in the selector: it waits for the euros.
    m_acComparativa->setEnabled(!pesetas);
    m_lbMsg->setText(aQt(pesetas ? kEstadoPesetas : kEstadoEuros));
}

void Precalculo::abreComparativa()
{
    // The selector is off in the peseta view, so no column could be chosen.
    if (enPesetas())
        return;
    m_hoja->pasaA(m_documento->datos());
    const Comparativa c = Compara(declaracion(), m_documento->reparto());
    if (!c.ok) {
        MensajeBox::informacion(this, aQt(c.mensaje));
        return;
    }
    VentanaComparativa ventana(declaracion(), c, modalidad(), this);
    const bool elegida = ventana.exec() == QDialog::Accepted;
    m_documento->reparto() = ventana.reparto();  // kept for the next comparison of this declaration
    if (elegida)
        eligeModalidad(ventana.modalidadElegida());
}

void Precalculo::eligeModalidad(int modalidad)
{
    if (modalidad < 0 || modalidad >= m_cb->count())
        return;
    if (m_cb->currentIndex() == modalidad)
        recalcula(true);  // the same liquidation, shown afresh
    else
        m_cb->setCurrentIndex(modalidad);  // recalculates through the selector
}

void Precalculo::closeEvent(QCloseEvent *e) { e->setAccepted(m_documento->puedeCerrar()); }

bool Precalculo::recalcula(bool reiniciaVista)
{
    if (reiniciaVista)
        m_hoja->alInicio();
    m_hoja->pasaA(m_documento->datos());
    const Calculo c = Recalcular(declaracion(), modalidadActual());
    if (!c.ok) {
        MensajeBox::informacion(this, aQt(c.mensaje));
        return false;
    }
    m_hoja->muestraResultados(c.resultado);
    return true;
}

bool Precalculo::eventFilter(QObject *obj, QEvent *e)
{
    // Enter in the selector shows the selected liquidation afresh (Down and Up change it).
    if (obj == m_cb && e->type() == QEvent::KeyPress) {
        const int k = static_cast<QKeyEvent *>(e)->key();
        if (k == Qt::Key_Return || k == Qt::Key_Enter) {
            recalcula(true);
            return true;
        }
    }
    return QWidget::eventFilter(obj, e);
}

bool Precalculo::abrePantalla(int numero)
{
    const auto it = m_pantallas.find(numero);
    if (it == m_pantallas.end() || !it->second)
        return false;
    if (it->second(m_documento->datos(), this))
        m_documento->marcaCambio();
    m_lbCod->setText(aQt(declaracion().Nombre));
    return true;
}

void Precalculo::abreApartado(int codigo)
{
    const std::optional<Apartado> a = BuscaApartado(codigo);
    if (!a)
        return;
    if (const std::optional<std::string_view> cerrado = ApartadoCerrado(codigo, declaracion())) {
        MensajeBox::informacion(this, aQt(*cerrado));
        m_hoja->enfocaCasilla(a->foco);
        return;
    }
    m_hoja->enfocaCasilla(a->foco);
    if (!abrePantalla(static_cast<int>(a->pantalla)))
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    recalcula(true);
    QApplication::restoreOverrideCursor();
}

void Precalculo::clicCabecera(int indice)
{
    switch (AccionDeCabecera(indice)) {
    case AccionCabecera::Ninguna: return;
    case AccionCabecera::MenuActividades: m_menuActividades->exec(QCursor::pos()); break;
    case AccionCabecera::MenuAhorro: m_menuAhorro->exec(QCursor::pos()); break;
    case AccionCabecera::AbreApartado: abreApartado(indice); break;
    }
    recalcula(false);
}

void Precalculo::clicBoton(int indice)
{
    // The box being edited is left (and formatted) before any button acts.
    m_hoja->dejaCasilla();
    switch (indice) {
    case 0: close(); break;
    case 1:
        if (m_acercaDe)
            m_acercaDe(this);
        break;
    case 2: inicializaCampos(); break;
    case 3:
        if (abrePantalla(static_cast<int>(PantallaDatos::UnidadFam)))
            recalcula(true);
        break;
    case 4:
        if (m_imprimir)
            m_imprimir(*this);
        break;
    case 5: muestraMenu(m_botones[5]->mapToGlobal(QPoint(0, m_botones[5]->height())), m_hoja->casillaActual()); break;
    default: break;
    }
}

void Precalculo::muestraMenu(const QPoint &global, int casilla)
{
    m_casillaMenu = casilla;
    m_acExplica->setEnabled(casilla >= 0);
    m_menu->popup(global);
}

void Precalculo::explicaCasilla(int n)
{
    if (n < 0 || n >= kNumCasillas)
        return;
    // A changed input box not yet confirmed would make the window disagree with the sheet:
    // the sheet is recalculated first, as Enter does. The peseta view cannot be edited.
    if (enPesetas())
        m_hoja->pasaA(m_documento->datos());
    else if (!recalcula(false))
        return;
    DetalleCasilla::abre(this, declaracion(), modalidadActual(), n,
                         enPesetas() ? MonedaExplicacion::Pesetas : MonedaExplicacion::Euros);
}

void Precalculo::inicializaCampos()
{
    if (!MensajeBox::pregunta(this, aQt(kPreguntaInicializar.titulo), aQt(kPreguntaInicializar.texto), true))
        return;
    m_hoja->limpia();
    m_documento->reinicia();
    m_documento->marcaCambio();
}
