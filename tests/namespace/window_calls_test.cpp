// Calling the window, loop, clipable and drawing functions through the Vollo
// constants, on a private X server.
#include <gtest/gtest.h>

#include <unistd.h>

#include "vollo.h"
#include "xvfb.hpp"

namespace
{
using WindowThroughVollo = vollo_test::XvfbTest;

// Vollo::Start opens a window exactly as vollo_start does.
TEST_F(WindowThroughVollo, StartOpensTheSameWindowAsTheFunction)
{
    static const char kConstantTitle[] = "opened through Vollo::Start";
    static const char kFunctionTitle[] = "opened through vollo_start";
    vollo_window *through_constant = Vollo::Start(240, 180, false, kConstantTitle);
    vollo_window *through_function = vollo_start(240, 180, false, kFunctionTitle);
    ASSERT_NE(through_constant, nullptr);
    ASSERT_NE(through_function, nullptr);

    EXPECT_EQ(through_constant->type, static_cast<uint64_t>(VOLLO_WINDOW));
    EXPECT_EQ(through_constant->width, through_function->width);
    EXPECT_EQ(through_constant->height, through_function->height);
    EXPECT_EQ(through_constant->name, kConstantTitle);

    const vollo_test::WindowId constant_id = vollo_test::find_window_by_name(kConstantTitle);
    const vollo_test::WindowId function_id = vollo_test::find_window_by_name(kFunctionTitle);
    ASSERT_NE(constant_id, 0u);
    ASSERT_NE(function_id, 0u);
    ASSERT_TRUE(vollo_test::wait_window_viewable(constant_id));
    ASSERT_TRUE(vollo_test::wait_window_viewable(function_id));
    const auto constant_geometry = vollo_test::window_geometry(constant_id);
    const auto function_geometry = vollo_test::window_geometry(function_id);
    ASSERT_TRUE(constant_geometry && function_geometry);
    EXPECT_EQ(constant_geometry->width, 240);
    EXPECT_EQ(constant_geometry->height, 180);
    EXPECT_EQ(constant_geometry->width, function_geometry->width);
    EXPECT_EQ(constant_geometry->height, function_geometry->height);

    Vollo::Stop(through_constant);
    Vollo::Stop(through_function);
}

// A pixel array made, drawn on and shown through the constants reaches the screen.
TEST_F(WindowThroughVollo, PixelArrayDrawnAndShownThroughConstants)
{
    static const char kTitle[] = "pixel array through Vollo";
    vollo_window *window = Vollo::Start(64, 48, false, kTitle);
    ASSERT_NE(window, nullptr);
    const vollo_test::WindowId id = vollo_test::find_window_by_name(kTitle);
    ASSERT_TRUE(vollo_test::move_window_to_origin(id));

    vollo_pixelarray *pixels = Vollo::NewPixelArray(64, 48);
    ASSERT_NE(pixels, nullptr);
    EXPECT_EQ(pixels->pixels[0], 0xFFB469FFu);
    Vollo::Fill(pixels, 0xFF00FF00);  // green
    Vollo::SetPixel(pixels, vollo_position{3, 2}, 0xFF0000FF);
    EXPECT_EQ(pixels->pixels[2 * 64 + 3], 0xFF0000FFu);
    const vollo_position ends[2] = {{0, 40}, {63, 40}};
    const uint32_t colors[2] = {0xFFFF0000, 0xFFFF0000};  // blue
    Vollo::SetLine(pixels, ends, colors);
    EXPECT_EQ(pixels->pixels[40 * 64 + 30], 0xFFFF0000u);

    // Show it until the screen has it.
    EXPECT_TRUE(vollo_test::wait_until([&] {
        Vollo::Blit(window, pixels, nullptr);
        Vollo::Display(window);
        return vollo_test::read_pixel(10, 10) == 0xFF00FF00u && vollo_test::read_pixel(30, 40) == 0xFFFF0000u;
    }));
    Vollo::DeleteClipable(pixels);
    Vollo::Stop(window);
}

int g_frames = 0;
vollo_response third_frame_ends(void *data)
{
    ++*static_cast<int *>(data);
    return *static_cast<int *>(data) == 3 ? 7 : VOLLO_CONTINUE;
}

TEST_F(WindowThroughVollo, LoopRunsTheMainFunctionRegisteredThroughConstants)
{
    const vollo_context saved = *Vollo::GetContext();
    Vollo::SetLoopMainFunction(third_frame_ends);
    EXPECT_EQ(Vollo::GetContext()->loop_main_function, &third_frame_ends);
    g_frames = 0;
    EXPECT_EQ(Vollo::Loop(nullptr, 100, &g_frames), 7);
    EXPECT_EQ(g_frames, 3);
    Vollo::SetContext(&saved);
    EXPECT_EQ(Vollo::GetContext()->loop_main_function, saved.loop_main_function);
}
}  // namespace
