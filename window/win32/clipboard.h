// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The clipboard's text, as another program left it. Whatever put it there is
// untrusted: its block need not end in the NUL the format promises.

#include <windows.h>

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace window::win32 {

// The text a clipboard block of `size` bytes at `bytes` holds: its whole
// UTF-16 units, up to the first NUL if there is one. Nothing past the block
// is read.
std::u16string_view textWithin(const void *bytes, std::size_t size) noexcept;

// The line a field takes of the clipboard's text (the rule of
// window/pasted_text.h: its first line without the blanks around it), read
// within the size of its memory block and up to its first NUL, with
// the clipboard opened for `owner` and closed again before returning. None
// when the clipboard holds no text or cannot be opened; empty when memory
// runs out while copying, so that such a paste adds nothing.
std::optional<std::u16string> clipboardLine(HWND owner) noexcept;

} // namespace window::win32
