// Without a display SFML aborts half-way through building a window, a render texture
// or a glyph texture; the library traps the abort and abandons the half-built object,
// which may be registered inside SFML and so can be neither destroyed nor freed.
// Tests that go down those paths on purpose hold one of these meanwhile, so that the
// leak checker of sanitizer builds does not count what was abandoned. Other builds
// have no leak checker and the calls are skipped.
#ifndef VOLLO_SANITIZER_PAUSE_HPP
#define VOLLO_SANITIZER_PAUSE_HPP

extern "C" void __lsan_disable(void) __attribute__((weak));
extern "C" void __lsan_enable(void) __attribute__((weak));

namespace vollo_test
{

struct abandoned_by_sfml
{
    abandoned_by_sfml()
    {
        if (__lsan_disable)
            __lsan_disable();
    }
    ~abandoned_by_sfml()
    {
        if (__lsan_enable)
            __lsan_enable();
    }
    abandoned_by_sfml(const abandoned_by_sfml &) = delete;
    abandoned_by_sfml &operator=(const abandoned_by_sfml &) = delete;
};

}  // namespace vollo_test

#endif
