#include "desktop/main/start_options.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QStringList>
#include <cstdlib>
#include <iostream>

#include "core/base/translation.h"
#include "core/records/start_folders.h"
#include "desktop/toolkit/data_folder.h"

namespace vorblin {

namespace {

void Print(std::ostream& out, const QString& text) {
    out << text.toLocal8Bit().constData();
    out.flush();
}

// Options the application object takes for itself: accepted here, hidden from the help.
void AddQtOptions(QCommandLineParser& parser) {
    for (const char* name :
         {"platform", "platformpluginpath", "platformtheme", "plugin", "display", "style",
          "stylesheet", "session", "name", "qwindowgeometry", "qwindowtitle", "qwindowicon"}) {
        QCommandLineOption option(QString::fromLatin1(name), QString(), QStringLiteral("value"));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
    for (const char* name : {"reverse", "nograb", "dograb", "sync", "widgetcount"}) {
        QCommandLineOption option(QString::fromLatin1(name));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
}

}  // namespace

void NameApplication() {
    QCoreApplication::setApplicationName(QStringLiteral("vorblin"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VORBLIN_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral(VORBLIN_APP_ID));
}

StartOptions ParseCommandLine(int argc, const char* const* argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Vorblin Cascade, a falling-block puzzle game. See vorblin(6)."));
    // "-platform xcb" as Qt writes its own options, not as the letters p, l, a, ...
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    // Not addHelpOption(): its --help-all needs the application object, which comes later.
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Displays this help."));
    parser.addOption(help);
    const QCommandLineOption version = parser.addVersionOption();
    const QCommandLineOption records(
        QStringLiteral("records-folder"),
        QStringLiteral("Keep the hall of fame (VorblinFathers.txt) in <folder>, shared with "
                       "every copy pointed there. An empty <folder> keeps it with the "
                       "player's own files."),
        QStringLiteral("folder"));
    parser.addOption(records);
    const QCommandLineOption language(
        QStringLiteral("language"),
        QStringLiteral("Show the game's texts in the language <code> (en, ru, ...) rather "
                       "than the desktop's."),
        QStringLiteral("code"));
    parser.addOption(language);
    AddQtOptions(parser);

    // Without the application object the parser cannot name the program itself.
    const QString usage = parser.helpText().replace(
        QStringLiteral("<executable_name>"),
        QFileInfo(arguments.value(0, QStringLiteral("vorblin"))).fileName());

    StartOptions options;
    const bool understood = parser.parse(arguments);
    if (!understood || !parser.positionalArguments().isEmpty()) {
        const QString error = understood ? QStringLiteral("unexpected argument '%1'")
                                               .arg(parser.positionalArguments().constFirst())
                                         : parser.errorText();
        Print(std::cerr, QStringLiteral("vorblin: %1\n\n%2").arg(error, usage));
        options.exitStatus = 2;
        return options;
    }
    if (parser.isSet(help)) {
        Print(std::cout, usage);
        options.exitStatus = 0;
    } else if (parser.isSet(version)) {
        Print(std::cout, QStringLiteral("vorblin (Vorblin Cascade) %1\n")
                             .arg(QCoreApplication::applicationVersion()));
        options.exitStatus = 0;
    } else if (parser.isSet(records)) {
        const QString folder = parser.value(records);
        // Relative to where the player stood: the game changes its current folder later.
        options.recordsFolder =
            folder.isEmpty()
                ? std::string()
                : QDir::cleanPath(QDir::current().absoluteFilePath(folder)).toStdString();
    }
    options.language = parser.value(language).toStdString();
    options.windowSystemNamed =
        parser.isSet(QStringLiteral("platform")) || parser.isSet(QStringLiteral("display"));
    return options;
}

void SpeakPlayersLanguage(const StartOptions& options) {
    SetUpTranslations(TranslationsFolder(), options.language);
}

std::string RecordsFolder(const StartOptions& options) {
    const RecordsFolderChoice choice =
        ChooseRecordsFolder(options.recordsFolder,
                            ConfigFiles(std::getenv("HOME"), std::getenv("XDG_CONFIG_HOME"),
                                        std::getenv("XDG_CONFIG_DIRS")),
                            DataFolder());
    for (const std::string& problem : choice.problems)
        std::cerr << "Vorblin Cascade: " << problem << "\n";
    return choice.folder;
}

}  // namespace vorblin
