#include "app/program_ended.h"

#include <emscripten.h>

namespace pokorin {

// A page may not close its tab: index.html shows the notice instead.
void ShowProgramEnded() {
    EM_ASM({
        if (globalThis.pokorinEnded) {
            globalThis.pokorinEnded();
        }
    });
}

} // namespace pokorin
