#pragma once

// The program's window as data: the form, its five controls in creation order, and the label's
// colours and font. Positions and sizes are in twips (15 to a pixel at 96 dots per inch).

#include "logic/Texts.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace qzds {

struct ControlLayout {
    const char* name;
    std::u16string_view caption; // "&" marks a button's access key
    int left;
    int top;
    int width;
    int height;
    int tabIndex;
};

struct FormLayout {
    std::u16string_view caption;
    int clientWidth;
    int clientHeight;
    // The controls, in the order the window creates them.
    ControlLayout CmdExit;
    ControlLayout CmdMax;
    ControlLayout CmdWelcome;
    ControlLayout CmdTime;
    ControlLayout Label1;
};

inline constexpr FormLayout Form1Layout = {
    text::WindowCaption,
    4680,
    3195,
    {"CmdExit", text::ExitCaption, 2520, 2400, 1455, 495, 4},
    {"CmdMax", text::MaxCaption, 840, 2400, 1455, 495, 3},
    {"CmdWelcome", text::WelcomeCaption, 840, 1560, 1455, 495, 1},
    // 7 twips left of the button below: at 15 twips a pixel, the same pixel column.
    {"CmdTime", text::TimeCaption, 2513, 1560, 1455, 495, 0},
    // The design caption; the load handler replaces it before the window first shows.
    {"Label1", text::GreetingPrefix, 960, 480, 2775, 855, 2},
};

// Colours as &H00BBGGRR: blue in the high byte, red in the low byte.
struct LabelStyle {
    std::uint32_t backColor;
    std::uint32_t foreColor;
    std::u16string_view fontName;
    // Where the Chinese Kai face is not installed under its Windows name, these are tried in turn.
    std::array<std::u16string_view, 3> fontSubstitutes;
    int pointSize;
    int weight;
};

inline constexpr LabelStyle Label1Style = {
    0x00008000, // dark green
    0x0000FFFF, // yellow
    u"楷体_GB2312", {u"KaiTi", u"AR PL UKai CN", u"AR PL KaitiM GB"}, 12, 700,
};

inline constexpr int TwipsPerPixel = 15;

// Twips to logical pixels, to the nearest pixel; Qt scales logical pixels for high DPI.
constexpr int TwipsToPixels(int twips) {
    return (twips + TwipsPerPixel / 2) / TwipsPerPixel;
}

} // namespace qzds
