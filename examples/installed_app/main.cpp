// The smallest program built against an installed Vexel: it only uses the core values.
#include <cstdio>

#include <vexel/vexel.h>

int main() {
    using namespace vexel;
    const DynString text = DynString("half is ") + 0.5 + ", a twentieth is " + 0.05;
    std::puts(text.c_str());
    return 0;
}
