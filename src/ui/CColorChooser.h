#pragma once
// The colour chooser behind the colour pages of the preferences. Colours are stored values:
// red in the lowest byte, then green, then blue (0x00BBGGRR).

#include <optional>

namespace orv {

class CColorChooser {
public:
    virtual ~CColorChooser() = default;
    // Shows the chooser preset to `initial`; nothing when the user cancels.
    virtual std::optional<int> chooseColor(int initial) = 0;
};

} // namespace orv
