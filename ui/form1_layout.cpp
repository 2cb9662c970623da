#include "ui/form1_layout.h"

namespace beltrix::ui {

// clang-format off
const std::array<ControlSpec, 55> form1Controls = {{
    {"Label4", Kind::Label, Parent::Window, {0, 0, 217, 17}, "", Colour::WindowColour, Colour::SystemButtonText, true, 50, {}},
    {"Picture1", Kind::PictureBox, Parent::Window, {176, 8, 409, 49}, ":/banners/Picture1", Colour::System, Colour::System, false, 26, {}},
    {"Picture2", Kind::PictureBox, Parent::Window, {584, 8, 297, 49}, ":/banners/Picture2", Colour::System, Colour::System, false, 27, {}},
    {"Picture3", Kind::PictureBox, Parent::Window, {176, 56, 705, 49}, ":/banners/Picture3", Colour::System, Colour::System, false, 38, {}},
    {"Command16", Kind::PushButton, Parent::Window, {16, 136, 337, 25}, "REVERSE CALCULATE FROM SLOT AND PORT", Colour::System, Colour::System, false, 45, Button::Command16},
    {"Command6", Kind::PushButton, Parent::Window, {16, 168, 105, 25}, "CONVERT VLAN", Colour::System, Colour::System, false, 5, Button::Command6},
    {"Label9", Kind::Label, Parent::Window, {128, 168, 121, 17}, "FOR 48  PORT ", Colour::WindowColour, Colour::SystemButtonText, true, 6, {}},
    {"Command24", Kind::PushButton, Parent::Window, {240, 168, 113, 25}, "CONVERT TAG BLK", Colour::System, Colour::System, false, 14, Button::Command24},
    {"Label1", Kind::Label, Parent::Window, {24, 208, 121, 33}, "ENTER VLAN  OR", Colour::WindowColour, Colour::SystemWindowFrame, false, 3, {}},
    {"Text2", Kind::TextField, Parent::Window, {128, 200, 129, 25}, " ", Colour::White, Colour::SystemWindowText, false, 0, {}},
    {"Label5", Kind::Label, Parent::Window, {24, 240, 89, 17}, "TAG BLOCK NO", Colour::WindowColour, Colour::SystemButtonText, false, 13, {}},
    {"Text12", Kind::TextField, Parent::Window, {128, 232, 129, 25}, "", Colour::White, Colour::SystemWindowText, false, 12, {}},
    {"Label3", Kind::Label, Parent::Window, {8, 280, 121, 17}, "     SLOT/PORT", Colour::WindowColour, Colour::SystemWindowFrame, false, 4, {}},
    {"Text4", Kind::TextField, Parent::Window, {128, 272, 57, 25}, " ", Colour::White, Colour::SystemWindowText, false, 1, {}},
    {"Text5", Kind::TextField, Parent::Window, {200, 272, 57, 25}, " ", Colour::White, Colour::SystemWindowText, false, 2, {}},
    {"Command20", Kind::PushButton, Parent::Window, {16, 304, 337, 25}, "CLEAR", Colour::System, Colour::System, false, 9, Button::Command20},
    {"Label10", Kind::Label, Parent::Window, {182, 320, 7, 16}, "", Colour::WindowColour, Colour::SystemButtonText, true, 7, {}},
    {"Frame2", Kind::Frame, Parent::Window, {16, 336, 337, 137}, "                UNIVERSAL CALCULATOR ", Colour::WindowColour, Colour::SystemButtonText, true, 8, {}},
    {"Command21", Kind::PushButton, Parent::Frame2, {0, 24, 337, 29}, "REVERSE CALCULATE FROM SLOT AND PORT", Colour::System, Colour::System, false, 48, Button::Command21},
    {"Command13", Kind::PushButton, Parent::Frame2, {0, 64, 105, 33}, "CONVERT VLAN", Colour::System, Colour::System, false, 10, Button::Command13},
    {"Label2", Kind::Label, Parent::Frame2, {112, 72, 169, 25}, "FOR  24  PORT", Colour::WindowColour, Colour::SystemButtonText, true, 49, {}},
    {"Command18", Kind::PushButton, Parent::Frame2, {224, 64, 113, 29}, "CONVERT TAG BLK", Colour::System, Colour::System, false, 47, Button::Command18},
    {"Label8", Kind::Label, Parent::Frame2, {8, 112, 105, 17}, "VLAN MINUS 127", Colour::WindowColour, Colour::SystemButtonText, false, 52, {}},
    {"Text3", Kind::TextField, Parent::Frame2, {224, 104, 105, 25}, "", Colour::SystemWindowBackground, Colour::SystemWindowText, false, 51, {}},
    {"Command8", Kind::PushButton, Parent::Window, {408, 224, 145, 33}, "OFFICERS LL S-Z", Colour::System, Colour::System, false, 25, Sheet::Form13},
    {"Command1", Kind::PushButton, Parent::Window, {568, 224, 145, 33}, "OFFICERS LL A-M", Colour::System, Colour::System, false, 19, Sheet::Form11},
    {"Command7", Kind::PushButton, Parent::Window, {408, 272, 145, 33}, "OFFICERS LL M-S", Colour::System, Colour::System, false, 24, Sheet::Form12},
    {"Command5", Kind::PushButton, Parent::Window, {568, 272, 145, 33}, "OFFICERS MOBILE  S-Z", Colour::System, Colour::System, false, 23, Sheet::Form10},
    {"Command4", Kind::PushButton, Parent::Window, {408, 328, 145, 33}, "OFFICERS MOBILE  N - R", Colour::System, Colour::System, false, 22, Sheet::Form9},
    {"Command3", Kind::PushButton, Parent::Window, {568, 328, 145, 33}, "OFFICERS MOBILE  J-M", Colour::System, Colour::System, false, 21, Sheet::Form8},
    {"Command2", Kind::PushButton, Parent::Window, {408, 376, 305, 33}, "OFFICERS MOBILE A - J", Colour::System, Colour::System, false, 20, Sheet::Form2},
    {"Label6", Kind::Label, Parent::Window, {800, 144, 217, 17}, "VLAN BASED CALCULATOR", Colour::WindowColour, Colour::SystemButtonText, true, 44, {}},
    {"Label15", Kind::Label, Parent::Window, {808, 168, 193, 25}, "ENTER   THE FOLLOWING   FEILD", Colour::WindowColour, Colour::SystemWindowText, false, 37, {}},
    {"Label7", Kind::Label, Parent::Window, {824, 192, 73, 33}, "DSLAM VLAN ", Colour::WindowColour, Colour::SystemWindowText, false, 36, {}},
    {"Label12", Kind::Label, Parent::Window, {904, 192, 81, 17}, " INNER VLAN", Colour::WindowColour, Colour::SystemWindowText, false, 33, {}},
    {"Text1", Kind::TextField, Parent::Window, {824, 208, 73, 35}, "", Colour::SystemWindowBackground, Colour::SystemWindowText, false, 28, {}},
    {"Text6", Kind::TextField, Parent::Window, {912, 208, 73, 35}, "", Colour::SystemWindowBackground, Colour::SystemWindowText, false, 29, {}},
    {"Label14", Kind::Label, Parent::Window, {824, 256, 161, 25}, "      CALCULATED OUTPUT", Colour::WindowColour, Colour::SystemButtonText, false, 35, {}},
    {"Text7", Kind::TextField, Parent::Window, {912, 272, 73, 25}, "", Colour::SystemWindowBackground, Colour::SystemWindowText, false, 53, {}},
    {"Label11", Kind::Label, Parent::Window, {824, 280, 81, 25}, "TAG BLOCK NO", Colour::WindowColour, Colour::SystemButtonText, false, 54, {}},
    {"Label13", Kind::Label, Parent::Window, {832, 304, 161, 17}, "        SLOT            PORT", Colour::WindowColour, Colour::SystemButtonText, false, 34, {}},
    {"Text11", Kind::TextField, Parent::Window, {824, 320, 73, 33}, "", Colour::SystemWindowBackground, Colour::SystemWindowText, false, 30, {}},
    {"Text13", Kind::TextField, Parent::Window, {912, 320, 73, 33}, "", Colour::SystemWindowBackground, Colour::SystemWindowText, false, 31, {}},
    {"Command17", Kind::PushButton, Parent::Window, {824, 360, 161, 21}, "CLEAR", Colour::System, Colour::System, false, 46, Button::Command17},
    {"Command9", Kind::PushButton, Parent::Window, {824, 392, 161, 33}, "CALCULATE BASED ON DSLAM VLAN ", Colour::System, Colour::System, false, 32, Button::Command9},
    {"Command23", Kind::PushButton, Parent::Window, {16, 496, 145, 33}, "RASK-P2 CONNECTED DSLAMS", Colour::System, Colour::System, false, 11, Sheet::Form19},
    {"Command22", Kind::PushButton, Parent::Window, {216, 496, 145, 33}, "VELORA-P2 CONNECTED DSLAMS", Colour::System, Colour::System, false, 15, Sheet::Form3},
    {"Command25", Kind::PushButton, Parent::Window, {424, 496, 137, 33}, "MP DSLAMS", Colour::System, Colour::System, false, 16, Sheet::Form4},
    {"Command26", Kind::PushButton, Parent::Window, {640, 496, 137, 33}, "3M DSLAMS", Colour::System, Colour::System, false, 17, Sheet::Form5},
    {"Command27", Kind::PushButton, Parent::Window, {832, 496, 145, 33}, "OTHERS", Colour::System, Colour::System, false, 18, Sheet::Form6},
    {"Command10", Kind::PushButton, Parent::Window, {16, 536, 145, 33}, "MPLS A-C", Colour::System, Colour::System, false, 39, Sheet::Form14},
    {"Command11", Kind::PushButton, Parent::Window, {216, 536, 145, 33}, "MPLS C-H", Colour::System, Colour::System, false, 40, Sheet::Form15},
    {"Command12", Kind::PushButton, Parent::Window, {424, 536, 137, 33}, "MPLS  H-M", Colour::System, Colour::System, false, 41, Sheet::Form16},
    {"Command14", Kind::PushButton, Parent::Window, {640, 536, 137, 33}, "MPLS M -S", Colour::System, Colour::System, false, 42, Sheet::Form17},
    {"Command15", Kind::PushButton, Parent::Window, {832, 536, 145, 33}, "MPLS S-Z", Colour::System, Colour::System, false, 43, Sheet::Form18},
}};
// clang-format on

std::string_view buttonShowing(Sheet sheet) {
    for (const ControlSpec& spec : form1Controls) {
        if (const Sheet* shown = std::get_if<Sheet>(&spec.action); shown && *shown == sheet) {
            return spec.name;
        }
    }
    return {};
}

} // namespace beltrix::ui
