// Vexel — everything a game needs: include this one header.
#pragma once

#include <vexel/app.h>
#include <vexel/cipher.h>
#include <vexel/data_list.h>
#include <vexel/dyn_array.h>
#include <vexel/dyn_string.h>
#include <vexel/error.h>
#include <vexel/math.h>
#include <vexel/path.h>
#include <vexel/text.h>
