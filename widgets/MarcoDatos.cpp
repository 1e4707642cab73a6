#include "MarcoDatos.h"

#include "Campos.h"
#include "Herramientas.h"
#include "MensajeBox.h"
#include "TextoQt.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QShortcut>

MarcoDatos::MarcoDatos(const QString &titulo, bool atajoEuro, QWidget *parent) : QDialog(parent)
{
    setWindowTitle(titulo);

    m_euro = new QLabel(QStringLiteral("€"), this);
    m_euro->setObjectName(QStringLiteral("ImEuro"));
    m_euro->setToolTip(QStringLiteral("Euro"));
    m_euro->setCursor(Qt::PointingHandCursor);
    QFont f = m_euro->font();
    f.setPointSizeF(16);
    f.setBold(true);
    m_euro->setFont(f);
    m_euro->installEventFilter(this);
    if (atajoEuro) {
        auto *atajo = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_E), this);
        connect(atajo, &QShortcut::activated, this, [this] { Herramientas::conversorEuro(this); });
    }

    // Named as the buttons of the original screens: CmOp0 leaves, CmOp1 stores.
    m_guardar = new QPushButton(QStringLiteral("&Guardar"), this);
    m_guardar->setObjectName(QStringLiteral("CmOp1"));
    m_salir = new QPushButton(QStringLiteral("&Salir"), this);
    m_salir->setObjectName(QStringLiteral("CmOp0"));
    connect(m_guardar, &QPushButton::clicked, this, [this] { guardar(); });
    connect(m_salir, &QPushButton::clicked, this, &QDialog::reject);
}

void MarcoDatos::reject()
{
    using namespace simulador;
    if (cambiado() && !MensajeBox::pregunta(this, aQt(kTituloSalir), aQt(kPreguntaSalirSinGuardar), true))
        return;
    QDialog::reject();
}

bool MarcoDatos::eventFilter(QObject *obj, QEvent *e)
{
    if (obj == m_euro && e->type() == QEvent::MouseButtonRelease
        && static_cast<QMouseEvent *>(e)->button() == Qt::LeftButton) {
        Herramientas::conversorEuro(this);
        return true;
    }
    return QDialog::eventFilter(obj, e);
}
