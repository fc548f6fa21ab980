#include "remembered_keys.h"

#include <functional>

void RememberedKeys::AppendKey(std::wstring_view text, std::string& key) const {
    Remembered& slot = remembered_[std::hash<std::wstring_view>{}(text) % remembered_.size()];
    if (slot.text == text) {
        key += slot.key;
        return;
    }
    const size_t start = key.size();
    collation_.AppendKey(text, key);
    slot.text = text;
    slot.key.assign(key, start);
}
