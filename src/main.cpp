#include "shell/startup.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication a(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Velmorra"));
    QApplication::setApplicationName(QStringLiteral("Velmorra"));
    return shell::runApplication(a);
}
