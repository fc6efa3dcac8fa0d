// Breakout: knock out the bricks with a ball kept in play by a paddle.
//
// Shows: shapes and built-in text drawn on the window, movement timed with
// vollo_get_frame_time, key names (VOLLO_KEY_*), an effect played in several voices,
// and a high score kept in an INI file read with vollo_ini_get_int.
// Keys: Left and Right move the paddle, Space launches the ball (and starts a new
// game once it is over), Escape quits. Options: --scores PATH (default: breakout.ini
// in the current folder), --frames N.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include <sys/stat.h>

#include "example_args.hpp"
#include "vollo.h"

#ifndef VOLLO_EXAMPLE_ASSETS
#define VOLLO_EXAMPLE_ASSETS "examples/assets"
#endif

namespace
{
const int kWidth = 480, kHeight = 360;
const int kColumns = 8, kRows = 5, kBrickWidth = 56, kBrickHeight = 16, kBrickTop = 50;
const int kPaddleWidth = 64, kPaddleHeight = 10, kPaddleTop = 330, kRadius = 5;
const double kPaddleSpeed = 420, kBallSpeed = 360;  // pixels a second
const uint32_t kRowColors[kRows] = {VOLLO_RED, VOLLO_ORANGE, VOLLO_YELLOW, VOLLO_GREEN, VOLLO_CYAN};
const uint32_t kBackground = VOLLO_RGB(16, 16, 40);

struct Game
{
    vollo_window *window;
    vollo_sound *blip;
    bool bricks[kRows][kColumns];
    int bricks_left;
    double paddle_x;        // centre of the paddle
    double ball_x, ball_y;  // centre of the ball
    double speed_x, speed_y;
    bool launched;
    int lives, score, best;
    long frames_left;  // -1: no limit
};

void new_game(Game &game)
{
    std::fill(&game.bricks[0][0], &game.bricks[0][0] + kRows * kColumns, true);
    game.bricks_left = kRows * kColumns;
    game.paddle_x = 270;  // over the middle of a column, not between two
    game.launched = false;
    game.lives = 3;
    game.score = 0;
}

// True when the ball's box meets the rectangle; the ball then bounces off the side
// it overlaps least.
bool bounce_off(Game &game, double left, double top, double width, double height)
{
    const double overlap_x = std::min(game.ball_x + kRadius - left, left + width - (game.ball_x - kRadius));
    const double overlap_y = std::min(game.ball_y + kRadius - top, top + height - (game.ball_y - kRadius));
    if (overlap_x <= 0 || overlap_y <= 0)
        return false;
    if (overlap_x < overlap_y)
        game.speed_x = game.ball_x < left + width / 2 ? -std::fabs(game.speed_x) : std::fabs(game.speed_x);
    else
        game.speed_y = game.ball_y < top + height / 2 ? -std::fabs(game.speed_y) : std::fabs(game.speed_y);
    return true;
}

void hit_bricks(Game &game)
{
    for (int row = 0; row < kRows; ++row)
        for (int column = 0; column < kColumns; ++column)
            if (game.bricks[row][column] &&
                bounce_off(game, column * 60 + 2, kBrickTop + row * 20, kBrickWidth, kBrickHeight))
            {
                game.bricks[row][column] = false;
                --game.bricks_left;
                ++game.score;
                game.best = std::max(game.best, game.score);
                vollo_sound_play_voice(game.blip);  // quick hits overlap instead of cutting off
                return;
            }
}

// One step of `seconds`: the paddle follows the arrow keys, the ball flies and bounces.
void update(Game &game, double seconds)
{
    const uint8_t *keys = vollo_get_keyboard();
    const double move = (keys[VOLLO_KEY_RIGHT] - keys[VOLLO_KEY_LEFT]) * kPaddleSpeed * seconds;
    game.paddle_x = std::clamp(game.paddle_x + move, kPaddleWidth / 2.0, kWidth - kPaddleWidth / 2.0);
    if (!game.launched)
    {
        game.ball_x = game.paddle_x;
        game.ball_y = kPaddleTop - kRadius;
        return;
    }
    game.ball_x += game.speed_x * seconds;
    game.ball_y += game.speed_y * seconds;
    if (game.ball_x < kRadius || game.ball_x > kWidth - kRadius)
        game.speed_x = game.ball_x < kRadius ? std::fabs(game.speed_x) : -std::fabs(game.speed_x);
    if (game.ball_y < kRadius)
        game.speed_y = std::fabs(game.speed_y);
    hit_bricks(game);
    if (game.speed_y > 0 &&
        bounce_off(game, game.paddle_x - kPaddleWidth / 2.0, kPaddleTop, kPaddleWidth, kPaddleHeight))
    {
        // The farther from the paddle's middle, the steeper the ball leaves.
        const double offset = (game.ball_x - game.paddle_x) / (kPaddleWidth / 2.0);
        game.speed_x = kBallSpeed * 0.8 * offset;
        game.speed_y = -std::sqrt(kBallSpeed * kBallSpeed - game.speed_x * game.speed_x);
    }
    if (game.ball_y > kHeight + kRadius)
    {
        --game.lives;
        game.launched = false;
    }
}

void draw(Game &game)
{
    vollo_window *window = game.window;
    vollo_fill(window, kBackground);
    for (int row = 0; row < kRows; ++row)
        for (int column = 0; column < kColumns; ++column)
            if (game.bricks[row][column])
                vollo_set_rectangle(window, {column * 60 + 2, kBrickTop + row * 20}, kBrickWidth, kBrickHeight,
                                    kRowColors[row], true);
    vollo_set_rectangle(window, {int(game.paddle_x) - kPaddleWidth / 2, kPaddleTop}, kPaddleWidth, kPaddleHeight,
                        VOLLO_LIGHT_GRAY, true);
    vollo_set_circle(window, {int(std::lround(game.ball_x)), int(std::lround(game.ball_y))}, kRadius, VOLLO_WHITE,
                     true);
    const std::string status = "SCORE " + std::to_string(game.score) + "   BEST " + std::to_string(game.best) +
                               "   LIVES " + std::to_string(game.lives);
    vollo_draw_text(window, status.c_str(), {8, 12}, 2, VOLLO_WHITE);
    if (game.lives == 0 || game.bricks_left == 0)
    {
        const char *message = game.lives == 0 ? "GAME OVER\nSPACE: AGAIN" : "YOU WIN!\nSPACE: AGAIN";
        const vollo_size box = vollo_text_size(message, 3);
        // A half-transparent band under the message lets the bricks show through.
        vollo_set_rectangle(window, {0, 200}, kWidth, box.height + 20, VOLLO_RGBA(0, 0, 0, 160), true);
        vollo_draw_text(window, message, {(kWidth - box.width) / 2, 210}, 3, VOLLO_YELLOW);
    }
}

vollo_response on_key(vollo_event_state state, int32_t key, void *data)
{
    Game &game = *static_cast<Game *>(data);
    if (state != VOLLO_PRESSED)
        return VOLLO_CONTINUE;
    if (key == VOLLO_KEY_ESCAPE)
        return 0;
    if (key == VOLLO_KEY_SPACE && (game.lives == 0 || game.bricks_left == 0))
        new_game(game);
    else if (key == VOLLO_KEY_SPACE && !game.launched)
    {
        game.launched = true;
        game.speed_x = 0;
        game.speed_y = -kBallSpeed;
    }
    return VOLLO_CONTINUE;
}

vollo_response each_frame(void *data)
{
    Game &game = *static_cast<Game *>(data);
    // Frames caught up after a stall come with a long frame time: clamped, so that the
    // ball never jumps through a brick or the paddle.
    const double seconds = std::min(vollo_get_frame_time(), 1.0 / 30);
    if (game.lives > 0 && game.bricks_left > 0)
        update(game, seconds);
    draw(game);
    const bool last = example_last_frame(game.frames_left, game.window);
    vollo_display(game.window);
    return last ? 0 : VOLLO_CONTINUE;
}
}  // namespace

int main(int argc, char **argv)
{
    const char *path = "breakout.ini";
    Game game = {};
    game.frames_left = example_frames(argc, argv, "--scores", &path);

    // A scores file that exists but cannot be read is reported and never overwritten.
    struct stat status;
    vollo_ini *scores = vollo_load_ini(path);
    if (scores == nullptr && stat(path, &status) == 0)
    {
        std::fprintf(stderr, "breakout: %s: %s\n", path, vollo_ini_error());
        return 1;
    }
    if (scores == nullptr && (scores = vollo_new_ini()) == nullptr)
        return 1;
    game.best = static_cast<int>(std::clamp<int64_t>(vollo_ini_get_int(scores, "scores", "best", 0, 0), 0, 1000000));
    const int best_before = game.best;

    game.window = vollo_start(kWidth, kHeight, false, "vollo: breakout");
    if (game.window == nullptr)
    {
        vollo_delete_ini(scores);
        return 1;
    }
    game.blip = vollo_load_effect(VOLLO_EXAMPLE_ASSETS "/blip.wav");  // silent when missing
    new_game(game);
    vollo_set_key_response(on_key);
    vollo_set_loop_main_function(each_frame);
    vollo_loop(game.window, 60, &game);
    vollo_delete_sound(game.blip);
    vollo_stop(game.window);

    int result = 0;
    if (game.best > best_before)
    {
        vollo_ini_set_field(scores, "scores", "best", 0, std::to_string(game.best).c_str());
        if (!vollo_save_ini(scores, path))
        {
            std::fprintf(stderr, "breakout: %s: %s\n", path, vollo_ini_error());
            result = 1;
        }
    }
    std::printf("score %d, best %d\n", game.score, game.best);
    vollo_delete_ini(scores);
    return result;
}
