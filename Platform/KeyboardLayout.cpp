#include "Platform/KeyboardLayout.h"

#include <QGuiApplication>
#include <QInputMethod>
#include <QList>

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>

namespace {
std::optional<bool> fixed;

// Frees an xcb reply when it goes out of scope.
template <class T> struct Reply {
    T* p;
    ~Reply() { std::free(p); }
    T* operator->() const { return p; }
    explicit operator bool() const { return p != nullptr; }
};

// The X server's answer, when the program runs on one.
std::optional<bool> fromX11() {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    xcb_connection_t* c = x11 ? x11->connection() : nullptr;
    if (!c || xcb_connection_has_error(c)) return std::nullopt;
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    if (!screen) return std::nullopt;
    const char name[] = "_XKB_RULES_NAMES";
    const Reply<xcb_intern_atom_reply_t> atom{
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 1, std::strlen(name), name), nullptr)};
    if (!atom || atom->atom == XCB_ATOM_NONE) return std::nullopt;
    const Reply<xcb_get_property_reply_t> property{xcb_get_property_reply(
        c, xcb_get_property(c, 0, screen->root, atom->atom, XCB_ATOM_STRING, 0, 1024), nullptr)};
    if (!property || property->format != 8) return std::nullopt;
    const QByteArray rulesNames(static_cast<const char*>(xcb_get_property_value(property.p)),
                                xcb_get_property_value_length(property.p));
    // The group in the core state costs one round trip and no extension.
    const Reply<xcb_query_pointer_reply_t> pointer{
        xcb_query_pointer_reply(c, xcb_query_pointer(c, screen->root), nullptr)};
    const int group = pointer ? (pointer->mask >> 13) & 3 : 0;
    return KeyboardLayout::germanFromRulesNames(rulesNames, group);
}
} // namespace

namespace KeyboardLayout {

std::optional<bool> germanFromRulesNames(const QByteArray& rulesNames, int group) {
    // Rules, model, layouts, variants, options.
    const QList<QByteArray> fields = rulesNames.split('\0');
    if (fields.size() < 3 || fields[2].trimmed().isEmpty()) return std::nullopt;
    const QList<QByteArray> layouts = fields[2].split(',');
    // A group beyond the list: the first layout, as the server wraps it.
    const QByteArray layout = layouts.value(group, layouts.first()).trimmed();
    return layout == "de" || layout == "at" || layout == "ch";
}

bool germanFromLocale(const QLocale& locale, const QLocale& fallback) {
    const bool none = locale.language() == QLocale::C || locale.language() == QLocale::AnyLanguage;
    return (none ? fallback : locale).language() == QLocale::German;
}

bool isGerman() {
    if (fixed) return *fixed;
    if (const std::optional<bool> x11 = fromX11()) return *x11;
    const QLocale system = QLocale::system();
    return germanFromLocale(QGuiApplication::inputMethod() ? QGuiApplication::inputMethod()->locale() : system,
                            system);
}

} // namespace KeyboardLayout

namespace KeyboardLayoutSeam {
void setGerman(std::optional<bool> german) { fixed = german; }
} // namespace KeyboardLayoutSeam
