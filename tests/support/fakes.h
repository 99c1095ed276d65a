#pragma once
// Scripted stand-ins for the game's outside world.

#include <deque>
#include <functional>
#include <sstream>

#include "core/shell/main_shell.h"
#include "core/shell/window_shape.h"

namespace vorblin {

// What a failed comparison prints for an entry: "name=score#id".
inline void PrintTo(const RecordEntry& e, std::ostream* out) {
    *out << e.Name << "=" << e.Score << (e.Id.empty() ? "" : "#" + e.Id);
}

inline void PrintTo(const ShapeRect& r, std::ostream* out) {
    *out << r.left << "," << r.top << "-" << r.right << "," << r.bottom;
}

}  // namespace vorblin

namespace vorblin::testing {

// Hands out scripted values first, then a fixed fallback; counts every draw.
struct ScriptedRandom final : RandomSource {
    float Rnd() override;
    void Push(std::initializer_list<float> values) { script.insert(script.end(), values); }

    std::deque<float> script;
    float fallback = 0.0f;
    int draws = 0;
};

struct FixedClock final : Clock {
    int Seconds() override { return seconds; }
    std::string ShortDate() override { return "05.12.2026"; }
    int seconds = 0;
};

// Records every operation as text, e.g. "filled 28,28-222,222 #FFFF".
struct RecordingSurface final : DrawingSurface {
    void Cls() override { ops.push_back("cls"); }
    void Line(int l, int t, int r, int b, Colour c) override { Log("line", l, t, r, b, c); }
    void BoxOutline(int l, int t, int r, int b, Colour c) override {
        Log("outline", l, t, r, b, c);
    }
    void FilledBox(int l, int t, int r, int b, Colour c) override { Log("filled", l, t, r, b, c); }
    void Log(const char* kind, int x1, int y1, int x2, int y2, Colour colour);

    // What the well surface shows of the well cells from (left, top) to (right, bottom),
    // one text row per well row: '#' a landed cell, 'o' a falling-figure cell, '.' an
    // erased cell, ' ' nothing drawn since the last clear, '?' anything else.
    std::string Cells(int left, int top, int right, int bottom) const;
    std::vector<std::string> ops;
};

struct RecordingSound final : SoundBoard {
    void Play(Channel channel) override { played.push_back(channel); }
    bool EnableLoop() const override { return loop; }
    void PanSweepStep() override { ++panSteps; }

    std::vector<Channel> played;
    bool loop = false;
    int panSteps = 0;
};

// Logs each place update into the statistics list, as the place tracker does when the
// player climbs, so that tests see where in a landing it comes.
struct RecordingRecords final : RecordsLink {
    int16_t Load_Table() override { return tableLines; }
    void Update_Place(int32_t S) override {
        if (log)
            log->AddItem("...Place : " + std::to_string(S));
    }
    void End_Of_Game(int32_t) override {}

    int16_t tableLines = 1;
    ListBox* log = nullptr;
};

struct RecordingShell final : MainWindowLink {
    void FocusWell() override { ++focusWell; }
    void Minimize() override { ++minimized; }
    void RestoreAndActivate() override { ++restored; }
    void RebuildWindowRgn() override { ++outlines; }
    void ShowSettings() override { ++settings; }
    void SaveSoundSettings() override {
        ++saves;
        if (log != nullptr)
            log->push_back("save settings");
    }
    std::unique_ptr<HelpWindow> NewHelpWindow() override { return helpWindow(); }
    int focusWell = 0, minimized = 0, restored = 0, outlines = 0, settings = 0, saves = 0;
    std::vector<std::string>* log = nullptr;
    std::function<std::unique_ptr<HelpWindow>()> helpWindow = [] { return nullptr; };
};
// Side windows as plain state, each where it was last put, at its size as designed.
struct FakeSides final : SideWindowHost {
    struct Side {
        bool visible = false;
        WindowPosition position;
        WindowSize size;
    };
    WindowPosition MainPosition() const override { return main; }
    void MoveMain(WindowPosition position) override { main = position; }
    bool SideVisible(SideWindow window) override { return At(window).visible; }
    void SetSideVisible(SideWindow window, bool visible) override { At(window).visible = visible; }
    WindowPosition SidePosition(SideWindow window) override { return At(window).position; }
    void MoveSide(SideWindow window, WindowPosition to) override { At(window).position = to; }
    WindowSize MainSize() const override { return {7125, 9210}; }
    WindowSize SideSize(SideWindow window) override { return At(window).size; }
    void SetSideMinimized(SideWindow, bool) override {}  // the windows keep where they are
    void UnloadSideWindows() override {}

    Side& At(SideWindow window) { return sides[static_cast<int>(window)]; }
    WindowPosition main{1000, 500};
    Side sides[3] = {
        {false, {}, {3090, 3630}}, {false, {}, {2400, 3615}}, {false, {}, {1635, 4260}}};
};

// Answers the game-over windows from a script; logs what was asked, in order.
struct ScriptedDialogs final : RecordsDialogs {
    NameEntry Ask_Player_Name() override {
        log.push_back("name");
        return name;
    }
    bool AskNewGame() override {
        log.push_back("new game?");
        whileDeciding();
        return newGame;
    }
    void CloseToolWindows() override { log.push_back("close tool windows"); }
    void EndProgram() override { log.push_back("end"); }

    NameEntry name{"UnNamed", false};
    std::function<void()> whileDeciding = [] {};
    bool newGame = true;
    std::vector<std::string> log;
};

// A fresh folder under the system's temporary folder, removed with everything in it.
struct TempFolder {
    TempFolder();
    ~TempFolder();
    std::string File(std::string_view name) const { return path + "/" + std::string(name); }
    std::string path;
};

// Several values at once, each on a line of its own after the name the test gives it, so
// that a failed comparison names the value that differs: Show("score", 40447, "drop", false)
// gives "score=40447\ndrop=false\n".
template <class... T>
std::string Show(const T&... labelsAndValues) {
    static_assert(sizeof...(T) % 2 == 0, "a name before every value");
    std::ostringstream out;
    bool label = true;
    ((out << std::boolalpha << labelsAndValues << (label ? '=' : '\n'), label = !label), ...);
    return out.str();
}

// The score panel as the player reads it, one labelled line a label: level, lines to go,
// score, the four line counters, special bonus, time bonus and its total.
std::string Panel(const ScoreBoard& s);

// The game's outside world as fakes. Seconds 0 makes every warm-up a single draw; with no
// draws scripted every figure is shape 0 and the buttons are QBColor(1).
struct GameWorld {
    ScriptedRandom rnd;
    FixedClock clock;
    RecordingSurface well, next, future;
    RecordingSound sound;
    RecordingShell shell;
};

// A game wired to fakes.
struct GameRig : GameWorld {
    GameRig() : game(GameParts{rnd, clock, well, next, future, sound, records, shell}) {}

    RecordingRecords records;
    Game game;
};

// Puts a figure from a shape string at (x, y); the well is left as it is.
void Place(Board& board, const std::string& shape, int x, int y);

// Makes the next fall tick land a one-cell figure on the floor with the shown score S and
// nothing added by the landing; with endsGame, the top rows are filled (not to full rows)
// so that the next figure cannot be placed.
void LandOnNextTick(Game& game, int32_t S, bool endsGame = false);

// A hall-of-fame table of n entries scoring top, top - 1, ..., each named by its score.
RecordTable Table(int n, int top = 1000);

// The main window's logic wired to fakes and loaded, with its hall of fame in a fresh folder.
struct ShellRig : GameWorld {
    ShellRig()
        : main(ShellParts{rnd, clock, well, next, future, sound, shell, dialogs, sides, folder.path,
                          own.path}) {
        main.Form_Load();
    }
    ScriptedDialogs dialogs;
    FakeSides sides;
    TempFolder folder, own;  // the hall of fame's folder, and the player's own data folder
    MainShell main;
    Game& game = main.game;
};

// Wells as text pictures: one string per row, '#' filled and '.' empty, over the 15
// playable columns. Pictures are given for the bottom rows of the well.

// An empty well with the figure from a shape string at (x, y) and, as in a game, a next
// figure waiting beside it (a full box).
Board BoardWith(const std::string& shape, int x, int y);

// Fills the bottom rows of the well from the picture (its last row is row 30).
void SetBottom(Board& board, const std::vector<std::string>& rows);

// The bottom `count` playable rows as a picture, one row per line.
std::string BottomPicture(const Board& board, int count);

// The rows as text, each ended by `end`: a picture literal, or a file's lines.
std::string Joined(const std::vector<std::string>& rows, std::string_view end = "\n");

}  // namespace vorblin::testing
