// Arbitrary bytes as an initialisation file. Every name the file holds reads without a fault and
// gives a value of one line; the first key of the first section reads as its line has it; a value
// written into the file, to a key it holds and to a new section, reads back as written.

#include "fuzz_support.h"

#include "platform/profile.h"
#include "platform/profile_line.h"

#include <optional>

namespace {

bool OneLine(const std::optional<std::string>& value) {
    return !value || value->find_first_of("\r\n") == std::string::npos;
}

void RequireWriteReadsBack(const std::string& path, const std::string& section,
                           const std::string& key) {
    const std::string value = "1.5 kg";
    if (!WriteProfileString(path, section, key, value))
        return;
    Require(TProfile::Load(path).Read(section, key) == value);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text = AsText(data, size);
    const TProfile profile = TProfile::Parse(text);

    std::optional<std::string_view> section;
    std::optional<std::string_view> firstSection;
    std::optional<std::string_view> firstKey;
    for (const TProfileLine& line : SplitProfileLines(text)) {
        const TProfileEntry entry = ClassifyProfileLine(line.Text);
        if (entry.Kind == TProfileEntry::Header) {
            section = entry.Name;
            if (!firstSection)
                firstSection = entry.Name;
        } else if (entry.Kind == TProfileEntry::Pair && section) {
            Require(OneLine(profile.Read(*section, entry.Name)));
            if (!firstKey && section->data() == firstSection->data())
                firstKey = entry.Name;
        }
    }
    if (firstKey)
        Require(profile.Read(*firstSection, *firstKey).has_value());

    const std::string path = FuzzFolder() / "profile.ini";
    WriteFuzzFile(path, text);
    if (firstKey)
        RequireWriteReadsBack(path, std::string(*firstSection), std::string(*firstKey));
    RequireWriteReadsBack(path, "Vesk", "Clave");
    return 0;
}
