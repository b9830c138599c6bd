// Vexel — everything a game needs: include this one header.
#pragma once

#include <vexel/app.h>
#include <vexel/dyn_string.h>
#include <vexel/error.h>
#include <vexel/frame.h>
#include <vexel/game.h>
#include <vexel/text.h>
#include <vexel/window.h>
