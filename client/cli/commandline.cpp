#include "commandline.h"

#include "accountcommands.h"
#include "clioutput.h"
#include "constants.h"
#include "controlprotocol.h"
#include "passwordreader.h"
#include "servercommands.h"
#include "sessioncommands.h"
#include "settingcommands.h"

#include <QCommandLineParser>

QString CommandLine::usage()
{
    return tr("Usage: kestrova-cli [--json] COMMAND [ARGUMENTS]\n"
              "\n"
              "Commands:\n"
              "  login USER [--password-stdin]   sign in (the password is asked without echo)\n"
              "  logout                          sign out and forget the account's data\n"
              "  account                         the account and its VPN logins\n"
              "  account use LOGIN               connect with another VPN login of the account\n"
              "  servers [TEXT] [--favorites]    the locations, their kind and latency\n"
              "  favorite add|remove NAME        mark or unmark a favourite location\n"
              "  connect [LOCATION]              connect (no location: the last one) and wait\n"
              "  disconnect                      end the connection\n"
              "  reconnect                       down and up again to the same location\n"
              "  status                          the state of the connection\n"
              "  quit                            end the connection and its background session\n"
              "  set NAME VALUE                  protocol udp|tcp|stealth; killswitch, lan, ipv6-block,\n"
              "                                  timezone, autoconnect on|off\n"
              "  get [NAME]                      the settings\n"
              "\n"
              "--json prints one JSON document on standard output.\n"
              "Exit status: 0 done, 1 failed, 2 usage, 3 not signed in, 4 not found,\n"
              "5 sign-in refused, 6 service unreachable, 7 kestrovad not running, 8 busy.");
}

int CommandLine::run(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption json(QStringLiteral("json"));
    const QCommandLineOption passwordStdin(QStringLiteral("password-stdin"));
    const QCommandLineOption favorites(QStringLiteral("favorites"));
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption version(QStringLiteral("version"));
    parser.addOptions({json, passwordStdin, favorites, help, version});
    const CliOutput plain(false);
    if (!parser.parse(arguments)) {
        return plain.error(ControlProtocol::Usage, parser.errorText() + QLatin1Char('\n') + usage());
    }
    if (parser.isSet(help)) {
        plain.line(usage());
        return ControlProtocol::Ok;
    }
    if (parser.isSet(version)) {
        plain.line(QStringLiteral("kestrova-cli %1").arg(Constants::VersionText));
        return ControlProtocol::Ok;
    }
    const CliOutput out(parser.isSet(json));
    QStringList words = parser.positionalArguments();
    if (words.isEmpty()) {
        return out.error(ControlProtocol::Usage, usage());
    }
    const QString command = words.takeFirst();
    const auto wrongArguments = [&] {
        return out.error(ControlProtocol::Usage,
                         tr("Wrong arguments for %1.").arg(command) + QLatin1Char('\n') + usage());
    };
    // Options that belong to one command only.
    if ((parser.isSet(passwordStdin) && command != QLatin1String("login")) ||
        (parser.isSet(favorites) && command != QLatin1String("servers"))) {
        return wrongArguments();
    }

    if (command == QLatin1String("login")) {
        if (words.size() != 1) {
            return wrongArguments();
        }
        std::optional<QString> password;
        if (parser.isSet(passwordStdin)) {
            password = PasswordReader::fromStdin();
        } else if (PasswordReader::stdinIsTerminal()) {
            password = PasswordReader::fromTerminal(tr("Password: "));
        } else {
            return out.error(ControlProtocol::Usage,
                             tr("No terminal to ask for the password: give it with --password-stdin."));
        }
        return AccountCommands(out).login(words.first(), password.value_or(QString()));
    }
    if (command == QLatin1String("logout") && words.isEmpty()) {
        return AccountCommands(out).logout();
    }
    if (command == QLatin1String("account")) {
        if (words.isEmpty()) {
            return AccountCommands(out).show();
        }
        if (words.size() == 2 && words.first() == QLatin1String("use")) {
            return AccountCommands(out).use(words.last());
        }
        return wrongArguments();
    }
    if (command == QLatin1String("servers") && words.size() <= 1) {
        return ServerCommands(out).list(words.value(0), parser.isSet(favorites));
    }
    if (command == QLatin1String("favorite") && words.size() == 2 &&
        (words.first() == QLatin1String("add") || words.first() == QLatin1String("remove"))) {
        return ServerCommands(out).favorite(words.first() == QLatin1String("add"), words.last());
    }
    if (command == QLatin1String("set") && words.size() == 2) {
        return SettingCommands(out).set(words.first(), words.last());
    }
    if (command == QLatin1String("get") && words.size() <= 1) {
        return SettingCommands(out).get(words.value(0));
    }
    SessionCommands session(out, program_);
    if (command == QLatin1String("connect") && words.size() <= 1) {
        return session.connectTo(words.value(0));
    }
    if (words.isEmpty()) {
        if (command == QLatin1String("disconnect")) {
            return session.disconnect();
        }
        if (command == QLatin1String("reconnect")) {
            return session.reconnect();
        }
        if (command == QLatin1String("status")) {
            return session.status();
        }
        if (command == QLatin1String("quit")) {
            return session.quit();
        }
    }
    if (QStringList{"logout", "servers", "favorite", "set", "get", "connect", "disconnect", "reconnect",
                    "status", "quit"}
            .contains(command)) {
        return wrongArguments();
    }
    return out.error(ControlProtocol::Usage,
                     tr("Unknown command %1.").arg(command) + QLatin1Char('\n') + usage());
}
