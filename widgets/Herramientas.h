// The tools every screen can open: the calculator (F4 in a field) and the euro converter
// (Ctrl+E, the euro images). The widgets and the screens open them through here, and the
// program plugs the real ones in once at start, so that nothing below tools/ includes it.
// Until then, and in the tests that plug nothing, F4 and Ctrl+E do nothing.
#pragma once

#include <QString>

#include <functional>
#include <optional>

class QWidget;

class Herramientas {
public:
    // Starts on the field's value ("0" when it is not a number); the result text, or nothing
    // when it was closed without one.
    using Calculadora = std::function<std::optional<QString>(const QString &valor, QWidget *padre)>;
    using ConversorEuro = std::function<void(QWidget *padre)>;

    static void instala(Calculadora calculadora, ConversorEuro conversor);

    static bool hayCalculadora();
    static std::optional<QString> calculadora(const QString &valor, QWidget *padre);
    static void conversorEuro(QWidget *padre);
};
