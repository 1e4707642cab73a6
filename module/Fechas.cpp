#include "Fechas.h"

#include "TextoImporte.h"

namespace simulador {

namespace {

bool bisiesto(int a) { return (a % 4 == 0 && a % 100 != 0) || a % 400 == 0; }

int diasDelMes(int mes, int ano)
{
    static constexpr int kDias[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return mes == 2 && bisiesto(ano) ? 29 : kDias[mes - 1];
}

}  // namespace

std::optional<Fecha> LeeFecha(std::string_view texto)
{
    const std::string_view s = Recorta(texto);
    int partes[3] = {0, 0, 0};
    int digitos[3] = {0, 0, 0};
    int p = 0;
    char separador = '\0';
    for (char c : s) {
        if (c >= '0' && c <= '9') {
            if (++digitos[p] > 4)
                return std::nullopt;
            partes[p] = partes[p] * 10 + (c - '0');
        } else if ((c == '-' || c == '/') && p < 2 && digitos[p] > 0) {
            // Both separators are taken, but one date uses one of them.
            if (separador != '\0' && c != separador)
                return std::nullopt;
            separador = c;
            ++p;
        } else {
            return std::nullopt;
        }
    }
    if (p != 2 || digitos[0] > 2 || digitos[1] > 2 || (digitos[2] != 2 && digitos[2] != 4))
        return std::nullopt;
    Fecha f{partes[0], partes[1], partes[2]};
    if (digitos[2] == 2)
        f.ano += f.ano < 30 ? 2000 : 1900;
    if (f.ano < 1 || f.mes < 1 || f.mes > 12 || f.dia < 1 || f.dia > diasDelMes(f.mes, f.ano))
        return std::nullopt;
    return f;
}

long DiasCiviles(const Fecha &f)
{
    // Days from civil (proleptic Gregorian), era-based.
    const long y = f.ano - (f.mes <= 2 ? 1 : 0);
    const long era = (y >= 0 ? y : y - 399) / 400;
    const long yoe = y - era * 400;
    const long mp = (f.mes + 9) % 12;
    const long doy = (153 * mp + 2) / 5 + f.dia - 1;
    const long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

namespace {
constexpr const char *kMeses[] = {"enero", "febrero", "marzo",      "abril",   "mayo",      "junio",
                                  "julio", "agosto",  "septiembre", "octubre", "noviembre", "diciembre"};
constexpr const char *kDias[] = {"lunes", "martes", "miércoles", "jueves", "viernes", "sábado", "domingo"};

std::string dosCifras(int n) { return (n < 10 ? "0" : "") + std::to_string(n); }
}  // namespace

std::string FechaLarga(const Fecha &f)
{
    if (f.mes < 1 || f.mes > 12)
        return {};
    std::string ano = std::to_string(f.ano);
    ano.insert(0, ano.size() < 4 ? 4 - ano.size() : 0, '0');
    return dosCifras(f.dia) + " de " + kMeses[f.mes - 1] + " del " + ano;
}

std::string FechaImpresion(const Fecha &f)
{
    if (f.mes < 1 || f.mes > 12)
        return {};
    // 1 January 1970 was a Thursday (index 3 from Monday).
    const long desdeLunes = ((DiasCiviles(f) + 3) % 7 + 7) % 7;
    return std::string(kDias[desdeLunes]) + ", " + std::to_string(f.dia) + " de " + kMeses[f.mes - 1] + " de " +
           std::to_string(f.ano);
}

}  // namespace simulador
