// The 48-port row of the port calculator, forward: a VLAN or a tag block (VLAN - 127) gives the
// slot and the port. Tag blocks run 48 to a slot over slots 1 to 16; a multiple of 48 is port
// 48, never port 0 of the next slot.

#include "calc/panels.h"

namespace beltrix {
namespace {

// Both conversions end here, on whatever Text12 holds at that moment.
void slotAndPort48(Operation& op) {
    op.work.workA = op.integer(op.number(Field::Text12), Field::Text12);
    if (!writeSlotAndPort48(op, Field::Text4, Field::Text5)) {
        op.notify(Notice::EnterValidPort);
        op.empty({Field::Text2, Field::Text3, Field::Text12, Field::Text4, Field::Text5});
    }
}

} // namespace

bool writeSlotAndPort48(Operation& op, Field slot, Field port) {
    WorkingIntegers& w = op.work;
    if (w.workA >= 1 && w.workA <= 47) {
        op.write(slot, TextFromInteger(1));
        op.write(port, TextFromInteger(w.workA));
        return true;
    }
    if (w.workA >= 48 && w.workA <= 768) {
        w.workB = Remainder(w.workA, 48);
        if (w.workB == 0) {
            op.write(slot, TextFromNumber(TruncateNumber(w.workA / 48.0)));
            op.write(port, TextFromInteger(48));
        } else {
            op.write(slot, TextFromNumber(TruncateNumber(w.workA / 48.0) + 1));
            op.write(port, TextFromInteger(w.workB));
        }
        return true;
    }
    return false;
}

void convertVlan48(Operation& op) {
    op.write(Field::Text12, TextFromNumber(op.number(Field::Text2) - 127));
    slotAndPort48(op);
}

void convertTagBlock48(Operation& op) {
    op.write(Field::Text2, TextFromNumber(op.strictNumber(Field::Text12) + 127));
    slotAndPort48(op);
}

} // namespace beltrix
