// Linked into every test of the sanitizer build: libraries stay loaded until
// the process ends. SDL and the GL dispatcher unload D-Bus, Mesa's GLX and
// its driver as their last context goes; LeakSanitizer, looking at exit,
// would then miss the globals that still hold those libraries' blocks and
// report them as leaks from a module it can no longer even name.
extern "C" int dlclose(void*)
{
    return 0;
}
