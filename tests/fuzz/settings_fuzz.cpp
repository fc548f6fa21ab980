// Feeds arbitrary bytes to the settings reader: it must neither crash nor
// hang, and whatever it returns must be an item of the input.
#include <cstdint>
#include <string_view>

#include "fakes.h"
#include "startup/settings_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static FakeDisk disk;
    static FakeRunTime run(disk);
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const SettingsValue value = ReadSettingsValue(bytes, run);
    if (value.asUtf8 && value.text.empty()) __builtin_trap();  // a UTF-8 reading needs an item
    return 0;
}
