#include "engine3d/text_hook.h"

namespace vexel::engine3d {

namespace {

PrintTextHook g_print_text = nullptr;

}  // namespace

void set_print_text_hook(PrintTextHook hook) {
    g_print_text = hook;
}

PrintTextHook print_text_hook() {
    return g_print_text;
}

}  // namespace vexel::engine3d
