// SPDX-License-Identifier: GPL-3.0-or-later
// A desktop theme sets the application's palette and fonts, before the windows are built
// and again whenever it likes. The game window and the information window are laid out to
// the pixel and must look exactly as they do without one: a dark palette must not put their
// black text on a dark ground, and a larger font must not cut their captions.

#include "fixeddraws.h"
#include "modalanswerer.h"
#include "ui/application.h"
#include "window/demin.h"
#include "window/frmabout.h"
#include "windowprobe.h"

#include <QApplication>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>

using namespace volcanelle;
using namespace volcanelle::testing;

namespace {

// What a dark theme with a large font (as qt6ct or a dark desktop style gives) sets.
void applyDarkTheme()
{
    QPalette dark(QColor(53, 53, 53));
    dark.setColor(QPalette::WindowText, QColor(230, 230, 230));
    dark.setColor(QPalette::ButtonText, QColor(230, 230, 230));
    dark.setColor(QPalette::Text, QColor(230, 230, 230));
    dark.setColor(QPalette::Base, QColor(35, 35, 35));
    QApplication::setPalette(dark);
    const QFont large(QStringLiteral("DejaVu Sans"), 14);
    QApplication::setFont(large);
    QApplication::setFont(large, "QPushButton");
    QApplication::setFont(large, "QMenuBar");
    QApplication::setFont(large, "QLabel");
}

// The window as drawn, with the status bar's clock panels blanked: they follow the time.
QImage drawn(QWidget& window)
{
    QImage image = window.grab().toImage();
    if (auto* main = qobject_cast<demin*>(&window)) {
        QPainter painter(&image);
        for (const char* clock : {"Panel1", "Panel2"}) {
            const QLabel* panel = main->statusBar()->findChild<QLabel*>(QLatin1String(clock));
            painter.fillRect(QRect(panel->mapTo(&window, QPoint(0, 0)), panel->size()),
                             Qt::magenta);
        }
    }
    return image;
}

struct OpenWindows {
    FixedDraws draws{twoMineRows()};
    demin window{&draws};
    ModalAnswerer answerer;
    frmAbout* about = nullptr;

    bool start()
    {
        if (!startDuel(window, answerer, QStringLiteral("30")) || !showActive(window))
            return false;
        window.findChild<QPushButton*>(QStringLiteral("Command2"))->click();
        about = window.aboutWindow();
        settle();
        return about != nullptr;
    }
};

// Where two pictures differ, for the failure message.
QString firstDifference(const QImage& a, const QImage& b)
{
    if (a.size() != b.size())
        return QStringLiteral("sizes %1x%2 and %3x%4")
            .arg(a.width())
            .arg(a.height())
            .arg(b.width())
            .arg(b.height());
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y))
                return QStringLiteral("pixel (%1, %2): %3 against %4")
                    .arg(x)
                    .arg(y)
                    .arg(QColor(a.pixel(x, y)).name(), QColor(b.pixel(x, y)).name());
    return QString();
}

} // namespace

class ThemeTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { prepareApplication(); }

    void aDarkLargeThemeChangesNoPixel()
    {
        auto before = std::make_unique<OpenWindows>();
        QVERIFY(before->start());
        const QImage window = drawn(before->window);
        const QImage about = drawn(*before->about);

        applyDarkTheme();
        settle();
        // Windows already open when the theme changes, and windows built under it.
        QCOMPARE(firstDifference(drawn(before->window), window), QString());
        QCOMPARE(firstDifference(drawn(*before->about), about), QString());
        before.reset();
        settle();
        auto after = std::make_unique<OpenWindows>();
        QVERIFY(after->start());
        QCOMPARE(firstDifference(drawn(after->window), window), QString());
        QCOMPARE(firstDifference(drawn(*after->about), about), QString());

        // The clock panels too keep the window's face.
        const QFont& face = after->window.findChild<QLabel*>(QStringLiteral("lblMain"))->font();
        for (const char* clock : {"Panel1", "Panel2"})
            QCOMPARE(after->window.findChild<QLabel*>(QLatin1String(clock))->font().family(),
                     QFont(face).family());
        after.reset();
        settle();
    }
};

QTEST_MAIN(ThemeTest)
#include "test_themes.moc"
