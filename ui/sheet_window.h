#pragma once

// The reference sheets: seventeen read-only windows, each showing one stored picture of a table
// the operators look things up in. A sheet's picture is loaded when its window opens and freed
// when the window closes. A sheet opens small, on the top-left corner of its picture; the rest is
// brought into view with the scroll bars, the mouse wheel or the keys.

#include "ui/sheet.h"

#include <QPointer>
#include <QRect>
#include <QSize>
#include <QWidget>

#include <array>
#include <optional>
#include <string_view>

class QScrollArea;

namespace beltrix::ui {

struct SheetSpec {
    Sheet sheet;
    std::string_view name; // the window's name and title, as "Form11"; names its picture
    QSize clientSize;      // at opening
    bool centred;          // otherwise the window system places it
    // The picture box, or none when the picture is the window's background. A box smaller than
    // its picture grows to show all of it.
    std::optional<QRect> box;
    // A second, tiny box showing the same picture.
    std::optional<QRect> smallBox;
    // What the picture shows, for screen readers.
    std::string_view description;
};

// In the order of the Sheet enumeration: sheetSpecs[i].sheet is Sheet(i).
extern const std::array<SheetSpec, sheetCount> sheetSpecs;

inline const SheetSpec& sheetSpec(Sheet sheet) {
    return sheetSpecs[static_cast<std::size_t>(sheet)];
}

class SheetPage;

// The window's client area is one frameless view onto the sheet's page. The page holds the whole
// sheet at natural size: the background picture or the picture boxes, where the table puts them.
// Scroll bars come up only while part of the page is out of view.
class SheetWindow : public QWidget {
    Q_OBJECT

public:
    explicit SheetWindow(const SheetSpec& spec);

    // The picture drawn as the window's background; null when it stands in a picture box.
    const QPixmap& backgroundPicture() const;

    QScrollArea* view() const { return view_; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QScrollArea* view_;
    SheetPage* page_;
};

// At most one window per sheet. Showing a sheet creates its window, or brings the open one to the
// front. The windows have no owner: they outlive whoever showed them.
class Sheets {
public:
    void show(Sheet sheet);
    void show(std::size_t index) { show(static_cast<Sheet>(index)); }
    SheetWindow* window(std::size_t index) const { return windows_[index]; }

private:
    std::array<QPointer<SheetWindow>, sheetSpecs.size()> windows_;
};

} // namespace beltrix::ui
