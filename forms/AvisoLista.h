// The message boxes of the list screens: information ("Información") and yes/no questions.
//
// Tests cannot click a modal box, so they may give the answer beforehand: while an answer
// is set no box is shown, the box's text is recorded and the answer is taken.
#pragma once

#include <QString>
#include <QStringList>

#include <optional>

class QWidget;

class AvisoLista {
public:
    static void informacion(QWidget *parent, const QString &texto);
    // Yes/No question with the question icon; true for "Sí". Enter answers "Sí" unless
    // `noPorDefecto`.
    static bool pregunta(QWidget *parent, const QString &titulo, const QString &texto, bool noPorDefecto = false);

    // For tests: answer every box with `si` (information boxes are simply closed) instead of
    // showing it; nothing restores showing.
    static void respuestaAutomatica(std::optional<bool> si) { s_respuesta = si; }
    // Texts of the boxes answered that way, oldest first.
    static QStringList &mostrados() { return s_mostrados; }

private:
    static inline std::optional<bool> s_respuesta;
    static inline QStringList s_mostrados;
};
