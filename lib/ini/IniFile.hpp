#ifndef KZR_INI_FILE_HPP
#define KZR_INI_FILE_HPP

// Writing a whole file safely, private to lib/ini.

#include <string>

namespace kzr
{
namespace inifile
{

// Makes the file at `path` hold exactly `text`. A regular file, or one that does
// not exist yet, is written as a temporary file in the same folder (with the
// existing file's permissions) and renamed over the target, so readers see the old
// content or the new, never a part. A symbolic link is followed and its target
// replaced. Any other existing target (a device, a FIFO) is opened and written in
// place; it is never renamed over or removed. False, with a regular target left as
// it was, when anything fails: opening, writing (a full disk), syncing, closing,
// renaming. A directory is refused.
bool WriteWhole(const std::string &path, const std::string &text);

}  // namespace inifile
}  // namespace kzr

#endif
