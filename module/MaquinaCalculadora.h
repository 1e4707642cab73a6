// The desk calculator opened with F4: a state machine fed with button presses that keeps the
// display text. The screen maps keys and clicks to `pulsa` and shows `Readout()`.
//
// Arithmetic is double precision on purpose, not the money type: the calculator reads its
// operands back from the display text, combines them in double and shows the result with
// 15 significant digits, as a desk calculator does. Its result is not an amount until the
// field it goes back to reads it as one (and rounds it there).
//
// The display uses the Spanish decimal comma and keeps the separator even for whole numbers
// while a number is being typed ("0,", "25,", "-3,"); results show without it ("12", "0,3",
// "1,23456789012346E+15").
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace simulador {

inline constexpr const char *kAvisoDivisionPorCero = "No se puede dividir por cero.";

// The calculator's buttons, by their control names.
enum class Boton {
    Number,       // index: the digit 0-9
    Operator,     // index: 0 "/", 1 "+", 2 "x", 3 "-", 4 "="
    PDecimal,     // "."
    Percent,      // "%"
    Cancel,       // "C"
    CancelEntry,  // "CE"
    Importar,     // "V": the field's value into the display
};

struct Pulsacion {
    Boton boton;
    int indice = 0;
};

// Operator indices, in the order of the Operator buttons.
inline constexpr int kDividir = 0, kSumar = 1, kMultiplicar = 2, kRestar = 3, kIgual = 4;

// The keyboard map: which button a typed character clicks, if any.
std::optional<Pulsacion> BotonDeTecla(char32_t caracter);

// A field's text as a number in the Spanish form (grouping dots allowed): the test for
// enabling "V" and "Aceptar".
bool EsNumerico(std::string_view texto);

// What F4 in a field hands to the calculator: the field's text when it is numeric, else "0".
std::string ValorParaCalculadora(std::string_view textoCampo);

class MaquinaCalculadora {
public:
    // The kind of the last input.
    enum class Entrada {
        NONE,  // nothing yet
        NUMS,  // a digit or the decimal point
        NEG,   // a minus sign typed as the sign of a number
        OPS,   // an operator
        Ops,   // percent
        CE,    // clear entry
    };
    enum class Aviso { Ninguno, DivisionPorCero };

    // `ValorCampo` is the field's value as text; "V" and "Aceptar" work only when it is numeric.
    explicit MaquinaCalculadora(std::string ValorCampo = {});

    // One button press. Only an operator (or Aceptar, which applies "=") can raise a warning,
    // which the screen shows before it shows the new display.
    Aviso pulsa(Pulsacion p);
    Aviso pulsa(Boton b, int indice = 0) { return pulsa(Pulsacion{b, indice}); }

    bool exportaHabilitado() const { return EsNumerico(m_valorCampo); }
    // Aceptar: applies "=" and gives the result in the form a field takes: optional "-",
    // digits without grouping, "," and decimals only when there are any, never an exponent
    // ("12", "-6", "0,3", "1234567890123460").
    Aviso acepta(std::string &resultado);

    const std::string &Readout() const { return m_readout; }
    bool HayDecimal() const { return m_hayDecimal; }
    int NumOperandos() const { return m_numOperandos; }
    Entrada UltimaEntrada() const { return m_ultimaEntrada; }
    char OperacionPendiente() const { return m_operacionPendiente; }

private:
    void numero(int digito);
    void decimal();
    Aviso operador(int indice);
    void porcentaje();
    void reinicia();

    std::string m_valorCampo;
    std::string m_readout;
    bool m_hayDecimal = false;
    int m_numOperandos = 0;
    // The operands are taken from the display text, which is only ever used as a number,
    // so they are read at once; a display that is not a number (a lone "-") counts as 0.
    double m_operando1 = 0.0;  // the left operand and running result
    double m_operando2 = 0.0;
    Entrada m_ultimaEntrada = Entrada::NONE;
    char m_operacionPendiente = ' ';  // "/", "+", "x", "-", "=", "%" or blank
};

// What "Aceptar" puts into the field F4 was pressed in. `resultado` is the calculator's
// result text (acepta's, or any plain or exponent number with the decimal comma).
//
// An amount field ("D", "S") takes it rounded to its decimals, halves away from zero, in its
// editing form ("3,33", "-2,35", "12,00"); a number field ("N", "n") takes it rounded to a
// whole number, and no sign. What the field could not hold as typed (more whole digits than
// its length leaves room for; the sign does not count, as the key filter adds it beyond the
// length) is refused with a message, and the field keeps its text. Other fields take no
// result.
struct ResultadoCampo {
    bool ok = false;
    std::string texto;    // the field's new text when ok
    std::string mensaje;  // why not, when not ok
};
ResultadoCampo ResultadoEnCampo(std::string_view resultado, std::string_view codigo);
// The fields F4 opens the calculator on: those that can take its result.
bool AdmiteCalculadora(std::string_view codigo);

// A double as the display shows a result: 15 significant digits, decimal comma, exponent
// form from 1E+15 up and below 1E-04 ("12", "-0,5", "1E-05").
std::string TextoNumero(double v);

// The display text read back as a number: a sign, digits, an optional comma and decimals,
// an optional exponent ("-3,", "0,5", "1,5E+15"). A lone "-" or anything else that is not a
// number gives nothing.
std::optional<double> LeeNumero(std::string_view texto);

}  // namespace simulador
