#pragma once
// Which keyboard layout the user types on: the typing trainer draws the
// matching keyboard, and typed keys are remapped only for the layouts that
// need it. Read afresh at each call, since the user may switch layouts while
// the program runs.
//
// Under X11 the layouts are the root window's "_XKB_RULES_NAMES" property
// (rules, model, layouts, variants, options; the layouts a comma-separated
// list such as "us,de") and the active one is the keyboard's current group,
// which the server reports in bits 13 and 14 of the pointer's state. Where
// that cannot be read (Wayland, no X server, the headless platform), the
// input method's locale decides, then the system's.
#include <QByteArray>
#include <QLocale>
#include <optional>

namespace KeyboardLayout {
// True when the active layout is a German one.
bool isGerman();

// The two ways of deciding, apart from where their input comes from.
// "_XKB_RULES_NAMES" as read (NUL-separated texts) and the active group:
// German for the layouts "de", "at" and "ch"; nullopt when the property
// names no layout.
std::optional<bool> germanFromRulesNames(const QByteArray& rulesNames, int group);
// German when the locale's language is German; a locale of no language
// ("C") leaves it to `fallback`.
bool germanFromLocale(const QLocale& locale, const QLocale& fallback);
} // namespace KeyboardLayout

namespace KeyboardLayoutSeam {
// Tests fix the answer; nullopt reads the computer's layout again.
void setGerman(std::optional<bool> german);
} // namespace KeyboardLayoutSeam
