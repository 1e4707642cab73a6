// irpf2021: liquidates saved declarations from a terminal, exactly as the desktop program
// does after loading them (same typed boxes, same pre-runs for disabled members).
#include "Entrada.h"
#include "Explicacion.h"
#include "FicheroPrivado.h"
#include "Liquidar.h"
#include "Opciones.h"
#include "Salida.h"
#ifdef IRPF2021_PDF
#include "PdfLiquidaciones.h"
#endif

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

using namespace simulador;
using namespace irpf2021;

namespace {

const char kUso[] =
    "Uso: irpf2021 [--modo MODO] [--formato FORMATO] FICHERO...\n"
    "     irpf2021 --comparar [--reparto CASILLA=D|C|M]... [--formato FORMATO]\n"
    "              FICHERO...\n"
    "     irpf2021 --explicar CASILLA[,CASILLA...] [--modo MODO] [--formato FORMATO]\n"
    "              FICHERO...\n"
    "     irpf2021 --pdf SALIDA.pdf [--modo MODO] FICHERO\n"
    "     irpf2021 --help | --version\n"
    "\n"
    "Liquida cada declaración guardada por el simulador (formato de DatosCa21.Ini)\n"
    "como lo hace el simulador al cargarla. El FICHERO «-» es la entrada estándar.\n"
    "\n"
    "Opciones:\n"
    "  --modo MODO        conjunta (por omisión), declarante, conyuge o todas\n"
    "  --formato FORMATO  texto (por omisión), json (una línea por fichero) o csv\n"
    "                     (una sola tabla, con «;» como separador y coma decimal)\n"
    "  --comparar         compara la tributación conjunta con la individual y dice\n"
    "                     cuál resulta más favorable; no se combina con --modo\n"
    "  --reparto CASILLA=D|C|M\n"
    "                     con --comparar, la liquidación individual de esa casilla\n"
    "                     tecleada: D declarante, C cónyuge, M a partes iguales\n"
    "  --explicar CASILLA[,CASILLA...]\n"
    "                     de dónde sale cada casilla (de 0 a 108): el árbol de sus\n"
    "                     cifras; en texto o json, sin --comparar ni --pdf\n"
    "  --pdf SALIDA.pdf   escribe en SALIDA.pdf la página impresa, una página A4\n"
    "                     por modo; un solo FICHERO, sin --formato ni --comparar\n"
    "  --                 lo que sigue son ficheros, aunque empiecen por «-»\n"
    "  --version          muestra la versión y el ejercicio, y termina\n"
    "  -h, --help         muestra esta ayuda y termina\n"
    "\n"
    "Un fichero que falla se explica en la salida de error; los demás se procesan.\n"
    "Estado de salida: 0 si todo fue bien, 1 si falló algún fichero o la salida,\n"
    "2 si las opciones no son válidas.\n"
    "\n"
    "Los formatos de salida, el reparto y cada opción en detalle: «man irpf2021».\n";

// A wrong command line gets its reason and where the help is, never the whole help, which
// would push the reason off the screen.
int usoIncorrecto(const std::string &motivo)
{
    std::fprintf(stderr, "irpf2021: %s\nPruebe «irpf2021 --help» para más información.\n", SinControles(motivo).c_str());
    return 2;
}

// Every message names the file it is about; texts from the file and its name are escaped.
void avisa(const std::string &ruta, const char *que, const std::string &texto)
{
    std::fprintf(stderr, "irpf2021: %s: %s%s\n", SinControles(ruta).c_str(), que, SinControles(texto).c_str());
}

// Standard output, checked: output that is lost (a full disk, a closed descriptor, a reader
// that went away) is an error with a message and status 1, never a silent success.
class SalidaEstandar {
public:
    // Writes and empties the buffer; unless `siempre`, only once it is large, so 10,000
    // files need not stay in memory. Nothing more is written after a failure.
    void vuelca(std::string &out, bool siempre)
    {
        if (!siempre && out.size() <= (1 << 16))
            return;
        errno = 0;
        if (m_error == 0 && !out.empty() && std::fwrite(out.data(), 1, out.size(), stdout) != out.size())
            m_error = errno != 0 ? errno : EIO;
        out.clear();
    }
    bool fallo() const { return m_error != 0; }
    // Flushes and closes: only then is a write to a full disk known to have failed.
    bool cierra()
    {
        errno = 0;
        if (m_error == 0 && (std::fflush(stdout) != 0 || std::ferror(stdout)))
            m_error = errno != 0 ? errno : EIO;
        if (std::fclose(stdout) != 0 && m_error == 0)
            m_error = errno != 0 ? errno : EIO;
        if (m_error != 0)
            std::fprintf(stderr, "irpf2021: no se ha podido escribir la salida estándar: %s.\n",
                         m_error == EBADF ? "está cerrada" : MotivoError(m_error).c_str());
        return m_error == 0;
    }

private:
    int m_error = 0;
};

// A closed standard descriptor would be handed to the next file opened, and what was meant
// for the terminal would go into it (Qt's warnings into the PDF). Each closed one is held by
// /dev/null opened for reading, so a write to it still fails as on a closed descriptor.
void ocupaDescriptoresCerrados()
{
    for (int fd = 0; fd <= 2; ++fd) {
        if (fcntl(fd, F_GETFD) != -1 || errno != EBADF)
            continue;
        const int nuevo = open("/dev/null", O_RDONLY);
        if (nuevo >= 0 && nuevo != fd) {
            dup2(nuevo, fd);
            close(nuevo);
        }
    }
}

#ifdef IRPF2021_PDF
// --pdf: the printed page of each requested mode, all in one file.
int escribePdf(const std::string &pdf, const std::string &ruta, const std::vector<Modalidad> &modos)
{
    std::string error;
    try {
        const DeclaracionLeida leida = LeeDeclaracionDe(ruta);
        for (const std::string &aviso : leida.avisos)
            avisa(ruta, "aviso: ", aviso);
        std::vector<Liquidacion> paginas;
        for (Modalidad m : modos) {
            const Calculo c = Recalcular(leida.declaracion, m);
            if (!c.ok) {
                error = c.mensaje;
                break;
            }
            paginas.push_back({m, c.resultado});
        }
        if (error.empty() && !EscribePdfLiquidaciones(pdf, leida.declaracion.Nombre, paginas, error)) {
            std::fprintf(stderr, "irpf2021: %s\n", SinControles(error).c_str());  // the reason names the PDF
            return 1;
        }
    } catch (const ErrorFichero &e) {
        error = e.what();
    }
    if (!error.empty()) {
        avisa(ruta, "", error);
        return 1;
    }
    return 0;
}
#endif

// What one file gives in the run `o` asks for, appended to `out` only when the whole of it
// was made: a file that fails half-way leaves no rows of it. The engine's message, or "".
std::string procesa(const Opciones &o, const std::string &ruta, const DeclaracionLeida &leida, std::string &out)
{
    const Declaracion &d = leida.declaracion;
    const std::string &nombre = d.Nombre;
    std::string texto;
    switch (o.accion) {
    case Accion::Comparar: {
        const Comparativa c = Compara(d, o.reparto);
        if (!c.ok)
            return c.mensaje;
        switch (o.formato) {
        case Formato::Texto: EscribeComparativaTexto(texto, ruta, nombre, c); break;
        case Formato::Json: EscribeComparativaJson(texto, ruta, nombre, c); break;
        case Formato::Csv: EscribeComparativaCsv(texto, ruta, nombre, c); break;
        }
        break;
    }
    case Accion::Explicar:
        for (Modalidad m : o.modos) {
            for (int n : o.casillas) {
                const Explicacion e = Explica(d, m, n);
                if (!e.ok)
                    return e.mensaje;
                if (o.formato == Formato::Json)
                    EscribeExplicacionJson(texto, ruta, nombre, e, n);
                else
                    EscribeExplicacionTexto(texto, ruta, nombre, e, n);
            }
        }
        break;
    default: {
        std::vector<Liquidacion> liquidaciones;
        for (Modalidad m : o.modos) {
            const Calculo c = Recalcular(d, m);
            if (!c.ok)
                return c.mensaje;
            liquidaciones.push_back({m, c.resultado});
        }
        switch (o.formato) {
        case Formato::Texto: EscribeTexto(texto, ruta, nombre, liquidaciones); break;
        case Formato::Json: EscribeJson(texto, ruta, nombre, liquidaciones); break;
        case Formato::Csv: EscribeFilasCsv(texto, ruta, nombre, liquidaciones); break;
        }
        break;
    }
    }
    out += texto;
    return {};
}

}  // namespace

int main(int argc, char **argv)
{
    ocupaDescriptoresCerrados();
    SalidaEstandar salida;
    const LecturaOpciones lectura = LeeOpciones(argc, argv);
    if (!lectura.error.empty())
        return usoIncorrecto(lectura.error);
    const Opciones &o = lectura.opciones;
    std::string out;
    switch (o.accion) {
    case Accion::Ayuda:
    case Accion::Version:
        out = o.accion == Accion::Ayuda ? kUso : "irpf2021 " IRPF2021_VERSION " (IRPF, ejercicio 2021)\n";
        salida.vuelca(out, true);
        return salida.cierra() ? 0 : 1;
    case Accion::Pdf:
#ifdef IRPF2021_PDF
        return escribePdf(o.pdf, o.ficheros.front(), o.modos);
#else
        return usoIncorrecto("esta compilación de irpf2021 no admite PDF (se construyó sin Qt)");
#endif
    default:
        break;
    }

    int estado = 0;
    // One table for the whole batch: its header once, even when every file fails.
    if (o.formato == Formato::Csv) {
        if (o.accion == Accion::Comparar)
            EscribeCabeceraComparativaCsv(out);
        else
            EscribeCabeceraCsv(out);
    }
    for (const std::string &ruta : o.ficheros) {
        std::string error;
        std::string nombre;
        bool leido = false;
        try {
            const DeclaracionLeida leida = LeeDeclaracionDe(ruta);
            nombre = leida.declaracion.Nombre;
            leido = true;
            for (const std::string &aviso : leida.avisos)
                avisa(ruta, "aviso: ", aviso);
            error = procesa(o, ruta, leida, out);
        } catch (const ErrorFichero &e) {
            error = e.what();
        }
        if (!error.empty()) {
            estado = 1;
            salida.vuelca(out, true);
            avisa(ruta, "", error);
            if (o.formato == Formato::Json)
                EscribeJsonError(out, ruta, leido ? &nombre : nullptr, error);
            continue;
        }
        salida.vuelca(out, false);
        if (salida.fallo())
            break;
    }
    salida.vuelca(out, true);
    return salida.cierra() ? estado : 1;
}
