// Breakout: knock out the bricks with a ball kept in play by a paddle. Shows: shapes and built-in
// text drawn on the window, movement timed with vollo_get_frame_time, key state, an effect played
// in several voices, a high score kept in an INI file. Keys: Left/Right move the paddle, Space launches
// the ball (or starts a new game once over), Escape quits. Options: --scores PATH (./breakout.ini), --frames N.
#include <unistd.h>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "example_args.hpp"
#include "vollo.h"

const int kWidth = 480, kHeight = 360, kColumns = 8, kRows = 5, kBrickTop = 50;
const int kPaddleWidth = 64, kPaddleTop = 330, kRadius = 5;
const double kPaddleSpeed = 420, kBallSpeed = 360;  // pixels a second
const uint32_t kRowColors[kRows] = {VOLLO_RED, VOLLO_ORANGE, VOLLO_YELLOW, VOLLO_GREEN, VOLLO_CYAN};

struct Game
{
    vollo_window *window;
    vollo_sound *blip;
    bool bricks[kRows][kColumns], launched;
    int bricks_left, lives, score, best;
    double paddle_x, ball_x, ball_y, speed_x, speed_y;  // centres, and pixels a second
    long frames_left;  // -1: no limit
};

static void new_game(Game &game)
{
    std::fill(&game.bricks[0][0], &game.bricks[0][0] + kRows * kColumns, true);
    game.bricks_left = kRows * kColumns, game.lives = 3, game.score = 0;
    game.paddle_x = 270, game.launched = false;  // the paddle over the middle of a column
}

// True when the ball's box meets the rectangle; the ball then bounces off the side it overlaps least.
static bool bounce_off(Game &game, vollo_rect r)
{
    const double overlap_x = std::min(game.ball_x + kRadius - r.x, r.x + r.width - (game.ball_x - kRadius));
    const double overlap_y = std::min(game.ball_y + kRadius - r.y, r.y + r.height - (game.ball_y - kRadius));
    if (overlap_x <= 0 || overlap_y <= 0)
        return false;
    double &speed = overlap_x < overlap_y ? game.speed_x : game.speed_y;
    const bool before = overlap_x < overlap_y ? game.ball_x < r.x + r.width / 2 : game.ball_y < r.y + r.height / 2;
    speed = before ? -std::fabs(speed) : std::fabs(speed);
    return true;
}

// One step of `seconds`: the paddle follows the arrow keys, the ball flies and bounces.
static void update(Game &game, double seconds)
{
    const double move = (vollo_key_down(VOLLO_KEY_RIGHT) - vollo_key_down(VOLLO_KEY_LEFT)) * kPaddleSpeed * seconds;
    game.paddle_x = std::clamp(game.paddle_x + move, kPaddleWidth / 2.0, kWidth - kPaddleWidth / 2.0);
    if (!game.launched)  // the ball rests on the paddle
        game.speed_x = game.speed_y = 0, game.ball_x = game.paddle_x, game.ball_y = kPaddleTop - kRadius;
    game.ball_x += game.speed_x * seconds;
    game.ball_y += game.speed_y * seconds;
    for (vollo_rect wall : {vollo_rect{-50, -50, 50, 500}, {kWidth, -50, 50, 500}, {-50, -50, kWidth + 100, 50}})
        bounce_off(game, wall);
    for (int i = 0; i < kRows * kColumns; ++i)  // one brick at most per step
        if (bool &alive = game.bricks[i / kColumns][i % kColumns];
            alive && bounce_off(game, {i % kColumns * 60 + 2.0, kBrickTop + i / kColumns * 20.0, 56, 16}))
        {
            alive = false, --game.bricks_left;
            game.best = std::max(game.best, ++game.score);
            vollo_sound_play_voice(game.blip);  // quick hits overlap instead of cutting off
            break;
        }
    // Off the paddle the ball leaves the steeper, the farther from the paddle's middle it hits.
    if (game.speed_y > 0 && bounce_off(game, {game.paddle_x - kPaddleWidth / 2.0, kPaddleTop, kPaddleWidth, 10}))
        game.speed_x = kBallSpeed * 0.8 * (game.ball_x - game.paddle_x) / (kPaddleWidth / 2.0),
        game.speed_y = -std::sqrt(kBallSpeed * kBallSpeed - game.speed_x * game.speed_x);
    if (game.ball_y > kHeight + kRadius)
        --game.lives, game.launched = false;
}

static vollo_response each_frame(void *data)
{
    Game &game = *static_cast<Game *>(data);
    vollo_window *window = game.window;
    // Clamped: frames caught up after a stall must not jump the ball through a brick.
    if (game.lives > 0 && game.bricks_left > 0)
        update(game, std::min(vollo_get_frame_time(), 1.0 / 30));
    vollo_fill(window, VOLLO_RGB(16, 16, 40));
    for (int i = 0; i < kRows * kColumns; ++i)
        if (game.bricks[i / kColumns][i % kColumns])
            vollo_set_rectangle(window, {i % kColumns * 60 + 2, kBrickTop + i / kColumns * 20}, 56, 16,
                                kRowColors[i / kColumns], true);
    vollo_set_rectangle(window, {int(game.paddle_x) - kPaddleWidth / 2, kPaddleTop}, kPaddleWidth, 10,
                        VOLLO_LIGHT_GRAY, true);
    vollo_set_circle(window, {int(std::round(game.ball_x)), int(std::round(game.ball_y))}, kRadius, VOLLO_WHITE, true);
    char text[64];
    std::snprintf(text, sizeof text, "SCORE %d   BEST %d   LIVES %d", game.score, game.best, game.lives);
    vollo_draw_text(window, text, {8, 12}, 2, VOLLO_WHITE);
    if (game.lives == 0 || game.bricks_left == 0)
    {
        const char *message = game.lives == 0 ? "GAME OVER\nSPACE: AGAIN" : "YOU WIN!\nSPACE: AGAIN";
        const vollo_size box = vollo_text_size(message, 3);
        // A half-transparent band under the message lets the bricks show through.
        vollo_set_rectangle(window, {0, 200}, kWidth, box.height + 20, VOLLO_RGBA(0, 0, 0, 160), true);
        vollo_draw_text(window, message, {(kWidth - box.width) / 2, 210}, 3, VOLLO_YELLOW);
    }
    const bool last = example_last_frame(game.frames_left, window);
    vollo_display(window);
    return last ? 0 : VOLLO_CONTINUE;
}

static vollo_response on_key(vollo_event_state state, int32_t key, void *data)
{
    Game &game = *static_cast<Game *>(data);
    if (state == VOLLO_PRESSED && key == VOLLO_KEY_ESCAPE)
        return 0;
    if (state == VOLLO_PRESSED && key == VOLLO_KEY_SPACE && (game.lives == 0 || game.bricks_left == 0))
        new_game(game);
    else if (state == VOLLO_PRESSED && key == VOLLO_KEY_SPACE && !game.launched)
        game.launched = true, game.speed_y = -kBallSpeed;
    return VOLLO_CONTINUE;
}

int main(int argc, char **argv)
{
    const char *path = "breakout.ini";
    Game game = {};
    game.frames_left = example_frames(argc, argv, "--scores", &path);
    // A scores file that exists but cannot be read is reported and never overwritten.
    vollo_ini *scores = vollo_load_ini(path);
    if (scores == nullptr && access(path, F_OK) == 0)
        return std::fprintf(stderr, "breakout: %s: %s\n", path, vollo_ini_error()), 1;
    if (scores == nullptr && (scores = vollo_new_ini()) == nullptr)
        return 1;
    const int best_before = game.best =
        int(std::clamp<int64_t>(vollo_ini_get_int(scores, "scores", "best", 0, 0), 0, 1000000));
    if ((game.window = vollo_start(kWidth, kHeight, false, "vollo: breakout")) == nullptr)
        return vollo_delete_ini(scores), 1;
    game.blip = vollo_load_effect(VOLLO_EXAMPLE_ASSETS "/blip.wav");  // silent when missing
    new_game(game);
    vollo_set_key_response(on_key);
    vollo_set_loop_main_function(each_frame);
    vollo_loop(game.window, 60, &game);
    vollo_delete_sound(game.blip);
    vollo_stop(game.window);
    vollo_ini_set_field(scores, "scores", "best", 0, std::to_string(game.best).c_str());
    const bool saved = game.best <= best_before || vollo_save_ini(scores, path);
    if (!saved)
        std::fprintf(stderr, "breakout: %s: %s\n", path, vollo_ini_error());
    std::printf("score %d, best %d\n", game.score, game.best);
    vollo_delete_ini(scores);
    return saved ? 0 : 1;
}
