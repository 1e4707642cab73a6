#include "MensajeBox.h"

#include <QAbstractButton>
#include <QMessageBox>

MensajeBox::Respuesta MensajeBox::s_siguiente = MensajeBox::Ninguna;
QString MensajeBox::s_titulo;
QString MensajeBox::s_texto;

void MensajeBox::setNextAnswer(Respuesta r) { s_siguiente = r; }
QString MensajeBox::ultimoTitulo() { return s_titulo; }
QString MensajeBox::ultimoTexto() { return s_texto; }
void MensajeBox::olvidaUltimo()
{
    s_titulo.clear();
    s_texto.clear();
}

void MensajeBox::informacion(QWidget *padre, const QString &texto, const QString &titulo)
{
    s_titulo = titulo;
    s_texto = texto;
    if (s_siguiente != Ninguna) {
        s_siguiente = Ninguna;
        return;
    }
    QMessageBox caja(QMessageBox::Information, titulo, texto, QMessageBox::Ok, padre);
    caja.setTextFormat(Qt::PlainText);  // texts from files and typing: a "<a href" stays text
    caja.button(QMessageBox::Ok)->setText(QStringLiteral("Aceptar"));
    caja.exec();
}

bool MensajeBox::pregunta(QWidget *padre, const QString &titulo, const QString &texto, bool noPorDefecto)
{
    s_titulo = titulo;
    s_texto = texto;
    if (s_siguiente != Ninguna) {
        const bool si = s_siguiente == Si;
        s_siguiente = Ninguna;
        return si;
    }
    QMessageBox caja(QMessageBox::Question, titulo, texto, QMessageBox::Yes | QMessageBox::No, padre);
    caja.setTextFormat(Qt::PlainText);
    // The buttons read Sí/No whether or not Qt's Spanish translation is installed.
    caja.button(QMessageBox::Yes)->setText(QStringLiteral("&Sí"));
    caja.button(QMessageBox::No)->setText(QStringLiteral("&No"));
    caja.setDefaultButton(noPorDefecto ? QMessageBox::No : QMessageBox::Yes);
    return caja.exec() == QMessageBox::Yes;
}

MensajeBox::Respuesta MensajeBox::preguntaConCancelar(QWidget *padre, const QString &titulo, const QString &texto)
{
    s_titulo = titulo;
    s_texto = texto;
    if (s_siguiente != Ninguna) {
        const Respuesta r = s_siguiente == Si || s_siguiente == No ? s_siguiente : Cancelar;
        s_siguiente = Ninguna;
        return r;
    }
    QMessageBox caja(QMessageBox::Question, titulo, texto, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                     padre);
    caja.setTextFormat(Qt::PlainText);  // the text may name a client's file
    caja.button(QMessageBox::Yes)->setText(QStringLiteral("&Sí"));
    caja.button(QMessageBox::No)->setText(QStringLiteral("&No"));
    caja.button(QMessageBox::Cancel)->setText(QStringLiteral("Cancelar"));
    caja.setDefaultButton(QMessageBox::Yes);
    caja.setEscapeButton(QMessageBox::Cancel);
    switch (caja.exec()) {
    case QMessageBox::Yes: return Si;
    case QMessageBox::No: return No;
    default: return Cancelar;
    }
}
