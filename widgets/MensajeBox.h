// The program's message boxes, the only place that makes one: Spanish titles, icons and
// buttons (Sí/No read so whether or not Qt's translation is installed). Their texts are always
// plain text: they quote values from files and typing, which Qt would otherwise take for rich
// text (with links that open).
//
// Tests cannot click a modal box, so they answer it beforehand with setNextAnswer: while an
// answer is set no box is shown, its title and text are recorded and the answer is taken.
#pragma once

#include <QString>
#include <QStringList>

class QWidget;

class MensajeBox {
public:
    enum Respuesta { Ninguna, Si, No, Aceptar, Cancelar };

    // Information icon, one "Aceptar" button, title "Información" unless another is given.
    static void informacion(QWidget *padre, const QString &texto, const QString &titulo = QStringLiteral("Información"));
    // Warning icon, one "Aceptar" button.
    static void aviso(QWidget *padre, const QString &titulo, const QString &texto);
    // Question icon, Sí and No; true for Sí. Enter answers Sí unless `noPorDefecto`.
    static bool pregunta(QWidget *padre, const QString &titulo, const QString &texto, bool noPorDefecto = false);
    // Question icon, "&Sí" (the default), "&No" and "Cancelar" (also Escape and the box's
    // close button): Si, No or Cancelar. An answer given in advance other than Si or No
    // counts as Cancelar.
    static Respuesta preguntaConCancelar(QWidget *padre, const QString &titulo, const QString &texto);

    // The answer the next box gets without being shown; with `todas`, every box until another
    // answer is set. Ninguna shows the boxes again.
    static void setNextAnswer(Respuesta r, bool todas = false);
    // What the boxes said (shown or answered in advance) since olvidaUltimo, for the tests.
    static QString ultimoTitulo();
    static QString ultimoTexto();
    static QStringList textos();  // oldest first
    static void olvidaUltimo();

private:
    // Records the box; true with the answer in `r` when it was given in advance.
    static bool respondida(const QString &titulo, const QString &texto, Respuesta &r);
};
