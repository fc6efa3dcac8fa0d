#include "ini_test_support.hpp"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace initest
{

std::string Visible(const std::string &bytes)
{
    std::string out = "\"";
    for (unsigned char byte : bytes)
    {
        if (byte == '"' || byte == '\\')
            out += std::string("\\") + static_cast<char>(byte);
        else if (byte >= 0x20 && byte < 0x7F)
            out += static_cast<char>(byte);
        else
        {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", byte);
            out += hex;
        }
    }
    return out + "\"";
}

std::string Dump(const kzr::Ini &ini)
{
    std::string out;
    for (const auto &scope : ini.GetData())
    {
        out += "scope " + Visible(scope.first) + "\n";
        for (const auto &field : scope.second)
        {
            out += "  " + Visible(field.first) + " =";
            for (size_t index = 0; index < field.second.size(); ++index)
                out += (index ? ", " : " ") + Visible(field.second[index]);
            out += "\n";
        }
    }
    return out;
}

std::string ReadWholeFile(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void WriteWholeFile(const std::string &path, const std::string &bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out.flush())
        throw std::runtime_error("cannot write " + path);
}

TempDir::TempDir()
{
    char pattern[] = "/tmp/ini_test_XXXXXX";
    if (!mkdtemp(pattern))
        throw std::runtime_error("mkdtemp failed");
    path = pattern;
}

TempDir::~TempDir()
{
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
}

}  // namespace initest
