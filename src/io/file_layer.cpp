#include "io/file_layer.h"

#include "io/archive_resolver.h"
#include "io/channels.h"
#include "io/line_slot_store.h"
#include "io/settings_store.h"

namespace vexel {

void open_executable_archive(const char* executable_path) {
    archive_resolver(ResolverUse::kLoading).set_archive(executable_path);
    archive_resolver(ResolverUse::kVideo).set_archive(executable_path);
}

void close_all_channels() {
    close_every_channel();
}

void write_back_stores() {
    write_back_settings();
    write_back_line_slots();
}

void release_archive_states() {
    delete_archive_resolvers();
}

}  // namespace vexel
