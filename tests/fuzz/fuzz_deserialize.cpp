// Any byte string either fails to parse or parses into an item whose byte form is that string.
#include <cstdlib>
#include <cstring>

#include "store/TesseraItem.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CTesseraItem item;
    if (!item.Deserialize(data, size)) return 0;
    SecureBytes again;
    if (!item.Serialize(again) || again.size() != size || std::memcmp(again.data(), data, size) != 0) abort();
    return 0;
}
