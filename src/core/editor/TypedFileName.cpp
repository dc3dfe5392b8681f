#include "editor/TypedFileName.h"

#include <array>

#include "mapdata/MapVariant.h"

namespace stonereach {

namespace {

// Most file systems take names of up to 255 bytes; the extension a caller
// adds (".brs") must fit as well.
constexpr std::size_t kMaxNameLength = 240;

// Device names that Windows opens as devices in any folder, whatever the
// extension: a brush called "con" would write to the console there.
constexpr std::array<std::string_view, 22> kReservedDeviceNames = {
    "con",  "prn",  "aux",  "nul",  "com1", "com2", "com3", "com4", "com5", "com6", "com7",
    "com8", "com9", "lpt1", "lpt2", "lpt3", "lpt4", "lpt5", "lpt6", "lpt7", "lpt8", "lpt9"};

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string describeCharacter(char c) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F) {
        static constexpr char digits[] = "0123456789ABCDEF";
        return std::string("the control character $") + digits[byte >> 4] + digits[byte & 0xF];
    }
    return std::string("the character ") + c;
}

} // namespace

std::string trimTypedName(std::string_view name) {
    while (!name.empty() && isBlank(name.front()))
        name.remove_prefix(1);
    while (!name.empty() && isBlank(name.back()))
        name.remove_suffix(1);
    return std::string(name);
}

std::optional<std::string> typedFileNameProblem(std::string_view typed) {
    const std::string name = trimTypedName(typed);
    if (name.empty())
        return "the name is empty";
    if (name == "." || name == "..")
        return "it names a folder, not a file";
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '/' || c == '\\')
            return "a name must not contain a folder separator (/ or \\)";
        if (byte < 0x20 || byte == 0x7F || std::string_view("<>:\"|?*").find(c) != std::string_view::npos)
            return "file names cannot hold " + describeCharacter(c);
    }
    // Windows drops dots at the end of a file name: a list called "coast."
    // would be saved as "coast".
    if (name.back() == '.')
        return "a file name cannot end with a dot";
    if (name.size() > kMaxNameLength)
        return "the name is longer than " + std::to_string(kMaxNameLength) + " characters";
    const std::string stem = asciiLower(trimTypedName(std::string_view(name).substr(0, name.find('.'))));
    for (const std::string_view device : kReservedDeviceNames)
        if (stem == device)
            return "\"" + std::string(device) + "\" is a device name on Windows";
    return std::nullopt;
}

} // namespace stonereach
