#include "AbreHerramientas.h"

#include "Calculadora.h"
#include "Euro.h"
#include "Herramientas.h"

void AbreEuro(QWidget *parent)
{
    // Its boxes are fields like any other, where Ctrl+E asks for the converter once more.
    static bool abierto = false;
    if (abierto)
        return;
    abierto = true;
    Euro euro(parent);
    euro.exec();
    abierto = false;
}

QString AbreCalculadora(const QString &valorInicial, QWidget *parent)
{
    Calculadora calculadora(valorInicial, parent);
    calculadora.exec();
    return calculadora.valorIntercambio();
}

void InstalaHerramientas()
{
    Herramientas::instala(
        [](const QString &valor, QWidget *padre) -> std::optional<QString> {
            const QString r = AbreCalculadora(valor, padre);
            if (r == QLatin1String("*"))
                return std::nullopt;
            return r;
        },
        &AbreEuro);
}
