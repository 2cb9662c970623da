#include "ui/sheet_window.h"

#include "ui/picture_box.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QStyle>

namespace beltrix::ui {

// clang-format off
const std::array<SheetSpec, 17> sheetSpecs = {{
    {"Form11", "Command1",  {304, 202}, false, std::nullopt,              std::nullopt,
     "Landline telephone list of the officers, A to M: designation or section, name, office and residence numbers"},
    {"Form12", "Command7",  {304, 202}, false, std::nullopt,              std::nullopt,
     "Landline telephone list of the officers, M to S: designation or section, name, office and residence numbers"},
    {"Form13", "Command8",  {304, 202}, false, std::nullopt,              std::nullopt,
     "Landline telephone list of the officers, S to Z: designation or section, name, office and residence numbers"},
    {"Form2",  "Command2",  {304, 202}, false, QRect(120, 24, 601, 505),  std::nullopt,
     "Mobile telephone list of the officers, A to J: number, designation, section and mobile number"},
    {"Form8",  "Command3",  {304, 202}, true,  std::nullopt,              std::nullopt,
     "Mobile telephone list of the officers, J to M: number, designation, section and mobile number"},
    {"Form9",  "Command4",  {304, 202}, true,  std::nullopt,              std::nullopt,
     "Mobile telephone list of the officers, N to R: number, designation, section and mobile number"},
    {"Form10", "Command5",  {304, 202}, false, std::nullopt,              std::nullopt,
     "Mobile telephone list of the officers, S to Z: number, designation, section and mobile number"},
    {"Form14", "Command10", {304, 202}, true,  QRect(0, 48, 1089, 593),   QRect(40, 16, 17, 1),
     "Leased-circuit (MPLS) customers A to C: interface, time slots, bandwidth, customer name, IP address and remarks"},
    {"Form15", "Command11", {304, 202}, false, QRect(0, 40, 1081, 601),   std::nullopt,
     "Leased-circuit (MPLS) customers C to H: interface, time slots, bandwidth, customer name, IP address and remarks"},
    {"Form16", "Command12", {304, 202}, false, QRect(0, 16, 1081, 609),   std::nullopt,
     "Leased-circuit (MPLS) customers H to M: interface, time slots, bandwidth, customer name, IP address and remarks"},
    {"Form17", "Command14", {304, 202}, false, QRect(0, 40, 1105, 721),   std::nullopt,
     "Leased-circuit (MPLS) customers M to S: interface, time slots, bandwidth, customer name, IP address and remarks"},
    {"Form18", "Command15", {304, 202}, false, QRect(0, 112, 1073, 481),  std::nullopt,
     "Leased-circuit (MPLS) customers S to Z: interface, time slots, bandwidth, customer name, IP address and remarks"},
    {"Form3",  "Command22", {304, 202}, false, QRect(80, -16, 881, 753),  std::nullopt,
     "DSLAMs connected to the aggregation node VELORA-P2: site, VLAN, interface, IP address, vendor and commissioning date"},
    {"Form19", "Command23", {670, 452}, false, QRect(48, 40, 873, 489),   std::nullopt,
     "DSLAMs connected to the aggregation node RASK-P2: site, VLAN, interface, IP address, vendor and commissioning date"},
    {"Form4",  "Command25", {304, 202}, false, QRect(208, 112, 577, 513), std::nullopt,
     "Numbered list of the MP DSLAMs: site with its port count, exchange code, IP address and DSLAM VLAN"},
    {"Form5",  "Command26", {304, 202}, false, QRect(232, 64, 617, 641),  std::nullopt,
     "Numbered list of the 3M project DSLAMs: site, exchange code, IP address and DSLAM VLAN"},
    {"Form6",  "Command27", {304, 202}, false, std::nullopt,              QRect(48, 32, 41, 9),
     "Ring switches: equipment, exchange, IP address, make and commissioning date"},
}};
// clang-format on

namespace {

QPixmap pictureOf(const SheetSpec& spec) {
    return loadPicture(QStringLiteral(":/sheets/%1.png").arg(QLatin1String(spec.name)));
}

} // namespace

SheetWindow::SheetWindow(const SheetSpec& spec) {
    const QString name = QString::fromLatin1(spec.name);
    setObjectName(name);
    setWindowTitle(name);
    setAttribute(Qt::WA_DeleteOnClose);
    setBackgroundRole(QPalette::Button);
    setAutoFillBackground(true);
    resize(spec.clientSize);

    const QPixmap picture = pictureOf(spec);
    if (spec.box) {
        auto* box = new PictureBox(picture, this);
        box->setObjectName(name + QStringLiteral("Picture"));
        box->setAccessibleName(name);
        box->setGeometry(*spec.box);
    } else {
        background_ = picture;
    }
    setAccessibleDescription(QString::fromUtf8(spec.description.data(),
                                               static_cast<qsizetype>(spec.description.size())));
    if (spec.smallBox) {
        auto* small = new PictureBox(picture, this);
        small->setObjectName(name + QStringLiteral("SmallPicture"));
        small->setGeometry(*spec.smallBox);
    }

    if (spec.centred) {
        QScreen* screen = QGuiApplication::primaryScreen();
        setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, spec.clientSize,
                                        screen->availableGeometry()));
    }
}

void SheetWindow::paintEvent(QPaintEvent*) {
    if (!background_.isNull()) {
        QPainter(this).drawPixmap(0, 0, background_);
    }
}

void Sheets::show(std::size_t index) {
    SheetWindow* window = windows_[index];
    // A closed sheet is only waiting to be deleted; it is never shown again.
    if (window == nullptr || window->isHidden()) {
        window = new SheetWindow(sheetSpecs[index]);
        windows_[index] = window;
        window->show();
    } else if (window->isMinimized()) {
        window->showNormal();
    }
    window->raise();
    window->activateWindow();
}

} // namespace beltrix::ui
