#ifndef INI_TEST_SUPPORT_HPP
#define INI_TEST_SUPPORT_HPP

#include <string>

#include "ini/Ini.hpp"

namespace initest
{

// Bytes as a quoted, printable text: \" \\ and \xNN for everything outside 0x20-0x7E.
std::string Visible(const std::string &bytes);

// One line per scope ("scope NAME") and one per field ("  NAME = V1, V2"), every
// name and value made visible, in the document's own order.
std::string Dump(const kzr::Ini &ini);

std::string ReadWholeFile(const std::string &path);
void WriteWholeFile(const std::string &path, const std::string &bytes);

// A fresh folder under /tmp, removed with everything in it at destruction.
class TempDir
{
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir &) = delete;
    TempDir &operator=(const TempDir &) = delete;
    std::string Path(const std::string &name) const { return path + "/" + name; }

  private:
    std::string path;
};

}  // namespace initest

#endif
