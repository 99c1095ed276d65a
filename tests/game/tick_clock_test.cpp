#include "game/tick_clock.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "shell/main_shell.h"
#include "support/fakes.h"
#include "support/well_picture.h"

namespace vorblin {
namespace {

using testing::Seen;
constexpr int64_t kMs = 1'000'000;

TEST(TickClock, CountsDueTicksRunsThemAndSleepsAFrameAtLeast) {
    TickClock clock;
    EXPECT_EQ(clock.Due(100 * kMs), 0);  // not started
    clock.Start(10 * kMs);
    EXPECT_EQ(Seen(clock.Due(10 * kMs), clock.Due(12 * kMs - 1), clock.Due(12 * kMs),
                   clock.Due(31 * kMs), clock.Due(5 * kMs)),
              "0|0|1|10|0|");
    int ticks = 0;
    EXPECT_EQ(clock.RunDue(31 * kMs, [&] { ++ticks; }), 10);
    EXPECT_EQ(Seen(ticks, clock.Due(31 * kMs), clock.Due(32 * kMs)), "10|0|1|");
    // The next fall step 50 ticks ahead of the last tick run (at 30 ms): at 130 ms; a
    // step closer than a frame waits a frame.
    EXPECT_EQ(
        Seen(clock.WakeAt(31 * kMs, 50), clock.WakeAt(31 * kMs, 1), clock.WakeAt(31 * kMs, 8),
             clock.WakeAt(31 * kMs, 9)),
        Seen(130 * kMs, 31 * kMs + TickClock::kFrameNs, 31 * kMs + TickClock::kFrameNs, 48 * kMs));

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
    auto until = [&](int tick, int speed) {
        g.TickCount = static_cast<int16_t>(tick);
        g.scores.Speed = static_cast<int16_t>(speed);
        return g.TicksUntilChange();
    };
    EXPECT_EQ(Seen(until(0, 0), until(149, 0), until(100, 15), until(200, 15)), "150|1|35|1|");
    rig.sound.loop = true;  // the background pans every tick
    EXPECT_EQ(until(0, 0), 1);
    rig.sound.loop = false;
    g.pad.bDrop = true;
    EXPECT_EQ(until(0, 0), 1);
    // The promise holds: nothing changes on the ticks before.
    g.pad.bDrop = false;
    const int ahead = until(0, 0), y = g.board.PosY;
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

// The main window's logic with a real pseudo-random source, played from the script by the
// catch-up clock. The clock wakes every 2 ms like a plain timer, or at uneven moments up to
// 60 ms apart, and before each input.
struct ScriptRig : testing::ShellRig {
    ScriptRig() { rnd.after = &random; }
    void Play(const std::vector<Input>& inputs, bool everyTick);
    Lcg24Random random;
    int levels = 0;
};

void ScriptRig::Play(const std::vector<Input>& inputs, bool everyTick) {
    TickClock tick;
    std::mt19937 uneven(99);
    auto follow = [&](int64_t now) {  // the window starts and stops the clock after events
        if (game.tmrDown.Enabled && !tick.Running())
            tick.Start(now);
        else if (!game.tmrDown.Enabled && tick.Running())
            tick.Stop();
    };
    main.Form_Load();
    follow(0);
    int64_t now = 0;
    for (const Input& input : inputs) {
        do {
            const int64_t wake = !tick.Running() ? input.time
                                 : everyTick     ? tick.LastDue() + TickClock::kTickNs
                                             : now + static_cast<int64_t>(uneven() % (60 * kMs));
            now = std::min(input.time, wake);
            while (tick.RunDue(now, [&] {
                const size_t asked = dialogs.log.size();
                const int16_t level = game.scores.Level;
                game.tmrDown_Timer();
                levels += game.scores.Level > level ? 1 : 0;
                if (dialogs.log.size() != asked)  // a game over waited in its dialogs:
                    tick.Start(tick.LastDue());   // on from the tick's time
                follow(now);
            }) > 0) {
            }
        } while (now < input.time);
        if (input.key == kFill) {
            for (int y = 28; y <= 30; ++y)
                for (int x = 4; x <= 18; ++x)
                    game.board.C(x, y) = true;
        } else if (input.down)
            game.Form_KeyDown(input.key);
        else
            game.Form_KeyUp(input.key);
        follow(now);
    }
}

TEST(TickClock, CatchUpBatchesPlayTheSameGameAsA2MsTimer) {
    const std::vector<Input> inputs = Script(600'000 * kMs);  // ten minutes of play
    ScriptRig timer, batches;
    timer.Play(inputs, true);
    batches.Play(inputs, false);

    // The script met what matters: line removals with level changes, special figures,
    // inversions, drops and games that ended.
    const auto plays = [&](Channel c) {
        return std::count(timer.sound.played.begin(), timer.sound.played.end(), c);
    };
    EXPECT_GT(timer.levels, 0);
    EXPECT_GT(plays(Channel::mVorblin1) * plays(Channel::mInverse1) * plays(Channel::mDrop1), 0);
    EXPECT_GT(std::count(timer.dialogs.log.begin(), timer.dialogs.log.end(), "new game?"), 1);

    const auto state = [](ScriptRig& rig) {
        const Game& g = rig.game;
        return Seen(testing::BottomPicture(g.board, 31), int{g.board.PosX}, int{g.board.PosY},
                    g.scores.Score, g.scores.Level, g.scores.FigureCount, g.scores.TimeBonusTotal,
                    g.TickCount, rig.rnd.Rnd());
    };
    EXPECT_EQ(state(timer), state(batches));
    EXPECT_EQ(timer.game.lstStatistic.Items, batches.game.lstStatistic.Items);
    EXPECT_EQ(timer.sound.played, batches.sound.played);
    EXPECT_EQ(timer.dialogs.log, batches.dialogs.log);
    EXPECT_EQ(timer.main.records.Table, batches.main.records.Table);
    EXPECT_TRUE(timer.well.ops == batches.well.ops);  // what the well showed, step by step
}

}  // namespace
}  // namespace vorblin
