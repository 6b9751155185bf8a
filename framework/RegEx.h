#pragma once

#include <memory>
#include <string>

#include "framework/Core.h"

namespace fw {

class RegExMatch : public Object {
public:
    RegExMatch(std::string whole) : whole_(std::move(whole)) {}
    // 0 gives the whole matched text; other numbers are not kept and give "".
    std::string SubExpressionString(Int32 index) const { return index == 0 ? whole_ : ""; }

private:
    std::string whole_;
};

// A regular-expression search that ignores letter case. Search(text) finds the first match in
// the text; Search() goes on in the same text after the previous match.
class RegEx : public Object {
public:
    RegEx();
    ~RegEx() override;

    std::string SearchPattern;

    // The match, or null when there is none. A pattern that does not compile matches nothing.
    std::shared_ptr<RegExMatch> Search(const std::string& text);
    std::shared_ptr<RegExMatch> Search();

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace fw
