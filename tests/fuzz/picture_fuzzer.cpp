// A picture file of one format (LUMORA_PICTURE_FORMAT: png, jpeg, gif, webp,
// tiff) loaded into picture slots of a skin.
#include "fuzz_checks.h"
#include "fuzz_entry.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    StartFuzzApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return RunFuzzCheck(
        [](QByteArrayView input) { return CheckPictureInput(LUMORA_PICTURE_FORMAT, input); }, data,
        size);
}
