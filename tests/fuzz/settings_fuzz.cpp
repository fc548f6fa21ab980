// Feeds arbitrary bytes to the settings reader: it must neither crash, hang
// nor leak, and the item it picks must lie inside the bytes it was given.
#include <cstdint>
#include <string_view>

#include "fakes.h"
#include "list_items.h"
#include "settings_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static FakeDisk disk;
    static FakeRunTime run(disk);
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    if (const auto item = LastListItem(bytes)) {
        if (item->data() < bytes.data() || item->data() + item->size() > bytes.data() + bytes.size())
            __builtin_trap();
        if (item->size() && (item->back() == ' ' || item->back() == '\t') && item->data()[-1] != '"')
            __builtin_trap();  // unquoted items lose their trailing blanks
    }
    const SettingsValue value = ReadSettingsValue(bytes, run);
    if (value.asUtf8 && value.text.empty()) __builtin_trap();  // a UTF-8 reading needs an item
    return 0;
}
