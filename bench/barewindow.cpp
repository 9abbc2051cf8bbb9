// SPDX-License-Identifier: GPL-3.0-or-later
// The floor for start-up comparisons: the smallest Qt Widgets program that puts a window on
// screen, with nothing of the game in it.

#include <QApplication>
#include <QWidget>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Qt"));
    window.resize(320, 200);
    window.show();
    return app.exec();
}
