// SPDX-License-Identifier: MIT
// A cairo program has the control draw onto its own cairo_t: a shelf label with a title in
// cairo's text and an EAN-13 under it, saved as a PNG. A GTK widget's draw handler does the
// same with the cairo_t it is given.
#include <cairo.h>

#include <cstdio>
#include <memory>

#include <qvbarcode/control/QvBarCode.h>
#include <qvbarcode/host/TextConversion.h>
#include <qvbarcode/surface/CairoSurface.h>
#include <qvbarcode/surface/SurfaceHandles.h>

// Draws the barcode at 12, 44 of the label; false, with the reason on stderr, when it cannot.
bool DrawBarcode(cairo_t* cr) {
    qv::control::QvBarCode barcode;
    barcode.SetBarCodeType(qv::control::QvTypeEan13);
    barcode.SetText(u"400638133393");
    barcode.SetCalculateCheckDigit(qv::control::kTrue);
    barcode.SetBackgroundWhite(qv::control::kTrue);
    barcode.SetShowValue(qv::control::kTrue);
    barcode.SetBarWidth(295);  // 95 modules of 3 pixels and the white margins
    barcode.SetBarHeight(100);
    barcode.SetPositionX(12);
    barcode.SetPositionY(44);
    // The context is a drawing surface of the control's for as long as the handle lives.
    const qv::surface::ScopedSurfaceHandle handle(std::make_shared<qv::surface::CairoSurface>(cr));
    qv::surface::SurfaceHandle hdc = handle.get();
    if (barcode.Draw(hdc).AsInt16() != 0) {
        std::fprintf(stderr, "%s\n", qv::host::Utf16ToUtf8(barcode.ErrorDescription()).c_str());
        return false;
    }
    return true;
}

int main(int argc, char** argv) {
    cairo_surface_t* label = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 320, 160);
    cairo_t* cr = cairo_create(label);
    cairo_set_source_rgb(cr, 1.0, 0.96, 0.85);  // the label's paper
    cairo_paint(cr);
    cairo_set_source_rgb(cr, 0.1, 0.1, 0.3);
    cairo_select_font_face(cr, "sans-serif", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
    cairo_set_font_size(cr, 18);
    cairo_move_to(cr, 12, 28);
    cairo_show_text(cr, "Shelf B-07  Hazelnuts 500 g");
    bool drawn = DrawBarcode(cr);
    cairo_destroy(cr);
    const char* path = argc > 1 ? argv[1] : "label.png";
    drawn = drawn && cairo_surface_write_to_png(label, path) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(label);
    return drawn ? 0 : 1;
}
