#pragma once
// The cases that hold our text view against Qt's QPlainTextEdit, by the behaviour they try.

#include "EditorCase.hpp"

#include <vector>

namespace sidebyside {

// In the number panes' size and the cases' font a row holds this many digits, and this many rows
// are in sight.
constexpr int kDigitsARow = 25;
constexpr int kRowsShown = 13;

const std::vector<CaseGroup>& caseGroups();

// Every case of every group, named "Group_Case".
struct NamedCase {
    std::string name;
    Case c;
};
std::vector<NamedCase> allCases();

}  // namespace sidebyside
