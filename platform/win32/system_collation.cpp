#include "system_collation.h"

#include <windows.h>

#include <cstring>

namespace {

// Sort keys from LCMapStringEx (there since Vista) for the user's locale.
// NORM_IGNORECASE is how Explorer's own order ignores case; names that then
// tie are told apart by the order of names itself.
class UserCollation : public Collation {
public:
    void AppendKey(std::wstring_view text, std::string& key) const override {
        if (text.empty()) return;  // LCMapStringEx refuses empty text; its key would be empty anyway
        const size_t start = key.size();
        // Keys rarely need 4 bytes a character: the size is asked only when one does.
        int room = static_cast<int>(text.size()) * 4 + 16;
        for (int attempt = 0; attempt < 2 && room > 0; ++attempt) {
            key.resize(start + room);
            const int written = Map(text, key.data() + start, room);
            // The key ends at its first zero byte, its last.
            if (written > 0 && std::memchr(key.data() + start, 0, written) == key.data() + start + written - 1) {
                key.resize(start + written - 1);
                return;
            }
            if (written > 0 || GetLastError() != ERROR_INSUFFICIENT_BUFFER) break;
            room = Map(text, nullptr, 0);
        }
        // Never seen: the text's own codes keep the order whole, as three
        // bytes of seven bits each, none of them zero.
        key.resize(start);
        for (wchar_t c : text)
            for (int shift = 14; shift >= 0; shift -= 7) key += static_cast<char>(0x80 | (c >> shift & 0x7F));
    }

private:
    static int Map(std::wstring_view text, char* bytes, int size) {
        return LCMapStringEx(LOCALE_NAME_USER_DEFAULT, LCMAP_SORTKEY | NORM_IGNORECASE, text.data(),
                             static_cast<int>(text.size()), reinterpret_cast<LPWSTR>(bytes), size, nullptr,
                             nullptr, 0);
    }
};

}  // namespace

const Collation& SystemCollation() {
    static const UserCollation collation;
    return collation;
}
