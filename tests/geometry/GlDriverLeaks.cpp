// Mesa's driver leaves allocations behind at exit, from code that is
// unloaded by the time LeakSanitizer looks, so its reports name no module a
// suppression could match. This binary only drives OpenGL; the loader's own
// memory is leak-checked by geometry_tests.
extern "C" const char* __asan_default_options()
{
    return "detect_leaks=0";
}
