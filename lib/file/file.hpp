// Private to the library: the whole-file writer behind vollo_write_file and its kin.
#ifndef VOLLO_FILE_PRIVATE_HPP
#define VOLLO_FILE_PRIVATE_HPP

#include <cstdint>
#include <string>

namespace vollo_file
{

// Writes `size` bytes as the whole file at `path` under the rules of vollo_write_file;
// with `replace` false an existing path (even a dangling link) is never replaced: false
// with EEXIST. Records the reason with vollo_fail on failure.
bool write_whole(const char *path, const void *data, uint64_t size, bool replace);

// The folder holding `path` ("." for a bare name).
std::string folder_of(const std::string &path);

// Removes the temporary files of earlier writes in `folder` whose process is gone.
void remove_stale_temporaries(const std::string &folder);

// A new, exclusively created and empty file named .NAME.vollo-PID-N.tmp beside `target`,
// open for writing, its name in `temporary`; -1 with errno on failure.
int create_named_temporary(const std::string &target, std::string &temporary);

// A fresh temporary name beside `target` that nothing holds yet (for linking a finished
// unnamed file under it before the rename).
std::string temporary_name(const std::string &target);

}  // namespace vollo_file

#endif
