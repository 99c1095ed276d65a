#pragma once
// Where the game keeps the files it writes (the hall of fame and the settings).

#include <string>

namespace vorblin {

// The program's folder when files can be created there, which is how several machines
// that start the game from one shared folder share its hall of fame; otherwise (a copy
// installed where the player cannot write) the player's own data folder, created if need be.
std::string DataFolder();

// The player's own data folder, created if need be; "" when there is none. Results the
// shared table could not take wait here, never in the shared folder.
std::string PlayerDataFolder();

}  // namespace vorblin
