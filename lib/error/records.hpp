// Private to the library: the registry of live records that VOLLO_DEBUG=1 lists at exit.
// Creators call vollo_track, deleters vollo_untrack; both return at once, allocating
// nothing, when VOLLO_DEBUG is not 1.
#ifndef VOLLO_RECORDS_PRIVATE_HPP
#define VOLLO_RECORDS_PRIVATE_HPP

#include <cstdint>

// Notes `record` as alive: its kind ("picture", "pixel array", ...), the public function
// that made it, and its size in pixels (0 x 0: none to tell). Tracking a record again
// replaces what was noted, so a specific creator may rename what a shared helper noted.
void vollo_track(const void *record, const char *kind, const char *creator, uint32_t width, uint32_t height);
// Forgets `record` (null, or a record never tracked: nothing).
void vollo_untrack(const void *record);

// True when VOLLO_DEBUG is 1 in the environment (read once).
bool vollo_debug_on();

#endif
