// Message boxes with the program's Spanish titles, icons and Sí/No buttons. Their texts are
// always plain text: they quote values from files and typing, which Qt would otherwise take
// for rich text (with links that open). Tests answer the next box in advance with
// setNextAnswer, so a modal box never blocks an offscreen run.
#pragma once

#include <QString>

class QWidget;

class MensajeBox {
public:
    enum Respuesta { Ninguna, Si, No, Aceptar, Cancelar };

    // Information icon, one OK button, title "Información" unless another is given.
    static void informacion(QWidget *padre, const QString &texto, const QString &titulo = QStringLiteral("Información"));
    // Question icon, Sí and No; true for Sí.
    static bool pregunta(QWidget *padre, const QString &titulo, const QString &texto, bool noPorDefecto = false);
    // Question icon, "&Sí" (the default), "&No" and "Cancelar" (also Escape and the box's
    // close button): Si, No or Cancelar. An answer given in advance other than Si or No
    // counts as Cancelar.
    static Respuesta preguntaConCancelar(QWidget *padre, const QString &titulo, const QString &texto);

    // The answer the next box gets without being shown; Ninguna shows it again.
    static void setNextAnswer(Respuesta r);
    // What the last box said (shown or answered in advance), for the tests.
    static QString ultimoTitulo();
    static QString ultimoTexto();
    static void olvidaUltimo();

private:
    static Respuesta s_siguiente;
    static QString s_titulo, s_texto;
};
