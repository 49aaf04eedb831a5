#include "Platform/Resources.h"

#include <QtGlobal>

// Q_INIT_RESOURCE must be used outside any namespace.
static void initCompiledResources() {
    Q_INIT_RESOURCE(skin);
    Q_INIT_RESOURCE(about);
}

namespace Resources {
void init() {
    static const bool done = (initCompiledResources(), true);
    (void)done;
}
} // namespace Resources
