// Calendar dates: those of the item lists, held as the text the professional typed, and the
// day's date as the sheet's status line and the printout write it.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace simulador {

struct Fecha {
    int dia = 0, mes = 0, ano = 0;
    int aaaammdd() const { return ano * 10000 + mes * 100 + dia; }
};

// Reads a date in day-month-year order: "-" or "/" between the parts, one or two digits for
// day and month, two or four for the year (00-29 is 2000-2029, 30-99 is 1930-1999).
// Nothing when the text is not a real calendar date (31-02-2021 included).
std::optional<Fecha> LeeFecha(std::string_view texto);

// Days since 1 January 1970 (negative before), for calendar-day differences.
long DiasCiviles(const Fecha &f);

inline long DiasEntre(const Fecha &desde, const Fecha &hasta) { return DiasCiviles(hasta) - DiasCiviles(desde); }

// "05 de marzo del 2021": the sheet's status line.
std::string FechaLarga(const Fecha &f);
// "sábado, 5 de diciembre de 2026": the printout's heading, weekday first.
std::string FechaImpresion(const Fecha &f);

}  // namespace simulador
