// decorated_module.cpp - a library that exports both entry points only under
// their decorated stdcall names (see decorated.def), as a module linked
// without the undecorating step would.
#include <cstdint>

#if defined(_WIN32) && !defined(_WIN64)
#define STDCALL __stdcall
#else
#define STDCALL
#endif

extern "C" int32_t STDCALL DecoratedInterface(void *) { return 1; }
extern "C" int32_t STDCALL DecoratedProcedure(int32_t) { return 0; }
