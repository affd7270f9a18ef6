# SPDX-License-Identifier: GPL-3.0-or-later
# Warnings for every target of ours, set per target.
function(rotavel_warnings target)
    target_compile_options(${target} PRIVATE
        $<$<OR:$<CXX_COMPILER_ID:GNU>,$<CXX_COMPILER_ID:Clang>>:-Wall -Wextra -Wpedantic>
        $<$<CXX_COMPILER_ID:MSVC>:/W4>)
endfunction()
