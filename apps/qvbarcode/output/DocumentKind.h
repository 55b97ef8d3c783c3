// SPDX-License-Identifier: MIT
#pragma once

namespace qv::cli {

// The page-description languages a document is written or printed in.
enum class DocumentKind { Pdf, PostScript };

}  // namespace qv::cli
