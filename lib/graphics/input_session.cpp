// Recording and replaying the input of vollo_loop: which events each frame handed
// on, each frame's time and the random seed.
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <thread>

#include "error/error.hpp"
#include "input_private.hpp"
#include "random/random.hpp"
#include "window_private.hpp"

namespace vollo_internal
{
namespace
{

struct input_session
{
    bool environment_read = false;
    int loops_running = 0;
    // Recording: failures of a recording asked for in the environment are printed too,
    // since no caller is there to read vollo_error.
    std::FILE *record = nullptr;
    std::string record_path;
    bool record_loud = false;
    // Replaying
    bool replay = false;
    bool replay_broken = false;  // VOLLO_REPLAY named a file that could not be read
    bool pace = false;
    std::string replay_path;
    replay_script script;
    size_t next_section = 0;
    const replay_section *section = nullptr;
    size_t cursor = 0;
    // The loop under way
    uint64_t frame = 0;
    int64_t last_time = 0;
    int64_t period = 0;
    // The window whose size was last handed on, and that size.
    const vollo_window *announced = nullptr;
    uint32_t announced_width = 0;
    uint32_t announced_height = 0;
};

input_session &session()
{
    static input_session state;
    return state;
}

void print_if(bool loud)
{
    const char *debug = std::getenv("VOLLO_DEBUG");
    if (loud && !(debug && std::strcmp(debug, "1") == 0))  // VOLLO_DEBUG prints it already
        std::fprintf(stderr, "vollo: %s\n", vollo_error());
}

void close_recording()
{
    input_session &s = session();
    if (!s.record)
        return;
    if (std::fclose(s.record) != 0)
    {
        vollo_fail("cannot write the input recording '%s': %s", s.record_path.c_str(), std::strerror(errno));
        print_if(s.record_loud);
    }
    s.record = nullptr;
}

// Every line goes out at once, so that a run that crashes leaves its input behind.
void write_line(const std::string &line)
{
    input_session &s = session();
    if (!s.record)
        return;
    if (std::fputs(line.c_str(), s.record) < 0 || std::fputc('\n', s.record) == EOF || std::fflush(s.record) != 0)
    {
        vollo_fail("cannot write the input recording '%s': %s; recording stopped", s.record_path.c_str(),
                   std::strerror(errno));
        print_if(s.record_loud);
        std::fclose(s.record);
        s.record = nullptr;
    }
}

bool refuse_in_loop(const char *function)
{
    if (session().loops_running == 0)
        return false;
    vollo_fail("%s: call it before vollo_loop, not while a loop runs", function);
    return true;
}

bool taken(const sf::Event &event)
{
    input_session &s = session();
    if (s.record)
    {
        const std::string line = event_line(event);
        if (!line.empty())
            write_line(std::to_string(s.frame) + " " + line);
    }
    return true;
}

// The time of `frame`: its time line, or one period after the frame before.
int64_t time_of_frame(uint64_t frame)
{
    input_session &s = session();
    if (s.section && s.cursor < s.section->entries.size())
    {
        const replay_entry &entry = s.section->entries[s.cursor];
        if (entry.frame == frame && entry.is_time)
            return entry.time;
    }
    return s.last_time + s.period;
}

// True, with the recorded result, when the replayed loop has no frame left.
bool replay_over(vollo_response &result)
{
    input_session &s = session();
    const uint64_t next = s.frame + 1;
    result = 1;
    if (!s.section)
    {
        if (!s.replay_broken)
            vollo_fail("'%s': the recording holds no more loops; the loop returns 1", s.replay_path.c_str());
        return true;
    }
    if (s.section->has_end)
    {
        result = s.section->result;
        return next > s.section->end_frame;
    }
    // A recording cut short (the recorded run was killed): it ends with its last frame.
    return s.section->entries.empty() || next > s.section->entries.back().frame;
}

bool next_replayed_event(vollo_window *window, sf::Event &event)
{
    input_session &s = session();
    if (window && window->render_target)
    {
        // Real input is drained and dropped; only a close request still ends the run.
        sf::RenderWindow *target = static_cast<sf::RenderWindow *>(window->render_target);
        while (target->pollEvent(event))
            if (event.type == sf::Event::Closed)
                return taken(event);
    }
    if (!s.section || s.cursor >= s.section->entries.size() || s.section->entries[s.cursor].frame != s.frame)
        return false;
    event = s.section->entries[s.cursor++].event;
    // The window takes the recorded size, so that drawing lands on the same pixels.
    // A size it cannot take leaves the reason in vollo_error, and the program is
    // told the size the window kept.
    if (event.type == sf::Event::Resized && window && window->render_target)
    {
        const sf::Vector2u size = static_cast<sf::RenderWindow *>(window->render_target)->getSize();
        if ((size.x != event.size.width || size.y != event.size.height) &&
            !vollo_set_size(window, event.size.width, event.size.height))
            event.size = {size.x, size.y};
    }
    return taken(event);
}

// A window made larger than the graphics driver can draw into (by the user or a
// window manager) is brought back to the largest size it takes.
void clamp_to_largest_size(sf::RenderWindow &target, sf::Event &event)
{
    const uint32_t largest = largest_window_side();
    if (event.size.width <= largest && event.size.height <= largest)
        return;
    event.size = {std::min(event.size.width, largest), std::min(event.size.height, largest)};
    target.setSize(sf::Vector2u(event.size.width, event.size.height));
}

}  // namespace

void open_input_session_from_environment()
{
    input_session &s = session();
    if (s.environment_read)
        return;
    s.environment_read = true;
    const char *pace = std::getenv("VOLLO_REPLAY_PACE");
    s.pace = pace && std::strcmp(pace, "1") == 0;
    const char *replay = std::getenv("VOLLO_REPLAY");
    if (replay && *replay && !open_replay(replay))
    {
        print_if(true);
        // Real input is not taken instead: the loop returns 1 at once.
        s.replay = true;
        s.replay_broken = true;
        s.script = replay_script();
    }
    const char *record = std::getenv("VOLLO_RECORD");
    if (record && *record)
    {
        s.record_loud = true;
        if (!open_recording(record))
            print_if(true);
    }
}

bool open_recording(const char *path)
{
    input_session &s = session();
    if (refuse_in_loop("vollo_record_input"))
        return false;
    close_recording();
    s.record_loud = false;
    if (!path)
        return true;
    std::FILE *file = std::fopen(path, "w");
    if (!file)
    {
        vollo_fail("cannot record the input into '%s': %s", path, std::strerror(errno));
        return false;
    }
    s.record = file;
    s.record_path = path;
    write_line("vollo-input 1");
    write_line("seed " + std::to_string(random_seed_in_effect()));
    return s.record != nullptr;
}

bool open_replay(const char *path)
{
    input_session &s = session();
    if (refuse_in_loop("vollo_replay_input"))
        return false;
    s.replay = false;
    s.replay_broken = false;
    s.script = replay_script();
    if (!path)
        return true;
    std::ifstream file(path, std::ios::binary);
    const std::string text = file ? std::string(std::istreambuf_iterator<char>(file), {}) : "";
    if (!file || file.bad())
    {
        vollo_fail("cannot read the input replay '%s': %s", path, std::strerror(errno));
        return false;
    }
    std::string error;
    replay_script script;
    if (!parse_replay(text, path, script, error))
    {
        vollo_fail("%s", error.c_str());
        return false;
    }
    s.script = std::move(script);
    s.replay = true;
    s.replay_path = path;
    s.next_section = 0;
    // A seed the program set itself is set again by the replayed program.
    if (s.script.has_seed && !generator().seeded)
        seed_generator(s.script.seed);
    return true;
}

bool replaying()
{
    open_input_session_from_environment();
    return session().replay;
}

void loop_begins(uint8_t frequency)
{
    open_input_session_from_environment();
    input_session &s = session();
    ++s.loops_running;
    s.frame = 0;
    s.period = frequency ? static_cast<int64_t>(1000000.0 / frequency) : 0;
    if (s.replay)
    {
        s.section = s.next_section < s.script.sections.size() ? &s.script.sections[s.next_section++] : nullptr;
        s.cursor = 0;
        start_frame_clock();
        note_loop_entry_at(s.section ? s.section->start : frame_clock_now());
    }
    else
    {
        note_loop_entry();
    }
    frames().frozen = s.replay || s.record;
    s.last_time = frames().last_frame_start;
    if (s.record)
        write_line("loop " + std::to_string(s.last_time));
}

void loop_ends(vollo_response result)
{
    input_session &s = session();
    --s.loops_running;
    if (s.record)
        write_line("end " + std::to_string(s.frame) + " " + std::to_string(result));
}

void frame_begins()
{
    input_session &s = session();
    ++s.frame;
    count_input_frame();
    if (s.replay)
    {
        const int64_t time = time_of_frame(s.frame);
        if (s.section && s.cursor < s.section->entries.size() && s.section->entries[s.cursor].is_time &&
            s.section->entries[s.cursor].frame == s.frame)
            ++s.cursor;
        note_frame_start_at(time);
    }
    else
    {
        note_frame_start();
    }
    s.last_time = frames().last_frame_start;
    if (s.record)
        write_line(std::to_string(s.frame) + " time " + std::to_string(s.last_time));
}

bool next_event(vollo_window *window, sf::Event &event)
{
    input_session &s = session();
    if (s.replay)
        return next_replayed_event(window, event);
    if (window && s.announced != window)
    {
        // Every window's first size is handed on once, before its other events.
        // In window pixels, as every resize: the record holds the logical size when one is set.
        const sf::Vector2u size = window->render_target
                                      ? static_cast<sf::RenderWindow *>(window->render_target)->getSize()
                                      : sf::Vector2u(window->width, window->height);
        s.announced = window;
        s.announced_width = size.x;
        s.announced_height = size.y;
        event = sf::Event();
        event.type = sf::Event::Resized;
        event.size = {size.x, size.y};
        return taken(event);
    }
    sf::RenderWindow *target = window ? static_cast<sf::RenderWindow *>(window->render_target) : nullptr;
    while (target && target->pollEvent(event))
    {
        if (event.type == sf::Event::Resized)
        {
            clamp_to_largest_size(*target, event);
            if (event.size.width == s.announced_width && event.size.height == s.announced_height)
                continue;  // the size already handed on
            s.announced_width = event.size.width;
            s.announced_height = event.size.height;
            follow_resize(window, event.size.width, event.size.height);
        }
        // Pointer positions in the window's drawing space (logical pixels when it has
        // one), before they are stored, recorded or handed on.
        mouse_to_space(window, event);
        clamp_pointer(event);
        return taken(event);
    }
    return false;
}

void forget_window(const vollo_window *window)
{
    if (session().announced == window)
        session().announced = nullptr;
}

vollo_response replay_frames(vollo_window *window, void *data)
{
    input_session &s = session();
    const auto started = std::chrono::steady_clock::now();
    const int64_t first = s.last_time;
    for (;;)
    {
        vollo_response result;
        if (replay_over(result))
            return result;
        if (s.pace)
            std::this_thread::sleep_until(started + std::chrono::microseconds(time_of_frame(s.frame + 1) - first));
        result = run_frame(window, data);
        if (result != VOLLO_CONTINUE)
            return result;
    }
}

}  // namespace vollo_internal
