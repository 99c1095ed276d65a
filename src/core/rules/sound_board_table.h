#pragma once
// The game's sounds, one row each: the one list that the code (channels, default files,
// the settings window's list), the build (cmake/ui.cmake: the files it makes and installs),
// the sound generator (scripts/make_sounds.sh: names and peaks) and the tests read. CMake and
// the script parse the rows as text, so keep each row on one line in this exact form:
//   X(channel, "file", list, variant, "kind", peak, "label")
// channel  the event channel (the order of the rows is the order the channels are created)
// file     the shipped WAV below sound/, without ".WAV"; make_sounds.sh needs a recipe for it
// list     the place of the event's entry in the settings window's list, 1 first
// variant  1 or 2: the entry's first or second variant (two variants share one label)
// kind     sounds of one kind never sound together: the variants of one event, and the moves,
//          one key press each; the headroom test sums the loudest of every kind
// peak     the file's highest sample, as a fraction of full scale
// label    the entry as the settings window lists it
// A new channel goes at the end; its settings record is written after every older line.

// clang-format off
#define VORBLIN_EVENT_SOUNDS(X) \
    X(mDown1,    "down1",    4, 1, "landing", 0.16, "Приземление") \
    X(mLeft1,    "left1",    7, 1, "move",    0.12, "Влево") \
    X(mRight1,   "right1",   8, 1, "move",    0.12, "Вправо") \
    X(mRotate1,  "rotate1",  6, 1, "move",    0.12, "Вращение") \
    X(mDrop1,    "drop1",    5, 1, "drop",    0.14, "Бросить") \
    X(mDelLin1,  "dellin1",  3, 1, "lines",   0.12, "Удаление линиий") \
    X(mVorblin1, "vorblin1", 2, 1, "vorblin", 0.08, "Появление Vorblin-фигурки") \
    X(mDrop2,    "drop2",    5, 2, "drop",    0.14, "Бросить") \
    X(mDown2,    "down2",    4, 2, "landing", 0.16, "Приземление") \
    X(mInverse1, "inverse1", 1, 1, "move",    0.12, "Инверсия")

// The looping background tune, in the rows' form; it sounds with everything else.
#define VORBLIN_MUSIC_SOUND(X) \
    X(Bkg,       "bkgmusic", 0, 0, "music",   0.32, "")
// clang-format on
