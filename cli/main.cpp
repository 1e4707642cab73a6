// irpf2021: liquidates saved declarations from a terminal, exactly as the desktop program
// does after loading them (same typed boxes, same pre-runs for disabled members).
#include "FicheroDeclaracion.h"
#include "Liquidar.h"
#include "Salida.h"
#ifdef IRPF2021_PDF
#include "PdfLiquidaciones.h"
#endif

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

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
    "Estado de salida: 0 si todo fue bien, 1 si algún fichero falló, 2 si las opciones no son válidas.\n";

enum class Formato { Texto, Json, Csv };

int usoIncorrecto(const std::string &motivo)
{
    std::fprintf(stderr, "irpf2021: %s\n\n%s", motivo.c_str(), kUso);
    return 2;
}

// Writes and empties the buffer once it is large, so 10,000 files need not stay in memory.
void vuelca(std::string &out, bool siempre)
{
    if (siempre || out.size() > (1 << 16)) {
        std::fwrite(out.data(), 1, out.size(), stdout);
        out.clear();
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
            std::fprintf(stderr, "irpf2021: %s: aviso: %s\n", ruta.c_str(), aviso.c_str());
        std::vector<PaginaPdf> paginas;
        for (Modalidad m : modos) {
            const Calculo c = Recalcular(leida.declaracion, m);
            if (!c.ok) {
                error = c.mensaje;
                break;
            }
            paginas.push_back({m, c.resultado});
        }
        if (error.empty() && !EscribePdfLiquidaciones(pdf, leida.declaracion.Nombre, paginas, error)) {
            std::fprintf(stderr, "irpf2021: %s\n", error.c_str());  // the reason names the PDF
            return 1;
        }
    } catch (const ErrorFichero &e) {
        error = e.what();
    }
    if (!error.empty()) {
        std::fprintf(stderr, "irpf2021: %s: %s\n", ruta.c_str(), error.c_str());
        return 1;
    }
    return 0;
}
#endif

}  // namespace

int main(int argc, char **argv)
{
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
            return 0;
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
                std::fprintf(stderr, "irpf2021: %s: aviso: %s\n", ruta.c_str(), aviso.c_str());
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
                        out += (f ? "\nfichero;" : "fichero;") + ruta + "\n";
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
            vuelca(out, true);
            std::fprintf(stderr, "irpf2021: %s: %s\n", ruta.c_str(), error.c_str());
            if (formato == Formato::Json)
                EscribeJsonError(out, ruta, error);
            continue;
        }
        if (comparar) {
            vuelca(out, false);
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
                out += (f ? "\nfichero;" : "fichero;") + ruta + "\n";
            EscribeCsv(out, liquidaciones);
            break;
        }
        vuelca(out, false);
    }
    vuelca(out, true);
    return estado;
}
