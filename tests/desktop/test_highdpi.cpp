// SPDX-License-Identifier: GPL-3.0-or-later
// On a screen of two pixels per logical pixel (run with QT_SCALE_FACTOR=2) the window keeps
// its layout in logical pixels and draws every pixel it has: the cell pictures come from the
// double-size files, the covers' bevels fall on whole pixels, and the icon has a drawing of
// its own at twice the size.

#include "duelboard.h"
#include "ui/application.h"
#include "window/demin.h"

#include <QAbstractButton>
#include <QApplication>
#include <QIcon>
#include <QLabel>
#include <QSet>
#include <QTest>

using namespace volcanelle;
using namespace volcanelle::testing;

class TestHighDpi : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QCOMPARE(qApp->devicePixelRatio(), 2.0);
        prepareApplication();
    }

    void picturesAreTheDoubleSizeFiles()
    {
        FixedDraws draws(mineRowsBoard());
        ModalAnswerer answerer;
        demin window(&draws);
        QVERIFY(startShown(window, answerer));
        window.cmdCase_Click(0);   // blank area down to row 11
        window.cmdCase_Click(180); // a mine

        const auto shown = [&window](int index) {
            return window.findChild<QLabel*>(QStringLiteral("imgCase(%1)").arg(index))->pixmap();
        };
        const struct {
            int cell;
            const char* file;
        } cases[] = {{0, ":/pictures/10@2x.jpg"},
                     {165, ":/pictures/2@2x.jpg"},
                     {180, ":/pictures/9@2x.jpg"}};
        for (const auto& c : cases) {
            const QPixmap pixmap = shown(c.cell);
            QCOMPARE(pixmap.devicePixelRatio(), 2.0);
            QCOMPARE(pixmap.size(), QSize(50, 50));
            QCOMPARE(pixmap.deviceIndependentSize(), QSizeF(25, 25));
            QCOMPARE(pixmap.toImage().convertToFormat(QImage::Format_RGB32),
                     QImage(QLatin1String(c.file)).convertToFormat(QImage::Format_RGB32));
        }
    }

    void layoutKeepsItsLogicalSizeAndDrawsEveryPixel()
    {
        FixedDraws draws(mineRowsBoard());
        ModalAnswerer answerer;
        demin window(&draws);
        QVERIFY(startShown(window, answerer));

        // The same logical layout as on an ordinary screen, drawn at twice the pixels.
        QCOMPARE(window.centralWidget()->size(), QSize(547, 409));
        const QPixmap whole = window.grab();
        QCOMPARE(whole.devicePixelRatio(), 2.0);
        QCOMPARE(whole.size(), window.size() * 2);

        // A cover away from the focus: its bevel lines are two pixels thick, on whole pixels,
        // with nothing blended between its five colours.
        auto* cover = window.findChild<QAbstractButton*>(QStringLiteral("cmdCase(112)"));
        QVERIFY(!cover->hasFocus());
        const QImage image = cover->grab().toImage().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(image.size(), QSize(50, 50));
        const QSet<QRgb> bevel{qRgb(212, 208, 200), qRgb(255, 255, 255), qRgb(232, 230, 222),
                               qRgb(128, 128, 128), qRgb(64, 64, 64)};
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                QVERIFY2(bevel.contains(image.pixel(x, y)),
                         qPrintable(QStringLiteral("blended pixel at %1,%2").arg(x).arg(y)));
        // From each edge inwards: logical pixel 0 is the face under the grid line, then the
        // bevel's outer and inner lines, each exactly two device pixels.
        const QRgb face = qRgb(212, 208, 200);
        const QList<QRgb> topLeft{face,
                                  face,
                                  qRgb(255, 255, 255),
                                  qRgb(255, 255, 255),
                                  qRgb(232, 230, 222),
                                  qRgb(232, 230, 222),
                                  face};
        const QList<QRgb> bottomRight{face,
                                      face,
                                      qRgb(64, 64, 64),
                                      qRgb(64, 64, 64),
                                      qRgb(128, 128, 128),
                                      qRgb(128, 128, 128),
                                      face};
        const int middle = 25, last = 49;
        QList<QRgb> top, left, bottom, right;
        for (int depth = 0; depth < topLeft.size(); ++depth) {
            top << image.pixel(middle, depth);
            left << image.pixel(depth, middle);
            bottom << image.pixel(middle, last - depth);
            right << image.pixel(last - depth, middle);
        }
        QCOMPARE(top, topLeft);
        QCOMPARE(left, topLeft);
        QCOMPARE(bottom, bottomRight);
        QCOMPARE(right, bottomRight);
    }

    void iconHasItsOwnDoubleSizeDrawing()
    {
        // Asked for 32 x 32 logical pixels at ratio 2, the icon gives the 64 x 64 drawing,
        // not the 32 x 32 one stretched.
        const QPixmap pixmap = QApplication::windowIcon().pixmap(QSize(32, 32), 2.0);
        QCOMPARE(pixmap.size(), QSize(64, 64));
        QImage drawn = pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
        drawn.setDevicePixelRatio(1.0);
        QCOMPARE(drawn,
                 QImage(QStringLiteral(":/icons/64.png")).convertToFormat(QImage::Format_ARGB32));
        // The 32 x 32 sixteen-colour icon stays the one shown at ratio 1.
        QCOMPARE(QApplication::windowIcon()
                     .pixmap(QSize(32, 32), 1.0)
                     .toImage()
                     .convertToFormat(QImage::Format_ARGB32),
                 QImage(QStringLiteral(":/icon.png")).convertToFormat(QImage::Format_ARGB32));
    }
};

QTEST_MAIN(TestHighDpi)
#include "test_highdpi.moc"
