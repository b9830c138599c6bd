// Internal: offscreen surfaces emulated on the back buffer. The surface's picture is drawn into
// the window's lower-left corner, where the rows of a framebuffer of the surface's size would
// lie, drawing goes there, and at the end the area is copied back into the slot and the screen
// restored. Areas beyond the window are clipped to it.
#pragma once

#include <cstdint>

#include "gfx2d/texture_store.h"

namespace vexel {

// Saves the window's lower-left w x h area, fills it with the colour key (alpha 0; black for no
// key) and draws the sprite's picture over it, so that drawing continues on its content.
void begin_emulated_surface(const SpriteSlot& sprite, int32_t key);
// Copies the area back into the sprite's texture (on a framebuffer without alpha, pixels of the
// colour key become transparent) and puts the saved screen back. Without a sprite (its slot was
// taken meanwhile) only the screen is restored.
void end_emulated_surface(const SpriteSlot* sprite);
// Deletes the texture that holds the saved screen.
void release_emulation();

}  // namespace vexel
