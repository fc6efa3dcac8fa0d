// The text of recordings and replay scripts: one line per frame time or event.
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <sstream>

#include "input_private.hpp"

namespace vollo_internal
{
namespace
{

const char *pressed_word(bool pressed)
{
    return pressed ? "pressed" : "released";
}

// The shortest text that reads back as the same float, with a '.' whatever the locale.
std::string number(float value)
{
    char text[32];
    const std::to_chars_result written = std::to_chars(text, text + sizeof text, value);
    return std::string(text, written.ptr);
}

}  // namespace

std::string event_line(const sf::Event &event)
{
    std::ostringstream out;
    out.imbue(std::locale::classic());
    switch (event.type)
    {
    case sf::Event::Closed:
        out << "close";
        break;
    case sf::Event::KeyPressed:
    case sf::Event::KeyReleased:
        out << "key " << pressed_word(event.type == sf::Event::KeyPressed) << ' ' << int(event.key.code);
        break;
    case sf::Event::TextEntered:
        out << "text " << event.text.unicode;
        break;
    case sf::Event::MouseButtonPressed:
    case sf::Event::MouseButtonReleased:
        out << "click " << pressed_word(event.type == sf::Event::MouseButtonPressed) << ' '
            << int(event.mouseButton.button) << ' ' << event.mouseButton.x << ' ' << event.mouseButton.y;
        break;
    case sf::Event::MouseWheelScrolled:
        out << "wheel " << int(event.mouseWheelScroll.wheel) << ' ' << number(event.mouseWheelScroll.delta) << ' '
            << event.mouseWheelScroll.x << ' ' << event.mouseWheelScroll.y;
        break;
    case sf::Event::MouseMoved:
        out << "move " << event.mouseMove.x << ' ' << event.mouseMove.y;
        break;
    case sf::Event::Resized:
        out << "resize " << event.size.width << ' ' << event.size.height;
        break;
    case sf::Event::GainedFocus:
    case sf::Event::LostFocus:
        out << "focus " << (event.type == sf::Event::GainedFocus ? "gained" : "lost");
        break;
    case sf::Event::MouseEntered:
    case sf::Event::MouseLeft:
        out << "pointer " << (event.type == sf::Event::MouseEntered ? "entered" : "left");
        break;
    case sf::Event::JoystickConnected:
    case sf::Event::JoystickDisconnected:
        out << "joystick " << (event.type == sf::Event::JoystickConnected ? "connected" : "disconnected") << ' '
            << event.joystickConnect.joystickId;
        break;
    case sf::Event::JoystickButtonPressed:
    case sf::Event::JoystickButtonReleased:
        out << "joybutton " << pressed_word(event.type == sf::Event::JoystickButtonPressed) << ' '
            << event.joystickButton.joystickId << ' ' << event.joystickButton.button;
        break;
    case sf::Event::JoystickMoved:
        out << "joyaxis " << event.joystickMove.joystickId << ' ' << int(event.joystickMove.axis) << ' '
            << number(event.joystickMove.position);
        break;
    default:
        break;
    }
    return out.str();
}

namespace
{

// Reads the words of one line; each reader records what was wrong in `problem`.
class line_reader
{
public:
    explicit line_reader(const std::vector<std::string> &words) : words(words) {}

    std::string problem;

    bool count(size_t expected)
    {
        if (words.size() == expected)
            return true;
        problem = "expected " + std::to_string(expected) + " words, found " + std::to_string(words.size());
        return false;
    }

    template <typename Integer>
    bool integer(size_t index, Integer low, Integer high, Integer &value)
    {
        const std::string &word = words[index];
        const std::from_chars_result read = std::from_chars(word.data(), word.data() + word.size(), value);
        if (read.ec != std::errc() || read.ptr != word.data() + word.size() || value < low || value > high)
        {
            problem = "'" + word + "' is not a whole number from " + std::to_string(low) + " to " +
                      std::to_string(high);
            return false;
        }
        return true;
    }

    bool real(size_t index, float low, float high, float &value)
    {
        const std::string &word = words[index];
        const std::from_chars_result read = std::from_chars(word.data(), word.data() + word.size(), value);
        if (read.ec != std::errc() || read.ptr != word.data() + word.size() || !(value >= low && value <= high))
        {
            problem = "'" + word + "' is not a number from " + number(low) + " to " + number(high);
            return false;
        }
        return true;
    }

    // "pressed" / "released" and the like: true for the first of the two words.
    bool either(size_t index, const char *first, const char *second, bool &is_first)
    {
        is_first = words[index] == first;
        if (is_first || words[index] == second)
            return true;
        problem = "'" + words[index] + "' should be '" + first + "' or '" + second + "'";
        return false;
    }

private:
    const std::vector<std::string> &words;
};

const int32_t int32_low = INT32_MIN, int32_high = INT32_MAX;
// What a real event can carry, as vollo hands events on (see clamp_pointer).
const int32_t position_low = -pointer_reach, position_high = pointer_reach;

// The event after the frame number; false with the reason in reader.problem.
bool read_event(const std::vector<std::string> &words, line_reader &reader, sf::Event &event)
{
    const std::string &kind = words[1];
    bool first = false;
    int32_t a = 0, b = 0, c = 0;
    uint32_t u = 0, v = 0;
    float f = 0;
    if (kind == "close")
    {
        event.type = sf::Event::Closed;
        return reader.count(2);
    }
    if (kind == "key")
    {
        if (!reader.count(4) || !reader.either(2, "pressed", "released", first) ||
            !reader.integer(3, int32_t(-1), int32_t(sf::Keyboard::KeyCount - 1), a))
            return false;
        event.type = first ? sf::Event::KeyPressed : sf::Event::KeyReleased;
        event.key.code = static_cast<sf::Keyboard::Key>(a);
        return true;
    }
    if (kind == "text")
    {
        if (!reader.count(3) || !reader.integer(2, uint32_t(0), uint32_t(0x10FFFF), u))
            return false;
        event.type = sf::Event::TextEntered;
        event.text.unicode = u;
        return true;
    }
    if (kind == "click")
    {
        if (!reader.count(6) || !reader.either(2, "pressed", "released", first) ||
            !reader.integer(3, int32_t(0), int32_t(sf::Mouse::ButtonCount - 1), a) ||
            !reader.integer(4, position_low, position_high, b) ||
            !reader.integer(5, position_low, position_high, c))
            return false;
        event.type = first ? sf::Event::MouseButtonPressed : sf::Event::MouseButtonReleased;
        event.mouseButton = {static_cast<sf::Mouse::Button>(a), b, c};
        return true;
    }
    if (kind == "wheel")
    {
        if (!reader.count(6) || !reader.integer(2, int32_t(0), int32_t(1), a) ||
            !reader.real(3, -wheel_reach, wheel_reach, f) || !reader.integer(4, position_low, position_high, b) ||
            !reader.integer(5, position_low, position_high, c))
            return false;
        event.type = sf::Event::MouseWheelScrolled;
        event.mouseWheelScroll = {static_cast<sf::Mouse::Wheel>(a), f, b, c};
        return true;
    }
    if (kind == "move")
    {
        if (!reader.count(4) || !reader.integer(2, position_low, position_high, a) ||
            !reader.integer(3, position_low, position_high, b))
            return false;
        event.type = sf::Event::MouseMoved;
        event.mouseMove = {a, b};
        return true;
    }
    if (kind == "resize")
    {
        if (!reader.count(4) || !reader.integer(2, uint32_t(1), uint32_t(65535), u) ||
            !reader.integer(3, uint32_t(1), uint32_t(65535), v))
            return false;
        event.type = sf::Event::Resized;
        event.size = {u, v};
        return true;
    }
    if (kind == "focus" || kind == "pointer")
    {
        const bool focus = kind == "focus";
        if (!reader.count(3) || !reader.either(2, focus ? "gained" : "entered", focus ? "lost" : "left", first))
            return false;
        event.type = focus ? (first ? sf::Event::GainedFocus : sf::Event::LostFocus)
                           : (first ? sf::Event::MouseEntered : sf::Event::MouseLeft);
        return true;
    }
    if (kind == "joystick")
    {
        if (!reader.count(4) || !reader.either(2, "connected", "disconnected", first) ||
            !reader.integer(3, uint32_t(0), uint32_t(VOLLO_JOYSTICK_COUNT - 1), u))
            return false;
        event.type = first ? sf::Event::JoystickConnected : sf::Event::JoystickDisconnected;
        event.joystickConnect.joystickId = u;
        return true;
    }
    if (kind == "joybutton")
    {
        if (!reader.count(5) || !reader.either(2, "pressed", "released", first) ||
            !reader.integer(3, uint32_t(0), uint32_t(VOLLO_JOYSTICK_COUNT - 1), u) ||
            !reader.integer(4, uint32_t(0), uint32_t(VOLLO_JOYSTICK_BUTTON_COUNT - 1), v))
            return false;
        event.type = first ? sf::Event::JoystickButtonPressed : sf::Event::JoystickButtonReleased;
        event.joystickButton = {u, v};
        return true;
    }
    if (kind == "joyaxis")
    {
        if (!reader.count(5) || !reader.integer(2, uint32_t(0), uint32_t(VOLLO_JOYSTICK_COUNT - 1), u) ||
            !reader.integer(3, int32_t(0), int32_t(VOLLO_JOYSTICK_AXIS_COUNT - 1), a) ||
            !reader.real(4, -100.0f, 100.0f, f))
            return false;
        event.type = sf::Event::JoystickMoved;
        event.joystickMove = {u, static_cast<sf::Joystick::Axis>(a), f};
        return true;
    }
    reader.problem = "unknown event '" + kind + "'";
    return false;
}

// The reading of a whole script, line by line.
struct script_reader
{
    replay_script &script;
    bool header = false;
    int64_t last_time = 0;
    uint64_t last_frame = 0;
    bool ended = false;

    replay_section *open_section() { return script.sections.empty() || ended ? nullptr : &script.sections.back(); }

    bool read(const std::vector<std::string> &words, std::string &problem)
    {
        line_reader reader(words);
        bool ok = step(words, reader);
        problem = reader.problem;
        return ok;
    }

    bool step(const std::vector<std::string> &words, line_reader &reader)
    {
        if (!header)
        {
            header = words.size() == 2 && words[0] == "vollo-input" && words[1] == "1";
            if (!header)
                reader.problem = "the first line should be 'vollo-input 1'";
            return header;
        }
        const std::string &first = words[0];
        if (first == "seed")
            return seed(reader);
        if (first == "loop")
            return loop(reader);
        if (first == "end")
            return end(reader);
        if (first.find_first_not_of("0123456789") == std::string::npos)
            return frame_line(words, reader);
        reader.problem = "unknown line '" + first + "'";
        return false;
    }

    bool seed(line_reader &reader)
    {
        if (!reader.count(2) || !reader.integer(1, uint64_t(0), UINT64_MAX, script.seed))
            return false;
        if (script.has_seed || !script.sections.empty())
        {
            reader.problem = "the seed comes once, before the first loop";
            return false;
        }
        script.has_seed = true;
        return true;
    }

    bool loop(line_reader &reader)
    {
        int64_t start = 0;
        if (!reader.count(2) || !reader.integer(1, last_time, INT64_MAX, start))
            return false;
        script.sections.emplace_back();
        script.sections.back().start = start;
        last_time = start;
        last_frame = 0;
        ended = false;
        return true;
    }

    bool end(line_reader &reader)
    {
        replay_section *section = open_section();
        if (!section)
        {
            reader.problem = "'end' outside a loop";
            return false;
        }
        if (!reader.count(3) || !reader.integer(1, last_frame, UINT64_MAX, section->end_frame) ||
            !reader.integer(2, int32_low, int32_high, section->result))
            return false;
        section->has_end = true;
        ended = true;
        return true;
    }

    bool frame_line(const std::vector<std::string> &words, line_reader &reader)
    {
        replay_section *section = open_section();
        if (!section)
        {
            reader.problem = script.sections.empty() ? "a frame line before the first 'loop'"
                                                     : "a frame line after its loop's 'end'";
            return false;
        }
        replay_entry entry;
        if (words.size() < 2)
        {
            reader.problem = "a frame number alone";
            return false;
        }
        if (!reader.integer(0, std::max<uint64_t>(last_frame, 1), UINT64_MAX, entry.frame))
        {
            reader.problem += " (frames count from 1 and never go back)";
            return false;
        }
        if (words[1] == "time")
        {
            const bool first_of_frame = entry.frame > last_frame;
            if (!reader.count(3) || !reader.integer(2, last_time, INT64_MAX, entry.time))
                return false;
            if (!first_of_frame)
            {
                reader.problem = "a frame's time comes before its events, once";
                return false;
            }
            entry.is_time = true;
            last_time = entry.time;
        }
        else if (!read_event(words, reader, entry.event))
            return false;
        last_frame = entry.frame;
        section->entries.push_back(entry);
        return true;
    }
};

}  // namespace

bool parse_replay(const std::string &text, const std::string &path, replay_script &script, std::string &error)
{
    script = replay_script();
    script_reader reader{script};
    std::istringstream lines(text);
    std::string line;
    for (size_t number = 1; std::getline(lines, line); ++number)
    {
        if (line.find('\0') != std::string::npos)
        {
            error = "'" + path + "' line " + std::to_string(number) + ": not a text file";
            return false;
        }
        std::istringstream split(line);
        std::vector<std::string> words;
        for (std::string word; split >> word;)
            words.push_back(word);
        if (words.empty() || words[0][0] == '#')
            continue;
        std::string problem;
        if (!reader.read(words, problem))
        {
            error = "'" + path + "' line " + std::to_string(number) + ": " + problem;
            return false;
        }
    }
    if (!reader.header)
    {
        error = "'" + path + "': empty; a recording starts with 'vollo-input 1'";
        return false;
    }
    return true;
}

}  // namespace vollo_internal
