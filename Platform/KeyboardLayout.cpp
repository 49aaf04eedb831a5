#include "Platform/KeyboardLayout.h"

#include <QGuiApplication>
#include <QInputMethod>
#include <QLocale>

namespace {
std::optional<bool> fixed;
} // namespace

namespace KeyboardLayout {

bool isGerman() {
    if (fixed) return *fixed;
    QLocale locale = QGuiApplication::inputMethod() ? QGuiApplication::inputMethod()->locale() : QLocale::system();
    if (locale.language() == QLocale::C || locale.language() == QLocale::AnyLanguage) locale = QLocale::system();
    return locale.language() == QLocale::German;
}

} // namespace KeyboardLayout

namespace KeyboardLayoutSeam {
void setGerman(std::optional<bool> german) { fixed = german; }
} // namespace KeyboardLayoutSeam
