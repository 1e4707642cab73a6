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
