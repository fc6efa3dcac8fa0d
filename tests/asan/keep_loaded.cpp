// Preloaded into every process of the sanitizer test run: dlclose leaves
// libraries mapped. Mesa loads its rendering driver with dlopen and unloads it
// when the last X display connection closes; whatever the driver still held
// in its globals then looks leaked, and LeakSanitizer can neither name nor
// suppress code whose module is gone. Kept mapped, the driver's memory stays
// reachable, and any leak that remains carries module names that
// tests/asan/lsan.supp can match.
extern "C" int dlclose(void *handle)
{
    (void)handle;
    return 0;
}
