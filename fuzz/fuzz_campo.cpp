// The field machinery as a keyboard would drive it: a field of one of the screens' codes,
// a stream of keys, caret moves and selections, and the leave-and-enter that puts the text
// into its display form and back into its editing form. After every step the caret stays
// inside the text, the text stays UTF-8, the typing limit holds, digit fields hold digits,
// list fields are never typed in, and formatting is stable: formatting twice gives what
// formatting once gave, and an amount keeps its value to the field's decimals.
#include "Campos.h"
#include "Codificacion.h"
#include "Comprueba.h"
#include "TextoImporte.h"

#include <cstdint>

using namespace simulador;

namespace {

constexpr const char *kCodigos[] = {"D1002", "D0902", "D1504", "S1002", "N04  ", "N02  ", "N1200",
                                    "n05  ", "A35  ", "F10  ", "LA1  ", "M    ", "X    "};

int caracteres(const std::string &s) { return static_cast<int>(Caracteres(s)); }

bool soloDigitos(const std::string &s)
{
    for (char c : s) {
        if (c < '0' || c > '9')
            return false;
    }
    return true;
}

void compruebaFormato(const std::string &codigo, const std::string &texto)
{
    for (bool agrupado : {false, true}) {
        const std::string una = FormateaCampo(codigo, texto, agrupado);
        COMPRUEBA(EsUtf8(una), "formatting broke UTF-8");
        COMPRUEBA(FormateaCampo(codigo, una, agrupado) == una, "%s: «%s» → «%s» is not stable", codigo.c_str(),
                  texto.c_str(), una.c_str());
    }
    const TipoCampo tipo = TipoDeCodigo(codigo);
    if (tipo != TipoCampo::Entero && tipo != TipoCampo::Decimal && tipo != TipoCampo::DecimalLibre)
        return;
    // Leaving and entering again gives the editing form that entering gave.
    const std::string mostrado = FormateaCampo(codigo, texto, true);
    const std::string editado = FormateaCampo(codigo, texto, false);
    COMPRUEBA(FormateaCampo(codigo, mostrado, false) == editado, "%s: «%s» shown «%s», edited «%s»", codigo.c_str(),
              texto.c_str(), mostrado.c_str(), editado.c_str());
    const ImporteLeido a = LeeImporte(mostrado, EstiloImporte::Pantalla);
    const ImporteLeido b = LeeImporte(editado, EstiloImporte::Pantalla);
    COMPRUEBA(a.estado == b.estado && a.valor == b.valor, "%s: «%s» and «%s» differ in value", codigo.c_str(),
              mostrado.c_str(), editado.c_str());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *datos, std::size_t tamano)
{
    if (tamano < 2)
        return 0;
    const std::string codigo = kCodigos[datos[0] % (sizeof kCodigos / sizeof *kCodigos)];
    const int maxLength = datos[1] & 1 ? 0 : MaxLength(codigo).value_or(0);
    const TipoCampo tipo = TipoDeCodigo(codigo);
    EstadoTexto e;
    for (std::size_t i = 2; i < tamano; ++i) {
        const int largo = caracteres(e.texto);
        const std::uint8_t op = datos[i];
        if (op == 0x00 && i + 2 < tamano) {  // a click or a drag: caret and selection
            e.cursor = datos[i + 1] % (largo + 1);
            e.selInicio = e.cursor;
            e.selLargo = datos[i + 2] % (largo - e.cursor + 1);
            i += 2;
            continue;
        }
        if (op == 0x01) {  // the focus leaves the field and comes back
            compruebaFormato(codigo, e.texto);
            e.texto = FormateaCampo(codigo, FormateaCampo(codigo, e.texto, true), false);
            e.cursor = 0;
            e.selInicio = 0;
            e.selLargo = caracteres(e.texto);
            continue;
        }
        char32_t tecla = op;
        if (op == 0x02 && i + 2 < tamano) {  // a character beyond Latin-1
            tecla = static_cast<char32_t>(0x100 + (datos[i + 1] << 8 | datos[i + 2]));
            if (tecla >= 0xD800 && tecla <= 0xDFFF)
                tecla += 0x10000;
            i += 2;
        }
        const ResultadoTecla r = TeclaCampo(codigo, e, tecla, maxLength);
        const int nuevo = caracteres(r.texto);
        COMPRUEBA(EsUtf8(r.texto), "key %u broke UTF-8", static_cast<unsigned>(tecla));
        COMPRUEBA(r.cursor >= 0 && r.cursor <= nuevo, "caret %d outside «%s»", r.cursor, r.texto.c_str());
        if (tecla == kTeclaIntro || tipo == TipoCampo::Lista)
            COMPRUEBA(!r.aceptada && r.texto == e.texto, "Enter or a list field changed the text");
        if (r.aceptada && tecla >= 32 && maxLength > 0)
            COMPRUEBA(nuevo <= std::max(maxLength, largo), "«%s» is longer than %d", r.texto.c_str(), maxLength);
        if ((tipo == TipoCampo::Entero || tipo == TipoCampo::Digitos) && soloDigitos(e.texto))
            COMPRUEBA(soloDigitos(r.texto), "«%s» in a digits field", r.texto.c_str());
        e.texto = r.texto;
        e.cursor = r.cursor;
        e.selInicio = r.cursor;
        e.selLargo = 0;
    }
    compruebaFormato(codigo, e.texto);
    COMPRUEBA(NormalizaFecha(NormalizaFecha(e.texto)) == NormalizaFecha(e.texto), "date completion is not stable");
    return 0;
}
