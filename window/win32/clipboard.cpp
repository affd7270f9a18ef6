// SPDX-License-Identifier: GPL-3.0-or-later
#include "clipboard.h"

#include "window/pasted_text.h"

#include <new>

namespace window::win32 {

namespace {

// The clipboard, open for one scope: it is shared by every program on the
// desktop, and one left open blocks all their copies and pastes.
class OpenedClipboard
{
public:
    explicit OpenedClipboard(HWND owner)
        : m_open(OpenClipboard(owner) != FALSE)
    {
    }
    ~OpenedClipboard()
    {
        if (m_open)
            CloseClipboard();
    }
    OpenedClipboard(const OpenedClipboard &) = delete;
    OpenedClipboard &operator=(const OpenedClipboard &) = delete;
    bool isOpen() const { return m_open; }

private:
    bool m_open;
};

// A global memory block, locked for one scope, with the size the system
// keeps for it: the only bound its contents have.
class LockedMemory
{
public:
    explicit LockedMemory(HANDLE memory)
        : m_memory(memory)
        , m_bytes(memory ? GlobalLock(memory) : nullptr)
        , m_size(m_bytes ? GlobalSize(memory) : 0)
    {
    }
    ~LockedMemory()
    {
        if (m_bytes)
            GlobalUnlock(m_memory);
    }
    LockedMemory(const LockedMemory &) = delete;
    LockedMemory &operator=(const LockedMemory &) = delete;
    const void *bytes() const { return m_bytes; }
    SIZE_T size() const { return m_size; }

private:
    HANDLE m_memory;
    void *m_bytes;
    SIZE_T m_size;
};

} // namespace

std::u16string_view textWithin(const void *bytes, std::size_t size) noexcept
{
    const std::u16string_view units(static_cast<const char16_t *>(bytes), size / sizeof(char16_t));
    return units.substr(0, units.find(u'\0'));
}

std::optional<std::u16string> clipboardLine(HWND owner) noexcept
{
    const OpenedClipboard clipboard(owner);
    if (!clipboard.isOpen())
        return std::nullopt;
    const LockedMemory memory(GetClipboardData(CF_UNICODETEXT));
    if (!memory.bytes())
        return std::nullopt;
    try {
        return std::u16string(pastedLine(textWithin(memory.bytes(), memory.size())));
    } catch (const std::bad_alloc &) {
        return std::u16string();
    }
}

} // namespace window::win32
