// Private to the library: how a failing function records why it failed.
#ifndef VOLLO_ERROR_PRIVATE_HPP
#define VOLLO_ERROR_PRIVATE_HPP

// Records the reason of a failure, printf-style, as the text vollo_error returns; with
// VOLLO_DEBUG=1 in the environment it is also printed to standard error as "vollo: ...".
// Keeps errno as it was, so callers may still report it.
void vollo_fail(const char *format, ...) __attribute__((format(printf, 1, 2)));

#endif
