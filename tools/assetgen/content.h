#pragma once

// What the pictures show. Every name, number and address is made up here from a seeded
// generator: the sheets must look like the lists the operators keep without copying any real
// person, customer, company or telephone number. Telephone numbers all start with 0000, which
// no network dials, and addresses come from the private and documentation ranges.

#include "tools/assetgen/painting.h"

#include <QString>

namespace beltrix::assetgen {

enum class Content {
    WindowIcon,
    TitleBanner,
    NetworkBanner,
    CalculatorBanner,
    Landline,       // officers' office and residence numbers
    Mobile,         // officers' mobile numbers, numbered
    LeasedCircuits, // leased-circuit customers on the MPLS edge
    NodeDslams,     // DSLAMs behind one aggregation node
    ServiceDslams,  // DSLAMs of one service, with their port counts
    ProjectDslams,  // DSLAMs of one roll-out project
    RingSwitches,
};

Banner bannerFor(Content content);

struct SheetOrder {
    Content content;
    QString subject; // the node or the service the sheet is about
    QString letters; // the alphabetical range of a list split over several sheets, "A-M"
    int firstNumber; // where the serial numbers of this part of the list start
    int height;      // of the picture; the rows run down to its bottom
    int topInset;
    QString seedName; // keeps each sheet's made-up entries independent of the others
};

Table makeSheet(const SheetOrder& order);

} // namespace beltrix::assetgen
