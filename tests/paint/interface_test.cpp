// The start-up drawing, checked pixel for pixel against an image computed here from
// the table of the 22 drawing steps, with interface pictures written by the test.
// Loading the pictures makes pixel arrays, which need a display.
#include <string>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "interface_steps.h"
#include "xvfb.hpp"
#include "interface.h"
#include "state.h"

namespace
{
using namespace interface_steps;

const uint32_t ICON_COLOR = 0xFF2040C0u;

struct Interface : vollo_test::XvfbTest
{
    TempDir dir;
    std::string old_cwd;
    GuardedCanvas canvas{PAINT_WIDTH, PAINT_HEIGHT, 0x01020304u};
    paint_state state{canvas.pixelarray, nullptr, 0, ICON_COLOR};

    void SetUp() override
    {
        vollo_test::XvfbTest::SetUp();
        ASSERT_FALSE(dir.path.empty());
        char cwd[4096];
        ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
        old_cwd = cwd;
        ASSERT_EQ(mkdir((dir.path + "/img").c_str(), 0755), 0);
        ASSERT_EQ(chdir(dir.path.c_str()), 0);
    }
    void TearDown() override { EXPECT_EQ(chdir(old_cwd.c_str()), 0); }
    void write_pictures()
    {
        ASSERT_TRUE(write_test_bmp("img/degrade.bmp", 212, 123, palette_color));
        ASSERT_TRUE(write_test_bmp("img/potdepeinture.bmp", 62, 105, pot_color));
    }
    Image expected() { return expected_interface(ICON_COLOR); }
    int mismatches(Image &image)
    {
        int count = 0;
        for (int y = 0; y < PAINT_HEIGHT; y++)
            for (int x = 0; x < PAINT_WIDTH; x++)
                if (canvas.at(x, y) != image.at(x, y) && ++count <= 10)
                    ADD_FAILURE() << "pixel (" << x << ", " << y << ") is " << std::hex
                                  << canvas.at(x, y) << ", expected " << image.at(x, y);
        return count;
    }
};

TEST_F(Interface, EveryPixelOfTheTwentyTwoSteps)
{
    write_pictures();
    fill_color(&state);
    Image image = expected();
    EXPECT_EQ(mismatches(image), 0);
    EXPECT_TRUE(canvas.guards_intact());
}

TEST_F(Interface, SamplePixelsAndCounts)
{
    write_pictures();
    fill_color(&state);
    struct Sample
    {
        int x, y;
        uint32_t color;
    } samples[] = {
        {0, 0, GREY},       {0, 133, GREY},      {1, 0, WHITE},        {1049, 133, WHITE},
        {1049, 134, GREY},  {211, 200, WHITE},   {210, 200, GREY},     {839, 727, WHITE},
        {840, 727, GREY},   {839, 728, GREY},    {3, 0, BLACK},        {105, 60, BLACK},
        {315, 0, BLACK},    {855, 133, BLACK},   {4, 130, WHITE},      {1047, 123, BLACK},
        {1048, 123, WHITE}, {31, 40, BLACK},     {74, 79, BLACK},      {75, 79, WHITE},
        {160, 60, ICON_COLOR}, {190, 60, ICON_COLOR}, {191, 60, WHITE}, {160, 30, ICON_COLOR},
        {430, 0, palette_color(0, 0)},  {641, 122, palette_color(211, 122)},
        {642, 60, BLACK},   {220, 0, pot_color(0, 0)}, {281, 104, pot_color(61, 104)},
        {281, 105, WHITE},  {926, 13, BLACK},    {994, 34, BLACK},     {951, 55, BLACK},
        {969, 114, BLACK},  {750, 26, BLACK},    {799, 26, BLACK},     {728, 48, BLACK},
        {777, 48, BLACK},   {726, 51, GREY},     {715, 62, GREY},      {714, 65, GREY},
        {762, 94, GREY},    {781, 49, BLACK},    {802, 56, BLACK},     {802, 28, BLACK},     {802, 27, WHITE},
        {767, 63, GREY},    {778, 80, GREY},     {881, 650, WHITE},    {1019, 779, WHITE},
        {880, 650, GREY},   {911, 740, BLACK},   {921, 670, BLACK},    {951, 700, GREY},
        {951, 769, GREY},   {980, 671, GREY},    {980, 740, GREY},     {950, 700, BLACK},
        {901, 170, GREY},
    };
    for (const Sample &s : samples)
        EXPECT_EQ(canvas.at(s.x, s.y), s.color) << "(" << s.x << ", " << s.y << ")";
    // Row 130 crosses every hatch column and nothing else black: 349 columns.
    EXPECT_EQ(canvas.count(BLACK, 0, 130, 1049, 130), 349);
    // Column 0 of the band is grey over its whole height.
    EXPECT_EQ(canvas.count(GREY, 0, 0, 0, 133), 134);
    // A parallelogram row keeps its length: 50 pixels in row 26 + 22, x 728..777.
    EXPECT_EQ(canvas.count(BLACK, 700, 48, 779, 48), 50);
    // The door leaf: 30 columns of 70 grey pixels.
    EXPECT_EQ(canvas.count(GREY, 951, 671, 980, 769), 30 * 70);
}

TEST_F(Interface, SmallerPicturesGiveOnlyThePixelsTheyHave)
{
    ASSERT_TRUE(write_test_bmp("img/degrade.bmp", 100, 50, palette_color));
    ASSERT_TRUE(write_test_bmp("img/potdepeinture.bmp", 10, 20, pot_color));
    fill_color(&state);
    EXPECT_TRUE(canvas.guards_intact());
    EXPECT_EQ(canvas.at(529, 49), palette_color(99, 49));
    EXPECT_EQ(canvas.at(530, 49), WHITE);
    EXPECT_EQ(canvas.at(430, 50), WHITE);
    EXPECT_EQ(canvas.at(229, 19), pot_color(9, 19));
    EXPECT_EQ(canvas.at(230, 19), WHITE);
    // The rest of the chain is drawn.
    EXPECT_EQ(canvas.at(951, 700), GREY);
}
}  // namespace
