// SPDX-License-Identifier: MIT
// The library's resources by number, where its registration says they are: a host on this
// platform loads the library and asks for them, as it would look up a resource by number.
#include <cstring>

#include <qvbarcode/component/QvBarCodeComponent.h>
#include <qvbarcode/component/ToolboxBitmap.h>
#include <qvbarcode/host/Status.h>

extern "C" QvStatus QvLoadResource(int32_t number, void* buffer, uint32_t capacity,
                                   uint32_t* size) {
    static_assert(QV_RESOURCE_TOOLBOX_BITMAP == qv::component::kToolboxBitmapResource);
    if (size == nullptr) return qv::host::kNullPointer;
    *size = 0;
    if (number != QV_RESOURCE_TOOLBOX_BITMAP) return qv::host::kResourceNotFound;
    return qv::host::GuardCall([&] {
               const std::string bitmap = qv::component::ToolboxBitmapFile();
               *size = static_cast<uint32_t>(bitmap.size());
               if (buffer == nullptr) return qv::host::CallResult::Success({});
               if (capacity < bitmap.size()) {
                   return qv::host::CallResult::Failure(qv::host::kInsufficientBuffer,
                                                        "the buffer is smaller than the resource");
               }
               std::memcpy(buffer, bitmap.data(), bitmap.size());
               return qv::host::CallResult::Success({});
           })
        .status;
}
