// Shapes that light up when the shape under the mouse touches them.
//
// Shows: the collision helpers vollo_rects_overlap, vollo_circles_overlap,
// vollo_circle_rect_overlap and vollo_point_in_rect on vollo_rect records, with
// overlap meaning a shared area (edges that only touch do not count).
// Mouse: moves the player shape; a click switches it between a box and a ball.
// Balls drifting across bounce off the walls and off each other. Escape quits;
// --frames N ends it after N frames.
#include <cmath>
#include <cstdio>
#include <vector>

#include "example_args.hpp"
#include "vollo.h"

namespace
{
const int kWidth = 480, kHeight = 320, kPlayerSize = 50;

struct Ball
{
    double x, y, radius, speed_x, speed_y;
};

struct Scene
{
    vollo_window *window;
    std::vector<vollo_rect> boxes;
    std::vector<Ball> balls;
    bool player_is_ball;
    long frames_left;
};

vollo_response on_click(vollo_event_state state, int32_t, void *data)
{
    if (state == VOLLO_PRESSED)
        static_cast<Scene *>(data)->player_is_ball ^= true;
    return VOLLO_CONTINUE;
}

vollo_response on_key(vollo_event_state state, int32_t key, void *)
{
    return state == VOLLO_PRESSED && key == VOLLO_KEY_ESCAPE ? 0 : VOLLO_CONTINUE;
}

void move_balls(Scene &scene, double seconds)
{
    for (Ball &ball : scene.balls)
    {
        ball.x += ball.speed_x * seconds;
        ball.y += ball.speed_y * seconds;
        if (ball.x < ball.radius || ball.x > kWidth - ball.radius)
            ball.speed_x = ball.x < ball.radius ? std::fabs(ball.speed_x) : -std::fabs(ball.speed_x);
        if (ball.y < ball.radius || ball.y > kHeight - ball.radius)
            ball.speed_y = ball.y < ball.radius ? std::fabs(ball.speed_y) : -std::fabs(ball.speed_y);
    }
    // Two balls that overlap and still close in swap their speeds (equal masses).
    for (size_t i = 0; i < scene.balls.size(); ++i)
        for (size_t j = i + 1; j < scene.balls.size(); ++j)
        {
            Ball &a = scene.balls[i], &b = scene.balls[j];
            const bool closing = (b.x - a.x) * (a.speed_x - b.speed_x) + (b.y - a.y) * (a.speed_y - b.speed_y) > 0;
            if (closing && vollo_circles_overlap(a.x, a.y, a.radius, b.x, b.y, b.radius))
            {
                std::swap(a.speed_x, b.speed_x);
                std::swap(a.speed_y, b.speed_y);
            }
        }
}

vollo_response each_frame(void *data)
{
    Scene &scene = *static_cast<Scene *>(data);
    vollo_window *window = scene.window;
    move_balls(scene, std::min(vollo_get_frame_time(), 0.05));

    // The player: a box or a ball centred on the mouse.
    const vollo_position mouse = *vollo_get_mouse_position();
    const double half = kPlayerSize / 2.0;
    const vollo_rect player = {mouse.x - half, mouse.y - half, double(kPlayerSize), double(kPlayerSize)};
    auto hits_rect = [&](const vollo_rect &r) {
        return scene.player_is_ball ? vollo_circle_rect_overlap(mouse.x, mouse.y, half, r)
                                    : vollo_rects_overlap(player, r);
    };
    auto hits_ball = [&](const Ball &b) {
        return scene.player_is_ball ? vollo_circles_overlap(mouse.x, mouse.y, half, b.x, b.y, b.radius)
                                    : vollo_circle_rect_overlap(b.x, b.y, b.radius, player);
    };

    vollo_fill(window, VOLLO_RGB(20, 24, 36));
    for (const vollo_rect &box : scene.boxes)
    {
        const vollo_position corner = {int(box.x), int(box.y)};
        vollo_set_rectangle(window, corner, int(box.width), int(box.height), hits_rect(box) ? VOLLO_RED : VOLLO_GRAY, true);
        // The pointer's own pixel inside a box outlines it.
        if (vollo_point_in_rect(mouse.x, mouse.y, box))
            vollo_set_rectangle(window, corner, int(box.width), int(box.height), VOLLO_WHITE, false);
    }
    for (const Ball &ball : scene.balls)
        vollo_set_circle(window, {int(ball.x), int(ball.y)}, int(ball.radius), hits_ball(ball) ? VOLLO_RED : VOLLO_CYAN, true);
    const uint32_t see_through = VOLLO_RGBA(255, 255, 0, 140);
    if (scene.player_is_ball)
        vollo_set_circle(window, mouse, kPlayerSize / 2, see_through, true);
    else
        vollo_set_rectangle(window, {mouse.x - kPlayerSize / 2, mouse.y - kPlayerSize / 2}, kPlayerSize, kPlayerSize, see_through, true);
    vollo_draw_text(window, "MOVE THE MOUSE; CLICK: BOX OR BALL", {8, kHeight - 16}, 1, VOLLO_LIGHT_GRAY);

    const bool last = example_last_frame(scene.frames_left, window);
    vollo_display(window);
    return last ? 0 : VOLLO_CONTINUE;
}
}  // namespace

int main(int argc, char **argv)
{
    Scene scene = {};
    scene.frames_left = example_frames(argc, argv);
    scene.boxes = {{40, 40, 120, 60}, {300, 50, 60, 150}, {120, 200, 140, 40}, {400, 240, 50, 50}};
    scene.balls = {{200, 120, 18, 90, 60}, {380, 200, 26, -70, 50}, {100, 150, 14, 60, -80}};
    scene.window = vollo_start(kWidth, kHeight, false, "vollo: collisions");
    if (scene.window == nullptr)
    {
        std::fprintf(stderr, "collisions: %s\n", vollo_error());
        return 1;
    }
    vollo_set_click_response(on_click);
    vollo_set_key_response(on_key);
    vollo_set_loop_main_function(each_frame);
    const vollo_response result = vollo_loop(scene.window, 60, &scene);
    vollo_stop(scene.window);
    return result == 0 || result == 1 ? 0 : 1;
}
