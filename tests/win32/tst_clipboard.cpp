// SPDX-License-Identifier: GPL-3.0-or-later
// The clipboard's text as another program may leave it. Each block is laid
// at the very end of a readable page with an unreadable page after it, so a
// read past the block ends the test at once instead of finding a stray NUL.
// Prints each failure and ends with "N passed, N failed".

#include "window_test.h"

#include "window/win32/clipboard.h"

#include <cstring>

namespace {

struct Case
{
    const char *name;
    std::u16string_view block; // the block's units, exactly as long as it is
    std::size_t extraByte; // 1: the block ends in half a unit
    std::u16string_view expected;
};

constexpr Case cases[] = {
    { "a text without its NUL ends with its block", u"IO91WM", 0, u"IO91WM" },
    { "a text with its NUL", std::u16string_view(u"IO91WM\0", 7), 0, u"IO91WM" },
    { "units after the first NUL are not text", std::u16string_view(u"IO\0" u"91WM", 7), 0,
        u"IO" },
    { "half a unit at the block's end is dropped", u"JN61", 1, u"JN61" },
    { "an empty block", u"", 0, u"" },
};

} // namespace

int main()
{
    SYSTEM_INFO system;
    GetSystemInfo(&system);
    const std::size_t page = system.dwPageSize;
    auto *pages = static_cast<unsigned char *>(
        VirtualAlloc(nullptr, 2 * page, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
    DWORD previous = 0;
    if (!pages || !VirtualProtect(pages + page, page, PAGE_NOACCESS, &previous)) {
        std::printf("FAIL: no guarded page\n0 passed, 1 failed\n");
        return 1;
    }

    for (const Case &c : cases) {
        const window_test::Checking checking(c.name);
        const std::size_t size = c.block.size() * sizeof(char16_t) + c.extraByte;
        unsigned char *block = pages + page - size;
        std::memcpy(block, c.block.data(), c.block.size() * sizeof(char16_t));
        if (c.extraByte)
            block[size - 1] = 'X';
        window_test::check(window::win32::textWithin(block, size) == c.expected, "the text read");
    }
    return window_test::finish();
}
