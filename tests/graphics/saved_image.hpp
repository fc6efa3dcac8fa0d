// Shared by the tests of vollo_save_buffer: a scratch folder and the saved file
// read back by an independent decoder (Pillow).
#ifndef VOLLO_TESTS_GRAPHICS_SAVED_IMAGE_HPP
#define VOLLO_TESTS_GRAPHICS_SAVED_IMAGE_HPP

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "xvfb.hpp"

namespace saved_image
{

// A fresh folder under /tmp, removed with everything in it at destruction.
struct Folder
{
    std::string path;
    Folder()
    {
        char name[] = "/tmp/vollo-save-XXXXXX";
        path = mkdtemp(name) ? name : "";
        EXPECT_FALSE(path.empty());
    }
    ~Folder() { std::filesystem::remove_all(path); }
    std::string file(const std::string &name) const { return path + "/" + name; }
    // Names in the folder, sorted.
    std::vector<std::string> entries() const
    {
        std::vector<std::string> names;
        for (const auto &entry : std::filesystem::directory_iterator(path))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
};

// An image file as Pillow reads it (a JPEG at 1/8 of its size, averaged over N x N pixels,
// when N is given): its format ("PNG", "BMP", "TGA", "JPEG") and its
// pixels as 0xAABBGGRR, row by row.
struct Decoded
{
    std::string format;
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;
};

inline std::optional<Decoded> read_with_pillow(const std::string &path, int eighth_folded = 0)
{
    std::vector<std::string> command = {"/usr/bin/python3", IMAGE_TO_RGBA, path};
    if (eighth_folded)
        command.push_back(std::to_string(eighth_folded));
    const vollo_test::CommandResult result = vollo_test::run_command(command);
    if (!result.succeeded())
    {
        ADD_FAILURE() << "Pillow cannot read " << path << ": " << result.describe() << " " << result.errors;
        return std::nullopt;
    }
    const size_t line_end = result.output.find('\n');
    Decoded image;
    std::istringstream header(result.output.substr(0, line_end));
    header >> image.format >> image.width >> image.height;
    const std::string bytes = result.output.substr(line_end + 1);
    if (bytes.size() != size_t(image.width) * image.height * 4)
    {
        ADD_FAILURE() << "short pixel data from Pillow for " << path;
        return std::nullopt;
    }
    image.pixels.resize(bytes.size() / 4);
    std::memcpy(image.pixels.data(), bytes.data(), bytes.size());
    return image;
}

}  // namespace saved_image

#endif
