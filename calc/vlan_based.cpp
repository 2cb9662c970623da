// The VLAN-based calculator: a DSLAM VLAN selects the card layout of its DSLAM, and the inner
// VLAN gives the tag block, the slot and the port under that layout.

#include "calc/panels.h"

namespace beltrix {
namespace {

enum class DslamGroup { None, Ports48, Ports24, ControlCards };

DslamGroup groupOf(int dslamVlan) {
    auto in = [dslamVlan](int low, int high) { return dslamVlan >= low && dslamVlan <= high; };
    if (in(2002, 2023) || dslamVlan == 2025 || dslamVlan == 2027 || in(2050, 2078)) {
        return DslamGroup::Ports48;
    }
    for (int vlan : {3500, 3505, 3522, 3523, 3605, 3780, 3789}) {
        if (dslamVlan == vlan) {
            return DslamGroup::Ports24;
        }
    }
    if (in(3900, 3906) || in(3910, 3915)) {
        return DslamGroup::ControlCards;
    }
    return DslamGroup::None;
}

// Writes the tag block (inner VLAN - 127) into Text7 and reads it back as shown, rounded.
std::int16_t tagBlockFromInnerVlan(Operation& op) {
    op.write(Field::Text7, TextFromNumber(op.number(Field::Text6) - 127));
    return op.integer(op.number(Field::Text7), Field::Text7);
}

void ports48(Operation& op) {
    op.work.workA = tagBlockFromInnerVlan(op);
    if (!writeSlotAndPort48(op, Field::Text11, Field::Text13)) {
        op.notify(Notice::EnterValidPort);
        op.empty({Field::Text1, Field::Text6, Field::Text7, Field::Text11, Field::Text13});
    }
}

void ports24(Operation& op) {
    WorkingIntegers& w = op.work;
    w.workA = op.integer(op.number(Field::Text6), Field::Text6);
    if (w.workA >= 512 && w.workA <= 895) {
        op.notify(Notice::PortInSecondFrame);
        op.write(Field::Text7, TextFromNumber(op.number(Field::Text6) - 127));
        op.write(Field::Text3, op.text(Field::Text7));
        w.workB = op.integer(op.number(Field::Text6) - 511, Field::Text6);
        op.write(Field::Text7, TextFromInteger(w.workB));
        // The inner VLAN becomes the matching inner VLAN of the first frame.
        op.write(Field::Text6, TextFromNumber(op.strictNumber(Field::Text6) - 384));
        writeSlotAndPort24(op, w.workB, Field::Text11, Field::Text13);
    } else if (w.workA >= 1 && w.workA <= 511) {
        w.workB = op.integer(op.number(Field::Text6) - 127, Field::Text6);
        op.write(Field::Text7, TextFromInteger(w.workB));
        writeSlotAndPort24(op, w.workB, Field::Text11, Field::Text13);
    } else {
        op.notify(Notice::EnterValidPortCapital);
        op.empty(
            {Field::Text1, Field::Text3, Field::Text6, Field::Text7, Field::Text11, Field::Text13});
    }
}

// Slots and ports count from 0, and slots 7 and 8 hold the control cards: tag blocks from 337
// on lie two slots further on.
void controlCards(Operation& op) {
    WorkingIntegers& w = op.work;
    w.workA = tagBlockFromInnerVlan(op);
    if (w.workA >= 1 && w.workA <= 47) {
        op.write(Field::Text11, "0");
        op.write(Field::Text13, TextFromInteger(op.minusOne(w.workA, Field::Text7)));
    } else if (w.workA >= 48 && w.workA <= 336) {
        w.workB = Remainder(w.workA, 48);
        if (w.workB == 0) {
            op.write(Field::Text11, TextFromNumber(TruncateNumber(w.workA / 48.0) - 1));
            op.write(Field::Text13, TextFromInteger(47));
        } else {
            op.write(Field::Text11, TextFromNumber(TruncateNumber(w.workA / 48.0)));
            op.write(Field::Text13, TextFromInteger(op.minusOne(w.workB, Field::Text7)));
        }
    } else if (w.workA >= 337 && w.workA <= 672) {
        op.notify(Notice::ControlCardSlots);
        w.workB = Remainder(w.workA, 48);
        if (w.workB == 0) {
            op.write(Field::Text11, TextFromNumber(TruncateNumber(w.workA / 48.0) + 1));
            op.write(Field::Text13, TextFromInteger(47));
        } else {
            op.write(Field::Text11, TextFromNumber(TruncateNumber(w.workA / 48.0) + 2));
            op.write(Field::Text13, TextFromInteger(op.minusOne(w.workB, Field::Text7)));
        }
    } else {
        op.notify(Notice::EnterValidPort);
        op.empty({Field::Text1, Field::Text6, Field::Text7, Field::Text11, Field::Text13});
    }
}

} // namespace

void calculateFromDslamVlan(Operation& op) {
    WorkingIntegers& w = op.work;
    w.workC = op.integer(op.number(Field::Text1), Field::Text1);
    switch (groupOf(w.workC)) {
    case DslamGroup::Ports48:
        ports48(op);
        break;
    case DslamGroup::Ports24:
        ports24(op);
        break;
    case DslamGroup::ControlCards:
        controlCards(op);
        break;
    case DslamGroup::None:
        op.notify(Notice::UnknownDslamVlan);
        break;
    }
}

void clearVlanBased(Operation& op) {
    op.empty(
        {Field::Text1, Field::Text3, Field::Text6, Field::Text7, Field::Text11, Field::Text13});
}

} // namespace beltrix
