// SPDX-License-Identifier: GPL-3.0-or-later
// The captions the game writes during play, each at the largest value a duel can reach, must
// lie on one line inside their labels as the players see them: a caption that wraps loses its
// number below the label's edge.

#include "engine/texts.h"
#include "ui/application.h"
#include "window/demin.h"

#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QStyleOptionGroupBox>
#include <QTest>

using namespace volcanelle;

namespace {

// Lays `text` out in `label` as the label draws it, wrapping at word boundaries where the
// label wraps; names what does not fit, or returns an empty string. A label that does not
// wrap (the status panel) needs room for the ink of its glyphs only.
QString overflow(QLabel* label, const QString& text)
{
    const QFontMetrics metrics(label->font());
    QRect room = label->contentsRect();
    room.adjust(std::max(0, label->indent()), 0, 0, 0);
    const auto laidOut = [&metrics, &text](int width, int flags) {
        return metrics.boundingRect(QRect(0, 0, width, 1000), Qt::AlignLeft | Qt::AlignTop | flags,
                                    text);
    };
    const QRect used = label->wordWrap() ? laidOut(room.width(), Qt::TextWordWrap)
                                         : metrics.tightBoundingRect(text);
    const QRect oneLine = label->wordWrap() ? laidOut(10'000, 0) : used;
    if (used.height() > oneLine.height() || used.height() > room.height() ||
        used.width() > room.width())
        return QStringLiteral("\"%1\" in %2: %3 x %4 pixels for %5 x %6")
            .arg(text, label->objectName())
            .arg(used.width())
            .arg(used.height())
            .arg(room.width())
            .arg(room.height());
    return {};
}

} // namespace

class TestCaptions : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { prepareApplication(); }

    void widestCaptionsFitTheirLabels()
    {
        demin window;
        window.show(); // lays the status bar out
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        DuelView& view = window;
        const struct {
            const char* label;
            const char* text;
            QString written;
        } captions[] = {
            {"lblPartie1", "Partie gagnée : 1", texts::roundsWonCaption(1)},
            {"lblPartie1", "Parties gagnées : 999", texts::roundsWonCaption(999)},
            {"lblPartie2", "Parties gagnées : 999", texts::roundsWonCaption(999)},
            {"lblScore(1)", "Score : 1 point", texts::scoreCaption(1)},
            {"lblScore(2)", "Score : 100 points", texts::scoreCaption(100)},
            {"lblMain", "Le joueur n°2 a la main.", texts::turnCaption(2)},
            {"Panel3", "1 bombe restante", texts::minesLeftCaption(1)},
            {"Panel3", "100 bombes restantes", texts::minesLeftCaption(100)},
        };
        for (const auto& caption : captions) {
            const QString text = QString::fromUtf8(caption.text);
            QCOMPARE(caption.written, text);
            const QString name = QLatin1String(caption.label);
            if (name.startsWith(QLatin1String("lblPartie")))
                view.showRoundsWon(name.back().digitValue(), text);
            else if (name.startsWith(QLatin1String("lblScore")))
                view.showScore(name.at(9).digitValue(), text);
            else if (name == QLatin1String("lblMain"))
                view.showTurn(text);
            else
                view.showMinesLeft(text);
            auto* label = window.findChild<QLabel*>(name);
            QVERIFY(label);
            QCOMPARE(label->text(), text);
            const QString problem = overflow(label, text);
            QVERIFY2(problem.isEmpty(), qPrintable(problem));
        }
    }

    // Against the computer: the turn label and the title of the computer's panel.
    void computerCaptionsFit()
    {
        demin window(nullptr, nullptr, demin::Contents::Now, Seats(Seat::Desk, Seat::Computer));
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QString turn = texts::turnCaption(2, texts::Opponent::Computer);
        QCOMPARE(turn, QStringLiteral("L'ordinateur a la main."));
        DuelView& view = window;
        view.showTurn(turn);
        auto* label = window.findChild<QLabel*>(QStringLiteral("lblMain"));
        QVERIFY(label);
        const QString problem = overflow(label, turn);
        QVERIFY2(problem.isEmpty(), qPrintable(problem));

        auto* frame = window.findChild<QGroupBox*>(QStringLiteral("frameJoueur(1)"));
        QVERIFY(frame);
        QCOMPARE(frame->title(), QStringLiteral("L'ordinateur :"));
        QStyleOptionGroupBox option;
        option.initFrom(frame);
        option.text = frame->title();
        option.textAlignment = frame->alignment();
        option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
        const QRect title = frame->style()->subControlRect(QStyle::CC_GroupBox, &option,
                                                           QStyle::SC_GroupBoxLabel, frame);
        QVERIFY2(frame->rect().contains(title), qPrintable(QStringLiteral("%1 x %2 at %3 in %4")
                                                               .arg(title.width())
                                                               .arg(title.height())
                                                               .arg(title.left())
                                                               .arg(frame->width())));
    }
};

QTEST_MAIN(TestCaptions)
#include "test_captions.moc"
