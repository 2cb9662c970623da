#include "calc/calculator.h"

#include "calc/panels.h"

namespace beltrix {
namespace {

struct ButtonInfo {
    Button button;
    std::string_view name;
    void (*run)(Operation&);
};

constexpr ButtonInfo buttons[] = {
    {Button::Command9, "Command9", calculateFromDslamVlan},
    {Button::Command17, "Command17", clearVlanBased},
    {Button::Command6, "Command6", convertVlan48},
    {Button::Command24, "Command24", convertTagBlock48},
    {Button::Command16, "Command16", reverseCalculate48},
    {Button::Command20, "Command20", clearPortCalculator},
    {Button::Command13, "Command13", convertVlan24},
    {Button::Command18, "Command18", convertTagBlock24},
    {Button::Command21, "Command21", reverseCalculate24},
};

const ButtonInfo& infoOf(Button button) {
    for (const ButtonInfo& info : buttons) {
        if (info.button == button) {
            return info;
        }
    }
    return buttons[0]; // unreachable: every enumerator has a row
}

} // namespace

std::string_view buttonName(Button button) {
    return infoOf(button).name;
}

std::optional<Button> buttonFromName(std::string_view name) {
    for (const ButtonInfo& info : buttons) {
        if (info.name == name) {
            return info.button;
        }
    }
    return std::nullopt;
}

void Calculator::click(Button button) {
    Operation op(host_, work_);
    try {
        infoOf(button).run(op);
    } catch (const StepFailure& stop) {
        host_.reportFailure(stop.failure);
    }
}

} // namespace beltrix
