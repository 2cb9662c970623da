// The 48-port row of the port calculator, backward: a slot and a port give the tag block
// (48 x (slot - 1) + port) and the VLAN (tag block + 127); and the panel's CLEAR.

#include "calc/panels.h"

namespace beltrix {

void reverseCalculate48(Operation& op) {
    WorkingIntegers& w = op.work;
    w.workB = op.integerFromText(Field::Text5);
    if (w.workB < 1 || w.workB > 48) {
        op.notify(Notice::EnterValidPortCapital);
        op.empty({Field::Text2, Field::Text12, Field::Text4, Field::Text5});
        return;
    }
    // The check sees the rounded port; the arithmetic uses the texts as they stand, and the
    // slot is taken unchecked.
    double port = op.number(Field::Text5);
    double slot = op.number(Field::Text4);
    double tagBlock = op.finite(op.finite((slot - 1) * 48, Field::Text4) + port, Field::Text4);
    op.write(Field::Text12, TextFromNumber(tagBlock));
    op.write(Field::Text2, TextFromNumber(op.strictNumber(Field::Text12) + 127));
}

void clearPortCalculator(Operation& op) {
    op.empty({Field::Text2, Field::Text3, Field::Text12, Field::Text4, Field::Text5});
}

} // namespace beltrix
