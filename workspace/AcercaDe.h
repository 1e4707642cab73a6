// The about box opened by " Acerca de ... ": the program's name and what it does.
#pragma once

#include <QDialog>
#include <QStringList>

class AcercaDe : public QDialog {
    Q_OBJECT
public:
    explicit AcercaDe(QWidget *parent = nullptr);

    // The features listed, one line each (read by the tests).
    static QStringList funciones();
};
