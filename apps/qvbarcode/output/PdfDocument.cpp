// SPDX-License-Identifier: MIT
#include "output/PdfDocument.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include <qvbarcode/imagefile/DocumentDate.h>
#include "drawing/OutlineFont.h"

namespace qv::cli {

namespace {

// The objects every document has, by number; pages and their contents follow from 5.
constexpr int kCatalog = 1, kPageTree = 2, kResources = 3, kInfo = 4, kFirstPage = 5;
constexpr std::size_t kGlyphsPerFont = 255;  // codes 1 to 255
constexpr std::size_t kWriteAt = 64 * 1024;

void AppendNumbers(std::string& out, std::initializer_list<double> values) {
    for (const double value : values) {
        AppendPdfNumber(out, value);
        out += ' ';
    }
}

void AppendColour(std::string& out, surface::Colour colour) {
    AppendNumbers(out, {surface::RedOf(colour) / 255.0, surface::GreenOf(colour) / 255.0,
                        surface::BlueOf(colour) / 255.0});
    out += "rg\n";
}

// "D:YYYYMMDDHHmmSS+00'00'" from cairo's ISO 8601 form.
std::string InfoDate(const std::string& iso) {
    std::string digits;
    for (const char c : iso) {
        if (c >= '0' && c <= '9') digits += c;
    }
    return "D:" + digits + "+00'00'";
}

void AppendHex(std::string& out, unsigned value, int digits) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    for (int shift = 4 * (digits - 1); shift >= 0; shift -= 4) out += kHex[(value >> shift) & 15];
}

// The character a code stands for, as UTF-16 hexadecimal.
void AppendUtf16(std::string& out, char32_t code) {
    if (code < 0x10000) {
        AppendHex(out, code, 4);
        return;
    }
    code -= 0x10000;
    AppendHex(out, 0xD800 + (code >> 10), 4);
    AppendHex(out, 0xDC00 + (code & 0x3FF), 4);
}

// The characters the codes 1, 2, ... of a font stand for, for searching and copying.
template <typename Glyphs>  // pairs of a glyph and its character, by code from 1
std::string ToUnicodeMap(const Glyphs& glyphs) {
    std::string map =
        "/CIDInit /ProcSet findresource begin\n12 dict begin\nbegincmap\n/CIDSystemInfo << "
        "/Registry (Adobe) /Ordering (UCS) /Supplement 0 >> def\n/CMapName "
        "/Adobe-Identity-UCS def\n/CMapType 2 def\n1 begincodespacerange\n<00> "
        "<FF>\nendcodespacerange\n";
    for (std::size_t from = 0; from < glyphs.size(); from += 100) {
        const std::size_t to = std::min(glyphs.size(), from + 100);
        map += std::to_string(to - from) + " beginbfchar\n";
        for (std::size_t i = from; i < to; ++i) {
            map += '<';
            AppendHex(map, static_cast<unsigned>(i + 1), 2);
            map += "> <";
            AppendUtf16(map, glyphs[i].second);
            map += ">\n";
        }
        map += "endbfchar\n";
    }
    map += "endcmap\nCMapName currentdict /CMap defineresource pop\nend\nend\n";
    return map;
}

}  // namespace

PdfDocument::PdfDocument(const std::string& path) : file_(path) {
    out_ = "%PDF-1.5\n%\xB5\xED\xAE\xFB\n";
    StartObject(kCatalog);
    out_ += "<< /Type /Catalog /Pages 2 0 R >>\nendobj\n";
    StartObject(kInfo);
    const std::int64_t made = imagefile::DocumentSeconds(std::getenv("SOURCE_DATE_EPOCH"));
    out_ += "<< /Producer (qvbarcode) /CreationDate (" + InfoDate(imagefile::PdfDate(made)) +
            ") >>\nendobj\n";
}

void PdfDocument::StartObject(int number) {
    if (offsets_.size() < static_cast<std::size_t>(number)) offsets_.resize(number, -1);
    offsets_[number - 1] = file_.Written() + static_cast<std::int64_t>(out_.size());
    out_ += std::to_string(number) + " 0 obj\n";
}

void PdfDocument::NewPage(double width, double height) {
    if (pages_ > 0) EndPage();
    ++pages_;
    pageWidth_ = width;
    pageHeight_ = height;
    content_.clear();
}

void PdfDocument::EndPage() {
    const int page = kFirstPage + 2 * static_cast<int>(pages_ - 1);
    StartObject(page);
    out_ += "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 ";
    AppendNumbers(out_, {pageWidth_});
    AppendPdfNumber(out_, pageHeight_);
    out_ += "] /Resources 3 0 R /Contents " + std::to_string(page + 1) + " 0 R >>\nendobj\n";
    StartObject(page + 1);
    out_ += "<< /Length " + std::to_string(content_.size()) + " >>\nstream\n";
    out_ += content_;
    out_ += "\nendstream\nendobj\n";
    if (out_.size() >= kWriteAt) {
        file_.Write(out_);
        out_.clear();
    }
}

// In the label's pixels, y down: the page's points turned upside down at its corner.
void PdfDocument::Draw(const LabelRecording& label, double left, double top, double scale) {
    std::string& out = content_;
    out += "q\n";
    AppendNumbers(out, {scale, 0, 0, -scale, left, pageHeight_ - top});
    out += "cm\n0 0 ";
    AppendNumbers(out, {static_cast<double>(label.Width()), static_cast<double>(label.Height())});
    out += "re W n\n";
    for (std::size_t t = 0; t < label.Texts().size(); ++t) {
        out += label.Operators()[t];
        DrawText(label.Texts()[t]);
    }
    out += label.Operators().back();
    out += "Q\n";
}

// Each glyph at its origin, upright in the page's upside-down pixels.
void PdfDocument::DrawText(const RecordedText& text) {
    std::string& out = content_;
    const RecordedFill& clip = text.clip;
    out += "q\n";
    AppendNumbers(out, {clip.left, clip.top, clip.right - clip.left, clip.bottom - clip.top});
    out += "re W n\n";
    AppendColour(out, text.colour);
    out += "BT\n";
    std::size_t font = fonts_.size() + 1;  // none chosen yet
    for (const surface::PlacedGlyph& placed : text.glyphs) {
        const FontGlyph glyph = GlyphOf(text.font, placed);
        if (glyph.font != font) {
            font = glyph.font;
            out += "/F" + std::to_string(font + 1) + " ";
            AppendPdfNumber(out, text.font->pixelSize());
            out += " Tf\n";
        }
        out += "1 0 0 -1 ";
        AppendNumbers(out, {placed.x, text.baseline});
        out += "Tm <";
        AppendHex(out, glyph.code, 2);
        out += "> Tj\n";
    }
    out += "ET\nQ\n";
}

PdfDocument::FontGlyph PdfDocument::GlyphOf(
    const std::shared_ptr<const surface::FreeTypeFont>& font, const surface::PlacedGlyph& placed) {
    if (font != lastFont_) {
        lastFont_ = font;
        lastGlyphs_.clear();
    }
    if (const auto seen = lastGlyphs_.find(placed.index); seen != lastGlyphs_.end()) {
        return seen->second;
    }
    const FontGlyph glyph = FindGlyph(*font, placed);
    lastGlyphs_.emplace(placed.index, glyph);
    return glyph;
}

PdfDocument::FontGlyph PdfDocument::FindGlyph(const surface::FreeTypeFont& font,
                                              const surface::PlacedGlyph& placed) {
    GlyphKey key{font.path(), font.faceIndex(), placed.index};
    const auto found = glyphs_.find(key);
    if (found != glyphs_.end()) return found->second;
    if (fonts_.empty() || fonts_.back().size() == kGlyphsPerFont) fonts_.emplace_back();
    fonts_.back().emplace_back(key, placed.code);
    const FontGlyph glyph{fonts_.size() - 1, static_cast<unsigned>(fonts_.back().size())};
    glyphs_.emplace(std::move(key), glyph);
    return glyph;
}

void PdfDocument::Outline(std::span<const LabelBox> boxes, bool round) {
    std::string& out = content_;
    out += "q\n0.6 G\n0.25 w\n";
    constexpr double kArc = 0.5522847498;  // a quarter circle's control points
    for (const LabelBox& box : boxes) {
        const double x = box.left, y = pageHeight_ - box.top - box.height;
        if (!round) {
            AppendNumbers(out, {x, y, box.width, box.height});
            out += "re\n";
            continue;
        }
        const double r = box.width / 2, cx = x + r, cy = y + box.height / 2, k = kArc * r;
        AppendNumbers(out, {cx + r, cy});
        out += "m\n";
        AppendNumbers(out, {cx + r, cy + k, cx + k, cy + r, cx, cy + r});
        out += "c\n";
        AppendNumbers(out, {cx - k, cy + r, cx - r, cy + k, cx - r, cy});
        out += "c\n";
        AppendNumbers(out, {cx - r, cy - k, cx - k, cy - r, cx, cy - r});
        out += "c\n";
        AppendNumbers(out, {cx + k, cy - r, cx + r, cy - k, cx + r, cy});
        out += "c\nh\n";
    }
    out += "S\nQ\n";
}

// Each font's glyph procedures, its character map and the font itself; then the resources
// that name them.
void PdfDocument::WriteFonts() {
    int next = kFirstPage + 2 * static_cast<int>(pages_);
    std::map<std::pair<std::string, int>, std::unique_ptr<OutlineFont>> faces;
    std::vector<int> fontObjects;
    for (const auto& glyphs : fonts_) {
        const auto& [path, index, first] = glyphs.front().first;
        auto& face = faces[{path, index}];
        if (!face) face = std::make_unique<OutlineFont>(path, index);
        std::string widths, procedures, differences;
        std::array<double, 4> bounds{0, 0, 0, 0};
        for (std::size_t code = 1; code <= glyphs.size(); ++code) {
            const GlyphOutline outline = face->Outline(std::get<2>(glyphs[code - 1].first));
            bounds = {std::min(bounds[0], outline.box[0]), std::min(bounds[1], outline.box[1]),
                      std::max(bounds[2], outline.box[2]), std::max(bounds[3], outline.box[3])};
            std::string stream;
            AppendNumbers(stream, {outline.advance, 0, outline.box[0], outline.box[1],
                                   outline.box[2], outline.box[3]});
            stream += "d1\n" + outline.path;
            StartObject(next);
            out_ += "<< /Length " + std::to_string(stream.size()) + " >>\nstream\n" + stream +
                    "\nendstream\nendobj\n";
            const std::string name = "/g" + std::to_string(code);
            procedures += name + " " + std::to_string(next++) + " 0 R ";
            differences += name + " ";
            AppendNumbers(widths, {outline.advance});
        }
        const std::string map = ToUnicodeMap(glyphs);
        const int toUnicode = next++;
        StartObject(toUnicode);
        out_ += "<< /Length " + std::to_string(map.size()) + " >>\nstream\n" + map +
                "\nendstream\nendobj\n";
        fontObjects.push_back(next);
        StartObject(next++);
        out_ += "<< /Type /Font /Subtype /Type3 /BaseFont /" + face->Name() + " /FontBBox [";
        AppendNumbers(out_, {bounds[0], bounds[1], bounds[2]});
        AppendPdfNumber(out_, bounds[3]);
        out_ += "] /FontMatrix [0.001 0 0 0.001 0 0] /CharProcs << " + procedures +
                ">> /Encoding << /Type /Encoding /Differences [1 " + differences +
                "] >> /FirstChar 1 /LastChar " + std::to_string(glyphs.size()) + " /Widths [" +
                widths + "] /Resources << >> /ToUnicode " + std::to_string(toUnicode) +
                " 0 R >>\nendobj\n";
        if (out_.size() >= kWriteAt) {
            file_.Write(out_);
            out_.clear();
        }
    }
    StartObject(kResources);
    out_ += "<< /Font << ";
    for (std::size_t i = 0; i < fontObjects.size(); ++i) {
        out_ += "/F" + std::to_string(i + 1) + " " + std::to_string(fontObjects[i]) + " 0 R ";
    }
    out_ += ">> >>\nendobj\n";
}

std::optional<FileFailure> PdfDocument::Finish() {
    if (pages_ > 0) EndPage();
    WriteFonts();
    StartObject(kPageTree);
    out_ += "<< /Type /Pages /Kids [";
    for (std::int64_t i = 0; i < pages_; ++i) {
        out_ += std::to_string(kFirstPage + 2 * i) + " 0 R ";
        if (out_.size() >= kWriteAt) {
            file_.Write(out_);
            out_.clear();
        }
    }
    out_ += "] /Count " + std::to_string(pages_) + " >>\nendobj\n";
    const std::int64_t xref = file_.Written() + static_cast<std::int64_t>(out_.size());
    out_ += "xref\n0 " + std::to_string(offsets_.size() + 1) + "\n0000000000 65535 f \n";
    for (const std::int64_t offset : offsets_) {
        char entry[32];
        std::snprintf(entry, sizeof entry, "%010lld 00000 n \n", static_cast<long long>(offset));
        out_ += entry;
        if (out_.size() >= kWriteAt) {
            file_.Write(out_);
            out_.clear();
        }
    }
    out_ += "trailer\n<< /Size " + std::to_string(offsets_.size() + 1) +
            " /Root 1 0 R /Info 4 0 R >>\nstartxref\n" + std::to_string(xref) + "\n%%EOF\n";
    file_.Write(out_);
    out_.clear();
    return file_.Finish();
}

}  // namespace qv::cli
