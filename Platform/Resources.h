#pragma once
// The pictures and texts compiled into the program. They live in a static
// library, whose resources the linker keeps only when something refers to
// them: every window calls this before it loads a picture.
namespace Resources {
void init();
}
