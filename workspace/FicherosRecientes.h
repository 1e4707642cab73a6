// The short list of clients' files opened or saved lately, newest first. It lives in the
// user's settings (QSettings), never in a declaration: moving a client's file to another
// machine carries no trace of the others. The settings are private to the user (folder
// 0700, file 0600).
#pragma once

#include <QString>
#include <QStringList>

class FicherosRecientes {
public:
    static constexpr int kMaximo = 5;

    static QStringList lista();
    // Puts `ruta` first (once), dropping the oldest beyond kMaximo.
    static void anade(const QString &ruta);
    static void quita(const QString &ruta);
    // Qt's file dialogs keep the folders last visited (clients' folders) in the user's
    // QtProject.conf, which Qt would make readable by everyone: made 0600 beforehand.
    static void protegeDialogos();
};
