#pragma once
// One game in progress: the coordinator that runs the start of a game, the fall tick
// and the player's actions in their fixed order over the game's parts.

#include <cstdint>

#include "core/base/control_state.h"
#include "core/base/random_clock.h"
#include "core/rules/board.h"
#include "core/rules/control_pad.h"
#include "core/rules/drawing.h"
#include "core/rules/figures.h"
#include "core/rules/score_board.h"
#include "core/rules/sound_board.h"
#include "core/rules/vorblin_notice.h"
#include "core/session/records_link.h"
#include "core/session/shell_link.h"

namespace vorblin {

struct GameParts {
    RandomSource& rnd;
    Clock& clock;
    DrawingSurface& picVorblin;
    DrawingSurface& picNext;
    DrawingSurface& picFuture;
    SoundBoard& sound;
    RecordsLink& records;
    ShellLink& shell;
};

class Game {
  public:
    explicit Game(const GameParts& parts);
    Game(const Game&) = delete;
    Game& operator=(const Game&) = delete;

    // The game's share of the main window's load: prepares a complete new game.
    void Form_Load();
    // A new game after game over: score and speed back to 0, then the load again.
    void New_Game();

    // Timer ticks.
    void tmrDown_Timer();
    void tmrLevel_Timer() { scores.tmrLevel_Timer(rnd_); }
    void tmrMigCountLines_Timer() { scores.tmrMigCountLines_Timer(); }

    // The control buttons.
    void cmdLeftRight_MouseDown(int16_t Index);
    void cmdLeftRight_MouseUp(int16_t Index);
    void cmdRotate_MouseDown(int16_t Index);
    void cmdRotate_MouseUp(int16_t Index);
    void cmdDown_MouseDown();
    void cmdDown_MouseUp();
    void cmdSpace_MouseDown();
    void cmdSpace_MouseUp();

    // The main window's keyboard, seen before its controls.
    void Form_KeyDown(int16_t KeyCode);
    void Form_KeyUp(int16_t KeyCode);

    // Sets the pause button; a change of value runs its click handler.
    void Set_chkPause(int16_t value);
    void chkPause_Click();

    // Despite its name it minimises nothing: it redraws the falling figure and the next
    // figure. The name is the one the window's public interface has always had; the well's
    // scale it also sets is fixed in the window's drawing surface here.
    void Minimize_Window();
    // Redraws the next-figure box (the window's paint).
    void Form_Paint() { Draw_Next(picNext_, board.FiguraNext, notice.ColorFigura); }

    int32_t ShownScore() const;
    // How many fall ticks from now the next one comes that changes what the player sees:
    // 1 while the time bonus counts down, the background music pans or the figure drops;
    // otherwise the next fall step.
    int32_t TicksUntilChange() const;
    // Redraws the well's grid (in the first-place colour once Position is 0).
    void RedrawGrid() { Draw_Grid(picVorblin_, board, Position); }

    Board board;
    FigureChooser chooser;
    FigureQueue Queue;
    ScoreBoard scores;
    VorblinNotice notice;
    ControlPad pad;
    ListBox lstStatistic;
    Label lblPosition{"Position", RGB(255, 192, 128)};
    Label lblNextPlace{"", RGB(255, 192, 128)};
    Timer tmrDown{true, 2};
    int16_t Position = 0;
    int16_t TickCount = 0;

  private:
    void Land();
    void Update_Array_C();
    void MoveAction(int16_t Index);
    void RotateAction();
    void InvertAction();
    void DrawFigure() { Draw_Figure(picVorblin_, board); }

    RandomSource& rnd_;
    DrawingSurface& picVorblin_;
    DrawingSurface& picNext_;
    DrawingSurface& picFuture_;
    SoundBoard& sound_;
    RecordsLink& records_;
    ShellLink& shell_;
    bool inTick_ = false;
};

}  // namespace vorblin
