// The compile time of a file that includes only vollo.h, as C99 and as C++17, against
// the same file including SFML's graphics header (what vollo.h included before it
// became a C header), each the best of several runs; then the stripped size of the
// breakout game linked statically and linked with libvollo.so.
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace
{
const int kRuns = 7;

// Best wall time in seconds of compiling `text` (suffix picks the language); -1 on failure.
double compile_seconds(const std::string &compiler, const std::string &flags, const std::string &text,
                       const std::string &suffix)
{
    const std::string source = "/tmp/vollo-bench-header-" + std::to_string(getpid()) + suffix;
    FILE *file = std::fopen(source.c_str(), "w");
    if (!file || std::fputs(text.c_str(), file) < 0 || std::fclose(file) != 0)
        return -1;
    const std::string command = compiler + " " + flags + " -I" VOLLO_INCLUDE " -c " + source + " -o /dev/null";
    double best = -1;
    for (int run = 0; run < kRuns; ++run)
    {
        const auto start = std::chrono::steady_clock::now();
        if (std::system(command.c_str()) != 0)
            return std::remove(source.c_str()), -1;
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        best = best < 0 || seconds < best ? seconds : best;
    }
    std::remove(source.c_str());
    return best;
}

// Bytes of the program once stripped of its symbols and debugging sections.
long stripped_size(const std::string &program)
{
    const std::string copy = "/tmp/vollo-bench-strip-" + std::to_string(getpid());
    struct stat status;
    if (std::system(("strip -o " + copy + " " + program).c_str()) != 0 || stat(copy.c_str(), &status) != 0)
        return -1;
    std::remove(copy.c_str());
    return long(status.st_size);
}
}  // namespace

int main()
{
    const double c = compile_seconds(C_COMPILER, "-std=c99 -Wall -Wextra -pedantic", "#include \"vollo.h\"\n", ".c");
    const double cxx = compile_seconds(CXX_COMPILER, "-std=c++17", "#include \"vollo.h\"\n", ".cpp");
    const double sfml = compile_seconds(CXX_COMPILER, "-std=c++17", "#include <SFML/Graphics.hpp>\n", ".cpp");
    if (c < 0 || cxx < 0 || sfml < 0)
        return std::fprintf(stderr, "a compilation failed\n"), 1;
    std::printf("compile a file including vollo.h: C99 %.3f s, C++17 %.3f s (target under 0.1 s)\n", c, cxx);
    std::printf("  the same file including SFML/Graphics.hpp: %.3f s; vollo.h as C++ takes %.2f of it\n", sfml,
                cxx / sfml);
    const long with_static = stripped_size(STATIC_GAME), with_shared = stripped_size(SHARED_GAME);
    const long library = stripped_size(SHARED_LIBRARY);
    if (with_static < 0 || with_shared < 0 || library < 0)
        return std::fprintf(stderr, "cannot strip the games\n"), 1;
    std::printf("breakout, stripped: %ld bytes with libvollo.a, %ld bytes with libvollo.so (%.3f of it),\n"
                "  libvollo.so itself %ld bytes\n",
                with_static, with_shared, double(with_shared) / double(with_static), library);
    return 0;
}
