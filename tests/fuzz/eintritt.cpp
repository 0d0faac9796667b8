// libFuzzer entry for one reader (PRUEFUNG, set per target); the checks live in leser.cpp, which the
// corpus replay runs too.
#include "leser.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    velmaro::test::AbbrechenBei(velmaro::test::PRUEFUNG(data, size), ZIEL);
    return 0;
}
