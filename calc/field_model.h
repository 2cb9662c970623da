#pragma once

// The ten text fields of the main window that the calculations read and write, the four
// working integers, and the small interface through which the engine reaches whatever shows
// the fields: the Qt window, the replay tool or a test.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace beltrix {

enum class Field {
    // VLAN-based calculator
    Text1,  // DSLAM VLAN
    Text6,  // inner VLAN
    Text7,  // tag block number
    Text11, // slot
    Text13, // port
    // Port calculator
    Text2,  // VLAN
    Text12, // tag block number
    Text4,  // slot
    Text5,  // port
    Text3,  // VLAN minus 127, inside the 24-port frame
};

inline constexpr std::array<Field, 10> allFields = {
    Field::Text1, Field::Text6,  Field::Text7, Field::Text11, Field::Text13,
    Field::Text2, Field::Text12, Field::Text4, Field::Text5,  Field::Text3,
};

// The control name, as "Text12".
std::string_view fieldName(Field field);
std::optional<Field> fieldFromName(std::string_view name);

// The label the user sees beside the field, as "TAG BLOCK NO".
std::string_view fieldLabel(Field field);

// The text a field holds when the window opens: a single blank in Text2, Text4 and Text5,
// nothing in the others.
std::string_view initialText(Field field);

// Scratch storage of the main window's calculations. Every operation sets the ones it uses
// before reading them, so no result depends on an earlier click.
struct WorkingIntegers {
    std::int16_t workA = 0;
    std::int16_t workB = 0;
    std::int16_t workC = 0;
    std::int16_t workD = 0;
};

struct Failure;
enum class Notice;

// What the engine needs from the window. Texts are UTF-8.
class FieldHost {
public:
    virtual ~FieldHost() = default;
    virtual std::string text(Field field) const = 0;
    virtual void setText(Field field, const std::string& text) = 0;
    // A modal message with the caption "BELTRIX" and the notice's text; returns once the user
    // has dismissed it.
    virtual void showNotice(Notice notice) = 0;
    // The click stopped at a step whose input could not be converted; nothing after it ran.
    virtual void reportFailure(const Failure& failure) = 0;
};

} // namespace beltrix
