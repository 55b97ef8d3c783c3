// SPDX-License-Identifier: MIT
#pragma once

#include <QFont>
#include <QWidget>

#include <qvbarcode/propertypage/PageFields.h>
#include <qvbarcode/surface/RasterSurface.h>

namespace qv::pagedialog {

// One Qt widget per page field, inside its container's widget. Each widget repaints from
// its field whenever the field's state changes, and hands the user's edits and focus moves
// to the field; repainting never raises them again. A label shows its caption from its
// first state change on, once the view has placed it.
QWidget* MakeFrameWidget(propertypage::Frame& frame, QWidget& container);
QWidget* MakeLabelWidget(propertypage::Label& label, QWidget& container, const QFont& font);
QWidget* MakeTextBoxWidget(propertypage::TextBox& box, QWidget& container);
QWidget* MakeListWidget(propertypage::DropDownList& list, QWidget& container);
QWidget* MakeCheckBoxWidget(propertypage::CheckBox& box, QWidget& container);
QWidget* MakePictureWidget(const surface::RasterSurface& image, QWidget& container);

// Stops the field from reaching its widget, for a view that goes before the page does.
void DetachField(propertypage::Field& field);

}  // namespace qv::pagedialog
