// Throughput of kzr::Ini's Load and Save on a generated ~20 MB file (2,000 scopes
// of 100 fields), and of the inih library parsing the same text into an
// equivalent ordered-map document, measured in the same run. Best of five runs,
// in processor time of the process (the machine is shared, so wall time mostly
// measures the neighbours); the synced file save also shows wall time, since
// waiting for the disk is its point. Only the parsing call is timed: each
// document is created before and destroyed after its timed part.

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include <time.h>
#include <unistd.h>

#include "ini/Ini.hpp"

#ifdef BENCH_WITH_INIH
#include <ini.h>
#endif

namespace
{

// Unquoted values, so that both parsers read the same text the same way.
std::string GenerateText()
{
    std::string text;
    char line[256];
    for (int scope = 0; scope < 2000; ++scope)
    {
        std::snprintf(line, sizeof line, "[section_%04d]\n", scope);
        text += line;
        for (int field = 0; field < 100; ++field)
        {
            std::snprintf(line, sizeof line,
                          "key_%03d = value %d of section %d, with some ordinary words to read and a few more %08x\n", field,
                          field * 7919 % 1000003, scope, static_cast<unsigned>(field * 2654435761u + scope));
            text += line;
        }
    }
    return text;
}

double Now(clockid_t clock)
{
    timespec now;
    clock_gettime(clock, &now);
    return now.tv_sec + now.tv_nsec * 1e-9;
}

struct Timer
{
    clockid_t clock;
    double started = 0, spent = 0;
    void Start() { started = Now(clock); }
    void Stop() { spent = Now(clock) - started; }
};

// The best of five runs of `run`, which times its own part with the timer.
double BestSeconds(const std::function<void(Timer &)> &run, clockid_t clock = CLOCK_PROCESS_CPUTIME_ID)
{
    double best = 1e9;
    for (int round = 0; round < 5; ++round)
    {
        Timer timer{clock};
        run(timer);
        best = timer.spent < best ? timer.spent : best;
    }
    return best;
}

void Report(const char *what, size_t bytes, double seconds)
{
    std::printf("%-34s %8.1f MB/s  (%.1f ms for %.1f MB)\n", what, bytes / seconds / 1e6, seconds * 1e3,
                bytes / 1e6);
}

#ifdef BENCH_WITH_INIH
typedef std::map<std::string, std::map<std::string, std::vector<std::string>>> InihDocument;

int InihHandler(void *user, const char *section, const char *name, const char *value)
{
    (*static_cast<InihDocument *>(user))[section][name].push_back(value);
    return 1;
}
#endif

}  // namespace

int main()
{
    char folderPattern[] = "/tmp/bench_ini_XXXXXX";
    if (!mkdtemp(folderPattern))
        return 1;
    std::string folder = folderPattern;
    std::string input = folder + "/input.ini", output = folder + "/output.ini";
    std::string text = GenerateText();
    std::ofstream(input, std::ios::binary).write(text.data(), static_cast<std::streamsize>(text.size()));

    size_t fields = 0;
    double load = BestSeconds([&](Timer &timer) {
        kzr::Ini ini;
        timer.Start();
        bool loaded = ini.Load(input);
        timer.Stop();
        if (!loaded)
            std::abort();
        fields = 0;
        for (const auto &scope : ini.GetData())
            fields += scope.second.size();
    });
    Report("kzr::Ini::Load", text.size(), load);
    if (fields != 200000)
        std::printf("unexpected field count %zu\n", fields);

#ifdef BENCH_WITH_INIH
    double inih = BestSeconds([&](Timer &timer) {
        InihDocument document;
        timer.Start();
        int result = ini_parse(input.c_str(), InihHandler, &document);
        timer.Stop();
        if (result != 0)
            std::abort();
    });
    Report("inih ini_parse into std::map", text.size(), inih);
    std::printf("%-34s %8.2fx\n", "Load speed / inih speed", inih / load);
#else
    std::printf("inih not installed (libinih-dev): no baseline\n");
#endif

    kzr::Ini ini;
    ini.Load(input);
    std::ostringstream written;
    ini.Save(written);
    size_t savedBytes = written.str().size();
    double saveStream = BestSeconds([&](Timer &timer) {
        std::ostringstream out;
        timer.Start();
        ini.Save(out);
        timer.Stop();
    });
    Report("kzr::Ini::Save to a string stream", savedBytes, saveStream);
    auto saveToFile = [&](Timer &timer) {
        timer.Start();
        bool saved = ini.Save(output);
        timer.Stop();
        if (!saved)
            std::abort();
    };
    double saveFile = BestSeconds(saveToFile);
    Report("kzr::Ini::Save to a file (synced)", savedBytes, saveFile);
    double saveFileWall = BestSeconds(saveToFile, CLOCK_MONOTONIC);
    Report("  the same in wall time", savedBytes, saveFileWall);

    std::filesystem::remove_all(folder);
    return 0;
}
