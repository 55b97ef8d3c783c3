// SPDX-License-Identifier: MIT
#pragma once

#include <unistd.h>

namespace qv::host {

// A file descriptor closed whatever way its scope is left; -1 holds none.
class FileDescriptor {
  public:
    explicit FileDescriptor(int descriptor) : descriptor_(descriptor) {}
    ~FileDescriptor() {
        if (descriptor_ >= 0) close(descriptor_);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return descriptor_; }

  private:
    int descriptor_;
};

}  // namespace qv::host
