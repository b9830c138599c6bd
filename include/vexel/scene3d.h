// Vexel — 3D scene: the 3D frame, camera and projection, the transform stack that places the
// following objects, lights and fog, render switches, the 4096 numbered objects (built vertex by
// vertex or loaded from ".vxm" mesh files) and simple shapes. Angles are in degrees, colours
// R + G * 256 + B * 65536, matrices 16 numbers in OpenGL's column-major order. Object numbers
// outside 0..4095 are ignored: the command does nothing and gives its failure value.
// A triangle's front is the side from which its corners run clockwise: for a strip A, B, C, D, ...
// the first three, A, B, C (the later triangles keep that winding). Generated normals point out
// of the front, and set_cull_mode(1) keeps the fronts.
#pragma once

#include <cstdint>

#include <vexel/dyn_array.h>
#include <vexel/dyn_string.h>

namespace vexel {

//------------------------------------------------------------------------------------------------
// 3D frame
//------------------------------------------------------------------------------------------------

// Opens 3D drawing for the rest of the frame: a viewing frustum for fov > 0 (degrees, vertical),
// orthographic with half-height near * tan(|fov| / 2) * 100 otherwise; resets the camera, the
// transform stack, culling, fog, lighting, textures and the light effects.
void begin_3d(double near_plane, double far_plane, double fov);
void end_3d();                    // back to the 2D projection
void clear_depth_buffer();        // clears the depth buffer
void set_depth_test(int32_t on);  // depth test with "less" on, or off

//------------------------------------------------------------------------------------------------
// Camera
//------------------------------------------------------------------------------------------------

// Looks from the eye at the target with the up vector of set_camera_up; resets the transform stack.
void set_camera(double eye_x, double eye_y, double eye_z, double target_x, double target_y,
                double target_z);
// Used by the next set_camera; begin_3d resets it to (0, 1, 0), so a z-up scene sets it each frame.
void set_camera_up(double x, double y, double z);
void get_camera_matrix(DynArray<double>& matrix);  // 16 elements
// World point to window pixels (y from the top) and depth 0..1; 0, outputs untouched, when the
// point lies in the eye plane.
int32_t project_to_screen(double x, double y, double z, double& screen_x, double& screen_y,
                          double& screen_z);
// Window pixels and depth back to the world point; 0, outputs untouched, for a singular
// camera/projection or a point at infinity.
int32_t unproject_from_screen(double screen_x, double screen_y, double screen_z, double& x,
                              double& y, double& z);

//------------------------------------------------------------------------------------------------
// Transform of following objects
//------------------------------------------------------------------------------------------------

void translate(double x, double y, double z);  // drops the level's rotations, keeps its scale
void scale(double x, double y, double z);      // drops the level's rotations, keeps its translation
void rotate(double degrees, double x, double y, double z);  // up to 16 per level
void multiply_matrix(const DynArray<double>& matrix);  // one dimension of 16; up to 16 per level
void push_matrix();                                    // up to 16 levels
void pop_matrix();                                     // at the first level: resets it
void get_matrix(DynArray<double>& matrix);             // the current level's, 16 elements

//------------------------------------------------------------------------------------------------
// Lights, fog and render switches
//------------------------------------------------------------------------------------------------

// Light num 0..7 (cutoff 0: off; 180: directional along d; above 90: point light; else spot
// light; position and direction all 0: headlight). num -1, -2, -3 select bump mapping, cel
// shading and stencil shadows, on while cutoff is not 0.
void set_light(int32_t num, int32_t colour, double x, double y, double z, double dx, double dy,
               double dz, double cutoff);
void set_camera_light(int32_t num, int32_t colour);  // directional light from the eye
// colour -1: fog off. mode 0: linear from a to b (both 0: the near and far planes); else
// exponential with density a.
void set_fog(int32_t colour, int32_t mode, double a, double b);
// Sign of mode: 0 off (begin_3d's choice), 1 removes triangles counter-clockwise on screen (keeps
// the fronts), -1 removes clockwise ones.
void set_cull_mode(double mode);
void set_sphere_mapping(int32_t on);
// Sprite slots as textures, -1 for none; with two, tex2 goes on unit 0 and tex1 on unit 1.
void set_textures(int32_t tex1, int32_t tex2);
void set_texture_mipmapping(int32_t on);  // bind the mipmapped copies of the sprites
void set_texture_offset(double du, double dv);
void set_cel_shading(const DynArray<double>& intensities);  // levels 0..1; empty: no banding

//------------------------------------------------------------------------------------------------
// Objects
//------------------------------------------------------------------------------------------------

void object_start(int32_t num);        // empties the object and starts building it
void object_set_frame(int32_t frame);  // the animation frame the next vertices go to
// Colour -1, -2, -3 makes the record a marker (triangles, strip, fan); -4 is a white vertex.
// v is stored negated (get_face gives back -v).
void object_add_vertex(double x, double y, double z, double u, double v, int32_t colour);
void object_new_group();  // ends the current triangle strip
void object_end();        // completes the object; unequal frames leave it empty
// Normals object_end makes, pointing out of the fronts; mode is taken modulo 3 with its sign: 0
// or below none (the vertices keep theirs), 1 each record the sum of the faces that use it (flat
// when each face is a strip of its own), 2 records at equal positions share one (smooth; default).
void set_auto_normals(int32_t mode);
int32_t load_object(const DynString& file, int32_t num);  // 1 loaded, 0 failed (object empty)
// Writes the first mesh (also one still being built); 0 and last error 3 when nothing was written.
int32_t save_object(const DynString& file, int32_t num);
int32_t find_free_object();        // first unused number, -1 when full
int32_t count_faces(int32_t num);  // triangles of frame 0
// Dimensions the array 3 x 9 and fills corners.at(corner 0..2, value 0..8) with x, y, z, u, v,
// colour, nx, ny, nz of the face in that frame, faces counted on across the slot's meshes; the
// array is left untouched for a face beyond the last.
void get_face(int32_t num, int32_t frame, int32_t face, DynArray<double>& corners);
void scale_object(int32_t num, double x, double y, double z);  // multiplies the geometry
// Draws the slot at that frame (beyond the last: the last) with the current textures, transform,
// lights and fog; 0.
int32_t draw_object(int32_t num, int32_t frame);
// The same between frame_a and frame_b by t (0..1); with loop, t runs over all frames a..b.
int32_t draw_object_blend(int32_t num, int32_t frame_a, int32_t frame_b, double t, int32_t loop);

//------------------------------------------------------------------------------------------------
// Simple shapes (at world positions: the transform stack does not move them)
//------------------------------------------------------------------------------------------------

// A smoothed line width pixels wide (1..512), whatever the distance.
void draw_line_3d(double x1, double y1, double z1, double x2, double y2, double z2, double width,
                  int32_t colour);
// A smoothed round dot size pixels across (1..512), whatever the distance.
void draw_dot_3d(double x, double y, double z, double size, int32_t colour);
void draw_axes(double x, double y, double z);  // red X, green Y, blue Z, 20 units long
// The text in the current font, proportional, upright and facing the screen, the top-left corner
// of its first cell at the point; size is world units per font pixel (an 8 x 8 cell at 0.05 is
// 0.4 units high). Scaled letters stay crisp with set_smoothing(false).
void print_3d(const DynString& text, double x, double y, double z, double size);
// The sprite facing the screen, centred on the point; scale is world units per picture pixel.
void draw_sprite_3d(int32_t sprite, double x, double y, double z, double scale);

}  // namespace vexel
