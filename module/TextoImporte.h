// Amounts as text: the sheet's Spanish display forms and the saved file's plain form.
#pragma once

#include "Money.h"

#include <string>
#include <string_view>

namespace simulador {

// "#,##0.00": grouping dots, decimal comma, two decimals halves away from zero ("0,00" for zero).
std::string FormatoImporte(Money m);
// "#,##0.00;-#,##0.00;#;#": as FormatoImporte, but an empty text for zero.
std::string FormatoResultado(Money m);
// The saved file's form: no grouping, decimal comma, trailing zeros dropped, "0" for zero
// ("1234,5", "-0,0001").
std::string FormatoFichero(Money m);

// How a text separates thousands and decimals.
enum class EstiloImporte {
    Pantalla,  // the sheet and [Varios]: "." groups thousands, "," is the decimal comma
    Fichero,   // amounts inside the file's records: "," is decimal, and "." too when there is no ","
};

enum class Lectura { Correcto, NoEsImporte, FueraDeRango };

struct ImporteLeido {
    Lectura estado = Lectura::NoEsImporte;
    Money valor;
    bool ok() const { return estado == Lectura::Correcto; }
};

// Reads an amount: blanks around it, an optional sign, digits, at most one decimal
// separator. More than four decimals round to four, ties to even. An empty text is not an
// amount: callers decide what an empty field means.
ImporteLeido LeeImporte(std::string_view texto, EstiloImporte estilo);

// Trims blanks (spaces and tabs) at both ends.
std::string_view Recorta(std::string_view s);

}  // namespace simulador
