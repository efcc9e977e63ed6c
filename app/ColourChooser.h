// SPDX-License-Identifier: GPL-3.0-or-later
// The colour chooser of the RSearch page: a drop-down of named colours, each
// shown with a swatch; red is selected at start.
#pragma once

#include <QComboBox>

#include "Editor.h"

namespace talmo {

class ColourChooser : public QComboBox {
    Q_OBJECT
public:
    explicit ColourChooser(QWidget* parent = nullptr);
    Rgb selectedColour() const;
    // Selects the entry of that colour; false when the list has none.
    bool selectColour(Rgb colour);
};

} // namespace talmo
