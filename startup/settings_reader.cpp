#include "startup/settings_reader.h"

#include "platform/runtime.h"
#include "startup/list_items.h"

namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LEMark = "\xFF\xFE";

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

SettingsValue ReadSettingsValue(std::string_view bytes, RunTime& run) {
    SettingsValue value;

    if (bytes.starts_with(kUtf16LEMark)) {
        bytes.remove_prefix(kUtf16LEMark.size());
        bytes.remove_suffix(bytes.size() % 2);  // half a character at the end is no text
        const std::wstring text = run.Decode(bytes, TextEncoding::Utf16LE);
        if (auto item = LastListItem(std::wstring_view(text))) value.text = *item;
        return value;
    }

    const bool utf8Marked = bytes.starts_with(kUtf8Mark);
    if (utf8Marked) bytes.remove_prefix(kUtf8Mark.size());

    const auto item = LastListItem(bytes);
    if (!item) return value;
    value.text = run.Decode(*item, utf8Marked ? TextEncoding::Utf8 : TextEncoding::Ansi);
    if (!utf8Marked && !IsAscii(*item) && IsValidUtf8(*item))
        value.asUtf8 = run.Decode(*item, TextEncoding::Utf8);
    return value;
}
