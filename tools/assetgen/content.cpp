#include "tools/assetgen/content.h"

#include "tools/assetgen/dice.h"

#include <algorithm>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace beltrix::assetgen {

namespace {

const QString enDash = QStringLiteral("\u2013");
const QString emDash = QStringLiteral("\u2014");
const QString dot = QStringLiteral("  \u00b7  ");

// ---- Made-up words -------------------------------------------------------------------------

constexpr const char* vowels[] = {"a", "e", "i", "o", "u", "a", "e", "o", "ai", "ou"};
constexpr const char* joins[] = {"r",  "l",  "n",  "m",  "v",  "s",  "t",  "d",  "k",  "b", "g",
                                 "rv", "nd", "st", "sk", "lm", "rn", "th", "nt", "rd", "lv"};
constexpr const char* surnameEndings[] = {"in", "ar", "el",  "ov", "an",  "eth", "ian", "ur",
                                          "is", "en", "ald", "ek", "ane", "or",  "ell", "ic",
                                          "as", "om", "ert", "ay", "ani", "esh"};
constexpr const char* placeEndings[] = {"holm", "vale",  "ford",  "mere",  "wick", "stad",
                                        "ora",  "ene",   "ton",   "garth", "ival", "esk",
                                        "dal",  "haven", "ridge", "by"};
constexpr const char* firmEndings[] = {"ex",  "ara", "ion", "ova", "ix", "ent",
                                       "ane", "ium", "ora", "yn",  "on", "elle"};

bool isVowel(char c) {
    return std::string_view("aeiouAEIOU").find(c) != std::string_view::npos;
}

template <std::size_t N>
QString inventedWord(Dice& dice, char initial, const char* const (&endings)[N]) {
    std::string word(1, initial);
    if (initial == 'Q') {
        word += 'u';
    }
    if (!isVowel(initial)) {
        word += dice.pick(vowels);
    }
    word += dice.pick(joins);
    if (dice.chance(35)) {
        word += dice.pick(vowels);
        word += dice.pick(joins);
    }
    const std::string ending = dice.pick(endings);
    if (!isVowel(ending.front())) {
        word += dice.pick(vowels);
    }
    word += ending;
    return QString::fromStdString(word);
}

char letterBetween(Dice& dice, char first, char last) {
    return char(dice.between(first, last));
}

QString initials(Dice& dice) {
    QString text = QChar(char(dice.between('A', 'Z'))) + QStringLiteral(".");
    if (dice.chance(60)) {
        text += QStringLiteral(" ") + QChar(char(dice.between('A', 'Z'))) + QStringLiteral(".");
    }
    return text;
}

// "Korvale" gives "KRVL": the initial and the consonants that follow, as exchanges are coded.
QString exchangeCode(const QString& place) {
    QString code = place.left(1).toUpper();
    for (qsizetype i = 1; i < place.size() && code.size() < 4; ++i) {
        const char c = place[i].toLatin1();
        if (!isVowel(c) && !code.endsWith(QChar(c).toUpper())) {
            code += QChar(c).toUpper();
        }
    }
    while (code.size() < 4) {
        code += QStringLiteral("X");
    }
    return code;
}

QString place(Dice& dice) {
    return inventedWord(dice, letterBetween(dice, 'A', 'Z'), placeEndings);
}

// ---- Numbers, addresses, dates -------------------------------------------------------------
// Each draw goes into its own variable: the order in which the arguments of one call are
// evaluated differs between compilers, and with it the pictures would.

QString officeNumber(Dice& dice) {
    const int line = dice.below(10);
    const int number = dice.below(10000);
    return QString::asprintf("0000 2%d %04d", line, number);
}

QString mobileNumber(Dice& dice) {
    const int series = dice.below(10);
    const int high = dice.below(1000);
    const int low = dice.below(1000);
    return QString::asprintf("0000 9%d %03d %03d", series, high, low);
}

QString commissioned(Dice& dice) {
    const int day = dice.between(1, 28);
    const int month = dice.between(1, 12);
    const int year = dice.between(2006, 2013);
    return QString::asprintf("%02d.%02d.%d", day, month, year);
}

// A host address in the given 10.x.0.0/16 management subnet.
QString managementAddress(Dice& dice, int subnet) {
    const int third = dice.below(256);
    const int fourth = dice.between(2, 254);
    return QString::asprintf("10.%d.%d.%d", subnet, third, fourth);
}

// The DSLAM VLANs that the calculator knows, with the port count of their card layout.
struct DslamVlan {
    int vlan;
    int portsPerSlot;
    int slotCount;
};

std::vector<DslamVlan> knownDslamVlans() {
    std::vector<DslamVlan> known;
    const auto add = [&known](int first, int last, int portsPerSlot, int slotCount) {
        for (int v = first; v <= last; ++v) {
            known.push_back({v, portsPerSlot, slotCount});
        }
    };
    add(2002, 2023, 48, 16);
    add(2025, 2025, 48, 16);
    add(2027, 2027, 48, 16);
    add(2050, 2078, 48, 16);
    for (const int v : {3500, 3505, 3522, 3523, 3605, 3780, 3789}) {
        add(v, v, 24, 32); // two frames of sixteen slots
    }
    add(3900, 3906, 48, 14); // slots 7 and 8 hold the control cards
    add(3910, 3915, 48, 14);
    return known;
}

// Different VLANs for every row as long as there are enough, in a shuffled order.
std::vector<DslamVlan> drawVlans(Dice& dice, int count) {
    std::vector<DslamVlan> pool = knownDslamVlans();
    std::vector<DslamVlan> drawn;
    while (int(drawn.size()) < count) {
        std::vector<DslamVlan> round = pool;
        for (std::size_t i = round.size(); i > 1; --i) {
            std::swap(round[i - 1], round[std::size_t(dice.below(int(i)))]);
        }
        drawn.insert(drawn.end(), round.begin(), round.end());
    }
    drawn.resize(std::size_t(count));
    return drawn;
}

QString portCount(Dice& dice, const DslamVlan& v) {
    return QString::number(v.portsPerSlot * dice.between(v.slotCount / 4, v.slotCount));
}

// ---- The people, customers and equipment of the lists --------------------------------------

constexpr const char* designations[] = {"GM",  "DGM", "AGM", "DE", "DE", "SDE", "SDE",
                                        "SDE", "JE",  "JE",  "JE", "AO", "AAO", "AE"};
constexpr const char* sections[] = {
    "Broadband Ops", "NOC",           "MPLS Core",     "Transmission",   "Planning",
    "Billing",       "Customer Care", "Access North",  "Access South",   "Access East",
    "Access West",   "Leased Lines",  "Stores",        "Administration", "Legal",
    "IT Cell",       "Vigilance",     "Outdoor Plant", "Power Plant",    "Enterprise Sales",
    "DSLAM Maint.",  "Optical Fibre", "Central Exch.", "Quality Audit",  "Human Resources",
};
constexpr const char* dslamVendors[] = {"NORVEXA", "TALDRIN", "QUESSEL", "OMBRIC"};
constexpr const char* switchMakes[] = {"OMBRIC RS-2400", "TALDRIN MX-24", "QUESSEL QE-3412",
                                       "NORVEXA NS-16G"};
constexpr const char* firmKinds[] = {
    "Textiles",        "Logistics",   "Pharma Labs",   "Cold Storage", "Polymers",
    "Co-op Bank",      "Engineering", "Agro Foods",    "Ceramics",     "Hospital",
    "Nursing College", "Motors",      "Software Park", "Exports",      "Steel Rolling",
    "Paper Mills",     "Hotels",      "Insurance",     "Cement Works", "Public School",
};
constexpr const char* leasedRemarks[] = {
    "MPLS VPN, head office link",
    "Backup path via RASK-P2",
    "Shifted to Ethernet, keep till billing closes",
    "Disconnected, pending removal",
    "Under testing",
    "Bandwidth upgraded on request",
    "Dual homed",
    "Internet leased line",
    "Router at customer premises",
    "Billing on hold",
};

struct SlotGroup {
    const char* timeSlots;
    int count;
};
constexpr SlotGroup slotGroups[] = {{"1-31", 31},  {"1-31", 31}, {"1-16", 16},
                                    {"17-31", 15}, {"1-8", 8},   {"9-16", 8},
                                    {"1-4", 4},    {"1-2", 2},   {"1", 1}};

std::pair<char, char> letterRange(const QString& letters) {
    return {letters.front().toLatin1(), letters.back().toLatin1()};
}

// People sorted by surname, as the lists are kept, with the surnames within the range.
std::vector<QString> people(Dice& dice, const QString& letters, int count) {
    const auto [first, last] = letterRange(letters);
    std::vector<QString> names;
    for (int i = 0; i < count; ++i) {
        const QString surname =
            inventedWord(dice, letterBetween(dice, first, last), surnameEndings);
        names.push_back(surname + QStringLiteral(", ") + initials(dice));
    }
    std::sort(names.begin(), names.end());
    return names;
}

QString designation(Dice& dice) {
    return QString::fromLatin1(dice.pick(designations));
}
QString section(Dice& dice) {
    return QString::fromLatin1(dice.pick(sections));
}

// ---- The sheets ----------------------------------------------------------------------------

Table landline(Dice& dice, const SheetOrder& order) {
    Table t;
    t.title = QStringLiteral("OFFICERS ") + emDash + QStringLiteral(" LANDLINE NUMBERS (") +
              QString(order.letters).replace('-', enDash) + QStringLiteral(")");
    t.notes = {QStringLiteral("Office numbers on the departmental exchange; residence numbers "
                              "where the officer has given one.")};
    t.columns = {{QStringLiteral("Designation / Section"), 34, Qt::AlignLeft},
                 {QStringLiteral("Name"), 28, Qt::AlignLeft},
                 {QStringLiteral("Office"), 19, Qt::AlignLeft},
                 {QStringLiteral("Residence"), 19, Qt::AlignLeft}};
    const int count = rowsThatFit(order.height, order.topInset, int(t.notes.size()));
    for (const QString& name : people(dice, order.letters, count)) {
        const QString title = designation(dice);
        const QString post = title + QStringLiteral(" (") + section(dice) + ")";
        const QString residence = dice.chance(80) ? officeNumber(dice) : QStringLiteral("-");
        t.rows.push_back({post, name, officeNumber(dice), residence});
    }
    return t;
}

Table mobile(Dice& dice, const SheetOrder& order) {
    Table t;
    t.title = QStringLiteral("OFFICERS ") + emDash + QStringLiteral(" MOBILE NUMBERS (") +
              QString(order.letters).replace('-', enDash) + QStringLiteral(")");
    t.notes = {QStringLiteral("Closed user group: calls between the numbers of this list are "
                              "free of charge.")};
    t.columns = {{QStringLiteral("S.No"), 8, Qt::AlignRight},
                 {QStringLiteral("Name"), 27, Qt::AlignLeft},
                 {QStringLiteral("Designation"), 14, Qt::AlignLeft},
                 {QStringLiteral("Section"), 26, Qt::AlignLeft},
                 {QStringLiteral("Mobile"), 25, Qt::AlignLeft}};
    const int count = rowsThatFit(order.height, order.topInset, int(t.notes.size()));
    int number = order.firstNumber;
    for (const QString& name : people(dice, order.letters, count)) {
        t.rows.push_back({QString::number(number++), name, designation(dice), section(dice),
                          mobileNumber(dice)});
    }
    return t;
}

Table leasedCircuits(Dice& dice, const SheetOrder& order) {
    Table t;
    t.title = QStringLiteral("LEASED CIRCUITS ON MPLS ") + emDash + QStringLiteral(" CUSTOMERS ") +
              QString(order.letters).replace('-', enDash);
    t.notes = {QStringLiteral("Channelised E1 on the MPLS edge routers") + dot +
               QStringLiteral("64 Kbps per time slot") + dot +
               QStringLiteral("WAN links are /30, our end shown")};
    t.columns = {{QStringLiteral("Interface"), 13, Qt::AlignLeft},
                 {QStringLiteral("Time slots"), 8, Qt::AlignCenter},
                 {QStringLiteral("Bandwidth"), 9, Qt::AlignRight},
                 {QStringLiteral("Customer name"), 28, Qt::AlignLeft},
                 {QStringLiteral("IP address"), 14, Qt::AlignLeft},
                 {QStringLiteral("Remarks"), 28, Qt::AlignLeft}};
    const int count = rowsThatFit(order.height, order.topInset, int(t.notes.size()));
    const auto [first, last] = letterRange(order.letters);

    std::vector<QString> customers;
    for (int i = 0; i < count; ++i) {
        QString name = inventedWord(dice, letterBetween(dice, first, last), firmEndings);
        name += QStringLiteral(" ") + QString::fromLatin1(dice.pick(firmKinds));
        if (dice.chance(25)) {
            name += QStringLiteral(" (") + place(dice) + QStringLiteral(")");
        }
        customers.push_back(name);
    }
    std::sort(customers.begin(), customers.end());

    for (const QString& customer : customers) {
        const SlotGroup& group = dice.pick(slotGroups);
        const int slot = dice.between(1, 6);
        const int card = dice.between(0, 3);
        const int e1 = dice.between(0, 3);
        const int channelGroup = dice.between(0, 1);
        const QString interface =
            QString::asprintf("Serial%d/%d/%d:%d", slot, card, e1, channelGroup);
        const int second = dice.between(160, 175);
        const int third = dice.below(256);
        const int network = dice.below(64) * 4;
        const QString address = QString::asprintf("10.%d.%d.%d/30", second, third, network + 1);
        const QString remark =
            dice.chance(45) ? QString() : QString::fromLatin1(dice.pick(leasedRemarks));
        t.rows.push_back({interface, QString::fromLatin1(group.timeSlots),
                          QString::number(group.count * 64) + QStringLiteral(" Kbps"), customer,
                          address, remark});
    }
    return t;
}

Table nodeDslams(Dice& dice, const SheetOrder& order) {
    Table t;
    const int node = dice.between(11, 99);
    const int subnet = dice.between(20, 59);
    t.title = order.subject + QStringLiteral(" ") + emDash + QStringLiteral(" CONNECTED DSLAMS");
    t.notes = {QStringLiteral("Aggregation node ") + order.subject + dot +
                   QString::asprintf("Loopback 10.255.0.%d", node) + dot +
                   QString::asprintf("Management 192.0.2.%d", node),
               QString::asprintf("Uplinks 198.51.100.%d/30 (core A) and 198.51.100.%d/30 "
                                 "(core B)",
                                 node * 2 % 64 * 4 + 1, (node * 2 + 1) % 64 * 4 + 1) +
                   dot + QString::asprintf("DSLAM management 10.%d.0.0/16", subnet)};
    t.columns = {{QStringLiteral("S.No"), 6, Qt::AlignRight},
                 {QStringLiteral("Site"), 19, Qt::AlignLeft},
                 {QStringLiteral("VLAN"), 8, Qt::AlignCenter},
                 {QStringLiteral("Interface"), 21, Qt::AlignLeft},
                 {QStringLiteral("IP address"), 16, Qt::AlignLeft},
                 {QStringLiteral("Vendor"), 14, Qt::AlignLeft},
                 {QStringLiteral("Commissioned"), 16, Qt::AlignCenter}};
    const int count = rowsThatFit(order.height, order.topInset, int(t.notes.size()));

    std::vector<DslamVlan> vlans = drawVlans(dice, count);
    std::sort(vlans.begin(), vlans.end(),
              [](const DslamVlan& a, const DslamVlan& b) { return a.vlan < b.vlan; });
    std::set<QString> interfacesUsed;
    int number = order.firstNumber;
    for (const DslamVlan& v : vlans) {
        QString interface;
        do {
            const int slot = dice.between(1, 4);
            const int port = dice.below(24);
            interface = QString::asprintf("GigabitEthernet%d/0/%d", slot, port);
        } while (!interfacesUsed.insert(interface).second);
        QString site = place(dice);
        if (dice.chance(15)) {
            site += QStringLiteral("-II");
        }
        // A braced list is evaluated in order, so the draws in it stay in order too.
        t.rows.push_back({QString::number(number++), site, QString::number(v.vlan), interface,
                          managementAddress(dice, subnet),
                          QString::fromLatin1(dice.pick(dslamVendors)), commissioned(dice)});
    }
    return t;
}

// Both roll-out lists are kept by site; the service list adds the port count to the site.
Table rollOutDslams(Dice& dice, const SheetOrder& order, bool withPorts) {
    Table t;
    t.title = order.subject;
    t.notes = {withPorts ? QStringLiteral("Port count after the site") + dot +
                               QStringLiteral("VLAN is the DSLAM VLAN on the aggregation node")
                         : QStringLiteral("VLAN is the DSLAM VLAN on the aggregation node") + dot +
                               QStringLiteral("Sites in order of name")};
    t.columns = {
        {QStringLiteral("S.No"), 8, Qt::AlignRight},
        {withPorts ? QStringLiteral("Site (ports)") : QStringLiteral("Site"), 32, Qt::AlignLeft},
        {QStringLiteral("Exch. code"), 16, Qt::AlignCenter},
        {QStringLiteral("IP address"), 24, Qt::AlignLeft},
        {QStringLiteral("DSLAM VLAN"), 20, Qt::AlignCenter}};
    const int count = rowsThatFit(order.height, order.topInset, int(t.notes.size()));

    const std::vector<DslamVlan> vlans = drawVlans(dice, count);
    std::vector<std::pair<QString, DslamVlan>> sites;
    for (const DslamVlan& v : vlans) {
        sites.emplace_back(place(dice), v);
    }
    std::sort(sites.begin(), sites.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    const int subnet = dice.between(60, 99);
    int number = order.firstNumber;
    for (const auto& [site, v] : sites) {
        const QString shown =
            withPorts ? site + QStringLiteral(" (") + portCount(dice, v) + QStringLiteral(")")
                      : site;
        t.rows.push_back({QString::number(number++), shown, exchangeCode(site),
                          managementAddress(dice, subnet), QString::number(v.vlan)});
    }
    return t;
}

Table ringSwitches(Dice& dice, const SheetOrder& order) {
    Table t;
    t.title =
        QStringLiteral("RING SWITCHES ") + emDash + QStringLiteral(" METRO ETHERNET ACCESS RINGS");
    t.notes = {QStringLiteral("The ring switches carry the DSLAM uplinks from the exchanges to "
                              "the aggregation nodes") +
               dot + QStringLiteral("Management 10.200.0.0/16")};
    t.columns = {{QStringLiteral("S.No"), 6, Qt::AlignRight},
                 {QStringLiteral("Equipment"), 20, Qt::AlignLeft},
                 {QStringLiteral("Exchange"), 20, Qt::AlignLeft},
                 {QStringLiteral("IP address"), 18, Qt::AlignLeft},
                 {QStringLiteral("Make"), 20, Qt::AlignLeft},
                 {QStringLiteral("Commissioned"), 16, Qt::AlignCenter}};
    const int count = rowsThatFit(order.height, order.topInset, int(t.notes.size()));

    std::vector<QString> exchanges;
    for (int i = 0; i < count; ++i) {
        exchanges.push_back(place(dice));
    }
    std::sort(exchanges.begin(), exchanges.end());
    int number = order.firstNumber;
    for (const QString& exchange : exchanges) {
        const int ring = dice.between(1, 9);
        t.rows.push_back({QString::number(number++),
                          QString::asprintf("RS-R%d-", ring) + exchangeCode(exchange), exchange,
                          QString::asprintf("10.200.%d.%d", ring, dice.between(2, 254)),
                          QString::fromLatin1(dice.pick(switchMakes)), commissioned(dice)});
    }
    return t;
}

} // namespace

Banner bannerFor(Content content) {
    switch (content) {
    case Content::TitleBanner:
        return {49,   QStringLiteral("BELTRIX"),
                26,   QStringLiteral("VLAN \u00b7 TAG BLOCK \u00b7 SLOT / PORT"),
                true, Motif::PortLamps};
    case Content::NetworkBanner:
        return {51,    QStringLiteral("BROADBAND ACCESS NETWORK"),
                15,    QStringLiteral("Provisioning \u00b7 Fault desk \u00b7 Line records"),
                false, Motif::None};
    case Content::CalculatorBanner:
    default:
        return {45,    QStringLiteral("VLAN \u00b7 TAG BLOCK \u00b7 SLOT / PORT CALCULATOR"),
                17,    QString(),
                false, Motif::Shelf};
    }
}

Table makeSheet(const SheetOrder& order) {
    Dice dice = Dice::forName(order.seedName.toStdString());
    switch (order.content) {
    case Content::Landline:
        return landline(dice, order);
    case Content::Mobile:
        return mobile(dice, order);
    case Content::LeasedCircuits:
        return leasedCircuits(dice, order);
    case Content::NodeDslams:
        return nodeDslams(dice, order);
    case Content::ServiceDslams:
        return rollOutDslams(dice, order, true);
    case Content::ProjectDslams:
        return rollOutDslams(dice, order, false);
    case Content::RingSwitches:
        return ringSwitches(dice, order);
    default:
        return {};
    }
}

} // namespace beltrix::assetgen
