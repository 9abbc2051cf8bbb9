// SPDX-License-Identifier: GPL-3.0-or-later
#include "startup/commandline.h"

#include <QRegularExpression>
#include <QTest>

using namespace volcanelle;

// The command line is read before any application object or display exists: these run
// with neither.
class CommandLineTest : public QObject {
    Q_OBJECT

private slots:
    void noOptionIsTheTwoPlayerDuel()
    {
        const CommandLine line = parseCommandLine({QStringLiteral("volcanelle")});
        QVERIFY(!line.exitCode);
        QVERIFY(!line.options.computer);
        QVERIFY(line.out.isEmpty() && line.err.isEmpty());
    }

    // Alone, --computer and -c leave the level to the one chosen last; a level follows them
    // after "=" or as the next argument, in any case.
    void computerLongAndShort()
    {
        const struct {
            QStringList arguments;
            std::optional<Level> level;
            bool ask;
        } cases[] = {
            {{QStringLiteral("--computer")}, std::nullopt, false},
            {{QStringLiteral("-c")}, std::nullopt, false},
            {{QStringLiteral("--computer=")}, std::nullopt, false},
            {{QStringLiteral("-c"), QStringLiteral("-v")}, std::nullopt, false},
            {{QStringLiteral("--computer=difficile")}, Level::Difficile, false},
            {{QStringLiteral("--computer"), QStringLiteral("moyen")}, Level::Moyen, false},
            {{QStringLiteral("-c"), QStringLiteral("facile")}, Level::Facile, false},
            {{QStringLiteral("-c"), QStringLiteral("Difficile")}, Level::Difficile, false},
            {{QStringLiteral("--computer-ask")}, std::nullopt, true},
        };
        for (const auto& [arguments, level, ask] : cases) {
            const CommandLine line =
                parseCommandLine(QStringList{QStringLiteral("volcanelle")} + arguments);
            const QByteArray name = arguments.join(QLatin1Char(' ')).toUtf8();
            if (arguments.contains(QStringLiteral("-v"))) {
                QCOMPARE(line.exitCode, 0); // the version, which comes first
                continue;
            }
            QVERIFY2(!line.exitCode, name);
            QVERIFY2(line.options.computer, name);
            QVERIFY2(line.options.level == level, name);
            QVERIFY2(line.options.askLevel == ask, name);
        }
    }

    void helpAndVersionInFrench()
    {
        const CommandLine help =
            parseCommandLine({QStringLiteral("volcanelle"), QStringLiteral("--help")});
        QCOMPARE(help.exitCode, 0);
        QVERIFY2(help.out.startsWith(QStringLiteral("Utilisation : volcanelle [options]\n")),
                 qPrintable(help.out));
        // Qt aligns the descriptions on the longest option and wraps the longer ones: any run
        // of blanks, line ends included, between words.
        const auto wrapped = [](const char* text) {
            return QRegularExpression(QRegularExpression::escape(QString::fromUtf8(text))
                                          .replace(QStringLiteral("\\ "), QStringLiteral("\\s+")));
        };
        QVERIFY(help.out.contains(
            wrapped("-c, --computer Jouer seul : l'ordinateur tient le joueur 2, au NIVEAU qui "
                    "suit (--computer=NIVEAU ou -c NIVEAU) : facile, moyen ou difficile ; sans "
                    "NIVEAU, au dernier niveau choisi (moyen la première fois).")));
        QVERIFY(help.out.contains(wrapped("--computer-ask Jouer seul, en choisissant le niveau "
                                          "de l'ordinateur dans une boîte.")));
        QVERIFY(help.out.contains(QRegularExpression(QStringLiteral(
            "--join <ADRESSE\\[:PORT\\]> +Rejoindre le duel en réseau de l'hôte ADRESSE"))));

        const CommandLine version =
            parseCommandLine({QStringLiteral("volcanelle"), QStringLiteral("-v")});
        QCOMPARE(version.exitCode, 0);
        QCOMPARE(version.out, QStringLiteral("Volcanelle 1.00\n"));
    }

    // What the network options accept, IPv6 in brackets with a port included.
    void networkOptions()
    {
        const auto parse = [](const QStringList& arguments) {
            return parseCommandLine(QStringList{QStringLiteral("volcanelle")} + arguments);
        };
        CommandLine line = parse({QStringLiteral("--host")});
        QVERIFY(!line.exitCode && line.options.host);
        QCOMPARE(line.options.port, 49854);
        line = parse({QStringLiteral("--host"), QStringLiteral("--port"), QStringLiteral("65535")});
        QCOMPARE(line.options.port, 65535);
        line = parse({QStringLiteral("--host"), QStringLiteral("--port=0")});
        QVERIFY(!line.exitCode && line.options.port == 0);

        const struct {
            const char* address;
            const char* host;
            int port;
        } joins[] = {{"[::1]:50001", "::1", 50001},
                     {"::1", "::1", 49854},
                     {"127.0.0.1:7", "127.0.0.1", 7},
                     {"jeu.example", "jeu.example", 49854},
                     {"[fe80::1]", "fe80::1", 49854},
                     {"[fe80::1%eth0]:50002", "fe80::1%eth0", 50002},
                     {"::ffff:192.0.2.7", "::ffff:192.0.2.7", 49854}};
        for (const auto& join : joins) {
            line = parse({QStringLiteral("--join"), QString::fromLatin1(join.address),
                          QStringLiteral("--code"), QStringLiteral("004217")});
            QVERIFY2(!line.exitCode && line.options.join && line.options.endpoint, join.address);
            QCOMPARE(line.options.endpoint->host, QString::fromLatin1(join.host));
            QCOMPARE(line.options.endpoint->port, join.port);
            QCOMPARE(line.options.code, 4217u);
        }
        line = parse({QStringLiteral("--join-ask")});
        QVERIFY(!line.exitCode && line.options.join && !line.options.endpoint &&
                !line.options.code);
    }

    // Where a duel server is, as players write it, becomes the WebSocket's address; a room's
    // code is read whatever its case and dash.
    void onlineOptions()
    {
        const auto parse = [](const QStringList& arguments) {
            return parseCommandLine(
                QStringList{QStringLiteral("volcanelle"), QStringLiteral("--online")} + arguments);
        };
        CommandLine line = parse({});
        QVERIFY(!line.exitCode && line.options.online && !line.options.server &&
                !line.options.room && !line.options.askRoom);
        const struct {
            const char* typed;
            const char* url;
        } servers[] = {{"jeu.example", "ws://jeu.example:49855/ws"},
                       {"127.0.0.1:50000", "ws://127.0.0.1:50000/ws"},
                       {"[::1]:7", "ws://[::1]:7/ws"},
                       {"::1", "ws://[::1]:49855/ws"},
                       {"wss://jeu.example/duel", "wss://jeu.example/duel"},
                       {"WS://jeu.example:8080", "ws://jeu.example:8080/ws"}};
        for (const auto& server : servers) {
            line = parse({QStringLiteral("--server"), QString::fromLatin1(server.typed)});
            QVERIFY2(!line.exitCode && line.options.server, server.typed);
            QCOMPARE(line.options.server->toString(), QString::fromLatin1(server.url));
        }
        line = parse({QStringLiteral("--room"), QStringLiteral("k7qm3hxt")});
        QVERIFY(!line.exitCode && line.options.room);
        QCOMPARE(parse({QStringLiteral("--room=K7QM-3HXT")}).options.room, line.options.room);
        QVERIFY(parse({QStringLiteral("--room-ask")}).options.askRoom);
    }

    void refusalsEndWithStatusTwo_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("firstLine");
        QTest::newRow("unknown long") << QStringList{QStringLiteral("--ordinateur")}
                                      << "volcanelle : option inconnue « --ordinateur ».";
        QTest::newRow("unknown short in a bundle")
            << QStringList{QStringLiteral("-cz")} << "volcanelle : option inconnue « -z ».";
        // What was typed, as typed: dashes included, and no control character reaching the
        // terminal.
        QTest::newRow("three dashes")
            << QStringList{QStringLiteral("---")} << "volcanelle : option inconnue « --- ».";
        QTest::newRow("dash in a bundle")
            << QStringList{QStringLiteral("-c-")} << "volcanelle : option inconnue « -c- ».";
        QTest::newRow("escape sequences")
            << QStringList{QStringLiteral("\x1b]0;TITLE\a\x1b[2J")}
            << "volcanelle : argument inattendu « \\e]0;TITLE\\u{7}\\e[2J ».";
        QTest::newRow("C1 control and reordering mark")
            << QStringList{QStringLiteral("--join"), QStringLiteral("h\u009b2J\u202ex")}
            << QStringLiteral("volcanelle : Adresse invalide : « h\\u{9b}2J\\u{202e}x ». "
                              "Écrivez un nom ou une adresse IP, suivi au besoin de :port (par "
                              "exemple [::1]:50000).");
        QTest::newRow("stray argument")
            << QStringList{QStringLiteral("--host"), QStringLiteral("2")}
            << "volcanelle : argument inattendu « 2 ».";
        QTest::newRow("unknown level") << QStringList{QStringLiteral("-c"), QStringLiteral("2")}
                                       << "volcanelle : niveau inconnu « 2 » : facile, moyen ou "
                                          "difficile sont attendus.";
        QTest::newRow("unknown level as typed")
            << QStringList{QStringLiteral("--computer=\x1b[2J")}
            << "volcanelle : niveau inconnu « \\e[2J » : facile, moyen ou difficile sont "
               "attendus.";
        QTest::newRow("level and box")
            << QStringList{QStringLiteral("--computer-ask"), QStringLiteral("--computer=facile")}
            << "volcanelle : --computer-ask demande le niveau dans une boîte : ne le donnez pas "
               "aussi.";
        QTest::newRow("box and host")
            << QStringList{QStringLiteral("--computer-ask"), QStringLiteral("--host")}
            << "volcanelle : --computer, --host, --join et --online s'excluent l'un l'autre.";
        QTest::newRow("port 00") << QStringList{QStringLiteral("--host"),
                                                QStringLiteral("--port=00")}
                                 << "volcanelle : port invalide « 00 » : un nombre de 0 à 65535 "
                                    "est attendu.";
        QTest::newRow("port 65536")
            << QStringList{QStringLiteral("--host"), QStringLiteral("--port=65536")}
            << "volcanelle : port invalide « 65536 » : un nombre de 0 à 65535 est attendu.";
        for (const char* address :
             {"[::1", "[::1]:", "::1:80:x", "a b", "h:0", "h:1x", "[h]:80", "", "-h.example",
              "[::1%]", "[192.0.2.7]:80", "1::2::3", "::g", "[::1]x80", "[::1]80"})
            QTest::newRow(address)
                << QStringList{QStringLiteral("--join"), QString::fromLatin1(address)}
                << QStringLiteral("volcanelle : Adresse invalide : « %1 ». Écrivez un nom ou "
                                  "une adresse IP, suivi au besoin de :port (par exemple "
                                  "[::1]:50000).")
                       .arg(QString::fromLatin1(address));
        QTest::newRow("code of five digits")
            << QStringList{QStringLiteral("--join=h"), QStringLiteral("--code=12345")}
            << "volcanelle : Le code doit comporter exactement six chiffres.";
        // A joiner's port belongs in its address: one given apart is not dropped unseen.
        QTest::newRow("port apart from the address")
            << QStringList{QStringLiteral("--join"), QStringLiteral("h"), QStringLiteral("--port"),
                           QStringLiteral("5000")}
            << "volcanelle : --port ne sert qu'avec --host ; pour rejoindre, écrivez --join "
               "ADRESSE:PORT.";
        QTest::newRow("host and join")
            << QStringList{QStringLiteral("--host"), QStringLiteral("--join=h")}
            << "volcanelle : --computer, --host, --join et --online s'excluent l'un l'autre.";
        for (const char* server : {"http://jeu.example", "ws://", "ws://a@jeu.example",
                                   "ws://jeu.example/?x=1", "wss://jeu.example:0", "a b"})
            QTest::newRow(server)
                << QStringList{QStringLiteral("--online"), QStringLiteral("--server"),
                               QString::fromLatin1(server)}
                << QStringLiteral("volcanelle : Adresse de serveur invalide : « %1 ». Écrivez un "
                                  "nom ou une adresse IP, suivi au besoin de :port (par exemple "
                                  "jeu.example:49855), ou une adresse ws:// ou wss://.")
                       .arg(QString::fromLatin1(server));
        QTest::newRow("look-alike in a room")
            << QStringList{QStringLiteral("--online"), QStringLiteral("--room=K7QM-3HX0")}
            << "volcanelle : Code de salle invalide : « K7QM-3HX0 ». Il compte huit lettres ou "
               "chiffres (sans 0, 1, I ni O), avec ou sans tiret.";
        QTest::newRow("room without online") << QStringList{QStringLiteral("--room=K7QM-3HXT")}
                                             << "volcanelle : --room ne sert qu'avec --online.";
        QTest::newRow("online and join")
            << QStringList{QStringLiteral("--online"), QStringLiteral("--join-ask")}
            << "volcanelle : --computer, --host, --join et --online s'excluent l'un l'autre.";
        QTest::newRow("value on a flag") << QStringList{QStringLiteral("--host=oui")}
                                         << "volcanelle : Valeur inattendue après \"--host\".";
    }

    void refusalsEndWithStatusTwo()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, firstLine);
        const CommandLine line =
            parseCommandLine(QStringList{QStringLiteral("volcanelle")} + arguments);
        QCOMPARE(line.exitCode, 2);
        QVERIFY(line.out.isEmpty());
        QCOMPARE(line.err.section(QLatin1Char('\n'), 0, 0), firstLine);
    }
};

QTEST_APPLESS_MAIN(CommandLineTest)
#include "test_commandline.moc"
