#include "readable_colour.h"

#include <QGuiApplication>

#include <algorithm>
#include <cmath>

namespace platform {

namespace {

// A channel's share of the light, from its sRGB value.
double linear(double channel) {
    return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
}

double relativeLuminance(const QColor& colour) {
    const QColor rgb = colour.toRgb();
    return 0.2126 * linear(rgb.redF()) + 0.7152 * linear(rgb.greenF()) + 0.0722 * linear(rgb.blueF());
}

struct LightColour {
    QPalette::ColorRole role;
    QRgb rgb;
};

// The roles that the windows pair with fixed colours, as the toolkit's default light
// scheme colours them on a desktop that sets no scheme of its own.
constexpr LightColour kLightScheme[] = {
    {QPalette::WindowText, qRgb(0, 0, 0)},        {QPalette::Window, qRgb(239, 239, 239)},
    {QPalette::Button, qRgb(239, 239, 239)},      {QPalette::Highlight, qRgb(48, 140, 198)},
    {QPalette::ToolTipBase, qRgb(255, 255, 220)},
};

// The role's colour under the toolkit's default light scheme; invalid for a role that is
// not recorded above.
QColor lightSchemeColour(QPalette::ColorRole role) {
    for (const LightColour& light : kLightScheme) {
        if (light.role == role) return QColor(light.rgb);
    }
    return {};
}

}  // namespace

double contrastRatio(const QColor& first, const QColor& second) {
    const double a = relativeLuminance(first) + 0.05;
    const double b = relativeLuminance(second) + 0.05;
    return std::max(a, b) / std::min(a, b);
}

QColor readableRole(QPalette::ColorRole role, const QColor& fixed) {
    const QPalette scheme = QGuiApplication::palette();
    const QColor own = scheme.color(QPalette::Active, role);
    // A light scheme, the toolkit's or the desktop's, is one the windows were drawn for.
    const bool dark = relativeLuminance(scheme.color(QPalette::Active, QPalette::Window)) <
                      relativeLuminance(scheme.color(QPalette::Active, QPalette::WindowText));
    const QColor light = lightSchemeColour(role);
    if (!dark || !light.isValid() || contrastRatio(own, fixed) >= kReadableContrast) return own;
    return contrastRatio(light, fixed) > contrastRatio(own, fixed) ? light : own;
}

}  // namespace platform
