// SPDX-License-Identifier: GPL-3.0-or-later
#include "ColourChooser.h"

#include <QPainter>
#include <QPixmap>

namespace talmo {

namespace {

struct NamedColour {
    const char* name;
    Rgb rgb;
};

// The standard colours of a desktop colour chooser.
constexpr NamedColour kColours[] = {
    {"Black", {0, 0, 0}},       {"Maroon", {128, 0, 0}},    {"Green", {0, 128, 0}},
    {"Olive", {128, 128, 0}},   {"Navy", {0, 0, 128}},      {"Purple", {128, 0, 128}},
    {"Teal", {0, 128, 128}},    {"Gray", {128, 128, 128}},  {"Silver", {192, 192, 192}},
    {"Red", {255, 0, 0}},       {"Lime", {0, 255, 0}},      {"Yellow", {255, 255, 0}},
    {"Blue", {0, 0, 255}},      {"Fuchsia", {255, 0, 255}}, {"Aqua", {0, 255, 255}},
    {"White", {255, 255, 255}},
};

QIcon swatch(Rgb c) {
    QPixmap pix(14, 14);
    pix.fill(QColor(c.r, c.g, c.b));
    QPainter p(&pix);
    p.setPen(Qt::darkGray);
    p.drawRect(0, 0, 13, 13);
    return QIcon(pix);
}

} // namespace

ColourChooser::ColourChooser(QWidget* parent) : QComboBox(parent) {
    for (const NamedColour& c : kColours)
        addItem(swatch(c.rgb), QString::fromLatin1(c.name),
                QVariant::fromValue((c.rgb.r << 16) | (c.rgb.g << 8) | c.rgb.b));
    selectColour(kRed);
}

Rgb ColourChooser::selectedColour() const {
    const int v = currentData().toInt();
    return Rgb{static_cast<std::uint8_t>(v >> 16), static_cast<std::uint8_t>(v >> 8),
               static_cast<std::uint8_t>(v)};
}

bool ColourChooser::selectColour(Rgb colour) {
    const int index = findData((colour.r << 16) | (colour.g << 8) | colour.b);
    if (index < 0)
        return false;
    setCurrentIndex(index);
    return true;
}

} // namespace talmo
