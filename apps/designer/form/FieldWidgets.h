#pragma once

#include <QWidget>
#include <memory>

#include "propertypage/PageFields.h"
#include "surface/RasterSurface.h"

namespace qv::designer {

// One Qt widget per page field, inside its container's widget. Each widget repaints from
// its field whenever the field's state changes, and hands the user's edits and focus moves
// to the field; repainting never raises them again.
QWidget* MakeFrameWidget(propertypage::Frame& frame, QWidget& container);
QWidget* MakeLabelWidget(propertypage::Label& label, QWidget& container);
QWidget* MakeTextBoxWidget(propertypage::TextBox& box, QWidget& container);
QWidget* MakeListWidget(propertypage::DropDownList& list, QWidget& container);
QWidget* MakeCheckBoxWidget(propertypage::CheckBox& box, QWidget& container);
QWidget* MakePictureWidget(const propertypage::Picture& picture,
                           const surface::RasterSurface& image, QWidget& container);

// Stops the field from reaching its widget, for a view that goes before the page does.
void DetachField(propertypage::Field& field);

}  // namespace qv::designer
