#include "game/tick_clock.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>

#include "shell/main_shell.h"
#include "support/fakes.h"
#include "support/well_picture.h"

namespace vorblin {
namespace {

constexpr int64_t kMs = 1'000'000;

TEST(TickClock, CountsDueTicksRunsThemAndSleepsAFrameAtLeast) {
    TickClock clock;
    EXPECT_EQ(clock.Due(100 * kMs), 0);  // not started
    clock.Start(10 * kMs);
    EXPECT_EQ(clock.Due(10 * kMs), 0);
    EXPECT_EQ(clock.Due(12 * kMs - 1), 0);
    EXPECT_EQ(clock.Due(12 * kMs), 1);
    EXPECT_EQ(clock.Due(31 * kMs), 10);
    EXPECT_EQ(clock.Due(5 * kMs), 0);  // before the start
    int ticks = 0;
    EXPECT_EQ(clock.RunDue(31 * kMs, [&] { ++ticks; }), 10);
    EXPECT_EQ(ticks, 10);
    EXPECT_EQ(clock.Due(31 * kMs), 0);
    EXPECT_EQ(clock.Due(32 * kMs), 1);
    // The next fall step 50 ticks ahead of the last tick run (at 30 ms): at 130 ms.
    EXPECT_EQ(clock.WakeAt(31 * kMs, 50), 130 * kMs);
    // One tick ahead: not before a frame from now.
    EXPECT_EQ(clock.WakeAt(31 * kMs, 1), 31 * kMs + TickClock::kFrameNs);
    EXPECT_EQ(clock.WakeAt(31 * kMs, 8), 31 * kMs + TickClock::kFrameNs);
    EXPECT_EQ(clock.WakeAt(31 * kMs, 9), 48 * kMs);

    clock.Stop();
    EXPECT_EQ(clock.Due(1000 * kMs), 0);
    EXPECT_EQ(clock.RunDue(1000 * kMs, [&] { ++ticks; }), 0);
    clock.Start(1000 * kMs);  // resumed: nothing owed for the pause
    EXPECT_EQ(clock.Due(1003 * kMs), 1);
}

TEST(TickClock, ATickThatStopsOrRestartsTheClockEndsTheBatch) {
    TickClock clock;
    clock.Start(0);
    int ticks = 0;
    EXPECT_EQ(clock.RunDue(20 * kMs,
                           [&] {
                               if (++ticks == 3)
                                   clock.Stop();
                           }),
              3);
    clock.Start(0);
    ticks = 0;
    EXPECT_EQ(clock.RunDue(20 * kMs,
                           [&] {
                               if (++ticks == 4)
                                   clock.Start(8 * kMs);  // as after a game over's dialogs
                           }),
              4);
    EXPECT_EQ(clock.Due(20 * kMs), 6);
}

TEST(TickClock, TheGameSaysWhenTheNextVisibleChangeComes) {
    testing::GameRig rig;
    Game& g = rig.game;
    g.Form_Load();
    EXPECT_EQ(g.TicksUntilChange(), 1);  // the time bonus counts down
    g.scores.TimeTicks = 201;
    g.TickCount = 0;
    EXPECT_EQ(g.TicksUntilChange(), 150);
    g.TickCount = 149;
    EXPECT_EQ(g.TicksUntilChange(), 1);
    g.scores.Speed = 15;
    g.TickCount = 100;
    EXPECT_EQ(g.TicksUntilChange(), 35);
    g.TickCount = 200;  // past its step: the next tick
    EXPECT_EQ(g.TicksUntilChange(), 1);
    g.TickCount = 0;
    rig.sound.loop = true;  // the background pans every tick
    EXPECT_EQ(g.TicksUntilChange(), 1);
    rig.sound.loop = false;
    g.pad.bDrop = true;
    EXPECT_EQ(g.TicksUntilChange(), 1);
    // The promise holds: nothing changes on the ticks before.
    g.pad.bDrop = false;
    const int ahead = g.TicksUntilChange();
    const int y = g.board.PosY;
    for (int i = 1; i < ahead; ++i)
        g.tmrDown_Timer();
    EXPECT_EQ(g.board.PosY, y);
    g.tmrDown_Timer();
    EXPECT_EQ(g.board.PosY, y + 1);
}

// One input of the script: at a time, a key goes down or up; key kFill stands for full
// rows put at the bottom of the well (random play alone seldom removes nine rows).
constexpr int16_t kFill = -1;
struct Input {
    int64_t time;
    int16_t key;
    bool down;
};

// A game on MainShell with a real pseudo-random source, whose hall of fame says yes to
// every new game.
struct ScriptRig {
    ScriptRig() { dialogs.newGame = true; }
    Lcg24Random rnd;
    testing::FixedClock clock;
    testing::RecordingSurface well, next, future;
    testing::RecordingSound sound;
    testing::RecordingShell host;
    testing::ScriptedDialogs dialogs;
    testing::FakeSides sides;
    testing::TempFolder folder;
    MainShell shell{
        ShellParts{rnd, clock, well, next, future, sound, host, dialogs, sides, folder.path}};
    int levels = 0, gameOvers = 0, pauses = 0;
};

std::vector<Input> Script(int64_t length) {
    std::mt19937 random(7);
    const int16_t keys[] = {kKeyLeft, kKeyLeft,  kKeyLeft, kKeyRight, kKeyUp,
                            kKeyDown, kKeySpace, kKeyDown, kKeyEscape};
    std::vector<Input> inputs;
    int presses = 0;
    for (int64_t t = 3 * kMs + 1234; t < length;) {
        const int16_t key = keys[random() % std::size(keys)];
        if (key == kKeyEscape && random() % 4 != 0)
            continue;  // pauses are rarer
        if (++presses % 20 == 0)
            inputs.push_back({t - 1, kFill, true});
        inputs.push_back({t, key, true});
        t += static_cast<int64_t>(random() % 30 + 1) * kMs + 777;
        inputs.push_back({t, key, false});
        t += static_cast<int64_t>(random() % 200 + 1) * kMs + 333;
    }
    return inputs;
}

void Apply(MainShell& shell, const Input& input) {
    if (input.key == kFill) {
        for (int y = 28; y <= 30; ++y)
            for (int x = 4; x <= 18; ++x)
                shell.game.board.C(x, y) = true;
    } else if (input.down)
        shell.game.Form_KeyDown(input.key);
    else
        shell.game.Form_KeyUp(input.key);
}

// The fall timer as a real 2 ms timer: a tick every 2 ms while it is enabled, phase kept
// from the moment it was started.
void PlayWithTimer(ScriptRig& rig, const std::vector<Input>& inputs, int64_t end) {
    MainShell& shell = rig.shell;
    Game& game = shell.game;
    int64_t anchor = 0;
    int64_t ticks = 0;
    bool enabled = game.tmrDown.Enabled;
    auto follow = [&](int64_t now) {  // the window starts and stops the timer after events
        if (game.tmrDown.Enabled && !enabled) {
            anchor = now;
            ticks = 0;
        }
        enabled = game.tmrDown.Enabled;
    };
    size_t next = 0;
    for (;;) {
        const int64_t tickAt = anchor + (ticks + 1) * TickClock::kTickNs;
        const int64_t inputAt = next < inputs.size() ? inputs[next].time : end;
        if (enabled && tickAt < inputAt) {
            ++ticks;
            const int16_t level = game.scores.Level;
            const size_t asked = rig.dialogs.log.size();
            game.tmrDown_Timer();
            rig.levels += game.scores.Level > level ? 1 : 0;
            rig.gameOvers += rig.dialogs.log.size() != asked ? 1 : 0;
            follow(tickAt);
            continue;
        }
        if (next == inputs.size())
            break;
        rig.pauses += inputs[next].key == kKeyEscape && inputs[next].down ? 1 : 0;
        Apply(shell, inputs[next]);
        follow(inputs[next++].time);
    }
}

// The same with the catch-up clock, woken at uneven moments and before every input.
void PlayWithClock(ScriptRig& rig, const std::vector<Input>& inputs, int64_t end) {
    MainShell& shell = rig.shell;
    Game& game = shell.game;
    TickClock clock;
    if (game.tmrDown.Enabled)
        clock.Start(0);
    std::mt19937 random(99);
    auto follow = [&](int64_t now) {
        if (game.tmrDown.Enabled && !clock.Running())
            clock.Start(now);
        else if (!game.tmrDown.Enabled && clock.Running())
            clock.Stop();
    };
    // A batch that a game over ended goes on from the tick's time (its dialogs took no
    // time here), so the ticks still due before `now` run too.
    auto catchUp = [&](int64_t now) {
        while (clock.RunDue(now, [&] {
            const size_t asked = rig.dialogs.log.size();
            game.tmrDown_Timer();
            if (rig.dialogs.log.size() != asked)  // a game over waited in its dialogs
                clock.Start(clock.LastDue());     // on from the tick's time
            follow(now);
        }) > 0) {
        }
    };
    int64_t now = 0;
    size_t next = 0;
    while (next < inputs.size()) {
        const int64_t wake =
            now + static_cast<int64_t>(random() % 60) * kMs + static_cast<int64_t>(random() % 999);
        if (wake < inputs[next].time) {
            now = wake;
            catchUp(now);
            continue;
        }
        now = inputs[next].time;
        catchUp(now);
        Apply(shell, inputs[next++]);
        follow(now);
    }
    (void)end;
}

TEST(TickClock, CatchUpBatchesPlayTheSameGameAsA2MsTimer) {
    constexpr int64_t kLength = 600'000 * kMs;  // ten minutes of play
    const std::vector<Input> inputs = Script(kLength);
    ScriptRig timer, batches;
    timer.shell.Form_Load();
    batches.shell.Form_Load();
    PlayWithTimer(timer, inputs, kLength);
    PlayWithClock(batches, inputs, kLength);

    const Game& a = timer.shell.game;
    const Game& b = batches.shell.game;
    // The script met what matters: line removals with level changes, special figures,
    // inversions, drops, pauses and games that ended.
    const auto plays = [&](Channel c) {
        return std::count(timer.sound.played.begin(), timer.sound.played.end(), c);
    };
    EXPECT_GT(timer.levels, 0);
    EXPECT_GT(plays(Channel::mVorblin1), 0);
    EXPECT_GT(plays(Channel::mInverse1), 0);
    EXPECT_GT(plays(Channel::mDrop1) + plays(Channel::mDrop2), 0);
    EXPECT_GT(timer.gameOvers, 1);
    EXPECT_GT(timer.pauses, 1);

    EXPECT_EQ(testing::BottomPicture(a.board, 31), testing::BottomPicture(b.board, 31));
    EXPECT_EQ(a.board.PosX, b.board.PosX);
    EXPECT_EQ(a.board.PosY, b.board.PosY);
    EXPECT_EQ(a.scores.Score, b.scores.Score);
    EXPECT_EQ(a.scores.Level, b.scores.Level);
    EXPECT_EQ(a.scores.FigureCount, b.scores.FigureCount);
    EXPECT_EQ(a.scores.TimeBonusTotal, b.scores.TimeBonusTotal);
    EXPECT_EQ(a.TickCount, b.TickCount);
    EXPECT_EQ(a.lstStatistic.Items, b.lstStatistic.Items);
    EXPECT_EQ(timer.sound.played, batches.sound.played);
    EXPECT_EQ(timer.dialogs.log, batches.dialogs.log);
    EXPECT_EQ(timer.shell.records.Table, batches.shell.records.Table);
    EXPECT_EQ(timer.well.ops.size(), batches.well.ops.size());
    // What the well showed, step by step (the first difference, if any).
    const auto diff = std::mismatch(timer.well.ops.begin(), timer.well.ops.end(),
                                    batches.well.ops.begin(), batches.well.ops.end());
    EXPECT_TRUE(diff.first == timer.well.ops.end() && diff.second == batches.well.ops.end())
        << "drawing " << (diff.first - timer.well.ops.begin()) << " differs";
    EXPECT_EQ(timer.rnd.Rnd(), batches.rnd.Rnd());  // the same number of draws
}

}  // namespace
}  // namespace vorblin
