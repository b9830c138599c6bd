// Vexel — everything a game needs: include this one header.
#pragma once

#include <vexel/app.h>
#include <vexel/archive.h>
#include <vexel/cipher.h>
#include <vexel/collision.h>
#include <vexel/data_list.h>
#include <vexel/draw.h>
#include <vexel/dyn_array.h>
#include <vexel/dyn_string.h>
#include <vexel/error.h>
#include <vexel/files.h>
#include <vexel/fonts.h>
#include <vexel/frame.h>
#include <vexel/game.h>
#include <vexel/input.h>
#include <vexel/math.h>
#include <vexel/music.h>
#include <vexel/offscreen.h>
#include <vexel/path.h>
#include <vexel/platform_info.h>
#include <vexel/scene3d.h>
#include <vexel/settings.h>
#include <vexel/shaders.h>
#include <vexel/sprites.h>
#include <vexel/text.h>
#include <vexel/window.h>
