#pragma once
// Which keyboard layout the user types on: the typing trainer draws the
// matching keyboard, and typed keys are remapped only for the layouts that
// need it. Read afresh at each call, since the user may switch layouts while
// the program runs.
#include <optional>

namespace KeyboardLayout {
// True when the active layout is a German one.
bool isGerman();
} // namespace KeyboardLayout

namespace KeyboardLayoutSeam {
// Tests fix the answer; nullopt reads the computer's layout again.
void setGerman(std::optional<bool> german);
} // namespace KeyboardLayoutSeam
