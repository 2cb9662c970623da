#pragma once

// The seventeen reference sheets, by the name of the window that shows each. The main window's
// layout names the sheet each button opens with these, so a misspelt sheet does not compile.

#include <cstddef>

namespace beltrix::ui {

enum class Sheet : std::size_t {
    Form11,
    Form12,
    Form13,
    Form2,
    Form8,
    Form9,
    Form10,
    Form14,
    Form15,
    Form16,
    Form17,
    Form18,
    Form3,
    Form19,
    Form4,
    Form5,
    Form6,
};

inline constexpr std::size_t sheetCount = 17;

} // namespace beltrix::ui
