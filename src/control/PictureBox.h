// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include <qvbarcode/host/Export.h>
#include <qvbarcode/surface/RasterSurface.h>
#include <qvbarcode/surface/SurfaceHandles.h>

namespace qv::control {

class SurfaceOwner;

// The control's own picture surface. Its image is a persistent bitmap of its size, painted
// with the background colour and the kept picture; everything drawn through hDC goes into it.
class QV_EXPORT PictureBox {
  public:
    PictureBox(std::int32_t width, std::int32_t height, surface::Colour background,
               surface::Colour text, std::shared_ptr<const surface::Font> font);
    ~PictureBox();
    PictureBox(const PictureBox&) = delete;
    PictureBox& operator=(const PictureBox&) = delete;

    bool Visible() const { return visible_; }
    void SetVisible(bool visible) { visible_ = visible; }
    std::int32_t Top() const { return top_; }
    void SetTop(std::int32_t top) { top_ = top; }
    std::int32_t Left() const { return left_; }
    void SetLeft(std::int32_t left) { left_ = left; }

    std::int32_t Width() const { return image_->width(); }
    std::int32_t Height() const { return image_->height(); }
    // Each re-creates the image at the new size and, when the size changed, runs the resize
    // handler. A negative size is an invalid value, more than 64M pixels out of memory.
    void SetWidth(std::int32_t width);
    void SetHeight(std::int32_t height);
    void OnResize(std::function<void()> handler) { onResize_ = std::move(handler); }

    // nullptr is the empty picture: the image then shows only the background colour.
    void SetPicture(std::shared_ptr<const surface::RasterSurface> picture);
    const std::shared_ptr<const surface::RasterSurface>& Picture() const { return picture_; }
    // Picture = Image: what was drawn survives later re-creations of the image.
    void KeepImageAsPicture();

    const surface::RasterSurface& Image() const { return *image_; }
    // The handle drawing into the current image; it changes whenever the image is re-created.
    surface::SurfaceHandle hDC() const { return handle_.get(); }

  private:
    void Recreate(std::int32_t width, std::int32_t height);
    void Repaint(surface::RasterSurface& image) const;

    bool visible_ = true;
    std::int32_t top_ = 0;
    std::int32_t left_ = 0;
    surface::Colour background_;
    surface::Colour text_;
    std::shared_ptr<const surface::Font> font_;
    std::shared_ptr<const surface::RasterSurface> picture_;
    std::shared_ptr<surface::RasterSurface> image_;
    surface::ScopedSurfaceHandle handle_;
    std::unique_ptr<SurfaceOwner> owner_;  // after handle_, so that it goes first
    std::function<void()> onResize_;
};

}  // namespace qv::control
