// SPDX-License-Identifier: GPL-3.0-or-later
// The program file's resources, as a user downloads it: its icon and its
// manifest (program_file_test.sh checks what it imports).
//
//     tst_program_file PROGRAM

#include "window_test.h"

#include <algorithm>
#include <optional>

using namespace window_test;

namespace {

// The bytes of resource number 1 of `type` in the program file; none when
// the file does not open or holds no such resource.
std::optional<std::string> resourceOf(const std::wstring &program, const wchar_t *type)
{
    HMODULE file = LoadLibraryExW(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    HRSRC found = file ? FindResourceW(file, MAKEINTRESOURCEW(1), type) : nullptr;
    std::optional<std::string> bytes;
    if (found) {
        const auto *data = static_cast<const char *>(LockResource(LoadResource(file, found)));
        bytes.emplace(data, SizeofResource(file, found));
    }
    if (file)
        FreeLibrary(file);
    return bytes;
}

// The program file's manifest: the version of this build, the program's
// own architecture, and per-monitor layout with the forms older systems
// read.
void programManifest(const std::wstring &program)
{
    const Checking checking("program manifest");
    const auto manifest = resourceOf(program, MAKEINTRESOURCEW(24)); // RT_MANIFEST
    check(manifest.has_value(), "a manifest, number 1");
    if (!manifest)
        return;
#ifdef _WIN64
    const std::string architecture = "processorArchitecture=\"amd64\"";
#else
    const std::string architecture = "processorArchitecture=\"x86\"";
#endif
    const std::string wanted[] = { "name=\"Rotavel\" version=\"" ROTAVEL_VERSION_FOUR_PARTS "\"",
        architecture, ">PerMonitorV2, PerMonitor</dpiAwareness>", ">true/pm</dpiAware>",
        "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}" /* Windows 7 */ };
    // The program's own identity is the first assemblyIdentity, before the
    // common controls' (whose architecture is "*").
    const std::string identity = manifest->substr(0, manifest->find("<dependency>"));
    for (const std::string &part : wanted) {
        const bool inIdentity = part.find("version=") != std::string::npos || part == architecture;
        std::string collapsed = inIdentity ? identity : *manifest;
        // The identity's attributes may be spread over lines.
        std::replace(collapsed.begin(), collapsed.end(), '\n', ' ');
        for (std::size_t gap; (gap = collapsed.find("  ")) != std::string::npos;)
            collapsed.erase(gap, 1);
        check(collapsed.find(part) != std::string::npos, "the manifest has " + part);
    }
}

// The program file's icon: the window's two 24 x 24 images first (256
// colours with a mask, 32 bits with alpha), then larger renderings for
// denser screens.
void programIcon(const std::wstring &program)
{
    const Checking checking("program icon");
    const auto group = resourceOf(program, RT_GROUP_ICON);
    check(group.has_value(), "a group icon, number 1");
    if (!group)
        return;
    const auto *bytes = reinterpret_cast<const unsigned char *>(group->data());
    const auto size = DWORD(group->size());
    // GRPICONDIR: reserved, type 1, count; then 14 bytes per image.
    constexpr DWORD headerSize = 6;
    constexpr DWORD entrySize = 14;
    const int count = size >= headerSize ? bytes[4] | bytes[5] << 8 : 0;
    check(count >= 2 && size == headerSize + entrySize * DWORD(count), "a group of images");
    int largest = 0;
    for (int i = 0; i < count && size == headerSize + entrySize * DWORD(count); ++i) {
        const unsigned char *entry = bytes + headerSize + entrySize * DWORD(i);
        const int width = entry[0] == 0 ? 256 : entry[0];
        const int bits = entry[6] | entry[7] << 8;
        if (i < 2) {
            check(width == 24 && entry[1] == 24, "the first two images are 24 x 24");
            check(bits == (i == 0 ? 8 : 32), "in 256 colours, then in 32 bits");
        }
        largest = std::max(largest, width);
    }
    check(largest >= 48, "a larger rendering for denser screens");
}

} // namespace

int main(int argc, char *argv[])
{
    const std::string path = argc > 1 ? argv[1] : "";
    const std::wstring program(path.begin(), path.end());
    programIcon(program);
    programManifest(program);
    return finish();
}
