// SPDX-License-Identifier: GPL-3.0-or-later
// Thousands of rounds played at random against a model of the rules. Set
// VOLCANELLE_SOAK_ROUNDS for a longer run and VOLCANELLE_SOAK_SEED to replay another duel.
#include "randomplay.h"

#include <QElapsedTimer>
#include <QTest>

using volcanelle::testing::PlayFigures;
using volcanelle::testing::RandomPlay;

namespace {

constexpr long long kDefaultRounds = 10'000;
constexpr std::uint32_t kDefaultSeed = 20061208;

long long fromEnvironment(const char* name, long long fallback)
{
    bool ok = false;
    const long long value = qEnvironmentVariable(name).toLongLong(&ok);
    return ok && value > 0 ? value : fallback;
}

} // namespace

class tst_RandomPlay : public QObject {
    Q_OBJECT
private slots:
    void roundsPlayedAtRandomKeepEveryRule();
};

void tst_RandomPlay::roundsPlayedAtRandomKeepEveryRule()
{
    const long long rounds = fromEnvironment("VOLCANELLE_SOAK_ROUNDS", kDefaultRounds);
    const auto seed =
        static_cast<std::uint32_t>(fromEnvironment("VOLCANELLE_SOAK_SEED", kDefaultSeed));

    QElapsedTimer clock;
    clock.start();
    RandomPlay play(seed);
    const PlayFigures figures = play.run(rounds);
    qInfo("seed %u: %lld rounds played to their end, %lld abandoned by \"Nouvelle manche\", "
          "%lld clicks, %lld refused entries, each mine count finished at least %d times, "
          "in %lld ms",
          seed, figures.roundsFinished, figures.roundsAbandoned, figures.clicks,
          figures.refusedEntries, figures.fewestFinishedPerCount, clock.elapsed());

    QVERIFY2(figures.failure.isEmpty(), qPrintable(figures.failure));
    QCOMPARE(figures.roundsFinished, rounds);
    QVERIFY(figures.roundsAbandoned > 0);
    QVERIFY(figures.refusedEntries > 0);
    // Every count from 30 to 100 has been played to its end.
    QVERIFY(figures.fewestFinishedPerCount >= 1);
}

QTEST_GUILESS_MAIN(tst_RandomPlay)
#include "test_randomplay.moc"
