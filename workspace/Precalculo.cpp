#include "Precalculo.h"

#include "CampoEdit.h"
#include "Comparativa.h"
#include "Fechas.h"
#include "FicheroDeclaracion.h"
#include "FicheroPrivado.h"
#include "FicherosRecientes.h"
#include "Herramientas.h"
#include "ListaCampo.h"
#include "Liquidar.h"
#include "MensajeBox.h"
#include "Pesetas.h"
#include "Rotulos.h"
#include "TablaCasillas.h"
#include "TextoImporte.h"
#include "TextoQt.h"
#include "VentanaComparativa.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDate>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QStandardPaths>
#include <QToolButton>
#include <QPushButton>

using namespace simulador;

namespace {

// The window of the original form, in pixels (15 twips each).
constexpr QRect kVentana(10, 31, 747, 486);  // PcWin: 150, 465, 11205 × 7290 twips
constexpr int kAnchoForm = 800;
constexpr int kAltoForm = 600;

const QColor kFondoHoja(0xD3, 0xE7, 0xFA);
const QColor kAmarillo(0xFF, 0xFF, 0xC0);
const QColor kAzulCabecera(0x00, 0x00, 0xC0);
const QColor kGrisConcepto(0xC0, 0xC0, 0xC0);

const QString kMensajeF4 = QStringLiteral("F4 - Calculadora");
const QString kTitulo = aQt(kTituloPrograma);
constexpr std::size_t kMaxAvisos = 20;  // more lines would not fit in a message box on the screen

constexpr Precalculo::Apartado kApartados[] = {
    {0, 1, 10},  {1, 2, 0},   {2, 3, 13},  {80, 3, 13}, {5, 8, 31},  {81, 8, 31},
    {6, 0, 31},  {7, 9, 44},  {9, 10, 76}, {30, 4, 22}, {31, 5, 22}, {32, 6, 22},
    {33, 6, 22}, {11, 2, 22}, {4, -1, 23}, {10, -1, 76},
};

QFont fuenteHoja(bool negrita = false)
{
    QFont f(QStringLiteral("Arial"));
    f.setPointSizeF(8.25);
    f.setBold(negrita);
    return f;
}

void pinta(QWidget *w, const QColor &fondo, const QColor &texto)
{
    QPalette p = w->palette();
    p.setColor(QPalette::Window, fondo);
    p.setColor(QPalette::WindowText, texto);
    p.setColor(QPalette::Disabled, QPalette::WindowText, texto);
    w->setPalette(p);
    w->setAutoFillBackground(true);
}

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

// The private folder of the last declaration, from the path of its file (no file system
// lookup: the module checks the folder itself when it reads or writes); empty without one.
std::string carpetaDe(const QString &ruta) { return ruta.isEmpty() ? std::string() : deQt(QFileInfo(ruta).path()); }

QString eligeConDialogo(QWidget *padre, bool guardar, const QString &propuesta)
{
    QFileDialog d(padre, guardar ? QStringLiteral("Guardar como") : QStringLiteral("Abrir"), propuesta,
                  QStringLiteral("Declaraciones (*.ini *.Ini *.INI);;Todos los ficheros (*)"));
    d.setAcceptMode(guardar ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    d.setFileMode(guardar ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (guardar)
        d.setDefaultSuffix(QStringLiteral("ini"));
    if (d.exec() != QDialog::Accepted || d.selectedFiles().isEmpty())
        return {};
    return d.selectedFiles().constFirst();
}

}  // namespace

Precalculo::Precalculo(QWidget *parent) : QWidget(parent)
{
    // Form_Initialize, then Form_Load.
    QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
    compruebaPantalla();
    setObjectName(QStringLiteral("Precalculo"));
    setWindowTitle(kTitulo);
    m_eligeFichero = eligeConDialogo;
    setFixedSize(kAnchoForm, kAltoForm);
    setFont(fuenteHoja());
    construyeHoja();
    construyeControles();
    construyeMenus();
    ordenTabulacion();
    if (const QScreen *s = screen(); s && s->geometry().height() >= kAltoForm)
        move(s->geometry().x() + (s->geometry().width() - frameGeometry().width()) / 2, s->geometry().y() + 50 / 15);
}

void Precalculo::compruebaPantalla()
{
    const QScreen *s = QGuiApplication::primaryScreen();
    if (s && s->geometry().height() < kAltoForm)
        MensajeBox::informacion(
            nullptr, QStringLiteral("Para trabajar con este programa la resolución de la pantalla de su monitor ha de ser "
                                    "de 800x600 píxeles. Utilice la opción de 'Configuración' del apartado "
                                    "'Propiedades de la Pantalla'."));
}

void Precalculo::construyeHoja()
{
    m_ventana = new QWidget(this);
    m_ventana->setObjectName(QStringLiteral("PcWin"));
    m_ventana->setGeometry(kVentana);
    m_ventana->installEventFilter(this);

    const DisposicionHoja &d = Disposicion();
    m_hoja = new QWidget(m_ventana);
    m_hoja->setObjectName(QStringLiteral("Pc"));
    m_hoja->setGeometry(0, 0, d.ancho, d.alto);
    m_hoja->setFocusPolicy(Qt::ClickFocus);
    pinta(m_hoja, kFondoHoja, Qt::black);
    m_hoja->installEventFilter(this);

    for (const ElementoHoja &e : d.elementos) {
        const QRect r(e.r.x, e.r.y, e.r.ancho, e.r.alto);
        if (e.tipo == TipoElemento::Casilla) {
            const int n = e.numero;
            // Boxes 0-102 carry the sheet's field definition; 103-108 have none.
            CampoEdit *c = n <= 102 ? new CampoEdit(n, QStringLiteral("Cmp%1").arg(n), QStringLiteral("D1002"),
                                                    QStringLiteral("@"), m_hoja)
                                    : new CampoEdit(m_hoja);
            c->setObjectName(QStringLiteral("Cmp%1").arg(n));
            c->setGeometry(r);
            c->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            c->setFondo(EsEntrada(n) ? CampoEdit::kBlanco : kAmarillo);
            c->setProtegido(CampoProtegido(kPantallaPrecalculo, n));
            c->setContextMenuPolicy(Qt::NoContextMenu);
            c->setVisible(e.visible);
            c->installEventFilter(this);
            // Only what the user changes counts: the program's own rewrites of a box (the
            // editing form on focus, results, the peseta view) change no data.
            connect(c, &QLineEdit::textEdited, this, [this] { marcaCambio(); });
            connect(c, &CampoEdit::entrado, this, [this, n] { entraCasilla(n); });
            connect(c, &CampoEdit::calculadoraCerrada, this, [this] { recalcula(false); });
            m_casillas[static_cast<std::size_t>(n)] = c;
            continue;
        }
        auto *l = new QLabel(aQt(e.texto), m_hoja);
        l->setGeometry(r);
        l->setVisible(e.visible);
        l->installEventFilter(this);
        if (e.tipo == TipoElemento::Cabecera) {
            l->setFont(fuenteHoja(true));
            pinta(l, kAzulCabecera, Qt::white);
            if (e.numero >= 0) {
                l->setObjectName(QStringLiteral("LbMnt%1").arg(e.numero));
                l->setCursor(Qt::PointingHandCursor);
                l->setToolTip(QStringLiteral(" Modificar los Datos "));
                l->setProperty("lbMnt", e.numero);
                m_cabeceras[e.numero] = l;
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
    m_lista = new ListaCampo(this);
    for (CampoEdit *c : m_casillas)
        c->setLista(m_lista);
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

    m_vs = new QScrollBar(Qt::Vertical, this);
    m_vs->setObjectName(QStringLiteral("Vs"));
    m_vs->setGeometry(kVentana.right() + 2, kVentana.top(), 17, kVentana.height());
    m_vs->setFocusPolicy(Qt::NoFocus);
    m_vs->installEventFilter(this);
    m_desp = ParametrosDesplazamiento(Disposicion().alto, kVentana.height());
    m_vs->setRange(0, m_desp.maximo);
    m_vs->setPageStep(m_desp.grande);
    m_vs->setSingleStep(m_desp.pequeno);
    connect(m_vs, &QScrollBar::valueChanged, this, [this](int v) { m_hoja->move(0, -v); });

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
    comparativa->setToolTip(QStringLiteral(" Modalidad::Conjunta o individual (F6) "));
    comparativa->setGeometry(312, 3, 100, 25);
    connect(comparativa, &QAbstractButton::clicked, this, [this] { abreComparativa(); });
    m_btComparativa = comparativa;
    m_acComparativa = new QAction(QStringLiteral("Comparativa"), this);
    m_acComparativa->setShortcut(Qt::Key_F6);
    connect(m_acComparativa, &QAction::triggered, this, [this] { abreComparativa(); });
    addAction(m_acComparativa);
    construyeMenuFichero(700, 3);
    struct Icono {
        int indice;
        const char *glifo;
        const char *ayuda;
    };
    int x = 10;
    for (const Icono &i : {Icono{3, "\u2302", " Unidad Familiar "}, Icono{4, "", " Imprimir "},
                           Icono{2, "\u2327", " Inicializar Campos "}, Icono{1, "?", " Acerca de ... "}}) {
        auto *b = new QToolButton(this);
        if (i.indice == 4) {
            b->setIcon(iconoImpresora());
            b->setIconSize(QSize(24, 24));
        } else {
            b->setText(QString::fromUtf8(i.glifo));
        }
        b->setToolTip(QString::fromUtf8(i.ayuda));
        QFont f = b->font();
        f.setPointSize(14);
        b->setFont(f);
        b->setGeometry(x, 552, 38, 38);
        x += 42;
        m_botones[static_cast<std::size_t>(i.indice)] = b;
    }
    for (int i = 0; i < 6; ++i) {
        m_botones[static_cast<std::size_t>(i)]->setObjectName(QStringLiteral("CmOp%1").arg(i));
        connect(m_botones[static_cast<std::size_t>(i)], &QAbstractButton::clicked, this, [this, i] { clicBoton(i); });
    }
    auto *euro = new QToolButton(this);
    euro->setObjectName(QStringLiteral("ImEuro"));
    euro->setText(QStringLiteral("€"));
    euro->setToolTip(QStringLiteral(" Euro "));
    QFont fe = euro->font();
    fe.setPointSize(14);
    euro->setFont(fe);
    euro->setGeometry(x + 8, 552, 38, 38);
    connect(euro, &QAbstractButton::clicked, this, [this] { Herramientas::conversorEuro(this); });
    m_imEuro = euro;

    // Status line, about 550 twips above the bottom; the options 30 twips lower.
    const int linea = 524;
    m_label1 = new QLabel(QStringLiteral("Kalvio Profesionales"), this);
    m_label1->setObjectName(QStringLiteral("Label1"));
    m_label1->setFont(fuenteHoja(true));
    m_label1->setGeometry(10, linea, 150, 18);
    m_lbMsg = new QLabel(kMensajeF4, this);
    m_lbMsg->setObjectName(QStringLiteral("LbMsg"));
    m_lbMsg->setGeometry(170, linea, 250, 18);
    m_euros = new QRadioButton(QStringLiteral("EUROS"), this);
    m_euros->setObjectName(QStringLiteral("Option1_0"));
    m_euros->setGeometry(430, linea + 2, 70, 18);
    m_euros->setChecked(true);
    m_pesetas = new QRadioButton(QStringLiteral(" PESETAS"), this);
    m_pesetas->setObjectName(QStringLiteral("Option1_1"));
    m_pesetas->setGeometry(500, linea + 2, 80, 18);
    connect(m_pesetas, &QRadioButton::toggled, this, [this](bool on) { ponPesetas(on); });
    m_lbKalvio = new QLabel(QStringLiteral(" ") + fechaLarga(QDate::currentDate()), this);
    m_lbKalvio->setObjectName(QStringLiteral("LbKalvio"));
    m_lbKalvio->setGeometry(590, linea, 200, 18);
    m_lbKalvio->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_lbCod = new QLabel(this);
    m_lbCod->setObjectName(QStringLiteral("LbCod"));
    m_lbCod->setTextFormat(Qt::PlainText);  // the taxpayer's name, as typed or read from a file
    m_lbCod->setGeometry(424, 6, 266, 18);
}

void Precalculo::construyeMenuFichero(int x, int y)
{
    // The actions live on the window too, so their keys work from any box of the sheet.
    m_acAbrir = new QAction(QStringLiteral("&Abrir…"), this);
    m_acAbrir->setObjectName(QStringLiteral("Abrir"));
    m_acAbrir->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    connect(m_acAbrir, &QAction::triggered, this, [this] { accionAbrir(); });
    m_acGuardar = new QAction(QStringLiteral("&Guardar"), this);
    m_acGuardar->setObjectName(QStringLiteral("Guardar"));
    m_acGuardar->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    connect(m_acGuardar, &QAction::triggered, this, [this] { guarda(); });
    m_acGuardarComo = new QAction(QStringLiteral("Guardar &como…"), this);
    m_acGuardarComo->setObjectName(QStringLiteral("GuardarComo"));
    m_acGuardarComo->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    connect(m_acGuardarComo, &QAction::triggered, this, [this] { accionGuardarComo(); });
    m_acExportarPdf = new QAction(QStringLiteral("&Exportar PDF…"), this);
    m_acExportarPdf->setObjectName(QStringLiteral("ExportarPdf"));
    m_acExportarPdf->setEnabled(false);
    connect(m_acExportarPdf, &QAction::triggered, this, [this] {
        if (m_exportarPdf)
            m_exportarPdf(*this);
    });
    addAction(m_acAbrir);
    addAction(m_acGuardar);
    addAction(m_acGuardarComo);

    m_menuFichero = new QMenu(this);
    m_menuFichero->setObjectName(QStringLiteral("MenuFichero"));
    m_menuFichero->setToolTipsVisible(true);
    m_menuFichero->addAction(m_acAbrir);
    m_menuFichero->addAction(m_acGuardar);
    m_menuFichero->addAction(m_acGuardarComo);
    m_sepRecientes = m_menuFichero->addSeparator();
    m_menuFichero->addSeparator();
    m_menuFichero->addAction(m_acExportarPdf);
    connect(m_menuFichero, &QMenu::aboutToShow, this, [this] { actualizaRecientes(); });

    auto *fichero = new QPushButton(QStringLiteral("&Fichero"), this);
    fichero->setObjectName(QStringLiteral("Fichero"));
    fichero->setGeometry(x, y, 90, 25);
    fichero->setMenu(m_menuFichero);
    m_btFichero = fichero;
}

void Precalculo::setExportarPdf(std::function<void(Precalculo &)> accion)
{
    m_exportarPdf = std::move(accion);
    m_acExportarPdf->setEnabled(static_cast<bool>(m_exportarPdf));
}

void Precalculo::actualizaRecientes()
{
    for (QAction *a : m_recientes)
        delete a;
    m_recientes.clear();
    const QStringList lista = FicherosRecientes::lista();
    // The action after the separator: the recent files go between the two separators.
    const QList<QAction *> acciones = m_menuFichero->actions();
    QAction *antes = acciones.value(acciones.indexOf(m_sepRecientes) + 1);
    if (lista.isEmpty()) {
        auto *a = new QAction(QStringLiteral("(sin ficheros recientes)"), m_menuFichero);
        a->setEnabled(false);
        m_menuFichero->insertAction(antes, a);
        m_recientes.push_back(a);
        return;
    }
    for (int i = 0; i < lista.size(); ++i) {
        const QString ruta = lista[i];
        // "&" marks the access key: doubled, a file's name shows it as is.
        QString nombre = QFileInfo(ruta).fileName().replace(QLatin1Char('&'), QStringLiteral("&&"));
        auto *a = new QAction(QStringLiteral("&%1 %2").arg(i + 1).arg(nombre), m_menuFichero);
        a->setObjectName(QStringLiteral("Reciente%1").arg(i));
        a->setToolTip(QDir::toNativeSeparators(ruta));
        a->setData(ruta);
        a->setEnabled(!m_enPesetas);
        connect(a, &QAction::triggered, this, [this, ruta] {
            if (puedeDescartarCambios())
                abreFichero(ruta);
        });
        m_menuFichero->insertAction(antes, a);
        m_recientes.push_back(a);
    }
}

void Precalculo::construyeMenus()
{
    m_menu = new QMenu(this);
    m_menu->setObjectName(QStringLiteral("MnOpMnt"));
    m_menuActividades = new QMenu(this);
    m_menuActividades->setObjectName(QStringLiteral("MnAct"));
    m_menuAhorro = new QMenu(this);
    m_menuAhorro->setObjectName(QStringLiteral("MnBLq"));
    const char *actividades[] = {"Empresarial Directa", "Módulos Empresariales", "Agrícolas - Ganaderas"};
    for (int i = 0; i < 3; ++i) {
        QAction *a = m_menuActividades->addAction(QString::fromUtf8(actividades[i]));
        a->setObjectName(QStringLiteral("MnAct%1").arg(i));
        connect(a, &QAction::triggered, this, [this, i] { abreApartado(i + 30); });
    }
    const char *ahorro[] = {"Capital Mobiliario", "Ganancias y Pérdidas"};
    for (int i = 0; i < 2; ++i) {
        QAction *a = m_menuAhorro->addAction(QString::fromUtf8(ahorro[i]));
        a->setObjectName(QStringLiteral("MnBLq%1").arg(i));
        connect(a, &QAction::triggered, this, [this, i] { abreApartado(i + 80); });
    }
    for (int i = 0; i < 12; ++i) {
        QAction *a = nullptr;
        if (i == 3) {
            a = m_menu->addMenu(m_menuActividades);
        } else if (i == 8) {
            a = m_menu->addMenu(m_menuAhorro);
        } else {
            a = m_menu->addAction(QString());
            connect(a, &QAction::triggered, this, [this, i] { clicCabecera(i); });
        }
        a->setObjectName(QStringLiteral("MnMnt%1").arg(i));
        m_mnMnt[static_cast<std::size_t>(i)] = a;
    }
}

void Precalculo::ordenTabulacion()
{
    // The input boxes first, then the editable result boxes, then every other box in number
    // order; the selector and the buttons close the chain.
    std::vector<QWidget *> orden;
    std::array<bool, kNumCasillas> puesto{};
    auto pon = [&](int n) {
        if (!puesto[static_cast<std::size_t>(n)]) {
            puesto[static_cast<std::size_t>(n)] = true;
            orden.push_back(m_casillas[static_cast<std::size_t>(n)]);
        }
    };
    for (int n : kOrdenEntradas)
        pon(n);
    for (int n : kOrdenTrasEntradas)
        pon(n);
    for (int n = 0; n < kNumCasillas; ++n)
        pon(n);
    for (QWidget *w : {static_cast<QWidget *>(m_cb), static_cast<QWidget *>(m_euros),
                       static_cast<QWidget *>(m_pesetas)})
        orden.push_back(w);
    orden.push_back(m_botones[5]);
    orden.push_back(m_btComparativa);
    orden.push_back(m_btFichero);
    for (int i : {3, 4, 2, 1, 0})
        orden.push_back(m_botones[static_cast<std::size_t>(i)]);
    for (std::size_t i = 1; i < orden.size(); ++i)
        QWidget::setTabOrder(orden[i - 1], orden[i]);
}

QString Precalculo::fechaLarga(const QDate &fecha)
{
    return aQt(FechaLarga({fecha.day(), fecha.month(), fecha.year()}));
}

void Precalculo::registraPantalla(int numero, Pantalla abre) { m_pantallas[numero] = std::move(abre); }

QString Precalculo::textoCasilla(int n) const { return casilla(n)->text(); }

int Precalculo::modalidad() const { return std::max(0, m_cb->currentIndex()); }

void Precalculo::showEvent(QShowEvent *e)
{
    QWidget::showEvent(e);
    // Form_Activate: the start-up work runs once, after the window is on the screen.
    if (m_primeraActivacion) {
        m_primeraActivacion = false;
        QMetaObject::invokeMethod(this, [this] { arranca(); }, Qt::QueuedConnection);
    }
}

void Precalculo::reiniciaDatos()
{
    m_decl = Declaracion();
    m_reparto = Reparto();
}

void Precalculo::arranca()
{
    reiniciaDatos();
    desplaza(0);
    m_hoja->show();
    m_ruta = aQt(RutaUltimaDeclaracion(CarpetaUltimaDeclaracion()));
    bool hay = false, carpetaValida = true;
    try {
        // The private folder is made at start, so that the lock beside the file guards a
        // first run as well.
        const CarpetaPrivada carpeta(carpetaDe(m_ruta), CarpetaPrivada::Apertura::Crea);
        hay = HayUltimaDeclaracion(carpeta.ruta());
    } catch (const std::runtime_error &e) {
        // A folder that is not the user's own private one: not read, and not written at exit.
        carpetaValida = false;
        MensajeBox::informacion(this, aQt(e.what()) + QStringLiteral("\n\nSe empieza con una declaración vacía."));
    }
    // Held until the window goes. A lock that cannot be tried at all (a refused folder, a
    // link or someone else's file at its name) leaves this session working as the only one.
    if (carpetaValida)
        m_bloqueo = Bloqueo::Toma(deQt(m_ruta + QStringLiteral(".lock")));
    m_segundaSesion = m_bloqueo.estado() == Bloqueo::Estado::Ocupado;
    if (m_segundaSesion) {
        MensajeBox::informacion(
            this, QStringLiteral("Hay otra sesión del simulador abierta con la última declaración (DatosCa21.Ini), "
                                 "que esa sesión guardará al salir.\n\nEsta sesión empieza con la hoja vacía y no "
                                 "carga ni sobrescribe esa declaración. Para conservar lo que introduzca aquí, "
                                 "guárdelo en un fichero de cliente («Guardar como…», Ctrl+Mayús+S); al salir se le "
                                 "ofrecerá hacerlo."));
        m_listo = true;
    } else if (hay) {
        cargaDeclaracion();
        m_listo = true;
    } else {
        // A first run starts with the family. What that screen stores is in no file yet, so
        // it counts as a change: leaving asks whether to keep it.
        abrePantalla(0);
    }
    {
        // Filling the selector is its first click: it calculates only with a declaration read.
        m_cb->addItems({QStringLiteral("CONJUNTA"), QStringLiteral("DECLARANTE"), QStringLiteral("CONYUGE")});
        connect(m_cb, &QComboBox::currentIndexChanged, this, [this] { seleccionaModalidad(); });
        seleccionaModalidad();
    }
    desplaza(0);
    enfocaCasilla(9);
    for (int i = 0; i < 10; ++i)
        if (const auto it = m_cabeceras.find(i); it != m_cabeceras.end())
            m_mnMnt[static_cast<std::size_t>(i)]->setText(it->second->text());
    m_mnMnt[4]->setVisible(false);
    m_mnMnt[10]->setVisible(false);
    m_mnMnt[11]->setVisible(false);
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

void Precalculo::cargaDeclaracion()
{
    if (!MensajeBox::pregunta(this, QStringLiteral("Información"),
                              QStringLiteral("¿Desea cargar los datos de la última declaración?")))
        return;
    try {
        DeclaracionLeida leida = CargaUltimaDeclaracion(carpetaDe(m_ruta));
        m_decl = std::move(leida.declaracion);
        ponCasillas(m_decl);
        muestraAvisos(m_ruta, leida.avisos);
    } catch (const ErrorFichero &e) {
        // A damaged file leaves the empty declaration of a first run, and stays on disk as
        // it is: only a save the user agrees to at exit replaces it.
        reiniciaDatos();
        MensajeBox::informacion(this, aQt(e.what()) +
                                          QStringLiteral("\n\nSe empieza con una declaración vacía. El fichero no se "
                                                         "modifica salvo que decida guardar al salir."));
    }
}

void Precalculo::ponCasillas(const Declaracion &d)
{
    // Box 0 is never typed; a file's [Varios] starts at box 1.
    for (int n = 1; n < kCasillasTecleables; ++n) {
        const QString t = aQt(d.Casillas[static_cast<std::size_t>(n)].Texto);
        if (casilla(n)->text() != t)
            casilla(n)->setText(t);
    }
}

void Precalculo::muestraAvisos(const QString &ruta, const std::vector<std::string> &avisos)
{
    if (avisos.empty())
        return;
    QStringList lineas;
    lineas << QStringLiteral("El fichero «%1» contiene datos que las pantallas no pueden producir; se han "
                             "cargado así, revíselos:")
                  .arg(QFileInfo(ruta).fileName());
    for (std::size_t i = 0; i < avisos.size() && i < kMaxAvisos; ++i)
        lineas << aQt(avisos[i]);
    if (avisos.size() > kMaxAvisos)
        lineas << QStringLiteral("… y %1 avisos más.").arg(avisos.size() - kMaxAvisos);
    MensajeBox::informacion(this, lineas.join(QLatin1Char('\n')));
}

bool Precalculo::casillasLegibles()
{
    // The key filters let only amounts into a box, but a paste can bring any text. Such a
    // file could not be read back, so the save is refused and the box named; the module
    // says what is wrong with it. A liquidation that fails for another reason (a sum out
    // of range) does not stop the save: the file itself reads back.
    const Calculo c = Recalcular(m_decl, static_cast<Modalidad>(modalidad()));
    if (c.ok || c.casilla < 0)
        return true;
    MensajeBox::informacion(this, aQt(c.mensaje) + QStringLiteral("\n\nNo se ha guardado la declaración: corrija "
                                                                  "la casilla y vuelva a intentarlo."));
    enfocaCasilla(c.casilla);
    return false;
}

QString Precalculo::escribeEn(const QString &destino)
{
    try {
        GuardaDeclaracion(m_decl, deQt(destino));
    } catch (const ErrorFichero &e) {
        return aQt(e.what());
    }
    return {};
}

bool Precalculo::esUltimaDeclaracion(const QString &ruta) const
{
    // The same name in the same folder, however the folder was reached. The name itself is
    // not resolved: a save replaces a link at that name, never what it points to.
    const QFileInfo a(ruta), b(m_ruta);
    if (a.fileName() != b.fileName())
        return false;
    const QString carpeta = QFileInfo(a.absolutePath()).canonicalFilePath();
    return !carpeta.isEmpty() && carpeta == QFileInfo(b.absolutePath()).canonicalFilePath();
}

bool Precalculo::guardaAlSalir()
{
    // A second session never writes the last declaration: the other one owns it.
    if (m_segundaSesion)
        return guarda();
    pasaCasillasADeclaracion();
    if (!casillasLegibles())
        return false;
    // Both files are tried, so one that fails does not stop the other; the message names
    // each. An open client's file with nothing new since it was written is left as it is.
    const bool conCliente = !m_rutaCliente.isEmpty() && m_sinGuardar;
    QString errorCliente;
    if (conCliente) {
        errorCliente = escribeEn(m_rutaCliente);
        if (errorCliente.isEmpty())
            m_sinGuardar = false;
    }
    QString errorUltima;
    try {
        GuardaUltimaDeclaracion(m_decl, carpetaDe(m_ruta));
    } catch (const ErrorFichero &e) {
        errorUltima = aQt(e.what());
    }
    if (errorCliente.isEmpty() && errorUltima.isEmpty())
        return true;
    QStringList lineas;
    if (!conCliente) {
        lineas << errorUltima << QString();
    } else {
        const QString cliente = QFileInfo(m_rutaCliente).fileName();
        lineas << QStringLiteral("No se ha podido guardar todo al salir:");
        lineas << (errorCliente.isEmpty()
                       ? QStringLiteral("- Fichero del cliente «%1»: guardado.").arg(cliente)
                       : QStringLiteral("- Fichero del cliente «%1»: NO guardado. ").arg(cliente) + errorCliente);
        lineas << (errorUltima.isEmpty() ? QStringLiteral("- Última declaración (DatosCa21.Ini): guardada.")
                                         : QStringLiteral("- Última declaración (DatosCa21.Ini): NO guardada. ") +
                                               errorUltima);
        lineas << QString();
    }
    lineas << QStringLiteral("El programa sigue abierto para que no se pierdan los datos: puede guardarlos en otro "
                             "fichero con «Guardar como…» (Ctrl+Mayús+S) o volver a salir y responder No para salir "
                             "sin guardar.");
    MensajeBox::informacion(this, lineas.join(QLatin1Char('\n')));
    return false;
}

void Precalculo::marcaCambio()
{
    m_modificado = true;
    m_sinGuardar = true;
}

void Precalculo::actualizaTitulo()
{
    setWindowTitle(m_rutaCliente.isEmpty() ? kTitulo
                                           : kTitulo + QStringLiteral(" - ") + QFileInfo(m_rutaCliente).fileName());
}

bool Precalculo::puedeDescartarCambios()
{
    if (m_hoja->isEnabled())
        m_hoja->setFocus();
    if (!m_sinGuardar)
        return true;
    return MensajeBox::pregunta(this, QStringLiteral("Abrir"),
                                QStringLiteral("La información introducida no se ha guardado en ningún fichero y se "
                                               "perderá. ¿Desea continuar?"),
                                true);
}

void Precalculo::accionAbrir()
{
    if (m_enPesetas || !puedeDescartarCambios())
        return;
    QString propuesta = m_rutaCliente;
    if (propuesta.isEmpty()) {
        const QStringList recientes = FicherosRecientes::lista();
        propuesta = recientes.isEmpty() ? QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)
                                        : QFileInfo(recientes.constFirst()).absolutePath();
    }
    const QString ruta = m_eligeFichero ? m_eligeFichero(this, false, propuesta) : QString();
    if (!ruta.isEmpty())
        abreFichero(ruta);
}

bool Precalculo::accionGuardarComo()
{
    // The box being edited is left first, so it is written in its display form.
    if (m_hoja->isEnabled())
        m_hoja->setFocus();
    QString propuesta = m_rutaCliente;
    if (propuesta.isEmpty())
        propuesta = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString ruta = m_eligeFichero ? m_eligeFichero(this, true, propuesta) : QString();
    return !ruta.isEmpty() && guardaComo(ruta);
}

bool Precalculo::guarda()
{
    if (m_rutaCliente.isEmpty())
        return accionGuardarComo();
    if (m_hoja->isEnabled())
        m_hoja->setFocus();
    return guardaCliente(m_rutaCliente);
}

bool Precalculo::abreFichero(const QString &ruta)
{
    DeclaracionLeida leida;
    try {
        leida = CargaDeclaracion(deQt(ruta));
    } catch (const ErrorFichero &e) {
        if (!QFileInfo::exists(ruta))
            FicherosRecientes::quita(ruta);
        MensajeBox::informacion(this, aQt(e.what()) + QStringLiteral("\n\nNo se ha cambiado nada en la hoja."));
        return false;
    }
    // Checked before anything changes: a declaration the engine cannot liquidate would leave
    // another client's results beside this one's boxes.
    const Calculo prueba = Recalcular(leida.declaracion, static_cast<Modalidad>(modalidad()));
    if (!prueba.ok) {
        MensajeBox::informacion(this, aQt(prueba.mensaje) + QStringLiteral("\n\nNo se ha cambiado nada en la hoja."));
        return false;
    }
    if (m_enPesetas)
        m_euros->setChecked(true);
    m_decl = std::move(leida.declaracion);
    m_reparto = Reparto();
    ponCasillas(m_decl);
    m_rutaCliente = QFileInfo(ruta).absoluteFilePath();
    actualizaTitulo();
    FicherosRecientes::anade(m_rutaCliente);
    m_lbCod->setText(aQt(m_decl.Nombre));
    // The sheet changed: the question at exit offers to keep it as the last declaration.
    m_modificado = true;
    m_sinGuardar = false;
    recalcula(true);
    muestraAvisos(ruta, leida.avisos);
    return true;
}

bool Precalculo::guardaComo(const QString &ruta)
{
    QString destino = ruta;
    if (QFileInfo(destino).suffix().isEmpty())
        destino += QStringLiteral(".ini");
    return guardaCliente(destino);
}

bool Precalculo::guardaCliente(const QString &destino)
{
    if (m_segundaSesion && esUltimaDeclaracion(destino)) {
        MensajeBox::informacion(this, QStringLiteral("«%1» es la última declaración de la otra sesión abierta del "
                                                     "simulador: esta sesión no la sobrescribe. Elija otro fichero.")
                                          .arg(QFileInfo(destino).fileName()));
        return false;
    }
    pasaCasillasADeclaracion();
    if (!casillasLegibles())
        return false;
    if (const QString error = escribeEn(destino); !error.isEmpty()) {
        MensajeBox::informacion(this, error + QStringLiteral("\n\nLos datos siguen en la hoja: puede intentarlo de "
                                                             "nuevo o elegir otro fichero."));
        return false;
    }
    m_rutaCliente = QFileInfo(destino).absoluteFilePath();
    actualizaTitulo();
    FicherosRecientes::anade(m_rutaCliente);
    m_sinGuardar = false;
    return true;
}

void Precalculo::abreComparativa()
{
    // The selector is off in the peseta view, so no column could be chosen.
    if (m_enPesetas)
        return;
    pasaCasillasADeclaracion();
    const Comparativa c = Compara(m_decl, m_reparto);
    if (!c.ok) {
        MensajeBox::informacion(this, aQt(c.mensaje));
        return;
    }
    VentanaComparativa ventana(m_decl, c, modalidad(), this);
    const bool elegida = ventana.exec() == QDialog::Accepted;
    m_reparto = ventana.reparto();  // kept for the next comparison of this declaration
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

void Precalculo::closeEvent(QCloseEvent *e)
{
    // Leave the box being edited first, so it is saved in its display form; the files keep
    // euros even when the peseta view is on.
    if (m_hoja->isEnabled())
        m_hoja->setFocus();
    if (m_enPesetas)
        m_euros->setChecked(true);
    // A second session answers only for its own work, which is lost unless some file has it.
    if (!(m_segundaSesion ? m_sinGuardar : m_modificado)) {
        e->accept();
        return;
    }
    QString texto = QStringLiteral("¿Desea guardar la información introducida?");
    if (m_segundaSesion)
        texto += m_rutaCliente.isEmpty()
                     ? QStringLiteral("\n\nLa última declaración (DatosCa21.Ini) es de la otra sesión abierta del "
                                      "simulador y no se modifica: se le pedirá un fichero de cliente.")
                     : QStringLiteral("\n\nLa última declaración (DatosCa21.Ini) es de la otra sesión abierta del "
                                      "simulador y no se modifica: se guarda en el fichero del cliente «%1».")
                           .arg(QFileInfo(m_rutaCliente).fileName());
    const MensajeBox::Respuesta r = MensajeBox::preguntaConCancelar(this, QStringLiteral("Grabar al Salir"), texto);
    // Cancelar, or a save that failed or was cancelled, keeps the window and the data on it.
    e->setAccepted(r == MensajeBox::No || (r == MensajeBox::Si && guardaAlSalir()));
}

void Precalculo::pasaCasillasADeclaracion()
{
    // In the peseta view the boxes show pesetas; the declaration keeps the euro texts.
    for (int n = 0; n < kCasillasTecleables; ++n) {
        const QString t = m_enPesetas && n < 99 ? m_textosEuro[static_cast<std::size_t>(n)] : casilla(n)->text();
        m_decl.Casillas[static_cast<std::size_t>(n)].Texto = deQt(t);
    }
}

bool Precalculo::recalcula(bool reiniciaVista)
{
    if (reiniciaVista) {
        desplaza(0);
        enfocaCasilla(9);
    }
    pasaCasillasADeclaracion();
    const Calculo c = Recalcular(m_decl, static_cast<Modalidad>(modalidad()));
    if (!c.ok) {
        MensajeBox::informacion(this, aQt(c.mensaje));
        return false;
    }
    muestraResultados(c.resultado);
    return true;
}

void Precalculo::muestraResultados(const std::array<Money, kNumCasillas> &r)
{
    for (int n = 0; n < kNumCasillas; ++n) {
        const QString t = aQt(FormatoResultado(r[static_cast<std::size_t>(n)]));
        if (casilla(n)->text() != t)
            casilla(n)->setText(t);
    }
    // The box being edited stays in its editing form, all selected, ready to be typed over.
    for (int n = 0; n < kNumCasillas; ++n) {
        CampoEdit *c = casilla(n);
        if (c->hasFocus() && !c->protegido()) {
            c->setText(aQt(FormateaCampo("D1002", deQt(c->text()), false)));
            c->selectAll();
        }
    }
}

void Precalculo::entraCasilla(int n)
{
    // The value at entry: what an unchanged Enter compares with.
    const ImporteLeido l = LeeImporte(deQt(casilla(n)->text()), EstiloImporte::Pantalla);
    if (l.ok())
        m_valorEntrada = l.valor;
    m_textoEntrada = casilla(n)->text();
}

void Precalculo::desplaza(int valor) { m_vs->setValue(std::clamp(valor, 0, m_desp.maximo)); }

void Precalculo::enfocaCasilla(int n)
{
    CampoEdit *c = casilla(n);
    if (c->isEnabled() && c->isVisibleTo(this))
        c->setFocus(Qt::OtherFocusReason);
}

bool Precalculo::confirmaCasilla(int n)
{
    CampoEdit *c = casilla(n);
    if (Recorta(deQt(c->text())).empty())
        c->setText(QStringLiteral("0"));
    // A text that is no amount (only a paste can bring one) goes to the module too, which
    // names the box and says what is wrong with it.
    const ImporteLeido l = LeeImporte(deQt(c->text()), EstiloImporte::Pantalla);
    if ((!l.ok() || l.valor != m_valorEntrada) && !recalcula(false)) {
        // The sheet stays as it was: the box gets back its text at entry and keeps the focus.
        c->setText(m_textoEntrada);
        c->selectAll();
        return false;
    }
    if (l.ok())
        m_valorEntrada = l.valor;
    return true;
}

bool Precalculo::teclaCasilla(int n, QKeyEvent *e)
{
    const Qt::KeyboardModifiers mods = e->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    switch (e->key()) {
    case Qt::Key_Home:
        if (mods != Qt::ControlModifier)
            return false;
        desplaza(0);
        enfocaCasilla(9);
        return true;
    case Qt::Key_End:
        if (mods != Qt::ControlModifier)
            return false;
        desplaza(m_desp.maximo);
        enfocaCasilla(84);
        return true;
    case Qt::Key_PageDown: desplaza(m_vs->value() + m_desp.pequeno); return true;
    case Qt::Key_PageUp: desplaza(m_vs->value() - m_desp.pequeno); return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Down:
        if (mods != Qt::NoModifier)
            return false;
        if (!confirmaCasilla(n))
            return true;
        if (n == 84) {  // the last input box: show the result lines and stay
            desplaza(m_desp.maximo);
            return true;
        }
        return false;  // the field moves on
    case Qt::Key_Up:
        if (n == 9 && mods == Qt::NoModifier) {
            desplaza(0);
            return true;
        }
        return false;
    default: return false;
    }
}

bool Precalculo::teclaHoja(QKeyEvent *e)
{
    switch (e->key()) {
    case Qt::Key_Down:
    case Qt::Key_PageDown: desplaza(m_vs->value() + m_desp.pequeno); return true;
    case Qt::Key_Up:
    case Qt::Key_PageUp: desplaza(m_vs->value() - m_desp.pequeno); return true;
    case Qt::Key_Home: desplaza(0); return true;
    case Qt::Key_End: desplaza(m_desp.maximo); return true;
    default: return false;
    }
}

bool Precalculo::eventFilter(QObject *obj, QEvent *e)
{
    auto *w = qobject_cast<QWidget *>(obj);
    auto *campo = qobject_cast<CampoEdit *>(obj);
    switch (e->type()) {
    case QEvent::FocusIn:
        if (campo) {  // scroll the box into view before the field takes the focus
            const ElementoHoja &el = Disposicion().casilla(campo->ayuda());
            desplaza(DesplazaHastaVer(m_vs->value(), m_desp, el.r.y, el.r.alto, kVentana.height()));
        }
        break;
    case QEvent::KeyPress:
        if (campo)
            return teclaCasilla(campo->ayuda(), static_cast<QKeyEvent *>(e));
        if (obj == m_hoja)
            return teclaHoja(static_cast<QKeyEvent *>(e));
        if (obj == m_cb) {
            const int k = static_cast<QKeyEvent *>(e)->key();
            if (k == Qt::Key_Return || k == Qt::Key_Enter) {
                recalcula(true);
                return true;
            }
        }
        break;
    case QEvent::MouseButtonPress: {
        auto *m = static_cast<QMouseEvent *>(e);
        if (obj == m_vs) {
            if (m_hoja->isEnabled())
                m_hoja->setFocus();
            break;
        }
        if (m->button() == Qt::RightButton && w && (w == m_hoja || w->parentWidget() == m_hoja) &&
            !w->property("lbMnt").isValid()) {
            m_menu->popup(m->globalPosition().toPoint());
            return true;
        }
        break;
    }
    case QEvent::MouseButtonRelease: {
        auto *m = static_cast<QMouseEvent *>(e);
        if (w && m->button() == Qt::LeftButton && w->property("lbMnt").isValid() && w->rect().contains(m->position().toPoint())) {
            clicCabecera(w->property("lbMnt").toInt());
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

const Precalculo::Apartado *Precalculo::buscaApartado(int codigo)
{
    for (const Apartado &a : kApartados)
        if (a.codigo == codigo)
            return &a;
    return nullptr;
}

bool Precalculo::abrePantalla(int numero)
{
    const auto it = m_pantallas.find(numero);
    if (it == m_pantallas.end() || !it->second)
        return false;
    if (it->second(m_decl, this))
        marcaCambio();
    // The family-unit screen stores the taxpayer's name: the status line shows whose
    // declaration this is.
    m_lbCod->setText(aQt(m_decl.Nombre));
    return true;
}

void Precalculo::abreApartado(int codigo)
{
    const Apartado *a = buscaApartado(codigo);
    if (!a)
        return;
    if (codigo == 10 && m_decl.Autonomia == "00") {
        MensajeBox::informacion(
            this, QStringLiteral("No se ha informado ninguna autonomía en la pantalla de 'Unidad Familiar'."));
        enfocaCasilla(76);
        return;
    }
    enfocaCasilla(a->foco);
    if (!abrePantalla(a->pantalla))
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    recalcula(true);
    QApplication::restoreOverrideCursor();
}

void Precalculo::clicCabecera(int indice)
{
    if (indice == 4 || indice == 10 || indice == 11)
        return;
    if (indice == 3)
        m_menuActividades->exec(QCursor::pos());
    else if (indice == 8)
        m_menuAhorro->exec(QCursor::pos());
    else
        abreApartado(indice);
    recalcula(false);
}

void Precalculo::clicBoton(int indice)
{
    // The box being edited is left (and formatted) before any button acts.
    if (m_hoja->isEnabled())
        m_hoja->setFocus();
    switch (indice) {
    case 0: close(); break;
    case 1:
        if (m_acercaDe)
            m_acercaDe(this);
        break;
    case 2: inicializaCampos(); break;
    case 3:
        if (abrePantalla(0))
            recalcula(true);
        break;
    case 4:
        if (m_imprimir)
            m_imprimir(*this);
        break;
    case 5: m_menu->popup(m_botones[5]->mapToGlobal(QPoint(0, m_botones[5]->height()))); break;
    default: break;
    }
}

void Precalculo::inicializaCampos()
{
    if (!MensajeBox::pregunta(this, QStringLiteral("Información"),
                              QStringLiteral("¿Inicializar el contenido de los campos?"), true))
        return;
    for (int n = 0; n < kCasillasTecleables; ++n)
        casilla(n)->clear();
    reiniciaDatos();
    marcaCambio();
}

void Precalculo::ponPesetas(bool pesetas)
{
    if (pesetas == m_enPesetas)
        return;
    m_enPesetas = pesetas;
    for (QWidget *w : {m_hoja, static_cast<QWidget *>(m_botones[2]), static_cast<QWidget *>(m_botones[3]),
                       static_cast<QWidget *>(m_cb), static_cast<QWidget *>(m_btComparativa)})
        w->setEnabled(!pesetas);
    // Opening a file would change the sheet, and comparing ends in the selector: both wait
    // for the euros. Saving still works, in euros.
    m_acComparativa->setEnabled(!pesetas);
    m_acAbrir->setEnabled(!pesetas);
    if (pesetas) {
        m_lbMsg->setText(QStringLiteral("Los importes en Pesetas no se podrán modificar."));
        for (int n = 0; n < 99; ++n) {
            m_textosEuro[static_cast<std::size_t>(n)] = casilla(n)->text();
            casilla(n)->setText(aQt(PesetasDeTexto(deQt(casilla(n)->text()))));
        }
    } else {
        m_lbMsg->setText(kMensajeF4);
        for (int n = 0; n < 99; ++n)
            casilla(n)->setText(m_textosEuro[static_cast<std::size_t>(n)]);
    }
}
