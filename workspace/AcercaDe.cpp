#include "AcercaDe.h"

#include "PaginaSimulacion.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#ifndef SIMULADOR_VERSION
#define SIMULADOR_VERSION ""
#endif

AcercaDe::AcercaDe(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("AcercaDe"));
    setWindowTitle(QStringLiteral("Acerca de ..."));

    auto *titulo = new QLabel(TituloSimulacion(), this);
    titulo->setObjectName(QStringLiteral("LbTitulo"));
    QFont grande = titulo->font();
    grande.setPointSizeF(grande.pointSizeF() * 1.4);
    grande.setBold(true);
    titulo->setFont(grande);

    const QString version = QStringLiteral(SIMULADOR_VERSION);
    auto *subtitulo = new QLabel(
        QStringLiteral("Impuesto sobre la Renta de las Personas Físicas, ejercicio 2021") +
            (version.isEmpty() ? QString() : QStringLiteral(" · versión ") + version),
        this);

    QString lista = QStringLiteral("<ul style=\"margin-left:-20px\">");
    for (const QString &f : funciones())
        lista += QStringLiteral("<li>") + f.toHtmlEscaped() + QStringLiteral("</li>");
    lista += QStringLiteral("</ul>");
    auto *funcionesLb = new QLabel(lista, this);
    funcionesLb->setObjectName(QStringLiteral("LbFunciones"));
    funcionesLb->setTextFormat(Qt::RichText);
    funcionesLb->setWordWrap(true);

    auto *botones = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    QPushButton *aceptar = botones->button(QDialogButtonBox::Ok);
    aceptar->setText(QStringLiteral("&Aceptar"));
    aceptar->setObjectName(QStringLiteral("CmAceptar"));
    connect(botones, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto *l = new QVBoxLayout(this);
    l->addWidget(titulo);
    l->addWidget(subtitulo);
    l->addWidget(funcionesLb);
    l->addWidget(botones);
    // Fixed to what the texts need: a word-wrapped label left to a free layout gets its
    // height before its width and leaves gaps.
    funcionesLb->setFixedWidth(540);
    l->setSizeConstraint(QLayout::SetFixedSize);
    aceptar->setFocus();
}

QStringList AcercaDe::funciones()
{
    return {
        QStringLiteral("Hoja de 109 casillas en dieciséis apartados, dispuesta como la declaración en papel."),
        QStringLiteral("Liquidación conjunta o individual (declarante o cónyuge), recalculada al momento."),
        QStringLiteral("Escala estatal y las escalas autonómicas de 2021."),
        QStringLiteral("Rendimientos del trabajo, del capital inmobiliario y mobiliario, de actividades "
                       "(estimación directa, módulos y agrarias) y ganancias y pérdidas patrimoniales."),
        QStringLiteral("Reducciones de la base, mínimo personal y familiar y deducciones de la cuota."),
        QStringLiteral("Vista de la hoja en pesetas."),
        QStringLiteral("La última declaración se guarda al salir (DatosCa21.Ini) y se ofrece al arrancar."),
        QStringLiteral("Impresión de la simulación y exportación a PDF para enviarla al cliente."),
        QStringLiteral("Conversor de euros y pesetas, y calculadora (F4) que rellena la casilla."),
        QStringLiteral("Línea de órdenes irpf2021: liquidaciones en texto, JSON, CSV o PDF y "
                       "comparación de la tributación conjunta con la individual."),
    };
}
