// Live records for the exit listing of VOLLO_DEBUG=1: kept in a map that is only made
// once debugging is on, and printed by an exit handler registered with the first record.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>

#include "records.hpp"

namespace
{

struct live_record
{
    const char *kind;
    const char *creator;
    uint32_t width, height;
    unsigned long long order;  // creation order, for the listing
};

std::mutex &registry_lock()
{
    static std::mutex *lock = new std::mutex;  // never destroyed: exit handlers use it
    return *lock;
}

std::map<const void *, live_record> *&registry()
{
    static std::map<const void *, live_record> *records = nullptr;
    return records;
}

void list_live_records()
{
    std::lock_guard<std::mutex> hold(registry_lock());
    if (!registry() || registry()->empty())
        return;
    std::multimap<unsigned long long, const live_record *> in_order;
    for (const auto &entry : *registry())
        in_order.emplace(entry.second.order, &entry.second);
    std::fprintf(stderr, "vollo: %zu record(s) still alive at exit:\n", in_order.size());
    for (const auto &entry : in_order)
    {
        const live_record &record = *entry.second;
        if (record.width || record.height)
            std::fprintf(stderr, "vollo:   %s %u x %u, made by %s\n", record.kind, record.width, record.height,
                         record.creator);
        else
            std::fprintf(stderr, "vollo:   %s, made by %s\n", record.kind, record.creator);
    }
}

}  // namespace

bool vollo_debug_on()
{
    static const bool on = [] {
        const char *value = std::getenv("VOLLO_DEBUG");
        return value != nullptr && std::strcmp(value, "1") == 0;
    }();
    return on;
}

void vollo_track(const void *record, const char *kind, const char *creator, uint32_t width, uint32_t height)
{
    if (!record || !vollo_debug_on())
        return;
    static unsigned long long created = 0;
    std::lock_guard<std::mutex> hold(registry_lock());
    try
    {
        if (!registry())
        {
            registry() = new std::map<const void *, live_record>;
            std::atexit(list_live_records);
        }
        (*registry())[record] = live_record{kind, creator, width, height, created++};
    }
    catch (const std::exception &)
    {
        // Out of memory: the record goes unlisted, the program goes on.
    }
}

void vollo_untrack(const void *record)
{
    if (!record || !vollo_debug_on())
        return;
    std::lock_guard<std::mutex> hold(registry_lock());
    if (registry())
        registry()->erase(record);
}
