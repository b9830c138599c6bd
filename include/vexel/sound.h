// Vexel — sound effects: sound files in 4096 numbered slots (0 to 4095), played fire-and-forget
// with a pan and a volume. A slot holds its sound in up to four buffers so that an effect can
// overlap itself; a channel number names one buffer of one slot: slot * 256 + buffer index.
// Sounds load from WAV (PCM of any width, float, ADPCM, A-law, u-law) and, beyond plain PCM WAV,
// from FLAC, Ogg Vorbis, Opus and MP3, since games ship their effects compressed; files with more
// than two channels are mixed down to stereo. The name may be a "mem://" block or an archive
// entry. Without an audio device sound is off: every load sets last error 3, every play gives -1.
#pragma once

#include <cstdint>

#include <vexel/dyn_string.h>

namespace vexel {

//------------------------------------------------------------------------------------------------
// Loading sounds
//------------------------------------------------------------------------------------------------

// Empties the slot, then loads the file into it with buffer_count buffers (clamped to 1 ... 4).
// A slot outside 0 ... 4095 sets last error 7; a file that does not load sets 3 (slot left empty).
void load_sound(const DynString& file, int32_t slot, int32_t buffer_count);
// The highest-numbered empty slot; -1 with last error 7 when every slot holds a sound.
int32_t find_free_sound();

//------------------------------------------------------------------------------------------------
// Playing sounds
//------------------------------------------------------------------------------------------------

// Plays the slot's sound once: pan -1 (left) ... 1 (right), volume 0 (silent) ... 1 (full, as
// loaded; 0.5 is half the amplitude). The channel playing it, or -1 when the slot is empty or its
// only buffer still plays. A slot outside 0 ... 4095 sets last error 7 and gives 0.
int32_t play_sound(int32_t slot, double pan, double volume);
// 1 while the channel plays, else 0. A channel outside 0 ... 0xFFFFF sets last error 7.
int32_t sound_playing(int32_t channel);
// Stops the channel and rewinds it; a buffer index beyond the slot's buffers stops all of them.
// Channels outside 0 ... 0xFFFFF are ignored.
void stop_sound(int32_t channel);
// Stops and rewinds every buffer of every slot.
void stop_all_sounds();

}  // namespace vexel
