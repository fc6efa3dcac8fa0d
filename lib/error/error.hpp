// Private to the library: how a failing function records why it failed.
#ifndef VOLLO_ERROR_PRIVATE_HPP
#define VOLLO_ERROR_PRIVATE_HPP

// Records the reason of a failure, printf-style, as the text vollo_error returns; with
// VOLLO_DEBUG=1 in the environment it is also printed to standard error as "vollo: ...".
// Keeps errno as it was, so callers may still report it.
void vollo_fail(const char *format, ...) __attribute__((format(printf, 1, 2)));

#include <cstdint>

// Records "cannot open 'PATH': REASON" with the reason errno gives ("cannot open a file:
// no path given" for null) and returns false.
bool vollo_fail_open(const char *path);

// Records why `path` cannot be read, when it cannot: "cannot open 'PATH': REASON" when
// there is no such file (or no path), "cannot read 'PATH': REASON" when there is one that
// cannot be opened or read ("it is a folder" for a folder). True when it recorded that.
bool vollo_fail_unreadable(const char *path);

// Records why the file at `path` could not be loaded: as vollo_fail_unreadable when it
// cannot be read, else "cannot load 'PATH': " followed by `otherwise`.
void vollo_fail_load(const char *path, const char *otherwise);

// Records why the tracked allocator's arena cannot hold a width x height picture (4
// bytes a pixel): what it needs, what the arena holds, and the set_max_heap_size call
// that would make room. `prefix` (may be "") goes before it, as "cannot load 'x': ".
void vollo_fail_arena(const char *prefix, uint32_t width, uint32_t height);

#endif
