// only_procedure_module.cpp - a library that exports VProgProcedure alone.
#include <cstdint>

#if defined(_WIN32) && !defined(_WIN64)
#define STDCALL __stdcall
#else
#define STDCALL
#endif

extern "C" __declspec(dllexport) int32_t STDCALL VProgProcedure(int32_t) { return 0; }
