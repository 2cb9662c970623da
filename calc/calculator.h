#pragma once

// BELTRIX's calculation engine. Each calculation button of the main window runs one operation
// here: it reads field texts through a FieldHost, converts them (calc/conversions.h), computes,
// and writes texts back as soon as each is known, showing range messages through the host as it
// goes. A step whose input cannot be converted stops the click and is reported to the host as a
// Failure; what was written before it stays.

#include "calc/field_model.h"

#include <optional>
#include <string_view>

namespace beltrix {

enum class Button {
    Command9,  // CALCULATE BASED ON DSLAM VLAN
    Command17, // CLEAR of the VLAN-based calculator
    Command6,  // 48 port: CONVERT VLAN
    Command24, // 48 port: CONVERT TAG BLK
    Command16, // 48 port: REVERSE CALCULATE FROM SLOT AND PORT
    Command20, // CLEAR of the port calculator
    Command13, // 24 port: CONVERT VLAN
    Command18, // 24 port: CONVERT TAG BLK
    Command21, // 24 port: REVERSE CALCULATE FROM SLOT AND PORT
};

std::string_view buttonName(Button button);
std::optional<Button> buttonFromName(std::string_view name);

class Calculator {
public:
    explicit Calculator(FieldHost& host) : host_(host) {}

    // Runs the button's operation to its end, or to a failed step.
    void click(Button button);

    const WorkingIntegers& work() const { return work_; }

private:
    FieldHost& host_;
    WorkingIntegers work_;
};

} // namespace beltrix
