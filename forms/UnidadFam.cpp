#include "UnidadFam.h"

#include "CampoEdit.h"
#include "Formularios.h"
#include "TextoQt.h"

#include <QGridLayout>
#include <QLabel>
#include <QVBoxLayout>

using namespace simulador;

namespace {
// Box widths in twips, by code: a year, a percentage or count, a "Sí"/"No", a filiation.
int ancho(const DefCampo &d)
{
    if (d.codigo == "N04  ")
        return 750;
    if (d.codigo == "N02  ")
        return 600;
    if (d.lista.rfind("****03", 0) == 0)
        return 1350;
    return 600;
}
}  // namespace

UnidadFam::UnidadFam(const Declaracion &decl, QWidget *parent)
    : DialogoDatos(QStringLiteral("Datos de la Unidad Familiar"), kCajasUnidadFam, decl, parent)
{
    setObjectName(QStringLiteral("UnidadFam"));
    std::vector<CampoEdit *> orden;

    auto *arriba = new QGridLayout;
    arriba->setHorizontalSpacing(8);
    arriba->setVerticalSpacing(6);
    arriba->addWidget(new QLabel(QStringLiteral("Apellidos y Nombre"), this), 0, 0);
    arriba->addWidget(new QLabel(QStringLiteral("Autonomía"), this), 1, 0);
    orden.push_back(nuevaCaja(DefCampoUnidadFam(kCajaNombre), 5400));
    orden.push_back(nuevaCaja(DefCampoUnidadFam(kCajaAutonomia), 2400));
    arriba->addWidget(orden[0], 0, 1, Qt::AlignLeft);
    arriba->addWidget(orden[1], 1, 1, Qt::AlignLeft);
    arriba->setColumnStretch(2, 1);

    auto *rejilla = new QGridLayout;
    rejilla->setHorizontalSpacing(10);
    rejilla->setVerticalSpacing(4);
    QFont negrita = font();
    negrita.setBold(true);
    for (int r = 0; r < kMiembros; ++r) {
        auto *l = new QLabel(aQt(FilasUnidadFam()[static_cast<std::size_t>(r)]), this);
        l->setFont(negrita);
        rejilla->addWidget(l, r + 1, 0);
    }
    int col = 1;
    for (const ColumnaFamilia &c : ColumnasUnidadFam()) {
        auto *t = new QLabel(aQt(c.titulo), this);
        t->setFont(negrita);
        rejilla->addWidget(t, 0, col, Qt::AlignHCenter);
        for (int r = c.desde; r <= c.hasta; ++r) {
            const DefCampo def = DefCampoUnidadFam(c.primeraCaja + r - c.desde);
            CampoEdit *e = nuevaCaja(def, ancho(def));
            rejilla->addWidget(e, r + 1, col, Qt::AlignHCenter);
            orden.push_back(e);
        }
        ++col;
    }

    const CajasUnidadFam textos = LlenaUnidadFam(m_decl);
    for (int n = 0; n < kCajasUnidadFam; ++n)
        caja(n)->setText(aQt(textos[static_cast<std::size_t>(n)]));

    auto *cuerpo = new QVBoxLayout;
    cuerpo->setSpacing(12);
    cuerpo->addLayout(arriba);
    cuerpo->addLayout(rejilla);
    monta(cuerpo, orden);
}

std::vector<std::string> UnidadFam::textosGuardados() const
{
    const CajasUnidadFam textos = LlenaUnidadFam(m_decl);
    return {textos.begin(), textos.end()};
}

void UnidadFam::guardar()
{
    CajasUnidadFam textos;
    for (int n = 0; n < kCajasUnidadFam; ++n)
        textos[static_cast<std::size_t>(n)] = deQt(caja(n)->text());
    const GuardadoUnidadFam g = GuardaUnidadFam(m_decl, textos);
    if (g.almacenados > 0)
        emit almacenado();
    if (!g.ok) {
        rechaza(g.mensaje, g.caja);
        return;
    }
    accept();
}
