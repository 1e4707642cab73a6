#include "DetalleCasilla.h"

#include "MensajeBox.h"
#include "ModeloExplicacion.h"
#include "PaginaExplicacion.h"
#include "TextoQt.h"

#include <QClipboard>
#include <QDate>
#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QPushButton>
#include <QTreeView>
#include <QVBoxLayout>

using namespace simulador;

DetalleCasilla *DetalleCasilla::abre(QWidget *padre, const Declaracion &d, Modalidad modalidad, int casilla,
                                     MonedaExplicacion moneda)
{
    Explicacion e = Explica(d, modalidad, casilla);
    if (!e.ok) {
        MensajeBox::informacion(padre, aQt(e.mensaje));
        return nullptr;
    }
    DatosPagina cabecera;
    cabecera.titulo = TituloSimulacion();
    cabecera.nombre = aQt(d.Nombre);
    cabecera.modalidad = aQt(NombreModalidad(modalidad));
    cabecera.enPesetas = moneda == MonedaExplicacion::Pesetas;
    auto *w = new DetalleCasilla(std::move(e), casilla, moneda, std::move(cabecera), padre);
    w->setAttribute(Qt::WA_DeleteOnClose);
    w->open();
    return w;
}

DetalleCasilla::DetalleCasilla(Explicacion e, int casilla, MonedaExplicacion moneda, DatosPagina cabecera,
                               QWidget *parent)
    : QDialog(parent), m_cabecera(std::move(cabecera))
{
    setObjectName(QStringLiteral("DetalleCasilla"));
    setWindowTitle(QStringLiteral("Detalle de la casilla %1").arg(casilla));
    m_modelo = new ModeloExplicacion(std::move(e), moneda, this);
    m_arbol = new QTreeView(this);
    m_arbol->setObjectName(QStringLiteral("Arbol"));
    m_arbol->setModel(m_modelo);
    m_arbol->setUniformRowHeights(true);  // rows are measured once, however deep the tree is opened
    m_arbol->setAlternatingRowColors(true);
    m_arbol->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_arbol->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_arbol->header()->setStretchLastSection(false);
    m_arbol->header()->setSectionResizeMode(ModeloExplicacion::Concepto, QHeaderView::Stretch);
    m_arbol->header()->setSectionResizeMode(ModeloExplicacion::Importe, QHeaderView::ResizeToContents);
    // The box and its terms open: the figures a client asks about first.
    m_arbol->expandToDepth(1);
    m_arbol->setCurrentIndex(m_modelo->index(0, 0));

    auto *botones = new QDialogButtonBox(this);
    QPushButton *copiar = botones->addButton(QStringLiteral("&Copiar"), QDialogButtonBox::ActionRole);
    copiar->setObjectName(QStringLiteral("Copiar"));
    QPushButton *imprimir = botones->addButton(QStringLiteral("&Imprimir"), QDialogButtonBox::ActionRole);
    imprimir->setObjectName(QStringLiteral("Imprimir"));
    QPushButton *cerrar = botones->addButton(QStringLiteral("Ce&rrar"), QDialogButtonBox::RejectRole);
    cerrar->setObjectName(QStringLiteral("Cerrar"));
    // Enter in the tree closes the window rather than copying or printing by surprise.
    for (QPushButton *b : {copiar, imprimir})
        b->setAutoDefault(false);
    cerrar->setDefault(true);
    connect(copiar, &QPushButton::clicked, this, &DetalleCasilla::copia);
    connect(imprimir, &QPushButton::clicked, this, &DetalleCasilla::imprime);
    connect(botones, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *capa = new QVBoxLayout(this);
    capa->addWidget(m_arbol);
    capa->addWidget(botones);
    setTabOrder(m_arbol, copiar);
    setTabOrder(copiar, imprimir);
    setTabOrder(imprimir, cerrar);
    m_arbol->setFocus();
    resize(760, 520);
}

QString DetalleCasilla::texto() const
{
    const Explicacion &e = m_modelo->explicacion();
    return aQt(TextoExplicacion(e, e.raiz, m_modelo->moneda()));
}

void DetalleCasilla::copia() { QGuiApplication::clipboard()->setText(texto()); }

void DetalleCasilla::imprime()
{
    DatosExplicacion d{m_cabecera, windowTitle(), texto()};
    d.cabecera.fecha = FechaImpresion(QDate::currentDate());  // the day it is printed
    const QString error = ImprimeExplicacion(this, d);
    if (!error.isEmpty())
        MensajeBox::informacion(this, error);
}
