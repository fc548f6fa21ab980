#include "name_order.h"

namespace {

bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

// Compares the digit runs starting at a[i] and b[j] by value; on return i and
// j stand after the runs. For equal values, zeroTieBreak records which run
// had fewer leading zeros, unless an earlier run already decided it.
int CompareNumbers(std::wstring_view a, size_t& i, std::wstring_view b, size_t& j, int& zeroTieBreak) {
    size_t aStart = i, bStart = j;
    while (i < a.size() && IsDigit(a[i])) ++i;
    while (j < b.size() && IsDigit(b[j])) ++j;
    std::wstring_view x = a.substr(aStart, i - aStart), y = b.substr(bStart, j - bStart);
    const size_t xLength = x.size(), yLength = y.size();
    while (x.size() > 1 && x.front() == L'0') x.remove_prefix(1);
    while (y.size() > 1 && y.front() == L'0') y.remove_prefix(1);
    if (x.size() != y.size()) return x.size() < y.size() ? -1 : 1;
    if (int c = x.compare(y)) return c;
    if (zeroTieBreak == 0 && xLength != yLength) zeroTieBreak = xLength < yLength ? -1 : 1;
    return 0;
}

}  // namespace

bool NaturalLess(std::wstring_view a, std::wstring_view b) {
    size_t i = 0, j = 0;
    int zeroTieBreak = 0;  // "1" before "01", but only when all else is equal
    while (i < a.size() && j < b.size()) {
        if (IsDigit(a[i]) && IsDigit(b[j])) {
            if (int c = CompareNumbers(a, i, b, j, zeroTieBreak)) return c < 0;
            continue;
        }
        if (a[i] != b[j]) return a[i] < b[j];
        ++i;
        ++j;
    }
    const size_t aLeft = a.size() - i, bLeft = b.size() - j;
    if (aLeft != bLeft) return aLeft < bLeft;
    return zeroTieBreak < 0;
}
