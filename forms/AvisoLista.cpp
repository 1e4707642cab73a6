#include "AvisoLista.h"

#include "ListaColumnas.h"
#include "TextoQt.h"

#include <QMessageBox>
#include <QPushButton>

void AvisoLista::informacion(QWidget *parent, const QString &texto)
{
    if (s_respuesta) {
        s_mostrados << texto;
        return;
    }
    QMessageBox box(QMessageBox::Information, aQt(simulador::kTituloInformacion), texto, QMessageBox::Ok, parent);
    box.setTextFormat(Qt::PlainText);  // quotes typed values
    box.exec();
}

bool AvisoLista::pregunta(QWidget *parent, const QString &titulo, const QString &texto, bool noPorDefecto)
{
    if (s_respuesta) {
        s_mostrados << texto;
        return *s_respuesta;
    }
    QMessageBox box(QMessageBox::Question, titulo, texto, QMessageBox::Yes | QMessageBox::No, parent);
    box.setTextFormat(Qt::PlainText);
    // Qt's own texts are English unless a translation is loaded.
    box.button(QMessageBox::Yes)->setText(QStringLiteral("Sí"));
    box.button(QMessageBox::No)->setText(QStringLiteral("No"));
    box.setDefaultButton(noPorDefecto ? QMessageBox::No : QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}
