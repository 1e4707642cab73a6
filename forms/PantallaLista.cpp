#include "PantallaLista.h"

#include "Campos.h"
#include "DelegadoLista.h"
#include "MensajeBox.h"
#include "ModeloLista.h"
#include "TextoQt.h"
#include "VistaLista.h"

#include <QApplication>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

using namespace simulador;

namespace {
QPushButton *sinFoco(QPushButton *b)
{
    // A click must not take the focus from a cell being edited: the button's own handler
    // stores (or refuses) that cell first.
    b->setFocusPolicy(Qt::TabFocus);
    b->setAutoDefault(false);
    return b;
}
}  // namespace

PantallaLista::PantallaLista(TipoLista tipo, const Declaracion &decl, QWidget *parent)
    : MarcoDatos(aQt(Lista(tipo).titulo), Lista(tipo).atajoEuro, parent), m_tipo(tipo), m_decl(decl)
{
    m_modelo = new ModeloLista(tipo, FilasDeLista(m_decl, tipo), this);
    m_vista = new VistaLista(m_modelo, this);

    m_ayuda = new QLabel(this);
    m_ayuda->setObjectName(QStringLiteral("LbValor"));
    m_ayuda->setTextFormat(Qt::PlainText);
    m_ayuda->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_ayuda->setMinimumHeight(m_ayuda->fontMetrics().lineSpacing() * 7);

    auto *salir = sinFoco(botonSalir());
    auto *guardar = sinFoco(botonGuardar());
    auto *eliminar = sinFoco(new QPushButton(QStringLiteral("&Eliminar"), this));
    eliminar->setObjectName(QStringLiteral("CmOp2"));

    auto *abajo = new QHBoxLayout;
    abajo->addWidget(m_ayuda, 1);
    abajo->addWidget(euro(), 0, Qt::AlignBottom);
    auto *botones = new QVBoxLayout;
    botones->addStretch();
    botones->addWidget(guardar);
    botones->addWidget(eliminar);
    botones->addWidget(salir);
    abajo->addLayout(botones);

    auto *todo = new QVBoxLayout(this);
    todo->addWidget(m_vista, 1);
    if (tipo == TipoLista::DCuota) {
        m_tramo = new QCheckBox(aQt(kTituloTramo), this);
        m_tramo->setObjectName(QStringLiteral("Tramo"));
        // Only Catalunya has the increased housing rate; elsewhere the box stays hidden and
        // unticked, so saving clears the flag.
        const bool aplica = TramoAplicable(m_decl);
        m_tramo->setVisible(aplica);
        m_tramoInicial = aplica && m_decl.TramoVivienda == 1;
        m_tramo->setChecked(m_tramoInicial);
        todo->addWidget(m_tramo);
    }
    todo->addLayout(abajo);

    int ancho = m_vista->verticalHeader()->sizeHint().width() + 40;
    for (int c = 0; c < m_modelo->columnCount(); ++c)
        ancho += m_vista->columnWidth(c);
    // Within the program's 800-pixel screen: the wide capital-gains grid scrolls sideways.
    resize(std::clamp(ancho, 560, 790), 380);

    connect(eliminar, &QPushButton::clicked, this, &PantallaLista::eliminar);
    connect(m_vista->delegado(), &DelegadoLista::pitido, this, [] { QApplication::beep(); });
    connect(m_vista->selectionModel(), &QItemSelectionModel::currentChanged, this, &PantallaLista::muestraAyuda);

    setTabOrder(m_vista, guardar);
    setTabOrder(guardar, eliminar);
    setTabOrder(eliminar, salir);
    m_vista->setFocus();
    m_vista->setCurrentIndex(m_modelo->index(0, 0));
}

void PantallaLista::muestraAyuda(const QModelIndex &actual)
{
    if (!actual.isValid())
        return;
    m_ayuda->setText(aQt(Lista(m_tipo).columnas[static_cast<std::size_t>(actual.column())].ayuda));
}

void PantallaLista::guardar()
{
    // The cell being edited is stored first; a refused cell keeps the screen open.
    if (!m_vista->terminaEdicion())
        return;
    GuardaFilas(m_decl, m_tipo, m_modelo->filas());
    if (m_tramo)
        m_decl.TramoVivienda = m_tramo->isChecked() ? 1 : 0;
    accept();
}

bool PantallaLista::cambiado() const
{
    if (const QLineEdit *le = m_vista->editorAbierto(); le && le->text() != le->property("original").toString())
        return true;
    if (m_tramo && m_tramo->isChecked() != m_tramoInicial)
        return true;
    return FilasCambiadas(m_decl, m_tipo, m_modelo->filas());
}

void PantallaLista::eliminar()
{
    if (!m_vista->terminaEdicion())
        return;
    const QModelIndex actual = m_vista->currentIndex();
    if (!actual.isValid() || m_modelo->esFilaNueva(actual.row()))
        return;
    const int fila = actual.row();
    const auto vacia = [&](int col) { return m_modelo->index(fila, col).data(Qt::EditRole).toString().trimmed().isEmpty(); };
    if (vacia(0) && vacia(1))
        return;
    m_vista->selectRow(fila);
    if (MensajeBox::pregunta(this, aQt(kTituloEliminar), aQt(kPreguntaEliminar)))
        m_modelo->removeRows(fila, 1);
    m_vista->clearSelection();
    m_vista->setFocus();
}
