#pragma once

// The notices the calculations show in the window's message box. The engine names the notice;
// the window shows its text, and the programs that run the engine without a window decide by the
// notice itself, never by its text.

#include <string_view>

namespace beltrix {

enum class Notice {
    EnterValidPort,        // the input lies outside the card's numbering
    EnterValidPortCapital, // the same, from the reverse calculations (a capital V)
    PortInSecondFrame,     // the line lies in the second frame of 24-port cards
    SlotPortInSecondFrame, // the same, from the 24-port reverse calculation
    ControlCardSlots,      // slots 7 and 8 hold the control cards
    UnknownDslamVlan,      // the DSLAM VLAN is not in the table of known DSLAMs
};

// The notice's text, exactly as the message box shows it.
std::string_view noticeText(Notice notice);

} // namespace beltrix
