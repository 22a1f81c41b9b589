// Preloaded into the desktop host by the long-running desktop tests: dlclose
// leaves every library mapped until the process ends.
//
// SDL loads the GL libraries while it sets up its window and unloads them
// again. Memory they allocated and still refer to from their own globals
// then looks unreferenced to LeakSanitizer, whose report can no longer name
// the library (its frames show "<unknown module>"), so the suppressions for
// the system libraries cannot match it. With the libraries kept, such memory
// stays referenced, and every leak that is reported names where it was made.
// The host itself never unloads anything: the game module stays loaded for
// the whole run.
extern "C" int dlclose(void *) { return 0; }
