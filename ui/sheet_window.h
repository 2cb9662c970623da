#pragma once

// The reference sheets: seventeen read-only windows, each showing one stored picture of a table
// the operators look things up in. A sheet's picture is loaded when its window opens and freed
// when the window closes.

#include <QPointer>
#include <QRect>
#include <QSize>
#include <QWidget>

#include <array>
#include <optional>
#include <string_view>

namespace beltrix::ui {

struct SheetSpec {
    std::string_view name;   // the window's name and title, as "Form11"; names its picture
    std::string_view button; // the button of the main window that opens it
    QSize clientSize;        // at opening
    bool centred;            // otherwise the window system places it
    // The picture box, or none when the picture is the window's background.
    std::optional<QRect> box;
    // A second, tiny box showing the same picture.
    std::optional<QRect> smallBox;
    // What the picture shows, for screen readers.
    std::string_view description;
};

extern const std::array<SheetSpec, 17> sheetSpecs;

class SheetWindow : public QWidget {
public:
    explicit SheetWindow(const SheetSpec& spec);

    // The picture drawn as the window's background; null when it stands in a picture box.
    const QPixmap& backgroundPicture() const { return background_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap background_; // null when the picture stands in a box
};

// At most one window per sheet. Showing a sheet creates its window, or brings the open one to the
// front. The windows have no owner: they outlive whoever showed them.
class Sheets {
public:
    void show(std::size_t index);
    SheetWindow* window(std::size_t index) const { return windows_[index]; }

private:
    std::array<QPointer<SheetWindow>, sheetSpecs.size()> windows_;
};

} // namespace beltrix::ui
