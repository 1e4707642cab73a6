#include "VentanaComparativa.h"

#include "MensajeBox.h"
#include "TablaCasillas.h"
#include "TextoImporte.h"
#include "TextoQt.h"

#include <QAbstractTableModel>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>
#include <vector>

using namespace simulador;

namespace {

constexpr int kFilaResultado = 5;
constexpr int kColumnaSuma = 3;  // DECLARANTE + CONYUGE

// Rows: the six figures; columns: the liquidations. Read-only, formatted by the module.
class ModeloComparativa : public QAbstractTableModel {
public:
    explicit ModeloComparativa(const Comparativa &c, QObject *parent) : QAbstractTableModel(parent)
    {
        m_titulos = VentanaComparativa::columnas(c.hayConyuge);
        pon(c);
    }

    // Another comparison of the same household (other shares): same rows and columns.
    void pon(const Comparativa &c)
    {
        m_resumenes = {c.resumenConjunta, c.resumenDeclarante};
        if (c.hayConyuge) {
            m_resumenes.push_back(c.resumenConyuge);
            m_resumenes.push_back(c.resumenIndividual);
        }
        // The option the verdict names: joint, or the individual total (the declarant's
        // own column when there is no spouse).
        m_mejor = -1;
        if (c.mejor == Mejor::Conjunta)
            m_mejor = 0;
        else if (c.mejor == Mejor::Individual)
            m_mejor = c.hayConyuge ? kColumnaSuma : 1;
        if (rowCount() > 0 && columnCount() > 0)
            emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
    }

    int rowCount(const QModelIndex &padre = {}) const override
    {
        return padre.isValid() ? 0 : static_cast<int>(std::size(kFilasResumen));
    }
    int columnCount(const QModelIndex &padre = {}) const override
    {
        return padre.isValid() ? 0 : static_cast<int>(m_resumenes.size());
    }

    QVariant data(const QModelIndex &i, int rol) const override
    {
        if (!i.isValid())
            return {};
        switch (rol) {
        case Qt::DisplayRole:
            return aQt(FormatoImporte(m_resumenes[static_cast<std::size_t>(i.column())].*
                                      kFilasResumen[static_cast<std::size_t>(i.row())].campo));
        case Qt::TextAlignmentRole: return static_cast<int>(Qt::AlignRight | Qt::AlignVCenter);
        case Qt::FontRole:
            if (i.row() == kFilaResultado && i.column() == m_mejor) {
                QFont f;
                f.setBold(true);
                return f;
            }
            return {};
        default: return {};
        }
    }

    QVariant headerData(int seccion, Qt::Orientation o, int rol) const override
    {
        if (rol != Qt::DisplayRole)
            return {};
        if (o == Qt::Horizontal) {
            if (seccion < 0 || seccion >= m_titulos.size())
                return {};
            // Two lines, so four columns fit beside the captions in the width of the sheet.
            return QString(m_titulos[seccion]).replace(QStringLiteral(" + "), QStringLiteral("\n+ "));
        }
        return seccion >= 0 && seccion < rowCount() ? QString::fromUtf8(kFilasResumen[static_cast<std::size_t>(seccion)].concepto) : QVariant();
    }

    Qt::ItemFlags flags(const QModelIndex &i) const override
    {
        return i.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
    }

private:
    std::vector<ResumenLiquidacion> m_resumenes;  // one per column
    QStringList m_titulos;
    int m_mejor = -1;
};

}  // namespace

QStringList VentanaComparativa::columnas(bool hayConyuge)
{
    // The liquidations by their selector names; the last column sums the two individual ones.
    const QString declarante = aQt(NombreModalidad(Modalidad::Declarante));
    const QString conyuge = aQt(NombreModalidad(Modalidad::Conyuge));
    QStringList l{aQt(NombreModalidad(Modalidad::Conjunta)), declarante};
    if (hayConyuge)
        l << conyuge << declarante + QStringLiteral(" + ") + conyuge;
    return l;
}

VentanaComparativa::VentanaComparativa(const Declaracion &declaracion, const Comparativa &c, int modalidad,
                                       QWidget *parent)
    : QDialog(parent), m_declaracion(declaracion)
{
    for (const CasillaRepartida &t : c.tecleadas)
        m_reparto.asigna(t.numero, t.parte);
    setObjectName(QStringLiteral("VentanaComparativa"));
    setWindowTitle(QStringLiteral("Comparativa"));

    auto *nota = new QLabel(
        c.hayConyuge ? QStringLiteral("Tributación conjunta frente a la individual del declarante y del cónyuge.")
                     : QStringLiteral("Sin cónyuge: solo se comparan la liquidación conjunta y la del declarante."),
        this);
    nota->setObjectName(QStringLiteral("nota"));
    nota->setTextFormat(Qt::PlainText);
    nota->setWordWrap(true);

    auto *modelo = new ModeloComparativa(c, this);
    m_tabla = new QTableView(this);
    m_tabla->setObjectName(QStringLiteral("tabla"));
    m_tabla->setModel(modelo);
    m_tabla->setSelectionBehavior(QAbstractItemView::SelectColumns);
    m_tabla->setSelectionMode(QAbstractItemView::SingleSelection);
    m_tabla->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_tabla->setTabKeyNavigation(false);
    m_tabla->setCornerButtonEnabled(false);
    m_tabla->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    m_tabla->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_tabla->verticalHeader()->setDefaultSectionSize(24);
    m_tabla->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_tabla->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Exactly the six rows: no blank band under them.
    m_tabla->setFixedHeight(m_tabla->horizontalHeader()->sizeHint().height() + modelo->rowCount() * 24 +
                            2 * m_tabla->frameWidth());

    m_veredicto = new QLabel(aQt(c.veredicto), this);
    m_veredicto->setObjectName(QStringLiteral("veredicto"));
    m_veredicto->setTextFormat(Qt::PlainText);
    QFont negrita = m_veredicto->font();
    negrita.setBold(true);
    m_veredicto->setFont(negrita);
    m_veredicto->setWordWrap(true);

    auto *botones = new QDialogButtonBox(this);
    m_ver = botones->addButton(QStringLiteral("&Ver en la hoja"), QDialogButtonBox::AcceptRole);
    m_ver->setObjectName(QStringLiteral("ver"));
    m_ver->setDefault(true);
    QPushButton *cerrar = botones->addButton(QStringLiteral("&Cerrar"), QDialogButtonBox::RejectRole);
    cerrar->setObjectName(QStringLiteral("cerrar"));

    QWidget *reparto = construyeReparto(c);

    auto *capa = new QVBoxLayout(this);
    capa->addWidget(nota);
    capa->addWidget(m_tabla);
    capa->addWidget(m_veredicto);
    if (reparto)
        capa->addWidget(reparto);
    capa->addWidget(botones);

    connect(m_tabla->selectionModel(), &QItemSelectionModel::currentColumnChanged, this,
            [this](const QModelIndex &actual) { columnaActual(actual.column()); });
    connect(m_tabla, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex &i) { elige(i.column()); });
    connect(m_ver, &QPushButton::clicked, this, [this] { elige(m_tabla->currentIndex().column()); });
    connect(cerrar, &QPushButton::clicked, this, &QDialog::reject);
    QWidget *anterior = m_tabla;
    for (QComboBox *combo : findChildren<QComboBox *>()) {
        setTabOrder(anterior, combo);
        anterior = combo;
    }
    setTabOrder(anterior, m_ver);
    setTabOrder(m_ver, cerrar);

    // The sheet's liquidation is current to begin with, on the result row the verdict is about.
    const int inicial = std::clamp(modalidad, 0, modelo->columnCount() - 1);
    m_tabla->setCurrentIndex(modelo->index(kFilaResultado, inicial));
    columnaActual(inicial);
    m_tabla->setFocus();
    setFixedSize(700, sizeHint().height());
}

QWidget *VentanaComparativa::construyeReparto(const Comparativa &c)
{
    // Without a spouse every box is the declarant's: there is nothing to choose.
    if (!c.hayConyuge || c.tecleadas.empty())
        return nullptr;
    auto *marco = new QWidget(this);
    auto *rejilla = new QGridLayout(marco);
    rejilla->setContentsMargins(0, 6, 0, 0);
    auto *titulo = new QLabel(QStringLiteral("Casillas tecleadas: en la individual cada una cuenta una sola vez, en "
                                             "la liquidación que se elija."),
                              marco);
    titulo->setWordWrap(true);
    rejilla->addWidget(titulo, 0, 0, 1, 4);
    int fila = 1;
    for (const CasillaRepartida &t : c.tecleadas) {
        auto etiqueta = [&](const QString &texto, int columna, Qt::Alignment alineacion) {
            auto *l = new QLabel(texto, marco);
            l->setTextFormat(Qt::PlainText);
            l->setObjectName(QStringLiteral("reparto%1_%2").arg(t.numero).arg(columna));
            rejilla->addWidget(l, fila, columna, alineacion);
            return l;
        };
        etiqueta(QString::number(t.numero), 0, Qt::AlignRight);
        etiqueta(aQt(TablaCasillas()[static_cast<std::size_t>(t.numero)].concepto), 1, Qt::AlignLeft);
        etiqueta(aQt(FormatoImporte(t.importe)), 2, Qt::AlignRight);
        auto *combo = new QComboBox(marco);
        combo->setObjectName(QStringLiteral("reparto%1").arg(t.numero));
        for (Parte p : {Parte::Declarante, Parte::Conyuge, Parte::Mitad})
            combo->addItem(QString::fromUtf8(NombreParte(p)));
        combo->setCurrentIndex(static_cast<int>(t.parte));
        const int numero = t.numero;
        connect(combo, &QComboBox::currentIndexChanged, this, [this, combo, numero](int i) {
            const Parte anterior = m_reparto.parte(numero);
            if (!reparte(numero, static_cast<Parte>(i))) {
                const QSignalBlocker sin(combo);
                combo->setCurrentIndex(static_cast<int>(anterior));
            }
        });
        rejilla->addWidget(combo, fila, 3);
        ++fila;
    }
    rejilla->setColumnStretch(1, 1);
    return marco;
}

bool VentanaComparativa::reparte(int casilla, Parte parte)
{
    Reparto nuevo = m_reparto;
    nuevo.asigna(casilla, parte);
    const Comparativa c = Compara(m_declaracion, nuevo);
    if (!c.ok) {
        MensajeBox::informacion(this, aQt(c.mensaje));
        return false;
    }
    m_reparto = nuevo;
    static_cast<ModeloComparativa *>(m_tabla->model())->pon(c);
    m_veredicto->setText(aQt(c.veredicto));
    return true;
}

void VentanaComparativa::columnaActual(int columna) { m_ver->setEnabled(columna >= 0 && columna < kColumnaSuma); }

void VentanaComparativa::elige(int columna)
{
    if (columna < 0 || columna >= kColumnaSuma)
        return;
    m_elegida = columna;
    accept();
}
