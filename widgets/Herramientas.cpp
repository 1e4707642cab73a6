#include "Herramientas.h"

namespace {
Herramientas::Calculadora s_calculadora;
Herramientas::ConversorEuro s_conversor;
}  // namespace

void Herramientas::instala(Calculadora calculadora, ConversorEuro conversor)
{
    s_calculadora = std::move(calculadora);
    s_conversor = std::move(conversor);
}

bool Herramientas::hayCalculadora() { return static_cast<bool>(s_calculadora); }

std::optional<QString> Herramientas::calculadora(const QString &valor, QWidget *padre)
{
    return s_calculadora ? s_calculadora(valor, padre) : std::nullopt;
}

void Herramientas::conversorEuro(QWidget *padre)
{
    if (s_conversor)
        s_conversor(padre);
}
