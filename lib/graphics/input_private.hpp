// Private to the main loop and the input code: the input state that does not depend
// on registered responses, and the recording and replaying of a run's input.
#ifndef VOLLO_INPUT_PRIVATE_HPP
#define VOLLO_INPUT_PRIVATE_HPP

#include <cstdint>
#include <string>
#include <vector>

#include <SFML/Graphics.hpp>

#include "vollo.h"

namespace vollo_internal
{

// Keys and buttons as the user holds them, whether or not a response is registered,
// and the frame (counted from 1 over the whole run) of each one's latest press and
// release. A press of a key already held is a repeat and changes nothing here.
struct held_input
{
    uint64_t frame = 0;  // the frame under way; 0 before the first
    uint8_t keys[VOLLO_KEY_COUNT] = {};
    uint8_t buttons[VOLLO_MOUSE_BUTTON_COUNT] = {};
    uint64_t key_pressed_in[VOLLO_KEY_COUNT] = {};
    uint64_t key_released_in[VOLLO_KEY_COUNT] = {};
};
held_input &held();
// Counts a new frame; key_pressed and key_released then refer to it.
void count_input_frame();
// Follows one key or mouse button event (codes outside the tables are ignored).
void note_key(int32_t code, bool pressed);
void note_button(int32_t button, bool pressed);
// On losing the focus: every key and button still held is released, as if it had come
// up, its array entry cleared and its release response sent. Returns the first response
// result other than VOLLO_CONTINUE (the rest are then released without responses).
vollo_response release_everything_held(void *data);

// True when SFML's clipboard can reach the X server; otherwise records why (naming
// `function`) and returns false.
bool clipboard_reachable(const char *function);

// One frame of vollo_loop: the frame clock, the events of the frame (the window's, or
// the replayed ones), each recorded when a recording runs, then the main function.
vollo_response run_frame(vollo_window *window, void *data);
// At the start of each frame: counts it and sets its time (the replay's, or the clock's).
void frame_begins();
// The next event of the frame under way, false when there is none: the window's
// (resizes followed, a window's first size announced once), or the replay's. Each
// is written to the recording when one runs.
bool next_event(vollo_window *window, sf::Event &event);

// Frames of a loop fed from a replay, back to back or at the recorded pace; returns
// what the recorded loop returned, unless a response or the main function stops first.
vollo_response replay_frames(vollo_window *window, void *data);

// Reads VOLLO_RECORD, VOLLO_REPLAY and VOLLO_REPLAY_PACE the first time it is called.
void open_input_session_from_environment();
// Behind vollo_record_input and vollo_replay_input; null stops.
bool open_recording(const char *path);
bool open_replay(const char *path);
// True while vollo_loop takes its input from a replay.
bool replaying();
// Around each vollo_loop: the loop's start (frame clock, recording, replay section)
// and its result.
void loop_begins(uint8_t frequency);
void loop_ends(vollo_response result);
// At vollo_stop: a later window at the same address is announced afresh.
void forget_window(const vollo_window *window);

// Pointer positions handed to programs lie within +-pointer_reach, beyond any window
// side, and wheel deltas within +-wheel_reach notches, so that a program may compute
// with them freely; NaN deltas become 0. Applied to every real event, and a replay
// refuses values outside.
constexpr int32_t pointer_reach = 1 << 20;
constexpr float wheel_reach = 1024.0f;
void clamp_pointer(sf::Event &event);

// A replay script: what vollo_replay_input reads, or a recording.
struct replay_entry
{
    uint64_t frame = 0;      // within its loop, from 1
    bool is_time = false;    // a frame's time rather than an event
    int64_t time = 0;        // microseconds on the frame clock
    sf::Event event{};
};
struct replay_section
{
    int64_t start = 0;  // microseconds on the frame clock when the loop began
    std::vector<replay_entry> entries;
    bool has_end = false;
    uint64_t end_frame = 0;
    vollo_response result = 1;
};
struct replay_script
{
    bool has_seed = false;
    uint64_t seed = 0;
    std::vector<replay_section> sections;
};
// Reads a script; false with the reason (naming `path` and the line) in `error`.
bool parse_replay(const std::string &text, const std::string &path, replay_script &script,
                  std::string &error);
// One event as a line of the format without its frame number and newline; empty for
// events the loop ignores.
std::string event_line(const sf::Event &event);

}  // namespace vollo_internal

#endif
