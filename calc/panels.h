#pragma once

// The click operations of the main window's calculation buttons, one unit per panel.

#include "calc/operation.h"

namespace beltrix {

// Shared numbering steps, written into the given slot and port fields.
// 48 ports: the tag block in workA; 1 to 768 gives a slot and port (a multiple of 48 is port
// 48) and, from 48 on, the remainder in workB. Returns false, writing nothing, outside 1 to 768.
bool writeSlotAndPort48(Operation& op, Field slot, Field port);
// 24 ports: any frame tag block; a multiple of 24 is port 24, and a tag block of 0 or less
// gives what the truncating division and the signed remainder give.
void writeSlotAndPort24(Operation& op, std::int16_t tagBlock, Field slot, Field port);

// vlan_based.cpp: the VLAN-based calculator
void calculateFromDslamVlan(Operation& op); // Command9
void clearVlanBased(Operation& op);         // Command17

// port48_conversions.cpp
void convertVlan48(Operation& op);     // Command6
void convertTagBlock48(Operation& op); // Command24

// port48_reverse.cpp
void reverseCalculate48(Operation& op);  // Command16
void clearPortCalculator(Operation& op); // Command20

// port24_conversions.cpp
void convertVlan24(Operation& op);     // Command13
void convertTagBlock24(Operation& op); // Command18

// port24_reverse.cpp
void reverseCalculate24(Operation& op); // Command21

} // namespace beltrix
