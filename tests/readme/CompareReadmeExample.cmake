# SPDX-License-Identifier: MIT
# Fails unless the first ```cpp block of the README's section "## Use it from C++" is exactly
# the example file.
#   cmake -DQV_README=README.md -DQV_EXAMPLE=examples/minimal.cpp -P CompareReadmeExample.cmake
set(title "Use it from C++")
set(heading "\n## ${title}\n")
set(fence_open "\n```cpp\n")

file(READ ${QV_README} readme)
file(READ ${QV_EXAMPLE} example)
# The licence line heads every source file; the README shows the code without it.
string(REGEX REPLACE "^// SPDX-License-Identifier: [^\n]*\n" "" example "${example}")

# The section: from its heading to the next one.
string(FIND "${readme}" "${heading}" at)
if(at EQUAL -1)
    message(FATAL_ERROR "${QV_README} has no section '${title}'")
endif()
string(LENGTH "${heading}" length)
math(EXPR at "${at} + ${length}")
string(SUBSTRING "${readme}" ${at} -1 section)
string(FIND "${section}" "\n## " next)
if(NOT next EQUAL -1)
    string(SUBSTRING "${section}" 0 ${next} section)
endif()

# The block: from the line after its opening fence to its closing fence, at a line start.
string(FIND "${section}" "${fence_open}" at)
if(at EQUAL -1)
    message(FATAL_ERROR "no ```cpp block in the README's section '${title}'")
endif()
string(LENGTH "${fence_open}" length)
math(EXPR at "${at} + ${length}")
string(SUBSTRING "${section}" ${at} -1 block)
string(FIND "${block}" "\n```" end)
if(end EQUAL -1)
    message(FATAL_ERROR "the README's ```cpp block is not closed")
endif()
math(EXPR end "${end} + 1")
string(SUBSTRING "${block}" 0 ${end} block)

if(NOT block STREQUAL example)
    message(FATAL_ERROR "the README's C++ example differs from ${QV_EXAMPLE}; make them the "
        "same.\n--- README.md ---\n${block}--- ${QV_EXAMPLE} ---\n${example}")
endif()
