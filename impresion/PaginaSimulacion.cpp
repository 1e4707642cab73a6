#include "PaginaSimulacion.h"

#include "DisposicionHoja.h"
#include "Fechas.h"
#include "Hoja.h"
#include "Rotulos.h"
#include "FicheroPrivado.h"
#include "TextoImporte.h"

#include <QBuffer>
#include <QFile>
#include <QFont>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QStringList>

#include <algorithm>

using namespace simulador;

namespace {

// Page positions in twips.
constexpr double kIzquierda = kMargenPagina;   // left margin of the heading and of the sheet
constexpr double kArribaHoja = kAltoCabecera;  // the sheet starts below the heading
constexpr double kTituloY = 100;
constexpr double kFechaY = 250;
constexpr double kNombreY = 650;
constexpr double kRayaY = 950;
constexpr double kRelleno = 30;         // between a box's frame and its text
constexpr double kTwipsPorPunto = 20;

QFont fuenteTexto(double puntos, bool negrita = false) { return FuenteImpresion(QStringLiteral("Arial"), puntos, negrita); }
QFont fuenteCasilla() { return FuenteImpresion(QStringLiteral("Courier New"), 8, true); }

QRectF enTwips(const Rectangulo &r, double x0, double y0)
{
    return {x0 + r.x * kTwipsPorPixel, y0 + r.y * kTwipsPorPixel, double(r.ancho * kTwipsPorPixel),
            double(r.alto * kTwipsPorPixel)};
}

bool seImprime(const QString &texto) { return !texto.trimmed().isEmpty(); }

// A box's text, right-justified inside its frame (13 figures of Courier New 8 fill it). A
// fixed 13-character field would keep only the last 13 characters of a longer text and turn
// -12.345.678,90 into 12.345.678,90: here the text is kept whole and, when wider than the
// frame, narrowed until it fits, so it never runs into the box or the caption on its left.
void textoCasilla(QPainter &p, const QRectF &marco, const QString &texto)
{
    const QRectF dentro = marco.adjusted(kRelleno, 0, -kRelleno, 0);
    const double ancho = QFontMetricsF(p.font()).horizontalAdvance(texto);
    const double estrecha = ancho > dentro.width() ? dentro.width() / ancho : 1.0;
    p.save();
    p.translate(dentro.right(), dentro.top());
    p.scale(estrecha, 1.0);
    p.drawText(QRectF(-ancho - 1, 0, ancho + 1, dentro.height()), Qt::AlignRight | Qt::AlignVCenter | Qt::TextSingleLine,
               texto);
    p.restore();
}

void cuerpoPagina(QPainter &p, double x0, double y0, const DatosPagina &d)
{
    const DisposicionHoja &hoja = Disposicion();

    // Boxes: hidden ones with text too, at their sheet positions.
    p.setFont(fuenteCasilla());
    for (int n : OrdenTabulacion()) {
        const QString &texto = d.casillas[static_cast<std::size_t>(n)];
        if (!seImprime(texto))
            continue;
        const QRectF marco = enTwips(hoja.casilla(n).r, x0, y0);
        p.setPen(QPen(Qt::black, 8));
        p.setBrush(Qt::NoBrush);
        p.drawRect(marco);
        textoCasilla(p, marco, texto.trimmed());
    }

    // Captions, each in its own font: section headers bold on a light band, so the sixteen
    // sections still stand out on paper without the screen's dark blue.
    for (const ElementoHoja &e : hoja.elementos) {
        if (e.tipo == TipoElemento::Casilla || !e.visible)
            continue;
        const QRectF r = enTwips(e.r, x0, y0);
        const bool cabecera = e.tipo == TipoElemento::Cabecera;
        if (cabecera)
            p.fillRect(r, QColor(0xE4, 0xE4, 0xE4));
        p.setPen(Qt::black);
        p.setFont(fuenteTexto(8, cabecera));
        Qt::Alignment a = e.alineacion == Alineacion::Centro    ? Qt::AlignHCenter
                          : e.alineacion == Alineacion::Derecha ? Qt::AlignRight
                                                                : Qt::AlignLeft;
        const QRectF texto = e.alineacion == Alineacion::Izquierda ? r.adjusted(45, 0, 0, 0) : r;
        p.drawText(texto, a | Qt::AlignVCenter | Qt::TextSingleLine | Qt::TextDontClip, QString::fromUtf8(e.texto));
    }
}

// The page in twips before scaling: the sheet with the heading above it, widened when a
// printed box lies beyond the sheet's right edge, and as high as the sheet's last line.
QRectF extensionPagina(const DatosPagina &datos)
{
    const DisposicionHoja &hoja = Disposicion();
    int derecha = hoja.ancho, abajo = 0;
    for (const ElementoHoja &e : hoja.elementos) {
        const bool impresa =
            e.tipo == TipoElemento::Casilla ? seImprime(datos.casillas[static_cast<std::size_t>(e.numero)]) : e.visible;
        if (!impresa)
            continue;
        derecha = std::max(derecha, e.r.derecha());
        abajo = std::max(abajo, e.r.abajo());
    }
    return {0, 0, kIzquierda + derecha * kTwipsPorPixel + kIzquierda, kArribaHoja + abajo * kTwipsPorPixel + 100};
}

}  // namespace

// Fonts are sized in twips (page units), not in points: the painter's transform scales the
// whole page, and a point size would be applied a second time by the device.
QFont FuenteImpresion(const QString &familia, double puntos, bool negrita)
{
    // The page asks for Arial and Courier New; on machines without them their metric twins
    // from fonts-liberation take their place, so 13 figures still fill the same width.
    static const bool sustituidas = [] {
        QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
        QFont::insertSubstitution(QStringLiteral("Courier New"), QStringLiteral("Liberation Mono"));
        return true;
    }();
    (void)sustituidas;
    QFont f(familia);
    f.setPixelSize(static_cast<int>(puntos * kTwipsPorPunto));
    f.setBold(negrita);
    f.setKerning(false);
    return f;
}

void DibujaCabecera(QPainter &p, double izquierda, double derecha, const DatosPagina &d)
{
    const auto arribaIzquierda = Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine;
    const auto arribaDerecha = Qt::AlignRight | Qt::AlignTop | Qt::TextSingleLine;

    p.setFont(fuenteTexto(16));
    p.drawText(QRectF(izquierda + 200, kTituloY, derecha - izquierda - 200, 600), arribaIzquierda, d.titulo);
    // The date ends at the sheet's right edge: a long weekday and month would otherwise run
    // past it from a fixed start.
    p.setFont(fuenteTexto(8));
    p.drawText(QRectF(izquierda, kFechaY, derecha - izquierda, 300), arribaDerecha, d.fecha);

    p.setFont(fuenteTexto(10));
    p.drawText(QRectF(izquierda + 200, kNombreY, derecha - izquierda - 200, 300), arribaIzquierda,
               QStringLiteral("Apellidos y Nombre: ") + d.nombre);
    // Which liquidation and which currency: the three pages of irpf2021 --modo todas, and a
    // printout of the peseta view, must not be mistaken for one another.
    QStringList que;
    if (!d.modalidad.isEmpty())
        que << QStringLiteral("Liquidación ") + d.modalidad;
    if (d.enPesetas)
        que << QStringLiteral("Importes en pesetas");
    p.setFont(fuenteTexto(8));
    p.drawText(QRectF(izquierda, kNombreY + 40, derecha - izquierda, 300), arribaDerecha,
               que.join(QStringLiteral(" · ")));

    p.setPen(QPen(Qt::black, 15));
    p.drawLine(QPointF(izquierda, kRayaY), QPointF(derecha, kRayaY));
}

QString TituloSimulacion() { return QString::fromUtf8(kTituloPrograma); }

QString FechaImpresion(const QDate &fecha)
{
    if (!fecha.isValid())
        return {};
    return QString::fromUtf8(simulador::FechaImpresion({fecha.day(), fecha.month(), fecha.year()}));
}

QString TextoModalidad(int modalidad)
{
    const std::optional<Modalidad> m = ModalidadDeIndice(modalidad);
    return m ? QString::fromUtf8(NombreModalidad(*m)) : QString();
}

DatosPagina PaginaDeResultado(const std::string &nombre, Modalidad modalidad, const Resultado &r)
{
    DatosPagina d;
    d.titulo = TituloSimulacion();
    d.fecha = FechaImpresion(QDate::currentDate());
    d.nombre = QString::fromUtf8(nombre);
    d.modalidad = QString::fromUtf8(NombreModalidad(modalidad));
    for (int n = 0; n < kNumCasillas; ++n)
        d.casillas[static_cast<std::size_t>(n)] = QString::fromUtf8(FormatoResultado(r[static_cast<std::size_t>(n)]));
    return d;
}

void DibujaPagina(QPainter &p, const QRectF &areaImprimible, const DatosPagina &datos)
{
    const QRectF pagina = extensionPagina(datos);
    // Device units per twip at full size, then the uniform reduction that makes the page fit.
    const double dx = p.device() ? p.device()->logicalDpiX() / 1440.0 : 1.0;
    const double dy = p.device() ? p.device()->logicalDpiY() / 1440.0 : 1.0;
    const double ajuste = std::min({1.0, areaImprimible.width() / (pagina.width() * dx),
                                    areaImprimible.height() / (pagina.height() * dy)});
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    p.translate(areaImprimible.topLeft());
    p.scale(ajuste * dx, ajuste * dy);
    DibujaCabecera(p, kIzquierda, pagina.width() - kIzquierda, datos);
    cuerpoPagina(p, kIzquierda, kArribaHoja, datos);
    p.restore();
}

bool ExportaPdf(const std::vector<DatosPagina> &paginas, const QString &ruta, QString *error)
{
    // Drawn in memory, then handed whole to the module's atomic writer: a full disk or a
    // failed write leaves the earlier PDF as it was and no piece of the new one.
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter pdf(&buffer);
        pdf.setPageSize(QPageSize(QPageSize::A4));
        pdf.setPageOrientation(QPageLayout::Portrait);
        pdf.setPageMargins(QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter);
        pdf.setCreator(TituloSimulacion());
        if (!paginas.empty())
            pdf.setTitle(QStringLiteral("Simulación IRPF 2021 - ") + paginas.front().nombre);
        QPainter p;
        if (!p.begin(&pdf)) {
            if (error)
                *error = QStringLiteral("No se ha podido escribir el fichero «%1».").arg(ruta);
            return false;
        }
        const QRectF area(0, 0, pdf.width(), pdf.height());
        for (std::size_t i = 0; i < paginas.size(); ++i) {
            if (i > 0)
                pdf.newPage();
            DibujaPagina(p, area, paginas[i]);
        }
        if (!p.end()) {
            if (error)
                *error = QStringLiteral("No se ha podido terminar el fichero «%1».").arg(ruta);
            return false;
        }
    }
    const QByteArray &bytes = buffer.data();
    try {
        EscribeFichero(QFile::encodeName(ruta).toStdString(),
                       std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    } catch (const ErrorRuta &e) {
        if (error)
            *error = QStringLiteral("No se ha podido escribir el fichero «%1»: %2.")
                         .arg(ruta, QString::fromUtf8(e.what()));
        return false;
    }
    return true;
}
