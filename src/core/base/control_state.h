#pragma once
// What the rules read back from the window's controls, kept as plain data.
// The window copies it onto its widgets; the rules and the tests only see this.

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "core/base/colours.h"

namespace vorblin {

struct Label {
    std::string Caption;
    Colour ForeColor = kBlack;
    bool Visible = true;
};

struct CommandButton {
    Colour BackColor = kBlack;
    bool Enabled = true;
};

struct Frame {
    bool Visible = true;
};

struct Timer {
    bool Enabled = false;
    int32_t Interval = 0;
};

struct ListBox {
    std::vector<std::string> Items;
    int32_t ListIndex = -1;
    Colour BackColor = kBlack;
    // Counts every change of the lines, so that a window sees cheaply whether to redraw.
    uint32_t Revision = 0;

    void AddItem(std::string line) {
        Items.push_back(std::move(line));
        ++Revision;
    }
    void Clear() {
        Items.clear();
        ListIndex = -1;
        ++Revision;
    }
    int32_t ListCount() const { return static_cast<int32_t>(Items.size()); }
};

// A push-style check button: Value 0 is up, 1 is down.
struct CheckButton {
    int16_t Value = 0;
    Colour BackColor = kBlack;
};

// Sets a check button's value; true when it changed, and so its click handler must run.
inline bool ChangeValue(CheckButton& button, int16_t value) {
    if (button.Value == value)
        return false;
    button.Value = value;
    return true;
}

}  // namespace vorblin
