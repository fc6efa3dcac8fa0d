// Snake, with its input recorded to a file and played back from it.
//
//   record_replay --record game.txt   you play; every input event, each frame's
//                                     time and the random seed go to game.txt
//   record_replay --replay game.txt   the same game plays again by itself, frame
//                                     for frame, and ends where yours ended
// (VOLLO_RECORD=game.txt and VOLLO_REPLAY=game.txt in the environment do the same
// for any vollo program.)
// Shows: vollo_record_input and vollo_replay_input, and what makes a replay
// exact: the game reads only vollo's input (vollo_key_pressed), time
// (vollo_get_frame_time) and random numbers (vollo_random), never the real clock.
// Keys: arrows steer, Space starts again after a crash, Escape quits. --frames N.
#include <cstdio>
#include <deque>
#include <string>

#include "example_args.hpp"
#include "vollo.h"

namespace
{
const int kCell = 16, kColumns = 24, kRows = 18;
const double kStep = 0.12;  // seconds between two moves

struct Game
{
    vollo_window *window;
    std::deque<vollo_position> snake;  // head first, in cells
    vollo_position direction, food;
    double waited;  // seconds since the last move
    bool crashed;
    int score;
    long frames_left;
};

void place_food(Game &game)
{
    // The seed is in the recording, so a replay puts the food in the same cells.
    game.food = {vollo_random(0, kColumns - 1), vollo_random(0, kRows - 1)};
}

void new_game(Game &game)
{
    game.snake = {{8, 9}, {7, 9}, {6, 9}};
    game.direction = {1, 0};
    game.waited = 0;
    game.crashed = false;
    game.score = 0;
    place_food(game);
}

// Arrows turn the snake, but never straight back onto itself.
void steer(Game &game)
{
    const struct { int32_t key; vollo_position direction; } turns[] = {
        {VOLLO_KEY_LEFT, {-1, 0}}, {VOLLO_KEY_RIGHT, {1, 0}}, {VOLLO_KEY_UP, {0, -1}}, {VOLLO_KEY_DOWN, {0, 1}}};
    for (const auto &turn : turns)
        if (vollo_key_pressed(turn.key) && turn.direction.x != -game.direction.x &&
            turn.direction.y != -game.direction.y)
            game.direction = turn.direction;
}

void move(Game &game)
{
    const vollo_position head = {game.snake.front().x + game.direction.x, game.snake.front().y + game.direction.y};
    bool hit = head.x < 0 || head.y < 0 || head.x >= kColumns || head.y >= kRows;
    for (const vollo_position &part : game.snake)
        hit = hit || (part.x == head.x && part.y == head.y);
    if (hit)
    {
        game.crashed = true;
        return;
    }
    game.snake.push_front(head);
    if (head.x == game.food.x && head.y == game.food.y)
    {
        ++game.score;
        place_food(game);
    }
    else
        game.snake.pop_back();
}

void draw(Game &game)
{
    vollo_window *window = game.window;
    vollo_fill(window, VOLLO_RGB(20, 30, 20));
    vollo_set_circle(window, {game.food.x * kCell + kCell / 2, game.food.y * kCell + kCell / 2}, kCell / 2 - 1,
                     VOLLO_RED, true);
    for (const vollo_position &part : game.snake)
        vollo_set_rectangle(window, {part.x * kCell + 1, part.y * kCell + 1}, kCell - 2, kCell - 2,
                            game.crashed ? VOLLO_GRAY : VOLLO_GREEN, true);
    vollo_draw_text(window, ("SCORE " + std::to_string(game.score)).c_str(), {6, 6}, 2, VOLLO_WHITE);
    if (game.crashed)
        vollo_draw_text(window, "CRASH! SPACE: AGAIN", {80, 130}, 2, VOLLO_YELLOW);
}

vollo_response each_frame(void *data)
{
    Game &game = *static_cast<Game *>(data);
    // The first game starts in the first frame, once a replay has set the recorded seed.
    if (game.snake.empty())
        new_game(game);
    if (vollo_key_pressed(VOLLO_KEY_ESCAPE))
        return 0;
    if (game.crashed && vollo_key_pressed(VOLLO_KEY_SPACE))
        new_game(game);
    steer(game);
    // Moves follow the frame times, which a replay gives back as they were.
    for (game.waited += vollo_get_frame_time(); game.waited >= kStep && !game.crashed; game.waited -= kStep)
        move(game);
    draw(game);
    const bool last = example_last_frame(game.frames_left, game.window);
    vollo_display(game.window);
    return last ? 0 : VOLLO_CONTINUE;
}
}  // namespace

int main(int argc, char **argv)
{
    const char *record = nullptr, *replay = nullptr;
    Game game = {};
    game.frames_left = example_frames(argc, argv, "--record", &record);
    example_frames(argc, argv, "--replay", &replay);
    // Both are called before vollo_loop; a replay ignores the real keyboard.
    if ((record != nullptr && !vollo_record_input(record)) || (replay != nullptr && !vollo_replay_input(replay)))
    {
        std::fprintf(stderr, "record_replay: %s\n", vollo_error());
        return 1;
    }
    game.window = vollo_start(kColumns * kCell, kRows * kCell, false, "vollo: snake, recorded and replayed");
    if (game.window == nullptr)
    {
        std::fprintf(stderr, "record_replay: %s\n", vollo_error());
        return 1;
    }
    vollo_set_loop_main_function(each_frame);
    const vollo_response result = vollo_loop(game.window, 60, &game);
    vollo_stop(game.window);
    std::printf("score %d\n", game.score);
    return result == 0 || result == 1 ? 0 : 1;
}
