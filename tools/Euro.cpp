#include "Euro.h"

#include "CampoEdit.h"
#include "ConversorEuro.h"

#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

// The printed reference table, coins and notes at 166,386 pesetas.
const char *const kBilletes[] = {
    "500 €   =   83.193 ptas", "200 €   =   33.277 ptas", "100 €   =   16.639 ptas",
    "50 €   =     8.319 ptas", "20 €   =     3.328 ptas",  "10 €   =     1.664 ptas",
    "5 €   =        832 ptas", "2 €   =        333 ptas",  "1 €   =        166 ptas",
};
const char *const kCentimos[] = {
    "50 c   =   83 ptas", "20 c   =   33 ptas", "10 c   =   17 ptas",
    "5 c   =     8 ptas", "2 c   =     3 ptas", "1 c   =     2 ptas",
};

std::string_view codigoDeCaja(int indice)
{
    return indice == 0 ? simulador::kCodigoPesetas : simulador::kCodigoEuros;
}

}  // namespace

Euro::Euro(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("  €  -  Bienvenidos al Euro"));
    setModal(true);

    auto *cajas = new QGridLayout;
    const char *const opciones[] = {"Pesetas", "Euros"};
    for (int i = 0; i < 2; ++i) {
        m_op[i] = new QRadioButton(QString::fromUtf8(opciones[i]), this);
        m_op[i]->setObjectName(QStringLiteral("Op%1").arg(i));
        connect(m_op[i], &QRadioButton::clicked, this, [this, i] { eligeSentido(i); });

        const QString nombre = QStringLiteral("Cmp%1").arg(i);
        m_cmp[i] = new CampoEdit(i, nombre, QString::fromUtf8(codigoDeCaja(i)), QStringLiteral("@"), this);
        m_cmp[i]->setObjectName(nombre);
        m_cmp[i]->setAlignment(Qt::AlignRight);
        connect(m_cmp[i], &QLineEdit::textChanged, this, [this, i] { convierte(i); });

        cajas->addWidget(m_op[i], i, 0);
        cajas->addWidget(m_cmp[i], i, 1);
    }

    auto *salir = new QPushButton(QStringLiteral("&Salir"), this);
    salir->setObjectName(QStringLiteral("Command1"));
    salir->setAutoDefault(false);
    connect(salir, &QPushButton::clicked, this, &QDialog::reject);

    auto *izquierda = new QVBoxLayout;
    izquierda->addLayout(cajas);
    izquierda->addStretch();
    izquierda->addWidget(salir, 0, Qt::AlignLeft);

    // The table lines up its figures with spaces, so it needs a fixed-pitch font.
    const QFont fija = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    auto *tabla = new QGroupBox(this);
    auto *filas = new QVBoxLayout(tabla);
    for (const char *t : kBilletes) {
        auto *l = new QLabel(QString::fromUtf8(t), tabla);
        l->setFont(fija);
        l->setAlignment(Qt::AlignRight);
        filas->addWidget(l);
    }
    filas->addWidget(new QLabel(QStringLiteral("Céntimos de €"), tabla));
    for (const char *t : kCentimos) {
        auto *l = new QLabel(QString::fromUtf8(t), tabla);
        l->setFont(fija);
        l->setAlignment(Qt::AlignRight);
        filas->addWidget(l);
    }

    auto *nota = new QLabel(QStringLiteral("NOTA: Los valores han sido convertidos a pesetas siguiendo las normas "
                                           "de redondeo y teniendo en cuenta el cambio establecido de 1 euro = "
                                           "166,386 ptas."),
                            this);
    nota->setWordWrap(true);

    auto *arriba = new QHBoxLayout;
    arriba->addLayout(izquierda);
    arriba->addWidget(tabla);
    auto *todo = new QVBoxLayout(this);
    todo->addLayout(arriba);
    todo->addWidget(nota);

    setTabOrder(m_cmp[0], m_cmp[1]);
    setTabOrder(m_cmp[1], m_op[0]);
    setTabOrder(m_op[0], m_op[1]);
    setTabOrder(m_op[1], salir);
}

void Euro::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    // Every opening starts over, converting from pesetas.
    m_op[0]->setChecked(true);
    eligeSentido(0);
}

void Euro::eligeSentido(int indice)
{
    m_cmp[0]->setText(QStringLiteral("0"));
    m_cmp[1]->setText(QStringLiteral("0,00"));
    m_cmp[indice]->setEnabled(true);
    m_cmp[1 - indice]->setEnabled(false);
    m_cmp[indice]->setFocus();
    m_cmp[indice]->selectAll();
}

void Euro::convierte(int indice)
{
    // Only the box the user types in converts; the program's writes into the other do not.
    if (!m_cmp[indice]->isEnabled())
        return;
    const std::string texto = m_cmp[indice]->text().toStdString();
    const std::string otro =
        indice == 0 ? simulador::EurosDeTextoPesetas(texto) : simulador::PesetasDeTextoEuros(texto);
    m_cmp[1 - indice]->setText(QString::fromStdString(otro));
}
