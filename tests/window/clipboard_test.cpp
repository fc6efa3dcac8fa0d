// Pictures through the X CLIPBOARD between vollo and another program (xclip) under
// the private Xvfb: what vollo puts there is read back pixel for pixel, and what xclip
// holds, in each kind vollo takes, comes back as a pixel array.
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "vollo.h"
#include "xvfb.hpp"

namespace vt = vollo_test;

namespace
{

std::atomic<bool> reader_done{false};

vollo_response until_reader_done(void *)
{
    return reader_done ? 7 : VOLLO_CONTINUE;
}

// An asymmetric picture; with `noise`, one whose PNG is too large for one request.
vollo_pixelarray *sample(uint32_t width, uint32_t height, bool noise)
{
    vollo_pixelarray *array = vollo_new_pixelarray(width, height);
    uint32_t seed = 12345;
    for (uint32_t i = 0; i < width * height; ++i)
    {
        seed = seed * 1103515245u + 12345u;
        array->pixels[i] = 0xFF000000u | (noise ? seed >> 8 : (i % width) * 40 + (i / width) * 0x2300u + 0x110000u);
    }
    return array;
}

bool same_pixels(const vollo_pixelarray *a, const vollo_pixelarray *b)
{
    return a && b && a->width == b->width && a->height == b->height &&
           std::equal(a->pixels, a->pixels + a->width * a->height, b->pixels);
}

class Clipboard : public vt::XvfbTest
{
protected:
    void SetUp() override
    {
        vt::XvfbTest::SetUp();
        char name[] = "/tmp/vollo-clipboard-XXXXXX";
        ASSERT_NE(mkdtemp(name), nullptr);
        folder = name;
        window = vollo_start(64, 48, false, "clipboard test");
        ASSERT_NE(window, nullptr);
    }
    void TearDown() override
    {
        vollo_stop(window);
        vt::run_command({"rm", "-rf", folder});
    }
    std::string folder;
    vollo_window *window = nullptr;
};

TEST_F(Clipboard, XclipReadsBackWhatVolloPutsThere)
{
    struct Case
    {
        const char *target;
        uint32_t width, height;
        bool noise;
    } cases[] = {{"image/png", 7, 5, false}, {"image/bmp", 7, 5, false}, {"image/png", 900, 700, true}};
    for (const Case &c : cases)
    {
        SCOPED_TRACE(std::string(c.target) + " " + std::to_string(c.width));
        vollo_pixelarray *picture = sample(c.width, c.height, c.noise);
        ASSERT_TRUE(vollo_set_clipboard_pixelarray(picture)) << vollo_error();
        vt::CommandResult targets, read;
        reader_done = false;
        auto reader = vt::in_background([&] {
            targets = vt::run_command({"xclip", "-selection", "clipboard", "-t", "TARGETS", "-o"});
            read = vt::run_command({"xclip", "-selection", "clipboard", "-t", c.target, "-o"});
            reader_done = true;
        });
        vollo_set_loop_main_function(until_reader_done);
        EXPECT_EQ(vollo_loop(window, 100, nullptr), 7);
        reader.get();
        EXPECT_NE(targets.output.find("image/png"), std::string::npos) << targets.describe();
        ASSERT_TRUE(read.succeeded()) << read.describe();
        const std::string path = folder + "/read";
        std::ofstream(path, std::ios::binary) << read.output;
        vollo_pixelarray *back = vollo_load_pixelarray(path.c_str());
        EXPECT_TRUE(same_pixels(picture, back));
        vollo_delete_clipable(back);
        vollo_delete_clipable(picture);
    }
}

TEST_F(Clipboard, PicturesXclipHoldsComeBackAsPixelArrays)
{
    vollo_pixelarray *picture = sample(9, 4, false);
    ASSERT_TRUE(vollo_save_buffer(picture, (folder + "/p.png").c_str()));
    ASSERT_TRUE(vollo_save_buffer(picture, (folder + "/p p.bmp").c_str()));
    const std::string uri = "# a comment\r\nfile://" + folder + "/p%20p.bmp\r\n";
    std::ofstream(folder + "/list") << uri;
    struct Case
    {
        const char *target, *file;
    } cases[] = {{"image/png", "/p.png"}, {"image/bmp", "/p p.bmp"}, {"text/uri-list", "/list"}};
    for (const Case &c : cases)
    {
        SCOPED_TRACE(c.target);
        vt::ChildProcess xclip;
        ASSERT_TRUE(xclip.start({"xclip", "-quiet", "-selection", "clipboard", "-t", c.target, "-i", folder + c.file}));
        vollo_pixelarray *got = nullptr;
        EXPECT_TRUE(vt::wait_until([&] {
            vollo_delete_clipable(got);
            got = vollo_get_clipboard_pixelarray();
            return same_pixels(picture, got);
        }));
        vollo_delete_clipable(got);
    }
    vollo_delete_clipable(picture);
}

}  // namespace
