// Coin catch: steer the ball with the arrow keys and catch the spinning coins. The best score is
// kept in "coin_catch.ini" next to the game. The pictures and the sound are made by the build
// (make_media.cpp) and sit next to the executable, where the engine looks for them.
#include <algorithm>
#include <cmath>

#include <vexel/vexel.h>

constexpr int kWidth = 640;
constexpr int kHeight = 480;
constexpr int kPlayer = 1;  // sprite slots: any number from 0 to 65503
constexpr int kCoin = 2;
constexpr int kCoinSound = 1;  // sound slots: 0 to 4095
constexpr int kSpeed = 4;      // pixels per frame

// Where the coins appear, one after the other (top-left corners, in screen pixels).
constexpr int kCoinSpots[][2] = {{480, 232}, {480, 400}, {120, 400}, {120, 80}, {560, 40}};
constexpr int kCoinSpotCount = sizeof kCoinSpots / sizeof kCoinSpots[0];

static void settings(vexel::ProjectSettings& s) {
    s.width = kWidth;
    s.height = kHeight;
    s.project_name = "Coin catch";
}

static void run() {
    vexel::load_sprite("player.png", kPlayer);
    vexel::load_sprite("coin.png", kCoin);
    vexel::load_sound("coin.wav", kCoinSound, 2);  // two buffers: a catch may overlap the last
    vexel::set_clear_colour(0x402010);             // R + G*256 + B*65536: dark blue

    // Written back when the program ends (Escape, the close box, ...) if it changed.
    vexel::ini_open("coin_catch.ini");
    int best = vexel::text_to_int(vexel::ini_get("scores", "best", "0"));

    int x = (kWidth - 32) / 2;
    int y = (kHeight - 32) / 2;
    int score = 0;
    int coin = 0;
    for (int frame = 0;; ++frame) {
        if (vexel::key_state(vexel::kKeyLeft)) x -= kSpeed;
        if (vexel::key_state(vexel::kKeyRight)) x += kSpeed;
        if (vexel::key_state(vexel::kKeyUp)) y -= kSpeed;
        if (vexel::key_state(vexel::kKeyDown)) y += kSpeed;
        x = std::clamp(x, 0, kWidth - 32);
        y = std::clamp(y, 20, kHeight - 52);  // clear of the text lines

        const int coin_x = kCoinSpots[coin][0];
        const int coin_y = kCoinSpots[coin][1];
        if (vexel::sprite_collision(kPlayer, x, y, kCoin, coin_x, coin_y)) {
            vexel::play_sound(kCoinSound, (coin_x - kWidth / 2) / (kWidth / 2.0), 0.8);
            coin = (coin + 1) % kCoinSpotCount;
            if (++score > best) {
                best = score;
                vexel::ini_put("scores", "best", vexel::DynString(best));
            }
        }

        // The coin spins: zoomed about its centre, so (coin_x, coin_y) stays its unzoomed
        // top-left corner, the place sprite_collision tests.
        vexel::zoom_sprite(kCoin, coin_x, coin_y, std::cos(frame * 0.08), 1);
        vexel::draw_sprite(kPlayer, x, y);
        vexel::print_text(vexel::DynString("Score ") + score, 8, 6, false);
        const vexel::DynString best_text = vexel::DynString("Best ") + best;
        vexel::print_text(best_text, kWidth - 8 - vexel::text_width(best_text, false), 6, false);
        vexel::print_text("Arrow keys move, Escape quits", 8, kHeight - 14, false);
        vexel::show_screen();  // Escape ends the program
    }
}

VEXEL_GAME(settings, nullptr, run)
