#include "Calculadora.h"

#include "AbreHerramientas.h"
#include "MensajeBox.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

using simulador::Boton;
using simulador::Pulsacion;

Calculadora::Calculadora(const QString &valorCampo, QWidget *parent)
    : QDialog(parent), m_calc(valorCampo.toStdString())
{
    setWindowTitle(QStringLiteral("Calculadora"));
    setModal(true);

    m_readout = new QLabel(this);
    m_readout->setObjectName(QStringLiteral("Readout"));
    m_readout->setTextFormat(Qt::PlainText);  // starts from the field's text
    m_readout->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_readout->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_readout->setMinimumHeight(32);
    QFont grande = m_readout->font();
    grande.setPointSize(grande.pointSize() + 4);
    m_readout->setFont(grande);

    // No button but "Aceptar" takes Enter, whichever has the focus.
    auto crea = [this](const QString &texto, const QString &nombre, Pulsacion p) {
        auto *b = new QPushButton(texto, this);
        b->setObjectName(nombre);
        b->setAutoDefault(false);
        b->installEventFilter(this);
        connect(b, &QPushButton::clicked, this, [this, p] { pulsa(p); });
        return b;
    };
    for (int d = 0; d < 10; ++d)
        m_number[d] = crea(QString::number(d), QStringLiteral("Number%1").arg(d), {Boton::Number, d});
    const char *const operadores[] = {"/", "+", "x", "-", "="};
    for (int i = 0; i < 5; ++i)
        m_operator[i] =
            crea(QString::fromLatin1(operadores[i]), QStringLiteral("Operator%1").arg(i), {Boton::Operator, i});
    m_pDecimal = crea(QStringLiteral("."), QStringLiteral("PDecimal"), {Boton::PDecimal});
    m_percent = crea(QStringLiteral("%"), QStringLiteral("Percent"), {Boton::Percent});
    m_cancel = crea(QStringLiteral("C"), QStringLiteral("Cancel"), {Boton::Cancel});
    m_cancelEntry = crea(QStringLiteral("CE"), QStringLiteral("CancelEntry"), {Boton::CancelEntry});
    m_importar = crea(QStringLiteral("V"), QStringLiteral("Importar"), {Boton::Importar});

    m_operator[simulador::kIgual]->setToolTip(QStringLiteral(" I - Igual a ... "));
    m_percent->setToolTip(QStringLiteral(" P - Porcentaje "));
    m_cancel->setToolTip(QStringLiteral(" C - Borrar "));
    m_cancelEntry->setToolTip(QStringLiteral(" E - Borrar último "));
    m_importar->setToolTip(QStringLiteral(" V - Importar valor del campo "));

    m_cmOp[0] = new QPushButton(QStringLiteral("Aceptar"), this);
    m_cmOp[0]->setObjectName(QStringLiteral("CmOp0"));
    m_cmOp[0]->setToolTip(QStringLiteral(" Ins - Exportar el valor al campo "));
    m_cmOp[0]->setAutoDefault(false);
    m_cmOp[0]->setDefault(true);
    connect(m_cmOp[0], &QPushButton::clicked, this, &Calculadora::aceptar);
    m_cmOp[1] = new QPushButton(QStringLiteral("Cancelar"), this);
    m_cmOp[1]->setObjectName(QStringLiteral("CmOp1"));
    m_cmOp[1]->setToolTip(QStringLiteral(" Esc - Cancelar"));
    m_cmOp[1]->setAutoDefault(false);
    connect(m_cmOp[1], &QPushButton::clicked, this, &QDialog::reject);
    for (QPushButton *b : m_cmOp)
        b->installEventFilter(this);

    auto *euro = new QToolButton(this);
    euro->setObjectName(QStringLiteral("ImEuro"));
    euro->setText(QStringLiteral("€"));
    euro->setFocusPolicy(Qt::NoFocus);
    euro->installEventFilter(this);
    connect(euro, &QToolButton::clicked, this, [this] { AbreEuro(this); });

    // 7 8 9 / C
    // 4 5 6 x CE
    // 1 2 3 - %
    // 0 . = + V
    auto *teclado = new QGridLayout;
    const int digitos[3][3] = {{7, 8, 9}, {4, 5, 6}, {1, 2, 3}};
    for (int f = 0; f < 3; ++f)
        for (int c = 0; c < 3; ++c)
            teclado->addWidget(m_number[digitos[f][c]], f, c);
    teclado->addWidget(m_number[0], 3, 0);
    teclado->addWidget(m_pDecimal, 3, 1);
    teclado->addWidget(m_operator[simulador::kIgual], 3, 2);
    teclado->addWidget(m_operator[simulador::kDividir], 0, 3);
    teclado->addWidget(m_operator[simulador::kMultiplicar], 1, 3);
    teclado->addWidget(m_operator[simulador::kRestar], 2, 3);
    teclado->addWidget(m_operator[simulador::kSumar], 3, 3);
    teclado->addWidget(m_cancel, 0, 4);
    teclado->addWidget(m_cancelEntry, 1, 4);
    teclado->addWidget(m_percent, 2, 4);
    teclado->addWidget(m_importar, 3, 4);

    auto *botones = new QHBoxLayout;
    botones->addWidget(euro);
    botones->addStretch();
    botones->addWidget(m_cmOp[0]);
    botones->addWidget(m_cmOp[1]);

    auto *todo = new QVBoxLayout(this);
    todo->addWidget(m_readout);
    todo->addLayout(teclado);
    todo->addLayout(botones);

    // Import and export make sense only for a numeric field value.
    const bool numerico = m_calc.exportaHabilitado();
    m_importar->setEnabled(numerico);
    m_cmOp[0]->setEnabled(numerico);

    m_readout->setText(QString::fromStdString(m_calc.Readout()));
}

void Calculadora::pulsa(Pulsacion p)
{
    avisa(m_calc.pulsa(p));
    m_readout->setText(QString::fromStdString(m_calc.Readout()));
}

void Calculadora::aceptar()
{
    std::string resultado;
    avisa(m_calc.acepta(resultado));
    m_readout->setText(QString::fromStdString(m_calc.Readout()));
    m_intercambio = QString::fromStdString(resultado);
    accept();
}

void Calculadora::avisa(simulador::MaquinaCalculadora::Aviso aviso)
{
    if (aviso != simulador::MaquinaCalculadora::Aviso::DivisionPorCero)
        return;
    // Shown before the display changes, so the user still sees the zero divisor.
    MensajeBox::aviso(this, QStringLiteral("Calculadora"), QString::fromUtf8(simulador::kAvisoDivisionPorCero));
}

QAbstractButton *Calculadora::boton(Pulsacion p) const
{
    switch (p.boton) {
    case Boton::Number: return m_number[p.indice];
    case Boton::Operator: return m_operator[p.indice];
    case Boton::PDecimal: return m_pDecimal;
    case Boton::Percent: return m_percent;
    case Boton::Cancel: return m_cancel;
    case Boton::CancelEntry: return m_cancelEntry;
    case Boton::Importar: return m_importar;
    }
    return nullptr;
}

bool Calculadora::trataTecla(QKeyEvent *event)
{
    if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    if (event->key() == Qt::Key_Insert) {
        if (m_cmOp[0]->isEnabled())
            m_cmOp[0]->click();
        return true;
    }
    const QString texto = event->text();
    if (texto.size() != 1)
        return false;
    const std::optional<Pulsacion> p = simulador::BotonDeTecla(texto.at(0).unicode());
    if (!p)
        return false;  // Enter, Escape and Space keep their dialog meaning
    // The key clicks its button, as a click would: the focus goes there first.
    QAbstractButton *b = boton(*p);
    if (b->isEnabled()) {
        b->setFocus(Qt::ShortcutFocusReason);
        b->click();
    }
    return true;
}

bool Calculadora::eventFilter(QObject *watched, QEvent *event)
{
    // The calculator sees the keys before its buttons do.
    if (event->type() == QEvent::KeyPress && trataTecla(static_cast<QKeyEvent *>(event)))
        return true;
    return QDialog::eventFilter(watched, event);
}

void Calculadora::keyPressEvent(QKeyEvent *event)
{
    if (!trataTecla(event))
        QDialog::keyPressEvent(event);
}
