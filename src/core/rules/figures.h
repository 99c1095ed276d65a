#pragma once
// Figures: their text form, their 4 x 4 matrices and the queue of coming figures.

#include <array>
#include <cstdint>
#include <string>

#include "core/base/random_clock.h"

namespace vorblin {

// A figure's box: (column, row), both 0 to 3.
struct FigureMatrix {
    std::array<std::array<bool, 4>, 4> cells{};  // [column][row]

    bool& operator()(int a, int b) { return cells[static_cast<size_t>(a)][static_cast<size_t>(b)]; }
    bool operator()(int a, int b) const {
        return cells[static_cast<size_t>(a)][static_cast<size_t>(b)];
    }
    int FilledCount() const;
    bool operator==(const FigureMatrix&) const = default;
};

struct FiguraInfo {
    std::string Shape = "0000000000000000";  // 16 characters "0"/"1", read column by column
    int32_t Bonus = 0;                       // tenths of a point
    bool IsVorblin = false;
};

inline constexpr const char* kSuperFigure = "1001111110011111";
inline constexpr int32_t kSuperBonus = 250000;

// The seven ordinary shapes, numbered 0 to 6.
extern const std::array<const char*, 7> kOrdinaryShapes;

// Fills the matrix from a shape string (character k is column (k-1)\4, row (k-1) mod 4)
// and adds one to CellCounter for every "1" it reads.
void Initialize_Array_For_Brikko(FigureMatrix& matrix, const std::string& strFIG,
                                 int16_t& CellCounter);

// Chooses new figures. Each choice first throws away a number of random values that
// depends on the clock's seconds, so the clock is read at every warm-up.
class FigureChooser {
  public:
    FigureChooser(RandomSource& rnd, Clock& clock) : rnd_(rnd), clock_(clock) {}

    // Discards 2s + 1 values (the warm-up of a figure choice and of a new game).
    void WarmUp() { Discard(2 * clock_.Seconds() + 1); }

    std::string Choose_Figure();
    void Initialize_Array_For_Vorblin(std::string& strVorblin);

    int32_t NewBonus = 0;
    bool NewIsVorblin = false;

  private:
    void Discard(int count);

    RandomSource& rnd_;
    Clock& clock_;
};

// Queue(1) falls, Queue(2) is next, Queue(3) to Queue(5) are shown in the Future window.
struct FigureQueue {
    std::array<FiguraInfo, 6> entries{};  // slot 0 unused, so indices match the game's 1 to 5

    FiguraInfo& operator()(int i) { return entries[static_cast<size_t>(i)]; }
    const FiguraInfo& operator()(int i) const { return entries[static_cast<size_t>(i)]; }

    // Appends a freshly chosen figure at position i.
    void Fill(int i, FigureChooser& chooser);
    void Shift_Queue(FigureChooser& chooser);
};

}  // namespace vorblin
