// The 24-port frame of the port calculator, forward. One frame holds 16 slots of 24 ports (384
// tag blocks); VLAN - 127 counts on into a second frame, where the frame tag block is
// VLAN - 511. Text3 shows VLAN - 127, Text12 the tag block within the frame.

#include "calc/panels.h"

namespace beltrix {
namespace {

// First frame, from the VLAN in Text2.
void firstFrame(Operation& op) {
    WorkingIntegers& w = op.work;
    w.workB = op.integer(op.number(Field::Text2) - 127, Field::Text2);
    op.write(Field::Text12, TextFromInteger(w.workB));
    op.write(Field::Text3, op.text(Field::Text12));
    writeSlotAndPort24(op, w.workB, Field::Text4, Field::Text5);
}

} // namespace

void writeSlotAndPort24(Operation& op, std::int16_t tagBlock, Field slot, Field port) {
    std::int16_t remainder = Remainder(tagBlock, 24);
    if (remainder == 0) {
        op.write(slot, TextFromNumber(TruncateNumber(tagBlock / 24.0)));
        op.write(port, TextFromInteger(24));
    } else {
        op.write(slot, TextFromNumber(TruncateNumber(tagBlock / 24.0) + 1));
        op.write(port, TextFromInteger(remainder));
    }
}

void convertVlan24(Operation& op) {
    WorkingIntegers& w = op.work;
    if (op.number(Field::Text2) < 512) {
        // A text such as 511.5 reads below 512 but above 511: it belongs to neither frame,
        // and nothing changes.
        if (op.strictNumber(Field::Text2) <= 511) {
            firstFrame(op);
        }
        return;
    }
    op.notify(Notice::PortInSecondFrame);
    w.workD = op.integer(op.number(Field::Text2) - 127, Field::Text2);
    op.write(Field::Text3, TextFromInteger(w.workD));
    w.workB = op.integer(op.number(Field::Text2) - 511, Field::Text2);
    op.write(Field::Text12, TextFromInteger(w.workB));
    // Text2 becomes the VLAN that the same frame tag block has in the first frame.
    op.write(Field::Text2, TextFromNumber(op.strictNumber(Field::Text2) - 384));
    writeSlotAndPort24(op, w.workB, Field::Text4, Field::Text5);
}

void convertTagBlock24(Operation& op) {
    WorkingIntegers& w = op.work;
    op.write(Field::Text2, TextFromNumber(op.strictNumber(Field::Text12) + 127));
    if (op.strictNumber(Field::Text2) <= 511) {
        firstFrame(op);
        return;
    }
    op.notify(Notice::PortInSecondFrame);
    op.write(Field::Text3, TextFromNumber(op.strictNumber(Field::Text2) - 127));
    w.workB = op.integer(op.number(Field::Text2) - 511, Field::Text2);
    op.write(Field::Text12, TextFromInteger(w.workB));
    writeSlotAndPort24(op, w.workB, Field::Text4, Field::Text5);
}

} // namespace beltrix
