// Line input over pipes and the small string functions.
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <unistd.h>

#include <gtest/gtest.h>

#include "terminal.h"

namespace
{

// A pipe whose write end the test feeds; the read end is what get_next_line reads.
struct Pipe
{
    int read_end = -1, write_end = -1;
    Pipe()
    {
        int fds[2];
        if (pipe(fds) == 0)
        {
            read_end = fds[0];
            write_end = fds[1];
        }
    }
    ~Pipe()
    {
        close_writer();
        if (read_end >= 0)
            close(read_end);
    }
    void send(const std::string &text) const
    {
        ASSERT_EQ(write(write_end, text.data(), text.size()), static_cast<ssize_t>(text.size()));
    }
    void close_writer()
    {
        if (write_end >= 0)
            close(write_end);
        write_end = -1;
    }
};

// The next line as a string, or "<null>".
std::string next_line(int fd)
{
    char *line = get_next_line(fd);
    if (line == nullptr)
        return "<null>";
    std::string text = line;
    free(line);
    return text;
}

// Every line until the end of input; the read-ahead buffer is empty afterwards.
std::vector<std::string> all_lines(const std::string &input)
{
    Pipe pipe;
    pipe.send(input);
    pipe.close_writer();
    std::vector<std::string> lines;
    for (std::string line; (line = next_line(pipe.read_end)) != "<null>";)
        lines.push_back(line);
    return lines;
}

TEST(GetNextLine, SplitsInputIntoLines)
{
    struct Case { const char *name; std::string input; std::vector<std::string> lines; };
    const std::string thirty = "abcdefghijklmnopqrstuvwxyz0123";
    const Case cases[] = {
        {"30-character line gathered from three reads", thirty + "\n", {thirty}},
        {"two lines in one read", "yes\nout\n", {"yes", "out"}},
        {"last line without newline", "yes\ndrawing", {"yes", "drawing"}},
        {"only a line without newline", "drawing", {"drawing"}},
        {"empty lines", "\n\nx\n", {"", "", "x"}},
        {"newline exactly at byte 14", "abcdefghijklm\nz\n", {"abcdefghijklm", "z"}},
        {"newline as byte 15", "abcdefghijklmn\nz\n", {"abcdefghijklmn", "z"}},
        {"long line and short ones",
         std::string(100, 'q') + "\na\nbb\n" + std::string(29, 'r') + "\n",
         {std::string(100, 'q'), "a", "bb", std::string(29, 'r')}},
        {"zero bytes are dropped", std::string("ye\0s\n\0\0\nout", 11), {"yes", "", "out"}},
        {"nothing", "", {}},
    };
    for (const Case &c : cases)
    {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(all_lines(c.input), c.lines);
    }
}

// Lines after the first stay in the read-ahead buffer, which every descriptor shares:
// the second line comes without any read, even from a descriptor that cannot be read.
TEST(GetNextLine, LinesOfOneReadNeedNoFurtherRead)
{
    Pipe pipe;
    pipe.send("yes\nout\n");
    EXPECT_EQ(next_line(pipe.read_end), "yes");
    EXPECT_EQ(next_line(-1), "out");
    EXPECT_EQ(next_line(-1), "<null>");
}

// A terminal hands out what was typed line by line; the reader waits for the rest.
TEST(GetNextLine, LineArrivingInPiecesIsReturnedWhole)
{
    Pipe pipe;
    pipe.send("abcdefghij");
    pipe.send("klmnopqrst");
    pipe.send("uvwxyz0123\nnext");
    pipe.close_writer();
    EXPECT_EQ(next_line(pipe.read_end), "abcdefghijklmnopqrstuvwxyz0123");
    EXPECT_EQ(next_line(pipe.read_end), "next");
    EXPECT_EQ(next_line(pipe.read_end), "<null>");
}

TEST(GetNextLine, ReadErrorsGiveNull)
{
    EXPECT_EQ(next_line(-1), "<null>");
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    close(fds[0]);
    close(fds[1]);
    EXPECT_EQ(next_line(fds[0]), "<null>");  // closed descriptor
    char buffer[GNL_READ_SIZE + 1];
    EXPECT_EQ(read_fd(-1, buffer), -1);
    EXPECT_EQ(read_fd(fds[0], buffer), -1);
}

TEST(LineHelpers, FindEndLineEndsTheBufferAndFindsTheNewline)
{
    char buffer[16] = "ab\ncd\nXXXXXXXX";
    EXPECT_EQ(find_end_line(buffer, 2), -1);
    EXPECT_EQ(buffer[2], '\0');
    buffer[2] = '\n';
    EXPECT_EQ(find_end_line(buffer, 6), 2);
    EXPECT_EQ(buffer[6], '\0');
}

TEST(LineHelpers, StrncatJoinsAndShiftsTheBuffer)
{
    char buffer[GNL_READ_SIZE + 1] = "cd\nefg";
    char *line = static_cast<char *>(malloc(3));
    strcpy(line, "ab");
    line = my_gnl_strncat(line, buffer, 2);
    ASSERT_NE(line, nullptr);
    EXPECT_STREQ(line, "abcd");
    EXPECT_STREQ(buffer, "efg");
    EXPECT_EQ(std::string(buffer, sizeof buffer), std::string("efg") + std::string(12, '\0'));
    line = my_gnl_strncat(line, buffer, 3);
    EXPECT_STREQ(line, "abcdefg");
    EXPECT_EQ(std::string(buffer, sizeof buffer), std::string(15, '\0'));
    free(line);
    EXPECT_EQ(my_gnl_strncat(nullptr, buffer, 0), nullptr);
}

TEST(LineHelpers, StrdupCopiesOverItsOwnString)
{
    char buffer[16] = "hello world";
    my_gnl_strdup(buffer, buffer + 6);
    EXPECT_EQ(std::string(buffer, 12), std::string("world") + std::string(7, '\0'));
}

TEST(StringFunctions, CompareAsSignedBytes)
{
    struct Case { const char *a, *b; int32_t result; };
    const Case cases[] = {
        {"yes", "yes", 0}, {"", "", 0}, {"Yes", "yes", 'Y' - 'y'}, {"yes ", "yes", ' '},
        {"y", "yes", -'e'}, {"no", "yes", 'n' - 'y'}, {"\x80", "a", -128 - 'a'},
        {"a", "\xFF", 'a' + 1},
    };
    for (const Case &c : cases)
        EXPECT_EQ(my_strcmp(c.a, c.b), c.result) << '"' << c.a << "\" vs \"" << c.b << '"';
}

TEST(StringFunctions, LengthAndAppend)
{
    EXPECT_EQ(my_strlen(""), 0);
    EXPECT_EQ(my_strlen("drawing"), 7);
    char path[16] = "drawing";
    EXPECT_EQ(my_strcat(path, ".bmp"), path);
    EXPECT_STREQ(path, "drawing.bmp");
    char empty[8] = "";
    EXPECT_STREQ(my_strcat(empty, ".bmp"), ".bmp");
}

}  // namespace
