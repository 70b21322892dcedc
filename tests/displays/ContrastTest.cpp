// The contrast rule: which text colour stays readable on a box colour, by the relative luminance
// and contrast ratio of WCAG 2.1, on the default colours and on those of a dark palette.
#include "displays/CContrast.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

TEST(Contrast, RatiosAreThoseOfTheReferenceColours) {
    struct Case {
        CRgb a, b;
        double ratio;
    };
    const Case cases[] = {
        {CContrast::kBlack, CContrast::kWhite, 21.0},
        {CContrast::kWhite, CContrast::kBlack, 21.0},
        {{128, 128, 128}, {128, 128, 128}, 1.0},
        {{255, 0, 0}, CContrast::kWhite, 4.00}, // pure red: too faint for white text
        {{0, 0, 255}, CContrast::kWhite, 8.59},
        {{119, 119, 119}, CContrast::kWhite, 4.48}, // the grey just under the line
        {{118, 118, 118}, CContrast::kWhite, 4.54}, // and just over it
    };
    for (const Case& c : cases)
        EXPECT_NEAR(CContrast::ratio(c.a, c.b), c.ratio, 0.01)
            << c.a.red << "," << c.a.green << "," << c.a.blue;
}

TEST(Contrast, TheTextColourChangesOnlyWhereItIsTooFaint) {
    struct Case {
        const char* what;
        CRgb box, preferred, shown;
    };
    const CRgb darkText{231, 231, 231}; // the text colour of a dark palette
    const Case cases[] = {
        // The default box colours with the default black text stay as they are.
        {"in use, default", CContrast::fromStored(0x0000FF), CContrast::kBlack, CContrast::kBlack},
        {"free, default", CContrast::fromStored(0x0096C8), CContrast::kBlack, CContrast::kBlack},
        {"highlight", {192, 192, 192}, CContrast::kBlack, CContrast::kBlack},
        // A dark palette's light text on the default colours turns black.
        {"in use, dark palette", {255, 0, 0}, darkText, CContrast::kBlack},
        {"free, dark palette", {200, 150, 0}, darkText, CContrast::kBlack},
        // On a dark box colour the light text stays, and black text turns white.
        {"navy, light text", {0, 0, 128}, darkText, darkText},
        {"navy, black text", {0, 0, 128}, CContrast::kBlack, CContrast::kWhite},
    };
    for (const Case& c : cases) {
        const CRgb shown = CContrast::readableText(c.box, c.preferred);
        EXPECT_EQ(shown, c.shown) << c.what;
        EXPECT_GE(CContrast::ratio(c.box, shown), CContrast::kMinimumTextRatio) << c.what;
    }
}

} // namespace
} // namespace orv
