#include "MaquinaCalculadora.h"

#include "Campos.h"
#include "TextoImporte.h"

#include <charconv>
#include <cmath>

namespace simulador {

namespace {

constexpr const char *kCero = "0,";  // zero as the display shows it while typing

// 15 significant digits in fixed notation, decimal comma, trailing zeros dropped.
std::string fijo(double v)
{
    if (v == 0.0 || !std::isfinite(v))
        return "0";
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific, 14);
    const std::string s(buf, r.ptr);  // "-d.ddddddddddddddde+XX"
    const bool negativo = s.front() == '-';
    const std::size_t e = s.find('e');
    std::string digitos;
    for (std::size_t i = negativo ? 1 : 0; i < e; ++i)
        if (s[i] != '.')
            digitos.push_back(s[i]);
    while (digitos.size() > 1 && digitos.back() == '0')
        digitos.pop_back();
    const int exponente = std::stoi(s.substr(e + 1));
    const int enteros = exponente + 1;  // digits before the comma
    std::string out;
    if (enteros <= 0)
        out = "0," + std::string(static_cast<std::size_t>(-enteros), '0') + digitos;
    else if (static_cast<std::size_t>(enteros) >= digitos.size())
        out = digitos + std::string(static_cast<std::size_t>(enteros) - digitos.size(), '0');
    else
        out = digitos.substr(0, static_cast<std::size_t>(enteros)) + "," +
              digitos.substr(static_cast<std::size_t>(enteros));
    return negativo ? "-" + out : out;
}

}  // namespace

bool AdmiteCalculadora(std::string_view codigo)
{
    switch (TipoDeCodigo(codigo)) {
    case TipoCampo::Decimal:
    case TipoCampo::DecimalLibre:
    case TipoCampo::Entero:
    case TipoCampo::Digitos: return true;
    default: return false;
    }
}

ResultadoCampo ResultadoEnCampo(std::string_view resultado, std::string_view codigo)
{
    ResultadoCampo r;
    if (!AdmiteCalculadora(codigo)) {
        r.mensaje = "Este campo no admite el resultado de la calculadora.";
        return r;
    }
    // Worked on the decimal digits, not on a double: "2,345" is exactly half a cent above
    // 2,34 and rounds to 2,35, which the binary 2.345 (2.34499...) would not.
    std::string texto(Recorta(resultado));
    if (texto.find_first_of("Ee") != std::string::npos) {
        const std::optional<double> v = LeeNumero(texto);
        texto = v ? fijo(*v) : std::string();
    }
    std::size_t i = 0;
    const bool negativo = i < texto.size() && texto[i] == '-';
    if (negativo)
        ++i;
    std::string enteros, decimales;
    bool coma = false;
    for (; i < texto.size(); ++i) {
        const char c = texto[i];
        if (c >= '0' && c <= '9')
            (coma ? decimales : enteros).push_back(c);
        else if (c == ',' && !coma)
            coma = true;
        else
            break;
    }
    if (i != texto.size() || (enteros.empty() && decimales.empty())) {
        r.mensaje = "El resultado de la calculadora no es un número.";
        return r;
    }
    const std::size_t lugares = static_cast<std::size_t>(Decimales(codigo));
    const bool redondeaArriba = decimales.size() > lugares && decimales[lugares] >= '5';
    decimales.resize(lugares, '0');
    std::string cifras = (enteros.empty() ? "0" : enteros) + decimales;
    if (redondeaArriba) {  // away from zero: the magnitude goes up, whatever the sign
        std::size_t k = cifras.size();
        while (k > 0 && cifras[k - 1] == '9')
            cifras[--k] = '0';
        if (k == 0)
            cifras.insert(0, 1, '1');
        else
            ++cifras[k - 1];
    }
    enteros = cifras.substr(0, cifras.size() - lugares);
    decimales = cifras.substr(cifras.size() - lugares);
    enteros.erase(0, std::min(enteros.find_first_not_of('0'), enteros.size() - 1));
    const bool cero = enteros == "0" && decimales.find_first_not_of('0') == std::string::npos;

    const int largo = MaxLength(codigo).value_or(0);
    const int cabenEnteros = largo - (lugares > 0 ? static_cast<int>(lugares) + 1 : 0);
    if (largo > 0 && static_cast<int>(enteros.size()) > cabenEnteros) {
        r.mensaje = "El resultado no cabe en este campo, que admite como máximo " + std::to_string(cabenEnteros) +
                    (cabenEnteros == 1 ? " cifra entera" : " cifras enteras") +
                    ". El campo no se ha modificado.";
        return r;
    }
    const TipoCampo tipo = TipoDeCodigo(codigo);
    if (negativo && !cero && (tipo == TipoCampo::Entero || tipo == TipoCampo::Digitos)) {
        r.mensaje = "Este campo no admite números negativos. El campo no se ha modificado.";
        return r;
    }
    r.ok = true;
    r.texto = (negativo && !cero ? "-" : "") + enteros + (lugares > 0 ? "," + decimales : std::string());
    return r;
}

std::optional<Pulsacion> BotonDeTecla(char32_t c)
{
    if (c >= U'0' && c <= U'9')
        return Pulsacion{Boton::Number, static_cast<int>(c - U'0')};
    switch (c) {
    case U'I': case U'i': case U'=': return Pulsacion{Boton::Operator, kIgual};
    case U'X': case U'x': case U'*': return Pulsacion{Boton::Operator, kMultiplicar};
    case U'+': return Pulsacion{Boton::Operator, kSumar};
    case U'-': return Pulsacion{Boton::Operator, kRestar};
    case U'/': return Pulsacion{Boton::Operator, kDividir};
    case U'.': return Pulsacion{Boton::PDecimal};
    case U'P': case U'p': case U'%': return Pulsacion{Boton::Percent};
    case U'C': case U'c': return Pulsacion{Boton::Cancel};
    case U'E': case U'e': return Pulsacion{Boton::CancelEntry};
    case U'V': case U'v': return Pulsacion{Boton::Importar};
    default: return std::nullopt;
    }
}

bool EsNumerico(std::string_view texto)
{
    return LeeImporte(texto, EstiloImporte::Pantalla).ok();
}

std::string ValorParaCalculadora(std::string_view textoCampo)
{
    return EsNumerico(textoCampo) ? std::string(textoCampo) : std::string("0");
}

std::string TextoNumero(double v)
{
    if (v == 0.0)
        return "0";  // -0 too
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, 15);
    std::string s(buf, r.ptr);
    for (char &c : s) {
        if (c == '.')
            c = ',';
        else if (c == 'e')
            c = 'E';
    }
    return s;
}

std::optional<double> LeeNumero(std::string_view texto)
{
    texto = Recorta(texto);
    std::string c;  // the same number in from_chars' form: "." and no "+"
    std::size_t i = 0;
    if (i < texto.size() && (texto[i] == '-' || texto[i] == '+')) {
        if (texto[i] == '-')
            c.push_back('-');
        ++i;
    }
    bool digito = false, coma = false;
    for (; i < texto.size(); ++i) {
        const char ch = texto[i];
        if (ch >= '0' && ch <= '9') {
            digito = true;
            c.push_back(ch);
        } else if (ch == ',' && !coma) {
            coma = true;
            c.push_back('.');
        } else {
            break;
        }
    }
    if (!digito)
        return std::nullopt;
    if (i < texto.size() && (texto[i] == 'E' || texto[i] == 'e')) {
        c.push_back('e');
        ++i;
        if (i < texto.size() && (texto[i] == '-' || texto[i] == '+'))
            c.push_back(texto[i++]);
        const std::size_t inicio = i;
        while (i < texto.size() && texto[i] >= '0' && texto[i] <= '9')
            c.push_back(texto[i++]);
        if (i == inicio)
            return std::nullopt;
    }
    if (i != texto.size())
        return std::nullopt;
    double v = 0.0;
    const auto r = std::from_chars(c.data(), c.data() + c.size(), v);
    if (r.ec != std::errc() || r.ptr != c.data() + c.size())
        return std::nullopt;
    return v;
}

MaquinaCalculadora::MaquinaCalculadora(std::string ValorCampo) : m_valorCampo(std::move(ValorCampo))
{
    reinicia();
}

void MaquinaCalculadora::reinicia()
{
    m_hayDecimal = false;
    m_numOperandos = 0;
    m_ultimaEntrada = Entrada::NONE;
    m_operacionPendiente = ' ';
    m_readout = kCero;
}

MaquinaCalculadora::Aviso MaquinaCalculadora::pulsa(Pulsacion p)
{
    switch (p.boton) {
    case Boton::Number:
        if (p.indice >= 0 && p.indice <= 9)
            numero(p.indice);
        break;
    case Boton::Operator:
        if (p.indice >= kDividir && p.indice <= kIgual)
            return operador(p.indice);
        break;
    case Boton::PDecimal:
        decimal();
        break;
    case Boton::Percent:
        porcentaje();
        break;
    case Boton::Cancel:
        m_operando1 = 0.0;
        m_operando2 = 0.0;
        reinicia();
        break;
    case Boton::CancelEntry:
        m_readout = kCero;
        m_hayDecimal = false;
        m_ultimaEntrada = Entrada::CE;
        break;
    case Boton::Importar: {
        const ImporteLeido v = LeeImporte(m_valorCampo, EstiloImporte::Pantalla);
        if (!v.ok())
            break;  // the button is disabled for a value that is not a number
        // No grouping and the decimal comma, kept even for a whole value as while typing.
        m_readout = FormatoFichero(v.valor);
        if (m_readout.find(',') == std::string::npos)
            m_readout += ',';
        m_ultimaEntrada = Entrada::NUMS;
        break;
    }
    }
    return Aviso::Ninguno;
}

MaquinaCalculadora::Aviso MaquinaCalculadora::acepta(std::string &resultado)
{
    const Aviso a = operador(kIgual);
    resultado = fijo(LeeNumero(m_readout).value_or(0.0));
    return a;
}

void MaquinaCalculadora::numero(int digito)
{
    if (m_ultimaEntrada != Entrada::NUMS) {
        m_readout = kCero;
        m_hayDecimal = false;
    }
    const char d = static_cast<char>('0' + digito);
    if (m_hayDecimal) {
        m_readout.push_back(d);
    } else {
        // The digit goes in front of the separator. A lone zero there is only the
        // placeholder of the empty display: the first digit replaces it ("5," not "05,").
        const std::size_t coma = m_readout.find(',');
        std::string enteros = m_readout.substr(0, coma);
        if (enteros == "0" || enteros == "-0")
            enteros.pop_back();
        m_readout = enteros + d + ',' + (coma == std::string::npos ? std::string() : m_readout.substr(coma + 1));
    }
    if (m_ultimaEntrada == Entrada::NEG)
        m_readout.insert(0, 1, '-');
    m_ultimaEntrada = Entrada::NUMS;
}

void MaquinaCalculadora::decimal()
{
    if (m_ultimaEntrada == Entrada::NEG)
        m_readout = "-0,";
    else if (m_ultimaEntrada != Entrada::NUMS)
        m_readout = kCero;
    m_hayDecimal = true;
    m_ultimaEntrada = Entrada::NUMS;
}

MaquinaCalculadora::Aviso MaquinaCalculadora::operador(int indice)
{
    static constexpr char kCaptions[] = {'/', '+', 'x', '-', '='};
    const char op = kCaptions[indice];
    Aviso aviso = Aviso::Ninguno;
    const std::string T = m_readout;
    if (m_ultimaEntrada == Entrada::NUMS)
        ++m_numOperandos;
    switch (m_numOperandos) {
    case 0:
        if (op == '-' && m_ultimaEntrada != Entrada::NEG) {
            m_readout.insert(0, 1, '-');
            m_ultimaEntrada = Entrada::NEG;
        }
        break;
    case 1:
        m_operando1 = LeeNumero(m_readout).value_or(0.0);
        if (op == '-' && m_ultimaEntrada != Entrada::NUMS && m_operacionPendiente != '=') {
            m_readout = "-";
            m_ultimaEntrada = Entrada::NEG;
        }
        break;
    case 2: {
        m_operando2 = LeeNumero(T).value_or(0.0);
        double r = m_operando1;
        switch (m_operacionPendiente) {
        case '+': r = m_operando1 + m_operando2; break;
        case '-': r = m_operando1 - m_operando2; break;
        case 'x':
        case '%': r = m_operando1 * m_operando2; break;  // the percent came already divided by 100
        case '=': r = m_operando2; break;
        case '/':
            if (m_operando2 == 0.0)
                aviso = Aviso::DivisionPorCero;  // the left operand stays as it was
            else
                r = m_operando1 / m_operando2;
            break;
        default: break;
        }
        // A result beyond double range is dropped like a division by zero, without a word:
        // the running result stays usable.
        if (std::isfinite(r))
            m_operando1 = r;
        m_readout = TextoNumero(m_operando1);
        m_numOperandos = 1;
        break;
    }
    default:
        // More operands than an operation takes (percent pressed twice): nothing is
        // computed until "C" starts over.
        break;
    }
    if (m_ultimaEntrada != Entrada::NEG) {
        m_ultimaEntrada = Entrada::OPS;
        m_operacionPendiente = op;
    }
    return aviso;
}

void MaquinaCalculadora::porcentaje()
{
    m_readout = TextoNumero(LeeNumero(m_readout).value_or(0.0) / 100.0);
    m_ultimaEntrada = Entrada::Ops;
    m_operacionPendiente = '%';
    ++m_numOperandos;
    m_hayDecimal = true;
}

}  // namespace simulador
