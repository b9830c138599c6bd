// Vexel — the media archive: named entries, compressed, in a file of their own or appended to
// the executable (see tools/vxpack). Every loader of the engine finds a name on disk first and in
// the archive second.
#pragma once

#include <cstdint>

#include <vexel/dyn_string.h>

namespace vexel {

//------------------------------------------------------------------------------------------------
// Archive
//------------------------------------------------------------------------------------------------

// The archives behind loading (name) and video playback (second name); a disk or "mem://" name,
// empty for none. Releases whatever either of them still holds.
void set_archive(const DynString& name, const DynString& second_name);
// The name to open for a file name: the name itself when it is a disk file (or a registered
// "mem://" block), else the archive entry of the same last path component (case ignored),
// unpacked to memory (a "mem://" name) or to a temporary file. What it unpacked stays valid until
// the next call or set_archive. 1 when found; 0 leaves the name itself in resolved.
int32_t resolve_name(const DynString& name, DynString& resolved, bool to_memory);

}  // namespace vexel
