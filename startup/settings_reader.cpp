#include "settings_reader.h"

#include "runtime.h"
#include "list_items.h"

namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LEMark = "\xFF\xFE";
constexpr std::string_view kUtf16BEMark = "\xFE\xFF";

// The bytes of a UTF-16 file as its characters, without copying them.
struct Utf16Bytes {
    std::string_view bytes;
    bool bigEndian;

    size_t size() const { return bytes.size() / 2; }
    char16_t operator[](size_t i) const {
        const auto first = static_cast<unsigned char>(bytes[2 * i]);
        const auto second = static_cast<unsigned char>(bytes[2 * i + 1]);
        return static_cast<char16_t>(bigEndian ? first << 8 | second : second << 8 | first);
    }
};

// The item's bytes as text. An item longer than any path is decoded only as
// far as needed to tell (every encoding here takes at most three bytes a
// character), so a huge settings file never becomes huge strings.
SettingsValue DecodeItem(std::string_view item, TextEncoding encoding, RunTime& runTime) {
    const bool utf16 = encoding == TextEncoding::Utf16LE || encoding == TextEncoding::Utf16BE;
    const size_t enoughBytes = (utf16 ? 2 : 3) * (kLongestPath + 1);
    SettingsValue value;
    value.text = runTime.Decode(item.substr(0, enoughBytes), encoding);
    if (value.text.size() > kLongestPath) {
        value.tooLong = true;
        value.text.resize(kLongestPath + 1);
    }
    return value;
}

bool IsAscii(std::string_view bytes) {
    for (unsigned char c : bytes)
        if (c >= 0x80) return false;
    return true;
}

}  // namespace

bool IsValidUtf8(std::string_view bytes) {
    size_t i = 0;
    while (i < bytes.size()) {
        const unsigned char c = bytes[i];
        size_t length;
        unsigned char low = 0x80, high = 0xBF;  // allowed range of the second byte
        if (c < 0x80) { ++i; continue; }
        if (c >= 0xC2 && c <= 0xDF) length = 2;
        else if (c == 0xE0) { length = 3; low = 0xA0; }           // no overlong forms
        else if (c == 0xED) { length = 3; high = 0x9F; }          // no surrogates
        else if (c >= 0xE1 && c <= 0xEF) length = 3;
        else if (c == 0xF0) { length = 4; low = 0x90; }
        else if (c == 0xF4) { length = 4; high = 0x8F; }          // nothing above U+10FFFF
        else if (c >= 0xF1 && c <= 0xF3) length = 4;
        else return false;
        if (i + length > bytes.size()) return false;
        const unsigned char second = bytes[i + 1];
        if (second < low || second > high) return false;
        for (size_t k = 2; k < length; ++k)
            if ((static_cast<unsigned char>(bytes[i + k]) & 0xC0) != 0x80) return false;
        i += length;
    }
    return true;
}

SettingsValue ReadSettingsValue(std::string_view bytes, RunTime& runTime) {
    if (bytes.starts_with(kUtf16LEMark) || bytes.starts_with(kUtf16BEMark)) {
        const bool bigEndian = bytes.starts_with(kUtf16BEMark);
        bytes.remove_prefix(kUtf16LEMark.size());
        bytes.remove_suffix(bytes.size() % 2);  // half a character at the end is no text
        const auto item = LastListItemSpan(Utf16Bytes{bytes, bigEndian});
        if (!item) return {};
        return DecodeItem(bytes.substr(item->start * 2, item->length * 2),
                          bigEndian ? TextEncoding::Utf16BE : TextEncoding::Utf16LE, runTime);
    }

    const bool utf8Marked = bytes.starts_with(kUtf8Mark);
    if (utf8Marked) bytes.remove_prefix(kUtf8Mark.size());

    const auto item = LastListItem(bytes);
    if (!item) return {};
    SettingsValue value = DecodeItem(*item, utf8Marked ? TextEncoding::Utf8 : TextEncoding::Ansi, runTime);
    if (!utf8Marked && !value.tooLong && !IsAscii(*item) && IsValidUtf8(*item))
        value.asUtf8 = runTime.Decode(*item, TextEncoding::Utf8);
    return value;
}
