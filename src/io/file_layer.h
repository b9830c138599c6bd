// Internal: the file layer's part in engine start-up and shutdown.
//
//   start-up, once the current directory is the executable's folder:
//       open_executable_archive(full path of the executable, "/" separators)
//       set_gl_proc_lookup(the GL context's procedure lookup)   -- for platform_info("GLEXT:...")
//   shutdown_engine:
//       close_all_channels()        after the current directory is set back to the executable's
//       write_back_stores()         right after the channels (it also runs at process exit)
//       release_archive_states()    after the GL and 3D objects are gone
#pragma once

namespace vexel {

// Creates both archive-resolver states with the executable as their archive, so that media
// appended to it are found by every loader and by video playback.
void open_executable_archive(const char* executable_path);
// Closes the eight file channels.
void close_all_channels();
// Writes the settings file and the line-slot file back when they changed.
void write_back_stores();
// Deletes both archive-resolver states: the unpacked block is freed, the temporary file deleted.
void release_archive_states();

// How platform_info asks the GL driver for an entry point; without one, "GLEXT:" keys give "0".
using GlProcLookup = void* (*)(const char* name);
void set_gl_proc_lookup(GlProcLookup lookup);

}  // namespace vexel
