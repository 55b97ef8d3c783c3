// SPDX-License-Identifier: MIT
#include <qvbarcode/control/PictureBox.h>

#include <qvbarcode/control/SurfaceOwner.h>

namespace qv::control {

using surface::RasterSurface;

PictureBox::PictureBox(std::int32_t width, std::int32_t height, surface::Colour background,
                       surface::Colour text, std::shared_ptr<const surface::Font> font)
    : background_(background), text_(text), font_(std::move(font)) {
    Recreate(width, height);
}

PictureBox::~PictureBox() = default;

void PictureBox::Repaint(RasterSurface& image) const {
    image.FillRect({0, 0, image.width(), image.height()}, background_);
    if (picture_) {
        image.Blit(*picture_, 0, 0);
    }
}

void PictureBox::Recreate(std::int32_t width, std::int32_t height) {
    // Build the new image completely before dropping the old one, so a refused size
    // leaves the surface as it was.
    auto image = std::make_shared<RasterSurface>(width, height, background_);
    image->SetTextColor(text_);
    if (font_) {
        image->SetFont(font_);
    }
    Repaint(*image);
    surface::ScopedSurfaceHandle handle(image);
    auto owner = std::make_unique<SurfaceOwner>(handle.get());
    image_ = std::move(image);
    handle_ = std::move(handle);
    owner_ = std::move(owner);
}

void PictureBox::SetWidth(std::int32_t width) {
    if (width == Width()) {
        return;
    }
    Recreate(width, Height());
    if (onResize_) {
        onResize_();
    }
}

void PictureBox::SetHeight(std::int32_t height) {
    if (height == Height()) {
        return;
    }
    Recreate(Width(), height);
    if (onResize_) {
        onResize_();
    }
}

void PictureBox::SetPicture(std::shared_ptr<const RasterSurface> picture) {
    picture_ = std::move(picture);
    Repaint(*image_);
}

void PictureBox::KeepImageAsPicture() {
    // The copy shares the image's pixels until the next drawing changes them.
    picture_ = std::make_shared<const RasterSurface>(*image_);
}

}  // namespace qv::control
