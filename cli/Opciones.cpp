#include "Opciones.h"

#include "Declaracion.h"

#include <algorithm>

using namespace simulador;

namespace irpf2021 {

bool LeeCasillas(const std::string &texto, std::vector<int> &casillas)
{
    std::vector<int> leidas;
    std::size_t inicio = 0;
    while (true) {
        const std::size_t coma = std::min(texto.find(',', inicio), texto.size());
        const std::string numero = texto.substr(inicio, coma - inicio);
        // At most three digits: "0073" is box 73, and no run of digits can overflow.
        if (numero.empty() || numero.size() > 3 ||
            !std::all_of(numero.begin(), numero.end(), [](char c) { return c >= '0' && c <= '9'; }))
            return false;
        const int n = std::stoi(numero);
        if (n >= kNumCasillas)
            return false;
        leidas.push_back(n);
        if (coma == texto.size())
            break;
        inicio = coma + 1;
    }
    casillas = std::move(leidas);
    return true;
}

LecturaOpciones LeeOpciones(int argc, const char *const *argv)
{
    LecturaOpciones r;
    Opciones &o = r.opciones;
    bool comparar = false, conModo = false, conFormato = false, conReparto = false, explicar = false;
    auto falla = [&r](std::string error) {
        r.error = std::move(error);
        return r;
    };

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
        if ((a == "-h" || a == "--help") && !conValor) {
            o.accion = Accion::Ayuda;
            return r;
        } else if (a == "--version" && !conValor) {
            o.accion = Accion::Version;
            return r;
        } else if (a == "--comparar" && !conValor) {
            comparar = true;
        } else if (a == "--modo") {
            conModo = true;
            std::string m;
            if (!siguiente(m))
                return falla("falta el valor de --modo");
            if (m == "conjunta")
                o.modos = {Modalidad::Conjunta};
            else if (m == "declarante")
                o.modos = {Modalidad::Declarante};
            else if (m == "conyuge")
                o.modos = {Modalidad::Conyuge};
            else if (m == "todas")
                o.modos = {kModalidades.begin(), kModalidades.end()};
            else
                return falla("modo desconocido: «" + m + "» (conjunta, declarante, conyuge o todas)");
        } else if (a == "--reparto") {
            conReparto = true;
            std::string t;
            if (!siguiente(t))
                return falla("falta el valor de --reparto (CASILLA=D|C|M)");
            if (const std::string error = LeeReparto(t, o.reparto); !error.empty())
                return falla("--reparto " + error);
        } else if (a == "--explicar") {
            explicar = true;
            std::string t;
            if (!siguiente(t))
                return falla("falta el valor de --explicar (CASILLA[,CASILLA...])");
            if (!LeeCasillas(t, o.casillas))
                return falla("--explicar «" + t + "»: se esperan casillas de 0 a 108 separadas por comas, por ejemplo 73,74");
        } else if (a == "--pdf") {
            if (!siguiente(o.pdf) || o.pdf.empty())
                return falla("falta el fichero de --pdf");
        } else if (a == "--formato") {
            conFormato = true;
            std::string f;
            if (!siguiente(f))
                return falla("falta el valor de --formato");
            if (f == "texto")
                o.formato = Formato::Texto;
            else if (f == "json")
                o.formato = Formato::Json;
            else if (f == "csv")
                o.formato = Formato::Csv;
            else
                return falla("formato desconocido: «" + f + "» (texto, json o csv)");
        } else if (a == "--") {
            for (++i; i < argc; ++i)
                o.ficheros.emplace_back(argv[i]);
        } else if (a.size() > 1 && a[0] == '-') {
            return falla("opción desconocida: «" + a + "»");
        } else {
            o.ficheros.emplace_back(argv[i]);
        }
    }
    if (o.ficheros.empty())
        return falla("no se ha indicado ningún fichero");
    // Standard input holds one declaration: a second "-" would read it empty.
    if (std::count(o.ficheros.begin(), o.ficheros.end(), kEntradaEstandar) > 1)
        return falla("la entrada estándar («-») solo se puede leer una vez");
    if (comparar && conModo)
        return falla("--comparar y --modo no se pueden combinar");
    if (conReparto && !comparar)
        return falla("--reparto solo se usa con --comparar");
    if (explicar && (comparar || !o.pdf.empty()))
        return falla("--explicar no se combina con --comparar ni con --pdf");
    if (explicar && o.formato == Formato::Csv)
        return falla("--explicar escribe en formato texto o json, no csv");
    if (!o.pdf.empty()) {
        if (comparar || conFormato)
            return falla("--pdf no se combina con --comparar ni con --formato");
        if (o.ficheros.size() != 1)
            return falla("--pdf admite un solo FICHERO");
    }
    o.accion = explicar ? Accion::Explicar : comparar ? Accion::Comparar : !o.pdf.empty() ? Accion::Pdf : Accion::Liquidar;
    return r;
}

}  // namespace irpf2021
