// The 24-port frame of the port calculator, backward: a slot and a port give the tag block,
// VLAN - 127 and the VLAN. Slots 1 to 16 are the first frame; every other slot number is taken
// as a slot of the second frame, counted on from 17.

#include "calc/panels.h"

namespace beltrix {
namespace {

// (slot - 1) x 24 + port from the two fields as they stand, the port read first.
double tagBlockFromFields(Operation& op) {
    double port = op.number(Field::Text5);
    double slot = op.number(Field::Text4);
    return op.finite(op.finite((slot - 1) * 24, Field::Text4) + port, Field::Text4);
}

bool validPort(std::int16_t port) {
    return port >= 1 && port <= 24;
}

void rejectPort(Operation& op) {
    op.notify(Notice::EnterValidPortCapital);
    op.empty({Field::Text2, Field::Text12, Field::Text4, Field::Text5, Field::Text3});
}

} // namespace

void reverseCalculate24(Operation& op) {
    WorkingIntegers& w = op.work;
    w.workB = op.integerFromText(Field::Text5);
    w.workD = op.integerFromText(Field::Text4);
    w.workB = op.integerFromText(Field::Text5);

    if (w.workD >= 1 && w.workD <= 16) {
        if (!validPort(w.workB)) {
            rejectPort(op);
            return;
        }
        op.write(Field::Text12, TextFromNumber(tagBlockFromFields(op)));
        op.write(Field::Text3, op.text(Field::Text12));
        op.write(Field::Text2, TextFromNumber(op.strictNumber(Field::Text12) + 127));
        return;
    }

    op.notify(Notice::SlotPortInSecondFrame);
    op.write(Field::Text3, TextFromNumber(tagBlockFromFields(op)));
    w.workB = op.integerFromText(Field::Text5);
    if (!validPort(w.workB)) {
        rejectPort(op);
        return;
    }
    op.write(Field::Text4, TextFromNumber(op.number(Field::Text4) - 16));
    op.write(Field::Text12, TextFromNumber(tagBlockFromFields(op)));
    op.write(Field::Text2, TextFromNumber(op.strictNumber(Field::Text12) + 127));
}

} // namespace beltrix
