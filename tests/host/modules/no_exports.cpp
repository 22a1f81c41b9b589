// A library that exports neither entry point.
#include <cstdint>

extern "C" __attribute__((visibility("default"))) int32_t SomethingElse(int32_t value);

extern "C" int32_t SomethingElse(int32_t value) { return value; }
