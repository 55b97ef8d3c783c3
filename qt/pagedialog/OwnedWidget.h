// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <memory>
#include <utility>

namespace qv::pagedialog {

// Makes a Qt object and hands it to its parent, which deletes it with itself.
template <typename T, typename Parent, typename... Args>
T* MakeOwned(Parent& parent, Args&&... args) {
    auto object = std::make_unique<T>(std::forward<Args>(args)..., &parent);
    return object.release();
}

}  // namespace qv::pagedialog
