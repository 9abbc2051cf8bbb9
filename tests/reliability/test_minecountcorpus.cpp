// SPDX-License-Identifier: GPL-3.0-or-later
// Replays every input kept in the fuzzer's corpus, the cases it once found included,
// through the same checks, so that they hold in every build, not only in the fuzz build.
#include "minecountcheck.h"

#include <QDir>
#include <QFile>
#include <QTest>

class tst_MineCountCorpus : public QObject {
    Q_OBJECT
private slots:
    void everyKeptInputKeepsTheRules();
};

void tst_MineCountCorpus::everyKeptInputKeepsTheRules()
{
    const QDir corpus(QStringLiteral(VOLCANELLE_FUZZ_CORPUS));
    const QStringList names = corpus.entryList(QDir::Files, QDir::Name);
    QVERIFY2(names.size() >= 20, qPrintable(corpus.path()));
    for (const QString& name : names) {
        QFile file(corpus.filePath(name));
        QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(name));
        const QByteArray bytes = file.readAll();
        const QString fault = volcanelle::checks::checkMineCountBytes(
            reinterpret_cast<const unsigned char*>(bytes.constData()),
            static_cast<std::size_t>(bytes.size()));
        QVERIFY2(fault.isEmpty(), qPrintable(name + QStringLiteral(": ") + fault));
    }
}

QTEST_GUILESS_MAIN(tst_MineCountCorpus)
#include "test_minecountcorpus.moc"
