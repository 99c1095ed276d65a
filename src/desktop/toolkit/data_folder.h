#pragma once
// Where the game keeps the files it writes (the hall of fame and the settings), and where
// it finds the files it ships.

#include <string>

namespace vorblin {

// An installed copy's files go to the player's own data folder, created if need be. A build
// folder or an unpacked copy keeps them in the program's folder when files can be created
// there, which is how several machines that start the game from one shared folder share
// its hall of fame; otherwise in the player's folder too.
std::string DataFolder();

// The folder whose "sound" folder holds the shipped sounds: the program's folder in a build
// folder, the shared files' folder relative to it in an installed copy.
std::string ShippedFolder();

// The compiled translations (<language>/LC_MESSAGES/vorblin.mo): share/locale in a build
// folder, the prefix's share/locale in an installed copy.
std::string TranslationsFolder();

// The player's own data folder, created if need be; "" when there is none. Results the
// shared table could not take wait here, never in the shared folder.
std::string PlayerDataFolder();

}  // namespace vorblin
