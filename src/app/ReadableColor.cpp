#include "app/ReadableColor.h"

#include <QApplication>
#include <QPalette>
#include <QStyleFactory>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace {

double Channel(double c)
{
    return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double Luminance(const QColor& c)
{
    const QColor rgb = c.toRgb();
    return 0.2126 * Channel(rgb.redF()) + 0.7152 * Channel(rgb.greenF()) + 0.0722 * Channel(rgb.blueF());
}

constexpr double kMinimum = 4.5;

}  // namespace

double ContrastRatio(const QColor& a, const QColor& b)
{
    const double la = Luminance(a);
    const double lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor ReadableOn(const QColor& wanted, const QColor& background)
{
    if (ContrastRatio(wanted, background) >= kMinimum) return wanted;
    // Lighter or darker, whichever side of the background has room for the contrast.
    const bool lighter = ContrastRatio(Qt::white, background) >= ContrastRatio(Qt::black, background);
    const QColor hsl = wanted.toHsl();
    const float hue = hsl.hslHueF();
    const float saturation = hsl.hslSaturationF();
    float lightness = hsl.lightnessF();
    for (int step = 0; step < 100; ++step) {
        lightness = lighter ? std::min(1.0f, lightness + 0.02f) : std::max(0.0f, lightness - 0.02f);
        const QColor tried = QColor::fromHslF(hue, saturation, lightness);
        if (ContrastRatio(tried, background) >= kMinimum) return tried;
        if (lightness <= 0.0f || lightness >= 1.0f) break;
    }
    return lighter ? QColor(Qt::white) : QColor(Qt::black);
}

void SetReadableTextColor(QWidget* widget, const QColor& wanted)
{
    QPalette pal = widget->palette();
    pal.setColor(QPalette::WindowText, ReadableOn(wanted, pal.color(widget->backgroundRole())));
    widget->setPalette(pal);
}

void ApplyDarkPaletteIfAsked()
{
    if (qgetenv("VELKOR_DARK_PALETTE") != "1") return;
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QPalette dark(QColor(53, 53, 53), QColor(53, 53, 53));
    dark.setColor(QPalette::Base, QColor(35, 35, 35));
    dark.setColor(QPalette::AlternateBase, QColor(45, 45, 45));
    dark.setColor(QPalette::Highlight, QColor(42, 130, 218));
    dark.setColor(QPalette::HighlightedText, Qt::black);
    dark.setColor(QPalette::Link, QColor(90, 170, 255));
    dark.setColor(QPalette::ToolTipBase, QColor(25, 25, 25));
    dark.setColor(QPalette::ToolTipText, Qt::white);
    QApplication::setPalette(dark);
}
