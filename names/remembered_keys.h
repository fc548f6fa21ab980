#pragma once
#include <array>
#include <string>
#include <string_view>

#include "collation.h"

// A collation that remembers the keys it made last, for sorting a large
// folder: the names in one folder share most of their text (人教版三年级上册
// 数学第…单元…课时), and asking the system for a key costs far more than
// looking one up. It holds a few hundred keys, so drop it after the sort.
class RememberedKeys : public Collation {
public:
    explicit RememberedKeys(const Collation& collation) : collation_(collation) {}
    void AppendKey(std::wstring_view text, std::string& key) const override;

private:
    struct Remembered {
        std::wstring text;
        std::string key;
    };
    const Collation& collation_;
    mutable std::array<Remembered, 512> remembered_;  // where a text's hash says
};
