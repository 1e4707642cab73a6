// irpf2021: liquidates saved declarations from a terminal, exactly as the desktop program
// does after loading them (same typed boxes, same pre-runs for disabled members).
#include "FicheroDeclaracion.h"
#include "FicheroPrivado.h"
#include "Liquidar.h"
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
    "Uso: irpf2021 [--modo conjunta|declarante|conyuge|todas] [--formato texto|json|csv] FICHERO...\n"
    "     irpf2021 --comparar [--reparto CASILLA=D|C|M]... [--formato texto|json|csv] FICHERO...\n"
    "     irpf2021 --pdf SALIDA.pdf [--modo conjunta|declarante|conyuge|todas] FICHERO\n"
    "\n"
    "Liquida cada declaración guardada (el formato de DatosCa21.Ini) como lo hace el simulador\n"
    "después de cargarla: mismas casillas tecleadas, mismos cálculos previos por discapacidad.\n"
    "\n"
    "Opciones:\n"
    "  --modo MODO        conjunta (por omisión), declarante, conyuge, o todas (las tres,\n"
    "                     en el orden CONJUNTA, DECLARANTE, CONYUGE).\n"
    "  --formato FORMATO  texto (por omisión): la hoja por apartados, importes en formato\n"
    "                       español (\"1.234,56\", vacío para cero), una columna por modo.\n"
    "                     json: una línea por fichero (JSON Lines):\n"
    "                       {\"fichero\":...,\"liquidaciones\":[{\"modo\":\"CONJUNTA\",\"casillas\":[...]}]}\n"
    "                       con las 109 casillas como importes exactos de cuatro decimales\n"
    "                       (\"-1234.5000\"); un fichero que falla da {\"fichero\":...,\"error\":...}.\n"
    "                     csv: separado por \";\", coma decimal, fila de cabecera\n"
    "                       casilla;concepto;CONJUNTA;... y una fila por casilla. Con varios\n"
    "                       ficheros, cada bloque va precedido de la línea fichero;RUTA.\n"
    "  --comparar         compara la tributación conjunta con la individual (declarante más\n"
    "                     cónyuge, o solo el declarante si no hay cónyuge): bases liquidables,\n"
    "                     cuotas, retenciones y resultado de cada opción, y cuál resulta más\n"
    "                     favorable. En json: {\"fichero\":...,\"liquidaciones\":[...],\n"
    "                     \"mejor\":\"CONJUNTA\"|\"INDIVIDUAL\"|\"IGUAL\",\"diferencia\":\"412.3500\",...}.\n"
    "                     Cada casilla tecleada de la hoja (las blancas de [Varios], como la 84,\n"
    "                     maternidad) cuenta entera en la conjunta y una sola vez en la\n"
    "                     individual: por omisión en la liquidación del declarante. La salida lo\n"
    "                     dice para las casillas con importe: en texto, la línea \"Casillas\n"
    "                     tecleadas...\"; en json, \"reparto\":{\"84\":\"D\"}; en csv, la fila\n"
    "                     reparto;84=D. No se combina con --modo.\n"
    "  --reparto CASILLA=D|C|M\n"
    "                     con --comparar, en qué liquidación individual cuenta esa casilla\n"
    "                     tecleada: D la del declarante, C la del cónyuge, M a partes iguales\n"
    "                     (la mitad exacta en cada una). Se repite para cada casilla. Sin\n"
    "                     cónyuge todas cuentan en la del declarante.\n"
    "  --pdf SALIDA.pdf   escribe en SALIDA.pdf la página impresa de la simulación (la misma\n"
    "                     que el botón Imprimir del simulador), una página A4 por cada modo\n"
    "                     pedido, sin escribir nada en la salida estándar. Un solo FICHERO; no\n"
    "                     se combina con --formato ni con --comparar. No necesita pantalla:\n"
    "                     usa la plataforma offscreen si QT_QPA_PLATFORM no dice otra.\n"
    "  -h, --help         muestra esta ayuda.\n"
    "\n"
    "Los errores (fichero inexistente o ilegible, importe mal escrito o fuera de rango) se\n"
    "explican en la salida de error; los demás ficheros se procesan igualmente.\n"
    "Los caracteres de control que traiga un fichero se escriben visibles (\\x1b; en json \\u001b).\n"
    "Estado de salida: 0 si todo fue bien, 1 si algún fichero falló o no se pudo escribir la\n"
    "salida (disco lleno, salida cerrada, PDF), 2 si las opciones no son válidas.\n";

enum class Formato { Texto, Json, Csv };

int usoIncorrecto(const std::string &motivo)
{
    std::fprintf(stderr, "irpf2021: %s\n\n%s", Visible(motivo).c_str(), kUso);
    return 2;
}

// Every message names the file it is about; texts from the file and its name are escaped.
void avisa(const std::string &ruta, const char *que, const std::string &texto)
{
    std::fprintf(stderr, "irpf2021: %s: %s%s\n", Visible(ruta).c_str(), que, Visible(texto).c_str());
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
        const DeclaracionLeida leida = CargaDeclaracion(ruta);
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
            std::fprintf(stderr, "irpf2021: %s\n", Visible(error).c_str());  // the reason names the PDF
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

}  // namespace

int main(int argc, char **argv)
{
    ocupaDescriptoresCerrados();
    SalidaEstandar salida;
    std::vector<Modalidad> modos = {Modalidad::Conjunta};
    Formato formato = Formato::Texto;
    std::vector<std::string> ficheros;
    bool comparar = false, conModo = false, conFormato = false, conReparto = false;
    Reparto reparto;
    std::string pdf;

    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        std::string valor;
        bool conValor = false;
        const auto igual = a.find('=');
        if (a.rfind("--", 0) == 0 && igual != std::string::npos) {
            valor = a.substr(igual + 1);
            a = a.substr(0, igual);
            conValor = true;
        }
        auto siguiente = [&](std::string &v) {
            if (conValor) {
                v = valor;
                return true;
            }
            if (i + 1 >= argc)
                return false;
            v = argv[++i];
            return true;
        };
        if (a == "-h" || a == "--help") {
            std::fputs(kUso, stdout);
            return salida.cierra() ? 0 : 1;
        } else if (a == "--comparar" && !conValor) {
            comparar = true;
        } else if (a == "--modo") {
            conModo = true;
            std::string m;
            if (!siguiente(m))
                return usoIncorrecto("falta el valor de --modo");
            if (m == "conjunta")
                modos = {Modalidad::Conjunta};
            else if (m == "declarante")
                modos = {Modalidad::Declarante};
            else if (m == "conyuge")
                modos = {Modalidad::Conyuge};
            else if (m == "todas")
                modos = {Modalidad::Conjunta, Modalidad::Declarante, Modalidad::Conyuge};
            else
                return usoIncorrecto("modo desconocido: «" + m + "»");
        } else if (a == "--reparto") {
            conReparto = true;
            std::string r;
            if (!siguiente(r))
                return usoIncorrecto("falta el valor de --reparto (CASILLA=D|C|M)");
            if (const std::string error = LeeReparto(r, reparto); !error.empty())
                return usoIncorrecto("--reparto " + error);
        } else if (a == "--pdf") {
            if (!siguiente(pdf) || pdf.empty())
                return usoIncorrecto("falta el fichero de --pdf");
        } else if (a == "--formato") {
            conFormato = true;
            std::string f;
            if (!siguiente(f))
                return usoIncorrecto("falta el valor de --formato");
            if (f == "texto")
                formato = Formato::Texto;
            else if (f == "json")
                formato = Formato::Json;
            else if (f == "csv")
                formato = Formato::Csv;
            else
                return usoIncorrecto("formato desconocido: «" + f + "»");
        } else if (a == "--") {
            for (++i; i < argc; ++i)
                ficheros.emplace_back(argv[i]);
        } else if (a.size() > 1 && a[0] == '-') {
            return usoIncorrecto("opción desconocida: «" + a + "»");
        } else {
            ficheros.push_back(argv[i]);
        }
    }
    if (ficheros.empty())
        return usoIncorrecto("no se ha indicado ningún fichero");
    if (comparar && conModo)
        return usoIncorrecto("--comparar y --modo no se pueden combinar");
    if (conReparto && !comparar)
        return usoIncorrecto("--reparto solo se usa con --comparar");
    if (!pdf.empty()) {
        if (comparar || conFormato)
            return usoIncorrecto("--pdf no se combina con --comparar ni con --formato");
        if (ficheros.size() != 1)
            return usoIncorrecto("--pdf admite un solo FICHERO");
#ifdef IRPF2021_PDF
        return escribePdf(pdf, ficheros.front(), modos);
#else
        return usoIncorrecto("esta compilación de irpf2021 no admite PDF (se construyó sin Qt)");
#endif
    }

    int estado = 0;
    std::string out;
    std::vector<Liquidacion> liquidaciones;
    for (std::size_t f = 0; f < ficheros.size(); ++f) {
        const std::string &ruta = ficheros[f];
        std::string error;
        std::string nombre;
        liquidaciones.clear();
        try {
            const DeclaracionLeida leida = CargaDeclaracion(ruta);
            nombre = leida.declaracion.Nombre;
            for (const std::string &aviso : leida.avisos)
                avisa(ruta, "aviso: ", aviso);
            if (comparar) {
                const Comparativa c = Compara(leida.declaracion, reparto);
                if (!c.ok)
                    error = c.mensaje;
                else if (formato == Formato::Texto)
                    EscribeComparativaTexto(out, ruta, nombre, c);
                else if (formato == Formato::Json)
                    EscribeComparativaJson(out, ruta, c);
                else {
                    if (ficheros.size() > 1)
                        out += (f ? "\nfichero;" : "fichero;") + Visible(ruta) + "\n";
                    EscribeComparativaCsv(out, c);
                }
            } else {
                for (Modalidad m : modos) {
                    const Calculo c = Recalcular(leida.declaracion, m);
                    if (!c.ok) {
                        error = c.mensaje;
                        break;
                    }
                    liquidaciones.push_back({m, c.resultado});
                }
            }
        } catch (const ErrorFichero &e) {
            error = e.what();
        }
        if (!error.empty()) {
            estado = 1;
            salida.vuelca(out, true);
            avisa(ruta, "", error);
            if (formato == Formato::Json)
                EscribeJsonError(out, ruta, error);
            continue;
        }
        if (comparar) {
            salida.vuelca(out, false);
            if (salida.fallo())
                break;
            continue;
        }
        switch (formato) {
        case Formato::Texto:
            EscribeTexto(out, ruta, nombre, liquidaciones);
            break;
        case Formato::Json:
            EscribeJson(out, ruta, liquidaciones);
            break;
        case Formato::Csv:
            if (ficheros.size() > 1)
                out += (f ? "\nfichero;" : "fichero;") + Visible(ruta) + "\n";
            EscribeCsv(out, liquidaciones);
            break;
        }
        salida.vuelca(out, false);
        if (salida.fallo())
            break;
    }
    salida.vuelca(out, true);
    return salida.cierra() ? estado : 1;
}
