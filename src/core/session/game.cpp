#include "core/session/game.h"

#include <algorithm>
#include <string>

#include "core/base/numbers.h"
#include "core/records/records_table.h"

namespace vorblin {

namespace {
// Clears a flag when the handler that set it returns, whichever way it returns.
class ReentryGuard {
  public:
    explicit ReentryGuard(bool& flag) : flag_(flag) { flag_ = true; }
    ~ReentryGuard() { flag_ = false; }
    ReentryGuard(const ReentryGuard&) = delete;
    ReentryGuard& operator=(const ReentryGuard&) = delete;

  private:
    bool& flag_;
};
}  // namespace

Game::Game(const GameParts& parts)
    : chooser(parts.rnd, parts.clock),
      rnd_(parts.rnd),
      picVorblin_(parts.picVorblin),
      picNext_(parts.picNext),
      picFuture_(parts.picFuture),
      sound_(parts.sound),
      records_(parts.records),
      shell_(parts.shell) {}

int32_t Game::ShownScore() const {
    return Shown(scores.Score);
}

int32_t Game::TicksUntilChange() const {
    if (pad.bDrop || scores.TimeTicks < 201 || sound_.EnableLoop())
        return 1;
    return std::max(1, 150 - scores.Speed - TickCount);
}

void Game::Form_Load() {
    scores.ResetForNewGame();
    lblPosition.Caption.clear();
    lblNextPlace.Caption.clear();
    lblNextPlace.Visible = true;
    board.Reset();
    chooser.WarmUp();
    pad.ColorButtons = QBColor(Fix(static_cast<double>(rnd_.Rnd()) * 15) + 1);
    pad.PaintButtons(pad.ColorButtons);
    tmrDown.Enabled = pad.chkPause.Value != 1;
    pad.EnableControls = true;
    Minimize_Window();
    for (int i = 1; i <= 5; ++i)
        Queue.Fill(i, chooser);
    Initialize_Array_For_Brikko(board.Figura, Queue(1).Shape, scores.CellCounter);
    Initialize_Array_For_Brikko(board.FiguraNext, Queue(2).Shape, scores.CellCounter);
    // The notice of a special figure left in the preview by the last game must not
    // stay up over a new game whose next figure is ordinary.
    notice.lblFirma.Visible = false;
    notice.Show_Vorblin_Bonus(Queue(2), scores.lblScore, sound_, lstStatistic);
    Position = records_.Load_Table();
    lstStatistic.Clear();
    scores.lblScore.ForeColor = RGB(255, 255, 0);
    scores.VorblinBonusTotal = 0;
    scores.lblSumBonus.Caption.clear();
    scores.TimeBonusTotal = 0;
    Draw_Field(picVorblin_, board);
    DrawFigure();
    Draw_Grid(picVorblin_, board, Position);
    Form_Paint();
    pad.cmdDown.Enabled = true;
    pad.bDrop = false;
    if (Position < static_cast<int16_t>(kMaxRecords))
        lblPosition.Caption = "Place # " + std::to_string(Position + 1);
    Draw_Future(picFuture_, Queue);
}

void Game::New_Game() {
    scores.Score = 0;
    scores.Speed = 0;
    Form_Load();
}

void Game::Minimize_Window() {
    DrawFigure();
    Form_Paint();
}

void Game::tmrDown_Timer() {
    // The landing that ends a game stays inside the game-over dialogs, while the
    // window's timer keeps firing: those ticks must not run a second fall.
    if (inTick_)
        return;
    ReentryGuard guard(inTick_);

    ++TickCount;
    if (!pad.bDrop && scores.TimeTicks < 201) {
        scores.Show_Time_Bonus(static_cast<int16_t>(200 - scores.TimeTicks));
        ++scores.TimeTicks;
    }
    if (sound_.EnableLoop())
        sound_.PanSweepStep();
    if (TickCount < 150 - scores.Speed && !pad.bDrop)
        return;

    DrawFigure();
    if (board.Enable_Move_Down()) {
        ++board.PosY;
        TickCount = 0;
        return;
    }
    Land();
}

void Game::Update_Array_C() {
    board.WriteFigure();
    pad.cmdDown.Enabled = true;
}

void Game::Land() {
    pad.cmdDown.BackColor = pad.ColorButtons;
    notice.lblFirma.Visible = false;
    Update_Array_C();

    int16_t n = 0;
    scores.Delete_Full_Lines(board, scores.Speed, n, lstStatistic);
    Draw_Field(picVorblin_, board);
    Draw_Grid(picVorblin_, board, Position);
    sound_.Play(rnd_.Rnd() > 0.5f ? Channel::mDown1 : Channel::mDown2);

    scores.ScoreBefore = scores.Score;
    if (n > 0) {
        sound_.Play(Channel::mDelLin1);
        scores.ScoreRemovedLines(n);
    }
    scores.Score += 10 * (201 - scores.TimeTicks) + 4 * scores.CellCounter;
    TickCount = 0;
    pad.bDrop = false;
    records_.Update_Place(ShownScore());
    board.PosX = Board::kStartX;
    board.PosY = 0;

    const int32_t landedBonus = Queue(1).Bonus;
    scores.VorblinBonusTotal += landedBonus;
    scores.CellCounter = 0;
    if (scores.VorblinBonusTotal > 0)
        scores.lblSumBonus.Caption =
            "  Vorblin Bonus : " + std::to_string(Shown(scores.VorblinBonusTotal));
    scores.Score += landedBonus;

    Queue.Shift_Queue(chooser);
    Initialize_Array_For_Brikko(board.Figura, Queue(1).Shape, scores.CellCounter);
    DrawFigure();
    notice.Show_Vorblin_Bonus(Queue(2), scores.lblScore, sound_, lstStatistic);
    Initialize_Array_For_Brikko(board.FiguraNext, Queue(2).Shape, scores.CellCounter);
    Form_Paint();

    scores.TimeBonusTotal += 201 - scores.TimeTicks;
    scores.Show_Time_Bonus(static_cast<int16_t>(200 - scores.TimeTicks));
    scores.TimeTicks = 0;
    scores.lblScore.Caption = std::to_string(ShownScore());
    CountUp(scores.FigureCount);

    std::string line = std::to_string(scores.FigureCount) + ". +" +
                       std::to_string(Shown(scores.Score - scores.ScoreBefore));
    if (n > 0)
        line += " -> " + std::to_string(n) + " lines";
    lstStatistic.AddItem(std::move(line));
    lstStatistic.ListIndex = lstStatistic.ListCount() - 1;
    Draw_Future(picFuture_, Queue);

    if (board.GameOver())
        records_.End_Of_Game(ShownScore());
}

void Game::MoveAction(int16_t Index) {
    if (!board.Enable_Move_Left_Right(Index))
        return;
    board.PosX = static_cast<uint8_t>(board.PosX + Index - 1);
    sound_.Play(Index == 0 ? Channel::mLeft1 : Channel::mRight1);
    DrawFigure();
}

void Game::RotateAction() {
    sound_.Play(Channel::mRotate1);
    board.Rotate_Figure();
    DrawFigure();
}

void Game::InvertAction() {
    if (!pad.EnableControls || !board.Enable_Inverse())
        return;
    board.Invert();
    DrawFigure();
    sound_.Play(Channel::mInverse1);
}

void Game::cmdLeftRight_MouseDown(int16_t Index) {
    pad.cmdLeftRight[static_cast<size_t>(Index)].BackColor = kPressedMove;
    MoveAction(Index);
}

void Game::cmdLeftRight_MouseUp(int16_t) {
    pad.cmdLeftRight[0].BackColor = pad.ColorButtons;
    pad.cmdLeftRight[2].BackColor = pad.ColorButtons;
    shell_.FocusWell();
}

void Game::cmdRotate_MouseDown(int16_t) {
    pad.cmdRotate.BackColor = kPressedTurn;
    RotateAction();
}

void Game::cmdRotate_MouseUp(int16_t) {
    pad.cmdRotate.BackColor = pad.ColorButtons;
    shell_.FocusWell();
}

void Game::cmdDown_MouseDown() {
    pad.bDrop = true;
    pad.cmdDown.BackColor = kPressedDrop;
    sound_.Play(rnd_.Rnd() > 0.5f ? Channel::mDrop1 : Channel::mDrop2);
    pad.cmdDown.Enabled = false;
}

void Game::cmdDown_MouseUp() {
    shell_.FocusWell();
}

void Game::cmdSpace_MouseDown() {
    pad.cmdSpace.BackColor = kPressedTurn;
    InvertAction();
}

void Game::cmdSpace_MouseUp() {
    pad.cmdSpace.BackColor = pad.ColorButtons;
    shell_.FocusWell();
}

void Game::Form_KeyDown(int16_t KeyCode) {
    switch (KeyCode) {
        case kKeyLeft:
            if (pad.EnableControls)
                cmdLeftRight_MouseDown(0);
            break;
        case kKeyRight:
            if (pad.EnableControls)
                cmdLeftRight_MouseDown(2);
            break;
        case kKeyUp:
            if (pad.EnableControls)
                cmdRotate_MouseDown(0);
            break;
        case kKeyDown:
            if (pad.cmdDown.Enabled && pad.EnableControls)
                cmdDown_MouseDown();
            break;
        case kKeySpace:
            if (pad.EnableControls)
                cmdSpace_MouseDown();
            break;
        case kKeyEscape:
            pad.bEscape = true;
            Set_chkPause(pad.chkPause.Value == 1 ? 0 : 1);
            break;
        default:
            break;
    }
}

void Game::Form_KeyUp(int16_t KeyCode) {
    switch (KeyCode) {
        case kKeyLeft:
            cmdLeftRight_MouseUp(0);
            break;
        case kKeyRight:
            cmdLeftRight_MouseUp(2);
            break;
        case kKeyUp:
            cmdRotate_MouseUp(0);
            break;
        case kKeySpace:
            cmdSpace_MouseUp();
            break;
        default:
            break;
    }
}

void Game::Set_chkPause(int16_t value) {
    if (ChangeValue(pad.chkPause, value))
        chkPause_Click();
}

void Game::chkPause_Click() {
    const bool paused = pad.chkPause.Value == 1;
    pad.fraControl.Visible = !paused;
    tmrDown.Enabled = !paused;
    pad.EnableControls = !paused;
    if (paused) {
        if (pad.bEscape)
            shell_.Minimize();
    } else {
        shell_.RestoreAndActivate();
    }
    pad.bEscape = false;
    Minimize_Window();
    shell_.FocusWell();
}

}  // namespace vorblin
