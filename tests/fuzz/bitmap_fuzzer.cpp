// A .bmp file from anywhere, loaded into picture slots of a skin.
#include "fuzz_checks.h"
#include "fuzz_entry.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    StartFuzzApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return RunFuzzCheck(CheckBitmapInput, data, size);
}
