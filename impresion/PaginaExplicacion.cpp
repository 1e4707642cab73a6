#include "PaginaExplicacion.h"

#include "ImpresionSimulacion.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPrinter>
#include <QStringList>

#include <algorithm>
#include <cmath>

namespace {

// Page positions in twips, below the common heading.
constexpr double kAsuntoY = kAltoCabecera + 50;
constexpr double kPrimeraLineaY = kAltoCabecera + 400;
constexpr double kAltoLinea = 200;  // 8-point text with a quarter of its size between lines
constexpr double kMargenAbajo = 200;
constexpr double kAnchoMinimo = 9000;  // the heading's own width, even for a short tree

QFont fuenteLineas() { return FuenteImpresion(QStringLiteral("Courier New"), 8); }

}  // namespace

int DibujaExplicacion(QPainter &p, QPagedPaintDevice &dispositivo, const QRectF &areaImprimible,
                      const DatosExplicacion &datos)
{
    QStringList lineas = datos.texto.split(QLatin1Char('\n'));
    while (!lineas.isEmpty() && lineas.back().isEmpty())
        lineas.removeLast();

    // The widest line sets the page's width; the area's height, at that scale, how many
    // lines a page holds.
    const QFontMetricsF metricas(fuenteLineas());
    double ancho = kAnchoMinimo;
    for (const QString &l : lineas)
        ancho = std::max(ancho, metricas.horizontalAdvance(l));
    const double dx = dispositivo.logicalDpiX() / 1440.0;
    const double dy = dispositivo.logicalDpiY() / 1440.0;
    const double disponible = areaImprimible.width() / dx;
    const double ajuste = std::min(1.0, disponible / (ancho + 2 * kMargenPagina));
    const double anchoPagina = disponible / ajuste;
    const double altoPagina = areaImprimible.height() / (dy * ajuste);
    const int porPagina = std::max(1, static_cast<int>(std::floor((altoPagina - kPrimeraLineaY - kMargenAbajo) / kAltoLinea)));
    const int paginas = std::max(1, static_cast<int>((lineas.size() + porPagina - 1) / porPagina));

    const auto izquierda = Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine | Qt::TextDontClip;
    for (int pagina = 0; pagina < paginas; ++pagina) {
        if (pagina > 0)
            dispositivo.newPage();
        p.save();
        p.setRenderHint(QPainter::TextAntialiasing, true);
        p.translate(areaImprimible.topLeft());
        p.scale(ajuste * dx, ajuste * dy);
        DibujaCabecera(p, kMargenPagina, anchoPagina - kMargenPagina, datos.cabecera);
        const double anchoTexto = anchoPagina - 2 * kMargenPagina;
        p.setPen(Qt::black);
        p.setFont(FuenteImpresion(QStringLiteral("Arial"), 10, true));
        p.drawText(QRectF(kMargenPagina, kAsuntoY, anchoTexto, 300), izquierda, datos.asunto);
        p.setFont(FuenteImpresion(QStringLiteral("Arial"), 8));
        p.drawText(QRectF(kMargenPagina, kAsuntoY, anchoTexto, 300), Qt::AlignRight | Qt::AlignTop | Qt::TextSingleLine,
                   QStringLiteral("Página %1 de %2").arg(pagina + 1).arg(paginas));
        p.setFont(fuenteLineas());
        const int desde = pagina * porPagina;
        const int hasta = std::min(static_cast<int>(lineas.size()), desde + porPagina);
        for (int i = desde; i < hasta; ++i)
            p.drawText(QRectF(kMargenPagina, kPrimeraLineaY + (i - desde) * kAltoLinea, anchoTexto, kAltoLinea), izquierda,
                       lineas[i]);
        p.restore();
    }
    return paginas;
}

QString ImprimeExplicacion(QWidget *padre, const DatosExplicacion &datos)
{
    return Imprime(padre, datos.asunto, [&datos](QPainter &p, QPrinter &impresora) {
        DibujaExplicacion(p, impresora, QRectF(QPointF(0, 0), impresora.pageRect(QPrinter::DevicePixel).size()), datos);
    });
}
