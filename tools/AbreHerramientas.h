// How the tools are opened: the screens reach them through the Herramientas hook, which
// InstalaHerramientas points here at start. Both openers block until the dialog closes.
#pragma once

#include <QString>

class QWidget;

// The euro/peseta converter: the euro image of the data and list screens, Ctrl+E, the main
// window's button and the calculator's own euro image. One at a time: asked again while it is
// open (Ctrl+E in its own boxes), it does nothing.
void AbreEuro(QWidget *parent);

// The calculator on the value of the field in which F4 was pressed.
//
// `valorInicial` is the field's value as text: what F4 hands over is the field's text when
// it is numeric and "0" otherwise (simulador::ValorParaCalculadora, in the module's
// MaquinaCalculadora.h, does exactly that). A value that is not numeric, the empty text
// included, opens the calculator with "V" and "Aceptar" disabled: that is how the main window
// opens it, with no field.
//
// Returns "*" when the user cancelled (Cancelar, Escape, closing the window): the field is
// left as it was. Otherwise the result in the field's editing form: an optional "-", digits
// without grouping, the decimal comma and decimals only when there are any, never an
// exponent ("12", "-6", "1234,5", "0,333333333333333"). It is not rounded to the field's
// decimals here: the field does that with its own code (simulador::ResultadoEnCampo), and
// refuses what it cannot hold.
QString AbreCalculadora(const QString &valorInicial, QWidget *parent);

// Plugs both into every field and screen (the Herramientas hook).
void InstalaHerramientas();
