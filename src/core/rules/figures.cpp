#include "core/rules/figures.h"

#include "core/base/numbers.h"

namespace vorblin {

const std::array<const char*, 7> kOrdinaryShapes = {
    "0000111010000000", "0000011100010000", "0000111100000000", "0000010001100010",
    "0000001001100100", "0000001001110000", "0000011001100000",
};

int FigureMatrix::FilledCount() const {
    int count = 0;
    for (const auto& column : cells)
        for (bool cell : column)
            count += cell ? 1 : 0;
    return count;
}

void Initialize_Array_For_Brikko(FigureMatrix& matrix, const std::string& strFIG,
                                 int16_t& CellCounter) {
    size_t k = 0;
    for (int a = 0; a < 4; ++a) {
        for (int b = 0; b < 4; ++b, ++k) {
            const bool filled = k < strFIG.size() && strFIG[k] == '1';
            matrix(a, b) = filled;
            if (filled)
                ++CellCounter;
        }
    }
}

void FigureChooser::Discard(int count) {
    for (int i = 0; i < count; ++i)
        rnd_.Rnd();
}

void FigureChooser::Initialize_Array_For_Vorblin(std::string& strVorblin) {
    Discard(clock_.Seconds() + 1);
    std::string pattern;
    pattern.reserve(16);
    int filled = 0;
    for (int k = 0; k < 16; ++k) {
        if (rnd_.Rnd() >= 0.8f) {
            pattern += '1';
            ++filled;
        } else {
            pattern += '0';
        }
    }
    strVorblin = filled == 0 ? std::string(kSuperFigure) : pattern;
}

std::string FigureChooser::Choose_Figure() {
    WarmUp();
    NewBonus = 0;
    const int n = Fix(static_cast<double>(rnd_.Rnd()) * 7);
    std::string shape = kOrdinaryShapes[static_cast<size_t>(n)];
    NewIsVorblin = false;
    if (Int(static_cast<double>(rnd_.Rnd()) * 50) == 25) {
        Initialize_Array_For_Vorblin(shape);
        NewIsVorblin = true;
        NewBonus = shape == kSuperFigure
                       ? kSuperBonus
                       : RoundHalfEven(static_cast<double>(rnd_.Rnd()) * 20001 + 30000);
    }
    return shape;
}

void FigureQueue::Fill(int i, FigureChooser& chooser) {
    FiguraInfo& slot = (*this)(i);
    slot.Shape = chooser.Choose_Figure();
    slot.Bonus = chooser.NewBonus;
    slot.IsVorblin = chooser.NewIsVorblin;
}

void FigureQueue::Shift_Queue(FigureChooser& chooser) {
    for (int i = 2; i <= 5; ++i)
        (*this)(i - 1) = (*this)(i);
    Fill(5, chooser);
}

}  // namespace vorblin
