#pragma once

#include "core/shown_texts.h"

#include <array>

namespace pokorin {

// A control of the main window as designed: its caption, its place in twips
// in the client area, and its font in the design face (buttons of regular
// weight, labels bold).
struct ControlDesign {
    const char *caption;
    double left, top, width, height;
    double pointSize;
    bool bold;
};

inline constexpr ControlDesign kStartDesign{kStartButton, 8040, 7440, 1500, 375, 12, false};
inline constexpr ControlDesign kStopDesign{kStopButton, 6360, 7440, 1500, 375, 12, false};
inline constexpr ControlDesign kQuitDesign{kQuitButton, 0, 0, 975, 375, 11.25, false};
inline constexpr ControlDesign kInitialiseDesign{
    kInitialiseButton, 8880, 0, 975, 375, 11.25, false};
inline constexpr ControlDesign kHelpDesign{kHelpButton, 7920, 0, 975, 375, 11.25, false};
inline constexpr ControlDesign kTitleDesign{kTitle, 2520, 0, 4935, 375, 15.75, true};
inline constexpr ControlDesign kDropCounterCaptionDesign{
    kDropCounterCaption, 720, 7440, 1455, 375, 14.25, true};
inline constexpr ControlDesign kDropCounterDesign{"", 2160, 7440, 1215, 375, 14.25, true};
inline constexpr ControlDesign kFallSpeedCaptionDesign{
    kFallSpeedCaption, 4080, 7440, 1095, 255, 11.25, true};
// The design leaves the field's font to the system, whose default face may
// have no glyphs at all (Wine's has none): the design face at 9 points.
inline constexpr ControlDesign kFallSpeedFieldDesign{"", 5160, 7440, 495, 270, 9, false};

// Every control that shows a text in the design face.
inline constexpr std::array kTextControlDesigns{
    &kStartDesign,
    &kStopDesign,
    &kQuitDesign,
    &kInitialiseDesign,
    &kHelpDesign,
    &kTitleDesign,
    &kDropCounterCaptionDesign,
    &kDropCounterDesign,
    &kFallSpeedCaptionDesign,
    &kFallSpeedFieldDesign,
};

} // namespace pokorin
