#include "FormularioRentas.h"

#include "CampoEdit.h"
#include "TextoQt.h"

#include <QGridLayout>
#include <QLabel>
#include <QVBoxLayout>

using namespace simulador;

namespace {
// Box widths in twips: an amount of "D0902" (twelve characters) and a "Sí"/"No" choice.
constexpr int kAnchoImporte = 1500;
constexpr int kAnchoSiNo = 600;

QLabel *rotulo(const QString &texto, QWidget *padre, bool negrita = false)
{
    auto *l = new QLabel(texto, padre);
    if (negrita) {
        QFont f = l->font();
        f.setBold(true);
        l->setFont(f);
    }
    return l;
}

int ancho(const CampoRenta &c) { return c.importe ? kAnchoImporte : kAnchoSiNo; }
}  // namespace

FormularioRentas::FormularioRentas(PantallaRenta pantalla, const Declaracion &decl, QWidget *parent)
    : DialogoDatos(aQt(Formulario(pantalla).titulo), Formulario(pantalla).cajas, decl, parent), m_pantalla(pantalla)
{
    const FormularioRenta &f = Formulario(pantalla);
    setObjectName(aQt(f.nombre));
    for (const CampoRenta &c : f.campos) {
        nuevaCaja(DefCampoRenta(c, false, c.declarante), ancho(c));
        nuevaCaja(DefCampoRenta(c, true, c.conyuge), ancho(c));
    }
    const CajasRenta textos = LlenaRentas(m_decl, pantalla);
    for (int n = 0; n < numCajas(); ++n)
        caja(n)->setText(aQt(textos[static_cast<std::size_t>(n)]));

    std::vector<CampoEdit *> orden;
    monta(f.porPersonas ? porPersonas(orden) : columnas(orden), orden);
}

// A row per field: caption, declarant's box, spouse's box; the declarant's column is
// entered first, then the spouse's.
QLayout *FormularioRentas::columnas(std::vector<CampoEdit *> &orden)
{
    auto *g = new QGridLayout;
    g->setHorizontalSpacing(12);
    g->setVerticalSpacing(6);
    g->addWidget(rotulo(QStringLiteral("Declarante"), this, true), 0, 1, Qt::AlignHCenter);
    g->addWidget(rotulo(QStringLiteral("Cónyuge"), this, true), 0, 2, Qt::AlignHCenter);
    std::vector<CampoEdit *> conyuge;
    int fila = 1;
    for (const CampoRenta &c : Formulario(m_pantalla).campos) {
        CampoEdit *d = caja(c.declarante);
        CampoEdit *s = caja(c.conyuge);
        if (c.colocacion == Colocacion::Oculta) {
            // Not shown, never entered: the boxes only carry the stored value through a save.
            for (CampoEdit *e : {d, s}) {
                e->hide();
                e->setFocusPolicy(Qt::NoFocus);
            }
            continue;
        }
        if (c.colocacion == Colocacion::TituloDebajo)
            g->setRowMinimumHeight(fila++, 8);
        if (c.colocacion == Colocacion::Fila && !c.titulo.empty())
            g->addWidget(rotulo(aQt(c.titulo), this), fila, 0);
        g->addWidget(d, fila, 1, Qt::AlignLeft);
        g->addWidget(s, fila, 2, Qt::AlignLeft);
        ++fila;
        if (c.colocacion == Colocacion::TituloDebajo)
            g->addWidget(rotulo(aQt(c.titulo), this), fila++, 0, 1, 3);
        orden.push_back(d);
        conyuge.push_back(s);
    }
    orden.insert(orden.end(), conyuge.begin(), conyuge.end());
    g->setColumnMinimumWidth(0, Pixeles(2700));
    return g;
}

// DatosInm: each block is a grid with a column per field (a yes/no box shares the caption
// of the value box before it) and a row per person; entered block by block, person by person.
QLayout *FormularioRentas::porPersonas(std::vector<CampoEdit *> &orden)
{
    const FormularioRenta &f = Formulario(m_pantalla);
    auto *todo = new QVBoxLayout;
    todo->setSpacing(6);
    for (int b = 0; b < static_cast<int>(f.bloques.size()); ++b) {
        if (b > 0)
            todo->addSpacing(10);
        for (std::size_t i = 0; i < f.bloques[static_cast<std::size_t>(b)].size(); ++i)
            todo->addWidget(rotulo(aQt(f.bloques[static_cast<std::size_t>(b)][i]), this, i == 0));
        auto *g = new QGridLayout;
        g->setHorizontalSpacing(8);
        g->setVerticalSpacing(6);
        g->addWidget(rotulo(QStringLiteral("Declarante"), this, true), 1, 0);
        g->addWidget(rotulo(QStringLiteral("Cónyuge"), this, true), 2, 0);
        g->setColumnMinimumWidth(0, Pixeles(1200));
        std::vector<CampoEdit *> conyuge;
        int columna = 0;
        for (std::size_t i = 0; i < f.campos.size(); ++i) {
            const CampoRenta &c = f.campos[i];
            if (c.bloque != b)
                continue;
            ++columna;
            const bool conSiguiente =
                i + 1 < f.campos.size() && f.campos[i + 1].colocacion == Colocacion::ConAnterior;
            if (c.colocacion != Colocacion::ConAnterior) {
                // "V.Catastral 1º    Rev.": the words after the blanks stand over the yes/no box.
                const QString titulo = aQt(c.titulo);
                const qsizetype corte = titulo.indexOf(QStringLiteral("    "));
                if (conSiguiente && corte > 0) {
                    g->addWidget(rotulo(titulo.left(corte), this), 0, columna, Qt::AlignLeft);
                    g->addWidget(rotulo(titulo.mid(corte).trimmed(), this), 0, columna + 1, Qt::AlignLeft);
                } else {
                    g->addWidget(rotulo(titulo, this), 0, columna, 1, conSiguiente ? 2 : 1, Qt::AlignLeft);
                }
            }
            g->addWidget(caja(c.declarante), 1, columna, Qt::AlignLeft);
            g->addWidget(caja(c.conyuge), 2, columna, Qt::AlignLeft);
            orden.push_back(caja(c.declarante));
            conyuge.push_back(caja(c.conyuge));
        }
        g->setColumnStretch(columna + 1, 1);
        orden.insert(orden.end(), conyuge.begin(), conyuge.end());
        todo->addLayout(g);
    }
    return todo;
}

std::vector<std::string> FormularioRentas::textosGuardados() const { return LlenaRentas(m_decl, m_pantalla); }

void FormularioRentas::guardar()
{
    CajasRenta textos(static_cast<std::size_t>(numCajas()));
    for (int n = 0; n < numCajas(); ++n)
        textos[static_cast<std::size_t>(n)] = deQt(caja(n)->text());
    const GuardadoRenta g = GuardaRentas(m_decl, m_pantalla, textos);
    if (!g.ok) {
        rechaza(g.mensaje, g.caja);
        return;
    }
    accept();
}
