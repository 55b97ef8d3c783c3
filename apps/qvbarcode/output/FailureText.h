// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>

#include <qvbarcode/host/FailedCall.h>
#include "drawing/RenderBarcode.h"
#include "input/BatchRecords.h"

namespace qv::cli {

// The lines the program writes about a failure.

// "CODE DESCRIPTION: EXPLANATION", the description as the control gave it and the
// explanation, when there is one, both in the user's language; or the program's refusal of
// the text. Text from the input is not escaped here.
std::string ResultCodeLine(const Drawing& drawing);
// A batch record as messages name it: record 2 (line 3) "12A", the text cut short when
// long and shown as TerminalText shows it.
std::string RecordName(const BatchRecord& record);
// Why a drawing without pixels is not written.
std::string EmptyPictureLine(const Drawing& drawing);
// "failed call: REASON: WHAT".
std::string FailedCallLine(const host::FailedCall& failure);
// Whether the call failed for want of memory, which fewer threads may spare, rather than
// for a size the program refuses however much there is (the 64-megapixel limit).
bool IsShortOfMemory(const host::FailedCall& failure);
// What a failed call says after its reason: for file operations, "PATH: SYSTEM MESSAGE".
std::string_view FailureDetail(const host::FailedCall& failure);

}  // namespace qv::cli
