// SPDX-License-Identifier: GPL-3.0-or-later
// Draws the cell pictures and the icon into the folder given on the command line:
//   pictures/1.jpg ... pictures/10.jpg (25 x 25) and pictures/1@2x.jpg ... (50 x 50),
//   icon.png (32 x 32, 16 colours), icons/16.png ... icons/256.png and icons/scalable.svg.
// Run with QT_QPA_PLATFORM=offscreen where there is no display.

#include "swordsicon.h"
#include "tilepictures.h"

#include <QDir>
#include <QFontInfo>
#include <QGuiApplication>
#include <QImageWriter>
#include <QSaveFile>
#include <cstdio>

namespace {

bool save(const QImage& image, const QString& path, int quality = -1)
{
    QImageWriter writer(path);
    if (quality >= 0) {
        writer.setQuality(quality);
    }
    if (!writer.write(image)) {
        std::fprintf(stderr, "drawpictures: cannot write %s: %s\n", qPrintable(path),
                     qPrintable(writer.errorString()));
        return false;
    }
    return true;
}

bool drawAll(const QDir& target)
{
    if (!target.mkpath(QStringLiteral("pictures")) || !target.mkpath(QStringLiteral("icons"))) {
        std::fprintf(stderr, "drawpictures: cannot create folders in %s\n",
                     qPrintable(target.path()));
        return false;
    }
    bool ok = true;
    for (int number = 1; number <= TilePictures::count; ++number) {
        // Quality 100 keeps the small digits clean and the flat fields exact.
        const QString name = target.filePath(QStringLiteral("pictures/%1").arg(number));
        ok = save(TilePictures::draw(number, 1), name + QStringLiteral(".jpg"), 100) && ok;
        ok = save(TilePictures::draw(number, 2), name + QStringLiteral("@2x.jpg"), 100) && ok;
    }
    ok =
        save(SwordsIcon::drawSixteenColours(32), target.filePath(QStringLiteral("icon.png"))) && ok;
    for (const int size : {16, 24, 32, 48, 64, 128, 256}) {
        const QString name = target.filePath(QStringLiteral("icons/%1.png").arg(size));
        ok = save(SwordsIcon::draw(size), name) && ok;
    }
    QSaveFile svg(target.filePath(QStringLiteral("icons/scalable.svg")));
    if (!svg.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        svg.write(SwordsIcon::drawScalable()) < 0 || !svg.commit()) {
        std::fprintf(stderr, "drawpictures: cannot write %s: %s\n", qPrintable(svg.fileName()),
                     qPrintable(svg.errorString()));
        ok = false;
    }
    return ok;
}

} // namespace

int main(int argc, char* argv[])
{
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: drawpictures <target folder>\n");
        return 2;
    }

    // A substitute face would silently change every digit, so refuse to draw without the real one.
    const QFontInfo face(TilePictures::digitFont());
    if (face.family() != TilePictures::digitFont().family() || !face.bold()) {
        std::fprintf(stderr, "drawpictures: the font \"%s\" bold is missing (found \"%s\")\n",
                     qPrintable(TilePictures::digitFont().family()), qPrintable(face.family()));
        return 1;
    }

    return drawAll(QDir(QString::fromLocal8Bit(argv[1]))) ? 0 : 1;
}
