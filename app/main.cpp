#include "application.h"
#include "demin.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    volcanelle::prepareApplication();

    volcanelle::demin window;
    if (!window.Form_Load())
        return 0;
    QObject::connect(&window, &volcanelle::demin::quitRequested, &app, [] {
        QApplication::closeAllWindows();
        QApplication::quit();
    });
    window.show();
    return app.exec();
}
