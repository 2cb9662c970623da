#include "calc/notice.h"

namespace beltrix {

std::string_view noticeText(Notice notice) {
    switch (notice) {
    case Notice::EnterValidPort:
        return "Enter valid port";
    case Notice::EnterValidPortCapital:
        return "Enter Valid port";
    case Notice::PortInSecondFrame:
        return "Port Particulars falls in Second Frame";
    case Notice::SlotPortInSecondFrame:
        return "Slot/Port particulars falls in the Second frame";
    case Notice::ControlCardSlots:
        return "CONTROL CARDS FALL IN THE SLOT POSISTION 7 & 8 ";
    case Notice::UnknownDslamVlan:
        return "PLEASE ENTER THE VALID DSLAM VLAN...!!!!";
    }
    return {};
}

} // namespace beltrix
