// Internal: the stencil shadow pass of light effect 3. While it is open, drawn objects only
// mark their shadow volumes in the stencil buffer; closing it darkens every marked pixel with
// the shadow colour at half opacity and gives the scene its normal drawing state back.
#pragma once

#include "engine3d/duderedi_3d.h"

namespace vexel::engine3d {

// Opens the pass when it is closed, closes it when it is open; anything else does nothing.
void set_shadow_pass(Duderedi3D& state, bool open);
// Closes an open pass of the engine's 3D state, if there is one.
void finish_shadow_pass();

}  // namespace vexel::engine3d
