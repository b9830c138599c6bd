#include <vexel/system.h>

#include "system/external_table.h"

namespace vexel {

namespace detail {

void register_external(const DynString& library, const DynString& entry, void* slot) {
    system::external_table().add(std::string(library.c_str(), library.length()),
                                 std::string(entry.c_str(), entry.length()), slot);
}

}  // namespace detail

void resolve_externals() {
    system::external_table().resolve();
}

void release_externals() {
    system::external_table().release();
}

}  // namespace vexel
