// Vexel — input: keys by scan code, typed characters, the mouse and up to ten joysticks. Input
// is sampled: show_screen reads the keyboard and the mouse once per frame and the commands read
// that sample. Positions and directions are the script's, on the screen as it is turned.
#pragma once

#include <cstdint>

#include <vexel/dyn_string.h>
#include <vexel/keys.h>

namespace vexel {

//------------------------------------------------------------------------------------------------
// Keyboard
//------------------------------------------------------------------------------------------------

// 1 while the key is down, else 0. Keys are DirectInput scan codes, named in <vexel/keys.h>
// (kKeyEscape 1, kKeySpace 57, kKeyUp 200, ...); only the low 8 bits count. Reads the frame's
// keyboard sample, taken by show_screen from the keyboard as it is then; every 129th call between
// two frames reads it afresh. A key tapped (down and up) between two reads reads 1 once.
int32_t key_state(int32_t code);
// 1 when the key went down since the previous show_screen (up to the keyboard's latest read),
// else 0: an edge for actions that happen once per press. Auto-repeat is no new press.
int32_t key_hit(int32_t code);

//------------------------------------------------------------------------------------------------
// Typed characters
//------------------------------------------------------------------------------------------------

// The oldest character typed and not yet taken (Return as character 10), or empty text. At
// most 16 characters wait; more typed before they are taken are lost.
DynString inkey();
// Discards what was typed, waits for a character and discards that too.
void wait_key();
// Lets the user edit text at (x, y) in the current font over a still copy of the screen, one
// frame per turn with a blinking "_" cursor, until Return; Backspace removes the last character.
// Uses background 3 while editing and removes it afterwards. The edited text, or it read as a
// whole number or a number.
DynString input_line(const DynString& text, double x, double y, bool proportional);
int32_t input_line_int(const DynString& text, double x, double y, bool proportional);
double input_line_number(const DynString& text, double x, double y, bool proportional);

//------------------------------------------------------------------------------------------------
// Mouse
//------------------------------------------------------------------------------------------------

// Position (within 0 ... screen width - 1 and height - 1) and buttons (1 while held, b1 left,
// b2 right). Motion and wheel count afresh from here, as after a frame.
void mouse_state(int32_t& x, int32_t& y, int32_t& b1, int32_t& b2);
void mouse_state(double& x, double& y, double& b1, double& b2);
// Since the last frame: 0 horizontal and 1 vertical motion, 2 wheel (-1, 0 or 1 per sample,
// positive away from the user); held now: 3 left, 4 right, 5 middle button (0 or 1). 0 for
// other n.
int32_t mouse_axis(int32_t n);
// The engine's mouse position := (x, y); the system cursor stays where it is.
void set_mouse_position(int32_t x, int32_t y);
// Non-zero: the system pointer is shown and the mouse read as a position; 0: hidden, the mouse
// read as motion (the engine keeps its own cursor, held within the window).
void show_system_pointer(int32_t on);
int32_t mouse_count();         // 1
void select_mouse(int32_t n);  // mouse 0, whatever n is
// Waits until no button is held, then until one is pressed, then until all are released.
void wait_mouse();

//------------------------------------------------------------------------------------------------
// Joysticks (found at start-up, numbered from 0; other numbers read as a centred stick)
//------------------------------------------------------------------------------------------------

int32_t joystick_count();
DynString joystick_name(int32_t n);  // "instance, product", or empty text
// 128 while button b (0-31) is pressed, else 0; 0 for b outside 0-31.
int32_t joystick_button(int32_t n, int32_t b);
// Axes in -1 ... 1. X and Y (and the rotations about them) turn with the screen.
double joystick_x(int32_t n);
double joystick_y(int32_t n);
double joystick_z(int32_t n);
double joystick_rx(int32_t n);
double joystick_ry(int32_t n);
double joystick_rz(int32_t n);
// The first hat as a direction: -1, 0 or 1 (x: left / right, y: up / down).
int32_t joystick_pov_x(int32_t n);
int32_t joystick_pov_y(int32_t n);
// Joystick 0: X / 30000 and Y / 30000 truncated (not turned), buttons 0 and 1 (128 or 0).
void joystick_state(int32_t& x, int32_t& y, int32_t& b1, int32_t& b2);
void joystick_state(double& x, double& y, double& b1, double& b2);
// A constant force for duration_ms milliseconds towards (fx, fy) (each clamped to -1 ... 1),
// strength growing with fx * fx + fy * fy. Joysticks without force feedback are left alone.
void joystick_force(int32_t n, double duration_ms, double fx, double fy);

}  // namespace vexel
