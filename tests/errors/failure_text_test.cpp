// Why each facility failed, as vollo_error tells it, with no display to reach.
#include <atomic>
#include <functional>
#include <thread>
#include <sys/stat.h>
#include <gtest/gtest.h>

#include "sanitizer_pause.hpp"
#include "ini_test_support.hpp"
#include "vollo.h"

namespace
{

// The 54-byte header of a 24-bit BMP file of 4000 x 3000 pixels, with no pixels after it.
std::string large_bmp_header()
{
    std::string bytes = "BM" + std::string(52, '\0');
    for (auto field : {std::pair<int, uint32_t>{2, 54 + 12000u * 3000u}, {10, 54}, {14, 40}, {18, 4000}, {22, 3000}})
        for (int i = 0; i < 4; i++)
            bytes[field.first + i] = char(field.second >> (8 * i));
    bytes[26] = 1, bytes[28] = 24;
    return bytes;
}

TEST(FailureText, EveryFacilitySaysWhatFailedWhereAndTheRemedy)
{
    setenv("DISPLAY", ":64999", 1);  // a server that does not exist
    initest::TempDir dir;
    initest::WriteWholeFile(dir.Path("game.ini"), "# settings\n[player]\nname = \"Ann\"\nspeed 4\n");
    initest::WriteWholeFile(dir.Path("big.bmp"), large_bmp_header());
    mkdir(dir.Path("fonts").c_str(), 0755);
    vollo_buffer any_buffer{};
    const uint32_t pixel = 0xFF0000FFu;
    uint64_t size = 0;
    const std::string d = dir.Path("");
    struct Case
    {
        std::function<bool()> call;  // true when the call reported a failure
        std::string text;
    } cases[] = {
        {[&] { return !vollo_load_pixelarray((d + "x.png").c_str()); },
         "cannot open '" + d + "x.png': No such file or directory"},
        {[&] { return !vollo_load_pixelarray((d + "fonts").c_str()); }, "cannot read '" + d + "fonts': it is a folder"},
        {[&] { uint32_t w, h; return !vollo_decode_picture((d + "x.png").c_str(), &w, &h); },
         "cannot open '" + d + "x.png': No such file or directory"},
        {[&] { uint32_t w, h; return !vollo_decode_picture("/proc/self/mem", &w, &h); },
         "cannot read '/proc/self/mem': Input/output error"},
        {[&] { uint32_t w, h; return !vollo_decode_picture_scaled((d + "fonts").c_str(), 8, 8, &w, &h); },
         "cannot read '" + d + "fonts': it is a folder"},
        {[&] { return !vollo_save_buffer(&any_buffer, (d + "x.webp").c_str()); },
         "'" + d + "x.webp': cannot write this format (use .png, .bmp, .tga or .jpg)"},
        {[&] { return !vollo_encode_pixels(&pixel, 1, 1, 1, "x.webp", &size); },
         "'x.webp': cannot write this format (use .png, .bmp, .tga or .jpg)"},
        {[&] { return !vollo_encode_pixels(&pixel, 2, 1, 1, "x.png", &size); },
         "vollo_encode_pixels: empty picture, or rows shorter than its width"},
        {[&] { return !vollo_load_pixelarray((d + "big.bmp").c_str()); },
         "cannot load '" + d + "big.bmp': a 4000 x 3000 picture needs 46 MiB; the arena holds 20 MiB: call "
                               "set_max_heap_size(64) before the first allocation"},
        {[&] { return vollo_check_picture((d + "game.ini").c_str()) != nullptr; },
         "cannot load '" + d + "game.ini': not a picture of a known kind (no BMP signature; not PNG, JPEG, GIF, "
                               "TGA, PSD or HDR either)"},
        {[&] { uint32_t w, h; return !vollo_picture_size((d + "x.png").c_str(), &w, &h); },
         "cannot open '" + d + "x.png': No such file or directory"},
        {[&] { return !vollo_load_ini((d + "game.ini").c_str()); },
         "cannot parse '" + d + "game.ini' line 4: expected '=' after field name."},
        {[&] { return !vollo_load_ini((d + "none.ini").c_str()); },
         "cannot open '" + d + "none.ini': No such file or directory"},
        {[&] { vollo_ini *ini = vollo_new_ini();
               const bool refused = !vollo_save_ini(ini, (d + "gone/x.ini").c_str());
               return vollo_delete_ini(ini), refused; },
         "cannot write '" + d + "gone/x.ini': the folder '" + d + "gone' does not exist"},
        {[&] { return !vollo_load_effect((d + "fonts").c_str()); }, "cannot read '" + d + "fonts': it is a folder"},
        {[&] { return !vollo_load_effect("/proc/self/mem"); }, "cannot read '/proc/self/mem': Input/output error"},
        {[&] { return !vollo_load_music((d + "fonts").c_str()); }, "cannot read '" + d + "fonts': it is a folder"},
        {[&] { return !vollo_load_music((d + "none.ogg").c_str()); },
         "cannot open '" + d + "none.ogg': No such file or directory"},
        {[&] { return !vollo_load_font((d + "fonts").c_str()); }, "cannot read '" + d + "fonts': it is a folder"},
        {[&] { return !vollo_start(0, 480, false, "t"); },
         "cannot open a 0 x 480 window: each side must be 1 to 65535 pixels"},
        {[&] { vollo_test::abandoned_by_sfml pause; return !vollo_start(640, 480, false, "t"); },
         "cannot open a window: no display could be reached (is DISPLAY set to a running X server?)"},
        {[&] { return !vollo_set_size(nullptr, 10, 10); }, "vollo_set_size: no open window given"},
        {[&] { vollo_test::abandoned_by_sfml pause; return !vollo_new_picture(8, 8); },
         "cannot make a 8 x 8 picture: no display could be reached (pictures live on the GPU; pixel arrays need "
         "no display)"},
        {[&] { return !vollo_load_picture((d + "x.png").c_str()); },
         "cannot open '" + d + "x.png': No such file or directory"},
        {[&] { return !vollo_load_picture((d + "fonts").c_str()); }, "cannot read '" + d + "fonts': it is a folder"},
        {[&] { return !vollo_new_pixelarray(100000, 100000); },
         "cannot make a 100000 x 100000 pixel array: more than 2^32 pixels"},
    };
    for (const Case &c : cases)
    {
        SCOPED_TRACE(c.text);
        vollo_clear_error();
        EXPECT_TRUE(c.call());
        EXPECT_EQ(vollo_error(), c.text);
    }
    // A success leaves the reason as it was; clearing forgets it.
    vollo_delete_ini(vollo_new_ini());
    EXPECT_EQ(vollo_error(), cases[std::size(cases) - 1].text);
    vollo_clear_error();
    EXPECT_STREQ(vollo_error(), "");
    // The older reporters keep their own texts.
    EXPECT_EQ(vollo_load_ini((d + "game.ini").c_str()), nullptr);
    EXPECT_STREQ(vollo_ini_error(), "ini: line 4: expected '=' after field name.");
    EXPECT_EQ(vollo_load_pixelarray((d + "x.png").c_str()), nullptr);
    EXPECT_STREQ(vollo_load_pixelarray_error(), "No such file or directory");
}

// Two threads fail in turn, differently, then read: a text shared by the process would
// show the second one's to both.
TEST(FailureText, EachThreadReadsItsOwnFailure)
{
    initest::TempDir dir;
    const std::string paths[] = {dir.Path("x.png"), dir.Path("")};
    const std::string reasons[] = {"No such file or directory", "it is a folder"};
    const std::string texts[] = {"cannot open '" + paths[0] + "': " + reasons[0],
                                 "cannot read '" + paths[1] + "': " + reasons[1]};
    std::atomic<int> failed{0};
    std::string seen[2], seen_reasons[2];
    vollo_clear_error();
    auto run = [&](int i) {
        while (failed.load() != i)
            std::this_thread::yield();
        EXPECT_EQ(vollo_load_pixelarray(paths[i].c_str()), nullptr);
        for (++failed; failed.load() < 2;)
            std::this_thread::yield();
        seen[i] = vollo_error(), seen_reasons[i] = vollo_load_pixelarray_error();
    };
    std::thread first(run, 0), second(run, 1);
    first.join(), second.join();
    for (int i = 0; i < 2; i++)
    {
        EXPECT_EQ(seen[i], texts[i]);
        EXPECT_EQ(seen_reasons[i], reasons[i]);
    }
    EXPECT_STREQ(vollo_error(), "");
}

}  // namespace
