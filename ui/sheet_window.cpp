#include "ui/sheet_window.h"

#include "ui/picture_box.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>

#include <algorithm>

namespace beltrix::ui {

// clang-format off
const std::array<SheetSpec, sheetCount> sheetSpecs = {{
    {Sheet::Form11, "Form11", {304, 202}, false, std::nullopt,              std::nullopt,
     "Landline telephone list of the officers, A to M: designation or section, name, office and residence numbers"},
    {Sheet::Form12, "Form12", {304, 202}, false, std::nullopt,              std::nullopt,
     "Landline telephone list of the officers, M to S: designation or section, name, office and residence numbers"},
    {Sheet::Form13, "Form13", {304, 202}, false, std::nullopt,              std::nullopt,
     "Landline telephone list of the officers, S to Z: designation or section, name, office and residence numbers"},
    {Sheet::Form2, "Form2", {304, 202}, false, QRect(120, 24, 601, 505),  std::nullopt,
     "Mobile telephone list of the officers, A to J: number, designation, section and mobile number"},
    {Sheet::Form8, "Form8", {304, 202}, true,  std::nullopt,              std::nullopt,
     "Mobile telephone list of the officers, J to M: number, designation, section and mobile number"},
    {Sheet::Form9, "Form9", {304, 202}, true,  std::nullopt,              std::nullopt,
     "Mobile telephone list of the officers, N to R: number, designation, section and mobile number"},
    {Sheet::Form10, "Form10", {304, 202}, false, std::nullopt,              std::nullopt,
     "Mobile telephone list of the officers, S to Z: number, designation, section and mobile number"},
    {Sheet::Form14, "Form14", {304, 202}, true,  QRect(0, 48, 1089, 593),   QRect(40, 16, 17, 1),
     "Leased-circuit (MPLS) customers A to C: interface, time slots, bandwidth, customer name, IP address and remarks"},
    {Sheet::Form15, "Form15", {304, 202}, false, QRect(0, 40, 1081, 601),   std::nullopt,
     "Leased-circuit (MPLS) customers C to H: interface, time slots, bandwidth, customer name, IP address and remarks"},
    {Sheet::Form16, "Form16", {304, 202}, false, QRect(0, 16, 1081, 609),   std::nullopt,
     "Leased-circuit (MPLS) customers H to M: interface, time slots, bandwidth, customer name, IP address and remarks"},
    {Sheet::Form17, "Form17", {304, 202}, false, QRect(0, 40, 1105, 721),   std::nullopt,
     "Leased-circuit (MPLS) customers M to S: interface, time slots, bandwidth, customer name, IP address and remarks"},
    {Sheet::Form18, "Form18", {304, 202}, false, QRect(0, 112, 1073, 481),  std::nullopt,
     "Leased-circuit (MPLS) customers S to Z: interface, time slots, bandwidth, customer name, IP address and remarks"},
    {Sheet::Form3, "Form3", {304, 202}, false, QRect(80, -16, 881, 753),  std::nullopt,
     "DSLAMs connected to the aggregation node VELORA-P2: site, VLAN, interface, IP address, vendor and commissioning date"},
    {Sheet::Form19, "Form19", {670, 452}, false, QRect(48, 40, 873, 489),   std::nullopt,
     "DSLAMs connected to the aggregation node RASK-P2: site, VLAN, interface, IP address, vendor and commissioning date"},
    {Sheet::Form4, "Form4", {304, 202}, false, QRect(208, 112, 577, 513), std::nullopt,
     "Numbered list of the MP DSLAMs: site with its port count, exchange code, IP address and DSLAM VLAN"},
    {Sheet::Form5, "Form5", {304, 202}, false, QRect(232, 64, 617, 641),  std::nullopt,
     "Numbered list of the 3M project DSLAMs: site, exchange code, IP address and DSLAM VLAN"},
    {Sheet::Form6, "Form6", {304, 202}, false, std::nullopt,              QRect(48, 32, 41, 9),
     "Ring switches: equipment, exchange, IP address, make and commissioning date"},
}};
// clang-format on

namespace {

QPixmap pictureOf(const SheetSpec& spec) {
    return loadPicture(QStringLiteral(":/sheets/%1.png").arg(QLatin1String(spec.name)));
}

// A picture box smaller than its picture grows until it shows all of it, its corner where the
// table puts it; a box already large enough keeps its size.
QRect grownToShow(const QRect& box, const QSize& picture) {
    const int edges = 2 * PictureBox::border;
    return QRect(box.topLeft(), box.size().expandedTo(picture + QSize(edges, edges)));
}

// The scrolling view. Besides the arrows and Page Up/Page Down it takes Home and End to the top
// and the bottom of the sheet. The keys reach it from the picture boxes too, which leave them.
class SheetView : public QScrollArea {
public:
    explicit SheetView(QWidget* parent) : QScrollArea(parent) {}

protected:
    void keyPressEvent(QKeyEvent* event) override {
        if (event->key() == Qt::Key_Home) {
            verticalScrollBar()->triggerAction(QAbstractSlider::SliderToMinimum);
        } else if (event->key() == Qt::Key_End) {
            verticalScrollBar()->triggerAction(QAbstractSlider::SliderToMaximum);
        } else {
            QScrollArea::keyPressEvent(event);
        }
    }

    // Tab moves the focus between the view and the boxes, which show no sign of it. QScrollArea
    // would also scroll to centre a box that has the focus; the sheet stays where the user put it.
    bool focusNextPrevChild(bool next) override { return QWidget::focusNextPrevChild(next); }
};

} // namespace

// The whole sheet at natural size. Its top-left corner is the window's top-left corner at opening,
// or further up and left where a box reaches beyond it.
class SheetPage : public QWidget {
public:
    SheetPage(const QPixmap& background, QPoint windowCorner)
        : background_(background), windowCorner_(windowCorner) {}

    const QPixmap& background() const { return background_; }

protected:
    void paintEvent(QPaintEvent*) override {
        if (!background_.isNull()) {
            QPainter(this).drawPixmap(windowCorner_, background_);
        }
    }

private:
    QPixmap background_;  // null when the picture stands in a box
    QPoint windowCorner_; // where the window's top-left corner lies on the page at opening
};

SheetWindow::SheetWindow(const SheetSpec& spec) {
    const QString name = QString::fromLatin1(spec.name);
    setObjectName(name);
    setWindowTitle(name);
    setAttribute(Qt::WA_DeleteOnClose);
    setBackgroundRole(QPalette::Button);
    setAutoFillBackground(true);
    resize(spec.clientSize);
    setAccessibleDescription(QString::fromUtf8(spec.description));

    // Where everything lies, in the window's coordinates at opening. The small second boxes keep
    // their size: grown, they would lay a second copy of the sheet over the first.
    const QPixmap picture = pictureOf(spec);
    const std::optional<QRect> box =
        spec.box ? std::optional(grownToShow(*spec.box, picture.size())) : std::nullopt;
    QRect extent = box ? *box : QRect(QPoint(0, 0), picture.size());
    if (spec.smallBox) {
        extent |= *spec.smallBox;
    }
    const QPoint pageCorner(std::min(0, extent.left()), std::min(0, extent.top()));
    const QPoint windowCorner = -pageCorner; // on the page

    page_ = new SheetPage(box ? QPixmap() : picture, windowCorner);
    page_->resize(extent.right() + 1 - pageCorner.x(), extent.bottom() + 1 - pageCorner.y());
    if (box) {
        auto* shown = new PictureBox(picture, page_);
        shown->setObjectName(name + QStringLiteral("Picture"));
        shown->setAccessibleName(name);
        shown->setGeometry(box->translated(windowCorner));
    }
    if (spec.smallBox) {
        auto* small = new PictureBox(picture, page_);
        small->setObjectName(name + QStringLiteral("SmallPicture"));
        small->setGeometry(spec.smallBox->translated(windowCorner));
    }

    view_ = new SheetView(this);
    view_->setFrameShape(QFrame::NoFrame);
    view_->setGeometry(rect());
    view_->setWidget(page_);
    // The sheet opens on the window's corner, even where the page reaches further up or left.
    view_->horizontalScrollBar()->setValue(windowCorner.x());
    view_->verticalScrollBar()->setValue(windowCorner.y());
    // The keys scroll from the start, without a click in the sheet first.
    view_->setFocus();

    if (spec.centred) {
        QScreen* screen = QGuiApplication::primaryScreen();
        setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, spec.clientSize,
                                        screen->availableGeometry()));
    }
}

const QPixmap& SheetWindow::backgroundPicture() const {
    return page_->background();
}

void SheetWindow::resizeEvent(QResizeEvent*) {
    view_->setGeometry(rect());
}

void Sheets::show(Sheet sheet) {
    const auto index = static_cast<std::size_t>(sheet);
    SheetWindow* window = windows_[index];
    // A closed sheet is only waiting to be deleted; it is never shown again.
    if (window == nullptr || window->isHidden()) {
        window = new SheetWindow(sheetSpec(sheet));
        windows_[index] = window;
        window->show();
    } else if (window->isMinimized()) {
        window->showNormal();
    }
    window->raise();
    window->activateWindow();
}

} // namespace beltrix::ui
