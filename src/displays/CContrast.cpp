#include "displays/CContrast.h"

#include <algorithm>
#include <cmath>

namespace orv {

namespace {

double linear(int component) {
    const double c = std::clamp(component, 0, 255) / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

} // namespace

CRgb CContrast::fromStored(int stored) {
    return {stored & 0xFF, (stored >> 8) & 0xFF, (stored >> 16) & 0xFF};
}

double CContrast::relativeLuminance(const CRgb& colour) {
    return 0.2126 * linear(colour.red) + 0.7152 * linear(colour.green) +
           0.0722 * linear(colour.blue);
}

double CContrast::ratio(const CRgb& a, const CRgb& b) {
    const double la = relativeLuminance(a);
    const double lb = relativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

CRgb CContrast::readableText(const CRgb& background, const CRgb& preferred) {
    if (ratio(background, preferred) >= kMinimumTextRatio) return preferred;
    return ratio(background, kBlack) >= ratio(background, kWhite) ? kBlack : kWhite;
}

} // namespace orv
