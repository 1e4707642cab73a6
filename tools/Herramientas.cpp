#include "Herramientas.h"

#include "Calculadora.h"
#include "Euro.h"

void AbreEuro(QWidget *parent)
{
    Euro euro(parent);
    euro.exec();
}

QString AbreCalculadora(const QString &valorInicial, QWidget *parent)
{
    Calculadora calculadora(valorInicial, parent);
    calculadora.exec();
    return calculadora.valorIntercambio();
}

std::optional<QString> CalculadoraParaCampo(const QString &valor, QWidget *parent)
{
    const QString r = AbreCalculadora(valor, parent);
    if (r == QLatin1String("*"))
        return std::nullopt;
    return r;
}
