// SPDX-License-Identifier: GPL-3.0-or-later
#include "startup/commandline.h"

#include "engine/texts.h"
#include "net/roomcode.h"
#include "netplay/networktexts.h"
#include "netplay/onlinetexts.h"
#include "startup/startuptexts.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <cstdio>
#include <functional>
#include <memory>

namespace volcanelle {

namespace {

constexpr int kRefused = 2;

// Qt writes the help's headings ("Usage", "Options") through its translations, which only
// an application object can load. The game's own application is not built yet on this road
// (and needs a display), so a bare one lives just long enough to write the text.
QString inFrench(const std::function<QString()>& write)
{
    std::unique_ptr<QCoreApplication> temporary;
    if (!QCoreApplication::instance()) {
        static int argc = 1;
        static char name[] = "volcanelle";
        static char* argv[] = {name, nullptr};
        temporary = std::make_unique<QCoreApplication>(argc, argv);
    }
    QTranslator translator;
    const bool loaded =
        translator.load(QLocale(QLocale::French, QLocale::France), QStringLiteral("qtbase"),
                        QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    if (loaded)
        QCoreApplication::installTranslator(&translator);
    QString text = write();
    if (loaded)
        QCoreApplication::removeTranslator(&translator);
    return text;
}

CommandLine refuse(const QString& why)
{
    CommandLine line;
    line.exitCode = kRefused;
    // The reason quotes what was typed, which must not drive the terminal it is written to.
    line.err = QStringLiteral("volcanelle : %1\nEssayez « volcanelle --help » pour la liste des "
                              "options.\n")
                   .arg(withVisibleControls(why));
    return line;
}

// The unknown option `name` as the player typed it: Qt gives only its name, which for "---"
// or the "-" of "-c-" no longer says how it was written.
QString unknownAsTyped(const QStringList& arguments, const QString& name)
{
    for (const QString& argument : arguments.mid(1)) {
        if (argument == QLatin1String("--"))
            break;
        if (argument.startsWith(QLatin1String("--"))) {
            if (argument.mid(2).section(QLatin1Char('='), 0, 0) == name)
                return QStringLiteral("--") + name;
        } else if (argument.startsWith(QLatin1Char('-')) && name.size() == 1 &&
                   argument.indexOf(name, 1) > 0) {
            // A letter of a bundle is named alone; a dash inside one, only with its bundle.
            return name == QLatin1String("-") ? argument : QStringLiteral("-") + name;
        }
    }
    return (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name;
}

// The level that follows --computer or -c, as "--computer=NIVEAU" or as the next argument,
// set apart so that the parser sees a bare option; `arguments` is left without it.
std::optional<QString> takeComputerLevel(QStringList& arguments)
{
    std::optional<QString> level;
    for (int i = 1; i < arguments.size(); ++i) {
        const QString argument = arguments.at(i);
        if (argument == QLatin1String("--"))
            break;
        if (argument.startsWith(QLatin1String("--computer="))) {
            level = argument.mid(int(qstrlen("--computer=")));
            arguments[i] = QStringLiteral("--computer");
        } else if ((argument == QLatin1String("--computer") || argument == QLatin1String("-c")) &&
                   i + 1 < arguments.size() && !arguments.at(i + 1).startsWith(QLatin1Char('-'))) {
            level = arguments.takeAt(i + 1);
        }
    }
    return level;
}

} // namespace

QString withVisibleControls(const QString& text)
{
    QString shown;
    shown.reserve(text.size());
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u == u'\n') {
            shown += QStringLiteral("\\n");
        } else if (u == u'\t') {
            shown += QStringLiteral("\\t");
        } else if (u == 0x1b) {
            shown += QStringLiteral("\\e");
        } else if (u < 0x20 || (u >= 0x7f && u < 0xa0) || c.category() == QChar::Other_Format) {
            // Other control characters, the C1 controls that some terminals obey, and the
            // invisible marks that reorder or hide text.
            shown += QStringLiteral("\\u{%1}").arg(int(u), 0, 16);
        } else {
            shown += c;
        }
    }
    return shown;
}

CommandLine parseCommandLine(const QStringList& typed)
{
    QStringList arguments = typed;
    const std::optional<QString> levelText = takeComputerLevel(arguments);
    QCommandLineParser parser;
    parser.setApplicationDescription(texts::programDescription());
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsCompactedShortOptions);

    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Affiche cette aide."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Affiche la version du jeu."));
    const QCommandLineOption computer(
        {QStringLiteral("c"), QStringLiteral("computer")},
        QStringLiteral("Jouer seul : l'ordinateur tient le joueur 2, au NIVEAU qui suit "
                       "(--computer=NIVEAU ou -c NIVEAU) : %1 ; sans NIVEAU, au dernier niveau "
                       "choisi (%2 la première fois).")
            .arg(levelNames(), levelName(kFirstLevel)));
    const QCommandLineOption computerAsk(
        QStringLiteral("computer-ask"),
        QStringLiteral("Jouer seul, en choisissant le niveau de l'ordinateur dans une boîte."));
    const QCommandLineOption host(QStringLiteral("host"),
                                  QStringLiteral("Héberger un duel en réseau (joueur 1) : "
                                                 "attendre un adversaire."));
    const QCommandLineOption port(
        QStringLiteral("port"),
        QStringLiteral("Port d'écoute de l'hôte (par défaut %1 ; 0 : un port libre).")
            .arg(net::kDefaultPort),
        QStringLiteral("N"));
    const QCommandLineOption join(QStringLiteral("join"),
                                  QStringLiteral("Rejoindre le duel en réseau de l'hôte ADRESSE "
                                                 "(nom, IPv4 ou [IPv6], :PORT si besoin)."),
                                  QStringLiteral("ADRESSE[:PORT]"));
    const QCommandLineOption joinAsk(QStringLiteral("join-ask"),
                                     QStringLiteral("Rejoindre un duel en réseau en demandant "
                                                    "l'adresse de l'hôte, puis le code."));
    const QCommandLineOption code(QStringLiteral("code"),
                                  QStringLiteral("Code à six chiffres donné par l'hôte (sinon "
                                                 "il est demandé)."),
                                  QStringLiteral("NNNNNN"));
    const QCommandLineOption online(QStringLiteral("online"), texts::onlineOption());
    const QCommandLineOption server(QStringLiteral("server"), texts::serverOption(),
                                    QStringLiteral("ADRESSE"));
    const QCommandLineOption room(QStringLiteral("room"), texts::roomOption(),
                                  QStringLiteral("XXXX-XXXX"));
    const QCommandLineOption roomAsk(QStringLiteral("room-ask"), texts::roomAskOption());
    parser.addOptions({help, version, computer, computerAsk, host, port, join, joinAsk, code,
                       online, server, room, roomAsk});

    if (!parser.parse(arguments)) {
        const QStringList unknown = parser.unknownOptionNames();
        if (!unknown.isEmpty()) {
            return refuse(QStringLiteral("option inconnue « %1 ».")
                              .arg(unknownAsTyped(typed, unknown.first())));
        }
        // Qt writes its other refusals (a missing value...) in the language active while
        // parsing: read the line again with the French texts loaded.
        return refuse(inFrench([&parser, &arguments] {
            parser.parse(arguments);
            return parser.errorText();
        }));
    }
    if (!parser.positionalArguments().isEmpty())
        return refuse(
            QStringLiteral("argument inattendu « %1 ».").arg(parser.positionalArguments().first()));

    CommandLine line;
    if (parser.isSet(help)) {
        line.exitCode = 0;
        line.out = inFrench([&parser] { return parser.helpText(); });
        return line;
    }
    if (parser.isSet(version)) {
        line.exitCode = 0;
        line.out = QStringLiteral("Volcanelle %1\n").arg(texts::versionNumber());
        return line;
    }
    Options& options = line.options;
    options.computer = parser.isSet(computer) || parser.isSet(computerAsk);
    options.askLevel = parser.isSet(computerAsk);
    options.host = parser.isSet(host);
    options.join = parser.isSet(join) || parser.isSet(joinAsk);
    options.online = parser.isSet(online);
    if (int(options.computer) + int(options.host) + int(options.join) + int(options.online) > 1 ||
        (parser.isSet(join) && parser.isSet(joinAsk)))
        return refuse(
            QStringLiteral("--computer, --host, --join et --online s'excluent l'un l'autre."));
    for (const auto* only : {&server, &room, &roomAsk}) {
        if (parser.isSet(*only) && !options.online)
            return refuse(texts::onlineOnly(QStringLiteral("--") + only->names().first()));
    }
    if (parser.isSet(room) && parser.isSet(roomAsk))
        return refuse(QStringLiteral("--room donne le code de la salle, --room-ask le demande : "
                                     "l'un ou l'autre."));
    if (parser.isSet(server)) {
        options.server = net::parseServer(parser.value(server));
        if (!options.server)
            return refuse(texts::badServer(parser.value(server)));
    }
    if (parser.isSet(room)) {
        options.room = net::readRoomCode(parser.value(room));
        if (!options.room)
            return refuse(texts::badRoom(parser.value(room)));
    }
    options.askRoom = parser.isSet(roomAsk);
    if (levelText && !levelText->isEmpty()) {
        options.level = levelFromName(levelText->toLower());
        if (!options.level)
            return refuse(QStringLiteral("niveau inconnu « %1 » : %2 sont attendus.")
                              .arg(*levelText, levelNames()));
        if (options.askLevel)
            return refuse(QStringLiteral("--computer-ask demande le niveau dans une boîte : "
                                         "ne le donnez pas aussi."));
    }
    if (parser.isSet(port) && !options.host)
        return refuse(QStringLiteral("--port ne sert qu'avec --host ; pour rejoindre, "
                                     "écrivez --join ADRESSE:PORT."));
    if (parser.isSet(code) && !options.join)
        return refuse(QStringLiteral("--code ne sert qu'avec --join."));
    if (parser.isSet(port)) {
        // 0 lets the system choose a free port, which the host then prints.
        const bool any = parser.value(port) == QStringLiteral("0");
        const std::optional<quint16> number = any ? quint16{0} : net::parsePort(parser.value(port));
        if (!number)
            return refuse(QStringLiteral("port invalide « %1 » : un nombre de 0 à 65535 est "
                                         "attendu.")
                              .arg(parser.value(port)));
        options.port = *number;
    }
    if (parser.isSet(join)) {
        options.endpoint = net::parseEndpoint(parser.value(join));
        if (!options.endpoint)
            return refuse(texts::badAddress(parser.value(join)));
    }
    if (parser.isSet(code)) {
        options.code = net::parseCode(parser.value(code));
        if (!options.code)
            return refuse(texts::badCode());
    }
    return line;
}

CommandLine readCommandLine(int argc, char* argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    if (arguments.isEmpty())
        arguments << QStringLiteral("volcanelle");

    const CommandLine line = parseCommandLine(arguments);
    if (!line.out.isEmpty())
        std::fputs(line.out.toLocal8Bit().constData(), stdout);
    if (!line.err.isEmpty())
        std::fputs(line.err.toLocal8Bit().constData(), stderr);
    return line;
}

} // namespace volcanelle
