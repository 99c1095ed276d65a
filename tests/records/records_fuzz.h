#pragma once
// The hall-of-fame reader against any bytes: libFuzzer's entry point, also driven by a
// randomised test where libFuzzer is not available.

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);
