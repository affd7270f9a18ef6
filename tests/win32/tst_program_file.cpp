// SPDX-License-Identifier: GPL-3.0-or-later
// The program file's resources, as a user downloads it: its icon and its
// manifest (program_file_test.sh checks what it imports).
//
//     tst_program_file PROGRAM

#include "window_test.h"

#include <algorithm>

using namespace window_test;

namespace {

// The bytes of resource number 1 of `type` in the program file; none when
// the file does not open or holds no such resource.
std::string resourceOf(const std::wstring &program, const wchar_t *type)
{
    HMODULE file = LoadLibraryExW(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    HRSRC found = file ? FindResourceW(file, MAKEINTRESOURCEW(1), type) : nullptr;
    std::string bytes;
    if (found)
        bytes.assign(static_cast<const char *>(LockResource(LoadResource(file, found))),
            SizeofResource(file, found));
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
    std::string manifest = resourceOf(program, MAKEINTRESOURCEW(24)); // RT_MANIFEST
    check(!manifest.empty(), "a manifest, number 1");
    // The identity's attributes may be spread over lines.
    std::ranges::replace(manifest, '\n', ' ');
    for (std::size_t gap; (gap = manifest.find("  ")) != std::string::npos;)
        manifest.erase(gap, 1);
    // The program's own identity is the first assemblyIdentity, before the
    // common controls' (whose architecture is "*").
    const std::string identity = manifest.substr(0, manifest.find("<dependency>"));
    for (const char *part : { "name=\"Rotavel\" version=\"" ROTAVEL_VERSION_FOUR_PARTS "\"",
             sizeof(void *) == 8 ? "processorArchitecture=\"amd64\""
                                 : "processorArchitecture=\"x86\"" })
        check(identity.find(part) != std::string::npos, "the program's identity has ", part);
    for (const char *part : { ">PerMonitorV2, PerMonitor</dpiAwareness>", ">true/pm</dpiAware>",
             "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}" /* Windows 7 */ })
        check(manifest.find(part) != std::string::npos, "the manifest has ", part);
}

// The program file's icon: the window's two 24 x 24 images first (256
// colours with a mask, 32 bits with alpha), then larger renderings for
// denser screens.
void programIcon(const std::wstring &program)
{
    const Checking checking("program icon");
    const std::string group = resourceOf(program, RT_GROUP_ICON);
    const auto *bytes = reinterpret_cast<const unsigned char *>(group.data());
    // GRPICONDIR: reserved, type 1, count; then 14 bytes per image.
    constexpr std::size_t headerSize = 6;
    constexpr std::size_t entrySize = 14;
    const int count = group.size() >= headerSize ? bytes[4] | bytes[5] << 8 : 0;
    const bool whole = count >= 2 && group.size() == headerSize + entrySize * std::size_t(count);
    check(whole, "a group icon, number 1, of two images or more");
    int largest = 0;
    for (int i = 0; whole && i < count; ++i) {
        const unsigned char *entry = bytes + headerSize + entrySize * std::size_t(i);
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
