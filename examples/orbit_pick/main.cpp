// Orbit and pick: a ring of cubes on a chequered floor under a camera that circles them, lit by
// a white sun and a warm lamp, fading into fog. The cube under the mouse pointer is found with a
// ray and lights up. Space stops and starts the camera; Escape quits.
#include <cmath>

#include <vexel/vexel.h>

constexpr int kCube = 0;  // object numbers: 0 to 4095
constexpr int kFloor = 1;
constexpr int kCubeCount = 6;
constexpr double kRingRadius = 3;
constexpr double kDegrees = 3.14159265358979 / 180;
constexpr int kSky = 0x806040;  // R + G*256 + B*65536; the fog has the same colour

static void settings(vexel::ProjectSettings& s) {
    s.project_name = "Orbit and pick";
}

// One quad as a triangle strip, its corners as seen from the front: top-left, top-right,
// bottom-left, bottom-right. The strip's first triangle then runs clockwise seen from the
// front, which is the side the engine's normals point to and the side set_cull_mode(1) keeps.
static void add_quad(const double corners[4][3], int colour) {
    for (int i = 0; i < 4; ++i)
        vexel::object_add_vertex(corners[i][0], corners[i][1], corners[i][2], 0, 0, colour);
    vexel::object_new_group();  // the next quad is a strip of its own
}

static void build_cube() {
    constexpr double h = 0.5;
    const double faces[6][4][3] = {
        {{-h, h, h}, {h, h, h}, {-h, -h, h}, {h, -h, h}},      // top, seen from above
        {{h, h, -h}, {-h, h, -h}, {h, -h, -h}, {-h, -h, -h}},  // bottom, seen from below
        {{h, -h, h}, {h, h, h}, {h, -h, -h}, {h, h, -h}},      // +x side
        {{-h, h, h}, {-h, -h, h}, {-h, h, -h}, {-h, -h, -h}},  // -x side
        {{h, h, h}, {-h, h, h}, {h, h, -h}, {-h, h, -h}},      // +y side
        {{-h, -h, h}, {h, -h, h}, {-h, -h, -h}, {h, -h, -h}},  // -y side
    };
    const int colours[6] = {0xF0F0F0, 0x404040, 0x3030E0, 0x30C030, 0xE08030, 0x30D0E0};
    vexel::set_auto_normals(1);  // each face keeps its own normals: flat, sharp edges
    vexel::object_start(kCube);
    for (int f = 0; f < 6; ++f)
        add_quad(faces[f], colours[f]);
    vexel::object_end();
}

// 16 x 16 squares of 2 units, light and dark, in the plane z = 0, facing up.
static void build_floor() {
    vexel::object_start(kFloor);
    for (int row = 0; row < 16; ++row) {
        for (int column = 0; column < 16; ++column) {
            const double x0 = column * 2 - 16;
            const double y0 = row * 2 - 16;
            const double square[4][3] = {
                {x0, y0 + 2, 0}, {x0 + 2, y0 + 2, 0}, {x0, y0, 0}, {x0 + 2, y0, 0}};
            add_quad(square, (row + column) % 2 ? 0x607060 : 0x90A090);
        }
    }
    vexel::object_end();
}

// Cube i's place in the ring, turning slowly. Drawing and picking use the same transform.
static void place_cube(int i, int frame) {
    const double angle = i * 360.0 / kCubeCount;
    vexel::translate(kRingRadius * std::cos(angle * kDegrees),
                     kRingRadius * std::sin(angle * kDegrees), 0.5);
    vexel::rotate(angle + frame * 0.5, 0, 0, 1);
}

// The cube under the mouse pointer, or -1. The ray runs from the pointer on the near plane
// (depth 0) to the far plane (depth 1) and is tested against each cube where it stands; hit is
// set a little in front of the point where it meets the nearest one.
static int pick_cube(int frame, double hit[3]) {
    int x = 0, y = 0, left = 0, right = 0;
    vexel::mouse_state(x, y, left, right);
    double from[3], to[3];
    if (!vexel::unproject_from_screen(x, y, 0, from[0], from[1], from[2]) ||
        !vexel::unproject_from_screen(x, y, 1, to[0], to[1], to[2]))
        return -1;
    const double ray[3] = {to[0] - from[0], to[1] - from[1], to[2] - from[2]};
    int picked = -1;
    double nearest = 0;
    for (int i = 0; i < kCubeCount; ++i) {
        place_cube(i, frame);  // ray_distance undoes the placement to reach the cube's own space
        const double d =
            vexel::ray_distance(kCube, 0, from[0], from[1], from[2], ray[0], ray[1], ray[2]);
        if (d > 0 && (picked < 0 || d < nearest)) {
            picked = i;
            nearest = d;
        }
    }
    // The distance counts along the ray made one unit long.
    const double length = std::sqrt(ray[0] * ray[0] + ray[1] * ray[1] + ray[2] * ray[2]);
    for (int k = 0; k < 3; ++k)
        hit[k] = from[k] + ray[k] * (nearest - 0.05) / length;
    return picked;
}

static void run() {
    build_cube();
    build_floor();
    vexel::set_clear_colour(kSky);
    double orbit = 30;  // degrees round the ring
    bool orbiting = true;
    for (int frame = 0;; ++frame) {
        if (vexel::key_hit(vexel::kKeySpace)) orbiting = !orbiting;
        if (orbiting) orbit += 0.4;

        // Everything 3D is set again each frame: begin_3d resets camera, lights, fog, culling.
        vexel::begin_3d(0.5, 100, 45);  // near, far, vertical field of view in degrees
        vexel::set_camera_up(0, 0, 1);  // z is up here; the default is (0, 1, 0)
        const double eye_x = 10 * std::cos(orbit * kDegrees);
        const double eye_y = 10 * std::sin(orbit * kDegrees);
        vexel::set_camera(eye_x, eye_y, 5, 0, 0, 0.5);  // from the eye to the point it looks at
        vexel::set_cull_mode(1);                        // back faces are not drawn
        vexel::set_fog(kSky, 0, 8, 26);  // linear: clear up to 8 units away, all fog from 26
        vexel::set_light(0, 0xE0E0E0, 0, 0, 0, -1, -0.5, -2, 180);  // the sun, shining along d
        vexel::set_light(1, 0x40A0FF, 0, 0, 3, 0, 0, 0, 120);       // a warm lamp over the ring

        double hit[3];
        const int picked = pick_cube(frame, hit);

        vexel::translate(0, 0, 0);  // the floor at the origin, unturned: drops the last cube's turn
        vexel::draw_object(kFloor, 0);
        for (int i = 0; i < kCubeCount; ++i) {
            place_cube(i, frame);
            if (i == picked) vexel::set_camera_light(2, 0x909090);  // more light, from the eye
            vexel::draw_object(kCube, 0);
            if (i == picked) vexel::set_light(2, 0, 0, 0, 0, 0, 0, 0, 0);  // cutoff 0: off
        }
        if (picked >= 0) {
            // A dot where the ray meets the cube (its size is in pixels), and a label whose
            // top-left corner sits above the cube (its size is world units per font pixel).
            vexel::draw_dot_3d(hit[0], hit[1], hit[2], 8, 0xFFFFFF);
            const double angle = picked * 360.0 / kCubeCount * kDegrees;
            vexel::set_smoothing(false);  // nearest texels: scaled letters stay crisp
            vexel::print_3d(vexel::DynString("cube ") + picked, kRingRadius * std::cos(angle),
                            kRingRadius * std::sin(angle), 1.6, 0.04);
        }
        vexel::end_3d();

        vexel::print_text(picked >= 0 ? vexel::DynString("Pointing at cube ") + picked
                                      : vexel::DynString("Point at a cube"),
                          8, 6, false);
        vexel::print_text("Space stops the camera, Escape quits", 8, 466, false);
        vexel::show_screen();
    }
}

VEXEL_GAME(settings, nullptr, run)
