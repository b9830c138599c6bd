// Vexel — files: eight numbered file channels and whole-file commands. Names may use '/' or '\';
// a "mem://" name opens a block of memory the engine registered (read-only). A read open also
// finds media stored in the archive (see vexel/archive.h).
#pragma once

#include <cstdint>

#include <vexel/dyn_string.h>

namespace vexel {

//------------------------------------------------------------------------------------------------
// File channels (0 to 7)
//------------------------------------------------------------------------------------------------
// Every read or write failure on a channel (closed channel, short read, short write, a write on a
// "mem://" channel) sets last error 3 and ends the program; a channel outside 0..7 sets 7 and
// ends it. Values are little-endian; integers are stored in 1, 2 or 4 bytes.

// mode >= 1 read, 0 write (create or truncate), < 0 append; 1 or 0 with last error 3
int32_t open_file(int32_t channel, const DynString& name, int32_t mode);
void close_file(int32_t channel);  // closes the channel; clears the last error

void read_int8(int32_t channel, int32_t& target);    // 1 byte, sign-extended
void read_uint8(int32_t channel, int32_t& target);   // 1 byte, zero-extended
void read_int16(int32_t channel, int32_t& target);   // 2 bytes, sign-extended
void read_uint16(int32_t channel, int32_t& target);  // 2 bytes, zero-extended
void read_int32(int32_t channel, int32_t& target);   // 4 bytes
void read_double(int32_t channel, double& target);   // 8-byte IEEE double
void read_float(int32_t channel, double& target);    // 4-byte IEEE single, widened
// text of exactly count bytes, zeros where nothing arrived; count <= 0 gives empty text
void read_bytes(int32_t channel, DynString& target, int32_t count);
// one line of at most 1024 bytes, without LF and a CR before it
void read_line(int32_t channel, DynString& target);
void read_line(int32_t channel, double& target);   // a line read as a number
void read_line(int32_t channel, int32_t& target);  // a line read as an integer

void write_int8(int32_t channel, int32_t value);   // the low byte
void write_int16(int32_t channel, int32_t value);  // the low 2 bytes
void write_int32(int32_t channel, int32_t value);  // 4 bytes
void write_double(int32_t channel, double value);  // 8-byte IEEE double
void write_float(int32_t channel, double value);   // 4-byte IEEE single, rounded
// the text's bytes; empty text writes nothing
void write_bytes(int32_t channel, const DynString& text);
void write_line(int32_t channel, const DynString& text);  // the text's bytes, then CR LF

double file_position(int32_t channel);  // the channel's read/write offset
// whence < 0 from the end, > 0 from here, 0 from the start; disk: new position (-1 refused), memory
// or closed: 0
double file_seek(int32_t channel, double offset, int32_t whence);

//------------------------------------------------------------------------------------------------
// Whole files
//------------------------------------------------------------------------------------------------

// bytes ("mem://" allowed); 0 and last error 3 when it cannot be opened
double file_size(const DynString& name);
// source may be "mem://"; on failure last error 3 and the destination is left as it was
void copy_file(const DynString& source, const DynString& destination);
int32_t delete_file(const DynString& name);       // removes a file or an empty directory; 1 or 0
int32_t create_directory(const DynString& name);  // one directory level; 1 or 0
int32_t file_exists(const DynString& name);       // 1 when the name exists and is not a directory
int32_t directory_exists(const DynString& name);  // 1 when the name is a directory

//------------------------------------------------------------------------------------------------
// Names
//------------------------------------------------------------------------------------------------

void to_forward_slashes(DynString& text);  // in place: every '\' becomes '/'
// 1 when it matches: '*' any run, '?' one character but '.', case ignored, "*.*" everything
int32_t wildcard_match(const DynString& pattern, const DynString& name);
// -1, 0 or 1, case ignored (for sorting listings)
int32_t compare_names(const DynString& a, const DynString& b);

}  // namespace vexel
