// SPDX-License-Identifier: MIT
#include <qvbarcode/surface/Windows1252.h>

#include <unicode/ucnv.h>

#include <algorithm>
#include <memory>

#include <qvbarcode/host/FailedCall.h>

namespace qv::surface {

namespace {

struct ConverterCloser {
    void operator()(UConverter* converter) const { ucnv_close(converter); }
};
using Converter = std::unique_ptr<UConverter, ConverterCloser>;

Converter OpenWindows1252() {
    UErrorCode status = U_ZERO_ERROR;
    Converter converter(ucnv_open("windows-1252", &status));
    if (U_FAILURE(status)) {
        throw host::FailedCall(host::FailureReason::PlatformFailure, "no Windows-1252 converter");
    }
    ucnv_setSubstChars(converter.get(), "?", 1, &status);
    return converter;
}

}  // namespace

std::string EncodeWindows1252(std::u16string_view text) {
    if (text.empty()) {
        return {};
    }
    // The code page is ASCII below 0x80, and captions mostly are: no converter needed.
    if (std::all_of(text.begin(), text.end(), [](char16_t c) { return c < 0x80; })) {
        return std::string(text.begin(), text.end());
    }
    Converter converter = OpenWindows1252();
    // One byte per UTF-16 unit at most: a surrogate pair becomes one "?".
    std::string result(text.size() + 1, '\0');
    UErrorCode status = U_ZERO_ERROR;
    const int32_t length =
        ucnv_fromUChars(converter.get(), result.data(), static_cast<int32_t>(result.size()),
                        text.data(), static_cast<int32_t>(text.size()), &status);
    if (U_FAILURE(status)) {
        throw host::FailedCall(host::FailureReason::PlatformFailure,
                               "caption conversion to Windows-1252");
    }
    result.resize(static_cast<std::size_t>(length));
    return result;
}

std::u16string DecodeWindows1252(std::string_view text) {
    if (text.empty()) {
        return {};
    }
    if (std::all_of(text.begin(), text.end(),
                    [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
        return std::u16string(text.begin(), text.end());
    }
    Converter converter = OpenWindows1252();
    std::u16string result(text.size() + 1, u'\0');
    UErrorCode status = U_ZERO_ERROR;
    const int32_t length =
        ucnv_toUChars(converter.get(), result.data(), static_cast<int32_t>(result.size()),
                      text.data(), static_cast<int32_t>(text.size()), &status);
    if (U_FAILURE(status)) {
        throw host::FailedCall(host::FailureReason::PlatformFailure,
                               "caption conversion from Windows-1252");
    }
    result.resize(static_cast<std::size_t>(length));
    return result;
}

}  // namespace qv::surface
