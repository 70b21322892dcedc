#pragma once
// Whether a text stays readable on a colour: relative luminance and contrast ratio as WCAG 2.1
// defines them. The box colours are the user's; where the text colour on one of them falls
// below 4.5:1, the text is drawn in black or white, whichever stands out more. The main view,
// the day and month overviews and their print-outs share this rule.
//
// Colours are 8-bit sRGB components; stored colours (0x00BBGGRR) convert with fromStored().

namespace orv {

struct CRgb {
    int red = 0;
    int green = 0;
    int blue = 0;
    bool operator==(const CRgb&) const = default;
};

class CContrast {
public:
    // Text of normal size needs at least this ratio against its background.
    static constexpr double kMinimumTextRatio = 4.5;
    // A mark that is not text (a bar, a frame) needs at least this one.
    static constexpr double kMinimumMarkRatio = 3.0;
    static constexpr CRgb kBlack{0, 0, 0};
    static constexpr CRgb kWhite{255, 255, 255};

    static CRgb fromStored(int stored);
    // 0 for black to 1 for white.
    static double relativeLuminance(const CRgb& colour);
    // From 1:1 (the same luminance) to 21:1 (black on white); the order does not matter.
    static double ratio(const CRgb& a, const CRgb& b);
    // `preferred` when it reaches kMinimumTextRatio on `background`, else black or white,
    // whichever gives the higher ratio.
    static CRgb readableText(const CRgb& background, const CRgb& preferred);
};

} // namespace orv
