#include "MensajeBox.h"

#include <QAbstractButton>
#include <QMessageBox>

#include <utility>

namespace {
MensajeBox::Respuesta s_siguiente = MensajeBox::Ninguna;
bool s_todas = false;
QString s_titulo;
QStringList s_textos;

int muestra(QWidget *padre, QMessageBox::Icon icono, const QString &titulo, const QString &texto,
            QMessageBox::StandardButtons botones, QMessageBox::StandardButton porDefecto)
{
    QMessageBox caja(icono, titulo, texto, botones, padre);
    caja.setTextFormat(Qt::PlainText);  // texts from files and typing: a "<a href" stays text
    // The buttons read Spanish whether or not Qt's translation is installed.
    const std::pair<QMessageBox::StandardButton, const char *> nombres[] = {
        {QMessageBox::Ok, "Aceptar"}, {QMessageBox::Yes, "&Sí"}, {QMessageBox::No, "&No"},
        {QMessageBox::Cancel, "Cancelar"}};
    for (const auto &[boton, nombre] : nombres)
        if (QAbstractButton *b = caja.button(boton))
            b->setText(QString::fromUtf8(nombre));
    caja.setDefaultButton(porDefecto);
    if (botones & QMessageBox::Cancel)
        caja.setEscapeButton(QMessageBox::Cancel);
    return caja.exec();
}
}  // namespace

void MensajeBox::setNextAnswer(Respuesta r, bool todas)
{
    s_siguiente = r;
    s_todas = todas && r != Ninguna;
}
QString MensajeBox::ultimoTitulo() { return s_titulo; }
QString MensajeBox::ultimoTexto() { return s_textos.isEmpty() ? QString() : s_textos.last(); }
QStringList MensajeBox::textos() { return s_textos; }
void MensajeBox::olvidaUltimo()
{
    s_titulo.clear();
    s_textos.clear();
}

bool MensajeBox::respondida(const QString &titulo, const QString &texto, Respuesta &r)
{
    s_titulo = titulo;
    if (s_textos.size() == 100)  // a record for the tests, not a log: the program runs for days
        s_textos.removeFirst();
    s_textos << texto;
    r = s_siguiente;
    if (!s_todas)
        s_siguiente = Ninguna;
    return r != Ninguna;
}

void MensajeBox::informacion(QWidget *padre, const QString &texto, const QString &titulo)
{
    Respuesta r;
    if (!respondida(titulo, texto, r))
        muestra(padre, QMessageBox::Information, titulo, texto, QMessageBox::Ok, QMessageBox::Ok);
}

void MensajeBox::aviso(QWidget *padre, const QString &titulo, const QString &texto)
{
    Respuesta r;
    if (!respondida(titulo, texto, r))
        muestra(padre, QMessageBox::Warning, titulo, texto, QMessageBox::Ok, QMessageBox::Ok);
}

bool MensajeBox::pregunta(QWidget *padre, const QString &titulo, const QString &texto, bool noPorDefecto)
{
    Respuesta r;
    if (respondida(titulo, texto, r))
        return r == Si;
    return muestra(padre, QMessageBox::Question, titulo, texto, QMessageBox::Yes | QMessageBox::No,
                   noPorDefecto ? QMessageBox::No : QMessageBox::Yes) == QMessageBox::Yes;
}

MensajeBox::Respuesta MensajeBox::preguntaConCancelar(QWidget *padre, const QString &titulo, const QString &texto)
{
    Respuesta r;
    if (respondida(titulo, texto, r))
        return r == Si || r == No ? r : Cancelar;
    const auto botones = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    switch (muestra(padre, QMessageBox::Question, titulo, texto, botones, QMessageBox::Yes)) {
    case QMessageBox::Yes: return Si;
    case QMessageBox::No: return No;
    default: return Cancelar;
    }
}
