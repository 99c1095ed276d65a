#pragma once
// The game's command line, and the names and folders a started copy goes by.

#include <optional>
#include <string>

namespace vorblin {

struct StartOptions {
    // Set when the program ends at once with this status: help or version shown (0), or a
    // command line it does not understand (2).
    std::optional<int> exitStatus;
    // --records-folder, made absolute against the folder the game was started from.
    std::optional<std::string> recordsFolder;
    // Qt's -platform or -display: the player has said where the windows go.
    bool windowSystemNamed = false;
    // --language: the player's choice before the desktop's (empty: the desktop's).
    std::string language;
};

// The application's name, version and desktop id, which the data folder and the desktop's
// menu go by. Before the application object, so that nothing is seen under another name.
void NameApplication();

// Reads the command line before any window exists, so that --help and --version work
// without a display and a mistyped option stops before a window opens. Prints what it has
// to say; Qt's own options (-platform, -display, ...) are left for the application.
StartOptions ParseCommandLine(int argc, const char* const* argv);

// The language of the game's texts: the catalogues beside the executable, chosen by
// --language or the desktop's locale. After the application object, which sets the locale.
void SpeakPlayersLanguage(const StartOptions& options);

// The folder of the hall of fame (the option, else the configuration files, else the
// folder the settings go to); what is wrong with a named folder goes to standard error.
std::string RecordsFolder(const StartOptions& options);

}  // namespace vorblin
